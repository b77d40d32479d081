#include "ConnectionStringSyntax.h"

namespace platform {

// Error texts name positions, never the text around them: a stray piece may be part of a password.

namespace {

std::nullopt_t failure(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return std::nullopt;
}

class Scanner
{
public:
    explicit Scanner(const QString& text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek(qsizetype ahead = 0) const
    {
        return m_pos + ahead < m_text.size() ? m_text.at(m_pos + ahead) : QChar();
    }
    void advance(qsizetype count = 1) { m_pos += count; }
    qsizetype position() const { return m_pos + 1; }
    void skipBlanks()
    {
        while (!atEnd() && peek().isSpace())
            advance();
    }
    // Up to the next ';' or the end, without surrounding blanks.
    QString restOfPiece()
    {
        const qsizetype start = m_pos;
        while (!atEnd() && peek() != u';')
            advance();
        return m_text.mid(start, m_pos - start).trimmed();
    }
    // After a quoted value only blanks may come before the next ';'.
    bool pieceEndsHere()
    {
        skipBlanks();
        return atEnd() || peek() == u';';
    }

private:
    const QString& m_text;
    qsizetype m_pos = 0;
};

// Reads a key up to its '='; OLE DB writes a literal '=' in a key as "==".
std::optional<QString> readKey(Scanner& scanner, bool doubledEquals, QString* error)
{
    const qsizetype start = scanner.position();
    QString key;
    while (!scanner.atEnd() && scanner.peek() != u';') {
        if (scanner.peek() == u'=') {
            if (!doubledEquals || scanner.peek(1) != u'=') {
                scanner.advance();
                key = key.trimmed();
                if (key.isEmpty())
                    return failure(error, QStringLiteral("The connection string has a value without a key "
                                                         "(character %1).")
                                              .arg(start));
                return key;
            }
            scanner.advance();
        }
        key += scanner.peek();
        scanner.advance();
    }
    return failure(error,
                   QStringLiteral("The connection string has a part without '=' (character %1).").arg(start));
}

std::optional<QString> readQuotedOleDbValue(Scanner& scanner, QString* error)
{
    const qsizetype start = scanner.position();
    const QChar quote = scanner.peek();
    scanner.advance();
    QString value;
    for (;;) {
        if (scanner.atEnd())
            return failure(error,
                           QStringLiteral("The connection string has a quoted value without its closing "
                                          "quote (character %1).")
                               .arg(start));
        const QChar c = scanner.peek();
        scanner.advance();
        if (c == quote) {
            if (scanner.peek() != quote)
                break;
            scanner.advance();
        }
        value += c;
    }
    if (!scanner.pieceEndsHere())
        return failure(error, QStringLiteral("The connection string has text after a quoted value "
                                             "(character %1).")
                                  .arg(scanner.position()));
    return value;
}

std::optional<QString> readBracedOdbcValue(Scanner& scanner, QString* error)
{
    const qsizetype start = scanner.position();
    scanner.advance();
    QString value;
    for (;;) {
        if (scanner.atEnd())
            return failure(error, QStringLiteral("The ODBC connection string has a braced value without its "
                                                 "closing brace (character %1).")
                                      .arg(start));
        const QChar c = scanner.peek();
        scanner.advance();
        if (c == u'}') {
            if (scanner.peek() != u'}')
                break;
            scanner.advance();
        }
        value += c;
    }
    if (!scanner.pieceEndsHere())
        return failure(error, QStringLiteral("The ODBC connection string has text after a braced value "
                                             "(character %1).")
                                  .arg(scanner.position()));
    return value;
}

enum class Syntax
{
    OleDb,
    Odbc
};

std::optional<ConnectionPairs> parse(const QString& text, Syntax syntax, QString* error)
{
    ConnectionPairs pairs(syntax == Syntax::OleDb ? ConnectionPairs::Repeats::LastWins
                                                  : ConnectionPairs::Repeats::FirstWins);
    Scanner scanner(text);
    for (;;) {
        scanner.skipBlanks();
        if (scanner.atEnd())
            return pairs;
        if (scanner.peek() == u';') {
            scanner.advance();
            continue;
        }
        const auto key = readKey(scanner, syntax == Syntax::OleDb, error);
        if (!key)
            return std::nullopt;
        scanner.skipBlanks();
        const QChar first = scanner.peek();
        std::optional<QString> value;
        if (syntax == Syntax::OleDb && (first == u'\'' || first == u'"'))
            value = readQuotedOleDbValue(scanner, error);
        else if (syntax == Syntax::Odbc && first == u'{')
            value = readBracedOdbcValue(scanner, error);
        else
            value = scanner.restOfPiece();
        if (!value)
            return std::nullopt;
        pairs.add(*key, *value);
    }
}

} // namespace

void ConnectionPairs::add(const QString& key, const QString& value)
{
    const qsizetype existing = indexOf(key);
    if (existing < 0)
        m_pairs.append({key, value});
    else if (m_repeats == Repeats::LastWins)
        m_pairs[existing].value = value;
}

bool ConnectionPairs::contains(QStringView key) const
{
    return indexOf(key) >= 0;
}

QString ConnectionPairs::value(std::initializer_list<QStringView> synonyms) const
{
    for (const QStringView key : synonyms) {
        const qsizetype index = indexOf(key);
        if (index >= 0)
            return m_pairs.at(index).value;
    }
    return {};
}

qsizetype ConnectionPairs::indexOf(QStringView key) const
{
    for (qsizetype i = 0; i < m_pairs.size(); ++i) {
        if (m_pairs.at(i).key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

std::optional<ConnectionPairs> parseOleDbString(const QString& text, QString* error)
{
    return parse(text, Syntax::OleDb, error);
}

std::optional<ConnectionPairs> parseOdbcString(const QString& text, QString* error)
{
    return parse(text, Syntax::Odbc, error);
}

QString odbcValue(const QString& value)
{
    const bool misread = value.contains(u';') || value.contains(u'{') || value.contains(u'}') ||
                         (!value.isEmpty() && (value.front().isSpace() || value.back().isSpace()));
    if (!misread)
        return value;
    QString braced = value;
    braced.replace(u'}', QStringLiteral("}}"));
    return u'{' + braced + u'}';
}

} // namespace platform
