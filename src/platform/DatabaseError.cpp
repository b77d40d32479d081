#include "DatabaseError.h"

#include <QSqlError>

namespace platform {

QString sqlErrorText(const QSqlError& error)
{
    const QString database = error.databaseText().trimmed();
    const QString driver = error.driverText().trimmed();
    if (database.isEmpty())
        return driver;
    if (driver.isEmpty() || database.contains(driver))
        return database;
    return database + QLatin1Char(' ') + driver;
}

} // namespace platform
