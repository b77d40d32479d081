#pragma once

#include <QSqlDatabase>
#include <QStringList>

namespace updatertest {

// The schema as the database's own catalogue reports it: one line per column,
// "table.column type [not null] [primary key]", tables in name order, columns in table order.
// Names and types are in lower case, since PostgreSQL folds unquoted names.
QStringList catalogue(const QSqlDatabase& db);

// The catalogue line of one column, empty when there is none.
QString catalogueLine(const QStringList& catalogue, const QString& table, const QString& column);

// Every row of every table, one line each, sorted.
QStringList contents(const QSqlDatabase& db);

// Runs a statement of the test's own; fails the running test when it does not succeed.
bool execDirect(const QSqlDatabase& db, const QString& statement);

// The values of one column in every row of a table.
QVariantList columnValues(const QSqlDatabase& db, const QString& table, const QString& column);

} // namespace updatertest
