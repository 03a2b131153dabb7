#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>

// Every persisted setting. Its key, kind and first-start value are in core/SettingKeys.h.
struct SettingRecord {
    int16_t Style = 0;  // 1 always; 2 add time marks; 4 24-hour labels
    int16_t TimeWidth = 0;
    int16_t BackType = 0;
    int16_t CharType = 0;
    QString BackName;
    QString CharName1;
    QString CharName2;
    int16_t WordSize = 0;
    int16_t TmpMode = 0;
    QString TmpEnvName;
    QString TmpFileName;
    QDateTime LastTime;
    int16_t TimeCheckLength = 0;
    int16_t TimeCheckMode = 0;
    int16_t AlarmMode = 0;  // 1 alarm; 2 chime; 4 chime once; 8 quiet at night; 16 take focus
    int16_t AlarmTime = 0;
    QString AlarmName1;
    QString AlarmName2;
    int16_t TaskTray = 0;
    int16_t TopMost = 0;
    int16_t AlarmWake = 0;  // 1: wake the computer from sleep for the alarm

    friend bool operator==(const SettingRecord&, const SettingRecord&) = default;
};
