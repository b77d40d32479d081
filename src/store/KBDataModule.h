#pragma once

#include "CurrentTask.h"
#include "WorkContext.h"

#include "platform/Connection.h"
#include "platform/DataSet.h"
#include "platform/Query.h"

#include <QObject>
#include <QString>

#include <optional>

// The board program's data module: its one database connection, the result sets and queries
// behind the board, and every statement on tasks and agents. Operations take their inputs from
// the WorkContext, the CurrentTask and SearchCriterion, report their own failures in an error box
// and tell the caller whether they succeeded. Errors while connecting or beginning a transaction
// are raised as platform::DatabaseError for the uncaught-error handler.
class TKBDataModule : public QObject
{
    Q_OBJECT
public:
    // programFolder: the folder of the running program file, where the data-link file lies.
    TKBDataModule(WorkContext& workContext, CurrentTask& currentTask, QString programFolder,
                  QObject* parent = nullptr);

    // The creation step of start-up: connects to the database.
    void DataModuleCreate();
    // Connects through the data-link file in the program folder; raises DatabaseError when the
    // file is there but the database cannot be opened.
    void ConnectDatabase();

    QString UdlFolder() const { return m_udlFolder; }
    bool DbConnected() const { return m_dbConnected; }
    QString StatusText() const { return m_statusText; }

    // Tasks: the result set behind the cards, writes and the reads the board inspects.
    bool FetchItems();
    bool DoInsertKBItem();
    // The number of rows changed (0 when the task is gone), or nothing when the update failed.
    std::optional<int> DoUpdateKanbanItem();
    bool DoDeleteKBItem();
    // Leave the task (or no row) in VLQuery2.
    bool DoFetchSelectedKBItem();
    bool CheckIfTargetExist();

    // Searches replace the cards' result set; an empty criterion lists all ad-hoc or consultant tasks.
    bool DoKBAdHocQuery();
    bool DoKBConsultantQuery();
    bool DoKBPriorityQuery();
    // The consultants of the company; errors are raised, not reported.
    void FetchConsultants();
    // Leave the agent, or the count per board column, in VLQuery.
    bool DoFetchAgent();
    bool GetTaskStatistics();

    // Components, in the order they are created.
    platform::Connection ADOKbConnect;
    platform::DataSet ADOKBDataSet;
    platform::DataSet ADOAgentsInternDataSet;
    platform::Query VLQuery;
    platform::Query VLQuery2;
    platform::DataSet ADOLetterDataSet;

    // The board's search text, set before a search; an empty one becomes "Adhoc" or "Cons".
    QString SearchCriterion;

signals:
    // The cards' result set has a new command: the board's adapter takes ADOKBDataSet again.
    void itemSourceReset();
    // The consultant list has a new command: the board's selector takes ADOAgentsInternDataSet again.
    void consultantSourceReset();
    // A task row was changed through ADOKBDataSet: the statistics are out of date.
    void statisticsRefreshRequested();

public slots:
    void ADOKBDataSetRecordChangeComplete();

private:
    bool openKanbanSearch(const QString& failureMessage, const platform::Statement& statement,
                          const QString& searchPattern);

    WorkContext& m_workContext;
    CurrentTask& m_currentTask;
    const QString m_programFolder;
    QString m_udlFolder;
    bool m_dbConnected = false;
    QString m_statusText;
};
