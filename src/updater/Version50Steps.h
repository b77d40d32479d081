#pragma once

#include "platform/Dialect.h"
#include "platform/Statement.h"

#include <QList>
#include <QStringList>

#include <optional>

namespace updater {

// One statement of the 5.0 change as SQL Server takes it, with the commands that bring SQLite or
// PostgreSQL to the same state where they cannot take it: several commands, or none at all.
struct SchemaStep
{
    QString sqlServer;
    std::optional<QStringList> sqlite; // absent: the SQL Server text as it is
    std::optional<QStringList> postgres;

    QStringList commandsFor(platform::Dialect dialect) const;
};

// The query that looks for the version flag; binds PVerID.
platform::Statement flagQuery();

// The flag row (PVerID, PDateTime), then the new columns and tables, in the order they are sent.
const QList<SchemaStep>& upgradeSteps();

// Deletion of every flag row (PVerID), then removal of the added columns and tables, in order.
const QList<SchemaStep>& undoSteps();

} // namespace updater
