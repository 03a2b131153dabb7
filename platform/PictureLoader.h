#pragma once

#include <QImage>
#include <QString>
#include <optional>

// Pictures from files: bitmaps, icons with transparency, and whatever else Qt reads.
class PictureLoader {
public:
    virtual ~PictureLoader() = default;
    // nullopt for an empty path, a missing, unreadable or foreign file, or a folder.
    virtual std::optional<QImage> load(const QString& path) const = 0;
};

class QtPictureLoader final : public PictureLoader {
public:
    std::optional<QImage> load(const QString& path) const override;
};
