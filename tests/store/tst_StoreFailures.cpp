#include "StoreTestSupport.h"

#include "platform/DatabaseError.h"

#include <QTest>

using namespace storetest;
using testlib::Backend;

namespace {

const QString newKey = QStringLiteral("{5B0C1D2E-3F40-4152-8637-48596A7B8C9D}");

// Runs one operation by name; returns whether it reported success.
bool runOperation(TKBDataModule& module, const QString& operation)
{
    if (operation == QLatin1String("FetchItems"))
        return module.FetchItems();
    if (operation == QLatin1String("DoInsertKBItem"))
        return module.DoInsertKBItem();
    if (operation == QLatin1String("DoUpdateKanbanItem"))
        return module.DoUpdateKanbanItem().has_value();
    if (operation == QLatin1String("DoDeleteKBItem"))
        return module.DoDeleteKBItem();
    if (operation == QLatin1String("DoFetchSelectedKBItem"))
        return module.DoFetchSelectedKBItem();
    if (operation == QLatin1String("CheckIfTargetExist"))
        return module.CheckIfTargetExist();
    if (operation == QLatin1String("DoKBAdHocQuery"))
        return module.DoKBAdHocQuery();
    if (operation == QLatin1String("DoKBConsultantQuery"))
        return module.DoKBConsultantQuery();
    if (operation == QLatin1String("DoKBPriorityQuery"))
        return module.DoKBPriorityQuery();
    if (operation == QLatin1String("DoFetchAgent"))
        return module.DoFetchAgent();
    if (operation == QLatin1String("GetTaskStatistics"))
        return module.GetTaskStatistics();
    QTest::qFail("unknown operation", __FILE__, __LINE__);
    return true;
}

} // namespace

class TestStoreFailures : public QObject
{
    Q_OBJECT
private slots:
    void failingStatementIsReportedWithTheDatabasesText_data();
    void failingStatementIsReportedWithTheDatabasesText();
    void failedInsertLeavesNothingAndTheNextOneCommits_data() { testlib::addBackendRows(); }
    void failedInsertLeavesNothingAndTheNextOneCommits();
    void consultantListFailureIsRaised_data() { testlib::addBackendRows(); }
    void consultantListFailureIsRaised();
};

void TestStoreFailures::failingStatementIsReportedWithTheDatabasesText_data()
{
    testlib::addBackendColumn();
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("droppedTable");
    QTest::addColumn<QString>("message");
    struct Row
    {
        const char* operation;
        const char* table;
        const char* message;
    };
    const Row rows[] = {
        {"FetchItems", "VL_KANBAN", "FetchItems - Failed, Check Image in Agents,  Details: "},
        {"DoInsertKBItem", "VL_KANBAN", "Problem inserting KB TASK : Details\r"},
        {"DoUpdateKanbanItem", "VL_KANBAN", "DoUpdateKanbanItem: Problem updating - KB TASK : Details\r"},
        {"DoDeleteKBItem", "VL_KANBAN", "DoDeleteKBItem: Problem deleting KB TASK : Details\r"},
        {"DoFetchSelectedKBItem", "VL_KANBAN",
         "DoFetchSelectedKBItem: Problem fetching for edit - KB TASK : Details\r"},
        {"CheckIfTargetExist", "VL_KANBAN", "CheckIfTargetExist  - Drag KB TASK : Details\r"},
        {"DoKBAdHocQuery", "VL_KANBAN", "DoKBAdHocQuery - Failed,  Detils: "},
        {"DoKBConsultantQuery", "VL_KANBAN", "DoKBConsultantQuery: -  Failed,  Detils: "},
        {"DoKBPriorityQuery", "VL_KANBAN", "DoKBPriorityQuery; -  Failed,  Detils: "},
        {"DoFetchAgent", "VL_AGENTS", "Problem while fetching agent : Details\r"},
        {"GetTaskStatistics", "VL_KANBAN", "GetTaskStatistics:  Problem while KB Task Stats : Details\r"},
    };
    for (const Backend backend : {Backend::Sqlite, Backend::Postgres}) {
        for (const Row& row : rows) {
            const QByteArray tag = testlib::backendName(backend).toLatin1() + ' ' + row.operation;
            testlib::newBackendRow(tag.constData(), backend)
                << QString::fromLatin1(row.operation) << QString::fromLatin1(row.table)
                << QString::fromLatin1(row.message);
        }
    }
}

