#include "TestDatabases.h"

#include "platform/ConnectionStringSyntax.h"
#include "platform/DataLink.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>

namespace testlib {

namespace {

constexpr char kPostgresVariable[] = "VELORA_TEST_PG";
constexpr char kPostgresUser[] = "postgres";

QString uniqueSuffix()
{
    static QAtomicInt counter;
    return QStringLiteral("%1_%2_%3")
        .arg(QCoreApplication::applicationPid())
        .arg(counter.fetchAndAddRelaxed(1))
        .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

// VELORA_TEST_PG as host and port; false when unset or malformed.
bool postgresServer(QString* host, int* port)
{
    const QString value = qEnvironmentVariable(kPostgresVariable).trimmed();
    const qsizetype colon = value.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    bool numeric = false;
    *port = value.mid(colon + 1).toInt(&numeric);
    *host = value.left(colon);
    return numeric && *port > 0;
}

QString sqlErrorText(const QSqlError& error)
{
    return error.text().trimmed();
}

// The maintenance database, through which test databases are created and dropped.
class AdminConnection
{
public:
    AdminConnection(const QString& host, int port) : m_name(QStringLiteral("testlib-admin-") + uniqueSuffix())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
        db.setHostName(host);
        db.setPort(port);
        db.setUserName(QLatin1String(kPostgresUser));
        db.setDatabaseName(QStringLiteral("postgres"));
        if (!db.open())
            m_error = sqlErrorText(db.lastError());
    }

    ~AdminConnection()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }

    bool exec(const QString& statement, QString* error)
    {
        if (!m_error.isEmpty()) {
            *error = m_error;
            return false;
        }
        QSqlQuery query(QSqlDatabase::database(m_name, false));
        if (query.exec(statement))
            return true;
        *error = statement + QStringLiteral(": ") + sqlErrorText(query.lastError());
        return false;
    }

private:
    QString m_name;
    QString m_error;
};

} // namespace

QString backendName(Backend backend)
{
    return backend == Backend::Sqlite ? QStringLiteral("sqlite") : QStringLiteral("postgres");
}

void addBackendColumn()
{
    QTest::addColumn<Backend>("backend");
}

QTestData& newBackendRow(const char* tag, Backend backend)
{
    return QTest::newRow(tag) << backend;
}

void addBackendRows()
{
    addBackendColumn();
    newBackendRow("sqlite", Backend::Sqlite);
    newBackendRow("postgres", Backend::Postgres);
}

bool postgresAvailable()
{
    QString host;
    int port = 0;
    return postgresServer(&host, &port);
}

QString postgresSkipReason()
{
    return QStringLiteral("PostgreSQL not configured: set VELORA_TEST_PG=127.0.0.1:PORT "
                          "(source scripts/postgres-for-tests.sh starts a server)");
}

QSqlRecord tableColumns(const QSqlDatabase& db, const QString& table)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(table)))
        return {};
    return query.record();
}

FreshDatabase::FreshDatabase(Backend backend, Content content)
    : m_backend(backend), m_directName(QStringLiteral("testlib-direct-") + uniqueSuffix())
{
    bool created = false;
    if (backend == Backend::Sqlite) {
        m_folder = std::make_unique<QTemporaryDir>();
        m_sqliteFile = m_folder->filePath(QStringLiteral("VeloraTest.db"));
        created = m_folder->isValid();
        if (!created)
            m_error = QStringLiteral("Cannot create a temporary folder: ") + m_folder->errorString();
    } else {
        created = createPostgresDatabase();
    }

    QString buildError;
    if (created && openDirect() && !demodb::buildDatabase(m_direct, content, &buildError))
        m_error = QStringLiteral("Cannot build the test database: ") + buildError;
    if (!m_error.isEmpty())
        QTest::qFail(qPrintable(m_error), __FILE__, __LINE__);
}

FreshDatabase::~FreshDatabase()
{
    m_direct.close();
    m_direct = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_directName);
    if (!m_postgresDatabase.isEmpty())
        dropPostgresDatabase();
}

bool FreshDatabase::createPostgresDatabase()
{
    if (!postgresServer(&m_postgresHost, &m_postgresPort)) {
        m_error = postgresSkipReason();
        return false;
    }
    const QString name = QStringLiteral("velora_test_") + uniqueSuffix();
    AdminConnection admin(m_postgresHost, m_postgresPort);
    // template0 is never in use by another session; a file copy is the quicker way for so small a database.
    if (!admin.exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 STRATEGY FILE_COPY ENCODING 'UTF8'")
                        .arg(name),
                    &m_error))
        return false;
    m_postgresDatabase = name;
    return true;
}

void FreshDatabase::dropPostgresDatabase()
{
    // FORCE ends the product's connections a test may still hold.
    AdminConnection admin(m_postgresHost, m_postgresPort);
    QString error;
    if (!admin.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_postgresDatabase),
                    &error))
        qWarning("%s", qPrintable(error));
}

bool FreshDatabase::openDirect()
{
    if (m_backend == Backend::Sqlite) {
        m_direct = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_directName);
        m_direct.setDatabaseName(m_sqliteFile);
        m_direct.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    } else {
        m_direct = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_directName);
        m_direct.setHostName(m_postgresHost);
        m_direct.setPort(m_postgresPort);
        m_direct.setUserName(QLatin1String(kPostgresUser));
        m_direct.setDatabaseName(m_postgresDatabase);
    }
    if (m_direct.open())
        return true;
    m_error = QStringLiteral("Cannot open the test database: ") + sqlErrorText(m_direct.lastError());
    return false;
}

QString FreshDatabase::connectionString() const
{
    QString driverProperties;
    if (m_backend == Backend::Sqlite) {
        driverProperties =
            QStringLiteral("Driver=SQLite3 ODBC Driver;Database=%1").arg(platform::odbcValue(m_sqliteFile));
    } else {
        driverProperties = QStringLiteral("Driver=PostgreSQL Unicode;Server=%1;Port=%2;Database=%3;Uid=%4")
                               .arg(platform::odbcValue(m_postgresHost))
                               .arg(m_postgresPort)
                               .arg(m_postgresDatabase, QLatin1String(kPostgresUser));
    }
    return QStringLiteral("Provider=MSDASQL.1;Persist Security Info=False;Extended Properties=\"%1\"")
        .arg(driverProperties);
}

QString FreshDatabase::writeDataLinkFile(const QString& folder) const
{
    const QString path = QDir(folder).filePath(QStringLiteral("ZRVelora.udl"));
    QString error;
    if (!platform::writeDataLinkFile(path, connectionString(), &error)) {
        QTest::qFail(qPrintable(QStringLiteral("Cannot write %1: %2").arg(path, error)), __FILE__, __LINE__);
        return {};
    }
    return path;
}

} // namespace testlib
