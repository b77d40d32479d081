#pragma once

#include "platform/Connection.h"
#include "platform/Query.h"

#include <QDateTime>
#include <QString>

namespace updater {

struct SchemaStep;
class TfrmUpdater;

// The updater's data module: its one connection and query, the connection made while it is
// created, and the three operations of the 5.0 change. The window must exist first: the
// connection outcome goes into its status bar and it owns the box about a missing data-link file.
class TVLDataMod
{
public:
    // Creation connects; an error there is reported as uncaught and creation completes.
    // programFolder is where the data-link file is looked for: the running program's folder.
    TVLDataMod(TfrmUpdater& window, const QString& programFolder);
    TVLDataMod(const TVLDataMod&) = delete;
    TVLDataMod& operator=(const TVLDataMod&) = delete;

    // Leaves VLQuery holding the flag query with PVerID bound, after probing it once in a
    // transaction of its own; a failed probe is reported, not raised.
    void ReadUpdateFlag();
    // Each runs in one transaction, rolled back whole on any error, and reports its outcome.
    void ApplyDatabaseUpdates();
    void UndoDatabaseUpdates();

    platform::Connection& ADOConnection() { return m_connection; }
    platform::Query& VLQuery() { return m_query; }

    const QString& StatusText() const { return m_statusText; }
    const QString& UdlFolder() const { return m_udlFolder; }

private:
    void DataModuleCreate();
    void ConnectDatabase();
    void showMissingDataLinkBox();
    void runSteps(const QList<SchemaStep>& steps, const QDateTime& appliedAt);

    TfrmUpdater& m_window;
    const QString m_programFolder;
    platform::Connection m_connection;
    platform::Query m_query{m_connection};
    QString m_statusText;
    QString m_udlFolder;
};

} // namespace updater
