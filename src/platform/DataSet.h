#pragma once

#include "Query.h"

#include <QObject>

namespace platform {

// A result set whose rows feed a view, and which writes a changed field of one row back
// to its table by key, then announces the completed change.
class DataSet : public QObject
{
    Q_OBJECT
public:
    explicit DataSet(Connection& connection, QObject* parent = nullptr);

    Query& command() { return m_query; }
    const Query& command() const { return m_query; }

    // Table and key columns a row is written back to.
    void setUpdateTarget(const QString& table, const QStringList& keyFields);

    // Opens with the command text and parameter values as they stand; announces opened().
    void open();
    void close();
    // Closes and opens again with the same command and values.
    void reopen();
    bool isOpen() const { return m_query.isOpen(); }
    const QVector<QSqlRecord>& rows() const { return m_query.rows(); }

    // Writes field := value into the table row of rows()[row], matched by the key fields,
    // updates the held row, then emits recordChangeComplete. Raises DatabaseError on failure.
    void writeField(int row, const QString& field, const QVariant& value, ParamType type);

signals:
    void opened();
    void closed();
    void recordChangeComplete();

private:
    Query m_query;
    QString m_updateTable;
    QStringList m_keyFields;
};

} // namespace platform
