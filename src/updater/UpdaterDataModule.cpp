#include "UpdaterDataModule.h"

#include "StatusPanels.h"
#include "UpdaterWindow.h"
#include "Version50Steps.h"

#include "platform/DataLink.h"
#include "platform/Dialogs.h"
#include "platform/Transactions.h"
#include "platform/UncaughtErrors.h"

#include <QFileInfo>

namespace updater {

namespace {

// Binds the version flag's parameters wherever the statement has them.
void bindVersionParameters(platform::Query& query, const QString& versionId, const QDateTime& appliedAt)
{
    for (const QString& name : query.parameterNames()) {
        if (name.compare(QLatin1String("PVerID"), Qt::CaseInsensitive) == 0)
            query.setParam(name, versionId, platform::ParamType::Text);
        else if (name.compare(QLatin1String("PDateTime"), Qt::CaseInsensitive) == 0)
            query.setParam(name, appliedAt, platform::ParamType::DateTime);
    }
}

} // namespace

TVLDataMod::TVLDataMod(TfrmUpdater& window, const QString& programFolder)
    : m_window(window), m_programFolder(programFolder)
{
    platform::runReportingErrors([this] { DataModuleCreate(); });
}

void TVLDataMod::DataModuleCreate()
{
    ConnectDatabase();
    m_window.stStatus()->setPanelText(0, m_statusText);
}

void TVLDataMod::ConnectDatabase()
{
    m_connection.setConnectionString(QString());
    m_statusText.clear();
    m_udlFolder.clear();

    // The program's own folder, never the working folder.
    m_udlFolder = platform::dataLinkFolder(m_programFolder);
    const QString dataLinkPath = m_udlFolder + platform::dataLinkFileName;
    if (QFileInfo(dataLinkPath).isFile()) {
        m_connection.setConnectionString(QStringLiteral("File Name=") + dataLinkPath);
        m_connection.open();
        m_statusText = QStringLiteral("DB connection OK - ") + dataLinkPath;
        m_connection.open();
    } else {
        showMissingDataLinkBox();
        m_statusText = QStringLiteral("DB connection failed - UDL file not found. Also check UDLKEY path ");
    }
}

void TVLDataMod::showMissingDataLinkBox()
{
    platform::BoxRequest box;
    box.kind = platform::BoxKind::Error;
    box.title = QStringLiteral("UDL file not found");
    box.text =
        QStringList{
            QStringLiteral("The UDL datalink file: ZRVelora.udl is not found"),
            QStringLiteral("in the application directory: ") + m_udlFolder + QLatin1Char(' '),
            QStringLiteral("Make sure that name is correctly spelt and that the file exist."),
            QStringLiteral(" "),
            QStringLiteral("THE DB UPDATER MUST BE EXECUTED FROM THE FOLDER WHERE VELORA IS INSTALLED."),
        }
            .join(QLatin1Char('\r'));
    box.owner = &m_window;
    platform::Dialogs::show(box);
}

void TVLDataMod::ReadUpdateFlag()
{
    m_query.clear();
    m_query.setText(flagQuery());
    m_query.setParam(QStringLiteral("PVerID"), m_window.VersionId(), platform::ParamType::Text);
    platform::runInTransaction(m_connection, QStringLiteral("Cannot Find Velora Update Flag : Details\r"),
                               [this] { m_query.execSQL(); });
}

void TVLDataMod::ApplyDatabaseUpdates()
{
    const QDateTime appliedAt = QDateTime::currentDateTime();
    if (platform::runInTransaction(m_connection,
                                   QStringLiteral("DB Update error ..... Rolling Back. Details: \r"),
                                   [&] { runSteps(upgradeSteps(), appliedAt); }))
        platform::Dialogs::information(
            QStringLiteral("Database Updates SUCCESSFULLY COMPLETED...\r Click OK to finish."), &m_window);
    m_window.unsetCursor();
}

void TVLDataMod::UndoDatabaseUpdates()
{
    if (platform::runInTransaction(
            m_connection, QStringLiteral("DB error in undoing updates ..... Rolling Back. Details: \r"),
            [&] { runSteps(undoSteps(), QDateTime()); }))
        platform::Dialogs::information(QStringLiteral("Database Updates have been UNDONE...\r"), &m_window);
    m_window.unsetCursor();
}

// Every command goes on its own, the query's text cleared and replaced each time; the first
// failure ends the run, leaving the rest unsent.
void TVLDataMod::runSteps(const QList<SchemaStep>& steps, const QDateTime& appliedAt)
{
    const platform::Dialect dialect = m_connection.dialect();
    for (const SchemaStep& step : steps) {
        for (const QString& command : step.commandsFor(dialect)) {
            m_query.clear();
            m_query.setText(platform::Statement(command));
            bindVersionParameters(m_query, m_window.VersionId(), appliedAt);
            m_query.execSQL();
        }
    }
}

} // namespace updater
