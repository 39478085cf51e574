#include "support/fakeservices.h"
#include "ui_tfhtm.h"
#include "viewer/tfhtm.h"
#include "viewertesttools.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFontDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::FakeServices;
using testing::FileDialogAnswers;
using testing::readAll;
using testing::TempFolder;

const QString kPage = QStringLiteral("<HTML>\r\n<BODY>\r\n<IMG SRC=\"a.jpg\">\r\n<img src=\"b.jpg\">\r\n"
                                     "<IMG SRC=\"c.jpg\">\r\n</BODY>\r\n</HTML>");
const QString kNote =
    QStringLiteral("(NOTE - if you changed the relative reference to images, or save the html in a different location, "
                   "your html may not work correctly)");

// A viewer as a gallery run leaves it: the page shown and saved.
struct Viewer {
    FakeServices fake;
    FileDialogAnswers files;
    TempFolder folder;
    TfHTM window{fake.services};
    Ui::TfHTM& ui = window.form();
    QString page = folder.path() + QStringLiteral("/MyWeb.htm");

    Viewer()
    {
        files.install(fake.dialogs);
        window.showViewer();
        window.putPage(kPage);
        window.setPageCaption(page);
        window.pointDialogsAt(page, folder.path());
        window.savePage(page);
    }
    void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    // Types `text` at the start of the page.
    void type(const QString& text)
    {
        QTest::keyClick(ui.Memo1, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClicks(ui.Memo1, text);
    }
};

// The window as made: caption, size, editor font and scroll bar, every
// tool-bar control with its caption or hint and an accessible name.
TEST(TfHTM, WindowAsMade)
{
    FakeServices fake;
    TfHTM window(fake.services);
    Ui::TfHTM& ui = window.form();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("HTML Viewer"));
    EXPECT_EQ(window.size(), QSize(636, 460));
    EXPECT_EQ(ui.Memo1->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(ui.Memo1->font().pointSize(), 8);
    EXPECT_EQ(ui.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::Window));
    EXPECT_FALSE(window.isModal());
    const std::pair<QAbstractButton*, const char*> captions[] = {
        {ui.bOpenIt, "Open File"},  {ui.bSaveIt, "Save File"},   {ui.bBrowse, "Open in Browser"}, {ui.bOK, "OK"},
        {ui.bSelAll, "Select All"}, {ui.bDelSel, "DeSelect All"}};
    for (const auto& [button, caption] : captions)
        EXPECT_EQ(button->text(), QString::fromLatin1(caption));
    const std::pair<QAbstractButton*, const char*> hints[] = {{ui.bUndo, "Undo"},
                                                              {ui.bRedo, "Redo"},
                                                              {ui.bFind, "Find..."},
                                                              {ui.bReplace, "Replace..."},
                                                              {ui.bFont, "Change Font..."},
                                                              {ui.bNotepad, "Launch Notepad"},
                                                              {ui.bWordpad, "Launch Wordpad"}};
    for (const auto& [button, hint] : hints) {
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(hint));
        EXPECT_EQ(button->accessibleName(), QString::fromLatin1(hint));
        EXPECT_FALSE(button->icon().isNull()) << hint;
    }
    EXPECT_FALSE(ui.Memo1->accessibleName().isEmpty());
    // The four big buttons' captions: black, green while the mouse is over.
    for (GradientButton* button : {ui.bOpenIt, ui.bSaveIt, ui.bBrowse, ui.bOK}) {
        EXPECT_EQ(button->font().bold(), true);
        EXPECT_EQ(button->font().pointSize(), 10);
        EXPECT_EQ(button->captionColor(), QColor(Qt::black));
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(button, &enter);
        EXPECT_EQ(button->captionColor(), QColor(0x00, 0x80, 0x00));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(button, &leave);
        EXPECT_EQ(button->captionColor(), QColor(Qt::black));
    }
    // The captions fit their buttons.
    for (QAbstractButton* button :
         {static_cast<QAbstractButton*>(ui.bOpenIt), static_cast<QAbstractButton*>(ui.bSaveIt),
          static_cast<QAbstractButton*>(ui.bBrowse), static_cast<QAbstractButton*>(ui.bOK),
          static_cast<QAbstractButton*>(ui.bSelAll), static_cast<QAbstractButton*>(ui.bDelSel)}) {
        window.show();
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), button->width() - 4)
            << button->text().toStdString();
    }
}

