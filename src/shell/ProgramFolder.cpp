#include "ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

namespace shell {

QString programFilePath()
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QString programFolder()
{
    return QFileInfo(programFilePath()).absolutePath() + QDir::separator();
}

} // namespace shell
