#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
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

class AccessibleNamesTest : public ClockFixture {};

TEST_F(AccessibleNamesTest, EveryControlSaysWhatItDoesAndTheBarTellsTheTime) {
    start();
    QRandomGenerator random(1);
    const fomAlarm alarm(fakes.platform(), *window);
    const fomFileSelect pictures(fakes.platform(), *window);
    const fomMask options(fakes.platform(), *window);
    const fomVersion version(fakes.platform(), random);
    const fomMessage message(fakes.platform());
    const QRegularExpression word(QStringLiteral("\\w"),
                                  QRegularExpression::UseUnicodePropertiesOption);
    for (const QWidget* form :
         std::initializer_list<const QWidget*>{&alarm, &pictures, &options, &version, &message}) {
        QHash<const QWidget*, QStringList> namesIn;
        for (QWidget* control : form->findChildren<QWidget*>()) {
            if (!qobject_cast<QAbstractButton*>(control) && !qobject_cast<QLineEdit*>(control) &&
                !qobject_cast<QComboBox*>(control) && !qobject_cast<QGroupBox*>(control))
                continue;
            // None ("...", a bare icon), one Qt took from the group box around, or a neighbour's.
            const QString name = nameHeard(control);
            const auto* group = qobject_cast<const QGroupBox*>(control->parentWidget());
            QStringList& neighbours = namesIn[control->parentWidget()];
            EXPECT_TRUE(name.contains(word) && !(group && name == group->title()) &&
                        !neighbours.contains(name))
                << qPrintable(form->windowTitle()) << ": " << qPrintable(name);
            neighbours << name;
        }
    }
    // Set by the clock, not taken from the tool-tip by Qt's fallback, and kept up to date.
    for (const int second : {3, 4}) {
        tick(19, 5, second);
        EXPECT_EQ(probe().picBar->accessibleDescription(), QStringLiteral("7:5:%1 PM").arg(second));
    }
    EXPECT_EQ(nameHeard(window.get()), "クイロン");
    EXPECT_EQ(nameHeard(probe().picBar), "クイロン");
}

}  // namespace
