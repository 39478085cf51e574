#include "filetools/tform4.h"
#include "settings/mainsettings.h"
#include "support/fakeservices.h"
#include "ui_tfdlgouthtml.h"
#include "ui_tform4.h"
#include "gallery/dialogs/tfdlgouthtml.h"

#include <QFileInfo>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::FakeServices;
using testing::TempFolder;

// The dialog shown as the gallery run shows it, after a run whose first
// output went to `folder`.
struct Dialog {
    FakeServices fake;
    TempFolder folder;
    TForm4 confirm{fake.messages, fake.settings};
    std::unique_ptr<TfDlgOutHTML> dialog = std::make_unique<TfDlgOutHTML>(fake.services, fake.settings, confirm);
    Ui::TfDlgOutHTML& ui = dialog->form();

    void showAt(const QString& firstOutputPath)
    {
        dialog->setFirstOutputPath(firstOutputPath);
        dialog->show();
    }
    void pressOk() { QTest::mouseClick(ui.BitBtn1, Qt::LeftButton); }
    void clickItem(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QRect rect = ui.lbFiles->visualItemRect(ui.lbFiles->item(row));
        QTest::mouseClick(ui.lbFiles->viewport(), Qt::LeftButton, modifiers, rect.center());
    }
    QAction* action(const char* name)
    {
        auto* menu = dialog->findChild<QMenu*>(QStringLiteral("pm"));
        emit menu->aboutToShow();
        return menu->findChild<QAction*>(QString::fromLatin1(name));
    }
};

// The dialog as made: the list's mask and multiple selection, the popup
// menu's items in order.
TEST(TfDlgOutHTML, DialogAsMade)
{
    Dialog d;
    EXPECT_EQ(d.ui.lbFiles->mask(), QStringLiteral("*.htm;*.html"));
    EXPECT_EQ(d.ui.lbFiles->selectionMode(), QAbstractItemView::ExtendedSelection);
    QStringList items;
    for (QAction* action : d.dialog->findChild<QMenu*>(QStringLiteral("pm"))->actions())
        items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(items, (QStringList{QStringLiteral("Open in Notepad"), QStringLiteral("-"), QStringLiteral("Select All"),
                                  QStringLiteral("DeSelect All"), QStringLiteral("Invert Selection"),
                                  QStringLiteral("-"), QStringLiteral("Delete Selected Files")}));
}

// OK corrects the name (empty, or without ".htm" compared with case, to
// "MyWeb.htm") and closes the dialog with the folder and the name.
TEST(TfDlgOutHTML, NameRules)
{
    struct Row {
        const char* typed;
        const char* kept;
    };
    const Row rows[] = {{"", "MyWeb.htm"},
                        {"gallery.html", "gallery.html"},
                        {"gallery.HTML", "MyWeb.htm"},
                        {"gallery.txt", "MyWeb.htm"},
                        {"gallery", "MyWeb.htm"},
                        {"page.htm", "page.htm"},
                        {"my.htm.bak", "my.htm.bak"}};
    for (const Row& row : rows) {
        Dialog d;
        d.showAt(d.folder.path() + QStringLiteral("/Thumb001.jpg"));
        d.ui.eFileName->setText(QString::fromLatin1(row.typed));
        d.pressOk();
        EXPECT_EQ(d.dialog->result(), QDialog::Accepted) << row.typed;
        EXPECT_FALSE(d.dialog->isVisible());
        EXPECT_EQ(d.dialog->location().folder, d.folder.path());
        EXPECT_EQ(d.dialog->location().fileName, QString::fromLatin1(row.kept));
        EXPECT_TRUE(d.fake.messages.shown.empty());
    }
}

