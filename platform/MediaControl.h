#pragma once

#include <QString>

// Media files driven by command strings, one open file at a time under an alias:
//   open "NAME" alias A          set A time format milliseconds
//   status A length              status A position
//   play A                       close A
// play returns while the media plays; the status replies are decimal milliseconds.
class MediaControl {
public:
    enum Error : int {
        kNoError = 0,
        kUnrecognizedCommand = 261,
        kInvalidDeviceName = 263,
        kCannotOpen = 266,
        kFileNotFound = 275,
        kDeviceError = 277,
        kDuplicateAlias = 289,
        kBadTimeFormat = 293,
    };

    virtual ~MediaControl() = default;
    // 0 on success, else one of the errors above; reply is cleared, then filled by "status".
    virtual int mciSendString(const QString& command, QString& reply) = 0;
    // Opens the file ahead, paused at its start, so that a later open and play of the same name
    // only has to start it. Plays nothing and takes no alias; a file that cannot be opened is
    // left alone.
    virtual void prepare(const QString& name) = 0;
};
