#include "Schema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace demodb {

using platform::Dialect;

namespace {

Column key(const QString& name, ColumnType type, int size = 0)
{
    return {name, type, size, true, true};
}

Column required(const QString& name, ColumnType type, int size = 0)
{
    return {name, type, size, false, true};
}

Column text(const QString& name, int size)
{
    return {name, ColumnType::Text, size};
}

Column of(const QString& name, ColumnType type)
{
    return {name, type};
}

QList<Table> buildTables()
{
    using T = ColumnType;
    return {
        {QStringLiteral("VL_KANBAN"),
         true,
         {key(QStringLiteral("KBGuidKey"), T::Text, 38),
          required(QStringLiteral("KBCoId"), T::Text, 10),
          required(QStringLiteral("KBColumnNo"), T::Integer),
          text(QStringLiteral("KBTitle"), 100),
          text(QStringLiteral("KBText"), 1000),
          of(QStringLiteral("KBTextBGColor"), T::Integer),
          text(QStringLiteral("KBPriority"), 10),
          text(QStringLiteral("KBBitmap"), 255),
          text(QStringLiteral("KBBitmapName"), 100),
          text(QStringLiteral("KBAgentID"), 20),
          text(QStringLiteral("KBConsultName"), 100),
          text(QStringLiteral("KBAdhocName"), 100),
          text(QStringLiteral("KBPersonType"), 10),
          of(QStringLiteral("KBItemExpanded"), T::Bit),
          of(QStringLiteral("KBItemExpandable"), T::Bit),
          of(QStringLiteral("KBMarkerColor"), T::Integer),
          of(QStringLiteral("KBMarkerSize"), T::Integer),
          of(QStringLiteral("KBTitleColor"), T::Integer),
          of(QStringLiteral("KBMarkerTop"), T::Integer),
          text(QStringLiteral("KBTitleBackup"), 100),
          of(QStringLiteral("KBSortKey"), T::Integer)}},
        {QStringLiteral("VL_AGENTS"),
         true,
         {key(QStringLiteral("AgId"), T::Text, 20), required(QStringLiteral("AgCoId"), T::Text, 10),
          text(QStringLiteral("AgName"), 100), of(QStringLiteral("AgCommPerc"), T::Decimal),
          text(QStringLiteral("AgAdd1"), 100), text(QStringLiteral("AgTown"), 60),
          text(QStringLiteral("AgCounty"), 60), text(QStringLiteral("AgCountry"), 60),
          text(QStringLiteral("AgEmail"), 120), text(QStringLiteral("AGTypeInd"), 2),
          text(QStringLiteral("AgPhoto"), 255)}},
        {QStringLiteral("VL_LETTERS"),
         true,
         {key(QStringLiteral("LetterGUID"), T::Text, 38), text(QStringLiteral("LetterDesc"), 100),
          text(QStringLiteral("LetterSalu"), 100), text(QStringLiteral("LetterSubj"), 150),
          of(QStringLiteral("LetterText"), T::LongText), of(QStringLiteral("LetterDateTime"), T::DateTime)}},
        {QStringLiteral("VL_UPDATER"),
         true,
         {required(QStringLiteral("UpdVerNo"), T::Text, 20), of(QStringLiteral("UpdDate"), T::DateTime)}},
        {QStringLiteral("VL_PARMS"),
         false,
         {key(QStringLiteral("ParmId"), T::Integer), required(QStringLiteral("ParmCoId"), T::Text, 10),
          text(QStringLiteral("ParmCompanyName"), 100)}},
        {QStringLiteral("VL_QUOTE"),
         false,
         {key(QStringLiteral("QuoteId"), T::Integer), text(QStringLiteral("QuoteDesc"), 100),
          text(QStringLiteral("QuoteNotes"), 255)}},
        {QStringLiteral("VL_SUPPLIER"),
         false,
         {key(QStringLiteral("SuppId"), T::FixedText, 20), text(QStringLiteral("SuppName"), 100)}},
        {QStringLiteral("VL_TOURPROD"),
         false,
         {key(QStringLiteral("TourId"), T::Integer), text(QStringLiteral("TourName"), 100),
          of(QStringLiteral("TourPrice"), T::Decimal)}},
    };
}

bool isText(ColumnType type)
{
    return type == ColumnType::Text || type == ColumnType::FixedText || type == ColumnType::LongText;
}

QString typeName(const Column& column, Dialect dialect)
{
    switch (column.type) {
    case ColumnType::Text:
        return QStringLiteral("varchar(%1)").arg(column.size);
    case ColumnType::FixedText:
        return QStringLiteral("char(%1)").arg(column.size);
    case ColumnType::LongText:
        return dialect == Dialect::SqlServer ? QStringLiteral("varchar(max)") : QStringLiteral("text");
    case ColumnType::Integer:
        return dialect == Dialect::Sqlite ? QStringLiteral("integer") : QStringLiteral("int");
    case ColumnType::Decimal:
        return dialect == Dialect::Postgres ? QStringLiteral("numeric(10,2)")
                                            : QStringLiteral("decimal(10,2)");
    case ColumnType::Bit:
        return dialect == Dialect::SqlServer ? QStringLiteral("bit") : QStringLiteral("boolean");
    case ColumnType::DateTime:
        return dialect == Dialect::Postgres ? QStringLiteral("timestamp") : QStringLiteral("datetime");
    }
    return {};
}

QString columnDefinition(const Column& column, bool caseless, Dialect dialect)
{
    QString type = typeName(column, dialect);
    if (caseless && isText(column.type)) {
        if (dialect == Dialect::Postgres)
            type = QStringLiteral("citext");
        else if (dialect == Dialect::Sqlite)
            type += QStringLiteral(" COLLATE NOCASE");
    }
    QString definition = column.name + QLatin1Char(' ') + type;
    definition += column.notNull ? QStringLiteral(" NOT NULL") : QStringLiteral(" NULL");
    if (column.primaryKey)
        definition += QStringLiteral(" PRIMARY KEY");
    return definition;
}

} // namespace

const QList<Table>& veloraTables()
{
    static const QList<Table> tables = buildTables();
    return tables;
}

Dialect dialectOf(const QSqlDatabase& db)
{
    return db.driverName() == QLatin1String("QPSQL") ? Dialect::Postgres : Dialect::Sqlite;
}

QString createTableStatement(const Table& table, Dialect dialect)
{
    QStringList definitions;
    for (const Column& column : table.columns)
        definitions.append(columnDefinition(column, table.caseless, dialect));
    return QStringLiteral("CREATE TABLE %1 (\n    %2\n)")
        .arg(table.name, definitions.join(QStringLiteral(",\n    ")));
}

bool createTables(QSqlDatabase& db, QString* error)
{
    const Dialect dialect = dialectOf(db);
    QStringList statements;
    if (dialect == Dialect::Postgres)
        statements.append(QStringLiteral("CREATE EXTENSION IF NOT EXISTS citext"));
    for (const Table& table : veloraTables())
        statements.append(createTableStatement(table, dialect));

    QSqlQuery query(db);
    for (const QString& statement : statements) {
        if (!query.exec(statement)) {
            if (error)
                *error = statement.section(QLatin1Char('('), 0, 0).trimmed() + QStringLiteral(": ") +
                         query.lastError().text();
            return false;
        }
    }
    return true;
}

QString sqlServerScript()
{
    QString script;
    for (const Table& table : veloraTables())
        script += createTableStatement(table, Dialect::SqlServer) + QStringLiteral("\nGO\n\n");
    return script;
}

} // namespace demodb
