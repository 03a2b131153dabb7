#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

#include "platform/Platform.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class fomBarClock;

// The options window: the tray icon and always-on-top, the cleaning of the temporary folder at
// start, and how often the computer's clock is watched. "設定" writes the clock's settings
// record, applies a changed icon or topmost choice at once and saves; anything else leaves the
// record alone.
class fomMask final : public QDialog {
    Q_OBJECT
public:
    // The window is modal over the clock, whose record, icon and place in the z-order it sets.
    fomMask(const Platform& platform, fomBarClock& clock);

    void Form_Load();
    void chkTmpMode_Click();
    void optTimeCheck_Click(int16_t Index);
    void cmdExit_Click();
    void cmdCancel_Click();

    QGroupBox* Frame3 = nullptr;
    QCheckBox* chkTaskTray = nullptr;
    QCheckBox* chkTopMost = nullptr;
    QGroupBox* Frame1 = nullptr;
    QCheckBox* chkTmpMode = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtTmpEnvName = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtTmpFileName = nullptr;
    QGroupBox* Frame2 = nullptr;
    std::array<QRadioButton*, 4> optTimeCheck{};
    QLabel* Label3 = nullptr;
    QLineEdit* txtTimeChkLen = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdExit = nullptr;

private:
    Platform m_platform;
    fomBarClock& m_clock;
};
