#include "windows/fomAlarm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "core/AlarmMode.h"
#include "core/fomBarClock.h"
#include "platform/MessageBox.h"
#include "platform/WakeTimer.h"
#include "sound/modMCIPlay.h"
#include "windows/FormWiring.h"
#include "windows/NameBox.h"
#include "windows/TwipsLayout.h"

using namespace AlarmModeBit;

namespace {

constexpr int kNoon = 720;
constexpr int kLastMinute = 1439;
constexpr int kRetryMs = 100;

const QString kSoundFilter = QStringLiteral("ｻｳﾝﾄﾞ(*.wav)|*.wav|全てのﾌｧｲﾙ(*.*)|*.*");
const QString kAlarmChooserTitle = QStringLiteral("ｱﾗｰﾑｻｳﾝﾄﾞの選択");
const QString kJihoChooserTitle = QStringLiteral("時報ｻｳﾝﾄﾞの選択");

QComboBox* numberList(int count, QWidget* parent) {
    auto* list = new QComboBox(parent);
    for (int i = 0; i < count; ++i) list->addItem(QString::number(i));
    return list;
}

}  // namespace

fomAlarm::fomAlarm(const Platform& platform, fomBarClock& clock)
    : QDialog(&clock), m_platform(platform), m_clock(clock) {
    setWindowTitle(QStringLiteral("クイロン ｱﾗｰﾑ設定"));
    const TwipsLayout twips(platform.display);
    twips.form(*this, 4815, 4650);
    const QIcon note(QStringLiteral(":/note.ico"));
    const auto noteButton = [&](QWidget* parent) {
        auto* button = new QPushButton(parent);
        button->setIcon(note);
        return button;
    };
    const QStringList ring = {QStringLiteral("鳴らす"), QStringLiteral("鳴らさない")};

    Frame1 = new QGroupBox(QStringLiteral("ｱﾗｰﾑ"), this);
    twips.place(*Frame1, 120, 120, 4575, 1695);
    for (int i = 0; i < 2; ++i) optAlarm[i] = new QRadioButton(ring[i], Frame1);
    twips.place(*optAlarm[0], 240, 240, 855, 255);
    twips.place(*optAlarm[1], 240, 600, 1095, 255);
    frmAlarmTime = new QGroupBox(QStringLiteral("設定時間"), Frame1);
    twips.place(*frmAlarmTime, 2160, 210, 2175, 885);
    optAMPM[0] = new QRadioButton(QStringLiteral("AM"), frmAlarmTime);
    twips.place(*optAMPM[0], 240, 240, 615, 180);
    optAMPM[1] = new QRadioButton(QStringLiteral("PM"), frmAlarmTime);
    twips.place(*optAMPM[1], 960, 240, 615, 180);
    cboHour = numberList(12, frmAlarmTime);
    twips.place(*cboHour, 240, 480, 615, 300);
    Label1 = new QLabel(QStringLiteral("時"), frmAlarmTime);
    twips.place(*Label1, 870, 540, 255, 255);
    cboMinite = numberList(60, frmAlarmTime);
    twips.place(*cboMinite, 1200, 480, 615, 300);
    Label2 = new QLabel(QStringLiteral("分"), frmAlarmTime);
    twips.place(*Label2, 1830, 540, 255, 255);
    txtAlarmName = new QLineEdit(Frame1);
    twips.place(*txtAlarmName, 240, 1200, 3375, 270);
    cmdAlarmName = new QPushButton(QStringLiteral("..."), Frame1);
    twips.place(*cmdAlarmName, 3720, 1200, 255, 255);
    cmdWaveTest1 = noteButton(Frame1);
    twips.place(*cmdWaveTest1, 4080, 1200, 255, 255);

    Frame2 = new QGroupBox(QStringLiteral("時報"), this);
    twips.place(*Frame2, 120, 1920, 4575, 1455);
    for (int i = 0; i < 2; ++i) optJiho[i] = new QRadioButton(ring[i], Frame2);
    twips.place(*optJiho[0], 240, 240, 855, 255);
    twips.place(*optJiho[1], 240, 600, 1095, 255);
    chkJihoOnes = new QCheckBox(QStringLiteral("1回だけ鳴らす"), Frame2);
    twips.place(*chkJihoOnes, 1800, 240, 2055, 255);
    chkJihoNight = new QCheckBox(QStringLiteral("夜は鳴らさない (PM10～AM6)"), Frame2);
    twips.place(*chkJihoNight, 1800, 600, 2655, 255);
    txtJihoName = new QLineEdit(Frame2);
    twips.place(*txtJihoName, 240, 960, 3375, 270);
    cmdJihoName = new QPushButton(QStringLiteral("..."), Frame2);
    twips.place(*cmdJihoName, 3720, 960, 255, 255);
    cmdWaveTest2 = noteButton(Frame2);
    twips.place(*cmdWaveTest2, 4080, 960, 255, 255);

    chkFocusChg = new QCheckBox(QStringLiteral("再生時ﾌｫｰｶｽ変更する"), this);
    twips.place(*chkFocusChg, 120, 3480, 2175, 255);
    cmdExit = new QPushButton(QStringLiteral("設定"), this);
    twips.place(*cmdExit, 3600, 3480, 1095, 375);
    cmdExit->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    twips.place(*cmdCancel, 2280, 3480, 1095, 375);
    // A row of its own below the rest, so that nothing above moves; the window keeps the room
    // for the line whether or not it shows.
    chkAlarmWake = new QCheckBox(QStringLiteral("ｽﾘｰﾌﾟから復帰して鳴らす"), this);
    twips.place(*chkAlarmWake, 120, 3975, 2655, 255);
    lblAlarmWake = new QLabel(QStringLiteral("このｺﾝﾋﾟｭｰﾀｰはｽﾘｰﾌﾟから復帰できません"), this);
    twips.place(*lblAlarmWake, 405, 4275, 4290, 255);

    widenChoicesToCaptions(*this);

    // Heard by a screen reader where the caption says nothing ("...", a note) or where Qt
    // would name a control after its group box.
    frmAlarmTime->setAccessibleName(frmAlarmTime->title());
    Label1->setBuddy(cboHour);
    Label2->setBuddy(cboMinite);
    txtAlarmName->setAccessibleName(QStringLiteral("ｱﾗｰﾑｻｳﾝﾄﾞ"));
    cmdAlarmName->setAccessibleName(kAlarmChooserTitle);
    cmdWaveTest1->setAccessibleName(QStringLiteral("ｱﾗｰﾑｻｳﾝﾄﾞの再生"));
    txtJihoName->setAccessibleName(QStringLiteral("時報ｻｳﾝﾄﾞ"));
    cmdJihoName->setAccessibleName(kJihoChooserTitle);
    cmdWaveTest2->setAccessibleName(QStringLiteral("時報ｻｳﾝﾄﾞの再生"));

    const QList<QWidget*> tabOrder = {optAlarm[0],  optAlarm[1], optAMPM[0],   optAMPM[1],
                                      cboHour,      cboMinite,   txtAlarmName, cmdAlarmName,
                                      cmdWaveTest1, optJiho[0],  optJiho[1],   chkJihoOnes,
                                      chkJihoNight, txtJihoName, cmdJihoName,  cmdWaveTest2,
                                      chkFocusChg,  cmdCancel,   cmdExit,      chkAlarmWake};
    chainTabOrder(tabOrder);

    connectOptionArray(optAlarm, this, [this](int16_t i) { optAlarm_Click(i); });
    connectOptionArray(optJiho, this, [this](int16_t i) { optJiho_Click(i); });
    connectOptionArray(optAMPM, this, [this](int16_t i) { optAMPM_Click(i); });
    connect(cmdAlarmName, &QPushButton::clicked, this, &fomAlarm::cmdAlarmName_Click);
    connect(cmdJihoName, &QPushButton::clicked, this, &fomAlarm::cmdJihoName_Click);
    connect(cmdWaveTest1, &QPushButton::clicked, this, &fomAlarm::cmdWaveTest1_Click);
    connect(cmdWaveTest2, &QPushButton::clicked, this, &fomAlarm::cmdWaveTest2_Click);
    connect(cmdExit, &QPushButton::clicked, this, &fomAlarm::cmdExit_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &fomAlarm::cmdCancel_Click);
    connect(&timMciPlay, &QTimer::timeout, this, &fomAlarm::timMciPlay_Timer);
    txtAlarmName->installEventFilter(this);
    txtJihoName->installEventFilter(this);

    // Asked once: each asking makes a timer on the kernel's alarm clock. The box can still be
    // ticked, for a computer that can be woken later. A screen reader hears the line with the box.
    const bool canWake = m_platform.wake.possible();
    lblAlarmWake->setHidden(canWake);
    if (!canWake) chkAlarmWake->setAccessibleDescription(lblAlarmWake->text());

    // Both off, AM: everything that depends on an option starts disabled.
    optAlarm[1]->setChecked(true);
    optAMPM[0]->setChecked(true);
    optJiho[1]->setChecked(true);
    Form_Load();
}

