#pragma once

#include <QString>

namespace platform {

// Reads settings with the semantics of the Windows profile functions: sections and keys
// without regard to case, blanks around a value and one pair of surrounding quotes removed,
// values cut to 2047 characters, commas, backslashes, ';' and '#' inside a value kept.
// A missing file, section or key yields the default.
class IniFile
{
public:
    explicit IniFile(QString path);

    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;

private:
    QString m_path;
};

} // namespace platform
