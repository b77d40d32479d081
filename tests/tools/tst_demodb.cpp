#include "DemoContent.h"
#include "DemoFolder.h"
#include "Schema.h"
#include "TestDatabases.h"

#include "platform/Connection.h"
#include "platform/DatabaseError.h"
#include "platform/DataLink.h"
#include "platform/IniFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

using testlib::Backend;
using testlib::Content;
using testlib::FreshDatabase;

namespace {

// One value from a statement with positional parameters; fails the test on a database error.
QVariant scalar(QSqlDatabase& db, const QString& statement, const QVariantList& values = {})
{
    QSqlQuery query(db);
    if (!query.prepare(statement)) {
        QTest::qFail(qPrintable(query.lastError().text()), __FILE__, __LINE__);
        return {};
    }
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec() || !query.next()) {
        QTest::qFail(qPrintable(statement + QStringLiteral(": ") + query.lastError().text()), __FILE__,
                     __LINE__);
        return {};
    }
    return query.value(0);
}

int count(QSqlDatabase& db, const QString& statement, const QVariantList& values = {})
{
    return scalar(db, statement, values).toInt();
}

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
}

QStringList filesUnder(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    files.sort();
    return files;
}

QStringList taskKeys(QSqlDatabase& db)
{
    QStringList keys;
    QSqlQuery query(QStringLiteral("SELECT KBGuidKey FROM VL_KANBAN ORDER BY KBGuidKey"), db);
    while (query.next())
        keys.append(query.value(0).toString());
    return keys;
}

} // namespace

class TestDemoDb : public QObject
{
    Q_OBJECT

private slots:
    void tablesHoldTheColumnsTheProgramsUse_data();
    void tablesHoldTheColumnsTheProgramsUse();
    void demoRowsCoverTheBoard_data();
    void demoRowsCoverTheBoard();
    void textComparesWithoutRegardToCase_data();
    void textComparesWithoutRegardToCase();
    void fixtureOpensThroughTheProgramsConnection_data();
    void fixtureOpensThroughTheProgramsConnection();
    void sqlServerScriptUsesTransactSqlTypes();
    void layoutGivesARunnableFolder();
    void layoutNeverOverwritesExistingFiles();
    void toolPrintsEachCreatedFile();
};

void TestDemoDb::tablesHoldTheColumnsTheProgramsUse_data()
{
    testlib::addBackendRows();
}

void TestDemoDb::tablesHoldTheColumnsTheProgramsUse()
{
    QFETCH(Backend, backend);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    FreshDatabase database(backend, Content::Tables);
    QVERIFY(database.isValid());
    QSqlDatabase& db = database.direct();

    const QList<QPair<QString, QStringList>> expected{
        {QStringLiteral("VL_KANBAN"),
         QStringLiteral(
             "KBGuidKey KBCoId KBColumnNo KBTitle KBText KBTextBGColor KBPriority KBBitmap KBBitmapName "
             "KBAgentID KBConsultName KBAdhocName KBPersonType KBItemExpanded KBItemExpandable "
             "KBMarkerColor KBMarkerSize KBTitleColor KBMarkerTop KBTitleBackup KBSortKey")
             .split(QLatin1Char(' '))},
        {QStringLiteral("VL_AGENTS"),
         QStringLiteral(
             "AgId AgName AgCommPerc AgAdd1 AgTown AgCounty AgCountry AgEmail AgCoId AGTypeInd AgPhoto")
             .split(QLatin1Char(' '))},
        {QStringLiteral("VL_LETTERS"),
         QStringLiteral("LetterGUID LetterDesc LetterSalu LetterSubj LetterText LetterDateTime")
             .split(QLatin1Char(' '))},
        {QStringLiteral("VL_UPDATER"), {QStringLiteral("UpdVerNo"), QStringLiteral("UpdDate")}},
        {QStringLiteral("VL_PARMS"), {}},
        {QStringLiteral("VL_QUOTE"), {QStringLiteral("QuoteNotes")}},
        {QStringLiteral("VL_SUPPLIER"), {QStringLiteral("SuppId")}},
        {QStringLiteral("VL_TOURPROD"), {}},
    };
    for (const auto& [table, columns] : expected) {
        const QSqlRecord record = testlib::tableColumns(db, table);
        QVERIFY2(!record.isEmpty(), qPrintable(table));
        for (const QString& column : columns)
            QVERIFY2(record.indexOf(column) >= 0, qPrintable(table + QLatin1Char('.') + column));
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)), 0);
    }
    // The updater's own tables and columns are its to add.
    QVERIFY(testlib::tableColumns(db, QStringLiteral("VL_SUSTAINABLEMAST")).isEmpty());
    QVERIFY(testlib::tableColumns(db, QStringLiteral("VL_SUPPSUSTPRACTICE")).isEmpty());
    QCOMPARE(testlib::tableColumns(db, QStringLiteral("VL_PARMS")).indexOf(QStringLiteral("ParmItinNotify")),
             -1);
    QCOMPARE(
        testlib::tableColumns(db, QStringLiteral("VL_SUPPLIER")).indexOf(QStringLiteral("SuppPubAccomm")),
        -1);
    QCOMPARE(testlib::tableColumns(db, QStringLiteral("VL_TOURPROD")).indexOf(QStringLiteral("TourPublish")),
             -1);

    // KBGuidKey is the key: a second row with the same key is refused.
    const QString insert =
        QStringLiteral("INSERT INTO VL_KANBAN (KBGuidKey, KBCoId, KBColumnNo) VALUES (?, ?, 0)");
    QSqlQuery query(db);
    QVERIFY(query.prepare(insert));
    query.addBindValue(QStringLiteral("{00000000-0000-4000-8000-000000000001}"));
    query.addBindValue(QStringLiteral("VEL01"));
    QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
    QVERIFY(query.prepare(insert));
    query.addBindValue(QStringLiteral("{00000000-0000-4000-8000-000000000001}"));
    query.addBindValue(QStringLiteral("VEL01"));
    QVERIFY(!query.exec());
}

