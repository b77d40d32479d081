#include "updater/UpdaterDataModule.h"
#include "updater/UpdaterWindow.h"

#include "platform/UncaughtErrors.h"

int main(int argc, char* argv[])
{
    platform::Application application(argc, argv);
    // The window first: connecting at the data module's creation reports into it.
    updater::TfrmUpdater frmUpdater;
    updater::TVLDataMod VLDataMod(frmUpdater, QCoreApplication::applicationDirPath());
    frmUpdater.setDataModule(&VLDataMod);
    frmUpdater.show();
    return application.exec();
}
