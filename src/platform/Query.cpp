#include "Query.h"

#include "Connection.h"
#include "DatabaseError.h"
#include "Placeholders.h"

#include <QDateTime>
#include <QSqlError>

namespace platform {

namespace {

QMetaType metaTypeOf(ParamType type)
{
    switch (type) {
    case ParamType::Integer:
        return QMetaType(QMetaType::Int);
    case ParamType::Boolean:
        return QMetaType(QMetaType::Bool);
    case ParamType::DateTime:
        return QMetaType(QMetaType::QDateTime);
    case ParamType::Text:
        break;
    }
    return QMetaType(QMetaType::QString);
}

QVariant typedValue(const QVariant& value, ParamType type, Dialect dialect)
{
    if (!value.isValid())
        return QVariant(metaTypeOf(type));
    switch (type) {
    case ParamType::Text: {
        const QString text = value.toString();
        return text.isNull() ? QString(QLatin1String("")) : text;
    }
    case ParamType::Integer:
        return QVariant(value.toInt());
    case ParamType::Boolean:
        return QVariant(value.toBool());
    case ParamType::DateTime: {
        const QDateTime local = value.toDateTime().toLocalTime();
        // The drivers for these two would send the moment in UTC; the column holds local time.
        if (dialect != Dialect::SqlServer)
            return local.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
        return local;
    }
    }
    return value;
}

} // namespace

Query::Query(Connection& connection) : m_connection(connection) {}

void Query::clear()
{
    close();
    m_statement = Statement(QString());
    m_parameterNames.clear();
    m_bindings.clear();
}

void Query::setText(const Statement& statement)
{
    clear();
    m_statement = statement;
    for (const QString& name : toPositional(statement.textFor(Dialect::SqlServer)).placeholders) {
        const bool known =
            std::any_of(m_parameterNames.cbegin(), m_parameterNames.cend(),
                        [&](const QString& n) { return n.compare(name, Qt::CaseInsensitive) == 0; });
        if (!known)
            m_parameterNames.append(name);
    }
    m_bindings.resize(m_parameterNames.size());
}

QString Query::text() const
{
    return m_statement.textFor(m_connection.isOpen() ? m_connection.dialect() : Dialect::SqlServer);
}

void Query::setParam(const QString& name, const QVariant& value, ParamType type)
{
    for (qsizetype i = 0; i < m_parameterNames.size(); ++i) {
        if (m_parameterNames.at(i).compare(name, Qt::CaseInsensitive) == 0) {
            m_bindings[i] = Binding{value, type, true};
            return;
        }
    }
    throw DatabaseError(QStringLiteral("Parameter %1 not found.").arg(name));
}

QSqlQuery Query::run()
{
    m_connection.open();
    const Dialect dialect = m_connection.dialect();
    const PositionalStatement positional = toPositional(m_statement.textFor(dialect));
    QSqlQuery query(m_connection.database());
    query.setForwardOnly(true);

    bool ok = false;
    if (positional.placeholders.isEmpty()) {
        // Schema statements cannot be prepared on every server, so plain text goes as it is.
        ok = query.exec(positional.text);
    } else {
        if (!query.prepare(positional.text))
            throw DatabaseError(sqlErrorText(query.lastError()));
        for (const QString& name : positional.placeholders) {
            qsizetype index = -1;
            for (qsizetype i = 0; i < m_parameterNames.size() && index < 0; ++i) {
                if (m_parameterNames.at(i).compare(name, Qt::CaseInsensitive) == 0)
                    index = i;
            }
            if (index < 0 || !m_bindings.at(index).bound)
                throw DatabaseError(QStringLiteral("No value given for parameter %1.").arg(name));
            const Binding& binding = m_bindings.at(index);
            query.addBindValue(typedValue(binding.value, binding.type, dialect));
        }
        ok = query.exec();
    }
    if (!ok)
        throw DatabaseError(sqlErrorText(query.lastError()));
    return query;
}

int Query::execSQL()
{
    close();
    QSqlQuery query = run();
    const int affected = query.numRowsAffected();
    query.finish();
    return affected;
}

void Query::open()
{
    close();
    QSqlQuery query = run();
    while (query.next())
        m_rows.append(query.record());
    // Holding no cursor keeps SQLite from locking tables that later statements change.
    query.finish();
    m_current = 0;
    m_open = true;
}

void Query::close()
{
    m_rows.clear();
    m_current = 0;
    m_open = false;
}

QVariant Query::fieldByName(const QString& name) const
{
    if (!m_open || eof())
        throw DatabaseError(QStringLiteral("No current record."));
    const QSqlRecord& record = m_rows.at(m_current);
    const int index = record.indexOf(name);
    if (index < 0)
        throw DatabaseError(QStringLiteral("Field %1 not found.").arg(name));
    return record.value(index);
}

} // namespace platform
