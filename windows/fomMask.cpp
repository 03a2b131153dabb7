#include "windows/fomMask.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/Rounding.h"
#include "core/TimeCheckMode.h"
#include "core/fomBarClock.h"
#include "platform/TrayIcon.h"
#include "platform/WindowOrder.h"
#include "windows/FormWiring.h"
#include "windows/Int16Validator.h"
#include "windows/NameBox.h"
#include "windows/TwipsLayout.h"

namespace {

// Labels write at the top of their place, level with the text in the box beside them.
QLabel* label(const QString& caption, Qt::Alignment alignment, QWidget* parent) {
    auto* text = new QLabel(caption, parent);
    text->setAlignment(alignment | Qt::AlignTop);
    return text;
}

int16_t ticked(const QCheckBox& box) { return box.isChecked() ? 1 : 0; }

}  // namespace

fomMask::fomMask(const Platform& platform, fomBarClock& clock)
    : QDialog(&clock), m_platform(platform), m_clock(clock) {
    setWindowTitle(QStringLiteral("クイロン その他設定"));
    const TwipsLayout twips(platform.display);
    twips.form(*this, 4455, 4215);

    Frame3 = new QGroupBox(QStringLiteral("表示設定"), this);
    twips.place(*Frame3, 120, 120, 4215, 975);
    chkTaskTray = new QCheckBox(QStringLiteral("クイロンのアイコンをタスクバーに表示する"), Frame3);
    twips.place(*chkTaskTray, 120, 240, 3975, 255);
    chkTopMost = new QCheckBox(QStringLiteral("常に手前に表示する"), Frame3);
    twips.place(*chkTopMost, 120, 600, 2055, 255);

    Frame1 = new QGroupBox(QStringLiteral("ﾃﾝﾎﾟﾗﾘ掃除設定"), this);
    twips.place(*Frame1, 120, 1200, 4215, 1335);
    chkTmpMode = new QCheckBox(QStringLiteral("起動時にﾃﾝﾎﾟﾗﾘを掃除する"), Frame1);
    twips.place(*chkTmpMode, 120, 240, 2775, 255);
    Label1 = label(QStringLiteral("ﾃﾝﾎﾟﾗﾘの環境変数名："), Qt::AlignRight, Frame1);
    twips.place(*Label1, 120, 600, 1965, 255);
    txtTmpEnvName = new QLineEdit(Frame1);
    twips.place(*txtTmpEnvName, 2145, 555, 1935, 270);
    Label2 = label(QStringLiteral("ﾌｧｲﾙ名 (*?の使用可)："), Qt::AlignRight, Frame1);
    twips.place(*Label2, 120, 960, 1965, 255);
    txtTmpFileName = new QLineEdit(Frame1);
    twips.place(*txtTmpFileName, 2145, 915, 1935, 270);

    Frame2 = new QGroupBox(QStringLiteral("時計監視設定"), this);
    twips.place(*Frame2, 120, 2640, 4215, 975);
    const QStringList when = {QStringLiteral("しない"), QStringLiteral("起動／終了時"),
                              QStringLiteral("毎分"), QStringLiteral("毎秒")};
    const std::array<int, 4> whenLeft = {120, 1080, 2640, 3480};
    const std::array<int, 4> whenWidth = {855, 1455, 735, 615};
    for (int i = 0; i < 4; ++i) {
        optTimeCheck[i] = new QRadioButton(when[i], Frame2);
        twips.place(*optTimeCheck[i], whenLeft[i], 240, whenWidth[i], 255);
    }
    // One sentence around the box: start this software at least once every N days.
    Label3 = label(QStringLiteral("少なくともこのソフトを"), Qt::AlignRight, Frame2);
    twips.place(*Label3, 120, 600, 1755, 255);
    txtTimeChkLen = new QLineEdit(Frame2);
    twips.place(*txtTimeChkLen, 1920, 570, 615, 270);
    // A number the record cannot hold cannot be typed.
    txtTimeChkLen->setValidator(new Int16Validator(txtTimeChkLen));
    Label4 = label(QStringLiteral("日に1回は起動する"), Qt::AlignLeft, Frame2);
    twips.place(*Label4, 2640, 600, 1560, 255);

    cmdCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    twips.place(*cmdCancel, 1920, 3720, 1095, 375);
    cmdExit = new QPushButton(QStringLiteral("設定"), this);
    twips.place(*cmdExit, 3240, 3720, 1095, 375);
    cmdExit->setDefault(true);
    widenChoicesToCaptions(*this);

    // Heard by a screen reader: Qt would name these boxes after their group box.
    Label1->setBuddy(txtTmpEnvName);
    Label2->setBuddy(txtTmpFileName);
    // The sentence around the box, with the number asked for in its place.
    Label3->setBuddy(txtTimeChkLen);
    txtTimeChkLen->setAccessibleName(Label3->text() + QStringLiteral("何") + Label4->text());

    const QList<QWidget*> tabOrder = {chkTaskTray,     chkTopMost,      chkTmpMode,
                                      txtTmpEnvName,   txtTmpFileName,  optTimeCheck[0],
                                      optTimeCheck[1], optTimeCheck[2], optTimeCheck[3],
                                      txtTimeChkLen,   cmdCancel,       cmdExit};
    chainTabOrder(tabOrder);

    // A check box runs its handler whenever it changes, by the user or by the program.
    connect(chkTmpMode, &QCheckBox::toggled, this, &fomMask::chkTmpMode_Click);
    connectOptionArray(optTimeCheck, this, [this](int16_t i) { optTimeCheck_Click(i); });
    connect(cmdExit, &QPushButton::clicked, this, &fomMask::cmdExit_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &fomMask::cmdCancel_Click);

    chkTmpMode_Click();
    Form_Load();
}

