#include "platform/DataLink.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QTemporaryDir>
#include <QtTest>

using platform::ConnectionTarget;
using platform::Dialect;

Q_DECLARE_METATYPE(platform::Dialect)

using testlib::utf16WithByteOrderMark;
using testlib::writeBytes;

namespace {

// Every error case carries this password; no error text may show any part of it.
const QString secret = QStringLiteral("Sup3r$ecret");

void verifyErrorHidesPassword(const QString& error)
{
    QVERIFY2(!error.isEmpty(), "no error text");
    QVERIFY2(!error.contains(u"Sup3r") && !error.contains(u"ecret"), qPrintable(error));
    QVERIFY2(!error.contains(u'\n') && !error.contains(u'\r'), qPrintable(error));
}

// Points unixODBC, and our lookup of its driver list, at a folder of the test's own.
class OdbcDriverList
{
public:
    explicit OdbcDriverList(const QString& folder, const QStringList& drivers)
        : m_previous(qgetenv("ODBCSYSINI")), m_hadPrevious(qEnvironmentVariableIsSet("ODBCSYSINI"))
    {
        QDir().mkpath(folder);
        QByteArray text;
        for (const QString& driver : drivers)
            text += '[' + driver.toUtf8() + "]\nDescription=test\nDriver=libtdsodbc.so\n\n";
        writeBytes(QDir(folder).filePath(QStringLiteral("odbcinst.ini")), text);
        qputenv("ODBCSYSINI", QFile::encodeName(folder));
    }
    ~OdbcDriverList()
    {
        if (m_hadPrevious)
            qputenv("ODBCSYSINI", m_previous);
        else
            qunsetenv("ODBCSYSINI");
    }
    OdbcDriverList(const OdbcDriverList&) = delete;
    OdbcDriverList& operator=(const OdbcDriverList&) = delete;

private:
    QByteArray m_previous;
    bool m_hadPrevious;
};

} // namespace

class TestDataLink : public QObject
{
    Q_OBJECT

private slots:
    void parsesEachProviderForm_data();
    void parsesEachProviderForm();
    void refusesWithClearErrorWithoutPassword_data();
    void refusesWithClearErrorWithoutPassword();
    void usesMicrosoftDriverOnlyWhenRegistered_data();
    void usesMicrosoftDriverOnlyWhenRegistered();
    void readsDataLinkFiles_data();
    void readsDataLinkFiles();
    void reportsUnusableFiles_data();
    void reportsUnusableFiles();
    void writesDataLinkFileAsWindowsDoes();
    void refusesToWriteWhatCannotBeRead();
    void resolvesFileNameReferences_data();
    void resolvesFileNameReferences();
    void reportsBrokenFileNameReferences_data();
    void reportsBrokenFileNameReferences();
    void odbcStringsReachFreeTds_data();
    void odbcStringsReachFreeTds();

private:
    QTemporaryDir m_dir;
    // The data-link file lives in a folder whose name has a blank, like a program folder often does.
    QString programFolder() const { return m_dir.filePath(QStringLiteral("Velora Kanban")); }
};

