#include "UpdaterRig.h"

#include "updater/StatusPanels.h"

#include <QDir>
#include <QPushButton>
#include <QTest>

namespace updatertest {

UpdaterRig::UpdaterRig(testlib::Backend backend, DataLink dataLink)
    : database(backend), programFolder(QDir::tempPath() + QStringLiteral("/velora updater XXXXXX"))
{
    if (dataLink == DataLink::Written && database.isValid() && programFolder.isValid())
        database.writeDataLinkFile(programFolder.path());
    dataModule = std::make_unique<updater::TVLDataMod>(window, programFolder.path());
    window.setDataModule(dataModule.get());
    window.show();
}

bool UpdaterRig::isReady() const
{
    return database.isValid() && programFolder.isValid();
}

void UpdaterRig::pressUpdate()
{
    auto* button = window.findChild<QPushButton*>(QStringLiteral("btnUpdate1"));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

QString UpdaterRig::statusText() const
{
    return window.findChild<updater::StatusPanels*>(QStringLiteral("stStatus"))->panelText(0);
}

} // namespace updatertest
