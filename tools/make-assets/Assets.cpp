#include "Assets.h"

#include <QDir>
#include <QSaveFile>

#include "AppIcon.h"
#include "BitmapWriter.h"
#include "Drawings.h"
#include "IconWriter.h"
#include "Sounds.h"
#include "WaveWriter.h"

namespace {

QString save(const QDir& folder, const QString& name, const QByteArray& bytes) {
    QSaveFile file(folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("%1: %2").arg(file.fileName(), file.errorString());
    return {};
}

}  // namespace

QString writeAssets(const QString& folder) {
    const QDir dir(folder);
    if (!dir.exists()) return QStringLiteral("%1: no such folder").arg(folder);
    const std::pair<QString, QByteArray> files[] = {
        {"alps.bmp", encodeBmp4(drawAlps())},
        {"cow0.ico", encodeIco4(drawCow(CowPose::HeadUp, true))},
        {"cow1.ico", encodeIco4(drawCow(CowPose::HeadDown, true))},
        {"pose0.ico", encodeIco4(drawCow(CowPose::HeadUp, false))},
        {"pose1.ico", encodeIco4(drawCow(CowPose::HeadDown, false))},
        {"pose2.ico", encodeIco4(drawCow(CowPose::EyesClosed, false))},
        {"tray.ico", encodeIco4(drawTrayClock())},
        {"note.ico", encodeIco4(drawNote())},
        {"Tolla.wav", encodeWav16(synthAlarm(), kSampleRate)},
        {"Gongo.wav", encodeWav16(synthChime(), kSampleRate)},
        {"Default.wav", encodeWav16(synthDefault(), kSampleRate)},
    };
    for (const auto& [name, bytes] : files) {
        const QString error = save(dir, name, bytes);
        if (!error.isEmpty()) return error;
    }
    if (!dir.mkpath(QStringLiteral("icons")))
        return QStringLiteral("%1/icons: cannot make it").arg(folder);
    for (const int size : kAppIconSizes) {
        const QString error = save(dir, QStringLiteral("icons/quillon-%1.png").arg(size),
                                   encodePng(drawAppIcon(size)));
        if (!error.isEmpty()) return error;
    }
    return {};
}
