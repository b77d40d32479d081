#include "StoreTestSupport.h"

#include <QSignalSpy>
#include <QTest>

#include <algorithm>

using namespace storetest;
using testlib::Backend;

namespace {

const QString newKey = QStringLiteral("{0F8E2A51-7C3D-4B9A-8E21-5D6C7B8A9F10}");

QString firstTaskKey(QSqlDatabase& db, const QString& company)
{
    const auto tasks = tasksOf(db, company);
    return tasks.isEmpty() ? QString() : tasks.first().value(QStringLiteral("KBGuidKey")).toString();
}

// Every task's column, of every company.
QMap<QString, int> columnsByKey(QSqlDatabase& db)
{
    QMap<QString, int> columns;
    for (const QSqlRecord& row :
         selectRows(db, QStringLiteral("SELECT KBGuidKey, KBColumnNo FROM VL_KANBAN")))
        columns.insert(row.value(0).toString(), row.value(1).toInt());
    return columns;
}

} // namespace

class TestStoreTasks : public QObject
{
    Q_OBJECT
private slots:
    void fetchItemsListsTheCompanysTasksByPriorityText_data() { testlib::addBackendRows(); }
    void fetchItemsListsTheCompanysTasksByPriorityText();
    void insertStoresEveryFieldOfTheCurrentTask_data() { testlib::addBackendRows(); }
    void insertStoresEveryFieldOfTheCurrentTask();
    void updateWritesTheEditedFieldsOnly_data() { testlib::addBackendRows(); }
    void updateWritesTheEditedFieldsOnly();
    void updateAndDeleteOfAVanishedTaskChangeNothing_data() { testlib::addBackendRows(); }
    void updateAndDeleteOfAVanishedTaskChangeNothing();
    void deleteRemovesExactlyTheTask_data() { testlib::addBackendRows(); }
    void deleteRemovesExactlyTheTask();
    void fetchForEditLeavesTheTaskInVLQuery2_data() { testlib::addBackendRows(); }
    void fetchForEditLeavesTheTaskInVLQuery2();
    void moveCheck_data();
    void moveCheck();
    void otherCompanysTaskIsNeverTouched_data();
    void otherCompanysTaskIsNeverTouched();
    void movingThroughTheResultSetAsksForStatistics_data() { testlib::addBackendRows(); }
    void movingThroughTheResultSetAsksForStatistics();
    void whatOneUserWritesTheOtherReads_data() { testlib::addBackendRows(); }
    void whatOneUserWritesTheOtherReads();
};

void TestStoreTasks::fetchItemsListsTheCompanysTasksByPriorityText()
{
    QFETCH(Backend, backend);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    StoreFixture fx(backend);
    QVERIFY(fx.isReady());
    QSignalSpy sourceReset(&fx.module, &TKBDataModule::itemSourceReset);

    QVERIFY(fx.module.FetchItems());

    QCOMPARE(sourceReset.count(), 1);
    QVERIFY(fx.module.ADOKBDataSet.isOpen());
    const auto& rows = fx.module.ADOKBDataSet.rows();
    QStringList expectedKeys =
        fieldValues(tasksOf(fx.database.direct(), demoCompany()), QStringLiteral("KBGuidKey"));
    QStringList keys = fieldValues(rows, QStringLiteral("KBGuidKey"));
    expectedKeys.sort();
    keys.sort();
    QVERIFY(!keys.isEmpty());
    QCOMPARE(keys, expectedKeys);

    // By the priority text: every "High" row first, then "Low", then "Med".
    const QStringList priorities = fieldValues(rows, QStringLiteral("KBPriority"));
    QVERIFY(std::is_sorted(priorities.cbegin(), priorities.cend()));
    QCOMPARE(priorities.first(), QStringLiteral("High"));
    QVERIFY(priorities.contains(QStringLiteral("Low")));
    QCOMPARE(priorities.last(), QStringLiteral("Med"));
    for (const char* field :
         {"KBTitle", "KBText", "KBColumnNo", "KBTextBGColor", "KBItemExpanded", "KBMarkerColor",
          "KBTitleBackup", "KBSortKey", "KBBitmap", "KBBitMapName", "KBConsultName", "KBAdhocName"})
        QVERIFY2(rows.first().indexOf(QLatin1String(field)) >= 0, field);
    QCOMPARE(fx.dialogs.boxes().size(), 0);
}

