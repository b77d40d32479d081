#pragma once

#include "Dialect.h"

#include <QSqlDatabase>
#include <QString>

namespace platform {

// The one database connection of a program. Its connection string is either
// "File Name=<data-link file>" or an OLE DB initialisation string. Never prompts for a log-on.
class Connection
{
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void setConnectionString(const QString& connectionString); // closes first
    QString connectionString() const { return m_connectionString; }

    // Connects if not connected; raises DatabaseError with the driver's text on failure.
    void open();
    void close();
    bool isOpen() const;

    void setKeepConnection(bool keep) { m_keepConnection = keep; }
    bool keepConnection() const { return m_keepConnection; }

    // Valid once opened.
    Dialect dialect() const { return m_dialect; }

    // Raise DatabaseError on failure. Schema statements inside a transaction are covered too.
    void beginTrans();
    void commitTrans();
    void rollbackTrans();
    bool inTransaction() const { return m_inTransaction; }

    QSqlDatabase database() const;

private:
    QString m_name;
    QString m_connectionString;
    Dialect m_dialect = Dialect::SqlServer;
    bool m_keepConnection = false;
    bool m_inTransaction = false;
};

} // namespace platform
