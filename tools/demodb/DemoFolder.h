#pragma once

#include <QString>
#include <QStringList>

namespace demodb {

// File names of the demo folder, as the programs look for them next to their program file.
inline constexpr char kDemoDatabaseFile[] = "VeloraDemo.db";
inline constexpr char kCompanySettingsFile[] = "IniVelora.ini";
inline constexpr char kGallerySettingsFile[] = "ZRVeloraGallery.ini";
inline constexpr char kGalleryFolder[] = "gallery";
inline constexpr char kFallbackPicture[] = "people2.bmp";

// Lays out a folder the programs can run from: demo database, data-link file, settings files, gallery and
// fallback picture. Creates only what is missing and never overwrites a file; lists what it created.
bool layOutDemoFolder(const QString& folder, QStringList* created, QString* error);

} // namespace demodb