void TestStoreTasks::insertStoresEveryFieldOfTheCurrentTask()
{
    QFETCH(Backend, backend);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    StoreFixture fx(backend);
    QVERIFY(fx.isReady());
    fx.task = sampleTask(newKey);

    QVERIFY(fx.module.DoInsertKBItem());

    const QSqlRecord row = taskRow(fx.database.direct(), newKey);
    QVERIFY(!row.isEmpty());
    const CurrentTask& t = fx.task;
    QCOMPARE(row.value(QStringLiteral("KBCoId")).toString(), demoCompany());
    QCOMPARE(row.value(QStringLiteral("KBColumnNo")).toInt(), t.ColumnNo);
    QCOMPARE(row.value(QStringLiteral("KBTitle")).toString(), t.Title);
    QCOMPARE(row.value(QStringLiteral("KBText")).toString(), t.Text);
    QCOMPARE(row.value(QStringLiteral("KBTextBGColor")).toInt(), t.TextBGColor);
    QCOMPARE(row.value(QStringLiteral("KBPriority")).toString(), t.Priority);
    QCOMPARE(row.value(QStringLiteral("KBBitmap")).toString(), t.Bitmap);
    QCOMPARE(row.value(QStringLiteral("KBBitmapName")).toString(), t.BitmapName);
    QCOMPARE(row.value(QStringLiteral("KBAgentID")).toString(), t.AgentID);
    QCOMPARE(row.value(QStringLiteral("KBConsultName")).toString(), t.ConsultName);
    QVERIFY(!row.value(QStringLiteral("KBAdhocName")).isNull()); // empty text, not NULL
    QCOMPARE(row.value(QStringLiteral("KBAdhocName")).toString(), QString());
    QCOMPARE(row.value(QStringLiteral("KBPersonType")).toString(), t.PersonType);
    QCOMPARE(row.value(QStringLiteral("KBItemExpanded")).toBool(), t.ItemExpanded);
    QCOMPARE(row.value(QStringLiteral("KBItemExpandable")).toBool(), t.ItemExpandable);
    QCOMPARE(row.value(QStringLiteral("KBMarkerColor")).toInt(), t.MarkerColor);
    QCOMPARE(row.value(QStringLiteral("KBMarkerSize")).toInt(), t.MarkerSize);
    QCOMPARE(row.value(QStringLiteral("KBTitleColor")).toInt(), t.TitleColor);
    QCOMPARE(row.value(QStringLiteral("KBMarkerTop")).toInt(), t.MarkerTop);
    QCOMPARE(row.value(QStringLiteral("KBTitleBackup")).toString(), t.TitleBackup);
    QCOMPARE(row.value(QStringLiteral("KBSortKey")).toInt(), t.SortKey);
    QCOMPARE(fx.dialogs.boxes().size(), 0);
}

