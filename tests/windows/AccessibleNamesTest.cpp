#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>

#include "../ClockFixture.h"
#include "windows/fomAlarm.h"
#include "windows/fomFileSelect.h"
#include "windows/fomMask.h"
#include "windows/fomMessage.h"
#include "windows/fomVersion.h"

namespace {

// What a screen reader announces a control by. On Linux Qt gives a drop-down list's current
// entry as its name, and what names the list only as the list's labels.
QString nameHeard(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    if (face->role() != QAccessible::ComboBox) return face->text(QAccessible::Name);
    const auto labels = face->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.constFirst().first->text(QAccessible::Name);
}

// The controls that take input, and the group boxes, whose name a screen reader cannot use:
// none ("..." or a bare icon), one Qt took from the group box around it, or one a neighbour in
// the same group has as well.
QStringList badlyNamed(const QWidget& form) {
    QStringList faults;
    QHash<const QWidget*, QStringList> namesIn;
    for (QWidget* control : form.findChildren<QWidget*>()) {
        if (!qobject_cast<QAbstractButton*>(control) && !qobject_cast<QLineEdit*>(control) &&
            !qobject_cast<QComboBox*>(control) && !qobject_cast<QGroupBox*>(control))
            continue;
        const QString name = nameHeard(control);
        const auto* group = qobject_cast<const QGroupBox*>(control->parentWidget());
        QStringList& neighbours = namesIn[control->parentWidget()];
        if (!name.contains(QRegularExpression(QStringLiteral("\\w"),
                                              QRegularExpression::UseUnicodePropertiesOption)) ||
            (group && name == group->title()) || neighbours.contains(name))
            faults << QStringLiteral("%1 \"%2\"").arg(control->metaObject()->className(), name);
        neighbours << name;
    }
    return faults;
}

class AccessibleNamesTest : public ClockFixture {};

TEST_F(AccessibleNamesTest, EveryControlOfEveryWindowSaysWhatItDoesAndTheBarTellsTheTime) {
    start();
    QRandomGenerator random(1);
    const fomAlarm alarm(fakes.platform(), *window);
    const fomFileSelect pictures(fakes.platform(), *window);
    const fomMask options(fakes.platform(), *window);
    const fomVersion version(fakes.platform(), random);
    const fomMessage message(fakes.platform());
    for (const QWidget* form :
         std::initializer_list<const QWidget*>{&alarm, &pictures, &options, &version, &message})
        EXPECT_EQ(badlyNamed(*form).join(u' ').toStdString(), "")
            << qPrintable(form->windowTitle());
    EXPECT_EQ(nameHeard(alarm.frmAlarmTime), "設定時間");
    EXPECT_EQ(nameHeard(alarm.cmdAlarmName), "ｱﾗｰﾑｻｳﾝﾄﾞの選択");
    EXPECT_EQ(nameHeard(alarm.cboMinite), "分");

    // Set by the clock, not taken from the tool-tip by Qt's fallback, and kept up to date.
    for (const int second : {3, 4}) {
        tick(19, 5, second);
        EXPECT_EQ(window->picBar->accessibleDescription(), QStringLiteral("7:5:%1 PM").arg(second));
    }
    EXPECT_EQ(nameHeard(window.get()), "クイロン");
    EXPECT_EQ(nameHeard(window->picBar), "クイロン");
}

}  // namespace
