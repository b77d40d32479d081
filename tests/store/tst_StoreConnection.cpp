#include "StoreTestSupport.h"

#include "platform/DatabaseError.h"
#include "platform/DataLink.h"
#include "platform/UncaughtErrors.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <functional>
#include <map>

using namespace storetest;
using testlib::Backend;

namespace {

// The folder a data module sees, with the separator it appends.
QString udlFolderOf(const QString& folder)
{
    return folder + QLatin1Char('/');
}

QString missingLinkWarning(const QString& udlFolder)
{
    return QStringLiteral("No Database connection established.\r"
                          "You will not be able to use VL-KANBAN.\r"
                          "  \r"
                          "REASON:The file Velora.udl is\r"
                          "not found in the application directory: ") +
           udlFolder +
           QStringLiteral(" \r"
                          "Make sure that name is spelt correctly and it exist.\r");
}

QString oleDbOverOdbc(const QString& driverProperties)
{
    return QStringLiteral("Provider=MSDASQL.1;Persist Security Info=False;Extended Properties=\"%1\"")
        .arg(driverProperties);
}

} // namespace

class TestStoreConnection : public QObject
{
    Q_OBJECT
private slots:
    void connectsThroughDataLinkFile_data();
    void connectsThroughDataLinkFile();
    void missingDataLinkFileWarnsAndStaysUnconnected_data();
    void missingDataLinkFileWarnsAndStaysUnconnected();
    void unopenableDatabaseRaisesForTheUncaughtHandler_data();
    void unopenableDatabaseRaisesForTheUncaughtHandler();
    void operationsWithoutConnection_data();
    void operationsWithoutConnection();
};

void TestStoreConnection::connectsThroughDataLinkFile_data()
{
    testlib::addBackendColumn();
    QTest::addColumn<QString>("subfolder");
    QTest::addColumn<bool>("throughLink");
    for (const Backend backend : {Backend::Sqlite, Backend::Postgres}) {
        const QByteArray name = testlib::backendName(backend).toLatin1();
        testlib::newBackendRow(name + " plain folder", backend) << QStringLiteral("bin") << false;
        testlib::newBackendRow(name + " folder with spaces", backend)
            << QStringLiteral("Program Files/Velora  Kanban") << false;
        testlib::newBackendRow(name + " file is a link", backend) << QStringLiteral("bin") << true;
    }
}

void TestStoreConnection::connectsThroughDataLinkFile()
{
    QFETCH(Backend, backend);
    QFETCH(QString, subfolder);
    QFETCH(bool, throughLink);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    testlib::ScriptedDialogs dialogs;
    testlib::FreshDatabase database(backend);
    QVERIFY(database.isValid());
    QTemporaryDir root;
    const QString folder = root.filePath(subfolder);
    QVERIFY(QDir().mkpath(folder));
    if (throughLink) {
        const QString target = database.writeDataLinkFile(root.path());
        QVERIFY(QFile::link(target, QDir(folder).filePath(QStringLiteral("ZRVelora.udl"))));
    } else {
        QVERIFY(!database.writeDataLinkFile(folder).isEmpty());
    }
    WorkContext work{QString(), QString(), demoCompany()};
    CurrentTask task;
    TKBDataModule module(work, task, folder);

    QVERIFY(!module.DbConnected());
    module.DataModuleCreate();

    const QString dataLinkPath = udlFolderOf(folder) + QStringLiteral("ZRVelora.udl");
    QCOMPARE(module.UdlFolder(), udlFolderOf(folder));
    QCOMPARE(module.StatusText(), QStringLiteral("DB connection OK - ") + dataLinkPath);
    QVERIFY(module.DbConnected());
    QCOMPARE(module.ADOKbConnect.connectionString(), QStringLiteral("File Name=") + dataLinkPath);
    QVERIFY(module.ADOKbConnect.isOpen());
    QCOMPARE(dialogs.texts(), QStringList());
}

void TestStoreConnection::missingDataLinkFileWarnsAndStaysUnconnected_data()
{
    QTest::addColumn<QString>("subfolder");
    QTest::addColumn<bool>("danglingLink");
    QTest::newRow("no file") << QStringLiteral("bin") << false;
    QTest::newRow("folder with spaces") << QStringLiteral("Program Files/Velora  Kanban") << false;
    QTest::newRow("link to a missing file") << QStringLiteral("bin") << true;
}

