#include "Pictures.h"

#include "DemoContent.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace demodb {

namespace {

constexpr int kPictureSize = 64;

QString initialsOf(const QString& name)
{
    QString initials;
    for (const QString& part : name.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        initials += part.front().toUpper();
    return initials.left(2);
}

QColor colourFor(const QString& name)
{
    // Same name, same colour, spread round the colour wheel.
    const int hue = static_cast<int>(qHash(name, 7u) % 360u);
    return QColor::fromHsv(hue, 150, 190);
}

} // namespace

QImage consultantPicture(const QString& name)
{
    QImage image(kPictureSize, kPictureSize, QImage::Format_RGB32);
    image.fill(colourFor(name));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(26);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(image.rect(), Qt::AlignCenter, initialsOf(name));
    return image;
}

QImage silhouettePicture()
{
    QImage image(kPictureSize, kPictureSize, QImage::Format_RGB32);
    image.fill(QColor(0xE4, 0xE7, 0xEB));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x8A, 0x93, 0x9E));
    painter.drawEllipse(QRectF(20, 8, 24, 24));
    QPainterPath shoulders;
    shoulders.moveTo(8, 64);
    shoulders.cubicTo(8, 40, 20, 36, 32, 36);
    shoulders.cubicTo(44, 36, 56, 40, 56, 64);
    shoulders.closeSubpath();
    painter.drawPath(shoulders);
    return image;
}

bool saveBitmapIfAbsent(const QImage& image, const QString& path, QStringList* created, QString* error)
{
    if (QFileInfo::exists(path))
        return true;
    if (!image.save(path, "BMP")) {
        if (error)
            *error = QStringLiteral("Cannot write %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    if (created)
        created->append(path);
    return true;
}

bool writeConsultantPictures(const QString& folder, QStringList* created, QString* error)
{
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("Cannot create the folder %1").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    const QDir dir(QDir(folder).absolutePath());
    for (const DemoAgent& consultant : consultantsWithPictures()) {
        if (!saveBitmapIfAbsent(consultantPicture(consultant.name), dir.filePath(consultant.photo), created,
                                error))
            return false;
    }
    return true;
}

} // namespace demodb
