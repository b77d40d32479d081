#include "Statement.h"

namespace platform {

Statement& Statement::onSqlite(QString text)
{
    m_sqlite = std::move(text);
    return *this;
}

Statement& Statement::onPostgres(QString text)
{
    m_postgres = std::move(text);
    return *this;
}

QString Statement::textFor(Dialect dialect) const
{
    if (dialect == Dialect::Sqlite && !m_sqlite.isNull())
        return m_sqlite;
    if (dialect == Dialect::Postgres && !m_postgres.isNull())
        return m_postgres;
    return m_sqlServer;
}

} // namespace platform
