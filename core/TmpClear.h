#pragma once

struct SettingRecord;
class TempFolder;

// Deletes the ordinary files directly in the folder named by the variable TmpEnvName whose
// names match TmpFileName. Does nothing when either setting is empty, when the variable is
// unset, empty or not an absolute path, or when the pattern names a folder of its own.
void cleanTempFolder(const SettingRecord& setting, TempFolder& tempFolder);
