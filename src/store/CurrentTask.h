#pragma once

#include <QString>

// The task the board is working on. The board fills it; the store's operations read it
// (one field per VL_KANBAN column, plus the keys of the selected and the new task,
// the column a card is dropped into and the consultant's e-mail address).
struct CurrentTask
{
    QString NewGuidKey;
    QString SelectedGuidKey;
    int ColumnNo = 0;
    int TargetColumnNo = 0;
    QString Title;
    QString TitleBackup;
    QString Text;
    int TextBGColor = 0;
    QString Priority;
    QString Bitmap;
    QString BitmapName;
    QString AgentID;
    QString ConsultName;
    QString AdhocName;
    QString PersonType;
    bool ItemExpanded = false;
    bool ItemExpandable = false;
    int MarkerColor = 0;
    int MarkerSize = 0;
    int TitleColor = 0;
    int MarkerTop = 0;
    int SortKey = 0;
    QString AgentEmail;
};
