#pragma once

#include "store/WorkContext.h"

#include <QString>

namespace shell {

inline const QString companySettingsFile = QStringLiteral("IniVelora.ini");
inline const QString gallerySettingsFile = QStringLiteral("ZRVeloraGallery.ini");
inline const QString galleryHomeDefault = QStringLiteral("Path not found. Please define it");

// Reads User, Entity and Company, in that order, from IniVelora.ini in programFolder.
void ReadCompanySettings(const QString& programFolder, WorkContext& workContext);

// The gallery folder prefix from ZRVeloraGallery.ini in programFolder, used as it stands.
QString ReadGallerySettings(const QString& programFolder);

// Whether a company is set: the code with blanks and control characters around it removed is not empty.
bool hasActiveCompany(const WorkContext& workContext);

inline const QString noActiveCompanyText =
    QStringLiteral("No active company is found. Check that a company was selected\rand try again. VK-KANBAN "
                   "will now close.");

} // namespace shell