void TestStoreTasks::updateWritesTheEditedFieldsOnly()
{
    QFETCH(Backend, backend);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    StoreFixture fx(backend);
    QVERIFY(fx.isReady());
    const QString key = firstTaskKey(fx.database.direct(), demoCompany());
    const QSqlRecord before = taskRow(fx.database.direct(), key);
    fx.task = sampleTask(key);
    // Values the update must leave alone, all different from the stored ones.
    fx.task.ColumnNo = before.value(QStringLiteral("KBColumnNo")).toInt() + 1;
    fx.task.ItemExpanded = !before.value(QStringLiteral("KBItemExpanded")).toBool();
    fx.task.ItemExpandable = !before.value(QStringLiteral("KBItemExpandable")).toBool();
    fx.task.MarkerSize = before.value(QStringLiteral("KBMarkerSize")).toInt() + 5;
    fx.task.MarkerTop = before.value(QStringLiteral("KBMarkerTop")).toInt() + 5;
    fx.task.AdhocName = QStringLiteral("Front Desk");
    fx.task.PersonType = QStringLiteral("Adhoc");

    QCOMPARE(fx.module.DoUpdateKanbanItem(), std::optional<int>(1));

    const QSqlRecord after = taskRow(fx.database.direct(), key);
    const CurrentTask& t = fx.task;
    QCOMPARE(after.value(QStringLiteral("KBPersonType")).toString(), t.PersonType);
    QCOMPARE(after.value(QStringLiteral("KBConsultName")).toString(), t.ConsultName);
    QCOMPARE(after.value(QStringLiteral("KBAdhocName")).toString(), t.AdhocName);
    QCOMPARE(after.value(QStringLiteral("KBBitmap")).toString(), t.Bitmap);
    QCOMPARE(after.value(QStringLiteral("KBBitmapName")).toString(), t.BitmapName);
    QCOMPARE(after.value(QStringLiteral("KBAgentID")).toString(), t.AgentID);
    QCOMPARE(after.value(QStringLiteral("KBTitle")).toString(), t.Title);
    QCOMPARE(after.value(QStringLiteral("KBText")).toString(), t.Text);
    QCOMPARE(after.value(QStringLiteral("KBTextBGColor")).toInt(), t.TextBGColor);
    QCOMPARE(after.value(QStringLiteral("KBPriority")).toString(), t.Priority);
    QCOMPARE(after.value(QStringLiteral("KBMarkerColor")).toInt(), t.MarkerColor);
    QCOMPARE(after.value(QStringLiteral("KBTitleColor")).toInt(), t.TitleColor);
    QCOMPARE(after.value(QStringLiteral("KBTitleBackup")).toString(), t.TitleBackup);
    QCOMPARE(after.value(QStringLiteral("KBSortKey")).toInt(), t.SortKey);
    for (const char* kept :
         {"KBCoId", "KBColumnNo", "KBItemExpanded", "KBItemExpandable", "KBMarkerSize", "KBMarkerTop"})
        QVERIFY2(after.value(QLatin1String(kept)) == before.value(QLatin1String(kept)), kept);
    QCOMPARE(fx.dialogs.boxes().size(), 0);
}

void TestStoreTasks::updateAndDeleteOfAVanishedTaskChangeNothing()
{
    QFETCH(Backend, backend);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    StoreFixture fx(backend);
    QVERIFY(fx.isReady());
    const int taskCount = tasksOf(fx.database.direct(), demoCompany()).size();
    fx.task = sampleTask(newKey); // never inserted

    QCOMPARE(fx.module.DoUpdateKanbanItem(), std::optional<int>(0));
    QVERIFY(fx.module.DoDeleteKBItem());

    QCOMPARE(tasksOf(fx.database.direct(), demoCompany()).size(), taskCount);
    QCOMPARE(fx.dialogs.boxes().size(), 0);
}

void TestStoreTasks::deleteRemovesExactlyTheTask()
{
    QFETCH(Backend, backend);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    StoreFixture fx(backend);
    QVERIFY(fx.isReady());
    QStringList keys = fieldValues(tasksOf(fx.database.direct(), demoCompany()), QStringLiteral("KBGuidKey"));
    const QString key = keys.at(keys.size() / 2);
    fx.task.SelectedGuidKey = key;

    QVERIFY(fx.module.DoDeleteKBItem());

    keys.removeOne(key);
    QStringList remaining =
        fieldValues(tasksOf(fx.database.direct(), demoCompany()), QStringLiteral("KBGuidKey"));
    keys.sort();
    remaining.sort();
    QCOMPARE(remaining, keys);
    QCOMPARE(fx.dialogs.boxes().size(), 0);
}