void TestDemoDb::demoRowsCoverTheBoard_data()
{
    testlib::addBackendRows();
}

void TestDemoDb::demoRowsCoverTheBoard()
{
    QFETCH(Backend, backend);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    FreshDatabase database(backend);
    QVERIFY(database.isValid());
    QSqlDatabase& db = database.direct();
    const QString company = QLatin1String(demodb::kDemoCompany);
    const QString other = QLatin1String(demodb::kOtherCompany);

    QVERIFY(count(db, QStringLiteral("SELECT COUNT(*) FROM VL_KANBAN WHERE KBCoId = ?"), {company}) >= 30);
    QCOMPARE(count(db,
                   QStringLiteral("SELECT COUNT(DISTINCT KBColumnNo) FROM VL_KANBAN WHERE KBCoId = ? "
                                  "AND KBColumnNo BETWEEN 0 AND 3"),
                   {company}),
             4);

    // Every priority, each with its own marker colour and sort key.
    QSqlQuery priorities(db);
    QVERIFY(
        priorities.exec(QStringLiteral("SELECT DISTINCT KBPriority, KBMarkerColor, KBSortKey FROM VL_KANBAN "
                                       "ORDER BY KBSortKey")));
    QStringList found;
    while (priorities.next())
        found.append(QStringLiteral("%1 %2 %3")
                         .arg(priorities.value(0).toString(), priorities.value(1).toString(),
                              priorities.value(2).toString()));
    QCOMPARE(found, QStringList({QStringLiteral("Low 4095231 1"), QStringLiteral("Med 65280 2"),
                                 QStringLiteral("High 255 3")}));

    // Consultant tasks name an "IN" agent of their own company; ad-hoc tasks only a person.
    const int consultantTasks =
        count(db, QStringLiteral("SELECT COUNT(*) FROM VL_KANBAN WHERE KBPersonType = 'Cons'"));
    const int adhocTasks =
        count(db, QStringLiteral("SELECT COUNT(*) FROM VL_KANBAN WHERE KBPersonType = 'Adhoc' "
                                 "AND KBAdhocName <> '' AND KBConsultName = '' AND KBBitmap = ''"));
    QVERIFY(consultantTasks > 0);
    QVERIFY(adhocTasks > 0);
    QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM VL_KANBAN")), consultantTasks + adhocTasks);
    QCOMPARE(
        count(db, QStringLiteral("SELECT COUNT(*) FROM VL_KANBAN JOIN VL_AGENTS ON AgId = KBAgentID "
                                 "AND AgCoId = KBCoId AND AgName = KBConsultName WHERE AGTypeInd = 'IN'")),
        consultantTasks);
    // A consultant's picture goes with the task only when it is a bitmap.
    QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM VL_KANBAN JOIN VL_AGENTS ON AgId = KBAgentID "
                                      "WHERE KBBitmap <> AgPhoto AND KBBitmap <> ''")),
             0);
    QVERIFY(count(db, QStringLiteral(
                          "SELECT COUNT(*) FROM VL_KANBAN WHERE KBPersonType = 'Cons' AND KBBitmap = ''")) >
            0);

    QSqlQuery tasks(
        QStringLiteral("SELECT KBGuidKey, KBTitle, KBTitleBackup, KBConsultName, KBAdhocName, "
                       "KBItemExpanded, KBItemExpandable, KBMarkerSize, KBMarkerTop FROM VL_KANBAN"),
        db);
    const QRegularExpression registryGuid(
        QStringLiteral("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$"));
    int cutTitles = 0;
    while (tasks.next()) {
        const QString key = tasks.value(0).toString();
        QVERIFY2(registryGuid.match(key).hasMatch(), qPrintable(key));
        const QString person = tasks.value(3).toString() + tasks.value(4).toString();
        const QString fullTitle = tasks.value(2).toString() + QStringLiteral(": ") + person;
        QCOMPARE(tasks.value(1).toString(), fullTitle.left(89));
        cutTitles += fullTitle.size() > 89 ? 1 : 0;
        QVERIFY(tasks.value(5).toBool());
        QVERIFY(tasks.value(6).toBool());
        QCOMPARE(tasks.value(7).toInt(), 3);
        QCOMPARE(tasks.value(8).toInt(), 1);
    }
    QVERIFY(cutTitles > 0);

    // Consultants with and without a bitmap picture, other agent types, and a second company.
    QVERIFY(count(db, QStringLiteral("SELECT COUNT(*) FROM VL_AGENTS WHERE AgCoId = ? AND AGTypeInd = 'IN'"),
                  {company}) >= 8);
    QVERIFY(count(db, QStringLiteral("SELECT COUNT(*) FROM VL_AGENTS WHERE AgCoId = ? AND AGTypeInd <> 'IN'"),
                  {company}) > 0);
    QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM VL_AGENTS WHERE AGTypeInd = 'IN' "
                                      "AND AgPhoto NOT LIKE '%.bmp'")),
             2);
    QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM VL_AGENTS WHERE AgEmail = '' OR AgEmail IS NULL "
                                      "OR AgPhoto = '' OR AgPhoto IS NULL")),
             0);
    QVERIFY(count(db, QStringLiteral("SELECT COUNT(*) FROM VL_KANBAN WHERE KBCoId = ?"), {other}) > 0);
    QVERIFY(count(db, QStringLiteral("SELECT COUNT(*) FROM VL_AGENTS WHERE AgCoId = ? AND AGTypeInd = 'IN'"),
                  {other}) > 0);

    QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM VL_LETTERS")), 5);
    QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM VL_UPDATER")), 0);
    for (const char* table : {"VL_PARMS", "VL_QUOTE", "VL_SUPPLIER", "VL_TOURPROD"})
        QVERIFY2(count(db, QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table))) > 0, table);

    // Keys come from a fixed seed: every demo database holds the same tasks.
    FreshDatabase reference(Backend::Sqlite);
    QCOMPARE(taskKeys(db), taskKeys(reference.direct()));
}

