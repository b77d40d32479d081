#include "platform/Connection.h"
#include "platform/DatabaseError.h"
#include "platform/DataSet.h"
#include "platform/Placeholders.h"
#include "platform/Query.h"
#include "platform/Transactions.h"
#include "platform/UncaughtErrors.h"
#include "ScriptedDialogs.h"
#include "TestDatabases.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

using platform::ParamType;
using testlib::Backend;

namespace {

// A database with a table of our own beside the Velora ones, so these tests depend on no product
// statement, and the product-side connection to it.
struct SampleDatabase
{
    explicit SampleDatabase(Backend backend) : db(backend, testlib::Content::Tables)
    {
        const bool postgres = backend == Backend::Postgres;
        QSqlQuery create(db.direct());
        created = create.exec(postgres ? "CREATE TABLE SAMPLE (SKey varchar(10) PRIMARY KEY, SCount int, "
                                         "SFlag boolean, SWhen timestamp, SName varchar(40))"
                                       : "CREATE TABLE SAMPLE (SKey varchar(10) PRIMARY KEY, SCount int, "
                                         "SFlag integer, SWhen datetime, SName varchar(40))") &&
                  create.exec("INSERT INTO SAMPLE (SKey, SCount, SName) VALUES ('A', 1, 'first')");
        connection.setConnectionString(db.connectionString());
    }

    int rows()
    {
        QSqlQuery count(db.direct());
        count.exec("SELECT COUNT(*) FROM SAMPLE");
        return count.next() ? count.value(0).toInt() : -1;
    }

    testlib::FreshDatabase db;
    platform::Connection connection;
    bool created = false;
};

} // namespace

class TestDatabaseLayer : public QObject
{
    Q_OBJECT

private slots:
    void placeholdersBecomePositional_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("positional");
        QTest::addColumn<QStringList>("names");

