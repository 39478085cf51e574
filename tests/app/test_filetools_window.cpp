#include "filetools/foldercommands.h"
#include "filetools/manualrename.h"
#include "filetools/picturerotation.h"
#include "filetools/tform2.h"
#include "imaging/codecs/jpegcodec.h"
#include "imaging/photo/jpegmetadata.h"
#include "imaging/picture.h"
#include "support/testpictures.h"
#include "ui_tfdlgouthtml.h"
#include "ui_tform2.h"
#include "gallery/dialogs/tfdlgouthtml.h"
#include "wizardfixture.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace tessaly::testing {
namespace {

class FileToolsTest : public WizardTest {
protected:
    QAction* item(QMenu* menu, const char* name) { return menu->findChild<QAction*>(QLatin1String(name)); }
    void press(QListWidget* list, const QString& name)
    {
        const auto found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found[0]).center());
    }
};

// The preview window is made with the main window, belongs to it, and stays
// hidden until the small preview is clicked.
TEST_F(FileToolsTest, PreviewWindowIsMadeAtStartUp)
{
    TForm2& preview = windows.previewWindow();
    EXPECT_EQ(preview.parentWidget(), &window);
    EXPECT_FALSE(preview.isVisible());
    click(ui.Image1);
    EXPECT_FALSE(preview.isVisible());
}

// After "Refresh Directory & File lists" a new picture is listed; a press on
// it previews it with its image information, a click on the preview opens
// the preview window at full size, a click there closes it; the arrow keys
// move the preview along the list.
TEST_F(FileToolsTest, PreviewFromTheInputList)
{
    const QString p = writePicture(input.path() + QStringLiteral("/p.bmp"), 320, 200);
    const QString q = writePicture(input.path() + QStringLiteral("/q.gif"), 16, 12);
    const QString broken = input.write(QStringLiteral("r.jpg"), "not a picture");
    click(ui.bRefreshView);
    press(ui.fBox, QStringLiteral("p.bmp"));
    EXPECT_EQ(ui.Image1->toolTip(), p + QStringLiteral(" - W: 320, H: 200"));

    click(ui.Image1);
    TForm2& preview = windows.previewWindow();
    ASSERT_TRUE(preview.isVisible());
    EXPECT_EQ(preview.windowTitle(), p);
    EXPECT_EQ(preview.size(), QSize(320, 200));
    QTest::mouseClick(preview.form().Image1, Qt::LeftButton);
    EXPECT_FALSE(preview.isVisible());

    QTest::keyClick(ui.fBox, Qt::Key_Down);
    EXPECT_EQ(ui.Image1->toolTip(), q + QStringLiteral(" - W: 16, H: 12"));
    // A file that holds no picture: its path is named and the preview is empty.
    press(ui.fBox, QStringLiteral("r.jpg"));
    EXPECT_EQ(fakes.messages.texts(), QStringList{QStringLiteral("Could not open ") + broken});
    EXPECT_TRUE(ui.Image1->pixmap().isNull());
}

// "Refresh Directory & File lists" ends with the HTML output location
// dialog: its tree leaves a folder removed since for the nearest one left.
TEST_F(FileToolsTest, RefreshReachesTheHtmlLocationDialog)
{
    const QString gone = input.makeFolder(QStringLiteral("web"));
    Ui::TfDlgOutHTML& location = windows.htmlLocation().form();
    location.dtTree->setFolder(gone);
    ASSERT_TRUE(QDir(gone).removeRecursively());
    click(ui.bRefreshView);
    EXPECT_EQ(location.dtTree->folder(), input.path());
}

// Both rotation items of the input menu: "First select a file to be rotated"
// with nothing selected, and after Yes to the warning the previewed picture
// turned and written over its own file.
TEST_F(FileToolsTest, RotateFromTheInputMenu)
{
    const QString p = writePicture(input.path() + QStringLiteral("/p.bmp"), 30, 10);
    click(ui.bRefreshView);
    item(window.pm1(), "RotateImage90degreeclockwise1")->trigger();
    EXPECT_EQ(fakes.messages.texts(), QStringList{kSelectFileToRotate});

    press(ui.fBox, QStringLiteral("p.bmp"));
    const Picture before = LoadPicture(p);
    item(window.pm1(), "RotateImage90degreescounterclockwise1")->trigger();
    EXPECT_EQ(fakes.messages.texts(), (QStringList{kSelectFileToRotate, kOverwriteWarning}));
    const Picture after = LoadPicture(p);
    EXPECT_EQ(after.width(), 10);
    EXPECT_EQ(after.height(), 30);
    EXPECT_EQ(after.kind(), PictureKind::Bmp);
    EXPECT_EQ(ui.Image1->pixmap().size(), QSize(10, 30));
}

