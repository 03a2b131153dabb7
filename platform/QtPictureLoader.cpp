#include <QImageReader>

#include "platform/PictureLoader.h"

std::optional<QImage> QtPictureLoader::load(const QString& path) const {
    if (path.isEmpty()) return std::nullopt;
    QImageReader reader(path);
    // Several pictures in one icon: the first is the one meant for the bar.
    QImage image = reader.read();
    if (image.isNull()) return std::nullopt;
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}
