#pragma once

#include <QDialog>
#include <QPixmap>
#include <QTimer>
#include <cstdint>

#include "platform/Platform.h"

class QLabel;
class QPushButton;
class QRandomGenerator;

// The version window: the product name, version and copyright beside the character, which now
// and then lowers its head or blinks.
class fomVersion final : public QDialog {
    Q_OBJECT
public:
    // random draws the picture's waits: the menu passes the global generator, tests a seeded one.
    fomVersion(const Platform& platform, QRandomGenerator& random, QWidget* parent = nullptr);

    void Form_Load();
    void Timer1_Timer();
    void cmdExit_Click();

    // 0 while the resting picture shows, 1 while the head-down or the blink shows.
    int16_t ImageFlag = 0;
    QLabel* Image1 = nullptr;
    // The three pictures Image1 shows: resting, head down, eyes closed.
    QPixmap Image2;
    QPixmap Image3;
    QPixmap Image4;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* cmdExit = nullptr;
    QTimer Timer1;

private:
    // Uniform in [0, 1).
    double rnd();

    QRandomGenerator& m_random;
};