void TestDataLink::parsesEachProviderForm_data()
{
    QTest::addColumn<QString>("initString");
    QTest::addColumn<QString>("qtDriver");
    QTest::addColumn<Dialect>("dialect");
    QTest::addColumn<QString>("databaseName");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("userName");
    QTest::addColumn<QString>("password");

    const QString odbc = QStringLiteral("QODBC");
    QTest::newRow("SQLOLEDB.1 as the Windows dialog writes it")
        << "Provider=SQLOLEDB.1;Password=Pa55;Persist Security Info=True;User ID=sa;Initial Catalog=Velora;"
           "Data Source=DBHOST"
        << odbc << Dialect::SqlServer
        << "DRIVER={FreeTDS};SERVER=DBHOST;PORT=1433;DATABASE=Velora;UID=sa;PWD=Pa55;TDS_Version=7.4"
        << "DBHOST" << 1433 << ""
        << "";
    QTest::newRow("SQLNCLI11 with a named instance")
        << "Provider=SQLNCLI11.1;Data Source=db01\\SQLEXPRESS;Initial Catalog=Velora;User "
           "ID=kanban;Password=pw"
        << odbc << Dialect::SqlServer
        << "DRIVER={FreeTDS};SERVER=db01\\SQLEXPRESS;DATABASE=Velora;UID=kanban;PWD=pw;TDS_Version=7.4"
        << "db01" << -1 << ""
        << "";
    QTest::newRow("MSOLEDBSQL with host,port and the Server/Database/UID/PWD names")
        << "Provider=MSOLEDBSQL;Server=10.0.0.5,14330;Database=Velora;UID=kanban;PWD=pw" << odbc
        << Dialect::SqlServer
        << "DRIVER={FreeTDS};SERVER=10.0.0.5;PORT=14330;DATABASE=Velora;UID=kanban;PWD=pw;TDS_Version=7.4"
        << "10.0.0.5" << 14330 << ""
        << "";
    QTest::newRow("MSOLEDBSQL19 without a catalog")
        << "Provider=MSOLEDBSQL19.1;Data Source=db;User ID=u;Password=p" << odbc << Dialect::SqlServer
        << "DRIVER={FreeTDS};SERVER=db;PORT=1433;UID=u;PWD=p;TDS_Version=7.4"
        << "db" << 1433 << ""
        << "";
    QTest::newRow("keys in any case, blanks around keys and values")
        << "  provider = sqlncli ;  DATA SOURCE =  db  ;\tuser id= u ;PASSWORD = p ; initial catalog=Velora  "
        << odbc << Dialect::SqlServer
        << "DRIVER={FreeTDS};SERVER=db;PORT=1433;DATABASE=Velora;UID=u;PWD=p;TDS_Version=7.4"
        << "db" << 1433 << ""
        << "";
    QTest::newRow("single quotes around ';' and a doubled quote")
        << "Provider=SQLOLEDB;Data Source=db;User ID=u;Password='a;b''c'" << odbc << Dialect::SqlServer
        << "DRIVER={FreeTDS};SERVER=db;PORT=1433;UID=u;PWD={a;b'c};TDS_Version=7.4"
        << "db" << 1433 << ""
        << "";
    QTest::newRow("double quotes around braces and a doubled quote")
        << "Provider=SQLOLEDB;Data Source=db;User ID=u;Password=\"x\"\"{y}\" ;Initial Catalog='Velora'"
        << odbc << Dialect::SqlServer
        << "DRIVER={FreeTDS};SERVER=db;PORT=1433;DATABASE=Velora;UID=u;PWD={x\"{y}}};TDS_Version=7.4"
        << "db" << 1433 << ""
        << "";
    QTest::newRow("quoted blanks are kept")
        << "Provider=SQLOLEDB;Data Source=db;User ID=u;Password=' p '" << odbc << Dialect::SqlServer
        << "DRIVER={FreeTDS};SERVER=db;PORT=1433;UID=u;PWD={ p };TDS_Version=7.4"
        << "db" << 1433 << ""
        << "";
    QTest::newRow("empty pieces are ignored, the last of a repeated key counts")
        << ";;Provider=SQLOLEDB;;Data Source=old;Data Source=db;;User ID=u;Password=p;;" << odbc
        << Dialect::SqlServer << "DRIVER={FreeTDS};SERVER=db;PORT=1433;UID=u;PWD=p;TDS_Version=7.4"
        << "db" << 1433 << ""
        << "";
    QTest::newRow("'.' is this machine")
        << "Provider=SQLOLEDB;Data Source=.;User ID=u;Password=p" << odbc << Dialect::SqlServer
        << "DRIVER={FreeTDS};SERVER=localhost;PORT=1433;UID=u;PWD=p;TDS_Version=7.4"
        << "localhost" << 1433 << ""
        << "";

    const QString sqlite = QStringLiteral("QSQLITE");
    QTest::newRow("ODBC SQLite, relative file")
        << "Provider=MSDASQL.1;Persist Security Info=False;"
           "Extended Properties=\"DRIVER={SQLite3 ODBC Driver};Database=demo.db\""
        << sqlite << Dialect::Sqlite << "/base/folder/demo.db"
        << "" << -1 << ""
        << "";
    QTest::newRow("ODBC SQLite, lower-case keys, file in a parent folder")
        << "provider=msdasql;extended properties='driver=SQLite3;database=../data/velora.db'" << sqlite
        << Dialect::Sqlite << "/base/data/velora.db"
        << "" << -1 << ""
        << "";
    QTest::newRow("ODBC SQLite, absolute file with a blank")
        << "Provider=MSDASQL;Extended Properties=\"Driver={SQLite3 ODBC Driver}; Database = /srv/velora "
           "data/demo.db \""
        << sqlite << Dialect::Sqlite << "/srv/velora data/demo.db"
        << "" << -1 << ""
        << "";

    const QString psql = QStringLiteral("QPSQL");
    QTest::newRow("ODBC PostgreSQL with its own credentials")
        << "Provider=MSDASQL;Extended Properties=\"Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=55432;"
           "Database=velora;Uid=postgres;Pwd={se;cret}\""
        << psql << Dialect::Postgres << "velora"
        << "127.0.0.1" << 55432 << "postgres"
        << "se;cret";
    QTest::newRow("ODBC PostgreSQL, credentials beside the ODBC string")
        << "Provider=MSDASQL;User ID=kanban;Password=pw;Extended "
           "Properties=\"Driver=psqlODBC;Servername=pg.local;"
           "Database=velora\""
        << psql << Dialect::Postgres << "velora"
        << "pg.local" << -1 << "kanban"
        << "pw";

    QTest::newRow("ODBC FreeTDS driver, credentials beside the ODBC string")
        << "Provider=MSDASQL;User ID=u;Password=p;Extended Properties=\"Driver={FreeTDS};Server = "
           "db;Port=1433;"
           "Database=Velora;TDS_Version=7.4\""
        << odbc << Dialect::SqlServer
        << "DRIVER={FreeTDS};Server=db;Port=1433;Database=Velora;TDS_Version=7.4;UID=u;PWD=p"
        << "" << -1 << ""
        << "";
    QTest::newRow("ODBC SQL Server driver with its own braced password")
        << "Provider=MSDASQL;Extended Properties='DRIVER={ODBC Driver 17 for SQL "
           "Server};SERVER=db;UID=x;PWD={a;b}}c}'"
        << odbc << Dialect::SqlServer << "DRIVER={ODBC Driver 17 for SQL Server};SERVER=db;UID=x;PWD={a;b}}c}"
        << "" << -1 << ""
        << "";
    // QODBC puts "DSN=" in front itself.
    QTest::newRow("ODBC data source named by Data Source")
        << "Provider=MSDASQL.1;Data Source=VeloraDsn;User ID=u;Password=p" << odbc << Dialect::SqlServer
        << "VeloraDsn;UID=u;PWD=p"
        << "" << -1 << ""
        << "";
    QTest::newRow("ODBC data source named in Extended Properties")
        << "Provider=MSDASQL.1;Extended Properties=\"DSN=VeloraDsn;UID=u;PWD=p;APP=Kanban\"" << odbc
        << Dialect::SqlServer << "VeloraDsn;APP=Kanban;UID=u;PWD=p"
        << "" << -1 << ""
        << "";
    QTest::newRow("ODBC data source with a server of its own")
        << "Provider=MSDASQL.1;Extended Properties=\"DSN=VeloraDsn;Server=127.0.0.1\";User ID=u;Password=p"
        << odbc << Dialect::SqlServer << "DSN=VeloraDsn;Server=127.0.0.1;UID=u;PWD=p"
        << "" << -1 << ""
        << "";
}

