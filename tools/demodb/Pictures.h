#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace demodb {

// A consultant's gallery picture: a coloured square with the person's initials. Needs a QGuiApplication.
QImage consultantPicture(const QString& name);

// The neutral person silhouette that stands in for a missing picture.
QImage silhouettePicture();

// Saves an image as a Windows bitmap unless the file already exists; appends the path to created when
// written.
bool saveBitmapIfAbsent(const QImage& image, const QString& path, QStringList* created, QString* error);

// Writes the pictures of the demo consultants whose photo is a bitmap into folder, keeping files already
// there.
bool writeConsultantPictures(const QString& folder, QStringList* created, QString* error);

} // namespace demodb
