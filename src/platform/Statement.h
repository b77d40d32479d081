#pragma once

#include "Dialect.h"

#include <QString>

namespace platform {

// One statement as the product sends it to SQL Server, with the text that
// SQLite or PostgreSQL need instead where they cannot take it as written.
class Statement
{
public:
    Statement(QString sqlServerText) : m_sqlServer(std::move(sqlServerText)) {}
    Statement(const char* sqlServerText) : m_sqlServer(QString::fromUtf8(sqlServerText)) {}

    Statement& onSqlite(QString text);
    Statement& onPostgres(QString text);

    QString textFor(Dialect dialect) const;

private:
    QString m_sqlServer;
    QString m_sqlite;
    QString m_postgres;
};

} // namespace platform
