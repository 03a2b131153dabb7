#include "windows/fomFileSelect.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>

#include "core/StyleBit.h"
#include "core/fomBarClock.h"
#include "windows/FormWiring.h"
#include "windows/NameBox.h"
#include "windows/TwipsLayout.h"

using namespace StyleBit;

namespace {

const QString kBackFilter = QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟ画像(*.bmp)|*.bmp|全てのﾌｧｲﾙ(*.*)|*.*");
const QString kCharFilter = QStringLiteral("ｱｲｺﾝﾌｧｲﾙ(*.ico)|*.ico|全てのﾌｧｲﾙ(*.*)|*.*");
const QString kBackChooserTitle = QStringLiteral("背景画像の選択");
const QString kCharChooserTitle = QStringLiteral("キャラクタの選択");

}  // namespace

fomFileSelect::fomFileSelect(const Platform& platform, fomBarClock& clock)
    : QDialog(&clock), m_clock(clock) {
    setWindowTitle(QStringLiteral("クイロン 画像設定"));
    const TwipsLayout twips(platform.display);
    twips.form(*this, 4815, 3615);
    const QString custom = QStringLiteral("カスタム");
    const auto browseButton = [](QWidget* parent) {
        return new QPushButton(QStringLiteral("..."), parent);
    };

    Frame1 = new QGroupBox(QStringLiteral("背景"), this);
    twips.place(*Frame1, 120, 120, 4575, 1335);
    optBack[0] = new QRadioButton(QStringLiteral("アルプス高原"), Frame1);
    twips.place(*optBack[0], 240, 240, 2055, 255);
    optBack[1] = new QRadioButton(custom, Frame1);
    twips.place(*optBack[1], 2040, 240, 1095, 255);
    txtBack = new QLineEdit(Frame1);
    twips.place(*txtBack, 240, 600, 3735, 270);
    cmdBack = browseButton(Frame1);
    twips.place(*cmdBack, 4080, 600, 255, 255);
    chkMemori = new QCheckBox(QStringLiteral("時刻の追加"), Frame1);
    twips.place(*chkMemori, 240, 960, 1215, 255);
    chkHour = new QCheckBox(QStringLiteral("24時間表示"), Frame1);
    twips.place(*chkHour, 2040, 960, 1215, 255);

    Frame2 = new QGroupBox(QStringLiteral("キャラクタ"), this);
    twips.place(*Frame2, 120, 1560, 4575, 1455);
    optChar[0] = new QRadioButton(QStringLiteral("牛（ルッコラ）"), Frame2);
    twips.place(*optChar[0], 240, 240, 2055, 255);
    optChar[1] = new QRadioButton(custom, Frame2);
    twips.place(*optChar[1], 2040, 240, 1215, 255);
    Label1 = new QLabel(QStringLiteral("１枚目："), Frame2);
    twips.place(*Label1, 120, 600, 615, 255);
    txtChar[0] = new QLineEdit(Frame2);
    twips.place(*txtChar[0], 840, 600, 3135, 270);
    cmdChar[0] = browseButton(Frame2);
    twips.place(*cmdChar[0], 4080, 600, 255, 255);
    Label2 = new QLabel(QStringLiteral("２枚目："), Frame2);
    twips.place(*Label2, 120, 960, 615, 255);
    txtChar[1] = new QLineEdit(Frame2);
    twips.place(*txtChar[1], 840, 960, 3135, 270);
    cmdChar[1] = browseButton(Frame2);
    twips.place(*cmdChar[1], 4080, 960, 255, 255);

    cmdCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    twips.place(*cmdCancel, 2280, 3120, 1095, 375);
    cmdExit = new QPushButton(QStringLiteral("設定"), this);
    twips.place(*cmdExit, 3600, 3120, 1095, 375);
    cmdExit->setDefault(true);

    widenChoicesToCaptions(*this);

    // Heard by a screen reader where the caption says nothing ("...") or where Qt would name a
    // control after its group box.
    txtBack->setAccessibleName(QStringLiteral("背景画像"));
    cmdBack->setAccessibleName(kBackChooserTitle);
    const QStringList frames = {QStringLiteral("（１枚目）"), QStringLiteral("（２枚目）")};
    for (int i = 0; i < 2; ++i) {
        txtChar[i]->setAccessibleName(Frame2->title() + frames[i]);
        cmdChar[i]->setAccessibleName(kCharChooserTitle + frames[i]);
    }
    const QList<QWidget*> tabOrder = {optBack[0], optBack[1], txtBack,    cmdBack,    chkMemori,
                                      chkHour,    optChar[0], optChar[1], txtChar[0], cmdChar[0],
                                      txtChar[1], cmdChar[1], cmdCancel,  cmdExit};
    chainTabOrder(tabOrder);

    // A check box runs its handler whenever it changes, by the user or by the program.
    connectOptionArray(optBack, this, [this](int16_t i) { optBack_Click(i); });
    connectOptionArray(optChar, this, [this](int16_t i) { optChar_Click(i); });
    for (int16_t i = 0; i < 2; ++i) {
        connect(cmdChar[i], &QPushButton::clicked, this, [this, i] { cmdChar_Click(i); });
        txtChar[i]->installEventFilter(this);
    }
    connect(chkMemori, &QCheckBox::toggled, this, &fomFileSelect::chkMemori_Click);
    connect(cmdBack, &QPushButton::clicked, this, &fomFileSelect::cmdBack_Click);
    connect(cmdExit, &QPushButton::clicked, this, &fomFileSelect::cmdExit_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &fomFileSelect::cmdCancel_Click);
    txtBack->installEventFilter(this);

    // The built-in pictures: everything that depends on "カスタム" starts disabled.
    optBack[0]->setChecked(true);
    optChar[0]->setChecked(true);
    Form_Load();
}

