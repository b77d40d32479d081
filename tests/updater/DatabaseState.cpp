#include "DatabaseState.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace updatertest {

namespace {

bool isPostgres(const QSqlDatabase& db)
{
    return db.driverName() == QLatin1String("QPSQL");
}

QStringList tableNames(const QSqlDatabase& db)
{
    QSqlQuery query(db);
    query.exec(isPostgres(db) ? QStringLiteral("SELECT table_name FROM information_schema.tables "
                                               "WHERE table_schema = current_schema() ORDER BY table_name")
                              : QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                               "AND name NOT LIKE 'sqlite_%' ORDER BY lower(name)"));
    QStringList names;
    while (query.next())
        names.append(query.value(0).toString());
    return names;
}

QString columnLine(const QString& table, const QString& column, const QString& type, bool notNull,
                   bool primaryKey)
{
    QString line = QStringLiteral("%1.%2 %3").arg(table, column, type).toLower();
    if (notNull)
        line += QStringLiteral(" not null");
    if (primaryKey)
        line += QStringLiteral(" primary key");
    return line;
}

QStringList sqliteCatalogue(const QSqlDatabase& db)
{
    QStringList lines;
    for (const QString& table : tableNames(db)) {
        QSqlQuery query(db);
        query.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table));
        while (query.next())
            lines.append(columnLine(table, query.value(QStringLiteral("name")).toString(),
                                    query.value(QStringLiteral("type")).toString(),
                                    query.value(QStringLiteral("notnull")).toInt() != 0,
                                    query.value(QStringLiteral("pk")).toInt() != 0));
    }
    return lines;
}

QStringList postgresCatalogue(const QSqlDatabase& db)
{
    QSqlQuery query(db);
    query.exec(QStringLiteral(
        "SELECT c.table_name, c.column_name, c.udt_name, c.character_maximum_length, c.numeric_precision, "
        "c.numeric_scale, c.is_nullable, EXISTS (SELECT 1 FROM information_schema.table_constraints t "
        "JOIN information_schema.key_column_usage k ON k.constraint_schema = t.constraint_schema "
        "AND k.constraint_name = t.constraint_name WHERE t.constraint_type = 'PRIMARY KEY' "
        "AND t.table_schema = c.table_schema AND t.table_name = c.table_name "
        "AND k.column_name = c.column_name) AS primary_key "
        "FROM information_schema.columns c WHERE c.table_schema = current_schema() "
        "ORDER BY c.table_name, c.ordinal_position"));
    QStringList lines;
    while (query.next()) {
        QString type = query.value(2).toString();
        if (!query.value(3).isNull())
            type += QStringLiteral("(%1)").arg(query.value(3).toInt());
        else if (type == QLatin1String("numeric") && !query.value(4).isNull())
            type += QStringLiteral("(%1,%2)").arg(query.value(4).toInt()).arg(query.value(5).toInt());
        lines.append(columnLine(query.value(0).toString(), query.value(1).toString(), type,
                                query.value(6).toString() == QLatin1String("NO"), query.value(7).toBool()));
    }
    return lines;
}

QString rowLine(const QString& table, const QSqlRecord& record)
{
    QStringList values;
    for (int i = 0; i < record.count(); ++i)
        values.append(record.isNull(i) ? QStringLiteral("<null>") : record.value(i).toString());
    return table.toLower() + QStringLiteral(": ") + values.join(QStringLiteral(" | "));
}

} // namespace

QStringList catalogue(const QSqlDatabase& db)
{
    return isPostgres(db) ? postgresCatalogue(db) : sqliteCatalogue(db);
}

QString catalogueLine(const QStringList& catalogue, const QString& table, const QString& column)
{
    const QString prefix = QStringLiteral("%1.%2 ").arg(table, column).toLower();
    for (const QString& line : catalogue) {
        if (line.startsWith(prefix))
            return line;
    }
    return {};
}

QStringList contents(const QSqlDatabase& db)
{
    QStringList lines;
    for (const QString& table : tableNames(db)) {
        QSqlQuery query(db);
        query.exec(QStringLiteral("SELECT * FROM %1").arg(table));
        while (query.next())
            lines.append(rowLine(table, query.record()));
    }
    lines.sort();
    return lines;
}

bool execDirect(const QSqlDatabase& db, const QString& statement)
{
    QSqlQuery query(db);
    // SQLite checks a schema statement against the schema this connection last read, which misses
    // the updater's changes; reading the catalogue first brings it up to date.
    if (!isPostgres(db))
        query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    if (query.exec(statement))
        return true;
    QTest::qFail(qPrintable(statement + QStringLiteral(": ") + query.lastError().text()), __FILE__, __LINE__);
    return false;
}

QVariantList columnValues(const QSqlDatabase& db, const QString& table, const QString& column)
{
    QSqlQuery query(db);
    QVariantList values;
    if (!query.exec(QStringLiteral("SELECT %1 FROM %2").arg(column, table))) {
        QTest::qFail(qPrintable(query.lastError().text()), __FILE__, __LINE__);
        return values;
    }
    while (query.next())
        values.append(query.value(0));
    return values;
}

} // namespace updatertest
