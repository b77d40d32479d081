#pragma once

#include "platform/Dialect.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace demodb {

enum class ColumnType
{
    Text,
    FixedText,
    LongText,
    Integer,
    Decimal,
    Bit,
    DateTime
};

struct Column
{
    QString name;
    ColumnType type = ColumnType::Text;
    int size = 0; // characters of Text and FixedText
    bool primaryKey = false;
    bool notNull = false;
};

struct Table
{
    QString name;
    // Text compared without regard to case, as the product's SQL Server collation does.
    bool caseless = false;
    QList<Column> columns;
};

// The Velora tables both programs read and write, as they stand before the 5.0 upgrade.
const QList<Table>& veloraTables();

// The engine behind an open Qt connection: QSQLITE or QPSQL.
platform::Dialect dialectOf(const QSqlDatabase& db);

// CREATE TABLE statement of one table in the given dialect.
QString createTableStatement(const Table& table, platform::Dialect dialect);

// Creates every table on an open SQLite or PostgreSQL connection, without a transaction of its own.
bool createTables(QSqlDatabase& db, QString* error);

// The same tables for SQL Server: CREATE TABLE statements separated by GO lines.
QString sqlServerScript();

} // namespace demodb
