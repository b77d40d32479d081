#pragma once

#include <QString>

#include <stdexcept>

class QSqlError;

namespace platform {

// Raised by the database layer; what() carries the database's own message text.
class DatabaseError : public std::runtime_error
{
public:
    explicit DatabaseError(const QString& text) : std::runtime_error(text.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
};

// The database's message for an error, with the driver's words only where they add something.
QString sqlErrorText(const QSqlError& error);

} // namespace platform
