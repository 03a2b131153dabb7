// Peak memory of the clock starting with a large user background: a 5000 × 6000 bitmap of
// 8 bits per pixel (30 MB as stored, 120 MB at 32 bits). Run: quillon-picture-memory [W H]
#include <sys/resource.h>

#include <QApplication>
#include <QDataStream>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <random>

#include "core/fomBarClock.h"
#include "platform/fake/Fakes.h"
#include "tests/ClockProbe.h"

namespace {

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Written row by row, so that making the file does not raise the peak being measured.
bool writeIndexedBitmap(const QString& path, quint32 width, quint32 height) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 rowBytes = (width + 3) / 4 * 4;
    const quint32 headers = 14 + 40 + 256 * 4;
    out.writeRawData("BM", 2);
    out << quint32(headers + rowBytes * height) << quint32(0) << quint32(headers);
    out << quint32(40) << qint32(width) << qint32(height) << quint16(1) << quint16(8) << quint32(0)
        << quint32(rowBytes * height) << qint32(3780) << qint32(3780) << quint32(256) << quint32(0);
    for (quint32 i = 0; i < 256; ++i)
        out << quint8(i) << quint8(255 - i) << quint8(i / 2) << quint8(0);
    std::mt19937 random(7);
    QByteArray row(rowBytes, '\0');
    for (quint32 y = 0; y < height; ++y) {
        for (quint32 x = 0; x < width; ++x) row[x] = static_cast<char>(random() & 0xff);
        out.writeRawData(row.constData(), row.size());
    }
    return out.status() == QDataStream::Ok;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const quint32 width = args.size() > 2 ? args[1].toUInt() : 5000;
    const quint32 height = args.size() > 2 ? args[2].toUInt() : 6000;

    QTemporaryDir folder;
    const QString bitmap = folder.filePath(QStringLiteral("day.bmp"));
    QTextStream report(stdout);
    if (!writeIndexedBitmap(bitmap, width, height)) {
        report << "cannot write " << bitmap << Qt::endl;
        return 2;
    }

    FakePlatform fakes;
    fakes.store.set(QStringLiteral("Top"), QStringLiteral("1500"));
    fakes.store.set(QStringLiteral("Left"), QStringLiteral("1500"));
    fakes.store.set(QStringLiteral("BackType"), QStringLiteral("1"));
    fakes.store.set(QStringLiteral("BackName"), bitmap);
    fakes.store.set(QStringLiteral("TimeWidth"), QStringLiteral("240"));
    fakes.store.set(QStringLiteral("Style"), QStringLiteral("1"));
    const QtPictureLoader pictures;
    const Platform platform{fakes.clock,      fakes.store,      fakes.display, fakes.windowOrder,
                            fakes.tray,       fakes.messages,   pictures,      fakes.clipboard,
                            fakes.wave,       fakes.media,      fakes.ticks,   fakes.programs,
                            fakes.fileDialog, fakes.tempFolder, fakes.wake};

    const double before = peakMegabytes();
    fomBarClock window(platform, QStringLiteral("/opt/quillon/"));
    window.Form_Load();
    window.TimePrint(fakes.clock.now());
    const double after = peakMegabytes();

    const QImage& loaded = fomBarClockProbe(window).picBack;
    report << "picture " << width << " x " << height << " (" << loaded.width() << " x "
           << loaded.height() << " loaded" << (fakes.messages.shown.isEmpty() ? "" : ", refused")
           << ")\n"
           << "peak RSS before loading " << qRound(before) << " MB, after " << qRound(after)
           << " MB, added " << qRound(after - before) << " MB" << Qt::endl;
    return 0;
}
