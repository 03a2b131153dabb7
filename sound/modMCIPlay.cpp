#include "sound/modMCIPlay.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <limits>

#include "platform/MediaControl.h"
#include "platform/ProgramStarter.h"
#include "platform/TickCounter.h"
#include "platform/WaveSound.h"

namespace {

// Between two looks at the position of a playing media file.
constexpr int32_t kPollMs = 100;
// Kept after the last position so the end of the media is not cut off by closing it.
constexpr int32_t kEndMarginMs = 10;
// A media play not ended this long after its length is stopped: its position may stop moving
// without an error, and it would keep every later play busy.
constexpr int64_t kOverrunMs = 5000;
// Longest pause between two passes of a wait; events wake it earlier.
constexpr int kWaitSliceMs = 10;

QString trimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == QLatin1Char(' ')) ++first;
    while (last > first && text[last - 1] == QLatin1Char(' ')) --last;
    return text.mid(first, last - first);
}

bool isWaveName(const QString& name) {
    return name.right(4).compare(QLatin1String(".wav"), Qt::CaseInsensitive) == 0;
}

}  // namespace

modMCIPlay::modMCIPlay(WaveSound& wave, MediaControl& media, TickCounter& ticks,
                       ProgramStarter& programs)
    : m_wave(wave), m_media(media), m_ticks(ticks), m_programs(programs) {}

int16_t modMCIPlay::MciPlay(const QString& name) {
    if (name.startsWith(QLatin1Char('!'))) {
        const QString commandLine = trimBlanks(name.mid(1));
        if (commandLine.isEmpty()) return -1;
        return m_programs.start(commandLine) ? 0 : -1;
    }
    return MciPlaySound(name);
}

void modMCIPlay::MciPrepare(const QString& name) {
    if (name.startsWith(QLatin1Char('!'))) return;
    if (name.isEmpty())
        m_wave.prepare(m_wave.defaultSound());
    else if (isWaveName(name))
        m_wave.prepare(name);
    else
        m_media.prepare(name);
}

int16_t modMCIPlay::MciPlaySound(const QString& name) {
    if (PlayBusy == 1) return 1;
    PlayBusy = 1;
    PlayStop = 0;
    int16_t result;
    if (name.isEmpty())
        result = MciPlayWave(m_wave.defaultSound());
    else if (isWaveName(name))
        result = MciPlayWave(name);
    else
        result = MciPlayMedia(name);
    PlayBusy = 0;
    return result;
}

int16_t modMCIPlay::MciPlayWave(const QString& name) {
    if (name != LastWaveName) {
        if (!m_wave.play(name, WaveSound::Overlap::CutOff)) {
            LastWaveName = name;
            return 0;
        }
        LastWaveName.clear();
        return -1;
    }
    // The same sound again waits for its previous instance to end.
    const std::optional<WaveSound::Error> error =
        m_wave.play(name, WaveSound::Overlap::AfterItsEnd);
    if (!error) return 0;
    if (*error == WaveSound::Error::StillSounding) return 1;
    // Nothing sounds, so the sound itself has gone: busy would be answered for ever.
    LastWaveName.clear();
    return -1;
}

int16_t modMCIPlay::MciPlayMedia(const QString& name) {
    const auto closeWith = [&](int16_t result) {
        m_media.close();
        return result;
    };

    if (m_media.open(name)) return -1;
    const MediaControl::Millis length = m_media.length();
    if (length.error) return closeWith(-1);
    if (m_media.play()) return closeWith(-1);
    const uint32_t playedAt = m_ticks.timeGetTime();
    const int64_t bound = std::max<int64_t>(length.ms, 0) + kOverrunMs;

    for (;;) {
        if (static_cast<int64_t>(m_ticks.timeGetTime() - playedAt) > bound) return closeWith(0);
        // A device that no longer answers counts as a play that has ended.
        const MediaControl::Millis position = m_media.position();
        if (position.error) return closeWith(0);
        if (position.ms + 1 < length.ms) {
            WaitTime(kPollMs);
            if (PlayStop != 0) return closeWith(0);
        } else {
            const int64_t rest = length.ms - position.ms + kEndMarginMs;
            WaitTime(static_cast<int32_t>(
                std::clamp<int64_t>(rest, 0, std::numeric_limits<int32_t>::max())));
            return closeWith(0);
        }
    }
}

void modMCIPlay::MciStop() {
    m_wave.stop();
    PlayStop = 1;
}

void modMCIPlay::WaitTime(int32_t ms) {
    const uint32_t start = m_ticks.timeGetTime();
    for (;;) {
        QCoreApplication::processEvents();
        // Unsigned difference: right across the counter's wrap.
        const uint32_t elapsed = m_ticks.timeGetTime() - start;
        if (ms <= 0 || elapsed >= static_cast<uint32_t>(ms)) return;
        // Sleep until the next event or a short while, rather than spin through the wait.
        QTimer wake;
        wake.setSingleShot(true);
        wake.setTimerType(Qt::PreciseTimer);
        wake.start(
            static_cast<int>(qMin<uint32_t>(static_cast<uint32_t>(ms) - elapsed, kWaitSliceMs)));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}
