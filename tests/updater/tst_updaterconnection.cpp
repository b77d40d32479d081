// The updater's connection at start-up: through the data-link file in its program folder, or not.

#include "UpdaterRig.h"

#include "DemoDatabase.h"
#include "platform/ConnectionStringSyntax.h"
#include "platform/DataLink.h"
#include "updater/StatusPanels.h"

#include <QDir>
#include <QPushButton>
#include <QSqlDatabase>
#include <QTest>

using platform::BoxButton;
using platform::BoxKind;
using testlib::Backend;
using updatertest::UpdaterRig;

namespace {

const QString failureStatus =
    QStringLiteral("DB connection failed - UDL file not found. Also check UDLKEY path ");

const QString updateQuestionStart = QStringLiteral("The database will be updated to VerVL50.\r");

// An empty SQLite database file with the Velora tables.
bool buildSqliteTables(const QString& path)
{
    bool built = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("late"));
        db.setDatabaseName(path);
        QString error;
        built = db.open() && demodb::buildDatabase(db, demodb::Content::Tables, &error);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("late"));
    return built;
}

} // namespace

class TestUpdaterConnection : public QObject
{
    Q_OBJECT

private slots:
    void connectsThroughTheDataLinkInTheProgramFolder_data();
    void connectsThroughTheDataLinkInTheProgramFolder();
    void missingDataLinkIsReportedAndUpdateFailsUncaught();
    void refusedConnectionIsReportedAndRetriedOnUpdate();
};

void TestUpdaterConnection::connectsThroughTheDataLinkInTheProgramFolder_data()
{
    testlib::addBackendRows();
}

void TestUpdaterConnection::connectsThroughTheDataLinkInTheProgramFolder()
{
    QFETCH(Backend, backend);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    UpdaterRig rig(backend);
    QVERIFY(rig.isReady());

    const QString dataLink = rig.programFolder.path() + QStringLiteral("/ZRVelora.udl");
    QCOMPARE(rig.dialogs.texts(), QStringList());
    QCOMPARE(rig.dataModule->UdlFolder(), rig.programFolder.path() + QLatin1Char('/'));
    QCOMPARE(rig.dataModule->ADOConnection().connectionString(), QStringLiteral("File Name=") + dataLink);
    QVERIFY(rig.dataModule->ADOConnection().isOpen());
    QCOMPARE(rig.statusText(), QStringLiteral("DB connection OK - ") + dataLink);
}

void TestUpdaterConnection::missingDataLinkIsReportedAndUpdateFailsUncaught()
{
    UpdaterRig rig(Backend::Sqlite, UpdaterRig::DataLink::Missing);
    QVERIFY(rig.isReady());

    QCOMPARE(rig.dialogs.boxes().size(), 1);
    const platform::BoxRequest& box = rig.dialogs.boxes().first();
    QCOMPARE(box.kind, BoxKind::Error);
    QCOMPARE(box.title, QStringLiteral("UDL file not found"));
    QCOMPARE(box.text, QStringLiteral("The UDL datalink file: ZRVelora.udl is not found\r"
                                      "in the application directory: ") +
                           rig.programFolder.path() +
                           QStringLiteral("/ \r"
                                          "Make sure that name is correctly spelt and that the file exist.\r"
                                          " \r"
                                          "THE DB UPDATER MUST BE EXECUTED FROM THE FOLDER WHERE VELORA IS "
                                          "INSTALLED."));
    QCOMPARE(box.buttons, platform::BoxButtons(BoxButton::Ok));
    QCOMPARE(box.owner, &rig.window);
    QCOMPARE(rig.statusText(), failureStatus);
    QCOMPARE(rig.dataModule->ADOConnection().connectionString(), QString());
    QVERIFY(rig.window.findChild<QPushButton*>(QStringLiteral("btnUpdate1"))->isEnabled());
    QVERIFY(rig.window.findChild<QPushButton*>(QStringLiteral("btnClose"))->isEnabled());

    rig.dialogs.clear();
    rig.pressUpdate();
    QCOMPARE(rig.dialogs.boxes().size(), 1);
    QCOMPARE(rig.dialogs.boxes().first().kind, BoxKind::Error);
    QVERIFY(!rig.dialogs.boxes().first().text.isEmpty());
    QCOMPARE(rig.statusText(), failureStatus);
}

// A data-link file naming a database that cannot be reached yet: one report at start, an empty
// status, and "Update DB" connects once the database is there.
void TestUpdaterConnection::refusedConnectionIsReportedAndRetriedOnUpdate()
{
    QTemporaryDir programFolder(QDir::tempPath() + QStringLiteral("/velora updater XXXXXX"));
    QVERIFY(programFolder.isValid());
    const QString databaseFile = programFolder.filePath(QStringLiteral("not yet/Velora.db"));
    const QString initString =
        QStringLiteral("Provider=MSDASQL.1;Extended Properties=\"Driver=SQLite3 ODBC Driver;Database=%1\"")
            .arg(platform::odbcValue(databaseFile));
    const QString dataLink = programFolder.filePath(QStringLiteral("ZRVelora.udl"));
    QString error;
    QVERIFY2(platform::writeDataLinkFile(dataLink, initString, &error), qPrintable(error));

    testlib::ScriptedDialogs dialogs;
    updater::TfrmUpdater window;
    updater::TVLDataMod dataModule(window, programFolder.path());
    window.setDataModule(&dataModule);

    QCOMPARE(dialogs.boxes().size(), 1);
    QCOMPARE(dialogs.boxes().first().kind, BoxKind::Error);
    QVERIFY(!dialogs.boxes().first().text.isEmpty());
    QCOMPARE(dataModule.StatusText(), QString());
    QCOMPARE(window.stStatus()->panelText(0), QString());
    QCOMPARE(dataModule.ADOConnection().connectionString(), QStringLiteral("File Name=") + dataLink);

    QVERIFY(QDir(programFolder.path()).mkdir(QStringLiteral("not yet")));
    QVERIFY(buildSqliteTables(databaseFile));
    dialogs.clear();
    dialogs.answerNext(BoxButton::No);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("btnUpdate1")), Qt::LeftButton);
    QCOMPARE(dialogs.boxes().size(), 1);
    QVERIFY(dialogs.boxes().first().text.startsWith(updateQuestionStart));
}

QTEST_MAIN(TestUpdaterConnection)
#include "tst_updaterconnection.moc"
