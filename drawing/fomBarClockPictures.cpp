#include "core/fomBarClock.h"
#include "platform/MessageBox.h"
#include "platform/PictureLoader.h"

void fomBarClock::PictureRead() {
    SettingRecord& s = m_setting;
    const auto load = [this](const QString& path) { return m_platform.pictures.load(path); };

    if (s.BackName.isEmpty() || s.BackType == 0) {
        picBack = picOBack;
        s.BackType = 0;
    } else if (const auto picture = load(s.BackName)) {
        // Opaque, so the bar's block copies need no blending.
        picBack = picture->convertToFormat(QImage::Format_RGB32);
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
    const auto frame1 = load(s.CharName1);
    if (!frame1) {
        useBuiltInCharacter();
        m_platform.messages.exclamation(
            QStringLiteral("ｷｬﾗｸﾀﾌｧｲﾙの[") + s.CharName1 +
            QStringLiteral("]が読めないので[牛（ルッコラ）]を使用します"));
        return;
    }
    picCursor[0] = *frame1;

    if (s.CharName2.isEmpty()) {
        picCursor[1] = picCursor[0];
        return;
    }
    if (const auto frame2 = load(s.CharName2)) {
        picCursor[1] = *frame2;
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
