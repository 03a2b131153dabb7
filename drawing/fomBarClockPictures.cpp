#include "core/fomBarClock.h"
#include "platform/MessageBox.h"
#include "platform/PictureLoader.h"

namespace {

// The picture in the one form the clock keeps, converted in place where Qt can; nullopt when it
// is too large for the bar or the conversion fails (a null image, as when memory runs out).
std::optional<QImage> usable(std::optional<QImage> loaded, QImage::Format format) {
    if (!loaded) return std::nullopt;
    if (loaded->width() > kLargestPictureSide || loaded->height() > kLargestPictureSide)
        return std::nullopt;
    QImage picture = std::move(*loaded).convertToFormat(format);
    if (picture.isNull()) return std::nullopt;
    return picture;
}

}  // namespace

void fomBarClock::PictureRead() {
    SettingRecord& s = m_setting;
    // Opaque backgrounds, so the bar's block copies need no blending; frames keep transparency.
    const auto load = [this](const QString& path, QImage::Format format) {
        return usable(m_platform.pictures.load(path), format);
    };
    const auto loadFrame = [&](const QString& path) {
        return load(path, QImage::Format_ARGB32_Premultiplied);
    };

    if (s.BackName.isEmpty() || s.BackType == 0) {
        picBack = picOBack;
        s.BackType = 0;
    } else if (auto picture = load(s.BackName, QImage::Format_RGB32)) {
        picBack = std::move(*picture);
    } else {
        picBack = picOBack;
        s.BackType = 0;
        m_platform.messages.exclamation(
            QStringLiteral("背景ﾌｧｲﾙの[") + s.BackName +
            QStringLiteral("]が読めないので[アルプス高原]を使用します"));
    }

    const auto useBuiltInCharacter = [&] {
        picCursor = picOCursor;
        s.CharType = 0;
    };
    if (s.CharName1.isEmpty() || s.CharType == 0) {
        useBuiltInCharacter();
        return;
    }
    auto frame1 = loadFrame(s.CharName1);
    if (!frame1) {
        useBuiltInCharacter();
        m_platform.messages.exclamation(
            QStringLiteral("ｷｬﾗｸﾀﾌｧｲﾙの[") + s.CharName1 +
            QStringLiteral("]が読めないので[牛（ルッコラ）]を使用します"));
        return;
    }
    picCursor[0] = std::move(*frame1);

    if (s.CharName2.isEmpty()) {
        picCursor[1] = picCursor[0];
        return;
    }
    if (auto frame2 = loadFrame(s.CharName2)) {
        picCursor[1] = std::move(*frame2);
        return;
    }
    picCursor[1] = picCursor[0];
    const QString failed = s.CharName2;
    s.CharName2.clear();
    m_platform.messages.exclamation(QStringLiteral("ｷｬﾗｸﾀﾌｧｲﾙの[") + failed +
                                    QStringLiteral("]が読めません"));
}

void fomBarClock::PicLoad() {
    PictureRead();
    ResizeAllNew();
    AddMemori();
    CursorPara();
    LastDrawnMinute = -1;
}
