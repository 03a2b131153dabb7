#pragma once

#include <QString>
#include <cstdint>

class MediaControl;
class ProgramStarter;
class TickCounter;
class WaveSound;

// Turns a sound name into sound: "!" and a command line starts a program, the empty name plays
// the default sound, a name ending in ".wav" is a wave sound played in the background, and any
// other name a media file played to its end while events keep being processed.
// Plays answer 0 done, 1 busy (try again later), -1 cannot play.
class modMCIPlay {
public:
    modMCIPlay(WaveSound& wave, MediaControl& media, TickCounter& ticks, ProgramStarter& programs);

    int16_t MciPlay(const QString& name);
    // Readies a name a few seconds before it is due to play, so that the play only has to start
    // it. Plays nothing, takes no part in the busy rule, and leaves programs alone.
    void MciPrepare(const QString& name);
    // Silences the wave sound at once; a media play ends at its next look at PlayStop.
    void MciStop();
    int16_t MciPlaySound(const QString& name);
    int16_t MciPlayWave(const QString& name);
    int16_t MciPlayMedia(const QString& name);
    // Returns after ms milliseconds, processing events at least once.
    void WaitTime(int32_t ms);

    // The last wave name whose start succeeded, the default sound's file for the empty name;
    // emptied by a failure that is not a wait for its own previous instance.
    QString LastWaveName;
    // 1 while a play other than a program start runs, media plays above all.
    int16_t PlayBusy = 0;
    // Set by MciStop, cleared when a play begins.
    int16_t PlayStop = 0;

private:
    WaveSound& m_wave;
    MediaControl& m_media;
    TickCounter& m_ticks;
    ProgramStarter& m_programs;
};
