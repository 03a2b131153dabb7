#include "windows/fomMessage.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "core/AppTitle.h"
#include "platform/Clipboard.h"
#include "platform/WindowOrder.h"
#include "windows/TwipsLayout.h"

fomMessage::fomMessage(const Platform& platform, QWidget* parent)
    : QDialog(parent), m_platform(platform) {
    setWindowTitle(appTitle());
    const TwipsLayout twips(platform.display);
    twips.form(*this, 3855, 1455);

    lblMessage = new QLabel(this);
    lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblMessage->setWordWrap(true);
    twips.place(*lblMessage, 120, 240, 3615, 735);

    cmdExit = new QPushButton(QStringLiteral("確認"), this);
    twips.place(*cmdExit, 1440, 960, 975, 375);
    cmdExit->setDefault(true);
    connect(cmdExit, &QPushButton::clicked, this, &fomMessage::cmdExit_Click);
    // The window's focus is its one button's.
    setFocusProxy(cmdExit);
}

void fomMessage::showModal(const Platform& platform, QWidget* parent, const QString& Message) {
    fomMessage form(platform, parent);
    form.setMessage(Message);
    form.exec();
}

void fomMessage::Form_Activate() {
    lblMessage->setText(m_message);
    m_platform.clipboard.beep();
    setFocus();
    m_platform.windowOrder.BringToFront(*this);
}

void fomMessage::cmdExit_Click() { close(); }

bool fomMessage::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) Form_Activate();
    return QDialog::event(event);
}

void fomMessage::keyPressEvent(QKeyEvent* event) {
    // The button is the default button but not the cancel button: Esc does nothing here.
    if (event->matches(QKeySequence::Cancel)) return;
    QDialog::keyPressEvent(event);
}
