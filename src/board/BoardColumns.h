#pragma once

#include <QColor>
#include <QString>

#include <array>

namespace board {

struct BoardColumn
{
    int number; // the KBColumnNo of the tasks it shows
    QString header;
    QColor headerFill;
};

// The four columns, by position; a task's KBColumnNo is its column's position.
inline const std::array<BoardColumn, 4> boardColumns{{
    {0, QStringLiteral("To Do"), QColor(55, 155, 255)},
    {1, QStringLiteral("Doing"), QColor(0, 234, 117)},
    {2, QStringLiteral("Waiting"), QColor(255, 128, 66)},
    {3, QStringLiteral("Complete"), QColor(255, 62, 62)},
}};

} // namespace board