void TestDemoDb::textComparesWithoutRegardToCase_data()
{
    testlib::addBackendColumn();
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("otherCase");

    for (const Backend backend : {Backend::Sqlite, Backend::Postgres}) {
        const QByteArray prefix = testlib::backendName(backend).toLatin1() + '/';
        testlib::newBackendRow(prefix + "priority =", backend)
            << QStringLiteral("SELECT COUNT(*) FROM VL_KANBAN WHERE KBPriority = ?") << QStringLiteral("High")
            << QStringLiteral("hIGH");
        testlib::newBackendRow(prefix + "priority prefix LIKE", backend)
            << QStringLiteral("SELECT COUNT(*) FROM VL_KANBAN WHERE KBPriority LIKE ?")
            << QStringLiteral("L%") << QStringLiteral("l%");
        testlib::newBackendRow(prefix + "ad-hoc name LIKE", backend)
            << QStringLiteral("SELECT COUNT(*) FROM VL_KANBAN WHERE KBAdhocName LIKE ?")
            << QStringLiteral("Jo%") << QStringLiteral("jO%");
        testlib::newBackendRow(prefix + "agent type =", backend)
            << QStringLiteral("SELECT COUNT(*) FROM VL_AGENTS WHERE AGTypeInd = ?") << QStringLiteral("IN")
            << QStringLiteral("in");
        testlib::newBackendRow(prefix + "letter description =", backend)
            << QStringLiteral("SELECT COUNT(*) FROM VL_LETTERS WHERE LetterDesc = ?")
            << QStringLiteral("Task reminder") << QStringLiteral("TASK REMINDER");
    }
}

