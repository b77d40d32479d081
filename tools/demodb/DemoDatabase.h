#pragma once

#include <QSqlDatabase>
#include <QString>

namespace demodb {

enum class Content
{
    Tables,
    Demo
};

// Creates the Velora tables on an open, empty SQLite or PostgreSQL database and, for Content::Demo,
// fills them, all in one transaction: on failure nothing is left behind.
bool buildDatabase(QSqlDatabase& db, Content content, QString* error);

} // namespace demodb
