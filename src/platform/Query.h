#pragma once

#include "Statement.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVector>

namespace platform {

class Connection;

enum class ParamType
{
    Text,
    Integer,
    Boolean,
    DateTime
};

// A statement with named parameters written ":Name". Names are matched without regard to
// case; a statement whose parameter was never bound is refused. Rows, once opened, are held.
class Query
{
public:
    explicit Query(Connection& connection);

    Connection& connection() const { return m_connection; }

    void clear();
    // The statement's text for the connection's dialect is chosen when it runs.
    void setText(const Statement& statement);
    // The text that runs on the connection as it is now (the SQL Server text until connected).
    QString text() const;
    QStringList parameterNames() const { return m_parameterNames; }

    // Raises DatabaseError when the statement has no parameter of that name.
    void setParam(const QString& name, const QVariant& value, ParamType type);

    // Runs the statement without reading rows; returns the number of rows affected.
    int execSQL();

    // Runs the statement and holds its rows; the current row is the first.
    void open();
    void close();
    bool isOpen() const { return m_open; }

    int recordCount() const { return int(m_rows.size()); }
    bool eof() const { return m_current >= m_rows.size(); }
    void first() { m_current = 0; }
    void next() { ++m_current; }
    // Field of the current row, by name without regard to case; raises DatabaseError when absent.
    QVariant fieldByName(const QString& name) const;

    const QVector<QSqlRecord>& rows() const { return m_rows; }

private:
    friend class DataSet; // writes a changed field back into the held row

    struct Binding
    {
        QVariant value;
        ParamType type = ParamType::Text;
        bool bound = false;
    };

    QSqlQuery run();

    Connection& m_connection;
    Statement m_statement{QString()};
    QStringList m_parameterNames; // distinct, as first written
    QVector<Binding> m_bindings;  // parallel to m_parameterNames
    QVector<QSqlRecord> m_rows;
    qsizetype m_current = 0;
    bool m_open = false;
};

} // namespace platform