// A gallery page arrives with "\r\n" line ends, shows as ordinary lines and
// is saved as the page text plus one "\r\n"; nothing is modified or
// undoable, and the caret stands at position 1.
TEST(TfHTM, PagePutInIsShownAndSaved)
{
    Viewer v;
    EXPECT_TRUE(v.window.isVisible());
    EXPECT_EQ(v.window.windowTitle(), QStringLiteral("HTML Editor: ") + v.page);
    EXPECT_EQ(v.ui.Memo1->document()->blockCount(), 7);
    EXPECT_EQ(v.ui.Memo1->document()->findBlockByNumber(6).text(), QStringLiteral("</HTML>"));
    EXPECT_EQ(readAll(v.page), (kPage + QStringLiteral("\r\n")).toUtf8());
    EXPECT_EQ(v.window.currentFile(), v.page);
    EXPECT_FALSE(v.window.isModified());
    EXPECT_FALSE(v.ui.Memo1->document()->isUndoAvailable());
    EXPECT_EQ(v.ui.Memo1->textCursor().position(), 1);
}

// Open, edit, find, replace all, undo and redo it as one step, save, reopen:
// the change is on disk with "\r\n" line ends and shows again.
TEST(TfHTM, EditFindReplaceUndoSaveReopen)
{
    Viewer v;
    const QString other = v.folder.write(QStringLiteral("other.htm"), "<P>one</P>\r\n<P>two</P>\r\n");
    v.files.openPath = other;
    v.click(v.ui.bOpenIt);
    EXPECT_EQ(v.window.text(), QStringLiteral("<P>one</P>\n<P>two</P>"));
    EXPECT_EQ(v.window.currentFile(), other);
    EXPECT_EQ(v.window.windowTitle(), QStringLiteral("HTML Editor: ") + other);
    EXPECT_TRUE(v.fake.messages.shown.empty());

    v.type(QStringLiteral("<!-- mine -->"));
    EXPECT_TRUE(v.window.isModified());

    // Find: the dialog takes the selection; Find Next selects the match.
    auto* findDialog = v.window.findChild<QDialog*>(QStringLiteral("FindDialog"));
    ASSERT_TRUE(findDialog);
    v.click(v.ui.bFind);
    ASSERT_TRUE(findDialog->isVisible());
    auto* findWhat = findDialog->findChild<QLineEdit*>(QStringLiteral("eFindWhat"));
    findWhat->setText(QStringLiteral("P>"));
    v.click(findDialog->findChild<QPushButton*>(QStringLiteral("bFindNext")));
    EXPECT_EQ(v.ui.Memo1->textCursor().selectedText(), QStringLiteral("P>"));
    EXPECT_EQ(v.ui.Memo1->textCursor().selectionStart(), 14);

    // Replace: the dialog offers the selected text; Replace All changes
    // every match from the selection on, as one step.
    auto* replaceDialog = v.window.findChild<QDialog*>(QStringLiteral("ReplaceDialog"));
    v.click(v.ui.bReplace);
    EXPECT_FALSE(findDialog->isVisible());
    EXPECT_EQ(replaceDialog->findChild<QLineEdit*>(QStringLiteral("eFindWhat"))->text(), QStringLiteral("P>"));
    replaceDialog->findChild<QLineEdit*>(QStringLiteral("eReplaceWith"))->setText(QStringLiteral("B>"));
    v.click(replaceDialog->findChild<QPushButton*>(QStringLiteral("bReplaceAll")));
    const QString replaced = QStringLiteral("<!-- mine --><B>one</B>\n<B>two</B>");
    EXPECT_EQ(v.window.text(), replaced);
    EXPECT_EQ(v.ui.Memo1->textCursor().selectedText(), QStringLiteral("B>"));
    EXPECT_EQ(v.ui.Memo1->textCursor().selectionStart(), int(replaced.size()) - 2);
    v.click(v.ui.bUndo);
    EXPECT_EQ(v.window.text(), QStringLiteral("<!-- mine --><P>one</P>\n<P>two</P>"));
    v.click(v.ui.bRedo);
    EXPECT_EQ(v.window.text(), replaced);

    // Save File to the file itself, then open it again.
    v.files.savePath = other;
    v.click(v.ui.bSaveIt);
    EXPECT_FALSE(v.window.isModified());
    EXPECT_EQ(readAll(other), QByteArray("<!-- mine --><B>one</B>\r\n<B>two</B>\r\n"));
    v.click(v.ui.bOpenIt);
    EXPECT_TRUE(v.fake.messages.shown.empty());
    EXPECT_EQ(v.window.text(), replaced);
}