void fomMask::Form_Load() {
    const SettingRecord& s = m_clock.setting();
    if (s.TaskTray > 0) chkTaskTray->setChecked(true);
    if (s.TopMost > 0) chkTopMost->setChecked(true);
    if (s.TmpMode > 0) chkTmpMode->setChecked(true);
    txtTmpEnvName->setText(s.TmpEnvName);
    txtTmpFileName->setText(s.TmpFileName);
    if (s.TimeCheckMode >= 0 && s.TimeCheckMode < static_cast<int16_t>(optTimeCheck.size()))
        optTimeCheck[s.TimeCheckMode]->setChecked(true);
    else
        // A mode no option stands for shows none, and "設定" keeps it; the days count when the
        // mode is above 0.
        optTimeCheck_Click(s.TimeCheckMode);
    txtTimeChkLen->setText(QString::number(s.TimeCheckLength));
}

void fomMask::chkTmpMode_Click() {
    const bool on = chkTmpMode->isChecked();
    enableTextBox(*txtTmpEnvName, on);
    enableTextBox(*txtTmpFileName, on);
}

void fomMask::optTimeCheck_Click(int16_t Index) {
    enableTextBox(*txtTimeChkLen, Index > TimeCheckModeValue::kNever);
}

void fomMask::cmdExit_Click() {
    SettingRecord& s = m_clock.setting();
    if (ticked(*chkTaskTray) != s.TaskTray) {
        s.TaskTray = ticked(*chkTaskTray);
        m_platform.tray.notify(s.TaskTray == 1 ? TrayCommand::Add : TrayCommand::Delete,
                               m_clock.trayIconData());
    }
    if (ticked(*chkTopMost) != s.TopMost) {
        s.TopMost = ticked(*chkTopMost);
        // Switching re-shows the bar at the place Qt believes it has.
        m_clock.restorePlace();
        if (s.TopMost == 1)
            m_platform.windowOrder.SetTopMost(m_clock);
        else
            m_platform.windowOrder.SetNotTopMost(m_clock);
    }
    s.TmpMode = ticked(*chkTmpMode);
    s.TmpEnvName = txtTmpEnvName->text();
    s.TmpFileName = txtTmpFileName->text();
    for (int16_t i = 0; i < static_cast<int16_t>(optTimeCheck.size()); ++i) {
        if (optTimeCheck[i]->isChecked()) {
            s.TimeCheckMode = i;
            break;
        }
    }
    // Only a sign or nothing can stand here besides a number: the old value stays then.
    if (const auto days = parseInteger<int16_t>(txtTimeChkLen->text())) s.TimeCheckLength = *days;
    m_clock.SettingSave();
    accept();
}

void fomMask::cmdCancel_Click() { reject(); }
