#include "KanbanStatements.h"
#include "KBDataModule.h"

#include "platform/Transactions.h"

namespace statements = store::statements;
using platform::ParamType;

bool TKBDataModule::FetchItems()
{
    ADOKBDataSet.close();
    return platform::runReportingFailure(
        QStringLiteral("FetchItems - Failed, Check Image in Agents,  Details: "), [this] {
            ADOKBDataSet.command().setText(statements::fetchItems());
            emit itemSourceReset();
            ADOKBDataSet.command().setParam(QStringLiteral("PCoId"), m_workContext.CompanyCode,
                                            ParamType::Text);
            ADOKBDataSet.open();
        });
}

bool TKBDataModule::DoInsertKBItem()
{
    const CurrentTask& task = m_currentTask;
    VLQuery.setText(statements::insertKBItem());
    VLQuery.setParam(QStringLiteral("PKBGuidKey"), task.NewGuidKey, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBCoID"), m_workContext.CompanyCode, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBColumnNo"), task.ColumnNo, ParamType::Integer);
    VLQuery.setParam(QStringLiteral("PKBTitle"), task.Title, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBText"), task.Text, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBTextBGColor"), task.TextBGColor, ParamType::Integer);
    VLQuery.setParam(QStringLiteral("PKBPriority"), task.Priority, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBBitmap"), task.Bitmap, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBBitmapName"), task.BitmapName, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBAgentID"), task.AgentID, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBConsultName"), task.ConsultName, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBAdhocName"), task.AdhocName, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBPersonType"), task.PersonType, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBItemExpanded"), task.ItemExpanded, ParamType::Boolean);
    VLQuery.setParam(QStringLiteral("PKBItemExpandable"), task.ItemExpandable, ParamType::Boolean);
    VLQuery.setParam(QStringLiteral("PKBMarkerColor"), task.MarkerColor, ParamType::Integer);
    VLQuery.setParam(QStringLiteral("PKBMarkerSize"), task.MarkerSize, ParamType::Integer);
    VLQuery.setParam(QStringLiteral("PKBTitleColor"), task.TitleColor, ParamType::Integer);
    VLQuery.setParam(QStringLiteral("PKBMarkerTop"), task.MarkerTop, ParamType::Integer);
    VLQuery.setParam(QStringLiteral("PKBTitleBackup"), task.TitleBackup, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBSortKey"), task.SortKey, ParamType::Integer);
    return platform::runInTransaction(ADOKbConnect, QStringLiteral("Problem inserting KB TASK : Details\r"),
                                      [this] { VLQuery.execSQL(); });
}

std::optional<int> TKBDataModule::DoUpdateKanbanItem()
{
    const CurrentTask& task = m_currentTask;
    VLQuery.setText(statements::updateKanbanItem());
    VLQuery.setParam(QStringLiteral("PKBGuidKey"), task.SelectedGuidKey, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBCoID"), m_workContext.CompanyCode, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBBitmap"), task.Bitmap, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBBitmapName"), task.BitmapName, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBAgentID"), task.AgentID, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBPersonType"), task.PersonType, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBConsultName"), task.ConsultName, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBAdhocName"), task.AdhocName, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBTitle"), task.Title, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBText"), task.Text, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBTextBGColor"), task.TextBGColor, ParamType::Integer);
    VLQuery.setParam(QStringLiteral("PKBPriority"), task.Priority, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBMarkerColor"), task.MarkerColor, ParamType::Integer);
    VLQuery.setParam(QStringLiteral("PKBTitleColor"), task.TitleColor, ParamType::Integer);
    VLQuery.setParam(QStringLiteral("PKBTitleBackup"), task.TitleBackup, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBSortKey"), task.SortKey, ParamType::Integer);
    int changed = 0;
    if (!platform::runInTransaction(
            ADOKbConnect, QStringLiteral("DoUpdateKanbanItem: Problem updating - KB TASK : Details\r"),
            [&] { changed = VLQuery.execSQL(); }))
        return std::nullopt;
    return changed;
}

bool TKBDataModule::DoDeleteKBItem()
{
    VLQuery.setText(statements::deleteKBItem());
    VLQuery.setParam(QStringLiteral("PKBGuidKey"), m_currentTask.SelectedGuidKey, ParamType::Text);
    VLQuery.setParam(QStringLiteral("PKBCoID"), m_workContext.CompanyCode, ParamType::Text);
    return platform::runInTransaction(ADOKbConnect,
                                      QStringLiteral("DoDeleteKBItem: Problem deleting KB TASK : Details\r"),
                                      [this] { VLQuery.execSQL(); });
}

// The reads below hold their rows in VLQuery2 once they succeed; the board reads them from there.

bool TKBDataModule::DoFetchSelectedKBItem()
{
    VLQuery2.setText(statements::fetchSelectedKBItem());
    VLQuery2.setParam(QStringLiteral("PKBGuidKey"), m_currentTask.SelectedGuidKey, ParamType::Text);
    VLQuery2.setParam(QStringLiteral("PKBCoID"), m_workContext.CompanyCode, ParamType::Text);
    return platform::runInTransaction(
        ADOKbConnect,
        QStringLiteral("DoFetchSelectedKBItem: Problem fetching for edit - KB TASK : Details\r"),
        [this] { VLQuery2.open(); });
}

bool TKBDataModule::CheckIfTargetExist()
{
    VLQuery2.setText(statements::checkIfTargetExist());
    VLQuery2.setParam(QStringLiteral("PKBGuidKey"), m_currentTask.SelectedGuidKey, ParamType::Text);
    VLQuery2.setParam(QStringLiteral("PKBCoID"), m_workContext.CompanyCode, ParamType::Text);
    VLQuery2.setParam(QStringLiteral("PKBTargetCol"), m_currentTask.TargetColumnNo, ParamType::Integer);
    return platform::runInTransaction(ADOKbConnect,
                                      QStringLiteral("CheckIfTargetExist  - Drag KB TASK : Details\r"),
                                      [this] { VLQuery2.open(); });
}