        QTest::newRow("names in order") << "SELECT a FROM t WHERE b = :PB AND c=:Pc2"
                                        << "SELECT a FROM t WHERE b = ? AND c=?" << QStringList{"PB", "Pc2"};
        QTest::newRow("a name used twice")
            << "VALUES(:PKBGuidKey,:PKBCoId, :pkbguidkey)"
            << "VALUES(?,?, ?)" << QStringList{"PKBGuidKey", "PKBCoId", "pkbguidkey"};
        QTest::newRow("quoted text is left alone")
            << "SELECT ':not' , \":nor\" FROM t WHERE x = :PX"
            << "SELECT ':not' , \":nor\" FROM t WHERE x = ?" << QStringList{"PX"};
        QTest::newRow("a cast is no placeholder") << "SELECT x::int FROM t"
                                                  << "SELECT x::int FROM t" << QStringList{};
        QTest::newRow("a lone colon stays") << "SELECT ': ' || x, y : 1"
                                            << "SELECT ': ' || x, y : 1" << QStringList{};
    }

    void placeholdersBecomePositional()
    {
        QFETCH(QString, statement);
        QFETCH(QString, positional);
        QFETCH(QStringList, names);
        const auto result = platform::toPositional(statement);
        QCOMPARE(result.text, positional);
        QCOMPARE(result.placeholders, names);
    }

    void parametersBindByNameWithTheirTypes_data() { testlib::addBackendRows(); }

    void parametersBindByNameWithTheirTypes()
    {
        QFETCH(Backend, backend);
        VELORA_SKIP_UNLESS_AVAILABLE(backend);
        SampleDatabase sample(backend);
        QVERIFY(sample.created);
        platform::Query query(sample.connection);

        const QDateTime when(QDate(2026, 3, 14), QTime(15, 9, 26));
        query.setText(
            "INSERT INTO SAMPLE (SKey, SCount, SFlag, SWhen, SName) VALUES (:PKey, :PCount, :PFlag, "
            ":PWhen, :PName)");
        query.setParam("pkey", "B", ParamType::Text);
        query.setParam("PCOUNT", 42, ParamType::Integer);
        query.setParam("PFlag", true, ParamType::Boolean);
        query.setParam("PWhen", when, ParamType::DateTime);
        query.setParam("PName", QString(), ParamType::Text);
        QCOMPARE(query.execSQL(), 1);

        query.setText("SELECT SCount, SFlag, SWhen, SName FROM SAMPLE WHERE SKey = :PKey");
        query.setParam("PKey", "B", ParamType::Text);
        query.open();
        QCOMPARE(query.recordCount(), 1);
        QCOMPARE(query.fieldByName("scount").toInt(), 42);
        QCOMPARE(query.fieldByName("SFLAG").toBool(), true);
        QCOMPARE(query.fieldByName("SWhen").toDateTime(), when);
        // An empty text is stored as empty text, not as a missing value.
        QVERIFY(!query.fieldByName("SName").isNull());
        QCOMPARE(query.fieldByName("SName").toString(), QString());
        QVERIFY_THROWS_EXCEPTION(platform::DatabaseError, query.fieldByName("NoSuchField"));
    }

    void parameterMistakesAreRefused_data() { testlib::addBackendRows(); }

    void parameterMistakesAreRefused()
    {
        QFETCH(Backend, backend);
        VELORA_SKIP_UNLESS_AVAILABLE(backend);
        SampleDatabase sample(backend);
        QVERIFY(sample.created);
        platform::Query query(sample.connection);

        query.setText("DELETE FROM SAMPLE WHERE SKey = :PKey OR SName = :PName");
        QVERIFY_THROWS_EXCEPTION(platform::DatabaseError, query.setParam("PKy", "A", ParamType::Text));
        query.setParam("PKey", "A", ParamType::Text);
        try {
            query.execSQL();
            QFAIL("a statement with an unbound parameter ran");
        } catch (const platform::DatabaseError& error) {
            QVERIFY2(error.text().contains("PName"), qPrintable(error.text()));
        }
        QCOMPARE(sample.rows(), 1);
    }

    void failedTransactionIsRolledBackWhole_data() { testlib::addBackendRows(); }

    void failedTransactionIsRolledBackWhole()
    {
        QFETCH(Backend, backend);
        VELORA_SKIP_UNLESS_AVAILABLE(backend);
        SampleDatabase sample(backend);
        QVERIFY(sample.created);
        testlib::ScriptedDialogs dialogs;
        platform::Query query(sample.connection);

        const bool ok = platform::runInTransaction(sample.connection, "Sample failed : Details\r", [&] {
            query.setText("INSERT INTO SAMPLE (SKey, SCount) VALUES ('B', 2)");
            query.execSQL();
            query.setText("ALTER TABLE SAMPLE ADD SExtra int");
            query.execSQL();
            query.setText("CREATE TABLE SAMPLE_MORE (MKey int)");
            query.execSQL();
            query.setText("INSERT INTO NO_SUCH_TABLE (X) VALUES (1)");
            query.execSQL();
        });

        QVERIFY(!ok);
        QCOMPARE(dialogs.boxes().size(), 1);
        QCOMPARE(dialogs.boxes().first().kind, platform::BoxKind::Error);
        const QString text = dialogs.boxes().first().text;
        QVERIFY2(text.startsWith("Sample failed : Details\r") &&
                     text.contains("no_such_table", Qt::CaseInsensitive),
                 qPrintable(text));
        QCOMPARE(sample.rows(), 1);
        QSqlQuery check(sample.db.direct());
        QVERIFY(!check.exec("SELECT SExtra FROM SAMPLE"));
        QVERIFY(!sample.db.direct().tables().contains("sample_more", Qt::CaseInsensitive));
        QVERIFY(!sample.connection.inTransaction());

        // The connection stays usable for the next operation.
        QVERIFY(platform::runInTransaction(sample.connection, "unused", [&] {
            query.setText("INSERT INTO SAMPLE (SKey) VALUES ('C')");
            query.execSQL();
        }));
        QCOMPARE(sample.rows(), 2);
    }

    void connectionFailureLeavesTheGuard_data()
    {
        QTest::addColumn<QString>("connectionString");
        QTest::newRow("server not listening")
            << "Provider=MSDASQL.1;Extended Properties=\"Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=1;"
               "Database=velora;Uid=postgres;Pwd=secret\"";
        QTest::newRow("database file missing") << "Provider=MSDASQL.1;Extended Properties=\"Driver=SQLite3 "
                                                  "ODBC Driver;Database=/nonexistent/v.db\"";
    }

    void connectionFailureLeavesTheGuard()
    {
        QFETCH(QString, connectionString);
        testlib::ScriptedDialogs dialogs;
        platform::Connection connection;
        connection.setConnectionString(connectionString);
        bool bodyRan = false;
        QVERIFY_THROWS_EXCEPTION(platform::DatabaseError,
                                 platform::runInTransaction(connection, "unused", [&] { bodyRan = true; }));
        QVERIFY(!bodyRan);
        QVERIFY(dialogs.boxes().isEmpty());
        QVERIFY(!QFileInfo::exists("/nonexistent/v.db"));
    }

    void dataSetWritesARowBackAndAnnouncesIt_data() { testlib::addBackendRows(); }

    void dataSetWritesARowBackAndAnnouncesIt()
    {
        QFETCH(Backend, backend);
        VELORA_SKIP_UNLESS_AVAILABLE(backend);
        SampleDatabase sample(backend);
        QVERIFY(sample.created);
        platform::DataSet dataSet(sample.connection);
        dataSet.setUpdateTarget("SAMPLE", {"SKey"});
        dataSet.command().setText("SELECT SKey, SCount FROM SAMPLE WHERE SName LIKE :PName");
        dataSet.command().setParam("PName", "fi%", ParamType::Text);
        QSignalSpy opened(&dataSet, &platform::DataSet::opened);
        QSignalSpy changed(&dataSet, &platform::DataSet::recordChangeComplete);
        dataSet.open();
        QCOMPARE(dataSet.rows().size(), 1);

        dataSet.writeField(0, "SCount", 7, ParamType::Integer);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(dataSet.rows().first().value("SCount").toInt(), 7);
        dataSet.reopen();
        QCOMPARE(opened.count(), 2);
        QCOMPARE(dataSet.rows().first().value("SCount").toInt(), 7);
    }

    void errorLeavingAnEventHandlerIsReported()
    {
        testlib::ScriptedDialogs dialogs;
        bool laterEventRan = false;
        QTimer::singleShot(0, [] { throw platform::DatabaseError("server went away"); });
        QTimer::singleShot(0, [&] { laterEventRan = true; });
        QTRY_VERIFY(laterEventRan);
        QCOMPARE(dialogs.texts(), QStringList{"server went away"});
        QCOMPARE(dialogs.boxes().first().kind, platform::BoxKind::Error);
    }
};

int main(int argc, char** argv)
{
    platform::Application app(argc, argv);
    TestDatabaseLayer test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_databaselayer.moc"
