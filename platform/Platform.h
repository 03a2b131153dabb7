#pragma once

class Clipboard;
class Clock;
class FileDialog;
class ScreenMetrics;
class MediaControl;
class MessageBox;
class PictureLoader;
class ProgramStarter;
class SettingsStore;
class TempFolder;
class TickCounter;
class TrayIcon;
class WakeTimer;
class WaveSound;
class WindowOrder;

// The outside world as the clock window sees it; tests hand in fakes.
struct Platform {
    const Clock& clock;
    SettingsStore& store;
    const ScreenMetrics& display;
    WindowOrder& windowOrder;
    TrayIcon& tray;
    MessageBox& messages;
    const PictureLoader& pictures;
    Clipboard& clipboard;
    WaveSound& wave;
    MediaControl& media;
    TickCounter& ticks;
    ProgramStarter& programs;
    FileDialog& fileDialog;
    TempFolder& tempFolder;
    WakeTimer& wake;
};