void TestDataLink::parsesEachProviderForm()
{
    QFETCH(QString, initString);
    QFETCH(QString, qtDriver);
    QFETCH(Dialect, dialect);
    QFETCH(QString, databaseName);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(QString, userName);
    QFETCH(QString, password);

    const OdbcDriverList drivers(m_dir.filePath(QStringLiteral("freetds-only")), {QStringLiteral("FreeTDS")});
    QString error;
    const auto target = platform::parseInitString(initString, QStringLiteral("/base/folder"), &error);
    QVERIFY2(target, qPrintable(error));
    QCOMPARE(target->qtDriver, qtDriver);
    QCOMPARE(target->dialect, dialect);
    QCOMPARE(target->databaseName, databaseName);
    QCOMPARE(target->host, host);
    QCOMPARE(target->port, port);
    QCOMPARE(target->userName, userName);
    QCOMPARE(target->password, password);
}

void TestDataLink::refusesWithClearErrorWithoutPassword_data()
{
    QTest::addColumn<QString>("initString");
    QTest::addColumn<QString>("expectedError");

    QTest::newRow("empty") << ""
                           << "The connection string is empty.";
    QTest::newRow("only blanks and separators") << " ; ;  "
                                                << "The connection string names no Provider.";
    QTest::newRow("no provider") << "Data Source=db;User ID=u;Password=Sup3r$ecret"
                                 << "The connection string names no Provider.";
    QTest::newRow("unknown provider")
        << "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=x.mdb;Password=Sup3r$ecret"
        << "The provider \"Microsoft.Jet.OLEDB.4.0\" is not supported: use a SQL Server provider (SQLOLEDB, "
           "SQLNCLI11, MSOLEDBSQL) or the ODBC provider (MSDASQL).";
    QTest::newRow("no data source") << "Provider=SQLOLEDB.1;User ID=u;Password=Sup3r$ecret"
                                    << "The connection string gives no Data Source (the server).";
    QTest::newRow("Integrated Security=SSPI")
        << "Provider=SQLOLEDB.1;Integrated Security=SSPI;Data Source=db;Password=Sup3r$ecret"
        << "Windows log-on (Integrated Security) is not available here: the data-link file must give a User "
           "ID "
           "and a Password.";
    QTest::newRow("Trusted_Connection=yes even with a user")
        << "Provider=MSOLEDBSQL;Trusted_Connection=yes;Server=db;User ID=u;Password=Sup3r$ecret"
        << "Windows log-on (Integrated Security) is not available here: the data-link file must give a User "
           "ID "
           "and a Password.";
    QTest::newRow("no user")
        << "Provider=SQLOLEDB;Data Source=db;Password=Sup3r$ecret"
        << "The connection string gives no User ID: Windows log-on is not available here, "
           "so the data-link file must give a User ID and a Password.";
    QTest::newRow("unterminated single quote")
        << "Provider=SQLOLEDB;Data Source=db;User ID=u;Password='Sup3r$ecret"
        << "The connection string has a quoted value without its closing quote (character 53).";
    QTest::newRow("unterminated double quote, doubled quote inside")
        << "Provider=SQLOLEDB;Password=\"Sup3r\"\"$ecret;Data Source=db"
        << "The connection string has a quoted value without its closing quote (character 28).";
    QTest::newRow("text after a quoted value") << "Provider=SQLOLEDB;Password=\"Sup3r\"$ecret;Data Source=db"
                                               << "The connection string has text after a quoted value "
                                                  "(character 35).";
    QTest::newRow("unquoted ';' in a password leaves a piece without '='")
        << "Provider=SQLOLEDB;Data Source=db;User ID=u;Password=Sup3r;$ecret"
        << "The connection string has a part without '=' (character 59).";
    QTest::newRow("value without a key") << "Provider=SQLOLEDB; =Sup3r$ecret"
                                         << "The connection string has a value without a key (character 20).";
    QTest::newRow("port that is not a number")
        << "Provider=SQLOLEDB;Data Source=db,14x;User ID=u;Password=Sup3r$ecret"
        << "The Data Source gives an invalid port number.";
    QTest::newRow("instance without a host")
        << "Provider=SQLOLEDB;Data Source=\\SQLEXPRESS;User ID=u;Password=Sup3r$ecret"
        << "The Data Source names no server.";
    QTest::newRow("unsupported ODBC driver")
        << "Provider=MSDASQL;Extended Properties=\"Driver={MySQL ODBC 8.0};Server=db;Pwd=Sup3r$ecret\""
        << "The ODBC driver \"MySQL ODBC 8.0\" is not supported: use a SQL Server, SQLite or PostgreSQL "
           "driver.";
    QTest::newRow("ODBC with neither driver nor data source")
        << "Provider=MSDASQL;User ID=u;Password=Sup3r$ecret"
        << "The ODBC connection names neither a Driver nor a data source (Data Source or DSN).";
    QTest::newRow("ODBC SQLite without a file")
        << "Provider=MSDASQL;Extended Properties=\"Driver=SQLite3;Pwd=Sup3r$ecret\""
        << "The SQLite ODBC connection names no Database file.";
    QTest::newRow("ODBC PostgreSQL with a bad port")
        << "Provider=MSDASQL;Extended Properties=\"Driver=PostgreSQL;Server=pg;Port=pg;Pwd=Sup3r$ecret\""
        << "The PostgreSQL ODBC connection gives an invalid Port.";
    QTest::newRow("ODBC braced value without its closing brace")
        << "Provider=MSDASQL;Extended Properties=\"Driver={FreeTDS;Pwd=Sup3r$ecret\""
        << "Extended Properties: The ODBC connection string has a braced value without its closing brace "
           "(character 8).";
    QTest::newRow("ODBC SQL Server with Trusted_Connection")
        << "Provider=MSDASQL;Extended Properties=\"Driver={ODBC Driver 17 for SQL Server};Server=db;"
           "Trusted_Connection=Yes\";Password=Sup3r$ecret"
        << "Windows log-on (Integrated Security) is not available here: the data-link file must give a User "
           "ID "
           "and a Password.";
}

