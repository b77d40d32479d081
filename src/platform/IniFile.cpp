#include "IniFile.h"

#include <QFile>
#include <QStringDecoder>

namespace platform {

namespace {

constexpr qsizetype maxValueLength = 2047;

// Files without a byte-order mark that are not UTF-8 come from older editors in a single-byte code page.
QString decodeIniText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringConverter::Utf16LE).decode(QByteArrayView(bytes).sliced(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringConverter::Utf16BE).decode(QByteArrayView(bytes).sliced(2));
    const QByteArrayView utf8 = bytes.startsWith("\xEF\xBB\xBF") ? QByteArrayView(bytes).sliced(3) : bytes;
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(utf8);
    return decoder.hasError() ? QString::fromLatin1(utf8) : text;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView trimBlanks(QStringView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.mid(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

QStringView withoutSurroundingQuotes(QStringView value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return defaultValue;
    const QString text = decodeIniText(file.readAll());
    const QStringView wantedSection = trimBlanks(section);
    const QStringView wantedKey = trimBlanks(key);

    bool inSection = false;
    for (QStringView line : QStringTokenizer(text, u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        line = trimBlanks(line);
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.lastIndexOf(u']');
            if (close > 0)
                inSection =
                    trimBlanks(line.mid(1, close - 1)).compare(wantedSection, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inSection || equals < 0)
            continue;
        if (trimBlanks(line.left(equals)).compare(wantedKey, Qt::CaseInsensitive) == 0)
            return withoutSurroundingQuotes(trimBlanks(line.mid(equals + 1))).left(maxValueLength).toString();
    }
    return defaultValue;
}

} // namespace platform
