#include "DataSet.h"

#include "Connection.h"
#include "DatabaseError.h"

namespace platform {

DataSet::DataSet(Connection& connection, QObject* parent) : QObject(parent), m_query(connection) {}

void DataSet::setUpdateTarget(const QString& table, const QStringList& keyFields)
{
    m_updateTable = table;
    m_keyFields = keyFields;
}

void DataSet::open()
{
    m_query.open();
    emit opened();
}

void DataSet::close()
{
    const bool wasOpen = m_query.isOpen();
    m_query.close();
    if (wasOpen)
        emit closed();
}

void DataSet::reopen()
{
    close();
    open();
}

void DataSet::writeField(int row, const QString& field, const QVariant& value, ParamType type)
{
    if (m_updateTable.isEmpty() || m_keyFields.isEmpty())
        throw DatabaseError(QStringLiteral("The result set cannot be written back: it names no table."));
    if (row < 0 || row >= m_query.m_rows.size())
        throw DatabaseError(QStringLiteral("No such record."));
    QSqlRecord& held = m_query.m_rows[row];
    const int fieldIndex = held.indexOf(field);
    if (fieldIndex < 0)
        throw DatabaseError(QStringLiteral("Field %1 not found.").arg(field));

    QStringList conditions;
    for (qsizetype i = 0; i < m_keyFields.size(); ++i)
        conditions.append(QStringLiteral("%1 = :PKey%2").arg(m_keyFields.at(i)).arg(i));
    Query update(m_query.connection());
    update.setText(QStringLiteral("UPDATE %1 SET %2 = :PValue WHERE %3")
                       .arg(m_updateTable, field, conditions.join(QLatin1String(" AND "))));
    update.setParam(QStringLiteral("PValue"), value, type);
    for (qsizetype i = 0; i < m_keyFields.size(); ++i) {
        const int keyIndex = held.indexOf(m_keyFields.at(i));
        if (keyIndex < 0)
            throw DatabaseError(QStringLiteral("Field %1 not found.").arg(m_keyFields.at(i)));
        update.setParam(QStringLiteral("PKey%1").arg(i), held.value(keyIndex), ParamType::Text);
    }
    update.execSQL();
    held.setValue(fieldIndex, value);
    emit recordChangeComplete();
}

} // namespace platform