void TestDataLink::refusesWithClearErrorWithoutPassword()
{
    QFETCH(QString, initString);
    QFETCH(QString, expectedError);

    QString error;
    QVERIFY(!platform::parseInitString(initString, QStringLiteral("/base"), &error));
    QCOMPARE(error, expectedError);
    verifyErrorHidesPassword(error);
}

void TestDataLink::usesMicrosoftDriverOnlyWhenRegistered_data()
{
    QTest::addColumn<QString>("initString");
    QTest::addColumn<QString>("databaseName");

    QTest::newRow("host; older providers did not encrypt")
        << "Provider=SQLOLEDB.1;Data Source=db;Initial Catalog=Velora;User ID=u;Password=p"
        << "DRIVER={ODBC Driver 18 for SQL Server};SERVER=db;DATABASE=Velora;UID=u;PWD=p;Encrypt=no";
    QTest::newRow("host,port")
        << "Provider=SQLNCLI11;Data Source=db,14330;User ID=u;Password=p"
        << "DRIVER={ODBC Driver 18 for SQL Server};SERVER=db,14330;UID=u;PWD=p;Encrypt=no";
    QTest::newRow("named instance")
        << "Provider=MSOLEDBSQL;Data Source=db\\SQLEXPRESS;User ID=u;Password=p"
        << "DRIVER={ODBC Driver 18 for SQL Server};SERVER=db\\SQLEXPRESS;UID=u;PWD=p;Encrypt=no";
    QTest::newRow("encryption asked for")
        << "Provider=SQLOLEDB;Data Source=db;User ID=u;Password=p;Use Encryption for Data=True"
        << "DRIVER={ODBC Driver 18 for SQL Server};SERVER=db;UID=u;PWD=p;Encrypt=yes";
    QTest::newRow("MSOLEDBSQL19 encrypts by default; certificate trusted")
        << "Provider=MSOLEDBSQL19;Data Source=db;User ID=u;Password=p;Trust Server Certificate=True"
        << "DRIVER={ODBC Driver 18 for SQL "
           "Server};SERVER=db;UID=u;PWD=p;Encrypt=yes;TrustServerCertificate=yes";
}