void fomAlarm::Form_Load() {
    const SettingRecord& s = m_clock.setting();
    if ((s.AlarmMode & kAlarmOn) != 0) optAlarm[0]->setChecked(true);
    // Only values the window writes are expected; others show as the nearest of them.
    const int time = std::clamp<int>(s.AlarmTime, 0, kLastMinute);
    if (time >= kNoon) optAMPM[1]->setChecked(true);
    cboHour->setCurrentIndex(time / 60 % 12);
    cboMinite->setCurrentIndex(time % 60);
    showName(*txtAlarmName, s.AlarmName1);
    if ((s.AlarmMode & kChimeOn) != 0) optJiho[0]->setChecked(true);
    chkJihoOnes->setChecked((s.AlarmMode & kChimeOnce) != 0);
    chkJihoNight->setChecked((s.AlarmMode & kQuietAtNight) != 0);
    showName(*txtJihoName, s.AlarmName2);
    chkFocusChg->setChecked((s.AlarmMode & kTakeFocus) != 0);
    // As the clock reads it: only 1 wakes.
    chkAlarmWake->setChecked(s.AlarmWake == 1);
}

void fomAlarm::optAlarm_Click(int16_t Index) {
    const bool on = Index == 0;
    for (QWidget* control :
         {static_cast<QWidget*>(optAMPM[0]), static_cast<QWidget*>(optAMPM[1]),
          static_cast<QWidget*>(cboHour), static_cast<QWidget*>(cboMinite),
          static_cast<QWidget*>(cmdAlarmName), static_cast<QWidget*>(cmdWaveTest1),
          static_cast<QWidget*>(chkAlarmWake)})
        control->setEnabled(on);
    enableTextBox(*txtAlarmName, on);
}

