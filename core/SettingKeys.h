#pragma once

#include <QStringView>
#include <array>
#include <variant>

#include "core/SettingRecord.h"

// What a key holds and how it reads back. A value that is missing or that the clock cannot use
// takes the value of a first start.
namespace SettingKind {

// A 16-bit integer; a positive one must also be above 0.
struct Number {
    int16_t SettingRecord::*field;
    int16_t firstStart;
    bool positive = false;
};

// A text, as stored. besideProgram: the first-start value names a file in the program's folder.
struct Text {
    QString SettingRecord::*field;
    QStringView firstStart;
    bool besideProgram = false;
};

// An edge of the window in twips: 32-bit, so a place on a wide or second monitor is kept;
// centred on the screen on a first start.
struct Place {
    enum Edge { Left, Top } edge;
};

// A date and time; saved as the moment of saving, the present moment on a first start.
struct Moment {
    QDateTime SettingRecord::*field;
};

}  // namespace SettingKind

struct SettingKey {
    QStringView name;
    std::variant<SettingKind::Number, SettingKind::Text, SettingKind::Place, SettingKind::Moment>
        kind;
};

// A file without it, or with it empty, is a first start's: nothing else is read.
inline constexpr QStringView kFirstStartKey = u"Top";

// Every key of the settings file, in the order it is read and written.
inline constexpr auto kSettingKeys = std::to_array<SettingKey>({
    {u"Style", SettingKind::Number{&SettingRecord::Style, 1}},
    {u"TimeWidth", SettingKind::Number{&SettingRecord::TimeWidth, 240, true}},
    {u"Left", SettingKind::Place{SettingKind::Place::Left}},
    {kFirstStartKey, SettingKind::Place{SettingKind::Place::Top}},
    {u"BackType", SettingKind::Number{&SettingRecord::BackType, 0}},
    {u"CharType", SettingKind::Number{&SettingRecord::CharType, 0}},
    {u"BackName", SettingKind::Text{&SettingRecord::BackName, u""}},
    {u"CharName1", SettingKind::Text{&SettingRecord::CharName1, u""}},
    {u"CharName2", SettingKind::Text{&SettingRecord::CharName2, u""}},
    {u"WordSize", SettingKind::Number{&SettingRecord::WordSize, 12, true}},
    {u"TmpMode", SettingKind::Number{&SettingRecord::TmpMode, 0}},
    {u"TmpEnvName", SettingKind::Text{&SettingRecord::TmpEnvName, u"TMP"}},
    {u"TmpFileName", SettingKind::Text{&SettingRecord::TmpFileName, u"~df*.tmp"}},
    {u"LastTime", SettingKind::Moment{&SettingRecord::LastTime}},
    {u"TimeCheckLength", SettingKind::Number{&SettingRecord::TimeCheckLength, 7}},
    {u"TimeCheckMode", SettingKind::Number{&SettingRecord::TimeCheckMode, 0}},
    {u"AlarmMode", SettingKind::Number{&SettingRecord::AlarmMode, 0}},
    {u"AlarmTime", SettingKind::Number{&SettingRecord::AlarmTime, 720}},
    {u"AlarmName1", SettingKind::Text{&SettingRecord::AlarmName1, u"Tolla.wav", true}},
    {u"AlarmName2", SettingKind::Text{&SettingRecord::AlarmName2, u"Gongo.wav", true}},
    {u"TaskTray", SettingKind::Number{&SettingRecord::TaskTray, 1}},
    {u"TopMost", SettingKind::Number{&SettingRecord::TopMost, 0}},
    {u"AlarmWake", SettingKind::Number{&SettingRecord::AlarmWake, 0}},
});