// "OK": no question when nothing changed since the gallery saved the page;
// after a change the save question, and the window closes whatever the
// answer; "Save File?" on Yes saves a copy and leaves the file shown alone.
TEST(TfHTM, OkAsksOnlyAboutChanges)
{
    {
        Viewer v;
        v.click(v.ui.bOK);
        EXPECT_TRUE(v.fake.messages.shown.empty());
        EXPECT_FALSE(v.window.isVisible());
    }
    {
        Viewer v;
        v.type(QStringLiteral("x"));
        v.fake.messages.script(MessageAnswer::No);
        v.click(v.ui.bOK);
        EXPECT_EQ(v.fake.messages.texts(), QStringList{QStringLiteral("Save File?\r") + kNote});
        EXPECT_EQ(v.fake.messages.shown[0].buttons, MessageButtons::YesNo);
        EXPECT_EQ(v.fake.messages.shown[0].icon, MessageIcon::Question);
        EXPECT_FALSE(v.window.isVisible());
        EXPECT_EQ(readAll(v.page), (kPage + QStringLiteral("\r\n")).toUtf8());
    }
    {
        Viewer v;
        v.type(QStringLiteral("x"));
        v.files.savePath = v.folder.path() + QStringLiteral("/copy.htm");
        v.click(v.ui.bOK);
        EXPECT_FALSE(v.window.isVisible());
        EXPECT_EQ(readAll(v.files.savePath), (QStringLiteral("x") + kPage + QStringLiteral("\r\n")).toUtf8());
        EXPECT_EQ(v.window.currentFile(), v.page);
        EXPECT_TRUE(v.window.isModified());
    }
}