void TestStoreTasks::fetchForEditLeavesTheTaskInVLQuery2()
{
    QFETCH(Backend, backend);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    StoreFixture fx(backend);
    QVERIFY(fx.isReady());
    const QString key = firstTaskKey(fx.database.direct(), demoCompany());
    const QSqlRecord stored = taskRow(fx.database.direct(), key);
    fx.task.SelectedGuidKey = key;

    QVERIFY(fx.module.DoFetchSelectedKBItem());

    QCOMPARE(fx.module.VLQuery2.recordCount(), 1);
    for (const char* field : {"KBGuidKey", "KBColumnNo", "KBPersonType", "KBConsultName", "KBAdhocName",
                              "KBAgentID", "KBBitmapName", "KBBitmap", "KBTitleBackup", "KBTitleColor",
                              "KBText", "KBTextBGColor", "KBPriority", "KBSortKey"})
        QVERIFY2(fx.module.VLQuery2.fieldByName(QLatin1String(field)).toString() ==
                     stored.value(QLatin1String(field)).toString(),
                 field);
    // The board opens the query again; it runs the same statement with the same values.
    fx.module.VLQuery2.open();
    QCOMPARE(fx.module.VLQuery2.fieldByName(QStringLiteral("KBGuidKey")).toString(), key);
    QCOMPARE(fx.dialogs.boxes().size(), 0);
}

void TestStoreTasks::moveCheck_data()
{
    testlib::addBackendColumn();
    QTest::addColumn<QString>("situation");
    QTest::addColumn<bool>("findsTheTask");
    for (const Backend backend : {Backend::Sqlite, Backend::Postgres}) {
        const QByteArray name = testlib::backendName(backend).toLatin1();
        testlib::newBackendRow(name + " task in another column", backend)
            << QStringLiteral("elsewhere") << true;
        testlib::newBackendRow(name + " task already in the target column", backend)
            << QStringLiteral("in target") << false;
        testlib::newBackendRow(name + " task deleted meanwhile", backend)
            << QStringLiteral("deleted") << false;
    }
}

void TestStoreTasks::moveCheck()
{
    QFETCH(Backend, backend);
    QFETCH(QString, situation);
    QFETCH(bool, findsTheTask);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    StoreFixture fx(backend);
    QVERIFY(fx.isReady());
    const QString key = firstTaskKey(fx.database.direct(), demoCompany());
    const int column = taskRow(fx.database.direct(), key).value(QStringLiteral("KBColumnNo")).toInt();
    fx.task.SelectedGuidKey = key;
    fx.task.TargetColumnNo = situation == QLatin1String("in target") ? column : (column + 1) % 4;
    if (situation == QLatin1String("deleted"))
        QVERIFY(execDirect(fx.database.direct(),
                           QStringLiteral("DELETE FROM VL_KANBAN WHERE KBGuidKey = '%1'").arg(key)));

    QVERIFY(fx.module.CheckIfTargetExist());

    QCOMPARE(fx.module.VLQuery2.recordCount(), findsTheTask ? 1 : 0);
    if (findsTheTask) {
        QCOMPARE(fx.module.VLQuery2.fieldByName(QStringLiteral("KBGuidKey")).toString(), key);
        QCOMPARE(fx.module.VLQuery2.fieldByName(QStringLiteral("KBColumnNo")).toInt(), column);
    }
    QCOMPARE(fx.dialogs.boxes().size(), 0);
}

void TestStoreTasks::otherCompanysTaskIsNeverTouched_data()
{
    testlib::addBackendColumn();
    QTest::addColumn<QString>("operation");
    for (const Backend backend : {Backend::Sqlite, Backend::Postgres}) {
        const QByteArray name = testlib::backendName(backend).toLatin1();
        for (const char* operation : {"update", "delete", "fetch for edit", "move check"})
            testlib::newBackendRow(name + ' ' + operation, backend) << QString::fromLatin1(operation);
    }
}

void TestStoreTasks::otherCompanysTaskIsNeverTouched()
{
    QFETCH(Backend, backend);
    QFETCH(QString, operation);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    StoreFixture fx(backend);
    QVERIFY(fx.isReady());
    const QString foreignKey = firstTaskKey(fx.database.direct(), otherCompany());
    QVERIFY(!foreignKey.isEmpty());
    const QSqlRecord before = taskRow(fx.database.direct(), foreignKey);
    fx.task = sampleTask(foreignKey);
    fx.task.TargetColumnNo = (before.value(QStringLiteral("KBColumnNo")).toInt() + 1) % 4;

    if (operation == QLatin1String("update")) {
        QCOMPARE(fx.module.DoUpdateKanbanItem(), std::optional<int>(0));
    } else if (operation == QLatin1String("delete")) {
        QVERIFY(fx.module.DoDeleteKBItem());
    } else if (operation == QLatin1String("fetch for edit")) {
        QVERIFY(fx.module.DoFetchSelectedKBItem());
        QCOMPARE(fx.module.VLQuery2.recordCount(), 0);
    } else {
        QVERIFY(fx.module.CheckIfTargetExist());
        QCOMPARE(fx.module.VLQuery2.recordCount(), 0);
    }

    QCOMPARE(taskRow(fx.database.direct(), foreignKey), before);
    QCOMPARE(fx.dialogs.boxes().size(), 0);
}