void TestDemoDb::textComparesWithoutRegardToCase()
{
    QFETCH(Backend, backend);
    QFETCH(QString, statement);
    QFETCH(QString, stored);
    QFETCH(QString, otherCase);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    FreshDatabase database(backend);
    QVERIFY(database.isValid());

    const int matches = count(database.direct(), statement, {stored});
    QVERIFY(matches > 0);
    QCOMPARE(count(database.direct(), statement, {otherCase}), matches);
    // Written into the statement rather than bound, the literal compares the same way.
    QString literal = statement;
    literal.replace(QLatin1Char('?'), QLatin1Char('\'') + otherCase + QLatin1Char('\''));
    QCOMPARE(count(database.direct(), literal), matches);
}

void TestDemoDb::fixtureOpensThroughTheProgramsConnection_data()
{
    testlib::addBackendRows();
}

void TestDemoDb::fixtureOpensThroughTheProgramsConnection()
{
    QFETCH(Backend, backend);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    FreshDatabase database(backend);
    QVERIFY(database.isValid());
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString dataLink = database.writeDataLinkFile(folder.path());
    QVERIFY(!dataLink.isEmpty());

    const int tasks = count(database.direct(), QStringLiteral("SELECT COUNT(*) FROM VL_KANBAN"));
    for (const QString& connectionString :
         {database.connectionString(), QStringLiteral("File Name=") + dataLink}) {
        platform::Connection connection;
        connection.setConnectionString(connectionString);
        try {
            connection.open();
        } catch (const platform::DatabaseError& error) {
            QFAIL(qPrintable(connectionString + QStringLiteral(": ") + error.text()));
        }
        QCOMPARE(connection.dialect(),
                 backend == Backend::Sqlite ? platform::Dialect::Sqlite : platform::Dialect::Postgres);
        QSqlDatabase db = connection.database();
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM VL_KANBAN")), tasks);
    }
}

void TestDemoDb::sqlServerScriptUsesTransactSqlTypes()
{
    const QString script = demodb::sqlServerScript();
    const QStringList batches = script.split(
        QRegularExpression(QStringLiteral("^GO$"), QRegularExpression::MultilineOption), Qt::SkipEmptyParts);
    QStringList created;
    for (const QString& batch : batches) {
        if (batch.trimmed().isEmpty())
            continue;
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("^CREATE TABLE (\\w+) \\(")).match(batch.trimmed());
        QVERIFY2(match.hasMatch(), qPrintable(batch));
        created.append(match.captured(1));
    }
    QCOMPARE(created, QStringList({QStringLiteral("VL_KANBAN"), QStringLiteral("VL_AGENTS"),
                                   QStringLiteral("VL_LETTERS"), QStringLiteral("VL_UPDATER"),
                                   QStringLiteral("VL_PARMS"), QStringLiteral("VL_QUOTE"),
                                   QStringLiteral("VL_SUPPLIER"), QStringLiteral("VL_TOURPROD")}));
    QVERIFY(script.contains(QStringLiteral("KBGuidKey varchar(38) NOT NULL PRIMARY KEY")));
    QVERIFY(script.contains(QStringLiteral("KBItemExpanded bit")));
    QVERIFY(script.contains(QStringLiteral("QuoteNotes varchar(255) NULL")));
    QVERIFY(script.contains(QStringLiteral("SuppId char(20) NOT NULL PRIMARY KEY")));
    for (const char* foreign : {"citext", "NOCASE", "boolean", "timestamp", "integer"})
        QVERIFY2(!script.contains(QLatin1String(foreign), Qt::CaseInsensitive), foreign);
}

