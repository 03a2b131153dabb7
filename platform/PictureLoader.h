#pragma once

#include <QImage>
#include <QString>
#include <optional>

// The bar's geometry counts in 16 bits, so no picture may be wider or taller.
inline constexpr int kLargestPictureSide = 32767;

// Pictures from files: bitmaps, icons with transparency, and whatever else Qt reads.
class PictureLoader {
public:
    virtual ~PictureLoader() = default;
    // nullopt for an empty path, a missing, unreadable or foreign file, a folder, or a picture
    // that says it is larger than kLargestPictureSide.
    virtual std::optional<QImage> load(const QString& path) const = 0;
};

class QtPictureLoader final : public PictureLoader {
public:
    std::optional<QImage> load(const QString& path) const override;
};
