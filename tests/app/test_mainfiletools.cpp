#include "filetools/foldercommands.h"
#include "app/mainfiletools.h"
#include "filetools/manualrename.h"
#include "filetools/picturerotation.h"
#include "filetools/selectdirectorydialog.h"
#include "filetools/tform2.h"
#include "imaging/codecs/jpegcodec.h"
#include "imaging/rotation.h"
#include "support/cameraphoto.h"
#include "support/fakeservices.h"
#include "support/imagingtesttools.h"
#include "support/tempfolder.h"
#include "support/testpictures.h"
#include "ui_selectdirectorydialog.h"
#include "ui_tform1.h"
#include "widgets/filelistbox.h"
#include "widgets/foldertree.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

// The controls of the main window's form that the tests reach.
struct Controls {
    FolderTree* fDir;
    FileListBox* fBox;
    FolderTree* fNewDir;
    FileListBox* fNewBox;
    QListWidget* lbMFL;
    QLabel* lDir;
    QLabel* Image1;
    QAbstractButton* bRenInd;
    QLineEdit* eFileEdit;
    QAbstractButton* bRenameOK;
    QAbstractButton* bRenameCan;
    QAbstractButton* bRefreshView;
    QAbstractButton* SpeedButton2;
    QAbstractSlider* tbJpg;
    QMenu* pm1;
    QMenu* pm2;
};

// The main window's form on a plain window with only the file tools wired,
// set up as the main window sets it up: input folder `input`, output folder
// `output`, photos shown upright.
class FileToolsWindow {
public:
    FileToolsWindow(const QString& input, const QString& output)
    {
        ui.setupUi(&window);
        pages = ui.pcMain;
        tsIFS = ui.tsIFS;
        tsOFO = ui.tsOFO;
        c = {ui.fDir,    ui.fBox,      ui.fNewDir,    ui.fNewBox,      ui.lbMFL,        ui.lDir,
             ui.Image1,  ui.bRenInd,   ui.eFileEdit,  ui.bRenameOK,    ui.bRenameCan,   ui.bRefreshView,
             ui.SpeedButton2, ui.tbJpg, nullptr, nullptr};
        ui.tbJpg->setRange(10, 100);
        ui.tbJpg->setValue(90);
        ui.cbUpright->setChecked(true);
        c.pm1 = menu("pm1", {"Next2", "CreateNewDirectory1", "RefreshDirectory1", "RemoveDirectory1", "SelectAll1",
                             "DeleteSelectedFiles1", "RotateImage90degreeclockwise1",
                             "RotateImage90degreescounterclockwise1", "LauchExplorer1", "Exit2"});
        c.pm2 = menu("pm2", {"Back1", "CreateNewDirectory2", "RefreshDirectory2", "RemoveDirectory2", "LaunchExplorer1",
                             "Exit1"});
        c.fDir->setFileList(c.fBox);
        c.fDir->setFolderLabel(c.lDir);
        c.fNewDir->setFileList(c.fNewBox);
        c.fBox->setMultiSelect(true);
        c.fBox->setMask(QStringLiteral("*.jpg;*.jpeg;*.bmp;*.gif;*.emf;*.wmf;*.txt"));
        c.fNewBox->setMask(QStringLiteral("*.*"));
        c.fDir->setFolder(input);
        c.fNewDir->setFolder(output);
        tools = std::make_unique<MainFileTools>(
            ui, c.pm1, c.pm2, [this]() -> TForm2& { return preview; }, fakes.services, &window);
        window.show();
    }

    // Brings the page of the form that holds `control` to the front.
    void reveal(QWidget* control)
    {
        for (int page = 0; page < pages->count(); ++page)
            if (pages->widget(page)->isAncestorOf(control))
                pages->setCurrentIndex(page);
    }

    // Presses the left button on the item named `name` of `list`.
    void press(FileListBox* list, const QString& name, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = {})
    {
        reveal(list);
        const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        QTest::mouseClick(list->viewport(), button, modifiers, list->visualItemRect(found.first()).center());
    }
    QAction* action(QMenu* menu, const char* name) { return menu->findChild<QAction*>(QLatin1String(name)); }