// "Rename Manually Now" opens the name field with the focused file's name;
// Enter renames, the lists show the new name, and the source files keep
// their place under the new name.
TEST_F(FileToolsTest, RenameManuallyFromThePage)
{
    select({"a.jpg", "c.gif"});
    click(ui.bNxt1);
    click(ui.bBck1);
    EXPECT_FALSE(ui.eFileEdit->isVisible());
    press(ui.fBox, QStringLiteral("a.jpg"));
    click(ui.bRenInd);
    ASSERT_TRUE(ui.eFileEdit->isVisible());
    EXPECT_FALSE(ui.bRenInd->isVisible());
    EXPECT_EQ(ui.eFileEdit->text(), QStringLiteral("a.jpg"));

    typeInto(ui.eFileEdit, QStringLiteral("B.jpg"));
    click(ui.bRenameOK);
    EXPECT_EQ(fakes.messages.texts().last(), kRenameFailed);
    EXPECT_TRUE(ui.eFileEdit->isVisible());

    typeInto(ui.eFileEdit, QStringLiteral("holiday.jpg"));
    QTest::keyClick(ui.eFileEdit, Qt::Key_Return);
    EXPECT_FALSE(ui.eFileEdit->isVisible());
    EXPECT_TRUE(ui.bRenInd->isVisible());
    EXPECT_EQ(ui.fBox->names(),
              (QStringList{QStringLiteral("B.jpg"), QStringLiteral("c.gif"), QStringLiteral("holiday.jpg")}));
    EXPECT_EQ(window.SourceList(), (QStringList{QStringLiteral("holiday.jpg"), QStringLiteral("c.gif")}));
}

// The folder items of both menus reach the folder commands, and "Launch
// Explorer" shows the folder of the page in front.
TEST_F(FileToolsTest, FolderCommandsAndExplorerFromTheMenus)
{
    fakes.dialogs.results.push_back(QDialog::Accepted);
    fakes.dialogs.whileShown = [](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("eDirName"))->setText(QStringLiteral("made/here"));
    };
    item(window.pm1(), "CreateNewDirectory1")->trigger();
    EXPECT_EQ(fakes.dialogs.shownNames, QStringList{QStringLiteral("SelectDirectory")});
    EXPECT_TRUE(QFileInfo(input.path() + QStringLiteral("/made/here")).isDir());

    ui.fDir->setFolder(input.path() + QStringLiteral("/made"));
    item(window.pm1(), "RemoveDirectory1")->trigger();
    EXPECT_EQ(fakes.messages.texts().last(), kRemoveDirectoryError);
    EXPECT_EQ(ui.fDir->folder(), input.path() + QStringLiteral("/made"));

    click(ui.SpeedButton2);
    item(window.pm1(), "LauchExplorer1")->trigger();
    EXPECT_EQ(fakes.shell.calls, (QStringList{QStringLiteral("explore ") + input.path() + QStringLiteral("/made"),
                                              QStringLiteral("explore ") + input.path() + QStringLiteral("/made")}));
}

// "Delete Selected Files" is greyed in the input menu while nothing is
// selected; every other item stays enabled.
TEST_F(FileToolsTest, InputMenuEnablesDeleteBySelection)
{
    QMenu* pm1 = window.pm1();
    pm1->popup(QPoint(0, 0));
    EXPECT_FALSE(item(pm1, "DeleteSelectedFiles1")->isEnabled());
    EXPECT_TRUE(item(pm1, "RotateImage90degreeclockwise1")->isEnabled());
    pm1->hide();
    select({"c.gif"});
    pm1->popup(QPoint(0, 0));
    EXPECT_TRUE(item(pm1, "DeleteSelectedFiles1")->isEnabled());
    pm1->hide();
}

// "Turn photos upright" is on at start and reaches the preview: a photo
// its camera held sideways shows upright with its upright size, and as
// stored once the box on "Thumbnail Options" is cleared with a click.
TEST_F(FileToolsTest, TurnPhotosUprightReachesThePreview)
{
    Bitmap stored(10, 30);
    stored.fill(40, 90, 200);
    QFile file(input.path() + QStringLiteral("/side.jpg"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(withJpegMetadata(jfifBytes(stored, 90), {6, {}}));
    file.close();
    click(ui.bRefreshView);
    const QString path = input.path() + QStringLiteral("/side.jpg");
    press(ui.fBox, QStringLiteral("side.jpg"));
    EXPECT_EQ(ui.Image1->toolTip(), path + QStringLiteral(" - W: 30, H: 10"));

    select({"a.jpg"});
    click(ui.bNxt1);
    ui.fNewDir->setFolder(output.path());
    click(ui.bNxt2);
    ASSERT_EQ(page(), ui.tsTO);
    EXPECT_TRUE(ui.cbUpright->isChecked());
    click(ui.cbUpright);
    EXPECT_FALSE(ui.cbUpright->isChecked());
    click(ui.bBck2);
    click(ui.bBck1);
    press(ui.fBox, QStringLiteral("side.jpg"));
    EXPECT_EQ(ui.Image1->toolTip(), path + QStringLiteral(" - W: 10, H: 30"));
}

}  // namespace
}  // namespace tessaly::testing