void TestDataLink::usesMicrosoftDriverOnlyWhenRegistered()
{
    QFETCH(QString, initString);
    QFETCH(QString, databaseName);

    const OdbcDriverList drivers(
        m_dir.filePath(QStringLiteral("microsoft")),
        {QStringLiteral("FreeTDS"), QStringLiteral("ODBC Driver 18 for SQL Server")});
    QString error;
    const auto target = platform::parseInitString(initString, QString(), &error);
    QVERIFY2(target, qPrintable(error));
    QCOMPARE(target->qtDriver, QStringLiteral("QODBC"));
    QCOMPARE(target->databaseName, databaseName);
}

void TestDataLink::readsDataLinkFiles_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("databaseName"); // {folder} stands for the file's folder

    const QString header =
        QStringLiteral("[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n");
    const QString sqlServer =
        QStringLiteral("Provider=SQLOLEDB.1;Password=pw;Persist Security Info=True;User ID=sa;"
                       "Initial Catalog=Velora;Data Source=DBHOST");
    const QString expectedSqlServer = QStringLiteral(
        "DRIVER={FreeTDS};SERVER=DBHOST;PORT=1433;DATABASE=Velora;UID=sa;PWD=pw;TDS_Version=7.4");
    const QString sqlite =
        QStringLiteral("Provider=MSDASQL.1;Extended Properties=\"DRIVER={SQLite3 ODBC Driver};"
                       "Database=Démo.db\"");
    const QString expectedSqlite = QStringLiteral("{folder}/Démo.db");

    QTest::newRow("UTF-16LE with byte-order mark, as Windows writes it")
        << utf16WithByteOrderMark(header + sqlServer + QStringLiteral("\r\n"), false) << expectedSqlServer;
    QTest::newRow("UTF-16LE, SQLite file beside the data-link file")
        << utf16WithByteOrderMark(header + sqlite + QStringLiteral("\r\n"), false) << expectedSqlite;
    QTest::newRow("UTF-16BE with byte-order mark")
        << utf16WithByteOrderMark(header + sqlite, true) << expectedSqlite;
    QTest::newRow("UTF-8 with byte-order mark")
        << "\xEF\xBB\xBF" + (header + sqlite).toUtf8() << expectedSqlite;
    QTest::newRow("UTF-8 without byte-order mark, LF line ends")
        << ("[oledb]\n; comment\n" + sqlite + "\n").toUtf8() << expectedSqlite;
    QTest::newRow("blank lines, more comments, blanks and other case")
        << ("\r\n  [OLEDB]  \r\n\r\n; one\r\n;two\r\n   " + sqlServer + "   \r\n\r\n").toUtf8()
        << expectedSqlServer;
}