void TestStoreConnection::missingDataLinkFileWarnsAndStaysUnconnected()
{
    QFETCH(QString, subfolder);
    QFETCH(bool, danglingLink);
    testlib::ScriptedDialogs dialogs;
    QTemporaryDir root;
    const QString folder = root.filePath(subfolder);
    QVERIFY(QDir().mkpath(folder));
    if (danglingLink)
        QVERIFY(QFile::link(root.filePath(QStringLiteral("gone.udl")),
                            QDir(folder).filePath(QStringLiteral("ZRVelora.udl"))));
    WorkContext work{QString(), QString(), demoCompany()};
    CurrentTask task;
    TKBDataModule module(work, task, folder);

    module.DataModuleCreate();

    QCOMPARE(dialogs.boxes().size(), 1);
    QCOMPARE(dialogs.boxes().first().kind, platform::BoxKind::Warning);
    QCOMPARE(dialogs.texts().first(), missingLinkWarning(udlFolderOf(folder)));
    QCOMPARE(dialogs.texts().first().split(QLatin1Char('\r')).at(4),
             QStringLiteral("not found in the application directory: ") + folder + QStringLiteral("/ "));
    QCOMPARE(module.StatusText(),
             QStringLiteral("DB connection failed - UDL file not found. Also check UDLKEY path "));
    QVERIFY(!module.DbConnected());
    QCOMPARE(module.ADOKbConnect.connectionString(), QString());
    QVERIFY(!module.ADOKbConnect.isOpen());
}

void TestStoreConnection::unopenableDatabaseRaisesForTheUncaughtHandler_data()
{
    QTest::addColumn<QString>("driverProperties");
    QTest::addColumn<bool>("needsPostgres");
    QTest::newRow("sqlite file in a missing folder")
        << QStringLiteral("Driver=SQLite3 ODBC Driver;Database=/nonexistent/velora/Velora.db") << false;
    QTest::newRow("postgres server unreachable")
        << QStringLiteral("Driver=PostgreSQL Unicode;Server=127.0.0.1;Port=1;Database=velora;Uid=postgres")
        << false;
    const QString server = qEnvironmentVariable("VELORA_TEST_PG");
    QTest::newRow("postgres database missing")
        << QStringLiteral(
               "Driver=PostgreSQL Unicode;Server=%1;Port=%2;Database=velora_no_such_db;Uid=postgres")
               .arg(server.section(QLatin1Char(':'), 0, 0), server.section(QLatin1Char(':'), 1))
        << true;
}

void TestStoreConnection::unopenableDatabaseRaisesForTheUncaughtHandler()
{
    QFETCH(QString, driverProperties);
    QFETCH(bool, needsPostgres);
    if (needsPostgres)
        VELORA_SKIP_UNLESS_AVAILABLE(Backend::Postgres);
    testlib::ScriptedDialogs dialogs;
    QTemporaryDir folder;
    const QString dataLinkPath = folder.filePath(QStringLiteral("ZRVelora.udl"));
    QString error;
    QVERIFY2(platform::writeDataLinkFile(dataLinkPath, oleDbOverOdbc(driverProperties), &error),
             qPrintable(error));
    WorkContext work{QString(), QString(), demoCompany()};
    CurrentTask task;
    TKBDataModule module(work, task, folder.path());

    QVERIFY_THROWS_EXCEPTION(platform::DatabaseError, module.DataModuleCreate());
    QCOMPARE(module.StatusText(), QString());
    QVERIFY(!module.DbConnected());
    QCOMPARE(module.ADOKbConnect.connectionString(), QStringLiteral("File Name=") + dataLinkPath);
    QCOMPARE(dialogs.boxes().size(), 0);

    // Start-up hands the step to the uncaught-error handler, which reports once and carries on.
    QVERIFY(!platform::runReportingErrors([&] { module.DataModuleCreate(); }));
    QCOMPARE(dialogs.boxes().size(), 1);
    QCOMPARE(dialogs.boxes().first().kind, platform::BoxKind::Error);
    QVERIFY(!dialogs.texts().first().isEmpty());
}