void fomAlarm::optJiho_Click(int16_t Index) {
    const bool on = Index == 0;
    for (QWidget* control :
         {static_cast<QWidget*>(chkJihoOnes), static_cast<QWidget*>(chkJihoNight),
          static_cast<QWidget*>(cmdJihoName), static_cast<QWidget*>(cmdWaveTest2)})
        control->setEnabled(on);
    enableTextBox(*txtJihoName, on);
}

void fomAlarm::optAMPM_Click(int16_t Index) {
    cboHour->setItemText(0, Index == 1 ? QStringLiteral("12") : QStringLiteral("0"));
}

void fomAlarm::cmdAlarmName_Click() { chooseSound(*txtAlarmName, kAlarmChooserTitle); }

void fomAlarm::cmdJihoName_Click() { chooseSound(*txtJihoName, kJihoChooserTitle); }

void fomAlarm::chooseSound(QLineEdit& box, const QString& title) {
    const QStringList chosen =
        m_clock.ComDlg().open(this, kSoundFilter, clsComDlg::kOpenExisting, title, box.text());
    if (!chosen.isEmpty()) showName(box, chosen.first());
}

bool fomAlarm::txtAlarmName_OLEDragDrop(const QMimeData& Data) {
    return takeDrop(*txtAlarmName, Data);
}

bool fomAlarm::txtJihoName_OLEDragDrop(const QMimeData& Data) {
    return takeDrop(*txtJihoName, Data);
}

bool fomAlarm::takeDrop(QLineEdit& box, const QMimeData& data) {
    const QStringList files = localFiles(data);
    if (files.isEmpty()) return false;
    showName(box, files.first());
    return true;
}

bool fomAlarm::eventFilter(QObject* watched, QEvent* event) {
    const auto take = [this, watched](const QMimeData& data) {
        return watched == txtAlarmName ? txtAlarmName_OLEDragDrop(data)
                                       : txtJihoName_OLEDragDrop(data);
    };
    if ((watched == txtAlarmName || watched == txtJihoName) && filterFileDrop(*event, take))
        return true;
    return QDialog::eventFilter(watched, event);
}

void fomAlarm::cmdWaveTest1_Click() { testSound(*txtAlarmName); }

void fomAlarm::cmdWaveTest2_Click() { testSound(*txtJihoName); }

void fomAlarm::testSound(const QLineEdit& box) {
    m_clock.mciPlay().MciStop();
    TestName = box.text();
    // The play starts once the click has been handled.
    setTimMciPlayInterval(1);
}

void fomAlarm::timMciPlay_Timer() {
    setTimMciPlayInterval(0);
    modMCIPlay& player = m_clock.mciPlay();
    const int16_t r = player.MciPlay(TestName);
    if (r == -1) {
        m_platform.messages.plain(QStringLiteral("指定されたﾌｧｲﾙは再生できません。"));
    } else if (r == 1) {
        // Another play is under way: ask it to end and try again until it has.
        player.MciStop();
        setTimMciPlayInterval(kRetryMs);
    }
}

void fomAlarm::setTimMciPlayInterval(int ms) {
    timMciPlay.setInterval(ms);
    if (ms == 0)
        timMciPlay.stop();
    else
        timMciPlay.start();
}

void fomAlarm::cmdExit_Click() {
    SettingRecord& s = m_clock.setting();
    int16_t mode = 0;
    if (optAlarm[0]->isChecked()) mode |= kAlarmOn;
    if (optJiho[0]->isChecked()) mode |= kChimeOn;
    // Kept while the chime is off, for when it is turned on again.
    if (chkJihoOnes->isChecked()) mode |= kChimeOnce;
    if (chkJihoNight->isChecked()) mode |= kQuietAtNight;
    s.AlarmTime = static_cast<int16_t>(cboHour->currentIndex() * 60 + cboMinite->currentIndex() +
                                       (optAMPM[1]->isChecked() ? kNoon : 0));
    s.AlarmName1 = txtAlarmName->text();
    s.AlarmName2 = txtJihoName->text();
    if (chkFocusChg->isChecked()) mode |= kTakeFocus;
    s.AlarmMode = mode;
    s.AlarmWake = chkAlarmWake->isChecked() ? 1 : 0;
    m_clock.SettingSave();
    accept();
}

void fomAlarm::cmdCancel_Click() { reject(); }

void fomAlarm::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

// A test sound does not outlive the window.
void fomAlarm::Form_Unload() {
    setTimMciPlayInterval(0);
    m_clock.mciPlay().MciStop();
}
