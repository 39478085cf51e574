#include "support/fakeservices.h"
#include "ui_tfhtm.h"
#include "viewer/tfhtm.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::FakeServices;

// The viewer with a text and a selection, and its find or replace dialog
// driven through its controls.
struct Search {
    FakeServices fake;
    TfHTM window{fake.services};
    QPlainTextEdit& memo = *window.form().Memo1;
    QDialog* dialog = nullptr;

    Search(const QString& text, int anchor, int position)
    {
        window.show();
        window.putPage(text);
        select(anchor, position);
    }
    void select(int anchor, int position)
    {
        QTextCursor cursor(memo.document());
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        memo.setTextCursor(cursor);
    }
    void open(bool replace)
    {
        QTest::mouseClick(replace ? window.form().bReplace : window.form().bFind, Qt::LeftButton);
        dialog = window.findChild<QDialog*>(replace ? QStringLiteral("ReplaceDialog") : QStringLiteral("FindDialog"));
    }
    template <typename T>
    T* control(const char* name)
    {
        return dialog->findChild<T*>(QString::fromLatin1(name));
    }
    void setOptions(const QString& what, bool matchCase, bool wholeWord, bool up)
    {
        control<QLineEdit>("eFindWhat")->setText(what);
        control<QCheckBox>("cbMatchCase")->setChecked(matchCase);
        control<QCheckBox>("cbWholeWord")->setChecked(wholeWord);
        QTest::mouseClick(control<QRadioButton>(up ? "rbUp" : "rbDown"), Qt::LeftButton);
    }
    void press(const char* button) { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }
    std::pair<int, int> selection() const
    {
        return {memo.textCursor().selectionStart(), memo.textCursor().selectionEnd()};
    }
};

// Find Next searches from the selection, forwards from its end or
// backwards from its start, with match case and whole word; nothing found
// leaves the selection as it was.
TEST(FindReplace, FindNextFromTheSelection)
{
    //                     0         1         2         3
    //                     0123456789012345678901234567890123
    const QString text = QStringLiteral("Cat cat catalog CAT\ncat");
    struct Row {
        const char* what;
        bool matchCase, wholeWord, up;
        int selStart, selEnd;
        int foundStart;  // -1: nothing found
    };
    const Row rows[] = {
        {"cat", false, false, false, 0, 0, 0},
        {"cat", false, false, false, 0, 3, 4},
        {"cat", true, false, false, 0, 3, 4},
        {"cat", true, false, false, 5, 5, 8},
        {"cat", false, true, false, 5, 5, 16},
        {"cat", true, true, false, 5, 5, 20},  // across the line end
        {"CAT", true, false, false, 17, 17, -1},
        {"cat", false, false, true, 16, 19, 8},  // up: before the selection's start
        {"cat", true, true, true, 20, 23, 4},
        {"dog", false, false, false, 0, 0, -1},
    };
    for (const Row& row : rows) {
        Search s(text, row.selStart, row.selEnd);
        s.open(false);
        s.setOptions(QString::fromLatin1(row.what), row.matchCase, row.wholeWord, row.up);
        s.press("bFindNext");
        const int length = int(qstrlen(row.what));
        const std::pair<int, int> expected = row.foundStart < 0 ? std::pair{row.selStart, row.selEnd}
                                                                : std::pair{row.foundStart, row.foundStart + length};
        EXPECT_EQ(s.selection(), expected) << row.what << " from " << row.selStart;
        EXPECT_EQ(s.window.text(), text);
    }
}

