#include "app/startselection.h"
#include "app/startup.h"
#include "app/tform1.h"
#include "filetools/tform4.h"
#include "platform/paths.h"
#include "support/fakeservices.h"
#include "ui_tform1.h"
#include "ui_tform4.h"
#include "userinput.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace tessaly {
namespace {

using testing::FakeServices;

QByteArray settingsText(const FakeServices& fakes)
{
    return testing::readAll(fakes.settings.path());
}

// A fresh start followed by an exit writes every key with its default, in
// the order the windows save (the reverse of their creation): the output
// location dialog, the HTML Options, the deletion dialog, the main window.
// The folders are the user's start folder (Pictures, else home).
TEST(SettingsFile, FreshStartWritesEveryDefault)
{
    const QByteArray start = paths::startFolder().toUtf8();
    FakeServices fakes;
    {
        ApplicationWindows windows(fakes.services, fakes.settings);
        windows.close();
    }
    EXPECT_EQ(settingsText(fakes),
              QByteArray("[Directories]\nhtmlName=MyWeb.htm\nRecycleBin=Yes\nInput=") + start + "\nOutput=" + start +
                  QByteArray("\n\n"
                         "[Linking]\nOriginalLinkOpt=2\nLinkOriginal=1\nThumbLinkOpt=2\nLinkName=1\n\n"
                         "[Layout]\nWindowOpt=0\nLinkBorderSize=1\nLinkBorder=1\nLinkStats=1\n"
                         "BannerString=Tessaly\nBannerHeadSize=0\nThmPerPage=25\nMultiPg=1\nNavBtns=2\n"
                         "UseNavBtns=1\nUseFrames=0\nTileBkgd=0\nSampleText=0\n\n"
                         "[Colors]\nPageBkgd=16777215\nText=0\nBannerText=0\nTableBkgd=10526880\n"
                         "CellBkgd=16777215\n\n"
                         "[Tables]\nColumns=5\nBorderSize=1\nTableWidth=0\nCellPad=2\nCellSpace=2\n"
                         "TableAlignment=Center\nUseBkgdColor=1\n"
                         "TableCaption=Click thumbnail to see full size image\nIncludeCaption=1\n"
                         "CaptionAlign=Top\nCellHAlign=Center\nCellVAlign=Middle\nUseCellColor=0\nUseTables=1\n\n"
                         "[Thumbnails]\nResize Speed=Quality\nThumb Width=96\nThumb Height=96\nMaintain Ratio=0\n"
                         "Force Width=0\nForce Height=0\nCreate As=jpg\nNaming Option=PreSeq\n"
                         "Output File Qualifier=Thumb\nJpg Compression=90\nOverwrite Files=1\n"));
    EXPECT_TRUE(fakes.messages.shown.empty());
}

// Choices survive a restart; the rename qualifier does not.
TEST(SettingsFile, ChoicesSurviveARestart)
{
    FakeServices fakes;
    testing::TempFolder in, out;
    {
        ApplicationWindows windows(fakes.services, fakes.settings);
        Ui::TForm1& ui = windows.mainWindow().form();
        ui.fDir->setFolder(in.path());
        ui.fNewDir->setFolder(out.path());
        ui.rgResize->setItemIndex(0);
        ui.eWidth->setText(QStringLiteral("150"));
        ui.eHeight->setText(QStringLiteral("abc"));
        ui.cbRatio->setChecked(true);
        ui.cbFHeight->setChecked(true);
        ui.cbConvert->setCurrentIndex(5);
        ui.cbNameOption->setCurrentIndex(3);
        ui.ePreT->setText(QStringLiteral("T_"));
        ui.ePreI->setText(QStringLiteral("changed"));
        ui.tbJpg->setValue(40);
        ui.cbOverWrite->setChecked(false);
        windows.deleteConfirm().form().cbRecycle->setChecked(false);
        windows.close();
    }
    ApplicationWindows windows(fakes.services, fakes.settings);
    Ui::TForm1& ui = windows.mainWindow().form();
    EXPECT_EQ(ui.fDir->folder(), in.path());
    EXPECT_EQ(ui.fNewDir->folder(), out.path());
    EXPECT_EQ(ui.rgResize->itemIndex(), 0);
    EXPECT_EQ(ui.eWidth->text(), QStringLiteral("150"));
    EXPECT_EQ(ui.eHeight->text(), QStringLiteral("abc"));
    EXPECT_TRUE(ui.cbRatio->isChecked());
    EXPECT_TRUE(ui.cbFHeight->isChecked());
    EXPECT_FALSE(ui.cbFWidth->isChecked());
    EXPECT_EQ(ui.cbConvert->currentText(), QStringLiteral("No Conversion"));
    EXPECT_EQ(ui.cbNameOption->currentIndex(), 3);
    EXPECT_EQ(ui.ePreT->text(), QStringLiteral("T_"));
    EXPECT_EQ(ui.ePreI->text(), QStringLiteral("Image"));
    EXPECT_EQ(ui.tbJpg->value(), 40);
    EXPECT_EQ(ui.lJpg->text(), QStringLiteral("40"));
    EXPECT_FALSE(ui.cbOverWrite->isChecked());
    EXPECT_FALSE(windows.deleteConfirm().form().cbRecycle->isChecked());
    const QByteArray text = settingsText(fakes);
    EXPECT_TRUE(text.contains("RecycleBin=No\n"));
    EXPECT_TRUE(text.contains("Resize Speed=Fast\n"));
    EXPECT_TRUE(text.contains("Create As=No Conversion\n"));
    EXPECT_TRUE(text.contains("Naming Option=SufName\n"));
}

// "Turn photos upright" reaches the file only once it is off, so that a
// file written from nothing stays as it always was; switched on again, the
// stored key says so.
TEST(SettingsFile, TurnPhotosUprightIsStoredOnlyWhenOff)
{
    FakeServices fakes;
    // Each start finds the box as the last one left it, then sets it.
    struct Step {
        bool found, set;
        const char* fileEnd;
    };
    for (const Step& step : {Step{true, true, "Overwrite Files=1\n"}, Step{true, false, "Turn Upright=0\n"},
                             Step{false, true, "Turn Upright=1\n"}, Step{true, true, "Turn Upright=1\n"}}) {
        {
            ApplicationWindows windows(fakes.services, fakes.settings);
            Ui::TForm1& ui = windows.mainWindow().form();
            EXPECT_EQ(ui.cbUpright->isChecked(), step.found) << step.fileEnd;
            ui.cbUpright->setChecked(step.set);
            windows.close();
        }
        EXPECT_TRUE(settingsText(fakes).endsWith(step.fileEnd)) << step.fileEnd;
    }
}

// Stored values outside their rules: the word's fallback, the slider's
// clamp, the default for a non-number, any non-zero flag, Force Height
// winning a tie (and saved so).
TEST(SettingsFile, UnusualStoredValues)
{
    struct Case {
        const char* quality;
        int expected;
    };
    for (const Case& c : {Case{"5", 10}, Case{"250", 100}, Case{"abc", 90}, Case{"$32", 50}}) {
        FakeServices fakes;
        QFile file(fakes.settings.path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("[Thumbnails]\nResize Speed=quality\nNaming Option=Whatever\nCreate As=JPG\n"
                              "Maintain Ratio=2\nForce Width=1\nForce Height=1\nOverwrite Files=0\n"
                              "Jpg Compression=") +
                   c.quality + "\n");
        file.close();
        {
            ApplicationWindows windows(fakes.services, fakes.settings);
            Ui::TForm1& ui = windows.mainWindow().form();
            EXPECT_EQ(ui.tbJpg->value(), c.expected) << c.quality;
            EXPECT_EQ(ui.rgResize->itemIndex(), 0);
            EXPECT_EQ(ui.cbNameOption->currentIndex(), 0);
            EXPECT_EQ(ui.cbConvert->currentText(), QStringLiteral("jpg"));
            EXPECT_TRUE(ui.cbRatio->isChecked());
            EXPECT_TRUE(ui.cbFHeight->isChecked());
            EXPECT_FALSE(ui.cbFWidth->isChecked());
            EXPECT_FALSE(ui.cbOverWrite->isChecked());
            windows.close();
        }
        const QByteArray text = settingsText(fakes);
        EXPECT_TRUE(text.contains("Resize Speed=Fast\n"));
        EXPECT_TRUE(text.contains("Force Width=0\nForce Height=1\n"));
        EXPECT_TRUE(text.contains("Naming Option=PreSeq\n"));
    }
}

// A saved input folder of which nothing exists: the tree's error, and the
// keys after it keep their defaults.
TEST(SettingsFile, MissingSavedFolderEndsTheLoad)
{
    FakeServices fakes;
    testing::TempFolder gone;
    QFile file(fakes.settings.path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Directories]\nInput=Z:\\Pictures\nOutput=/tmp\n[Thumbnails]\nThumb Width=300\n");
    file.close();
    ApplicationWindows windows(fakes.services, fakes.settings);
    EXPECT_EQ(fakes.messages.texts(), QStringList{QStringLiteral("The Z:\\Pictures directory does not exist")});
    EXPECT_EQ(fakes.messages.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(windows.mainWindow().form().eWidth->text(), QStringLiteral("96"));

    // A saved folder that has gone opens its nearest parent and the load goes on.
    windows.close();
    const QString parent = gone.makeFolder(QStringLiteral("kept"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        (QStringLiteral("[Directories]\nInput=%1/gone/deeper\n[Thumbnails]\nThumb Width=300\n").arg(parent)).toUtf8());
    file.close();
    fakes.messages.shown.clear();
    ApplicationWindows again(fakes.services, fakes.settings);
    EXPECT_TRUE(fakes.messages.shown.empty());
    EXPECT_EQ(again.mainWindow().form().fDir->folder(), parent);
    EXPECT_EQ(again.mainWindow().form().eWidth->text(), QStringLiteral("300"));
}

// A settings file that cannot be written: the message once for each
// window that saves.
TEST(SettingsFile, UnwritableFileWarnsOncePerWindow)
{
    FakeServices fakes;
    testing::TempFolder temp;
    const IniFile unwritable(temp.path() + QStringLiteral("/no/such/folder/Tessaly.ini"));
    {
        ApplicationWindows windows(fakes.services, unwritable);
        windows.close();
    }
    const QString message = QStringLiteral("Unable to write to ") + unwritable.path();
    EXPECT_EQ(fakes.messages.texts(), (QStringList{message, message, message, message}));
}

// The running program writes the file when the user closes its main window
// (and only then: the windows' destructors write nothing).
TEST(SettingsFile, ClosingTheProgramWritesTheFile)
{
    FakeServices fakes;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == QLatin1String("TForm1") && window->isVisible()) {
                window->findChild<QLineEdit*>(QStringLiteral("eWidth"))->setText(QStringLiteral("55"));
                window->close();
            }
    });
    closer.start(20);
    EXPECT_EQ(runApplication(fakes.services, fakes.settings, 0, StartSelection{}), 0);
    EXPECT_TRUE(settingsText(fakes).contains("Thumb Width=55\n"));

