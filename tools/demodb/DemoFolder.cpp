#include "DemoFolder.h"

#include "DemoContent.h"
#include "DemoDatabase.h"
#include "Pictures.h"

#include "platform/DataLink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QUuid>

namespace demodb {

namespace {

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// Builds under a temporary name and renames, so a failed run never leaves a half-filled database
// that a later run would then keep.
bool createDemoDatabase(const QString& path, QString* error)
{
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    const QString connectionName =
        QStringLiteral("demodb-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool built = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setDatabaseName(partial);
        if (db.open())
            built = buildDatabase(db, Content::Demo, error);
        else
            setError(error, db.lastError().text());
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    if (built && QFile::rename(partial, path))
        return true;
    if (built)
        setError(error, QStringLiteral("Cannot create %1").arg(QDir::toNativeSeparators(path)));
    QFile::remove(partial);
    return false;
}

bool writeTextIfAbsent(const QString& path, const QString& text, QStringList* created, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (file.exists())
            return true;
        setError(
            error,
            QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        setError(
            error,
            QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
        file.remove();
        return false;
    }
    created->append(path);
    return true;
}

QString demoInitString()
{
    return QStringLiteral("Provider=MSDASQL.1;Persist Security Info=False;"
                          "Extended Properties=\"Driver=SQLite3 ODBC Driver;Database=%1\"")
        .arg(QLatin1String(kDemoDatabaseFile));
}

} // namespace

bool layOutDemoFolder(const QString& folder, QStringList* created, QString* error)
{
    QStringList ignored;
    if (!created)
        created = &ignored;
    const QDir dir(folder);
    if (!QDir().mkpath(dir.absolutePath())) {
        setError(error, QStringLiteral("Cannot create the folder %1").arg(QDir::toNativeSeparators(folder)));
        return false;
    }

    const QString database = dir.absoluteFilePath(QLatin1String(kDemoDatabaseFile));
    if (!QFileInfo::exists(database)) {
        if (!createDemoDatabase(database, error))
            return false;
        created->append(database);
    }

    const QString dataLink = dir.absoluteFilePath(platform::dataLinkFileName);
    if (!QFileInfo::exists(dataLink)) {
        if (!platform::writeDataLinkFile(dataLink, demoInitString(), error))
            return false;
        created->append(dataLink);
    }

    const QString companySettings = QStringLiteral("[USERID]\nUser=demo\n\n"
                                                   "[SELENTITY]\nEntity=VELORA\n\n"
                                                   "[SELCOMPANY]\nCompany=%1\n")
                                        .arg(QLatin1String(kDemoCompany));
    if (!writeTextIfAbsent(dir.absoluteFilePath(QLatin1String(kCompanySettingsFile)), companySettings,
                           created, error))
        return false;

    const QString gallery = dir.absoluteFilePath(QLatin1String(kGalleryFolder));
    const QString gallerySettings = QStringLiteral("[ZRVELORA GALLERY]\nZRVLGALLERYHOME=%1\n")
                                        .arg(QDir::toNativeSeparators(gallery + QLatin1Char('/')));
    if (!writeTextIfAbsent(dir.absoluteFilePath(QLatin1String(kGallerySettingsFile)), gallerySettings,
                           created, error))
        return false;

    return writeConsultantPictures(gallery, created, error) &&
           saveBitmapIfAbsent(silhouettePicture(), dir.absoluteFilePath(QLatin1String(kFallbackPicture)),
                              created, error);
}

} // namespace demodb