void TestDemoDb::layoutGivesARunnableFolder()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString original = root.filePath(QStringLiteral("demo"));
    QStringList created;
    QString error;
    QVERIFY2(demodb::layOutDemoFolder(original, &created, &error), qPrintable(error));
    created.sort();
    QCOMPARE(created, filesUnder(original));

    // The data link names the database relative to its own folder, so the folder can move.
    const QString moved = root.filePath(QStringLiteral("moved"));
    QVERIFY(QDir().rename(original, moved));
    const auto target =
        platform::readDataLinkFile(QDir(moved).filePath(QStringLiteral("ZRVelora.udl")), &error);
    QVERIFY2(target, qPrintable(error));
    QCOMPARE(target->qtDriver, QStringLiteral("QSQLITE"));
    QCOMPARE(target->databaseName, QDir(moved).filePath(QStringLiteral("VeloraDemo.db")));

    // Read the way the board program reads them.
    const platform::IniFile company(QDir(moved).filePath(QStringLiteral("IniVelora.ini")));
    QCOMPARE(company.readString(QStringLiteral("SELCOMPANY"), QStringLiteral("Company"), QString()),
             QLatin1String(demodb::kDemoCompany));
    const platform::IniFile gallery(QDir(moved).filePath(QStringLiteral("ZRVeloraGallery.ini")));
    QCOMPARE(
        gallery.readString(QStringLiteral("ZRVELORA GALLERY"), QStringLiteral("ZRVLGALLERYHOME"), QString()),
        QDir(original).filePath(QStringLiteral("gallery")) + QLatin1Char('/'));

    // Every consultant of the demo database whose photo is a bitmap has it in the gallery.
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("layout-check"));
    db.setDatabaseName(target->databaseName);
    QVERIFY(db.open());
    QSqlQuery consultants(
        QStringLiteral("SELECT AgPhoto FROM VL_AGENTS WHERE AGTypeInd = 'IN' AND AgPhoto LIKE '%.bmp'"), db);
    int pictures = 0;
    while (consultants.next()) {
        const QString path =
            QDir(moved).filePath(QStringLiteral("gallery/") + consultants.value(0).toString());
        QImageReader reader(path);
        QCOMPARE(reader.format(), QByteArray("bmp"));
        QCOMPARE(reader.size(), QSize(64, 64));
        ++pictures;
    }
    QVERIFY(pictures >= 6);
    consultants = QSqlQuery();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("layout-check"));

    QImageReader fallback(QDir(moved).filePath(QStringLiteral("people2.bmp")));
    QCOMPARE(fallback.format(), QByteArray("bmp"));
}

void TestDemoDb::layoutNeverOverwritesExistingFiles()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QDir dir(folder.path());
    QVERIFY(dir.mkpath(QStringLiteral("gallery")));
    const QList<QPair<QString, QByteArray>> ownFiles{
        {QStringLiteral("IniVelora.ini"), QByteArrayLiteral("[SELCOMPANY]\nCompany=MINE\n")},
        {QStringLiteral("VeloraDemo.db"), QByteArrayLiteral("not a database")},
        {QStringLiteral("gallery/abrennan.bmp"), QByteArrayLiteral("my own picture")},
    };
    for (const auto& [name, content] : ownFiles) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QStringList created;
    QString error;
    QVERIFY2(demodb::layOutDemoFolder(folder.path(), &created, &error), qPrintable(error));
    for (const auto& [name, content] : ownFiles) {
        QVERIFY2(!created.contains(dir.filePath(name)), qPrintable(name));
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }
    QVERIFY(created.contains(dir.filePath(QStringLiteral("ZRVelora.udl"))));

    // A second run finds everything in place and changes nothing.
    QList<QByteArray> before;
    const QStringList files = filesUnder(folder.path());
    for (const QString& file : files)
        before.append(fileHash(file));
    created.clear();
    QVERIFY2(demodb::layOutDemoFolder(folder.path(), &created, &error), qPrintable(error));
    QCOMPARE(created, QStringList());
    QCOMPARE(filesUnder(folder.path()), files);
    for (int i = 0; i < files.size(); ++i)
        QVERIFY2(fileHash(files.at(i)) == before.at(i), qPrintable(files.at(i)));
}

void TestDemoDb::toolPrintsEachCreatedFile()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QProcess tool;
    tool.start(QStringLiteral(VELORA_DEMODB_TOOL), {QStringLiteral("--layout"), folder.path()});
    QVERIFY(tool.waitForFinished(60000));
    QCOMPARE(tool.exitCode(), 0);
    QStringList printed =
        QString::fromUtf8(tool.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    printed.sort();
    QCOMPARE(printed, filesUnder(folder.path()));
}

QTEST_MAIN(TestDemoDb)
#include "tst_demodb.moc"