// "Open File" asks before the changes go; on Yes they are saved as a copy
// through the save dialog, on No they are dropped; a cancelled open dialog
// keeps everything.
TEST(TfHTM, OpenFileAsksBeforeChangesGo)
{
    Viewer v;
    v.type(QStringLiteral("x"));
    v.fake.messages.script(MessageAnswer::No);
    v.click(v.ui.bOpenIt);  // the open dialog is cancelled
    EXPECT_EQ(v.fake.messages.texts(), QStringList{QStringLiteral("File has changed, Save File?\r") + kNote});
    EXPECT_EQ(v.files.shown, QStringList{QStringLiteral("OD")});
    EXPECT_TRUE(v.window.text().startsWith(u'x'));

    const QString copy = v.folder.path() + QStringLiteral("/copy.htm");
    v.files.savePath = copy;
    v.files.openPath = v.page;
    v.click(v.ui.bOpenIt);
    EXPECT_EQ(readAll(copy), (QStringLiteral("x") + kPage + QStringLiteral("\r\n")).toUtf8());
    EXPECT_EQ(v.window.text(), QString(kPage).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    EXPECT_FALSE(v.window.isModified());
}

// "Open in Browser": saves changes to CurrentFile first (or not, or stops),
// then opens BrowseFile or CurrentFile through the desktop; never an empty
// path.
TEST(TfHTM, OpenInBrowser)
{
    struct Row {
        MessageAnswer answer;
        bool saved;
        bool opened;
    };
    for (const Row row : {Row{MessageAnswer::Yes, true, true}, Row{MessageAnswer::No, false, true},
                          Row{MessageAnswer::Cancel, false, false}}) {
        Viewer v;
        v.type(QStringLiteral("x"));
        v.fake.messages.script(row.answer);
        v.click(v.ui.bBrowse);
        EXPECT_EQ(v.fake.messages.texts(), QStringList{QStringLiteral("File has changed.  Save Changes?")});
        EXPECT_EQ(v.fake.messages.shown[0].buttons, MessageButtons::YesNoCancel);
        EXPECT_EQ(readAll(v.page).startsWith('x'), row.saved);
        EXPECT_EQ(v.window.isModified(), !row.saved);
        EXPECT_EQ(v.fake.shell.calls, row.opened ? QStringList{QStringLiteral("open ") + v.page} : QStringList{});
    }

    // A frames gallery opens its frameset; "Open File" forgets it again.
    Viewer v;
    const QString frameset = v.folder.write(QStringLiteral("frames.htm"));
    v.window.setBrowseFile(frameset);
    v.click(v.ui.bBrowse);
    v.files.openPath = v.page;
    v.click(v.ui.bOpenIt);
    v.click(v.ui.bBrowse);
    EXPECT_EQ(v.fake.shell.calls, (QStringList{QStringLiteral("open ") + frameset, QStringLiteral("open ") + v.page}));

    // "Save File" to a new path: later saves go there, the caption stays.
    const QString moved = v.folder.path() + QStringLiteral("/moved.htm");
    v.files.savePath = moved;
    v.click(v.ui.bSaveIt);
    v.type(QStringLiteral("y"));
    v.click(v.ui.bBrowse);
    EXPECT_TRUE(readAll(moved).startsWith('y'));
    EXPECT_EQ(v.window.windowTitle(), QStringLiteral("HTML Editor: ") + v.page);
    EXPECT_EQ(v.fake.shell.calls.last(), QStringLiteral("open ") + moved);
}

// With no file yet, "Open in Browser" asks to save; No, or a cancelled save
// dialog, opens nothing; Yes with a path saves there and opens it.
TEST(TfHTM, OpenInBrowserWithoutAFile)
{
    FakeServices fake;
    FileDialogAnswers files;
    files.install(fake.dialogs);
    TempFolder folder;
    TfHTM window(fake.services);
    window.show();
    QTest::keyClicks(window.form().Memo1, QStringLiteral("<P>new</P>"));

    fake.messages.script(MessageAnswer::No);
    QTest::mouseClick(window.form().bBrowse, Qt::LeftButton);
    fake.messages.script(MessageAnswer::Yes);
    QTest::mouseClick(window.form().bBrowse, Qt::LeftButton);  // save dialog cancelled
    EXPECT_EQ(fake.messages.texts(), QStringList(2, QStringLiteral("File must be saved.  Save Now?")));
    EXPECT_TRUE(fake.shell.calls.isEmpty());

    files.savePath = folder.path() + QStringLiteral("/new.htm");
    fake.messages.script(MessageAnswer::Yes);
    QTest::mouseClick(window.form().bBrowse, Qt::LeftButton);
    EXPECT_EQ(fake.messages.shown.size(), 3u);
    EXPECT_EQ(readAll(files.savePath), QByteArray("<P>new</P>\r\n"));
    EXPECT_EQ(fake.shell.calls, QStringList{QStringLiteral("open ") + files.savePath});
    EXPECT_EQ(window.currentFile(), files.savePath);
}

// A file that cannot be read or written: the error is shown and the window
// keeps its text, file and flag.
TEST(TfHTM, FileErrorsLeaveTheWindowAsItWas)
{
    Viewer v;
    v.type(QStringLiteral("x"));
    v.files.savePath = v.folder.path() + QStringLiteral("/missing/folder/page.htm");
    v.click(v.ui.bSaveIt);
    ASSERT_EQ(v.fake.messages.shown.size(), 1u);
    EXPECT_EQ(v.fake.messages.shown[0].icon, MessageIcon::Error);
    EXPECT_TRUE(v.fake.messages.shown[0].text.startsWith(QStringLiteral("Cannot create file \"") + v.files.savePath));
    EXPECT_EQ(v.window.currentFile(), v.page);
    EXPECT_TRUE(v.window.isModified());

    // An unreadable file (a folder) is not loaded.
    v.fake.messages.script(MessageAnswer::No);
    v.files.openPath = v.folder.makeFolder(QStringLiteral("sub.htm"));
    v.click(v.ui.bOpenIt);
    EXPECT_EQ(v.fake.messages.shown.size(), 3u);
    EXPECT_TRUE(v.window.text().startsWith(u'x'));
    EXPECT_EQ(v.window.currentFile(), v.page);
    EXPECT_THROW(v.window.savePage(v.files.savePath), ViewerFileError);
    EXPECT_EQ(v.window.currentFile(), v.page);
}

// Select All selects everything; DeSelect All leaves the caret at the very
// start with nothing selected.
TEST(TfHTM, SelectAndDeselectAll)
{
    Viewer v;
    v.click(v.ui.bSelAll);
    EXPECT_EQ(v.ui.Memo1->textCursor().selectionStart(), 0);
    EXPECT_EQ(v.ui.Memo1->textCursor().selectionEnd(), int(v.window.text().size()));
    v.click(v.ui.bDelSel);
    EXPECT_FALSE(v.ui.Memo1->textCursor().hasSelection());
    EXPECT_EQ(v.ui.Memo1->textCursor().position(), 0);
}

// The font dialog: Apply changes the editor's font while the dialog stays,
// OK keeps the chosen font, Cancel the font as it was.
TEST(TfHTM, FontDialogWithApply)
{
    Viewer v;
    QFont chosen(QStringLiteral("DejaVu Serif"), 14);
    chosen.setBold(true);
    v.fake.dialogs.whileShown = [&](QDialog& dialog) {
        auto& fonts = static_cast<QFontDialog&>(dialog);
        fonts.setCurrentFont(chosen);
        auto* apply = dialog.findChild<QPushButton*>(QStringLiteral("FD1ApplyButton"));
        ASSERT_TRUE(apply);
        QTest::mouseClick(apply, Qt::LeftButton);
        EXPECT_EQ(v.ui.Memo1->font().pointSize(), 14);
        fonts.setCurrentFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    };
    v.fake.dialogs.results = {QDialog::Rejected, QDialog::Accepted};
    v.click(v.ui.bFont);
    EXPECT_EQ(v.fake.dialogs.shownNames, QStringList{QStringLiteral("FD1")});
    EXPECT_EQ(v.ui.Memo1->font().pointSize(), 14);  // applied before the cancel
    v.click(v.ui.bFont);
    EXPECT_EQ(v.ui.Memo1->font().pointSize(), 11);
}

// Notepad and Wordpad open the desktop's editor and word processor empty
// (the current page is not passed); when none can be started the user is
// told.
TEST(TfHTM, LaunchEditors)
{
    Viewer v;
    v.click(v.ui.bNotepad);
    v.click(v.ui.bWordpad);
    EXPECT_EQ(v.fake.shell.calls,
              (QStringList{QStringLiteral("text editor "), QStringLiteral("word processor ")}));
    EXPECT_TRUE(v.fake.messages.shown.empty());
    v.fake.shell.accept = false;
    v.click(v.ui.bNotepad);
    v.click(v.ui.bWordpad);
    ASSERT_EQ(v.fake.messages.shown.size(), 2u);
    EXPECT_TRUE(v.fake.messages.shown[0].text.startsWith(QStringLiteral("No plain-text editor")));
    EXPECT_TRUE(v.fake.messages.shown[1].text.startsWith(QStringLiteral("No word processor")));
}

// Escape and the close box put the window away without a question; the
// text stays for the next showing.
TEST(TfHTM, EscapeHidesWithoutQuestion)
{
    Viewer v;
    v.type(QStringLiteral("x"));
    QTest::keyClick(v.ui.Memo1, Qt::Key_Escape);
    EXPECT_FALSE(v.window.isVisible());
    EXPECT_TRUE(v.fake.messages.shown.empty());
    v.window.showViewer();
    v.window.close();
    EXPECT_FALSE(v.window.isVisible());
    EXPECT_TRUE(v.window.text().startsWith(u'x'));
}

}  // namespace
}  // namespace tessaly
