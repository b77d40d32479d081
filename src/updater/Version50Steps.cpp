#include "Version50Steps.h"

namespace updater {

using platform::Dialect;

namespace {

struct AddedColumn
{
    QString name;
    QString sqlServerType;
};

const QString parmsTable = QStringLiteral("VL_PARMS");
const QString supplierTable = QStringLiteral("VL_SUPPLIER");
const QString tourTable = QStringLiteral("VL_TOURPROD");

const QList<AddedColumn>& parmsColumns()
{
    static const QList<AddedColumn> columns = {
        {QStringLiteral("ParmItinNotify"), QStringLiteral("BIT")},
        {QStringLiteral("ParmItinImagePath"), QStringLiteral("VarChar(256)")},
        {QStringLiteral("ParmItinServerBaseUrl"), QStringLiteral("VarChar(256)")},
        {QStringLiteral("ParmCatlCovImage1"), QStringLiteral("VarChar(60)")},
        {QStringLiteral("ParmCatlCovImage2"), QStringLiteral("VarChar(60)")},
        {QStringLiteral("ParmCatlCovImage3"), QStringLiteral("VarChar(60)")},
        {QStringLiteral("ParmShowSustProfile"), QStringLiteral("Bit")},
        {QStringLiteral("ParmCatlTitleTxt"), QStringLiteral("VarChar(100)")},
        {QStringLiteral("ParmSuppId"), QStringLiteral("Char(20)")},
        {QStringLiteral("ParmCatlAccommTxt"), QStringLiteral("VarChar(Max)")},
        {QStringLiteral("ParmCatlBodyTxt"), QStringLiteral("VarChar(Max)")},
    };
    return columns;
}

const QList<AddedColumn>& supplierColumns()
{
    static const QList<AddedColumn> columns = {
        {QStringLiteral("SuppPubAccomm"), QStringLiteral("BIT")},
        {QStringLiteral("SuppSustProfileDesc"), QStringLiteral("Varchar(max)")},
    };
    return columns;
}

const QList<AddedColumn>& tourColumns()
{
    static const QList<AddedColumn> columns = {
        {QStringLiteral("TourPublish"), QStringLiteral("BIT")},
        {QStringLiteral("TourIsEvent"), QStringLiteral("BIT")},
    };
    return columns;
}

// Neither takes VarChar(Max). PostgreSQL's BIT is a bit string that "= 0" cannot set, so it gets
// boolean, as the demo schema stores SQL Server's BIT there.
QString standInType(const QString& sqlServerType, Dialect dialect)
{
    if (sqlServerType.compare(QLatin1String("VarChar(Max)"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("text");
    if (dialect == Dialect::Postgres && sqlServerType.compare(QLatin1String("BIT"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("boolean");
    return sqlServerType;
}

// SQLite adds one column per statement.
QStringList sqliteAdd(const QString& table, const QList<AddedColumn>& columns)
{
    QStringList commands;
    for (const AddedColumn& column : columns)
        commands.append(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                            .arg(table, column.name, standInType(column.sqlServerType, Dialect::Sqlite)));
    return commands;
}

// PostgreSQL wants ADD before every column.
QStringList postgresAdd(const QString& table, const QList<AddedColumn>& columns)
{
    QStringList clauses;
    for (const AddedColumn& column : columns)
        clauses.append(QStringLiteral("ADD %1 %2")
                           .arg(column.name, standInType(column.sqlServerType, Dialect::Postgres)));
    return {QStringLiteral("ALTER TABLE %1 %2").arg(table, clauses.join(QStringLiteral(", ")))};
}

QStringList sqliteDrop(const QString& table, const QList<AddedColumn>& columns)
{
    QStringList commands;
    for (const AddedColumn& column : columns)
        commands.append(QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(table, column.name));
    return commands;
}

QStringList postgresDrop(const QString& table, const QList<AddedColumn>& columns)
{
    QStringList clauses;
    for (const AddedColumn& column : columns)
        clauses.append(QStringLiteral("DROP COLUMN %1").arg(column.name));
    return {QStringLiteral("ALTER TABLE %1 %2").arg(table, clauses.join(QStringLiteral(", ")))};
}

// SQL Server's = ignores trailing blanks and, under the product's collation, letter case; the
// stand-ins match the flag row the same way, so the probe and the undo see the same rows.
const QString sqliteFlagMatch = QStringLiteral("rtrim(UpdVerNo) = :PVerID COLLATE NOCASE");
const QString postgresFlagMatch = QStringLiteral("upper(rtrim(UpdVerNo)) = upper(:PVerID)");

QList<SchemaStep> buildUpgradeSteps()
{
    const QString tab = QStringLiteral("\t");
    return {
        {QStringLiteral("INSERT INTO VL_UPDATER (UpdVerNo, UpdDate ) VALUES (:PVerID, :PDateTime ) "),
         {},
         {}},
        {QStringLiteral(" ALTER TABLE VL_PARMS ADD  ParmItinNotify         BIT,   ParmItinImagePath      "
                        "VarChar(256),  ParmItinServerBaseUrl  VarChar(256),  ParmCatlCovImage1      "
                        "VarChar(60),  ParmCatlCovImage2      VarChar(60),  ParmCatlCovImage3      "
                        "VarChar(60),  ParmShowSustProfile    Bit,          ParmCatlTitleTxt       "
                        "VarChar(100), ParmSuppId             Char(20), ParmCatlAccommTxt      "
                        "VarChar(Max),  ParmCatlBodyTxt        VarChar(Max) "),
         sqliteAdd(parmsTable, parmsColumns()), postgresAdd(parmsTable, parmsColumns())},
        // SQLite does not enforce declared lengths: the column already takes any text.
        {QStringLiteral(" ALTER TABLE VL_QUOTE  ALTER COLUMN QuoteNotes VARCHAR(MAX) NULL"), QStringList(),
         QStringList{
             QStringLiteral("ALTER TABLE VL_QUOTE ALTER COLUMN QuoteNotes TYPE text, ALTER COLUMN QuoteNotes "
                            "DROP NOT NULL")}},
        {QStringLiteral(
             " ALTER TABLE VL_SUPPLIER ADD  SuppPubAccomm  BIT ,   SuppSustProfileDesc Varchar(max) "),
         sqliteAdd(supplierTable, supplierColumns()), postgresAdd(supplierTable, supplierColumns())},
        {QStringLiteral(" UPDATE VL_SUPPLIER  SET SuppPubAccomm = 0 "),
         {},
         QStringList{QStringLiteral("UPDATE VL_SUPPLIER SET SuppPubAccomm = false")}},
        {QStringLiteral(" ALTER TABLE VL_TOURPROD ADD  TourPublish    BIT ,   TourIsEvent    BIT   "),
         sqliteAdd(tourTable, tourColumns()), postgresAdd(tourTable, tourColumns())},
        {QStringLiteral(" UPDATE VL_TOURPROD   SET TourPublish = 0,      TourIsEvent = 0 "),
         {},
         QStringList{QStringLiteral("UPDATE VL_TOURPROD SET TourPublish = false, TourIsEvent = false")}},
        {QStringLiteral(" CREATE TABLE VL_SUSTAINABLEMAST  (SustGuidKey  char(40) NOT NULL PRIMARY KEY,  "
                        "SustPractice  VarChar(60),  SustDateTime") +
             tab + QStringLiteral("DateTime ) "),
         {},
         QStringList{
             QStringLiteral("CREATE TABLE VL_SUSTAINABLEMAST (SustGuidKey char(40) NOT NULL PRIMARY KEY, "
                            "SustPractice VarChar(60), SustDateTime timestamp)")}},
        {QStringLiteral(
             " CREATE TABLE VL_SUPPSUSTPRACTICE   (SUPPSUSTGUIDKEY  Char(40)  NOT NULL PRIMARY KEY,  "
             "SuppIdSustFK      Char(20),  SuppSustPractice  VarChar (60) ,  SuppSustComments  "
             "VarChar (250) ,  SustDateTime") +
             tab + QStringLiteral("DateTime ) "),
         {},
         QStringList{
             QStringLiteral("CREATE TABLE VL_SUPPSUSTPRACTICE (SUPPSUSTGUIDKEY Char(40) NOT NULL PRIMARY "
                            "KEY, SuppIdSustFK Char(20), SuppSustPractice VarChar(60), SuppSustComments "
                            "VarChar(250), SustDateTime timestamp)")}},
    };
}

QList<SchemaStep> buildUndoSteps()
{
    return {
        {QStringLiteral("DELETE VL_UPDATER WHERE UpdVerNo = :PVerID  "),
         QStringList{QStringLiteral("DELETE FROM VL_UPDATER WHERE ") + sqliteFlagMatch},
         QStringList{QStringLiteral("DELETE FROM VL_UPDATER WHERE ") + postgresFlagMatch}},
        {QStringLiteral(" ALTER TABLE VL_SUPPLIER DROP COLUMN   SuppPubAccomm, SuppSustProfileDesc "),
         sqliteDrop(supplierTable, supplierColumns()), postgresDrop(supplierTable, supplierColumns())},
        {QStringLiteral(" ALTER TABLE VL_TOURPROD DROP COLUMN  TourPublish, TourIsEvent  "),
         sqliteDrop(tourTable, tourColumns()), postgresDrop(tourTable, tourColumns())},
        {QStringLiteral(
             " ALTER TABLE VL_PARMS DROP COLUMN  ParmItinNotify         ,  ParmItinImagePath      ,  "
             "ParmItinServerBaseUrl  ,  ParmCatlCovImage1      ,  ParmCatlCovImage2      ,  "
             "ParmCatlCovImage3      ,  ParmShowSustProfile    ,  ParmCatlTitleTxt       ,  "
             "ParmSuppId             ,  ParmCatlAccommTxt      ,  ParmCatlBodyTxt        "),
         sqliteDrop(parmsTable, parmsColumns()), postgresDrop(parmsTable, parmsColumns())},
        {QStringLiteral("DROP TABLE VL_SUSTAINABLEMAST"), {}, {}},
        {QStringLiteral(" DROP TABLE VL_SUPPSUSTPRACTICE "), {}, {}},
    };
}

} // namespace

QStringList SchemaStep::commandsFor(Dialect dialect) const
{
    if (dialect == Dialect::Sqlite && sqlite)
        return *sqlite;
    if (dialect == Dialect::Postgres && postgres)
        return *postgres;
    return {sqlServer};
}

platform::Statement flagQuery()
{
    return platform::Statement(QStringLiteral("SELECT UpdVerNo FROM VL_UPDATER  WHERE UpdVerNo = :PVerID"))
        .onSqlite(QStringLiteral("SELECT UpdVerNo FROM VL_UPDATER WHERE ") + sqliteFlagMatch)
        .onPostgres(QStringLiteral("SELECT UpdVerNo FROM VL_UPDATER WHERE ") + postgresFlagMatch);
}

const QList<SchemaStep>& upgradeSteps()
{
    static const QList<SchemaStep> steps = buildUpgradeSteps();
    return steps;
}

const QList<SchemaStep>& undoSteps()
{
    static const QList<SchemaStep> steps = buildUndoSteps();
    return steps;
}

} // namespace updater