void TestStoreTasks::movingThroughTheResultSetAsksForStatistics()
{
    QFETCH(Backend, backend);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    StoreFixture fx(backend);
    QVERIFY(fx.isReady());
    QVERIFY(fx.module.FetchItems());
    const QSqlRecord moved = fx.module.ADOKBDataSet.rows().at(3);
    const QString key = moved.value(QStringLiteral("KBGuidKey")).toString();
    const int target = (moved.value(QStringLiteral("KBColumnNo")).toInt() + 2) % 4;
    QMap<QString, int> expectedColumns = columnsByKey(fx.database.direct());
    expectedColumns[key] = target;
    QSignalSpy refresh(&fx.module, &TKBDataModule::statisticsRefreshRequested);

    fx.module.ADOKBDataSet.writeField(3, QStringLiteral("KBColumnNo"), target, platform::ParamType::Integer);

    QCOMPARE(refresh.count(), 1);
    QCOMPARE(columnsByKey(fx.database.direct()), expectedColumns);
    QCOMPARE(fx.module.ADOKBDataSet.rows().at(3).value(QStringLiteral("KBColumnNo")).toInt(), target);
}

// Two data modules on one database stand for two users at their own desks.
void TestStoreTasks::whatOneUserWritesTheOtherReads()
{
    QFETCH(Backend, backend);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    StoreFixture fx(backend);
    QVERIFY(fx.isReady());
    BoardUser other(fx.database, demoCompany());
    QVERIFY(other.isConnected());
    QVERIFY(other.module.FetchItems()); // the other user's board is already showing

    fx.task = sampleTask(newKey);
    QVERIFY(fx.module.DoInsertKBItem());
    other.module.ADOKBDataSet.reopen();
    QVERIFY(fieldValues(other.module.ADOKBDataSet.rows(), QStringLiteral("KBGuidKey")).contains(newKey));

    other.task = sampleTask(newKey);
    other.task.Title = QStringLiteral("Call supplier again: Desk 4");
    QCOMPARE(other.module.DoUpdateKanbanItem(), std::optional<int>(1));
    fx.task.SelectedGuidKey = newKey;
    QVERIFY(fx.module.DoFetchSelectedKBItem());
    QCOMPARE(fx.module.VLQuery2.fieldByName(QStringLiteral("KBTitle")).toString(), other.task.Title);

    // The first user moves the card from column 2 to 3; the other, still showing it in 2, tries to drop it
    // in 1.
    QVERIFY(fx.module.FetchItems());
    const int row = fieldValues(fx.module.ADOKBDataSet.rows(), QStringLiteral("KBGuidKey")).indexOf(newKey);
    fx.module.ADOKBDataSet.writeField(row, QStringLiteral("KBColumnNo"), 3, platform::ParamType::Integer);
    other.task.TargetColumnNo = 1;
    QVERIFY(other.module.CheckIfTargetExist());
    QCOMPARE(other.module.VLQuery2.recordCount(), 1);
    QCOMPARE(other.module.VLQuery2.fieldByName(QStringLiteral("KBColumnNo")).toInt(), 3);

    QVERIFY(other.module.DoDeleteKBItem());
    fx.module.ADOKBDataSet.reopen();
    QVERIFY(!fieldValues(fx.module.ADOKBDataSet.rows(), QStringLiteral("KBGuidKey")).contains(newKey));
    QVERIFY(fx.module.CheckIfTargetExist());
    QCOMPARE(fx.module.VLQuery2.recordCount(), 0);
    QCOMPARE(fx.dialogs.boxes().size(), 0);
}

QTEST_GUILESS_MAIN(TestStoreTasks)
#include "tst_StoreTasks.moc"
