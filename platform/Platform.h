#pragma once

class Clipboard;
class Clock;
class ScreenMetrics;
class MessageBox;
class PictureLoader;
class SettingsStore;
class TrayIcon;
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
};