// Replace changes the selection when it is a match and the next match
// otherwise; Replace All goes on to the end, is one step for Undo, and
// ends even when the replacement holds the search text.
TEST(FindReplace, ReplaceAndReplaceAll)
{
    struct Row {
        const char* text;
        int selStart, selEnd;
        const char* what;
        const char* with;
        bool all, up;
        const char* result;
    };
    const Row rows[] = {
        {"a b a b a", 0, 1, "a", "x", false, false, "x b a b a"},
        {"a b a b a", 0, 0, "a", "x", false, false, "x b a b a"},
        {"a b a b a", 1, 1, "a", "x", false, false, "a b x b a"},
        {"a b a b a", 0, 0, "a", "x", true, false, "x b x b x"},
        {"a b a b a", 3, 3, "a", "x", true, false, "a b x b x"},  // from the selection on
        {"a b a b a", 5, 5, "a", "x", true, true, "x b x b a"},   // upwards
        {"a b a b a", 0, 0, "a", "aa", true, false, "aa b aa b aa"},
        {"a b a b a", 9, 9, "a", "aa", true, true, "aa b aa b aa"},
        {"ab\nab", 0, 0, "ab", "", true, false, "\n"},
        {"abc", 0, 0, "z", "y", true, false, "abc"},
    };
    for (const Row& row : rows) {
        Search s(QString::fromLatin1(row.text), row.selStart, row.selEnd);
        s.open(true);
        s.setOptions(QString::fromLatin1(row.what), false, false, row.up);
        s.control<QLineEdit>("eReplaceWith")->setText(QString::fromLatin1(row.with));
        s.press(row.all ? "bReplaceAll" : "bReplaceOne");
        EXPECT_EQ(s.window.text(), QString::fromLatin1(row.result)) << row.text << " " << row.what;
        if (QString::fromLatin1(row.result) != QString::fromLatin1(row.text)) {
            // The last replaced text is selected; one Undo takes it all back.
            EXPECT_EQ(s.memo.textCursor().selectedText(), QString::fromLatin1(row.with));
            QTest::mouseClick(s.window.form().bUndo, Qt::LeftButton);
            EXPECT_EQ(s.window.text(), QString::fromLatin1(row.text));
        }
    }
}

// The two dialogs share the search text when nothing is selected; Enter
// searches, Escape closes.
TEST(FindReplace, SharedSearchTextAndKeys)
{
    Search s(QStringLiteral("one two one"), 0, 0);
    s.open(false);
    s.control<QLineEdit>("eFindWhat")->setText(QStringLiteral("one"));
    QTest::keyClick(s.control<QLineEdit>("eFindWhat"), Qt::Key_Return);
    EXPECT_EQ(s.selection(), (std::pair{0, 3}));
    QTest::keyClick(s.control<QLineEdit>("eFindWhat"), Qt::Key_Return);
    EXPECT_EQ(s.selection(), (std::pair{8, 11}));
    QTest::keyClick(s.control<QLineEdit>("eFindWhat"), Qt::Key_Escape);
    EXPECT_FALSE(s.dialog->isVisible());

    s.select(4, 4);
    s.open(true);
    EXPECT_EQ(s.control<QLineEdit>("eFindWhat")->text(), QStringLiteral("one"));
    EXPECT_TRUE(s.control<QLineEdit>("eReplaceWith")->isVisible());
    // An empty search text cannot be searched for.
    s.control<QLineEdit>("eFindWhat")->clear();
    EXPECT_FALSE(s.control<QPushButton>("bReplaceAll")->isEnabled());
}

// A match is selected in the editor, which takes the focus of its window,
// and the dialog moves off the match when it covers it.
TEST(FindReplace, MatchGetsFocusAndStaysInSight)
{
    Search s(QStringLiteral("first line\nsecond line\nthird target line"), 0, 0);
    s.open(false);
    s.window.form().bOpenIt->setFocus();
    s.control<QLineEdit>("eFindWhat")->setText(QStringLiteral("target"));
    QTextCursor match(s.memo.document());
    match.setPosition(30);
    QRect matchRect = s.memo.cursorRect(match);
    matchRect.moveTopLeft(s.memo.viewport()->mapToGlobal(matchRect.topLeft()));
    s.dialog->move(matchRect.center() - QPoint(20, 20));
    ASSERT_TRUE(s.dialog->frameGeometry().intersects(matchRect));
    s.press("bFindNext");
    EXPECT_EQ(s.memo.textCursor().selectedText(), QStringLiteral("target"));
    EXPECT_EQ(s.window.focusWidget(), &s.memo);
    EXPECT_FALSE(s.dialog->frameGeometry().intersects(matchRect));
}

}  // namespace
}  // namespace tessaly
