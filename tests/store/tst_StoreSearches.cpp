#include "StoreTestSupport.h"

#include "DemoContent.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

using namespace storetest;
using testlib::Backend;

namespace {

bool runSearch(TKBDataModule& module, const QString& search)
{
    if (search == QLatin1String("adhoc"))
        return module.DoKBAdHocQuery();
    if (search == QLatin1String("consultant"))
        return module.DoKBConsultantQuery();
    return module.DoKBPriorityQuery();
}

// Adds one task of the given company in the given column through that company's own data module.
bool insertTask(BoardUser& user, int column, const QString& key)
{
    user.task = sampleTask(key);
    user.task.ColumnNo = column;
    return user.module.DoInsertKBItem();
}

QString keyNumber(int n)
{
    return QStringLiteral("{00000000-0000-4000-8000-%1}").arg(n, 12, 10, QLatin1Char('0'));
}

} // namespace

class TestStoreSearches : public QObject
{
    Q_OBJECT
private slots:
    void searchListsTheMatchingTasksOfTheCompany_data();
    void searchListsTheMatchingTasksOfTheCompany();
    void consultantListHoldsTheCompanysConsultantsByName_data() { testlib::addBackendRows(); }
    void consultantListHoldsTheCompanysConsultantsByName();
    void fetchAgent_data();
    void fetchAgent();
    void statisticsCountTheCompanysTasksPerColumn_data() { testlib::addBackendRows(); }
    void statisticsCountTheCompanysTasksPerColumn();
};

void TestStoreSearches::searchListsTheMatchingTasksOfTheCompany_data()
{
    testlib::addBackendColumn();
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("criterion");
    // The tasks expected: those of the company whose field matches the expression (without regard to case).
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("criterionAfter");
    QTest::addColumn<bool>("findsSome");
    struct Row
    {
        const char* tag;
        const char* search;
        const char* criterion;
        const char* field;
        const char* expression;
        const char* criterionAfter;
        bool findsSome;
    };
    const Row rows[] = {
        {"ad-hoc, empty criterion: all ad-hoc tasks", "adhoc", "", "KBPersonType", "^Adhoc$", "Adhoc", true},
        {"ad-hoc, name prefix", "adhoc", "Jo", "KBAdhocName", "^Jo", "Jo", true},
        {"ad-hoc, prefix in other case", "adhoc", "jOHN", "KBAdhocName", "^John", "jOHN", true},
        {"ad-hoc, per cent sign is a pattern", "adhoc", "%Reed", "KBAdhocName", "Reed", "%Reed", true},
        {"ad-hoc, underscore is a pattern", "adhoc", "J_hn", "KBAdhocName", "^J.hn", "J_hn", true},
        {"ad-hoc, no match", "adhoc", "Zed", "KBAdhocName", "^Zed", "Zed", false},
        {"consultant, empty criterion: all consultant tasks", "consultant", "", "KBPersonType", "^Cons$",
         "Cons", true},
        {"consultant, name prefix", "consultant", "Carla", "KBConsultName", "^Carla", "Carla", true},
        {"consultant, prefix in lower case", "consultant", "ben o", "KBConsultName", "^Ben O", "ben o", true},
        {"priority, empty criterion: every task", "priority", "", "KBPriority", "", "", true},
        {"priority, Low", "priority", "Low", "KBPriority", "^Low$", "Low", true},
        {"priority, l finds Low", "priority", "l", "KBPriority", "^Low$", "l", true},
        {"priority, L finds Low", "priority", "L", "KBPriority", "^Low$", "L", true},
        {"priority, med", "priority", "med", "KBPriority", "^Med$", "med", true},
    };
    for (const Backend backend : {Backend::Sqlite, Backend::Postgres}) {
        for (const Row& row : rows) {
            const QByteArray tag = testlib::backendName(backend).toLatin1() + ' ' + row.tag;
            testlib::newBackendRow(tag.constData(), backend)
                << QString::fromLatin1(row.search) << QString::fromLatin1(row.criterion)
                << QString::fromLatin1(row.field) << QString::fromLatin1(row.expression)
                << QString::fromLatin1(row.criterionAfter) << row.findsSome;
        }
    }
}

void TestStoreSearches::searchListsTheMatchingTasksOfTheCompany()
{
    QFETCH(Backend, backend);
    QFETCH(QString, search);
    QFETCH(QString, criterion);
    QFETCH(QString, field);
    QFETCH(QString, expression);
    QFETCH(QString, criterionAfter);
    QFETCH(bool, findsSome);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    StoreFixture fx(backend);
    QVERIFY(fx.isReady());
    const QRegularExpression matching(expression, QRegularExpression::CaseInsensitiveOption);
    QStringList expectedKeys;
    for (const QSqlRecord& row : tasksOf(fx.database.direct(), demoCompany())) {
        if (matching.match(row.value(field).toString()).hasMatch())
            expectedKeys.append(row.value(QStringLiteral("KBGuidKey")).toString());
    }
    QCOMPARE(!expectedKeys.isEmpty(), findsSome);
    QVERIFY(fx.module.FetchItems()); // a search replaces what the board shows
    QSignalSpy sourceReset(&fx.module, &TKBDataModule::itemSourceReset);
    fx.module.SearchCriterion = criterion;

    QVERIFY(runSearch(fx.module, search));

    QCOMPARE(sourceReset.count(), 1);
    QVERIFY(fx.module.ADOKBDataSet.isOpen());
    QStringList keys = fieldValues(fx.module.ADOKBDataSet.rows(), QStringLiteral("KBGuidKey"));
    keys.sort();
    expectedKeys.sort();
    QCOMPARE(keys, expectedKeys);
    QCOMPARE(fx.module.SearchCriterion, criterionAfter);
    // Reloading the cards keeps the search.
    fx.module.ADOKBDataSet.reopen();
    QCOMPARE(fx.module.ADOKBDataSet.rows().size(), expectedKeys.size());
    QCOMPARE(fx.dialogs.boxes().size(), 0);
}

