#include "board/FrmKanban.h"
#include "platform/InstanceGuard.h"
#include "platform/UncaughtErrors.h"
#include "shell/ProgramFolder.h"
#include "store/CurrentTask.h"
#include "store/KBDataModule.h"
#include "store/WorkContext.h"

#include <QScopeGuard>

#include <unistd.h>

namespace {

int runBoard(int argc, char** argv)
{
    platform::Application app(argc, argv);
    const QString folder = shell::programFolder();
    WorkContext workContext;
    CurrentTask currentTask;

    TKBDataModule KBDataModule(workContext, currentTask, folder);
    platform::runReportingErrors([&] { KBDataModule.DataModuleCreate(); });

    TfrmKanban frmKanban(KBDataModule, workContext, folder);
    frmKanban.FormCreate();
    platform::ListenForRaiseRequests([&] { platform::bringWindowToFront(&frmKanban); }, &frmKanban);

    frmKanban.show();
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    const auto release = qScopeGuard(&platform::ReleaseInstance);
    try {
        // The process id tells the running copies apart and names the socket a refused copy calls.
        if (platform::CheckPreviousInstance(quint32(::getpid()), 1))
            return 0;
    } catch (const std::exception& error) {
        // The program does not start; the user still learns why.
        platform::Application app(argc, argv);
        platform::reportUncaughtError(error);
        return 1;
    }
    return runBoard(argc, argv);
}