void TestStoreConnection::operationsWithoutConnection_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("reportedAs"); // empty: raised for the uncaught-error handler
    QTest::newRow("FetchItems") << QStringLiteral("FetchItems")
                                << QStringLiteral("FetchItems - Failed, Check Image in Agents,  Details: ");
    QTest::newRow("DoKBAdHocQuery") << QStringLiteral("DoKBAdHocQuery")
                                    << QStringLiteral("DoKBAdHocQuery - Failed,  Detils: ");
    QTest::newRow("DoKBConsultantQuery") << QStringLiteral("DoKBConsultantQuery")
                                         << QStringLiteral("DoKBConsultantQuery: -  Failed,  Detils: ");
    QTest::newRow("DoKBPriorityQuery")
        << QStringLiteral("DoKBPriorityQuery") << QStringLiteral("DoKBPriorityQuery; -  Failed,  Detils: ");
    for (const char* raising :
         {"FetchConsultants", "DoInsertKBItem", "DoUpdateKanbanItem", "DoDeleteKBItem",
          "DoFetchSelectedKBItem", "CheckIfTargetExist", "DoFetchAgent", "GetTaskStatistics"})
        QTest::newRow(raising) << QString::fromLatin1(raising) << QString();
}

// With no data-link file the connection string stays empty, so every later operation fails to connect.
void TestStoreConnection::operationsWithoutConnection()
{
    QFETCH(QString, operation);
    QFETCH(QString, reportedAs);
    testlib::ScriptedDialogs dialogs;
    QTemporaryDir folder;
    WorkContext work{QString(), QString(), demoCompany()};
    CurrentTask task = sampleTask(QStringLiteral("{6D1C64A4-55B1-4B7E-9C55-0E6A3C1E4B11}"));
    TKBDataModule module(work, task, folder.path());
    module.DataModuleCreate();
    dialogs.clear();

    const std::map<QString, std::function<void()>> operations{
        {QStringLiteral("FetchItems"), [&] { QVERIFY(!module.FetchItems()); }},
        {QStringLiteral("DoKBAdHocQuery"), [&] { QVERIFY(!module.DoKBAdHocQuery()); }},
        {QStringLiteral("DoKBConsultantQuery"), [&] { QVERIFY(!module.DoKBConsultantQuery()); }},
        {QStringLiteral("DoKBPriorityQuery"), [&] { QVERIFY(!module.DoKBPriorityQuery()); }},
        {QStringLiteral("FetchConsultants"), [&] { module.FetchConsultants(); }},
        {QStringLiteral("DoInsertKBItem"), [&] { module.DoInsertKBItem(); }},
        {QStringLiteral("DoUpdateKanbanItem"), [&] { module.DoUpdateKanbanItem(); }},
        {QStringLiteral("DoDeleteKBItem"), [&] { module.DoDeleteKBItem(); }},
        {QStringLiteral("DoFetchSelectedKBItem"), [&] { module.DoFetchSelectedKBItem(); }},
        {QStringLiteral("CheckIfTargetExist"), [&] { module.CheckIfTargetExist(); }},
        {QStringLiteral("DoFetchAgent"), [&] { module.DoFetchAgent(); }},
        {QStringLiteral("GetTaskStatistics"), [&] { module.GetTaskStatistics(); }},
    };
    const auto run = operations.at(operation);

    if (reportedAs.isEmpty()) {
        QVERIFY_THROWS_EXCEPTION(platform::DatabaseError, run());
        QCOMPARE(dialogs.boxes().size(), 0);
    } else {
        run();
        QCOMPARE(dialogs.boxes().size(), 1);
        QCOMPARE(dialogs.boxes().first().kind, platform::BoxKind::Error);
        QVERIFY2(dialogs.texts().first().startsWith(reportedAs), qPrintable(dialogs.texts().first()));
        QVERIFY(dialogs.texts().first().size() > reportedAs.size());
        QVERIFY(!module.ADOKBDataSet.isOpen());
    }
}

QTEST_GUILESS_MAIN(TestStoreConnection)
#include "tst_StoreConnection.moc"