void fomFileSelect::Form_Load() {
    const SettingRecord& s = m_clock.setting();
    if (s.BackType > 0) optBack[1]->setChecked(true);
    if ((s.Style & kTimeMarks) != 0) {
        chkMemori->setChecked(true);
        if ((s.Style & kHours24) != 0) chkHour->setChecked(true);
    }
    if (s.CharType > 0) optChar[1]->setChecked(true);
    showName(*txtBack, s.BackName);
    showName(*txtChar[0], s.CharName1);
    showName(*txtChar[1], s.CharName2);
}

void fomFileSelect::optBack_Click(int16_t Index) {
    const bool custom = Index == 1;
    enableTextBox(*txtBack, custom);
    cmdBack->setEnabled(custom);
    chkMemori->setEnabled(custom);
    chkHour->setEnabled(custom && chkMemori->isChecked());
}

void fomFileSelect::chkMemori_Click() {
    // Only while "時刻の追加" is in use: a record whose marks outlived its own background (it
    // could not be read) ticks the box under the built-in background as well.
    chkHour->setEnabled(chkMemori->isEnabled() && chkMemori->isChecked());
}

void fomFileSelect::optChar_Click(int16_t Index) {
    const bool custom = Index == 1;
    for (int i = 0; i < 2; ++i) {
        enableTextBox(*txtChar[i], custom);
        cmdChar[i]->setEnabled(custom);
    }
}

void fomFileSelect::cmdBack_Click() {
    const QStringList chosen = m_clock.ComDlg().open(this, kBackFilter, clsComDlg::kOpenExisting,
                                                     kBackChooserTitle, txtBack->text());
    if (!chosen.isEmpty()) showName(*txtBack, chosen.first());
}

void fomFileSelect::cmdChar_Click(int16_t Index) {
    const QStringList chosen = m_clock.ComDlg().open(
        this, kCharFilter, clsComDlg::kOpenExisting | clsComDlg::OFN_ALLOWMULTISELECT,
        kCharChooserTitle, txtChar[Index]->text());
    if (!chosen.isEmpty()) showFrames(Index, chosen);
}

void fomFileSelect::showFrames(int16_t Index, const QStringList& paths) {
    if (paths.size() == 1) {
        showName(*txtChar[Index], paths[0]);
    } else {
        showName(*txtChar[0], paths[0]);
        showName(*txtChar[1], paths[1]);
    }
}

bool fomFileSelect::txtBack_OLEDragDrop(const QMimeData& Data) {
    const QStringList files = localFiles(Data);
    if (files.isEmpty()) return false;
    showName(*txtBack, files[0]);
    return true;
}

bool fomFileSelect::txtChar_OLEDragDrop(int16_t Index, const QMimeData& Data) {
    const QStringList files = localFiles(Data);
    if (files.isEmpty()) return false;
    showFrames(Index, files);
    return true;
}

bool fomFileSelect::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtBack &&
        filterFileDrop(*event, [this](const QMimeData& data) { return txtBack_OLEDragDrop(data); }))
        return true;
    for (int16_t i = 0; i < 2; ++i)
        if (watched == txtChar[i] && filterFileDrop(*event, [this, i](const QMimeData& data) {
                return txtChar_OLEDragDrop(i, data);
            }))
            return true;
    return QDialog::eventFilter(watched, event);
}

void fomFileSelect::cmdExit_Click() {
    SettingRecord& s = m_clock.setting();
    // The time's boxes count only on a background of one's own, and 24 hours only with marks.
    s.Style = kAlways;
    if (optBack[0]->isChecked()) {
        s.BackType = 0;
    } else {
        s.BackType = 1;
        if (chkMemori->isChecked()) {
            s.Style |= kTimeMarks;
            if (chkHour->isChecked()) s.Style |= kHours24;
        }
    }
    s.CharType = optChar[0]->isChecked() ? 0 : 1;
    // Kept whatever is chosen, for when "カスタム" is chosen again.
    s.BackName = txtBack->text();
    s.CharName1 = txtChar[0]->text();
    s.CharName2 = txtChar[1]->text();
    // Unreadable files are reported and replaced while this window is still open; what is
    // saved is the corrected record.
    m_clock.PicLoad();
    m_clock.ResizeAll();
    m_clock.SettingSave();
    accept();
}

void fomFileSelect::cmdCancel_Click() { reject(); }
