#include "app/startup.h"
#include "app/tform1.h"
#include "app/tform3.h"
#include "imaging/picture.h"
#include "platform/paths.h"
#include "support/fakeservices.h"
#include "support/tempfolder.h"
#include "ui_tform1.h"
#include "userinput.h"

#include <QAccessible>
#include <QComboBox>
#include <QMenu>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

QStringList itemsOf(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

QStringList visibleTabs(const QTabWidget* pages)
{
    QStringList shown;
    for (int i = 0; i < pages->count(); ++i)
        if (pages->isTabVisible(i))
            shown << pages->tabText(i);
    return shown;
}

// A first start without a settings file shows every default of the window.
TEST(TForm1, StartsWithTheDefaults)
{
    testing::FakeServices fakes;
    ApplicationWindows windows(fakes.services, fakes.settings);
    TForm1& window = windows.mainWindow();
    Ui::TForm1& ui = window.form();

    EXPECT_EQ(window.windowTitle(), QStringLiteral("Batch Renamer / Thumbnail Maker"));
    EXPECT_EQ(window.size(), QSize(536, 453));
    EXPECT_EQ(visibleTabs(ui.pcMain), QStringList{QStringLiteral("Input File Selection")});
    EXPECT_EQ(ui.pcMain->currentWidget(), ui.tsIFS);
    QStringList captions;
    for (int i = 0; i < ui.pcMain->count(); ++i)
        captions << ui.pcMain->tabText(i);
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Input File Selection"), QStringLiteral("Ouput File Options"),
                                     QStringLiteral("Thumbnail Options"), QStringLiteral("Confirm Selections"),
                                     QStringLiteral("Processing...")}));

    // Folders start in the user's Pictures folder (else home).
    EXPECT_EQ(ui.fDir->folder(), paths::startFolder());
    EXPECT_EQ(ui.fNewDir->folder(), paths::startFolder());
    EXPECT_EQ(ui.lDir->toolTip(), paths::startFolder());

    // Page 1.
    EXPECT_EQ(ui.cbMask->currentText(), QStringLiteral("*.jpg;*.jpeg;*.gif;*.bmp;*.wmf;*.emf"));
    EXPECT_EQ(itemsOf(ui.cbMask),
              (QStringList{QStringLiteral("*.jpg;*.jpeg;*.gif;*.bmp;*.wmf;*.emf"), QStringLiteral("*.jpg;*.jpeg"),
                           QStringLiteral("*.gif"), QStringLiteral("*.bmp"), QStringLiteral("*.emf;*.wmf"),
                           kAllPicturesMask}));
    EXPECT_EQ(ui.fBox->mask(), QStringLiteral("*.jpg;*.jpeg;*.bmp;*.gif;*.emf;*.wmf"));
    EXPECT_EQ(ui.fBox->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(ui.fBox->toolTip(), QStringLiteral("Right-Click for Popup Menu"));
    EXPECT_TRUE(ui.rbThumbs->isChecked());
    EXPECT_EQ(ui.rbRename->text(), QStringLiteral("&Rename, Copy, or Convert Files"));
    EXPECT_EQ(ui.bNxt1->text(), QStringLiteral("&Next =>"));

    // Page 2.
    EXPECT_TRUE(ui.rbRenameOnly->isChecked());
    EXPECT_TRUE(ui.fNewDir->isHidden());
    EXPECT_EQ(ui.fNewBox->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_TRUE(ui.sbShowGrafx->isChecked());
    EXPECT_FALSE(ui.sbShowAll->isChecked());
    EXPECT_EQ(ui.ePreT->text(), QStringLiteral("Thumb"));
    EXPECT_EQ(ui.ePreI->text(), QStringLiteral("Image"));
    EXPECT_TRUE(ui.ePreI->isHidden());
    EXPECT_EQ(ui.eSeq->text(), QStringLiteral("001"));
    EXPECT_EQ(ui.cbConvert->currentText(), QStringLiteral("jpg"));
    EXPECT_EQ(itemsOf(ui.cbConvert),
              (QStringList{QStringLiteral("jpg"), QStringLiteral("gif"), QStringLiteral("bmp"), QStringLiteral("emf"),
                           QStringLiteral("wmf"), QStringLiteral("No Conversion")}));
    EXPECT_EQ(ui.cbNameOption->currentIndex(), 0);
    EXPECT_EQ(itemsOf(ui.cbNameOption), (QStringList{QStringLiteral("Qualifier as Prefix with Seq#"),
                                                     QStringLiteral("Qualifier as Prefix with File Name"),
                                                     QStringLiteral("Qualifier as Suffix with Seq#"),
                                                     QStringLiteral("Qualifier as Suffix with File Name")}));
    EXPECT_EQ(ui.l6->text(), QStringLiteral("Renames Are Done in the Same Directory."));
    EXPECT_EQ(ui.Label1->toolTip(), QStringLiteral("Can be the prefix or suffix"));
    EXPECT_EQ(ui.SpeedButton1->toolTip(), QStringLiteral("Naming Options?"));

    // Page 3.
    EXPECT_EQ(ui.rgResize->itemIndex(), 1);
    EXPECT_EQ(ui.rgResize->items(), (QStringList{QStringLiteral("Fast Resize"), QStringLiteral("Quality Resize")}));
    EXPECT_EQ(ui.eWidth->text(), QStringLiteral("96"));
    EXPECT_EQ(ui.eHeight->text(), QStringLiteral("96"));
    EXPECT_FALSE(ui.cbRatio->isChecked());
    EXPECT_TRUE(ui.lMax->isHidden());
    EXPECT_TRUE(ui.cbFWidth->isHidden());
    EXPECT_TRUE(ui.cbFHeight->isHidden());
    EXPECT_FALSE(ui.cbFWidth->isChecked());
    EXPECT_FALSE(ui.cbFHeight->isChecked());

    // Page 4 and 5.
    EXPECT_EQ(ui.tbJpg->value(), 90);
    EXPECT_EQ(ui.lJpg->text(), QStringLiteral("90"));
    EXPECT_TRUE(ui.cbOverWrite->isChecked());
    EXPECT_EQ(ui.bGO->text(), QStringLiteral("&GO"));
    EXPECT_EQ(ui.lProc->text(), QStringLiteral("0 of 100"));
    EXPECT_FALSE(ui.bCancelOp->isHidden());
    EXPECT_TRUE(ui.bStartOver->isHidden());
    EXPECT_TRUE(ui.bHTML->isHidden());
    EXPECT_TRUE(ui.lDoHTM->isHidden());
    EXPECT_TRUE(ui.lDone->isHidden());

    // Upper strip and job state.
    EXPECT_EQ(ui.lOutput->text(), QStringLiteral("Create Thumbnails"));
    EXPECT_EQ(ui.lMFL->text(), QStringLiteral("Source Files"));
    EXPECT_EQ(ui.lbMFL->count(), 0);
    EXPECT_EQ(ui.mHelp->toPlainText(), ui.lHH1->text().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    EXPECT_TRUE(ui.mHelp->isReadOnly());
    EXPECT_EQ(ui.sbDefaults->toolTip(), QStringLiteral("Reset Settings to Defaults"));
    EXPECT_EQ(ui.sbAbout->toolTip(), QStringLiteral("About Tessaly"));
    EXPECT_TRUE(window.SourceList().isEmpty());
    EXPECT_EQ(window.mode(), JobMode::Thumbnails);
    EXPECT_FALSE(window.runState().CancelRequested);
    EXPECT_EQ(window.runState().ProcessedCount, 0);
    EXPECT_EQ(window.runState().maxThumbSize, 0);
    EXPECT_TRUE(window.runState().ProcessedFiles.empty());
    EXPECT_TRUE(fakes.messages.shown.empty());
}

// The source list follows the order of the input list, not the click order.
TEST(TForm1, SourceListInDisplayOrder)
{
    testing::TempFolder temp;
    for (const char* name : {"B.jpg", "a.gif", "C.bmp", "d.txt"})
        temp.write(QString::fromLatin1(name));
    testing::FakeServices fakes;
    ApplicationWindows windows(fakes.services, fakes.settings);
    TForm1& window = windows.mainWindow();
    Ui::TForm1& ui = window.form();
    ui.fDir->setFolder(temp.path());
    ASSERT_EQ(ui.fBox->names(),
              (QStringList{QStringLiteral("a.gif"), QStringLiteral("B.jpg"), QStringLiteral("C.bmp")}));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    testing::ctrlClickRows(ui.fBox, {QStringLiteral("B.jpg"), QStringLiteral("a.gif"), QStringLiteral("C.bmp")});
    testing::click(ui.bNxt1);

    EXPECT_EQ(window.SourceList(),
              (QStringList{QStringLiteral("a.gif"), QStringLiteral("B.jpg"), QStringLiteral("C.bmp")}));
    ASSERT_EQ(ui.lbMFL->count(), 3);
    EXPECT_EQ(ui.lbMFL->item(0)->text(), QStringLiteral("a.gif"));
    EXPECT_EQ(ui.lMFL->text(), QStringLiteral("Source Files: 3"));
    EXPECT_EQ(ui.lDir->text(), temp.path());
}

// Changing the input folder moves the focus mark to the first file without
// selecting it; the output list selects its first file.
TEST(TForm1, FolderChangesMoveFocusToFirstFile)
{
    testing::TempFolder temp;
    temp.write(QStringLiteral("a.jpg"));
    temp.write(QStringLiteral("b.jpg"));
    testing::FakeServices fakes;
    ApplicationWindows windows(fakes.services, fakes.settings);
    TForm1& window = windows.mainWindow();
    Ui::TForm1& ui = window.form();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ui.fDir->setFolder(temp.path());
    EXPECT_EQ(ui.fBox->focusedIndex(), 0);
    EXPECT_EQ(ui.fBox->selectedCount(), 0);
    ui.fNewDir->setFolder(temp.path());
    EXPECT_EQ(ui.fNewBox->selectedNames(), QStringList{QStringLiteral("a.jpg")});
}

// The title-area buttons show icons (the help button a question mark, not
// the style's arrow) and are named by their hints for screen readers.
TEST(TForm1, TitleButtonsHaveIconsAndNames)
{
    testing::FakeServices fakes;
    ApplicationWindows windows(fakes.services, fakes.settings);
    Ui::TForm1& ui = windows.mainWindow().form();
    for (QToolButton* button : {ui.sbDefaults, ui.bRefreshView, ui.SpeedButton2, ui.sbAbout, ui.SpeedButton3}) {
        EXPECT_FALSE(button->icon().isNull()) << button->objectName().toStdString();
        EXPECT_FALSE(button->toolTip().isEmpty()) << button->objectName().toStdString();
        EXPECT_EQ(button->accessibleName(), button->toolTip());
    }
    EXPECT_EQ(ui.SpeedButton3->toolTip(), QStringLiteral("Tessaly Help"));
    const QImage arrow = ui.SpeedButton3->style()->standardIcon(QStyle::SP_DialogHelpButton).pixmap(16).toImage();
    EXPECT_NE(ui.SpeedButton3->icon().pixmap(16).toImage(), arrow);
}

// Every control that takes the focus has a name for screen readers: its
// text, its own accessible name, or the label beside it.
TEST(TForm1, EveryFocusableControlHasAName)
{
    testing::FakeServices fakes;
    ApplicationWindows windows(fakes.services, fakes.settings);
    QStringList unnamed;
    for (QWidget* control : windows.mainWindow().findChildren<QWidget*>()) {
        if (control->objectName().isEmpty() || !(control->focusPolicy() & Qt::TabFocus))
            continue;
        if (control->objectName().startsWith(QLatin1String("qt_")))
            continue;
        // The deletion dialog is the file tools' own.
        if (control->window() != &windows.mainWindow() && control->window() != &windows.duplicateWarning())
            continue;
        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(control);
        if (!access || access->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << control->objectName();
    }
    EXPECT_EQ(unnamed, QStringList{});
}

// Both popup menus hold their items in order, separators as empty entries.
TEST(TForm1, PopupMenusHoldTheirItemsInOrder)
{
    testing::FakeServices fakes;
    ApplicationWindows windows(fakes.services, fakes.settings);
    TForm1& window = windows.mainWindow();
    const auto captions = [](const QMenu* menu) {
        QStringList result;
        for (const QAction* action : menu->actions())
            result << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return result;
    };
    EXPECT_EQ(captions(window.pm1()), (QStringList{QStringLiteral("Next"),
                                                   QStringLiteral("-"),
                                                   QStringLiteral("Create New Directory"),
                                                   QStringLiteral("Refresh Directory"),
                                                   QStringLiteral("Remove Directory"),
                                                   QStringLiteral("-"),
                                                   QStringLiteral("Select All"),
                                                   QStringLiteral("DeSelect All"),
                                                   QStringLiteral("Invert Selection"),
                                                   QStringLiteral("-"),
                                                   QStringLiteral("Delete Selected Files"),
                                                   QStringLiteral("-"),
                                                   QStringLiteral("Rotate Image 90 degrees clockwise"),
                                                   QStringLiteral("Rotate Image 90 degrees counter clockwise"),
                                                   QStringLiteral("-"),
                                                   QStringLiteral("Launch Explorer"),
                                                   QStringLiteral("-"),
                                                   QStringLiteral("Undo Last Rename"),
                                                   QStringLiteral("-"),
                                                   QStringLiteral("Exit")}));
    EXPECT_EQ(captions(window.pm2()),
              (QStringList{QStringLiteral("Back"), QStringLiteral("Next"), QStringLiteral("-"),
                           QStringLiteral("Create New Directory"), QStringLiteral("Refresh Directory"),
                           QStringLiteral("Remove Directory"), QStringLiteral("-"), QStringLiteral("Launch Explorer"),
                           QStringLiteral("-"), QStringLiteral("Exit")}));
    EXPECT_NE(window.pm1()->findChild<QAction*>(QStringLiteral("Exit2")), nullptr);
}

// Going to a page (here with the keyboard: Space on "Next =>") shows only
// its tab and puts its help text at the top of the help box.
TEST(TForm1, GoToPageShowsOneTabAndItsHelp)
{
    testing::TempFolder temp;
    temp.write(QStringLiteral("a.jpg"));
    testing::FakeServices fakes;
    ApplicationWindows windows(fakes.services, fakes.settings);
    TForm1& window = windows.mainWindow();
    Ui::TForm1& ui = window.form();
    ui.fDir->setFolder(temp.path());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    testing::ctrlClickRows(ui.fBox, {QStringLiteral("a.jpg")});
    ui.bNxt1->setFocus();
    QTest::keyClick(ui.bNxt1, Qt::Key_Space);
    EXPECT_EQ(visibleTabs(ui.pcMain), QStringList{QStringLiteral("Ouput File Options")});
    EXPECT_EQ(ui.pcMain->currentWidget(), ui.tsOFO);
    EXPECT_TRUE(ui.mHelp->toPlainText().startsWith(QStringLiteral("Output File Options\n\n")));
    EXPECT_EQ(ui.mHelp->textCursor().position(), 0);
}

}  // namespace
}  // namespace tessaly