    testing::FakeServices fakes;
    QWidget window;
    Ui::TForm1 ui;
    TForm2 preview{&window};
    Controls c;
    QTabWidget* pages;
    QWidget* tsIFS;
    QWidget* tsOFO;
    std::unique_ptr<MainFileTools> tools;

private:
    QMenu* menu(const char* name, std::initializer_list<const char*> items)
    {
        auto* built = new QMenu(&window);
        built->setObjectName(QLatin1String(name));
        for (const char* item : items)
            built->addAction(QLatin1String(item))->setObjectName(QLatin1String(item));
        return built;
    }
};

// A left press on a picture in either file list previews it: the small
// preview shows it with its image information as hint, the preview window's
// caption names the file; a right press, a press below the items and a name
// that is not a picture change nothing; a damaged file says "Could not open "
// with its path and leaves the preview empty; the arrow keys preview too.
TEST(MainFileTools, FileListsPreviewOnAPress)
{
    testing::TempFolder in, out;
    const QString a = testing::writePicture(in.path() + QStringLiteral("/a.jpg"), 64, 48);
    const QString b = testing::writePicture(in.path() + QStringLiteral("/b.gif"), 20, 30);
    const QString broken = in.write(QStringLiteral("c.bmp"), "BM broken");
    in.write(QStringLiteral("notes.txt"), "text");
    const QString o = testing::writePicture(out.path() + QStringLiteral("/o.wmf"), 40, 10);
    FileToolsWindow w(in.path(), out.path());
    QLabel* image = w.c.Image1;

    w.press(w.c.fBox, QStringLiteral("a.jpg"));
    EXPECT_FALSE(image->pixmap().isNull());
    EXPECT_EQ(image->pixmap().size(), QSize(64, 48));
    EXPECT_EQ(image->toolTip(), a + QStringLiteral(" - W: 64, H: 48"));
    EXPECT_EQ(w.preview.windowTitle(), a);
    EXPECT_TRUE(w.c.fBox->isItemSelected(0));

    w.press(w.c.fBox, QStringLiteral("b.gif"), Qt::RightButton);
    w.press(w.c.fBox, QStringLiteral("notes.txt"));
    QTest::mouseClick(w.c.fBox->viewport(), Qt::LeftButton, {}, QPoint(5, w.c.fBox->viewport()->height() - 3));
    EXPECT_EQ(image->toolTip(), a + QStringLiteral(" - W: 64, H: 48"));
    EXPECT_TRUE(w.fakes.messages.shown.empty());

    w.press(w.c.fNewBox, QStringLiteral("o.wmf"));
    EXPECT_EQ(image->toolTip(), o + QStringLiteral(" - W: 40, H: 10"));
    EXPECT_EQ(w.preview.windowTitle(), o);

    w.press(w.c.fBox, QStringLiteral("c.bmp"));
    EXPECT_EQ(w.fakes.messages.texts(), QStringList{QStringLiteral("Could not open ") + broken});
    EXPECT_TRUE(image->pixmap().isNull());
    EXPECT_TRUE(image->toolTip().isEmpty());
    EXPECT_EQ(w.preview.windowTitle(), o);

    // From c.bmp up to b.gif with the keys.
    QTest::keyClick(w.c.fBox, Qt::Key_Up);
    EXPECT_EQ(image->toolTip(), b + QStringLiteral(" - W: 20, H: 30"));
    EXPECT_EQ(w.preview.windowTitle(), b);
}

// A click on the small preview opens the preview window with the picture at
// full size and the same hint; with nothing previewed it stays closed.
TEST(MainFileTools, ClickOnThePreviewOpensThePreviewWindow)
{
    testing::TempFolder in;
    const QString a = testing::writePicture(in.path() + QStringLiteral("/a.bmp"), 300, 120);
    FileToolsWindow w(in.path(), in.path());
    QTest::mouseClick(w.c.Image1, Qt::LeftButton);
    EXPECT_FALSE(w.preview.isVisible());

    w.press(w.c.fBox, QStringLiteral("a.bmp"));
    QTest::mouseClick(w.c.Image1, Qt::LeftButton);
    ASSERT_TRUE(w.preview.isVisible());
    EXPECT_EQ(w.preview.size(), QSize(300, 120));
    EXPECT_EQ(w.preview.pos(), QPoint(5, 5));
    EXPECT_EQ(w.preview.windowTitle(), a);
    EXPECT_EQ(w.preview.findChild<QLabel*>(QStringLiteral("Image1"))->toolTip(),
              a + QStringLiteral(" - W: 300, H: 120"));
}

