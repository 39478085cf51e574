#include "filetools/foldercommands.h"
#include "filetools/selectdirectorydialog.h"
#include "filetools/tform2.h"
#include "support/fakeservices.h"
#include "support/tempfolder.h"
#include "ui_selectdirectorydialog.h"
#include "ui_tform2.h"
#include "widgets/windowplacement.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

// The preview window shows the picture at full size with its hint at 5, 5,
// without blocking; a click on the picture closes it, and so does Escape.
TEST(TForm2, ShowsThePictureAtFullSizeAndClosesOnAClick)
{
    TForm2 window;
    window.setWindowTitle(QStringLiteral("/pics/a.jpg"));
    QPixmap picture(300, 200);
    picture.fill(Qt::red);
    window.showPicture(picture, QStringLiteral("/pics/a.jpg - W: 300, H: 200"));

    ASSERT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isModal());
    EXPECT_EQ(window.size(), QSize(300, 200));
    EXPECT_EQ(window.pos(), QPoint(5, 5));
    EXPECT_EQ(window.form().Image1->size(), QSize(300, 200));
    EXPECT_EQ(window.form().Image1->toolTip(), QStringLiteral("/pics/a.jpg - W: 300, H: 200"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("/pics/a.jpg"));
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMinimizeButtonHint);

    QTest::mouseClick(window.form().Image1, Qt::RightButton);
    EXPECT_TRUE(window.isVisible());
    QTest::mouseClick(window.form().Image1, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());

    // Shown again with a larger picture than the screen: still full size,
    // and the picture is kept while hidden.
    QPixmap large(2000, 1500);
    large.fill(Qt::blue);
    window.showPicture(large, QStringLiteral("big"));
    EXPECT_EQ(window.size(), QSize(2000, 1500));
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.form().Image1->pixmap().size(), QSize(2000, 1500));
}

// A preview already open gets no new showing (so the application's window
// fitter does not run): a larger picture previewed into it still leaves the
// window, frame and all, inside the screen's available area, while a picture
// that fits keeps the window at 5, 5.
TEST(TForm2, OpenPreviewStaysOnTheScreenWithALargerPicture)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    TForm2 window;
    QPixmap small(300, 200);
    small.fill(Qt::red);
    window.showPicture(small, QStringLiteral("small"));
    ASSERT_TRUE(window.isVisible());
    EXPECT_EQ(window.pos(), QPoint(5, 5));

    QPixmap large(area.width() + 400, area.height() + 300);
    large.fill(Qt::blue);
    window.showPicture(large, QStringLiteral("large"));
    ASSERT_TRUE(window.isVisible());
    EXPECT_TRUE(area.contains(QRect(window.pos(), window.size().grownBy(knownFrame(window)))))
        << window.pos().x() << "," << window.pos().y() << " " << window.width() << "x" << window.height();

    window.showPicture(small, QStringLiteral("small again"));
    EXPECT_EQ(window.pos(), QPoint(5, 5));
    EXPECT_EQ(window.size(), QSize(300, 200));
}

// "Select Directory" opens at a folder with its folders and files, goes into
// a folder on a double-click and up through "..", takes typed paths relative
// to the folder shown, and on OK for a missing folder asks whether to create
// it: No keeps it open, Yes closes it.
TEST(SelectDirectoryDialog, BrowsesAndAsksBeforeAMissingFolder)
{
    testing::TempFolder folder;
    folder.makeFolder(QStringLiteral("Beta"));
    folder.makeFolder(QStringLiteral("alpha/inner"));
    folder.write(QStringLiteral("photo.jpg"));
    testing::FakeMessages messages;
    SelectDirectoryDialog dialog(messages);
    dialog.setDirectory(folder.path());
    dialog.show();
    Ui::SelectDirectoryDialog& ui = dialog.form();

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select Directory"));
    EXPECT_EQ(ui.eDirName->text(), folder.path());
    ASSERT_EQ(ui.lbDirectories->count(), 3);
    EXPECT_EQ(ui.lbDirectories->item(0)->text(), QStringLiteral(".."));
    EXPECT_EQ(ui.lbDirectories->item(1)->text(), QStringLiteral("alpha"));
    EXPECT_EQ(ui.lbDirectories->item(2)->text(), QStringLiteral("Beta"));
    EXPECT_EQ(ui.lbFiles->count(), 1);

    const QRect alpha = ui.lbDirectories->visualItemRect(ui.lbDirectories->item(1));
    QTest::mouseClick(ui.lbDirectories->viewport(), Qt::LeftButton, {}, alpha.center());
    QTest::mouseDClick(ui.lbDirectories->viewport(), Qt::LeftButton, {}, alpha.center());
    EXPECT_EQ(ui.eDirName->text(), folder.path() + QStringLiteral("/alpha"));
    EXPECT_EQ(ui.lbDirectories->item(1)->text(), QStringLiteral("inner"));
    // Enter in the folder list opens the folder under the focus mark.
    ui.lbDirectories->setCurrentRow(0);
    QTest::keyClick(ui.lbDirectories, Qt::Key_Return);
    EXPECT_EQ(ui.eDirName->text(), folder.path());
    EXPECT_TRUE(dialog.isVisible());

    ui.eDirName->setText(QStringLiteral("new/deeper"));
    messages.script(MessageAnswer::No);
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("bOK")), Qt::LeftButton);
    ASSERT_EQ(messages.texts(), QStringList{kFolderDoesNotExist});
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(dialog.isVisible());

    messages.script(MessageAnswer::Yes);
    QTest::keyClick(ui.eDirName, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.directory(), folder.path() + QStringLiteral("/new/deeper"));

    // An existing folder is taken without a question.
    dialog.setDirectory(folder.path());
    dialog.show();
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("bOK")), Qt::LeftButton);
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace tessaly
