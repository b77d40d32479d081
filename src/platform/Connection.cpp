#include "Connection.h"

#include "DatabaseError.h"
#include "DataLink.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlError>

namespace platform {

namespace {

QString uniqueConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("velora-%1").arg(counter.fetchAndAddRelaxed(1));
}

} // namespace

Connection::Connection() : m_name(uniqueConnectionName()) {}

Connection::~Connection()
{
    if (QSqlDatabase::contains(m_name)) {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
}

void Connection::setConnectionString(const QString& connectionString)
{
    close();
    m_connectionString = connectionString;
}

void Connection::open()
{
    if (isOpen())
        return;
    QString error;
    const auto target = resolveConnectionString(m_connectionString, &error);
    if (!target)
        throw DatabaseError(error);
    if (!QSqlDatabase::isDriverAvailable(target->qtDriver))
        throw DatabaseError(QStringLiteral("The database driver %1 is not installed.").arg(target->qtDriver));
    // Qt would quietly create an empty database in place of a missing file.
    if (target->dialect == Dialect::Sqlite && !QFileInfo::exists(target->databaseName))
        throw DatabaseError(QStringLiteral("The database file %1 does not exist.").arg(target->databaseName));
    if (QSqlDatabase::contains(m_name))
        QSqlDatabase::removeDatabase(m_name);
    QSqlDatabase db = QSqlDatabase::addDatabase(target->qtDriver, m_name);
    db.setDatabaseName(target->databaseName);
    if (!target->host.isEmpty())
        db.setHostName(target->host);
    if (target->port > 0)
        db.setPort(target->port);
    db.setUserName(target->userName);
    db.setPassword(target->password);
    QString options = target->connectOptions;
    if (target->qtDriver == QLatin1String("QSQLITE") &&
        !options.contains(QLatin1String("QSQLITE_BUSY_TIMEOUT")))
        options = options.isEmpty() ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000")
                                    : options + QStringLiteral(";QSQLITE_BUSY_TIMEOUT=10000");
    db.setConnectOptions(options);
    if (!db.open()) {
        const QString text = sqlErrorText(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw DatabaseError(text);
    }
    m_dialect = target->dialect;
    m_inTransaction = false;
}

void Connection::close()
{
    if (QSqlDatabase::contains(m_name))
        QSqlDatabase::database(m_name, false).close();
    m_inTransaction = false;
}

bool Connection::isOpen() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

QSqlDatabase Connection::database() const
{
    if (!isOpen())
        throw DatabaseError(QStringLiteral("The connection is not open."));
    return QSqlDatabase::database(m_name, false);
}

void Connection::beginTrans()
{
    QSqlDatabase db = database();
    if (!db.transaction())
        throw DatabaseError(sqlErrorText(db.lastError()));
    m_inTransaction = true;
}

void Connection::commitTrans()
{
    QSqlDatabase db = database();
    if (!db.commit())
        throw DatabaseError(sqlErrorText(db.lastError()));
    m_inTransaction = false;
}

void Connection::rollbackTrans()
{
    m_inTransaction = false;
    QSqlDatabase db = database();
    if (!db.rollback())
        throw DatabaseError(sqlErrorText(db.lastError()));
}

} // namespace platform
