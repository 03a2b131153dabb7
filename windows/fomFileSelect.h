#pragma once

#include <QDialog>
#include <QStringList>
#include <array>
#include <cstdint>

#include "platform/Platform.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMimeData;
class QPushButton;
class QRadioButton;
class fomBarClock;

// The picture window: the built-in background or a bitmap of one's own, optionally with the
// time drawn on it, and the built-in character or one or two pictures of one's own. "設定"
// writes the record, has the clock reload its pictures and lay itself out, and saves; anything
// else leaves the record and the clock alone.
class fomFileSelect final : public QDialog {
    Q_OBJECT
public:
    // The window is modal over the clock, whose record, pictures and file chooser it uses.
    fomFileSelect(const Platform& platform, fomBarClock& clock);

    void Form_Load();
    void optBack_Click(int16_t Index);
    void chkMemori_Click();
    void cmdBack_Click();
    void optChar_Click(int16_t Index);
    void cmdChar_Click(int16_t Index);
    // Each takes the local files of what was dropped; false when there were none.
    bool txtBack_OLEDragDrop(const QMimeData& Data);
    bool txtChar_OLEDragDrop(int16_t Index, const QMimeData& Data);
    void cmdExit_Click();
    void cmdCancel_Click();

    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 2> optBack{};
    QLineEdit* txtBack = nullptr;
    QPushButton* cmdBack = nullptr;
    QCheckBox* chkMemori = nullptr;
    QCheckBox* chkHour = nullptr;
    QGroupBox* Frame2 = nullptr;
    std::array<QRadioButton*, 2> optChar{};
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    std::array<QLineEdit*, 2> txtChar{};
    std::array<QPushButton*, 2> cmdChar{};
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdExit = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One file goes to the frame asked for; two or more fill both frames in order, from either
    // box, and the rest are ignored.
    void showFrames(int16_t Index, const QStringList& paths);

    fomBarClock& m_clock;
};
