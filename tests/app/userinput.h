#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace tessaly::testing {

// Clicks a control the way a user does: only when it can be seen and is
// enabled, with the left button, on the control's face (a check box or a
// radio button on its indicator).
inline void click(QWidget* control)
{
    ASSERT_NE(control, nullptr);
    ASSERT_TRUE(control->isVisible()) << control->objectName().toStdString() << " is not visible";
    ASSERT_TRUE(control->isEnabled()) << control->objectName().toStdString() << " is disabled";
    QPoint at = control->rect().center();
    if (qobject_cast<QCheckBox*>(control) || qobject_cast<QRadioButton*>(control))
        at = QPoint(6, control->height() / 2);
    QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, at);
}

// Picks an item of a drop-down list with the arrow keys, as a user does
// (each key press is a choice of the user's).
inline void choose(QComboBox* list, int index)
{
    ASSERT_TRUE(list->isVisible()) << list->objectName().toStdString() << " is not visible";
    ASSERT_TRUE(index >= 0 && index < list->count());
    while (list->currentIndex() < index)
        QTest::keyClick(list, Qt::Key_Down);
    while (list->currentIndex() > index)
        QTest::keyClick(list, Qt::Key_Up);
}

// Replaces the text of an edit (or an editable list's edit) by typing.
inline void typeInto(QLineEdit* edit, const QString& text)
{
    ASSERT_TRUE(edit->isVisible()) << edit->objectName().toStdString() << " is not visible";
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

// Ctrl-clicks the rows of a multiple-selection list that show `names`.
inline void ctrlClickRows(QListWidget* list, const QStringList& names)
{
    ASSERT_TRUE(list->isVisible()) << list->objectName().toStdString() << " is not visible";
    for (const QString& name : names) {
        const auto found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        list->scrollToItem(found[0]);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          list->visualItemRect(found[0]).center());
    }
}

}  // namespace tessaly::testing
