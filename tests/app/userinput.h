#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <stdexcept>

namespace tessaly::testing {

// Thrown when a test tries to use a control that the user could not reach;
// it ends the test (reported as a failure) before it goes on from a wrong
// page.
class Unreachable : public std::logic_error {
public:
    explicit Unreachable(const QWidget* control, const char* why)
        : std::logic_error(control->objectName().toStdString() + why)
    {
    }
};

inline void requireReachable(const QWidget* control)
{
    if (!control->isVisible())
        throw Unreachable(control, " is not visible");
    if (!control->isEnabled())
        throw Unreachable(control, " is disabled");
}

// Clicks a control the way a user does: only when it can be seen and is
// enabled, with the left button, on the control's face (a check box or a
// radio button on its indicator).
inline void click(QWidget* control)
{
    ASSERT_NE(control, nullptr);
    requireReachable(control);
    QPoint at = control->rect().center();
    if (qobject_cast<QCheckBox*>(control) || qobject_cast<QRadioButton*>(control))
        at = QPoint(6, control->height() / 2);
    QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, at);
}

// Picks an item of a drop-down list with the arrow keys, as a user does
// (each key press is a choice of the user's).
inline void choose(QComboBox* list, int index)
{
    requireReachable(list);
    ASSERT_TRUE(index >= 0 && index < list->count());
    while (list->currentIndex() < index)
        QTest::keyClick(list, Qt::Key_Down);
    while (list->currentIndex() > index)
        QTest::keyClick(list, Qt::Key_Up);
}

// Replaces the text of an edit (or an editable list's edit) by typing.
inline void typeInto(QLineEdit* edit, const QString& text)
{
    requireReachable(edit);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

// Ctrl-clicks the rows of a multiple-selection list that show `names`.
inline void ctrlClickRows(QListWidget* list, const QStringList& names)
{
    requireReachable(list);
    for (const QString& name : names) {
        const auto found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        list->scrollToItem(found[0]);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          list->visualItemRect(found[0]).center());
    }
}

}  // namespace tessaly::testing
