#pragma once

#include "Dialect.h"

#include <QString>

#include <optional>

namespace platform {

// Where a connection goes, as read from a data-link file or an OLE DB initialisation string.
struct ConnectionTarget
{
    QString qtDriver; // "QSQLITE", "QPSQL" or "QODBC"
    Dialect dialect = Dialect::SqlServer;
    // SQLite: the file; PostgreSQL: the database; ODBC: the connection string as QODBC takes it, credentials
    // included (userName and password then stay empty, or QODBC would append them a second time, unquoted)
    QString databaseName;
    QString host;
    int port = -1;
    QString userName;
    QString password;
    QString connectOptions;
};

// The data-link file both programs look for in the folder of their own program file.
inline const QString dataLinkFileName = QStringLiteral("ZRVelora.udl");

// The folder a data-link file is looked for in: programFolder with its trailing separator.
QString dataLinkFolder(const QString& programFolder);

// Parses an OLE DB initialisation string ("Provider=SQLOLEDB.1;Data Source=...").
// A relative SQLite file is taken relative to baseFolder. On failure returns nothing and
// fills error with a text that never contains the password.
std::optional<ConnectionTarget> parseInitString(const QString& initString, const QString& baseFolder,
                                                QString* error);

// Reads a Microsoft Data Link file (UTF-16LE with byte-order mark, or UTF-8).
std::optional<ConnectionTarget> readDataLinkFile(const QString& path, QString* error);

// Writes a data-link file the way Windows does: UTF-16LE, byte-order mark, "[oledb]", a comment line, the
// string.
bool writeDataLinkFile(const QString& path, const QString& initString, QString* error);

// Resolves an ADO connection string: "File Name=<path>" reads that data-link file,
// anything else is taken as an initialisation string.
std::optional<ConnectionTarget> resolveConnectionString(const QString& connectionString, QString* error);

} // namespace platform