void TestDataLink::readsDataLinkFiles()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, databaseName);

    const OdbcDriverList drivers(m_dir.filePath(QStringLiteral("freetds-only")), {QStringLiteral("FreeTDS")});
    QVERIFY(QDir().mkpath(programFolder()));
    const QString path = programFolder() + QStringLiteral("/ZRVelora.udl");
    QVERIFY(writeBytes(path, contents));

    QString error;
    const auto target = platform::readDataLinkFile(path, &error);
    QVERIFY2(target, qPrintable(error));
    QCOMPARE(target->databaseName,
             QString(databaseName).replace(QStringLiteral("{folder}"), programFolder()));
}

void TestDataLink::reportsUnusableFiles_data()
{
    QTest::addColumn<QByteArray>("contents");   // null: no file at all
    QTest::addColumn<QString>("expectedError"); // {path} stands for the file's path

    QTest::newRow("missing file") << QByteArray()
                                  << "Cannot read the data-link file \"{path}\": No such file or directory.";
    QTest::newRow("empty file") << QByteArray("") << "The data-link file \"{path}\" has no [oledb] line.";
    QTest::newRow("no [oledb] line")
        << QByteArray("Provider=SQLOLEDB;Data Source=db;User ID=u;Password=Sup3r$ecret\r\n")
        << "The data-link file \"{path}\" has no [oledb] line.";
    QTest::newRow("[oledb] but no string")
        << utf16WithByteOrderMark(
               QStringLiteral("[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"), false)
        << "Data-link file \"{path}\": The connection string is empty.";
    QTest::newRow("unterminated quote")
        << utf16WithByteOrderMark(
               QStringLiteral("[oledb]\r\nProvider=SQLOLEDB;Password='Sup3r$ecret;Data Source=db\r\n"), false)
        << "Data-link file \"{path}\": The connection string has a quoted value without its closing quote "
           "(character 28).";
    QTest::newRow("single-byte code page, not UTF-8")
        << QByteArray("[oledb]\r\nProvider=SQLOLEDB;Password=Sup3r$ecret\xE9;Data Source=db\r\n")
        << "The data-link file \"{path}\" is neither UTF-16 text with a byte-order mark nor UTF-8 text.";
    QTest::newRow("binary garbage")
        << QByteArray("\x00\x01\xFF\x80\x00", 5)
        << "The data-link file \"{path}\" is neither UTF-16 text with a byte-order "
           "mark nor UTF-8 text.";
}

