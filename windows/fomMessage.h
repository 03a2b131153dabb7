#pragma once

#include <QDialog>
#include <QString>

#include "platform/Platform.h"

class QLabel;
class QPushButton;

// The message window: one text from its caller, with the system beep, in front of all others.
class fomMessage final : public QDialog {
    Q_OBJECT
public:
    explicit fomMessage(const Platform& platform, QWidget* parent = nullptr);
    // A window with the text, modal over parent; returns when it is closed.
    static void showModal(const Platform& platform, QWidget* parent, const QString& Message);

    // The text to show; set it before showing the window.
    QString Message() const { return m_message; }
    void setMessage(const QString& message) { m_message = message; }

    // On every activation, the first showing included.
    void Form_Activate();
    void cmdExit_Click();

    QLabel* lblMessage = nullptr;
    QPushButton* cmdExit = nullptr;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Platform m_platform;
    QString m_message;
};
