// velora-demodb: lays out a demo folder for the programs, or creates the Velora tables (optionally with demo
// rows) in a SQLite or PostgreSQL database, or writes the SQL Server script of those tables.

#include "DemoDatabase.h"
#include "DemoFolder.h"
#include "Pictures.h"
#include "Schema.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QTextStream>

namespace {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

int fail(const QString& message)
{
    QTextStream(stderr) << "velora-demodb: " << message << Qt::endl;
    return 1;
}

void reportCreated(const QStringList& paths)
{
    for (const QString& path : paths)
        out() << QDir::toNativeSeparators(path) << Qt::endl;
}

int buildInto(QSqlDatabase& db, demodb::Content content)
{
    if (!db.open())
        return fail(db.lastError().text());
    QString error;
    const bool built = demodb::buildDatabase(db, content, &error);
    db.close();
    return built ? 0 : fail(error);
}

int createSqlite(const QString& path, demodb::Content content, const QString& gallery)
{
    if (QFileInfo::exists(path))
        return fail(QStringLiteral("%1 already exists").arg(QDir::toNativeSeparators(path)));
    int result = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("target"));
        db.setDatabaseName(path);
        result = buildInto(db, content);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("target"));
    if (result != 0) {
        QFile::remove(path);
        return result;
    }
    QStringList created{QFileInfo(path).absoluteFilePath()};
    QString error;
    const bool pictures = gallery.isEmpty() || demodb::writeConsultantPictures(gallery, &created, &error);
    reportCreated(created);
    return pictures ? 0 : fail(error);
}

// Takes a libpq-style "host=.. port=.. dbname=.. user=.. password=.." string.
int createPostgres(const QString& connectionInfo, demodb::Content content)
{
    int result = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("target"));
        for (const QString& pair : connectionInfo.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString name = pair.section(QLatin1Char('='), 0, 0).trimmed().toLower();
            const QString value = pair.section(QLatin1Char('='), 1).trimmed();
            if (name == QLatin1String("host"))
                db.setHostName(value);
            else if (name == QLatin1String("port"))
                db.setPort(value.toInt());
            else if (name == QLatin1String("dbname"))
                db.setDatabaseName(value);
            else if (name == QLatin1String("user"))
                db.setUserName(value);
            else if (name == QLatin1String("password"))
                db.setPassword(value);
            else
                return fail(QStringLiteral("unknown connection setting '%1'").arg(name));
        }
        result = buildInto(db, content);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("target"));
    return result;
}

int writeSqlServerScript(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return fail(
            QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    file.write(demodb::sqlServerScript().toUtf8());
    if (!file.flush())
        return fail(
            QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    reportCreated({QFileInfo(path).absoluteFilePath()});
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    // Pictures are drawn off screen; a command-line tool must not need a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velora-demodb"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Creates Velora demo and test databases."));
    parser.addHelpOption();
    const QCommandLineOption layout(QStringLiteral("layout"),
                                    QStringLiteral("Lay out a demo folder; existing files are kept."),
                                    QStringLiteral("DIR"));
    const QCommandLineOption sqlite(QStringLiteral("sqlite"), QStringLiteral("Create a new SQLite database."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption postgres(QStringLiteral("postgres"),
                                      QStringLiteral("Create the tables in an existing PostgreSQL database."),
                                      QStringLiteral("\"host=.. port=.. dbname=.. user=..\""));
    const QCommandLineOption script(QStringLiteral("sqlserver-script"),
                                    QStringLiteral("Write the SQL Server script of the tables."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption demo(QStringLiteral("demo"), QStringLiteral("Fill the tables with demo rows."));
    const QCommandLineOption gallery(QStringLiteral("gallery"),
                                     QStringLiteral("With --sqlite: write the consultants' pictures there."),
                                     QStringLiteral("DIR"));
    parser.addOptions({layout, sqlite, postgres, script, demo, gallery});
    parser.process(app);

    const int actions = int(parser.isSet(layout)) + int(parser.isSet(sqlite)) + int(parser.isSet(postgres)) +
                        int(parser.isSet(script));
    if (actions != 1)
        return fail(QStringLiteral("give exactly one of --layout, --sqlite, --postgres, --sqlserver-script"));
    const demodb::Content content = parser.isSet(demo) ? demodb::Content::Demo : demodb::Content::Tables;

    if (parser.isSet(layout)) {
        QStringList created;
        QString error;
        const bool laidOut = demodb::layOutDemoFolder(parser.value(layout), &created, &error);
        reportCreated(created);
        return laidOut ? 0 : fail(error);
    }
    if (parser.isSet(sqlite))
        return createSqlite(parser.value(sqlite), content, parser.value(gallery));
    if (parser.isSet(postgres))
        return createPostgres(parser.value(postgres), content);
    return writeSqlServerScript(parser.value(script));
}