    FakeServices unsaved;
    { ApplicationWindows windows(unsaved.services, unsaved.settings); }
    EXPECT_TRUE(settingsText(unsaved).isEmpty());
}

// Exit in either popup menu saves exactly as closing the window does.
TEST(SettingsFile, ExitSavesLikeClosing)
{
    QByteArray closed;
    {
        FakeServices fakes;
        {
            ApplicationWindows windows(fakes.services, fakes.settings);
            windows.mainWindow().form().eWidth->setText(QStringLiteral("77"));
            windows.mainWindow().close();
            windows.close();
        }
        closed = settingsText(fakes);
        EXPECT_TRUE(closed.contains("Thumb Width=77\n"));
    }
    for (const char* exitItem : {"Exit1", "Exit2"}) {
        FakeServices fakes;
        {
            ApplicationWindows windows(fakes.services, fakes.settings);
            windows.mainWindow().show();
            windows.mainWindow().form().eWidth->setText(QStringLiteral("77"));
            QMenu* menu = QByteArray(exitItem) == "Exit1" ? windows.mainWindow().pm2() : windows.mainWindow().pm1();
            menu->findChild<QAction*>(QString::fromLatin1(exitItem))->trigger();
            EXPECT_FALSE(windows.mainWindow().isVisible());
            windows.close();
        }
        EXPECT_EQ(settingsText(fakes), closed) << exitItem;
    }
}

