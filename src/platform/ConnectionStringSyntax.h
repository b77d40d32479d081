#pragma once

#include <QList>
#include <QString>

#include <initializer_list>
#include <optional>

namespace platform {

// The key=value pieces of a connection string, keys looked up without regard to case.
class ConnectionPairs
{
public:
    struct Pair
    {
        QString key; // as written, without surrounding blanks
        QString value;
    };

    // OLE DB keeps the last of a repeated key, ODBC the first.
    enum class Repeats
    {
        LastWins,
        FirstWins
    };

    explicit ConnectionPairs(Repeats repeats) : m_repeats(repeats) {}

    void add(const QString& key, const QString& value);
    bool contains(QStringView key) const;
    // The value of the first of the given synonyms that is present; empty when none is.
    QString value(std::initializer_list<QStringView> synonyms) const;
    const QList<Pair>& pairs() const { return m_pairs; }

private:
    qsizetype indexOf(QStringView key) const;

    Repeats m_repeats;
    QList<Pair> m_pairs;
};

// OLE DB initialisation string: values quoted with ' or " (the quote doubled inside), "==" for '=' in a key.
std::optional<ConnectionPairs> parseOleDbString(const QString& text, QString* error);

// ODBC connection string: values optionally in braces, "}}" for '}' inside them.
std::optional<ConnectionPairs> parseOdbcString(const QString& text, QString* error);

// A value as an ODBC connection string must carry it: in braces when it would otherwise be misread.
QString odbcValue(const QString& value);

} // namespace platform