// A large photo is previewed from a reduced decode, yet the hint states its
// full size; the preview window shows it whole, a turn turns the whole
// picture of the file, and a file that no longer holds the picture
// previewed is not turned at all.
TEST(MainFileTools, LargeJpegPreviewStatesItsFullSize)
{
    testing::TempFolder in;
    const QString big = testing::writePicture(in.path() + QStringLiteral("/big.jpg"), 1600, 1200);
    FileToolsWindow w(in.path(), in.path());
    QAction* clockwise = w.action(w.c.pm1, "RotateImage90degreeclockwise1");
    w.press(w.c.fBox, QStringLiteral("big.jpg"));
    EXPECT_EQ(w.c.Image1->toolTip(), big + QStringLiteral(" - W: 1600, H: 1200"));
    // An eighth of each side still covers the 97 by 84 preview.
    EXPECT_EQ(w.c.Image1->pixmap().size(), QSize(200, 150));
    QTest::mouseClick(w.c.Image1, Qt::LeftButton);
    ASSERT_TRUE(w.preview.isVisible());
    EXPECT_EQ(w.preview.findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().size(), QSize(1600, 1200));
    w.preview.close();

    w.press(w.c.fBox, QStringLiteral("big.jpg"));
    w.fakes.messages.script(MessageAnswer::Yes);
    clockwise->trigger();
    EXPECT_EQ(w.fakes.messages.texts(), QStringList{kOverwriteWarning});
    const Bitmap turned = decodeJpeg(testing::readAll(big));
    EXPECT_EQ(QSize(turned.width(), turned.height()), QSize(1200, 1600));

    w.press(w.c.fBox, QStringLiteral("big.jpg"));
    testing::writePicture(big, 1000, 1000);
    const QByteArray replaced = testing::readAll(big);
    w.fakes.messages.shown.clear();
    w.fakes.messages.script(MessageAnswer::Yes);
    clockwise->trigger();
    ASSERT_EQ(w.fakes.messages.shown.size(), 2u);
    EXPECT_EQ(w.fakes.messages.shown[1].icon, MessageIcon::Error);
    EXPECT_TRUE(w.fakes.messages.shown[1].text.contains(QLatin1String("no longer the picture previewed")));
    EXPECT_EQ(testing::readAll(big), replaced);
}

// Selecting an entry of the source list previews it, whatever its
// extension; a failure names the entry alone and keeps the picture shown.
TEST(MainFileTools, SourceListPreviewsEachEntryReached)
{
    testing::TempFolder in;
    const QString a = testing::writePicture(in.path() + QStringLiteral("/a.emf"), 30, 20);
    in.write(QStringLiteral("gone.jpg"), "nothing");
    FileToolsWindow w(in.path(), in.path());
    w.c.lbMFL->addItems({QStringLiteral("a.emf"), QStringLiteral("gone.jpg")});

    QTest::mouseClick(w.c.lbMFL->viewport(), Qt::LeftButton, {},
                      w.c.lbMFL->visualItemRect(w.c.lbMFL->item(0)).center());
    EXPECT_EQ(w.c.Image1->toolTip(), w.c.lDir->text() + QStringLiteral("/a.emf - W: 30, H: 20"));
    EXPECT_EQ(w.preview.windowTitle(), a);

    QTest::keyClick(w.c.lbMFL, Qt::Key_Down);
    EXPECT_EQ(w.fakes.messages.texts(), QStringList{QStringLiteral("Could not open gone.jpg")});
    EXPECT_FALSE(w.c.Image1->pixmap().isNull());
    EXPECT_EQ(w.preview.windowTitle(), a);
}

