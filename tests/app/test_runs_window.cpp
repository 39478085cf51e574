#include "support/testpictures.h"
#include "wizardfixture.h"

#include <QApplication>
#include <QDir>

namespace tessaly {
namespace {

using testing::WizardTest;

// GO through the real window: the wizard's pages lead to the processing
// page, the run writes its files and the page shows how it ended.
class WindowRunTest : public WizardTest {
protected:
    void usePictures(std::initializer_list<const char*> names, int width = 40, int height = 30)
    {
        for (const char* name : names)
            testing::writePicture(pictures.path() + u'/' + QLatin1String(name), width, height);
        ui.fDir->setFolder(pictures.path());
        bSelAll();
    }
    void bSelAll() { testing::click(ui.bSelAll); }
    // Next => through the pages to the confirmation, with `onThumbnailPage`
    // run on page 3 in thumbnail mode.
    void toConfirmation(const std::function<void()>& onThumbnailPage = {})
    {
        testing::click(ui.bNxt1);
        ui.fNewDir->setFolder(output.path());
        testing::click(ui.bNxt2);
        if (window.mode() == JobMode::Thumbnails) {
            if (onThumbnailPage)
                onThumbnailPage();
            testing::click(ui.bNxt3);
        }
        ASSERT_EQ(page(), ui.tsCS);
    }
    QStringList outputFiles() const { return QDir(output.path()).entryList(QDir::Files, QDir::Name); }

    testing::TempFolder pictures;
};

TEST_F(WindowRunTest, ThumbnailsEndToEnd)
{
    usePictures({"one.jpg", "two.bmp", "three.gif"}, 200, 100);
    toConfirmation([this] { testing::click(ui.cbRatio); });
    testing::click(ui.bGO);
    // The folder trees keep their folders while the window handles events.
    EXPECT_TRUE(fakes.messages.shown.empty());
    EXPECT_EQ(ui.fDir->folder(), pictures.path());
    EXPECT_EQ(page(), ui.tsP);
    EXPECT_EQ(ui.lDone->text(), QStringLiteral("Operation complete. 3 files processed."));
    EXPECT_FALSE(ui.lDone->isHidden());
    EXPECT_TRUE(ui.pBar->isHidden());
    EXPECT_TRUE(ui.bCancelOp->isHidden());
    EXPECT_FALSE(ui.bStartOver->isHidden());
    EXPECT_FALSE(ui.bHTML->isHidden());
    EXPECT_FALSE(ui.lDoHTM->isHidden());
    EXPECT_TRUE(ui.lbMFL->isHidden());
    EXPECT_TRUE(ui.Image1->isHidden());
    EXPECT_EQ(ui.lProc->text(), QStringLiteral("3 of 3"));
    EXPECT_EQ(outputFiles(), (QStringList{QStringLiteral("Thumb001.jpg"), QStringLiteral("Thumb002.jpg"),
                                          QStringLiteral("Thumb003.jpg")}));
    const RunState& run = window.runState();
    EXPECT_EQ(run.ProcessedCount, 3);
    EXPECT_EQ(run.maxThumbSize, 96);
    ASSERT_EQ(run.ProcessedFiles.size(), 3u);
    EXPECT_EQ(run.ProcessedFiles[0].Width, 96);
    EXPECT_EQ(run.ProcessedFiles[0].Height, 48);
    EXPECT_EQ(run.ProcessedFiles[0].OriginalPath, pictures.path() + QStringLiteral("/one.jpg"));

    testing::click(ui.bStartOver);
    EXPECT_FALSE(ui.lbMFL->isHidden());
    EXPECT_FALSE(ui.pBar->isHidden());
    EXPECT_EQ(run.ProcessedCount, 3);
}

// Cancel pressed while the third of ten files is made.
TEST_F(WindowRunTest, CancelDuringTheThirdFile)
{
    usePictures({"f0.bmp", "f1.bmp", "f2.bmp", "f3.bmp", "f4.bmp", "f5.bmp", "f6.bmp", "f7.bmp", "f8.bmp", "f9.bmp"},
                20, 10);
    toConfirmation();
    window.setBetweenFiles([&] {
        if (ui.lProc->text() == QLatin1String("3 of 10"))
            testing::click(ui.bCancelOp);
    });
    testing::click(ui.bGO);
    EXPECT_EQ(ui.lDone->text(), QStringLiteral("Operation Incomplete. 3 files processed."));
    EXPECT_EQ(outputFiles().size(), 3);
}

// While a run goes the focus is on Cancel, and Escape cancels.
TEST_F(WindowRunTest, EscapeCancelsARun)
{
    usePictures({"f0.bmp", "f1.bmp", "f2.bmp", "f3.bmp", "f4.bmp", "f5.bmp"}, 20, 10);
    toConfirmation();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QWidget* focused = nullptr;
    window.setBetweenFiles([&] {
        if (ui.lProc->text() == QLatin1String("2 of 6")) {
            focused = QApplication::focusWidget();
            QTest::keyClick(focused, Qt::Key_Escape);
        }
    });
    testing::click(ui.bGO);
    EXPECT_EQ(focused, ui.bCancelOp);
    EXPECT_EQ(ui.lDone->text(), QStringLiteral("Operation Incomplete. 2 files processed."));
    EXPECT_EQ(outputFiles().size(), 2);
}

TEST_F(WindowRunTest, RenameEndToEnd)
{
    usePictures({"c.gif", "B.jpg", "a.jpg"});
    testing::click(ui.rbRename);
    toConfirmation();
    testing::click(ui.bGO);
    EXPECT_EQ(ui.lDone->text(), QStringLiteral("Operation complete. 3 files processed."));
    EXPECT_EQ(
        QDir(pictures.path()).entryList(QDir::Files, QDir::Name),
        (QStringList{QStringLiteral("Image001.jpg"), QStringLiteral("Image002.jpg"), QStringLiteral("Image003.gif")}));
    // The input list was read again and shows the new names.
    EXPECT_EQ(ui.fBox->names().size(), 3);
    EXPECT_TRUE(ui.fBox->names().contains(QStringLiteral("Image003.gif")));
}

TEST_F(WindowRunTest, PlainCopyAndConvertEndToEnd)
{
    usePictures({"a.jpg", "b.bmp"}, 30, 20);
    testing::click(ui.rbRename);
    testing::click(ui.bNxt1);
    testing::click(ui.rbCpyCvrt);
    ui.fNewDir->setFolder(output.path());
    testing::choose(ui.cbConvert, 5);
    testing::click(ui.bNxt2);
    testing::click(ui.bGO);
    EXPECT_EQ(ui.lDone->text(), QStringLiteral("Operation complete. 2 files processed."));
    EXPECT_EQ(testing::readAll(output.path() + QStringLiteral("/Image001.jpg")),
              testing::readAll(pictures.path() + QStringLiteral("/a.jpg")));

    testing::click(ui.bStartOver);
    bSelAll();
    testing::click(ui.bNxt1);
    ui.fNewDir->setFolder(output.path());
    testing::choose(ui.cbConvert, 1);
    testing::typeInto(ui.ePreI, QStringLiteral("Conv"));
    testing::click(ui.bNxt2);
    testing::click(ui.bGO);
    EXPECT_EQ(ui.lDone->text(), QStringLiteral("Operation complete. 2 files processed."));
    EXPECT_TRUE(outputFiles().contains(QStringLiteral("Conv002.gif")));
    ASSERT_EQ(window.runState().ProcessedFiles.size(), 2u);
    EXPECT_EQ(window.runState().ProcessedFiles[1].Width, 30);
}

}  // namespace
}  // namespace tessaly
