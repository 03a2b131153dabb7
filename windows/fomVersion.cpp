#include "windows/fomVersion.h"

#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>

#include "windows/TwipsLayout.h"
#include "windows/VersionText.h"

fomVersion::fomVersion(const Platform& platform, QRandomGenerator& random, QWidget* parent)
    : QDialog(parent), m_random(random) {
    setWindowTitle(QStringLiteral("クイロン ﾊﾞｰｼﾞｮﾝ情報"));
    const TwipsLayout twips(platform.display);
    twips.form(*this, 4575, 1590);

    Image1 = new QLabel(this);
    Image1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Image1->setAlignment(Qt::AlignCenter);
    twips.place(*Image1, 240, 240, 510, 510);
    Image2 = QPixmap(QStringLiteral(":/pose0.ico"));
    Image3 = QPixmap(QStringLiteral(":/pose1.ico"));
    Image4 = QPixmap(QStringLiteral(":/pose2.ico"));

    Label1 = new QLabel(this);
    twips.place(*Label1, 1080, 120, 3375, 255);
    Label2 = new QLabel(this);
    twips.place(*Label2, 1080, 360, 3375, 255);
    Label3 = new QLabel(this);
    twips.place(*Label3, 1080, 600, 3375, 255);

    cmdExit = new QPushButton(QStringLiteral("戻る"), this);
    twips.place(*cmdExit, 3360, 1080, 1095, 375);
    // Enter presses the default button; Esc rejects the dialog, which closes it the same way.
    cmdExit->setDefault(true);
    connect(cmdExit, &QPushButton::clicked, this, &fomVersion::cmdExit_Click);

    connect(&Timer1, &QTimer::timeout, this, &fomVersion::Timer1_Timer);
    Form_Load();
}

double fomVersion::rnd() { return m_random.generateDouble(); }

void fomVersion::Form_Load() {
    const QStringList lines = versionText();
    Label1->setText(lines[0]);
    Label2->setText(lines[1]);
    Label3->setText(lines[2]);
    Image1->setPixmap(Image2);
    Timer1.start(static_cast<int>(rnd() * 5000) + 5000);
    ImageFlag = 0;
}

void fomVersion::Timer1_Timer() {
    if (ImageFlag == 1) {
        ImageFlag = 0;
        Image1->setPixmap(Image2);
        Timer1.start(static_cast<int>(rnd() * 3000) + 2000);
        return;
    }
    ImageFlag = 1;
    if (static_cast<int>(rnd() * 10) > 1) {
        Image1->setPixmap(Image3);
        Timer1.start(static_cast<int>(rnd() * 1000) + 500);
    } else {
        Image1->setPixmap(Image4);
        Timer1.start(400);
    }
}

void fomVersion::cmdExit_Click() { close(); }