// Deleting selected input files, to the trash or at once, after the
// question; the answer No and an empty selection delete nothing.
class DeletionTest : public ::testing::Test {
protected:
    DeletionTest()
    {
        qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toLocal8Bit());
        for (int i = 0; i < 10; ++i)
            pictures.write(QStringLiteral("p%1.jpg").arg(i));
        windows = std::make_unique<ApplicationWindows>(services, fakes.settings);
        ui().fDir->setFolder(pictures.path());
        window().show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window()));
    }
    // Opens the input popup menu as a right click does, and closes it.
    QAction* deleteItemAsShown()
    {
        QMenu* menu = window().pm1();
        menu->popup(ui().fBox->mapToGlobal(QPoint(5, 5)));
        menu->hide();
        return menu->findChild<QAction*>(QStringLiteral("DeleteSelectedFiles1"));
    }
    ~DeletionTest() override { qunsetenv("XDG_DATA_HOME"); }
    Ui::TForm1& ui() { return windows->mainWindow().form(); }
    TForm1& window() { return windows->mainWindow(); }
    QStringList left() const { return QDir(pictures.path()).entryList(QDir::Files, QDir::Name); }

    FakeServices fakes;
    DesktopTrashService trash;
    PlatformServices services{fakes.messages, fakes.shell, trash, fakes.dialogs};
    testing::TempFolder home, pictures;
    std::unique_ptr<ApplicationWindows> windows;
};

