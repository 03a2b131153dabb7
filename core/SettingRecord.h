#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>

// Every persisted setting. The initialisers are the values of a first start; LastTime and
// the two sound names depend on the moment and the program folder (firstStartRecord).
struct SettingRecord {
    int16_t Style = 1;  // 1 always; 2 add time marks; 4 24-hour labels
    int16_t TimeWidth = 240;
    int16_t BackType = 0;
    int16_t CharType = 0;
    QString BackName;
    QString CharName1;
    QString CharName2;
    int16_t WordSize = 12;
    int16_t TmpMode = 0;
    QString TmpEnvName = QStringLiteral("TMP");
    QString TmpFileName = QStringLiteral("~df*.tmp");
    QDateTime LastTime;
    int16_t TimeCheckLength = 7;
    int16_t TimeCheckMode = 0;
    int16_t AlarmMode = 0;  // 1 alarm; 2 chime; 4 chime once; 8 quiet at night; 16 take focus
    int16_t AlarmTime = 720;
    QString AlarmName1;
    QString AlarmName2;
    int16_t TaskTray = 1;
    int16_t TopMost = 0;

    friend bool operator==(const SettingRecord&, const SettingRecord&) = default;
};
