#include "CompanySettings.h"

#include "platform/IniFile.h"
#include "platform/TextTrim.h"

namespace shell {

void ReadCompanySettings(const QString& programFolder, WorkContext& workContext)
{
    const platform::IniFile ini(programFolder + companySettingsFile);
    workContext.UserId = ini.readString(QStringLiteral("USERID"), QStringLiteral("User"), QString());
    workContext.Entity = ini.readString(QStringLiteral("SELENTITY"), QStringLiteral("Entity"), QString());
    workContext.CompanyCode =
        ini.readString(QStringLiteral("SELCOMPANY"), QStringLiteral("Company"), QString());
}

QString ReadGallerySettings(const QString& programFolder)
{
    const platform::IniFile ini(programFolder + gallerySettingsFile);
    return ini.readString(QStringLiteral("ZRVELORA GALLERY"), QStringLiteral("ZRVLGALLERYHOME"),
                          galleryHomeDefault);
}

bool hasActiveCompany(const WorkContext& workContext)
{
    return !platform::trimmed(workContext.CompanyCode).isEmpty();
}

} // namespace shell