void TestStoreSearches::consultantListHoldsTheCompanysConsultantsByName()
{
    QFETCH(Backend, backend);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    StoreFixture fx(backend);
    QVERIFY(fx.isReady());
    QStringList expectedNames;
    for (const demodb::DemoAgent& agent : demodb::demoAgents()) {
        if (agent.companyId == demoCompany() && agent.type == QLatin1String("IN"))
            expectedNames.append(agent.name);
    }
    std::sort(expectedNames.begin(), expectedNames.end());
    QVERIFY(expectedNames.size() > 1);
    QSignalSpy sourceReset(&fx.module, &TKBDataModule::consultantSourceReset);

    fx.module.FetchConsultants();

    QCOMPARE(sourceReset.count(), 1);
    QVERIFY(fx.module.ADOAgentsInternDataSet.isOpen());
    const auto& rows = fx.module.ADOAgentsInternDataSet.rows();
    QCOMPARE(fieldValues(rows, QStringLiteral("AgName")), expectedNames);
    QStringList companies = fieldValues(rows, QStringLiteral("AgCoId"));
    companies.removeDuplicates();
    QCOMPARE(companies, QStringList{demoCompany()});
    QVERIFY(!fieldValues(rows, QStringLiteral("AgId")).contains(QString()));
    QCOMPARE(fx.dialogs.boxes().size(), 0);
}

void TestStoreSearches::fetchAgent_data()
{
    testlib::addBackendColumn();
    QTest::addColumn<QString>("agentId");
    QTest::addColumn<bool>("found");
    for (const Backend backend : {Backend::Sqlite, Backend::Postgres}) {
        const QByteArray name = testlib::backendName(backend).toLatin1();
        testlib::newBackendRow(name + " consultant of the company", backend)
            << QStringLiteral("AG003") << true;
        testlib::newBackendRow(name + " agent of another company", backend)
            << QStringLiteral("AG101") << false;
        testlib::newBackendRow(name + " agent no longer there", backend) << QStringLiteral("AG999") << false;
    }
}

void TestStoreSearches::fetchAgent()
{
    QFETCH(Backend, backend);
    QFETCH(QString, agentId);
    QFETCH(bool, found);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    StoreFixture fx(backend);
    QVERIFY(fx.isReady());
    fx.task.AgentID = agentId;

    QVERIFY(fx.module.DoFetchAgent());

    QCOMPARE(fx.module.VLQuery.recordCount(), found ? 1 : 0);
    if (found) {
        const auto stored =
            selectRows(fx.database.direct(),
                       QStringLiteral("SELECT AgPhoto, AgEmail FROM VL_AGENTS WHERE AgId = ?"), {agentId});
        QCOMPARE(fx.module.VLQuery.fieldByName(QStringLiteral("AgId")).toString(), agentId);
        QCOMPARE(fx.module.VLQuery.fieldByName(QStringLiteral("AgPhoto")), stored.first().value(0));
        QCOMPARE(fx.module.VLQuery.fieldByName(QStringLiteral("AgEmail")), stored.first().value(1));
    }
    QCOMPARE(fx.dialogs.boxes().size(), 0);
}

void TestStoreSearches::statisticsCountTheCompanysTasksPerColumn()
{
    QFETCH(Backend, backend);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    StoreFixture fx(backend, testlib::Content::Tables);
    QVERIFY(fx.isReady());
    BoardUser otherCompanyUser(fx.database, otherCompany());
    QVERIFY(otherCompanyUser.isConnected());
    // Written out of column order; column 4 is outside the board but still counted.
    int n = 0;
    for (const int column : {4, 3, 0, 0})
        QVERIFY(insertTask(fx.user, column, keyNumber(++n)));
    QVERIFY(insertTask(otherCompanyUser, 1, keyNumber(++n)));
    QVERIFY(fx.module.DoKBAdHocQuery()); // the counts do not follow the search

    QVERIFY(fx.module.GetTaskStatistics());

    QList<QPair<int, int>> bars;
    for (const QSqlRecord& row : fx.module.VLQuery.rows())
        bars.append({row.value(QStringLiteral("KbColumnNo")).toInt(),
                     row.value(QStringLiteral("TaskCount")).toInt()});
    QCOMPARE(bars, (QList<QPair<int, int>>{{0, 2}, {3, 1}, {4, 1}}));
    QCOMPARE(fx.dialogs.boxes().size(), 0);
}

QTEST_GUILESS_MAIN(TestStoreSearches)
#include "tst_StoreSearches.moc"
