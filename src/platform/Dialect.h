#pragma once

#include <QString>

namespace platform {

// The database engines the programs talk to. SQL Server is the product's own;
// SQLite is the embedded demo database, PostgreSQL the multi-user server we test on.
enum class Dialect
{
    SqlServer,
    Sqlite,
    Postgres
};

QString dialectName(Dialect dialect);

} // namespace platform