// The rotations: with files listed and none selected only "First select a
// file to be rotated"; No to the warning leaves file and preview alone; Yes
// turns the previewed picture and writes it over its file at the slider's
// quality.
TEST(MainFileTools, RotationAsksAndOverwrites)
{
    testing::TempFolder in;
    const QString a = testing::writePicture(in.path() + QStringLiteral("/a.jpg"), 40, 24);
    FileToolsWindow w(in.path(), in.path());
    QAction* clockwise = w.action(w.c.pm1, "RotateImage90degreeclockwise1");
    QAction* counter = w.action(w.c.pm1, "RotateImage90degreescounterclockwise1");
    const QByteArray before = testing::readAll(a);

    clockwise->trigger();
    EXPECT_EQ(w.fakes.messages.texts(), QStringList{kSelectFileToRotate});

    w.press(w.c.fBox, QStringLiteral("a.jpg"));
    w.fakes.messages.shown.clear();
    w.fakes.messages.script(MessageAnswer::No);
    counter->trigger();
    ASSERT_EQ(w.fakes.messages.texts(), QStringList{kOverwriteWarning});
    EXPECT_EQ(w.fakes.messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(w.fakes.messages.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(testing::readAll(a), before);
    EXPECT_EQ(w.c.Image1->pixmap().size(), QSize(40, 24));

    w.c.tbJpg->setValue(50);
    w.fakes.messages.script(MessageAnswer::Yes);
    clockwise->trigger();
    EXPECT_EQ(w.c.Image1->pixmap().size(), QSize(24, 40));
    EXPECT_EQ(testing::readAll(a), jfifBytes(rotateClockwise(decodeJpeg(before)), 50));
    // The hint keeps the old size until the file is previewed again.
    EXPECT_EQ(w.c.Image1->toolTip(), a + QStringLiteral(" - W: 40, H: 24"));
}

// A camera photo turned from the menu is stored as the preview showed it
// turned, with orientation 1 and its camera information; every further
// turn moves its blocks without loss, so four more give back its pixels.
TEST(MainFileTools, RotatedPhotosLoseNothing)
{
    testing::TempFolder in;
    const QByteArray photo =
        testing::cameraJpeg(testing::makeBitmap(48, 32, [](int x, int y) { return testing::Rgb{x * 5, y * 7, 99}; }), 6);
    const QString a = in.write(QStringLiteral("a.jpg"), photo);
    FileToolsWindow w(in.path(), in.path());
    QAction* clockwise = w.action(w.c.pm1, "RotateImage90degreeclockwise1");
    w.press(w.c.fBox, QStringLiteral("a.jpg"));
    // Shown upright: 32 wide, 48 high; turned: 48 by 32.
    EXPECT_EQ(w.c.Image1->pixmap().size(), QSize(32, 48));
    QByteArray first;
    for (int turn = 0; turn < 5; ++turn) {
        w.fakes.messages.script(MessageAnswer::Yes);
        clockwise->trigger();
        if (turn == 0)
            first = testing::readAll(a);
    }
    const QByteArray fifth = testing::readAll(a);
    EXPECT_EQ(decodeJpeg(first).width(), 48);
    EXPECT_EQ(decodeJpeg(fifth), decodeJpeg(first));
    EXPECT_EQ(testing::exifValue(fifth, "Exif.Image.Orientation"), "1");
    EXPECT_EQ(testing::exifValue(fifth, "Exif.Photo.DateTimeOriginal"), "2024:05:06 07:08:09");
    EXPECT_EQ(w.c.Image1->pixmap().size(), QSize(48, 32));
}

// A rotation whose write fails shows the reason and leaves the file as it
// was (the preview keeps the turned picture).
TEST(MainFileTools, FailedRotationWriteKeepsTheFile)
{
    testing::TempFolder in;
    const QString a = testing::writePicture(in.path() + QStringLiteral("/a.bmp"), 10, 6);
    FileToolsWindow w(in.path(), in.path());
    w.press(w.c.fBox, QStringLiteral("a.bmp"));
    const QByteArray before = testing::readAll(a);
    QFile::setPermissions(a, QFileDevice::ReadOwner);
    w.action(w.c.pm1, "RotateImage90degreeclockwise1")->trigger();
    ASSERT_EQ(w.fakes.messages.shown.size(), 2u);
    EXPECT_EQ(w.fakes.messages.shown[1].icon, MessageIcon::Error);
    EXPECT_TRUE(w.fakes.messages.shown[1].text.contains(a));
    EXPECT_EQ(testing::readAll(a), before);
    EXPECT_EQ(w.c.Image1->pixmap().size(), QSize(6, 10));
}

// A photo turned from the window goes back in its own format; one that the
// turned picture alone cannot stand for (a TIFF of two pages) is refused in
// an error box, and file and preview stay as they were.
TEST(MainFileTools, RotationOfPhotoFormats)
{
    testing::TempFolder in;
    const QString heic = testing::writePicture(in.path() + QStringLiteral("/a.heic"), 40, 24);
    const Bitmap page(40, 24);
    const QString tiff = in.write(QStringLiteral("b.tif"), testing::tiffPages({page, Bitmap(8, 8)}));
    FileToolsWindow w(in.path(), in.path());
    QAction* clockwise = w.action(w.c.pm1, "RotateImage90degreeclockwise1");
    const struct {
        QString path;
        bool turned;
    } rows[] = {{heic, true}, {tiff, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path.toStdString());
        w.press(w.c.fNewBox, QFileInfo(row.path).fileName());
        ASSERT_EQ(w.c.Image1->pixmap().size(), QSize(40, 24));
        const QByteArray before = testing::readAll(row.path);
        w.fakes.messages.shown.clear();
        w.fakes.messages.script(MessageAnswer::Yes);
        clockwise->trigger();
        const Picture after = LoadPicture(row.path);
        EXPECT_EQ(after.kind(), pictureKindForName(row.path));
        if (row.turned) {
            EXPECT_EQ(w.fakes.messages.texts(), QStringList{kOverwriteWarning});
            EXPECT_EQ(QSize(after.width(), after.height()), QSize(24, 40));
            EXPECT_EQ(w.c.Image1->pixmap().size(), QSize(24, 40));
        } else {
            ASSERT_EQ(w.fakes.messages.shown.size(), 2u);
            EXPECT_EQ(w.fakes.messages.shown[1].icon, MessageIcon::Error);
            EXPECT_TRUE(w.fakes.messages.shown[1].text.contains(QLatin1String("more than one picture")));
            EXPECT_EQ(testing::readAll(row.path), before);
            EXPECT_EQ(w.c.Image1->pixmap().size(), QSize(40, 24));
        }
    }
}

// Renaming the previewed file moves the rotation's target with it; the old
// name is never made anew.
TEST(MainFileTools, RotationFollowsARenamedPreview)
{
    testing::TempFolder in;
    testing::writePicture(in.path() + QStringLiteral("/a.bmp"), 8, 4);
    FileToolsWindow w(in.path(), in.path());
    w.press(w.c.fBox, QStringLiteral("a.bmp"));
    QTest::mouseClick(w.c.bRenInd, Qt::LeftButton);
    w.c.eFileEdit->setText(QStringLiteral("b.bmp"));
    QTest::keyClick(w.c.eFileEdit, Qt::Key_Return);
    EXPECT_EQ(w.preview.windowTitle(), in.path() + QStringLiteral("/b.bmp"));

    w.c.fBox->setItemSelected(0, true);
    w.action(w.c.pm1, "RotateImage90degreeclockwise1")->trigger();
    EXPECT_EQ(w.fakes.messages.texts(), QStringList{kOverwriteWarning});
    EXPECT_EQ(LoadPicture(in.path() + QStringLiteral("/b.bmp")).width(), 4);
    EXPECT_FALSE(QFileInfo::exists(in.path() + QStringLiteral("/a.bmp")));
}

// Renaming by hand: nothing happens without a selected focused file; the
// edit and its buttons replace "Rename Manually Now"; a taken name shows
// "Failed" and keeps the rename open with both files intact; a change of
// case alone renames, and Enter confirms; Escape abandons.
TEST(MainFileTools, RenameManually)
{
    testing::TempFolder in;
    const QString a = in.write(QStringLiteral("a.txt"), "first");
    in.write(QStringLiteral("b.txt"), "second");
    FileToolsWindow w(in.path(), in.path());
    auto renaming = [&w] {
        return w.c.eFileEdit->isVisible() && w.c.bRenameOK->isVisible() && w.c.bRenameCan->isVisible() &&
               !w.c.bRenInd->isVisible();
    };
    EXPECT_FALSE(w.c.eFileEdit->isVisible());
    QTest::mouseClick(w.c.bRenInd, Qt::LeftButton);
    EXPECT_FALSE(renaming());

    w.press(w.c.fBox, QStringLiteral("a.txt"));
    QTest::mouseClick(w.c.bRenInd, Qt::LeftButton);
    ASSERT_TRUE(renaming());
    EXPECT_EQ(w.c.eFileEdit->text(), QStringLiteral("a.txt"));
    EXPECT_EQ(w.tools->RenamePath(), a);
    EXPECT_EQ(w.tools->RenameIndex(), 0);

    w.c.eFileEdit->setText(QStringLiteral("b.txt"));
    QTest::mouseClick(w.c.bRenameOK, Qt::LeftButton);
    EXPECT_EQ(w.fakes.messages.texts(), QStringList{kRenameFailed});
    EXPECT_TRUE(renaming());
    EXPECT_EQ(testing::readAll(a), QByteArray("first"));
    EXPECT_EQ(testing::readAll(in.path() + QStringLiteral("/b.txt")), QByteArray("second"));

    w.c.eFileEdit->setText(QStringLiteral("A.txt"));
    QTest::keyClick(w.c.eFileEdit, Qt::Key_Return);
    EXPECT_FALSE(renaming());
    EXPECT_TRUE(w.c.bRenInd->isVisible());
    EXPECT_EQ(w.c.fBox->names(), (QStringList{QStringLiteral("A.txt"), QStringLiteral("b.txt")}));
    EXPECT_EQ(w.c.fBox->selectedCount(), 0);
    EXPECT_EQ(testing::readAll(in.path() + QStringLiteral("/A.txt")), QByteArray("first"));

    w.press(w.c.fBox, QStringLiteral("b.txt"));
    QTest::mouseClick(w.c.bRenInd, Qt::LeftButton);
    QTest::keyClicks(w.c.eFileEdit, QStringLiteral("x"));
    QTest::keyClick(w.c.eFileEdit, Qt::Key_Escape);
    EXPECT_FALSE(renaming());
    EXPECT_TRUE(QFileInfo::exists(in.path() + QStringLiteral("/b.txt")));
}

// "Create New Directory" makes the typed folder with its parents and
// refreshes the trees, which stay where they were; an empty path says
// "Unable to create directory"; Cancel does nothing.
TEST(MainFileTools, CreateNewDirectory)
{
    testing::TempFolder in, out;
    FileToolsWindow w(in.path(), out.path());
    SelectDirectoryDialog& dialog = w.tools->selectDirectoryDialog();
    QString typed;
    w.fakes.dialogs.whileShown = [&](QDialog& shown) {
        EXPECT_EQ(&shown, &dialog);
        dialog.form().eDirName->setText(typed);
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("bOK")), Qt::LeftButton);
    };

    typed = QStringLiteral("one/two");
    w.action(w.c.pm2, "CreateNewDirectory2")->trigger();
    EXPECT_TRUE(QFileInfo(out.path() + QStringLiteral("/one/two")).isDir());
    EXPECT_EQ(w.c.fNewDir->folder(), out.path());
    EXPECT_EQ(w.fakes.messages.texts(), QStringList{kFolderDoesNotExist});

    typed = in.path() + QStringLiteral("/x/y/z");
    w.action(w.c.pm1, "CreateNewDirectory1")->trigger();
    EXPECT_TRUE(QFileInfo(in.path() + QStringLiteral("/x/y/z")).isDir());
    EXPECT_EQ(w.c.fDir->folder(), in.path());

    w.fakes.messages.shown.clear();
    typed.clear();
    w.action(w.c.pm1, "CreateNewDirectory1")->trigger();
    EXPECT_EQ(w.fakes.messages.texts(), (QStringList{kFolderDoesNotExist, kUnableToCreateDirectory}));

    w.fakes.messages.shown.clear();
    w.fakes.dialogs.whileShown = nullptr;
    w.fakes.dialogs.results.push_back(QDialog::Rejected);
    w.action(w.c.pm1, "CreateNewDirectory1")->trigger();
    EXPECT_TRUE(w.fakes.messages.shown.empty());
}

