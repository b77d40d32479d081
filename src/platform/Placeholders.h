#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// A statement with its ":Name" placeholders replaced by positional '?' markers.
struct PositionalStatement
{
    QString text;
    QStringList placeholders; // the names, one per marker, in order of appearance
};

// Finds ":Name" placeholders outside quoted literals; "::" (a PostgreSQL cast) is not one.
PositionalStatement toPositional(const QString& statement);

} // namespace platform
