#include "KanbanStatements.h"

// Runs of blanks and the tab characters are part of the statements as the product writes them.
namespace store::statements {

using platform::Statement;

Statement fetchItems()
{
    return "SELECT  KBGuidKey\t, KBCoId, KBColumnNo, KBTitle, KBText,KBTextBGColor, KBItemExpanded, "
           "KBItemExpandable, \t KBBitMapName, KBMarkerColor, KBMarkerSize,KBTitleColor,KBMarkerTop,"
           "KBConsultName,KBAdhocName,  KBBitmap, KBPriority, KBTitleBackup, KBSortKey  "
           "FROM VL_KANBAN WHERE  KBCoId  = :PCoId Order by KBPriority Asc";
}

Statement insertKBItem()
{
    return "INSERT INTO VL_KANBAN (KBGuidKey, KBCoid, KBColumnNo, KBTitle, KBText, KBTextBGColor, "
           "KBPriority, KBBitmap,KBBitmapName,KBAgentID,KBConsultName,KBAdhocName,       KBPersonType,"
           "KBItemExpanded,KBItemExpandable,KBMarkerColor,      KBMarkerSize,KBTitleColor,KBMarkerTop, "
           "KBTitleBackup, KBSortKey ) VALUES(:PKBGuidKey,:PKBCoId,  :PKBColumnNo,:PKBTitle,:PKBText, "
           ":PKBTextBGColor, :PKBPriority, :PKBBitmap,:PKBBitmapName,:PKBAgentID,:PKBConsultName,"
           ":PKBAdhocName, :PKBPersonType,:PKBItemExpanded,:PKBItemExpandable,:PKBMarkerColor, "
           ":PKBMarkerSize,:PKBTitleColor,:PKBMarkerTop, :PKBTitleBackup, :PKBSortKey ) ";
}

Statement updateKanbanItem()
{
    return " UPDATE VL_KANBAN SET  KBPersonType  = :PKBPersonType, KBConsultName = :PKBConsultName,  "
           "KBAdhocName   = :PKBAdhocName , KBBitmap = :PKBBitmap,  KBBitmapName  = :PKBBitmapName, "
           "KBAgentID  = :PKBAgentID,  KBTitle       = :PKBTitle,     KBText = :PKBText,  "
           "KBTextBGColor = :PKBTextBGColor, KBPriority = :PKBPriority,  KBMarkerColor = :PKBMarkerColor,   "
           "KBTitleColor  = :PKBTitleColor, KBTitleBackup = :PKBTitleBackup,  KBSortKey     = :PKBSortKey  "
           "WHERE  (KBGuidKey = :PKBGuidKey) AND  (KBCoId    = :PKBCoId) ";
}

Statement deleteKBItem()
{
    // SQLite and PostgreSQL know no DELETE without FROM.
    return Statement(" DELETE VL_KANBAN WHERE (KBGuidKey =  :PKBGuidKey ) AND (KBCoId    =  :PKBCoID) ")
        .onSqlite(" DELETE FROM VL_KANBAN WHERE (KBGuidKey =  :PKBGuidKey ) AND (KBCoId    =  :PKBCoID) ")
        .onPostgres(" DELETE FROM VL_KANBAN WHERE (KBGuidKey =  :PKBGuidKey ) AND (KBCoId    =  :PKBCoID) ");
}

Statement fetchSelectedKBItem()
{
    return "SELECT  KBGuidKey, KBCoId, KBColumnNo, KBTitle, KBText,KBTextBGColor, KBItemExpanded, "
           "KBItemExpandable, \t KBBitMapName, KBMarkerColor,KBMarkerSize,KBTitleColor,KBMarkerTop, "
           "KBConsultName, KBAdhocName,  KBBitmap, KBPriority, KBPersonType, KBTitleBackup, KBAgentID, "
           "KBSortKey  FROM VL_KANBAN WHERE  (KBGuidKey = :PKBGuidKey) AND  (KBCoId    = :PKBCoId) ";
}

Statement checkIfTargetExist()
{
    return "SELECT  KBGuidKey, KBCoId, KBColumnNo, KBTitle, KBText,KBTextBGColor, KBItemExpanded, "
           "KBItemExpandable, \t KBBitMapName, KBMarkerColor,KBMarkerSize,KBTitleColor,KBMarkerTop, "
           "KBConsultName, KBAdhocName,  KBBitmap, KBPriority, KBPersonType, KBTitleBackup, KBAgentID  "
           "FROM VL_KANBAN WHERE  (KBGuidKey  = :PKBGuidKey) AND  (KBColumnNo <> :PKBTargetCol) AND  "
           "(KBCoId     = :PKBCoId) ";
}

Statement adHocByName()
{
    return "SELECT  KBGuidKey\t, KBCoId, KBColumnNo, KBTitle, KBText,KBTextBGColor, KBItemExpanded, "
           "KBItemExpandable, \t KBBitMapName, KBMarkerColor, KBMarkerSize,KBTitleColor,KBMarkerTop,"
           "KBConsultName,KBAdhocName,  KBBitmap, KBPriority, KBSortKey  "
           "FROM VL_KANBAN WHERE  (KBCoId      = :PCoId) AND  (KBAdhocName LIKE :PSearchCrit ) ";
}

Statement adHocAll()
{
    return "SELECT  KBGuidKey\t, KBCoId, KBColumnNo, KBTitle, KBText,KBTextBGColor, KBItemExpanded, "
           "KBItemExpandable, \t KBBitMapName, KBMarkerColor, KBMarkerSize,KBTitleColor,KBMarkerTop,"
           "KBConsultName,KBAdhocName,  KBBitmap, KBPriority, KBSortKey  "
           "FROM VL_KANBAN WHERE  (KBCoId      = :PCoId) AND  (KBPersonType  LIKE :PSearchCrit ) ";
}

Statement consultantByName()
{
    return "SELECT  KBGuidKey\t, KBCoId, KBColumnNo, KBTitle, KBText,KBTextBGColor, KBItemExpanded, "
           "KBItemExpandable, \t KBBitMapName, KBMarkerColor, KBMarkerSize,KBTitleColor,KBMarkerTop,"
           "KBConsultName,KBAdhocName,  KBBitmap, KBPriority  "
           "FROM VL_KANBAN WHERE  (KBCoId      = :PCoId) AND  (KBConsultName LIKE :PSearchCrit ) ";
}

Statement consultantAll()
{
    return "SELECT  KBGuidKey\t, KBCoId, KBColumnNo, KBTitle, KBText,KBTextBGColor, KBItemExpanded, "
           "KBItemExpandable, \t KBBitMapName, KBMarkerColor, KBMarkerSize,KBTitleColor,KBMarkerTop,"
           "KBConsultName,KBAdhocName,  KBBitmap, KBPriority  "
           "FROM VL_KANBAN WHERE  (KBCoId      = :PCoId) AND  (KBPersonType  LIKE :PSearchCrit ) ";
}

Statement priorityByPrefix()
{
    return "SELECT  KBGuidKey\t, KBCoId, KBColumnNo, KBTitle, KBText,KBTextBGColor, KBItemExpanded, "
           "KBItemExpandable, \t KBBitMapName, KBMarkerColor, KBMarkerSize,KBTitleColor,KBMarkerTop,"
           "KBConsultName,KBAdhocName,  KBBitmap, KBPriority  "
           "FROM VL_KANBAN WHERE  (KBCoId  = :PCoId ) AND  (KBPriority LIKE :PSearchCrit ) ";
}

Statement consultants()
{
    return " SELECT AgId, AgName, AgCommPerc,AgAdd1, AgTown, AgCounty, AgCountry, AgCoId, AGTypeInd  "
           "FROM VL_AGENTS WHERE  (VL_AGENTS.AgCoId    =  :PCoId ) AND  "
           "(VL_AGENTS.AGTypeInd =  :PAgentInd )  ORDER BY AgName ";
}

Statement fetchAgent()
{
    return " SELECT AgId, AgName,  AgCommPerc,AgAdd1, AgEmail,  AgTown, AgCounty, AgCountry, AgCoId, "
           "AGTypeInd, AgPhoto  FROM VL_AGENTS WHERE  (VL_AGENTS.AgCoId    =  :PCoId ) AND   "
           "(VL_AGENTS.AGId      =  :PAgId)  ORDER BY AgName ";
}

Statement taskStatistics()
{
    return " SELECT KbColumnNo,  COUNT (KbColumnNo) AS TaskCount  FROM VL_KANBAN WHERE   KBCoId = :PCoId  "
           "Group By KbColumnNo  order by KBColumnNo ";
}

} // namespace store::statements