void TestStoreFailures::failingStatementIsReportedWithTheDatabasesText()
{
    QFETCH(Backend, backend);
    QFETCH(QString, operation);
    QFETCH(QString, droppedTable);
    QFETCH(QString, message);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    StoreFixture fx(backend);
    QVERIFY(fx.isReady());
    fx.task = sampleTask(newKey);
    fx.module.SearchCriterion = QStringLiteral("Jo");
    QVERIFY(fx.module.FetchItems()); // the board is showing cards when the table goes
    QVERIFY(execDirect(fx.database.direct(), QStringLiteral("DROP TABLE ") + droppedTable));

    QVERIFY(!runOperation(fx.module, operation));

    QCOMPARE(fx.dialogs.boxes().size(), 1);
    QCOMPARE(fx.dialogs.boxes().first().kind, platform::BoxKind::Error);
    const QString text = fx.dialogs.texts().first();
    QVERIFY2(text.startsWith(message), qPrintable(text));
    // The database's own words follow, naming the table it could not find.
    QVERIFY2(text.mid(message.size()).contains(droppedTable, Qt::CaseInsensitive), qPrintable(text));
    if (operation == QLatin1String("FetchItems") || operation.startsWith(QLatin1String("DoKB")))
        QVERIFY(!fx.module.ADOKBDataSet.isOpen());
    // The failed transaction was ended: the connection takes the next statement.
    QVERIFY(!fx.module.ADOKbConnect.inTransaction());
    fx.task.AgentID = QStringLiteral("AG001");
    QVERIFY(runOperation(fx.module, droppedTable == QLatin1String("VL_AGENTS")
                                        ? QStringLiteral("GetTaskStatistics")
                                        : QStringLiteral("DoFetchAgent")));
    QCOMPARE(fx.dialogs.boxes().size(), 1);
}

void TestStoreFailures::failedInsertLeavesNothingAndTheNextOneCommits()
{
    QFETCH(Backend, backend);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    StoreFixture fx(backend);
    QVERIFY(fx.isReady());
    const QString existingKey =
        tasksOf(fx.database.direct(), demoCompany()).first().value(QStringLiteral("KBGuidKey")).toString();
    const QSqlRecord existing = taskRow(fx.database.direct(), existingKey);
    const int taskCount = tasksOf(fx.database.direct(), demoCompany()).size();
    fx.task = sampleTask(existingKey); // a key that is taken

    QVERIFY(!fx.module.DoInsertKBItem());

    QCOMPARE(fx.dialogs.boxes().size(), 1);
    const QString message = QStringLiteral("Problem inserting KB TASK : Details\r");
    QVERIFY2(fx.dialogs.texts().first().startsWith(message), qPrintable(fx.dialogs.texts().first()));
    QVERIFY(fx.dialogs.texts()
                .first()
                .mid(message.size())
                .contains(QStringLiteral("VL_KANBAN"), Qt::CaseInsensitive));
    QCOMPARE(taskRow(fx.database.direct(), existingKey), existing);
    QCOMPARE(tasksOf(fx.database.direct(), demoCompany()).size(), taskCount);
    QVERIFY(!fx.module.ADOKbConnect.inTransaction());

    fx.task.NewGuidKey = newKey;
    QVERIFY(fx.module.DoInsertKBItem());
    QCOMPARE(taskRow(fx.database.direct(), newKey).value(QStringLiteral("KBTitle")).toString(),
             fx.task.Title);
    QCOMPARE(fx.dialogs.boxes().size(), 1);
}

void TestStoreFailures::consultantListFailureIsRaised()
{
    QFETCH(Backend, backend);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    StoreFixture fx(backend);
    QVERIFY(fx.isReady());
    QVERIFY(execDirect(fx.database.direct(), QStringLiteral("DROP TABLE VL_AGENTS")));

    QVERIFY_THROWS_EXCEPTION(platform::DatabaseError, fx.module.FetchConsultants());

    QVERIFY(!fx.module.ADOAgentsInternDataSet.isOpen());
    QCOMPARE(fx.dialogs.boxes().size(), 0);
}

QTEST_GUILESS_MAIN(TestStoreFailures)
#include "tst_StoreFailures.moc"
