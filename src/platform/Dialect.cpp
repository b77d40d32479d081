#include "Dialect.h"

namespace platform {

QString dialectName(Dialect dialect)
{
    switch (dialect) {
    case Dialect::SqlServer:
        return QStringLiteral("SQL Server");
    case Dialect::Sqlite:
        return QStringLiteral("SQLite");
    case Dialect::Postgres:
        return QStringLiteral("PostgreSQL");
    }
    return {};
}

} // namespace platform