void TestDataLink::reportsUnusableFiles()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, expectedError);

    const QString path = m_dir.filePath(QStringLiteral("unusable/%1.udl").arg(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    if (!contents.isNull())
        QVERIFY(writeBytes(path, contents));

    QString error;
    QVERIFY(!platform::readDataLinkFile(path, &error));
    QCOMPARE(error, expectedError.replace(QStringLiteral("{path}"), path));
    verifyErrorHidesPassword(error);
}

void TestDataLink::writesDataLinkFileAsWindowsDoes()
{
    const QString path = m_dir.filePath(QStringLiteral("written.udl"));
    const QString initString =
        QStringLiteral("Provider=SQLOLEDB.1;Password='ä;b';User ID=sa;Data Source=DBHOST");
    QString error;
    QVERIFY2(platform::writeDataLinkFile(path, initString, &error), qPrintable(error));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray expected("\xFF\xFE");
    for (const char c : QByteArray("[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"
                                   "Provider=SQLOLEDB.1;Password='\xE4;b';User ID=sa;Data Source=DBHOST\r\n"))
        expected.append(c).append('\0');
    QCOMPARE(file.readAll(), expected);

    const OdbcDriverList drivers(m_dir.filePath(QStringLiteral("freetds-only")), {QStringLiteral("FreeTDS")});
    const auto target = platform::readDataLinkFile(path, &error);
    QVERIFY2(target, qPrintable(error));
    QCOMPARE(target->databaseName,
             QStringLiteral("DRIVER={FreeTDS};SERVER=DBHOST;PORT=1433;UID=sa;PWD={ä;b};TDS_Version=7.4"));
}

void TestDataLink::refusesToWriteWhatCannotBeRead()
{
    QString error;
    const QString twoLines = m_dir.filePath(QStringLiteral("two-lines.udl"));
    QVERIFY(!platform::writeDataLinkFile(twoLines, QStringLiteral("Provider=SQLOLEDB\r\nData Source=db"),
                                         &error));
    QCOMPARE(error,
             QStringLiteral("A data-link file holds its connection string on one line; this one has a line "
                            "break."));
    QVERIFY(!QFile::exists(twoLines));

    const QString noFolder = m_dir.filePath(QStringLiteral("no such folder/ZRVelora.udl"));
    QVERIFY(!platform::writeDataLinkFile(noFolder, QStringLiteral("Provider=SQLOLEDB"), &error));
    QVERIFY2(error.startsWith(QStringLiteral("Cannot write the data-link file \"%1\": ").arg(noFolder)),
             qPrintable(error));
}

void TestDataLink::resolvesFileNameReferences_data()
{
    QTest::addColumn<QString>("connectionString"); // {folder} stands for the data-link file's folder
    QTest::addColumn<QString>("databaseName");     // {cwd} for the current folder

    QTest::newRow("File Name with a path holding blanks") << "File Name={folder}/ZRVelora.udl"
                                                          << "{folder}/demo.db";
    QTest::newRow("key in other case, blanks, trailing ';'") << "  file  NAME =  {folder}/ZRVelora.udl ;"
                                                             << "{folder}/demo.db";
    QTest::newRow("quoted path") << "File Name=\"{folder}/ZRVelora.udl\""
                                 << "{folder}/demo.db";
    QTest::newRow("initialisation string: relative to the current folder")
        << "Provider=MSDASQL;Extended Properties=\"Driver=SQLite3;Database=demo.db\""
        << "{cwd}/demo.db";
}

void TestDataLink::resolvesFileNameReferences()
{
    QFETCH(QString, connectionString);
    QFETCH(QString, databaseName);

    QVERIFY(QDir().mkpath(programFolder()));
    QString error;
    QVERIFY2(platform::writeDataLinkFile(programFolder() + QStringLiteral("/ZRVelora.udl"),
                                         QStringLiteral("Provider=MSDASQL.1;Extended Properties="
                                                        "\"DRIVER={SQLite3 ODBC Driver};Database=demo.db\""),
                                         &error),
             qPrintable(error));

    const auto target = platform::resolveConnectionString(
        connectionString.replace(QStringLiteral("{folder}"), programFolder()), &error);
    QVERIFY2(target, qPrintable(error));
    QCOMPARE(target->qtDriver, QStringLiteral("QSQLITE"));
    QCOMPARE(target->databaseName, databaseName.replace(QStringLiteral("{folder}"), programFolder())
                                       .replace(QStringLiteral("{cwd}"), QDir::currentPath()));
}

void TestDataLink::reportsBrokenFileNameReferences_data()
{
    QTest::addColumn<QString>("connectionString");
    QTest::addColumn<QString>("expectedError");

    QTest::newRow("missing file")
        << "File Name=/no/such folder/ZRVelora.udl"
        << "Cannot read the data-link file \"/no/such folder/ZRVelora.udl\": No such file "
           "or directory.";
    QTest::newRow("no path") << "File Name= ;Password=Sup3r$ecret"
                             << "The connection string names no data-link file after \"File Name=\".";
    QTest::newRow("empty string") << ""
                                  << "The connection string is empty.";
}

void TestDataLink::reportsBrokenFileNameReferences()
{
    QFETCH(QString, connectionString);
    QFETCH(QString, expectedError);

    QString error;
    QVERIFY(!platform::resolveConnectionString(connectionString, &error));
    QCOMPARE(error, expectedError);
    verifyErrorHidesPassword(error);
}

void TestDataLink::odbcStringsReachFreeTds_data()
{
    QTest::addColumn<QString>("initString");

    // Port 1 on the loopback refuses at once: reaching FreeTDS's own error proves the string was taken whole.
    QTest::newRow("SQL Server provider, password with ODBC specials")
        << "Provider=SQLOLEDB.1;Data Source=127.0.0.1,1;Initial Catalog=Velora;User ID=sa;Password='p;w}{d'";
    QTest::newRow("ODBC FreeTDS driver")
        << "Provider=MSDASQL;User ID=sa;Password=pw;"
           "Extended Properties=\"Driver={FreeTDS};Server=127.0.0.1;Port=1\"";
    QTest::newRow("ODBC data source") << "Provider=MSDASQL.1;Data Source=VeloraTest;User ID=sa;Password=pw";
    QTest::newRow("ODBC data source with a server of its own")
        << "Provider=MSDASQL.1;Extended Properties='DSN=VeloraTest;Server=127.0.0.1';User ID=sa;Password=pw";
}

void TestDataLink::odbcStringsReachFreeTds()
{
    QFETCH(QString, initString);

    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")))
        QSKIP("Qt's ODBC driver is not installed");
    const OdbcDriverList drivers(m_dir.filePath(QStringLiteral("freetds-only")), {QStringLiteral("FreeTDS")});
    const QString userDsns = m_dir.filePath(QStringLiteral("odbc.ini"));
    QVERIFY(
        writeBytes(userDsns, "[VeloraTest]\nDriver=FreeTDS\nServer=127.0.0.1\nPort=1\nTDS_Version=7.4\n"));
    qputenv("ODBCINI", QFile::encodeName(userDsns));

    QString error;
    const auto target = platform::parseInitString(initString, QString(), &error);
    QVERIFY2(target, qPrintable(error));
    QString text;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(target->qtDriver, QStringLiteral("reach"));
        db.setDatabaseName(target->databaseName);
        QVERIFY(!db.open());
        text = db.lastError().text();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("reach"));
    qunsetenv("ODBCINI");
    if (text.contains(QStringLiteral("Can't open lib")))
        QSKIP("FreeTDS is not installed");
    QVERIFY2(text.contains(QStringLiteral("[FreeTDS]")), qPrintable(text));
}

QTEST_GUILESS_MAIN(TestDataLink)
#include "tst_datalink.moc"