// An existing file is not overwritten without "Overwrite file?"; Cancel
// keeps the dialog open with the same folder and name, OK goes on. This
// also holds for the empty name turned into an existing "MyWeb.htm".
TEST(TfDlgOutHTML, OverwriteQuestion)
{
    Dialog d;
    d.folder.write(QStringLiteral("MyWeb.htm"));
    d.showAt(d.folder.path() + QStringLiteral("/Thumb001.jpg"));
    d.ui.eFileName->clear();
    d.fake.messages.script(MessageAnswer::Cancel);
    d.pressOk();
    ASSERT_EQ(d.fake.messages.texts(), QStringList{QStringLiteral("Overwrite file?")});
    EXPECT_EQ(d.fake.messages.shown[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(d.fake.messages.shown[0].icon, MessageIcon::Question);
    EXPECT_TRUE(d.dialog->isVisible());
    EXPECT_EQ(d.dialog->location().path(), d.folder.path() + QStringLiteral("/MyWeb.htm"));

    d.pressOk();  // answered OK
    EXPECT_EQ(d.fake.messages.shown.size(), 2u);
    EXPECT_FALSE(d.dialog->isVisible());
    EXPECT_EQ(d.dialog->result(), QDialog::Accepted);
}

// A name with a separator or naming a folder would not be a page in the
// chosen folder: the user is told and the dialog stays.
TEST(TfDlgOutHTML, NamesThatAreNotAFileOfTheFolder)
{
    Dialog d;
    d.folder.makeFolder(QStringLiteral("old.htm"));
    d.showAt(d.folder.path() + QStringLiteral("/Thumb001.jpg"));
    for (const QString& name : {QStringLiteral("../../etc/x.htm"), QStringLiteral("old.htm")}) {
        d.ui.eFileName->setText(name);
        d.pressOk();
        EXPECT_TRUE(d.dialog->isVisible()) << name.toStdString();
    }
    EXPECT_EQ(d.fake.messages.shown.size(), 2u);
    EXPECT_FALSE(QFileInfo::exists(d.folder.path() + QStringLiteral("/../../etc/x.htm")));
}

// The dialog opens at the folder of the last run's first output file,
// lists its HTML files, keeps the typed name, and hands back the location;
// Cancel (or Escape) hands back nothing.
TEST(TfDlgOutHTML, AskStartsAtTheRunsFolder)
{
    Dialog d;
    d.folder.write(QStringLiteral("thumbs/b.HTML"));
    d.folder.write(QStringLiteral("thumbs/a.htm"));
    d.folder.write(QStringLiteral("thumbs/c.jpg"));
    const QString thumbs = d.folder.path() + QStringLiteral("/thumbs");
    d.ui.eFileName->setText(QStringLiteral("kept.htm"));
    d.fake.dialogs.whileShown = [&](QDialog&) {
        EXPECT_EQ(d.ui.dtTree->folder(), thumbs);
        EXPECT_EQ(d.ui.lbFiles->names(), (QStringList{QStringLiteral("a.htm"), QStringLiteral("b.HTML")}));
        EXPECT_EQ(d.ui.eFileName->text(), QStringLiteral("kept.htm"));
    };
    const std::optional<HtmlLocation> chosen = d.dialog->ask(thumbs + QStringLiteral("/Thumb001.jpg"));
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->path(), thumbs + QStringLiteral("/kept.htm"));

    d.fake.dialogs.whileShown = {};
    d.fake.dialogs.results = {QDialog::Rejected};
    EXPECT_FALSE(d.dialog->ask(thumbs + QStringLiteral("/Thumb001.jpg")));

    // Cancel and Escape cancel the real dialog.
    d.showAt(thumbs + QStringLiteral("/Thumb001.jpg"));
    QTest::mouseClick(d.ui.BitBtn2, Qt::LeftButton);
    EXPECT_EQ(d.dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(d.dialog->isVisible());
    d.showAt(thumbs + QStringLiteral("/Thumb001.jpg"));
    d.dialog->setResult(QDialog::Accepted);
    QTest::keyClick(d.ui.eFileName, Qt::Key_Escape);
    EXPECT_EQ(d.dialog->result(), QDialog::Rejected);
    // An empty output path keeps the folder of the last showing.
    d.showAt(QString());
    EXPECT_EQ(d.ui.dtTree->folder(), thumbs);
    // Enter presses OK.
    QTest::keyClick(d.ui.eFileName, Qt::Key_Return);
    EXPECT_EQ(d.dialog->result(), QDialog::Accepted);
}

// The root folder and a name give one separator between them.
TEST(TfDlgOutHTML, RootFolderPath)
{
    EXPECT_EQ((HtmlLocation{QStringLiteral("/"), QStringLiteral("MyWeb.htm")}.path()), QStringLiteral("/MyWeb.htm"));
    EXPECT_EQ((HtmlLocation{QStringLiteral("/web"), QStringLiteral("a.htm")}.path()), QStringLiteral("/web/a.htm"));
}

// A click in the list picks that file's name; Select All, DeSelect All and
// Invert Selection from the popup menu; Open in Notepad opens the focused
// file when it is selected.
TEST(TfDlgOutHTML, ListClicksAndPopupMenu)
{
    Dialog d;
    for (const char* name : {"a.htm", "b.htm", "c.html"})
        d.folder.write(QString::fromLatin1(name));
    d.showAt(d.folder.path() + QStringLiteral("/x.jpg"));
    d.clickItem(1);
    EXPECT_EQ(d.ui.eFileName->text(), QStringLiteral("b.htm"));
    d.action("OpeninNotepad1")->trigger();
    EXPECT_EQ(d.fake.shell.calls,
              QStringList{QStringLiteral("text editor ") + d.folder.path() + QStringLiteral("/b.htm")});

    d.action("InvertSelection1")->trigger();
    EXPECT_EQ(d.ui.lbFiles->selectedNames(), (QStringList{QStringLiteral("a.htm"), QStringLiteral("c.html")}));
    d.action("OpeninNotepad1")->trigger();  // b.htm has the focus but is not selected
    EXPECT_EQ(d.fake.shell.calls.last(), QStringLiteral("text editor "));
    d.action("SelectAll1")->trigger();
    EXPECT_EQ(d.ui.lbFiles->selectedCount(), 3);
    d.action("DeSelectAll1")->trigger();
    EXPECT_EQ(d.ui.lbFiles->selectedCount(), 0);
    EXPECT_FALSE(d.action("DeleteSelectedFiles1")->isEnabled());
    EXPECT_EQ(d.ui.eFileName->text(), QStringLiteral("b.htm"));
}

// Deleting: two selected files go to the trash one by one after the
// confirmation "Confirm deletion of 2 files..."; unchecking the trash
// deletes at once; No deletes nothing; the Delete key with nothing
// selected does nothing. The typed name stays.
TEST(TfDlgOutHTML, DeleteSelectedFiles)
{
    Dialog d;
    for (const char* name : {"a.htm", "b.htm", "c.htm"})
        d.folder.write(QString::fromLatin1(name));
    d.showAt(d.folder.path() + QStringLiteral("/x.jpg"));
    d.ui.eFileName->setText(QStringLiteral("a.htm"));

    QTest::keyClick(d.ui.lbFiles, Qt::Key_Delete);
    EXPECT_TRUE(d.fake.dialogs.shownNames.isEmpty());

    d.clickItem(0);
    d.clickItem(2, Qt::ControlModifier);
    QString question;
    d.fake.dialogs.whileShown = [&](QDialog& dialog) {
        question = static_cast<TForm4&>(dialog).form().lNumDel->text();
    };
    QTest::keyClick(d.ui.lbFiles, Qt::Key_Delete);
    EXPECT_EQ(question, QStringLiteral("Confirm deletion of 2 files..."));
    EXPECT_EQ(d.fake.trash.trashed,
              (QStringList{d.folder.path() + QStringLiteral("/a.htm"), d.folder.path() + QStringLiteral("/c.htm")}));
    EXPECT_EQ(d.ui.lbFiles->selectedCount(), 0);  // the list was read again

    // No: nothing goes.
    d.ui.eFileName->setText(QStringLiteral("a.htm"));
    d.action("SelectAll1")->trigger();
    d.fake.dialogs.results = {QDialog::Rejected};
    d.action("DeleteSelectedFiles1")->trigger();
    EXPECT_EQ(d.ui.lbFiles->count(), 3);
    EXPECT_EQ(d.ui.lbFiles->selectedCount(), 3);

    // At once, without the trash.
    d.fake.dialogs.whileShown = [&](QDialog&) { QTest::mouseClick(d.confirm.form().cbRecycle, Qt::LeftButton); };
    d.clickItem(1);
    d.action("DeleteSelectedFiles1")->trigger();
    EXPECT_EQ(d.ui.lbFiles->names(), (QStringList{QStringLiteral("a.htm"), QStringLiteral("c.htm")}));
    EXPECT_EQ(d.fake.trash.trashed.size(), 2);
    EXPECT_EQ(d.ui.eFileName->text(), QStringLiteral("b.htm"));  // the click picked it
}

// The file name is kept in the settings file ("Directories", "htmlName")
// when the dialog goes at exit and is there again at the next start.
TEST(TfDlgOutHTML, NameSurvivesARestart)
{
    Dialog d;
    EXPECT_EQ(d.ui.eFileName->text(), QStringLiteral("MyWeb.htm"));
    d.ui.eFileName->setText(QStringLiteral("Holiday.htm"));
    d.dialog->FormDestroy();
    d.dialog.reset();
    EXPECT_EQ(d.fake.settings.readString(QStringLiteral("Directories"), QStringLiteral("htmlName"), {}),
              QStringLiteral("Holiday.htm"));
    TfDlgOutHTML again(d.fake.services, d.fake.settings, d.confirm);
    EXPECT_EQ(again.form().eFileName->text(), QStringLiteral("Holiday.htm"));
}

}  // namespace
}  // namespace tessaly
