#include <QImageReader>

#include "platform/PictureLoader.h"

std::optional<QImage> QtPictureLoader::load(const QString& path) const {
    if (path.isEmpty()) return std::nullopt;
    QImageReader reader(path);
    // Refused before decoding, so a huge picture costs no memory.
    const QSize size = reader.size();
    if (size.width() > kLargestPictureSide || size.height() > kLargestPictureSide)
        return std::nullopt;
    // Several pictures in one icon: the first is the one meant for the bar.
    QImage image = reader.read();
    if (image.isNull()) return std::nullopt;
    // As read: the clock converts it once, to the form it keeps.
    return image;
}