// "Remove Directory" asks "Confirm Delete of Directory " and the path; a
// folder holding a file stays with "Error Removing Directory, it must be
// empty." and the tree back on it; an empty one goes and the tree stands on
// its parent; Cancel changes nothing.
TEST(MainFileTools, RemoveDirectory)
{
    testing::TempFolder root;
    const QString full = root.makeFolder(QStringLiteral("full"));
    root.write(QStringLiteral("full/keep.jpg"), "keep");
    const QString empty = root.makeFolder(QStringLiteral("empty"));
    FileToolsWindow w(full, empty);

    w.fakes.messages.script(MessageAnswer::Cancel);
    w.action(w.c.pm2, "RemoveDirectory2")->trigger();
    EXPECT_TRUE(QFileInfo(empty).isDir());
    ASSERT_EQ(w.fakes.messages.texts(), QStringList{QStringLiteral("Confirm Delete of Directory ") + empty});
    EXPECT_EQ(w.fakes.messages.shown[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(w.fakes.messages.shown[0].icon, MessageIcon::Question);

    w.fakes.messages.shown.clear();
    w.action(w.c.pm1, "RemoveDirectory1")->trigger();
    EXPECT_EQ(w.fakes.messages.texts(),
              (QStringList{QStringLiteral("Confirm Delete of Directory ") + full, kRemoveDirectoryError}));
    EXPECT_EQ(testing::readAll(full + QStringLiteral("/keep.jpg")), QByteArray("keep"));
    EXPECT_EQ(w.c.fDir->folder(), full);

    w.action(w.c.pm2, "RemoveDirectory2")->trigger();
    EXPECT_FALSE(QFileInfo::exists(empty));
    EXPECT_EQ(w.c.fNewDir->folder(), root.path());
}

// "Launch Explorer", from the button or either menu, shows the input folder
// on the input page, the output folder on the output page, and the file
// manager's own start elsewhere.
TEST(MainFileTools, LaunchExplorerFollowsThePage)
{
    testing::TempFolder in, out;
    FileToolsWindow w(in.path(), out.path());
    QTest::mouseClick(w.c.SpeedButton2, Qt::LeftButton);
    w.pages->setCurrentIndex(1);
    w.action(w.c.pm2, "LaunchExplorer1")->trigger();
    w.pages->setCurrentIndex(2);
    w.action(w.c.pm1, "LauchExplorer1")->trigger();
    EXPECT_EQ(w.fakes.shell.calls,
              (QStringList{QStringLiteral("explore ") + in.path(), QStringLiteral("explore ") + out.path(),
                           QStringLiteral("file manager")}));
}

// The refresh commands read the folders again; the button also refreshes the
// output location dialog and puts the output list on its first file.
TEST(MainFileTools, RefreshCommands)
{
    testing::TempFolder in, out;
    FileToolsWindow w(in.path(), out.path());
    int locationRefreshes = 0;
    w.tools->setOutputLocationRefresh([&] { ++locationRefreshes; });
    in.write(QStringLiteral("new.jpg"));
    out.write(QStringLiteral("z.txt"));
    w.action(w.c.pm1, "RefreshDirectory1")->trigger();
    EXPECT_EQ(w.c.fBox->names(), QStringList{QStringLiteral("new.jpg")});
    EXPECT_TRUE(w.c.fNewBox->names().isEmpty());
    w.action(w.c.pm2, "RefreshDirectory2")->trigger();
    EXPECT_EQ(w.c.fNewBox->names(), QStringList{QStringLiteral("z.txt")});

    out.write(QStringLiteral("a.txt"));
    QTest::mouseClick(w.c.bRefreshView, Qt::LeftButton);
    EXPECT_EQ(w.c.fNewBox->names(), (QStringList{QStringLiteral("a.txt"), QStringLiteral("z.txt")}));
    EXPECT_TRUE(w.c.fNewBox->isItemSelected(0));
    EXPECT_EQ(locationRefreshes, 1);
}

}  // namespace
}  // namespace tessaly
