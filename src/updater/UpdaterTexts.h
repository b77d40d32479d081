#pragma once

#include <QString>
#include <QStringList>

namespace updater {

// What the window says about the updater, line by line.
QStringList introductionLines();
QStringList warningLines();

// The questions asked before a change; their lines are joined by a carriage return.
QString updateQuestion(const QString& versionId);
QString undoQuestion(const QString& versionId);

} // namespace updater
