#include "DataLink.h"

#include "ConnectionStringSyntax.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace platform {

// Error texts never quote a value: any of them could be, or hold part of, the password.

namespace {

const QString commentLine = QStringLiteral("; Everything after this line is an OLE DB initstring");
const QString microsoftOdbcDriver = QStringLiteral("ODBC Driver 18 for SQL Server");
constexpr int sqlServerDefaultPort = 1433;

std::nullopt_t failure(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return std::nullopt;
}

bool isYes(const QString& value)
{
    const QString v = value.trimmed();
    return v.compare(u"true", Qt::CaseInsensitive) == 0 || v.compare(u"yes", Qt::CaseInsensitive) == 0 ||
           v.compare(u"sspi", Qt::CaseInsensitive) == 0;
}

bool asksForWindowsLogOn(const ConnectionPairs& pairs)
{
    return isYes(pairs.value({u"Integrated Security"})) || isYes(pairs.value({u"Trusted_Connection"}));
}

QString windowsLogOnError()
{
    return QStringLiteral(
        "Windows log-on (Integrated Security) is not available here: the data-link file must "
        "give a User ID and a Password.");
}

std::optional<int> parsePort(const QString& text)
{
    bool ok = false;
    const int port = text.trimmed().toInt(&ok);
    if (!ok || port < 1 || port > 65535)
        return std::nullopt;
    return port;
}

// unixODBC finds its driver list through the same variables.
QString odbcInstIniPath()
{
    const QString folder = qEnvironmentVariable("ODBCSYSINI", QStringLiteral("/etc"));
    const QString file = qEnvironmentVariable("ODBCINSTINI", QStringLiteral("odbcinst.ini"));
    return QDir(folder).filePath(file);
}

bool odbcDriverRegistered(const QString& driverName)
{
    QFile file(odbcInstIniPath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    const QString section = u'[' + driverName + u']';
    while (!file.atEnd()) {
        if (QString::fromUtf8(file.readLine()).trimmed().compare(section, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// "host", "host\instance" or "host,port", as SQL Server clients write a server.
struct ServerAddress
{
    QString host;
    QString instance;
    int port = -1;
};

std::optional<ServerAddress> parseServerAddress(const QString& dataSource, QString* error)
{
    QString text = dataSource.trimmed();
    if (text.startsWith(u"tcp:", Qt::CaseInsensitive))
        text = text.mid(4);
    ServerAddress address;
    const qsizetype comma = text.lastIndexOf(u',');
    if (comma >= 0) {
        const auto port = parsePort(text.mid(comma + 1));
        if (!port)
            return failure(error, QStringLiteral("The Data Source gives an invalid port number."));
        address.port = *port;
        text = text.left(comma);
    }
    const qsizetype backslash = text.indexOf(u'\\');
    address.host = (backslash >= 0 ? text.left(backslash) : text).trimmed();
    if (backslash >= 0)
        address.instance = text.mid(backslash + 1).trimmed();
    if (address.host.isEmpty())
        return failure(error, QStringLiteral("The Data Source names no server."));
    if (address.host == u"." || address.host.compare(u"(local)", Qt::CaseInsensitive) == 0)
        address.host = QStringLiteral("localhost");
    return address;
}

void appendOdbc(QString& text, const QString& key, const QString& value)
{
    if (!text.isEmpty())
        text += u';';
    text += key + u'=' + odbcValue(value);
}

// Microsoft's driver encrypts by default, the older providers did not: keep what the link asked for.
void appendMicrosoftEncryption(QString& odbc, const ConnectionPairs& init, bool encryptsByDefault)
{
    const QString encrypt = init.value({u"Use Encryption for Data", u"Encrypt"}).trimmed();
    QString setting = encryptsByDefault ? QStringLiteral("yes") : QStringLiteral("no");
    if (encrypt.compare(u"strict", Qt::CaseInsensitive) == 0)
        setting = QStringLiteral("strict");
    else if (isYes(encrypt) || encrypt.compare(u"mandatory", Qt::CaseInsensitive) == 0)
        setting = QStringLiteral("yes");
    else if (!encrypt.isEmpty())
        setting = QStringLiteral("no");
    appendOdbc(odbc, QStringLiteral("Encrypt"), setting);
    const QString trust = init.value({u"Trust Server Certificate", u"TrustServerCertificate"});
    if (!trust.isEmpty())
        appendOdbc(odbc, QStringLiteral("TrustServerCertificate"),
                   isYes(trust) ? QStringLiteral("yes") : QStringLiteral("no"));
}

std::optional<ConnectionTarget> sqlServerTarget(const ConnectionPairs& init, bool encryptsByDefault,
                                                QString* error)
{
    if (asksForWindowsLogOn(init))
        return failure(error, windowsLogOnError());
    const QString dataSource = init.value({u"Data Source", u"Server"});
    if (dataSource.trimmed().isEmpty())
        return failure(error, QStringLiteral("The connection string gives no Data Source (the server)."));
    const auto address = parseServerAddress(dataSource, error);
    if (!address)
        return std::nullopt;
    const QString user = init.value({u"User ID", u"UID"});
    if (user.isEmpty())
        return failure(error,
                       QStringLiteral("The connection string gives no User ID: Windows log-on is not "
                                      "available here, so the data-link file must give a User ID and a "
                                      "Password."));

    ConnectionTarget target;
    target.qtDriver = QStringLiteral("QODBC");
    target.dialect = Dialect::SqlServer;
    target.host = address->host;
    target.port = address->port > 0 ? address->port : address->instance.isEmpty() ? sqlServerDefaultPort : -1;

    const bool microsoft = odbcDriverRegistered(microsoftOdbcDriver);
    QString server = address->host;
    if (address->port > 0 && microsoft)
        server += u',' + QString::number(address->port);
    else if (address->port < 0 && !address->instance.isEmpty())
        server += u'\\' + address->instance;

    QString odbc =
        QStringLiteral("DRIVER={%1}").arg(microsoft ? microsoftOdbcDriver : QStringLiteral("FreeTDS"));
    appendOdbc(odbc, QStringLiteral("SERVER"), server);
    if (!microsoft && target.port > 0)
        appendOdbc(odbc, QStringLiteral("PORT"), QString::number(target.port));
    const QString database = init.value({u"Initial Catalog", u"Database"});
    if (!database.isEmpty())
        appendOdbc(odbc, QStringLiteral("DATABASE"), database);
    appendOdbc(odbc, QStringLiteral("UID"), user);
    appendOdbc(odbc, QStringLiteral("PWD"), init.value({u"Password", u"PWD"}));
    if (microsoft)
        appendMicrosoftEncryption(odbc, init, encryptsByDefault);
    else
        appendOdbc(odbc, QStringLiteral("TDS_Version"), QStringLiteral("7.4"));
    target.databaseName = odbc;
    return target;
}

// Credentials may sit in the ODBC string or beside it in the initialisation string.
struct Credentials
{
    QString user;
    QString password;
};

Credentials odbcCredentials(const ConnectionPairs& init, const ConnectionPairs& odbc)
{
    Credentials credentials{odbc.value({u"UID", u"User", u"Username"}), odbc.value({u"PWD", u"Password"})};
    if (credentials.user.isEmpty())
        credentials.user = init.value({u"User ID", u"UID"});
    if (credentials.password.isEmpty())
        credentials.password = init.value({u"Password", u"PWD"});
    return credentials;
}

bool isCredentialKey(const QString& key)
{
    for (const QStringView name : {u"UID", u"User", u"Username", u"PWD", u"Password"}) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The ODBC string again, without `skipKey` and the credentials, which are appended once, quoted.
QString rebuildOdbc(QString odbc, const ConnectionPairs& pairs, QStringView skipKey,
                    const Credentials& credentials)
{
    for (const auto& pair : pairs.pairs()) {
        if (pair.key.compare(skipKey, Qt::CaseInsensitive) != 0 && !isCredentialKey(pair.key))
            appendOdbc(odbc, pair.key, pair.value);
    }
    if (!credentials.user.isEmpty())
        appendOdbc(odbc, QStringLiteral("UID"), credentials.user);
    if (!credentials.password.isEmpty())
        appendOdbc(odbc, QStringLiteral("PWD"), credentials.password);
    return odbc;
}

std::optional<ConnectionTarget> sqliteTarget(const ConnectionPairs& odbc, const QString& baseFolder,
                                             QString* error)
{
    const QString file = odbc.value({u"Database"}).trimmed();
    if (file.isEmpty())
        return failure(error, QStringLiteral("The SQLite ODBC connection names no Database file."));
    ConnectionTarget target;
    target.qtDriver = QStringLiteral("QSQLITE");
    target.dialect = Dialect::Sqlite;
    target.databaseName = QDir::cleanPath(QDir(baseFolder).absoluteFilePath(file));
    return target;
}

std::optional<ConnectionTarget> postgresTarget(const ConnectionPairs& init, const ConnectionPairs& odbc,
                                               QString* error)
{
    ConnectionTarget target;
    target.qtDriver = QStringLiteral("QPSQL");
    target.dialect = Dialect::Postgres;
    target.host = odbc.value({u"Server", u"Servername"}).trimmed();
    const QString port = odbc.value({u"Port"});
    if (!port.trimmed().isEmpty()) {
        const auto number = parsePort(port);
        if (!number)
            return failure(error, QStringLiteral("The PostgreSQL ODBC connection gives an invalid Port."));
        target.port = *number;
    }
    target.databaseName = odbc.value({u"Database"}).trimmed();
    const Credentials credentials = odbcCredentials(init, odbc);
    target.userName = credentials.user;
    target.password = credentials.password;
    return target;
}

bool looksLikeSqlServerDriver(const QString& driver)
{
    return driver.contains(u"SQL Server", Qt::CaseInsensitive) ||
           driver.contains(u"TDS", Qt::CaseInsensitive);
}

std::optional<ConnectionTarget> odbcProviderTarget(const ConnectionPairs& init, const QString& baseFolder,
                                                   QString* error)
{
    QString syntaxError;
    const auto odbc = parseOdbcString(init.value({u"Extended Properties"}), &syntaxError);
    if (!odbc)
        return failure(error, QStringLiteral("Extended Properties: ") + syntaxError);
    const QString driver = odbc->value({u"Driver"}).trimmed();
    if (driver.contains(u"SQLite", Qt::CaseInsensitive))
        return sqliteTarget(*odbc, baseFolder, error);
    if (driver.contains(u"PostgreSQL", Qt::CaseInsensitive) ||
        driver.contains(u"psqlODBC", Qt::CaseInsensitive))
        return postgresTarget(init, *odbc, error);

    if (asksForWindowsLogOn(init) || asksForWindowsLogOn(*odbc))
        return failure(error, windowsLogOnError());
    ConnectionTarget target;
    target.qtDriver = QStringLiteral("QODBC");
    target.dialect = Dialect::SqlServer;
    const Credentials credentials = odbcCredentials(init, *odbc);
    if (!driver.isEmpty()) {
        if (!looksLikeSqlServerDriver(driver))
            return failure(error, QStringLiteral("The ODBC driver \"%1\" is not supported: use a SQL Server, "
                                                 "SQLite or PostgreSQL driver.")
                                      .arg(driver));
        QString braced = driver;
        braced.replace(u'}', QStringLiteral("}}"));
        target.databaseName =
            rebuildOdbc(QStringLiteral("DRIVER={%1}").arg(braced), *odbc, u"Driver", credentials);
        return target;
    }
    const QString dsn = odbc->contains(u"DSN") ? odbc->value({u"DSN"}) : init.value({u"Data Source"});
    if (dsn.trimmed().isEmpty())
        return failure(error, QStringLiteral("The ODBC connection names neither a Driver nor a data source "
                                             "(Data Source or DSN)."));
    QString dsnString =
        rebuildOdbc(QStringLiteral("DSN=") + odbcValue(dsn.trimmed()), *odbc, u"DSN", credentials);
    // QODBC puts "DSN=" itself before a string in which it finds neither "DRIVER=" nor "SERVER=".
    if (!dsnString.contains(u"DRIVER=", Qt::CaseInsensitive) &&
        !dsnString.contains(u"SERVER=", Qt::CaseInsensitive))
        dsnString.remove(0, 4);
    target.databaseName = dsnString;
    return target;
}

bool matchesProvider(const QString& provider, const QString& namesPattern)
{
    const QRegularExpression pattern(QStringLiteral("^(%1)(\\.\\d+)?$").arg(namesPattern),
                                     QRegularExpression::CaseInsensitiveOption);
    return pattern.match(provider).hasMatch();
}

QString decodeDataLinkText(const QByteArray& bytes, bool* ok)
{
    auto encoding = QStringConverter::Utf8;
    qsizetype skip = 0;
    if (bytes.startsWith("\xFF\xFE")) {
        encoding = QStringConverter::Utf16LE;
        skip = 2;
    } else if (bytes.startsWith("\xFE\xFF")) {
        encoding = QStringConverter::Utf16BE;
        skip = 2;
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        skip = 3;
    }
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(QByteArrayView(bytes).sliced(skip));
    *ok = !decoder.hasError();
    return text;
}

} // namespace

std::optional<ConnectionTarget> parseInitString(const QString& initString, const QString& baseFolder,
                                                QString* error)
{
    if (initString.trimmed().isEmpty())
        return failure(error, QStringLiteral("The connection string is empty."));
    const auto init = parseOleDbString(initString, error);
    if (!init)
        return std::nullopt;
    const QString provider = init->value({u"Provider"}).trimmed();
    if (provider.isEmpty())
        return failure(error, QStringLiteral("The connection string names no Provider."));
    if (matchesProvider(provider, QStringLiteral("SQLOLEDB|SQLNCLI|SQLNCLI10|SQLNCLI11|MSOLEDBSQL")))
        return sqlServerTarget(*init, false, error);
    if (matchesProvider(provider, QStringLiteral("MSOLEDBSQL19")))
        return sqlServerTarget(*init, true, error);
    if (matchesProvider(provider, QStringLiteral("MSDASQL")))
        return odbcProviderTarget(*init, baseFolder, error);
    return failure(error, QStringLiteral("The provider \"%1\" is not supported: use a SQL Server provider "
                                         "(SQLOLEDB, SQLNCLI11, MSOLEDBSQL) or the ODBC provider (MSDASQL).")
                              .arg(provider));
}

std::optional<ConnectionTarget> readDataLinkFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(
            error,
            QStringLiteral("Cannot read the data-link file \"%1\": %2.").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure(
            error,
            QStringLiteral("Cannot read the data-link file \"%1\": %2.").arg(path, file.errorString()));

    bool decoded = false;
    const QStringList lines = decodeDataLinkText(bytes, &decoded).split(u'\n');
    if (!decoded)
        return failure(error,
                       QStringLiteral("The data-link file \"%1\" is neither UTF-16 text with a byte-order "
                                      "mark nor UTF-8 text.")
                           .arg(path));
    qsizetype line = 0;
    while (line < lines.size() && lines.at(line).trimmed().compare(u"[oledb]", Qt::CaseInsensitive) != 0)
        ++line;
    if (line == lines.size())
        return failure(error, QStringLiteral("The data-link file \"%1\" has no [oledb] line.").arg(path));
    QString initString;
    for (++line; line < lines.size() && initString.isEmpty(); ++line) {
        const QString text = lines.at(line).trimmed();
        if (!text.startsWith(u';'))
            initString = text;
    }

    QString parseError;
    auto target = parseInitString(initString, QFileInfo(path).absolutePath(), &parseError);
    if (!target)
        return failure(error, QStringLiteral("Data-link file \"%1\": %2").arg(path, parseError));
    return target;
}

bool writeDataLinkFile(const QString& path, const QString& initString, QString* error)
{
    if (initString.contains(u'\n') || initString.contains(u'\r')) {
        failure(error,
                QStringLiteral("A data-link file holds its connection string on one line; this one has a "
                               "line break."));
        return false;
    }
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    const QByteArray bytes = encoder.encode(QStringLiteral("[oledb]\r\n") + commentLine +
                                            QStringLiteral("\r\n") + initString + QStringLiteral("\r\n"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        failure(error,
                QStringLiteral("Cannot write the data-link file \"%1\": %2.").arg(path, file.errorString()));
        return false;
    }
    return true;
}

std::optional<ConnectionTarget> resolveConnectionString(const QString& connectionString, QString* error)
{
    static const QRegularExpression fileName(QStringLiteral("^\\s*File\\s+Name\\s*="),
                                             QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = fileName.match(connectionString);
    if (!match.hasMatch())
        return parseInitString(connectionString, QDir::currentPath(), error);

    QString path = connectionString.mid(match.capturedEnd());
    path = path.left(path.indexOf(u';')).trimmed();
    if (path.size() >= 2 && (path.front() == u'"' || path.front() == u'\'') && path.back() == path.front())
        path = path.mid(1, path.size() - 2);
    if (path.isEmpty())
        return failure(error,
                       QStringLiteral("The connection string names no data-link file after \"File Name=\"."));
    return readDataLinkFile(path, error);
}

QString dataLinkFolder(const QString& programFolder)
{
    return programFolder.endsWith(QLatin1Char('/')) ? programFolder : programFolder + QLatin1Char('/');
}

} // namespace platform
