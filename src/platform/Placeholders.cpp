#include "Placeholders.h"

namespace platform {

namespace {

bool isNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool isNamePart(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

PositionalStatement toPositional(const QString& statement)
{
    PositionalStatement result;
    result.text.reserve(statement.size());
    QChar quote;
    for (qsizetype i = 0; i < statement.size(); ++i) {
        const QChar c = statement.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            result.text.append(c);
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            result.text.append(c);
            continue;
        }
        const bool castBefore = i > 0 && statement.at(i - 1) == QLatin1Char(':');
        if (c == QLatin1Char(':') && !castBefore && i + 1 < statement.size() &&
            isNameStart(statement.at(i + 1))) {
            qsizetype end = i + 1;
            while (end < statement.size() && isNamePart(statement.at(end)))
                ++end;
            result.placeholders.append(statement.mid(i + 1, end - i - 1));
            result.text.append(QLatin1Char('?'));
            i = end - 1;
            continue;
        }
        result.text.append(c);
    }
    return result;
}

} // namespace platform
