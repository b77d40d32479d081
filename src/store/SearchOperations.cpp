#include "KanbanStatements.h"
#include "KBDataModule.h"

#include "platform/Transactions.h"

namespace statements = store::statements;
using platform::ParamType;

bool TKBDataModule::DoKBAdHocQuery()
{
    const QString failure = QStringLiteral("DoKBAdHocQuery - Failed,  Detils: ");
    ADOKBDataSet.close();
    if (!SearchCriterion.isEmpty())
        return openKanbanSearch(failure, statements::adHocByName(), SearchCriterion + QLatin1Char('%'));
    SearchCriterion = QStringLiteral("Adhoc");
    return openKanbanSearch(failure, statements::adHocAll(), SearchCriterion);
}

bool TKBDataModule::DoKBConsultantQuery()
{
    const QString failure = QStringLiteral("DoKBConsultantQuery: -  Failed,  Detils: ");
    ADOKBDataSet.close();
    if (!SearchCriterion.isEmpty())
        return openKanbanSearch(failure, statements::consultantByName(), SearchCriterion + QLatin1Char('%'));
    SearchCriterion = QStringLiteral("Cons");
    return openKanbanSearch(failure, statements::consultantAll(), SearchCriterion);
}

bool TKBDataModule::DoKBPriorityQuery()
{
    ADOKBDataSet.close();
    return openKanbanSearch(QStringLiteral("DoKBPriorityQuery; -  Failed,  Detils: "),
                            statements::priorityByPrefix(), SearchCriterion + QLatin1Char('%'));
}

// The criterion goes into the match unchanged, so its pattern characters act as patterns.
bool TKBDataModule::openKanbanSearch(const QString& failureMessage, const platform::Statement& statement,
                                     const QString& searchPattern)
{
    return platform::runReportingFailure(failureMessage, [&] {
        ADOKBDataSet.command().setText(statement);
        emit itemSourceReset();
        ADOKBDataSet.command().setParam(QStringLiteral("PCoId"), m_workContext.CompanyCode, ParamType::Text);
        ADOKBDataSet.command().setParam(QStringLiteral("PSearchCrit"), searchPattern, ParamType::Text);
        ADOKBDataSet.open();
    });
}

void TKBDataModule::FetchConsultants()
{
    ADOAgentsInternDataSet.close();
    emit consultantSourceReset();
    ADOAgentsInternDataSet.command().setText(statements::consultants());
    ADOAgentsInternDataSet.command().setParam(QStringLiteral("PCoId"), m_workContext.CompanyCode,
                                              ParamType::Text);
    ADOAgentsInternDataSet.command().setParam(QStringLiteral("PAgentind"), QStringLiteral("IN"),
                                              ParamType::Text);
    ADOAgentsInternDataSet.open();
}

// The reads below hold their rows in VLQuery once they succeed; the board reads them from there.

bool TKBDataModule::DoFetchAgent()
{
    VLQuery.setText(statements::fetchAgent());
    VLQuery.setParam(QStringLiteral("PCoId"), m_workContext.CompanyCode, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PAgId"), m_currentTask.AgentID, ParamType::Text);
    return platform::runInTransaction(
        ADOKbConnect, QStringLiteral("Problem while fetching agent : Details\r"), [this] { VLQuery.open(); });
}

bool TKBDataModule::GetTaskStatistics()
{
    VLQuery.setText(statements::taskStatistics());
    VLQuery.setParam(QStringLiteral("PCoId"), m_workContext.CompanyCode, ParamType::Text);
    return platform::runInTransaction(
        ADOKbConnect, QStringLiteral("GetTaskStatistics:  Problem while KB Task Stats : Details\r"),
        [this] { VLQuery.open(); });
}
