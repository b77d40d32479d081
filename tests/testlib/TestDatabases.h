#pragma once

#include "DemoDatabase.h"

#include <QMetaType>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace testlib {

// The engines every store and updater test runs on.
enum class Backend
{
    Sqlite,
    Postgres
};

using Content = demodb::Content;

QString backendName(Backend backend);

// Data-table helpers. addBackendRows() adds the column "backend" with the rows "sqlite" and "postgres";
// to combine the backend with other columns, call addBackendColumn() first, then add the other columns
// and stream their values after newBackendRow().
void addBackendColumn();
QTestData& newBackendRow(const char* tag, Backend backend);
void addBackendRows();

// PostgreSQL is reached through VELORA_TEST_PG="host:port" (user postgres, no password).
bool postgresAvailable();
QString postgresSkipReason();

// The columns of a table, looked up as a statement names it (PostgreSQL's catalogue holds unquoted names
// in lower case, so QSqlDatabase::record() would miss them there); empty when there is no such table.
QSqlRecord tableColumns(const QSqlDatabase& db, const QString& table);

// A brand-new database for one test: an SQLite file in a temporary folder, or a PostgreSQL database
// created under a unique name and dropped again by the destructor. Filled with the demo rows, or only
// the empty tables. A failure to create it fails the running test; isValid() then returns false.
class FreshDatabase
{
public:
    explicit FreshDatabase(Backend backend, Content content = Content::Demo);
    ~FreshDatabase();
    FreshDatabase(const FreshDatabase&) = delete;
    FreshDatabase& operator=(const FreshDatabase&) = delete;

    bool isValid() const { return m_error.isEmpty(); }
    QString errorString() const { return m_error; }

    // An OLE DB initialisation string that platform::Connection accepts.
    QString connectionString() const;
    // Writes ZRVelora.udl pointing at this database into folder; returns its path, empty on failure.
    QString writeDataLinkFile(const QString& folder) const;
    // A plain Qt connection of the test's own, separate from the product's, for checks.
    QSqlDatabase& direct() { return m_direct; }
    Backend backend() const { return m_backend; }

private:
    bool createPostgresDatabase();
    void dropPostgresDatabase();
    bool openDirect();

    Backend m_backend;
    QString m_error;
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_sqliteFile;
    QString m_postgresHost;
    int m_postgresPort = 0;
    QString m_postgresDatabase;
    QString m_directName;
    QSqlDatabase m_direct;
};

} // namespace testlib

Q_DECLARE_METATYPE(testlib::Backend)

// Skips the running test with one line when it needs PostgreSQL and none is configured.
#define VELORA_SKIP_UNLESS_AVAILABLE(backend)                                                                \
    do {                                                                                                     \
        if ((backend) == testlib::Backend::Postgres && !testlib::postgresAvailable())                        \
            QSKIP(qPrintable(testlib::postgresSkipReason()));                                                \
    } while (false)