TEST_F(DeletionTest, ThreeOfTenToTheTrash)
{
    for (int row : {1, 4, 7})
        ui().fBox->setItemSelected(row, true);
    ui().lbMFL->addItem(QStringLiteral("p1.jpg"));
    QString question;
    fakes.dialogs.whileShown = [&](QDialog&) { question = windows->deleteConfirm().form().lNumDel->text(); };
    QAction* item = deleteItemAsShown();
    EXPECT_TRUE(item->isEnabled());
    item->trigger();
    EXPECT_EQ(question, QStringLiteral("Confirm deletion of 3 files..."));
    EXPECT_EQ(left().size(), 7);
    EXPECT_FALSE(left().contains(QStringLiteral("p4.jpg")));
    EXPECT_EQ(ui().fBox->count(), 7);
    EXPECT_EQ(ui().fBox->selectedCount(), 0);
    EXPECT_EQ(ui().lbMFL->count(), 0);
    EXPECT_EQ(ui().lMFL->text(), QStringLiteral("Source Files: 0"));
    const QString trash = home.path() + QStringLiteral("/data/Trash");
    for (const char* name : {"p1.jpg", "p4.jpg", "p7.jpg"}) {
        EXPECT_TRUE(QFileInfo::exists(trash + QStringLiteral("/files/") + QLatin1String(name))) << name;
        EXPECT_TRUE(
            testing::readAll(trash + QStringLiteral("/info/") + QLatin1String(name) + QStringLiteral(".trashinfo"))
                .contains(QFile::encodeName(pictures.path() + u'/' + QLatin1String(name))));
    }
}

TEST_F(DeletionTest, AtOnceNoAndNothingSelected)
{
    // Nothing selected: no question, the menu item greyed, the Delete key idle.
    testing::click(ui().bDelSel);
    EXPECT_FALSE(deleteItemAsShown()->isEnabled());
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QCoreApplication::sendEvent(ui().fBox, &del);
    EXPECT_TRUE(fakes.dialogs.shownNames.isEmpty());

    // No: nothing deleted, the selection stays.
    ui().fBox->setItemSelected(0, true);
    fakes.dialogs.results = {QDialog::Rejected};
    QCoreApplication::sendEvent(ui().fBox, &del);
    EXPECT_EQ(fakes.dialogs.shownNames, QStringList{QStringLiteral("TForm4")});
    EXPECT_EQ(left().size(), 10);
    EXPECT_EQ(ui().fBox->selectedCount(), 1);

    // At once: gone, and not in the trash.
    windows->deleteConfirm().form().cbRecycle->setChecked(false);
    testing::click(ui().bDelSel);
    EXPECT_EQ(left().size(), 9);
    EXPECT_FALSE(QFileInfo::exists(home.path() + QStringLiteral("/data/Trash/files/p0.jpg")));
}

TEST_F(DeletionTest, PictureShowsTheHelpText)
{
    windows->deleteConfirm().form().Image1->click();
    EXPECT_EQ(fakes.messages.texts(),
              QStringList{QStringLiteral("You can delete files immediately by unselecting the Recycle Bin option.  "
                                         "It's faster, but you will not be able to recover them.")});
    EXPECT_EQ(windows->deleteConfirm().windowTitle(), QStringLiteral("Confirm File Deletion"));
    EXPECT_TRUE(windows->deleteConfirm().form().bYesDel->isDefault());
}

}  // namespace
}  // namespace tessaly
