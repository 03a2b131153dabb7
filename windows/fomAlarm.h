#pragma once

#include <QDialog>
#include <QString>
#include <QTimer>
#include <array>
#include <cstdint>

#include "platform/Platform.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMimeData;
class QPushButton;
class QRadioButton;
class fomBarClock;

// The alarm window: whether, when and with which sound the alarm rings, whether it wakes the
// computer from sleep, whether and how the hourly chime strikes, and a test play of each sound.
// "設定" writes the clock's settings record and saves it; anything else leaves the record alone.
class fomAlarm final : public QDialog {
    Q_OBJECT
public:
    // The window is modal over the clock, whose record, sound player and file chooser it uses.
    fomAlarm(const Platform& platform, fomBarClock& clock);

    void Form_Load();
    void optAlarm_Click(int16_t Index);
    void optJiho_Click(int16_t Index);
    void optAMPM_Click(int16_t Index);
    void cmdAlarmName_Click();
    void cmdJihoName_Click();
    // Each takes the first local file of what was dropped; false when there was none.
    bool txtAlarmName_OLEDragDrop(const QMimeData& Data);
    bool txtJihoName_OLEDragDrop(const QMimeData& Data);
    void cmdWaveTest1_Click();
    void cmdWaveTest2_Click();
    void timMciPlay_Timer();
    void cmdExit_Click();
    void cmdCancel_Click();
    void Form_Unload();

    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 2> optAlarm{};
    QGroupBox* frmAlarmTime = nullptr;
    std::array<QRadioButton*, 2> optAMPM{};
    QComboBox* cboHour = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* cboMinite = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtAlarmName = nullptr;
    QPushButton* cmdAlarmName = nullptr;
    QPushButton* cmdWaveTest1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    std::array<QRadioButton*, 2> optJiho{};
    QCheckBox* chkJihoOnes = nullptr;
    QCheckBox* chkJihoNight = nullptr;
    QLineEdit* txtJihoName = nullptr;
    QPushButton* cmdJihoName = nullptr;
    QPushButton* cmdWaveTest2 = nullptr;
    QCheckBox* chkFocusChg = nullptr;
    QPushButton* cmdExit = nullptr;
    QPushButton* cmdCancel = nullptr;
    QCheckBox* chkAlarmWake = nullptr;
    // Shown when this computer cannot be woken, the box's setting kept for when it can.
    QLabel* lblAlarmWake = nullptr;
    // The test play: stopped (interval 0), 1 ms after a test button, 100 ms while busy.
    QTimer timMciPlay;
    // What the test play plays.
    QString TestName;

protected:
    // Every way of closing ends here.
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void chooseSound(QLineEdit& box, const QString& title);
    bool takeDrop(QLineEdit& box, const QMimeData& data);
    void testSound(const QLineEdit& box);
    void setTimMciPlayInterval(int ms);

    Platform m_platform;
    fomBarClock& m_clock;
};
