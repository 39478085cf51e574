#include "support/testpictures.h"
#include "wizardfixture.h"

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
    void bSelAll() { window.bSelAllClick(); }
    void toConfirmation()
    {
        window.bNxt1Click();
        ui.fNewDir->setFolder(output.path());
        window.bNxt2Click();
        if (window.mode() == JobMode::Thumbnails)
            window.bNxt3Click();
    }
    QStringList outputFiles() const { return QDir(output.path()).entryList(QDir::Files, QDir::Name); }

    testing::TempFolder pictures;
};

TEST_F(WindowRunTest, ThumbnailsEndToEnd)
{
    usePictures({"one.jpg", "two.bmp", "three.gif"}, 200, 100);
    ui.cbRatio->setChecked(true);
    toConfirmation();
    ui.bGO->click();
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
    EXPECT_EQ(run.ProcessedFiles[0].Width, 96);
    EXPECT_EQ(run.ProcessedFiles[0].Height, 48);
    EXPECT_EQ(run.ProcessedFiles[0].OriginalPath, pictures.path() + QStringLiteral("/one.jpg"));

    window.bStartOverClick();
    EXPECT_FALSE(ui.lbMFL->isHidden());
    EXPECT_FALSE(ui.pBar->isHidden());
    EXPECT_EQ(run.ProcessedCount, 3);
}

// Cancel pressed while the third of ten files is made.
TEST_F(WindowRunTest, CancelDuringTheThirdFile)
{
    usePictures({"f0.bmp", "f1.bmp", "f2.bmp", "f3.bmp", "f4.bmp", "f5.bmp", "f6.bmp", "f7.bmp", "f8.bmp", "f9.bmp"}, 20, 10);
    toConfirmation();
    window.setBetweenFiles([&] {
        if (ui.lProc->text() == QLatin1String("3 of 10"))
            ui.bCancelOp->click();
    });
    ui.bGO->click();
    EXPECT_EQ(ui.lDone->text(), QStringLiteral("Operation Incomplete. 3 files processed."));
    EXPECT_EQ(outputFiles().size(), 3);
}

TEST_F(WindowRunTest, RenameEndToEnd)
{
    usePictures({"c.gif", "B.jpg", "a.jpg"});
    ui.rbRename->setChecked(true);
    toConfirmation();
    ui.bGO->click();
    EXPECT_EQ(ui.lDone->text(), QStringLiteral("Operation complete. 3 files processed."));
    EXPECT_EQ(QDir(pictures.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("Image001.jpg"), QStringLiteral("Image002.jpg"), QStringLiteral("Image003.gif")}));
    // The input list was read again and shows the new names.
    EXPECT_EQ(ui.fBox->names().size(), 3);
    EXPECT_TRUE(ui.fBox->names().contains(QStringLiteral("Image003.gif")));
}

TEST_F(WindowRunTest, PlainCopyAndConvertEndToEnd)
{
    usePictures({"a.jpg", "b.bmp"}, 30, 20);
    ui.rbRename->setChecked(true);
    window.bNxt1Click();
    ui.rbCpyCvrt->setChecked(true);
    ui.fNewDir->setFolder(output.path());
    ui.cbConvert->setCurrentText(QStringLiteral("No Conversion"));
    window.bNxt2Click();
    ui.bGO->click();
    EXPECT_EQ(ui.lDone->text(), QStringLiteral("Operation complete. 2 files processed."));
    EXPECT_EQ(testing::readAll(output.path() + QStringLiteral("/Image001.jpg")),
              testing::readAll(pictures.path() + QStringLiteral("/a.jpg")));

    window.bStartOverClick();
    bSelAll();
    window.bNxt1Click();
    ui.fNewDir->setFolder(output.path());
    ui.cbConvert->setCurrentText(QStringLiteral("gif"));
    ui.ePreI->setText(QStringLiteral("Conv"));
    window.bNxt2Click();
    ui.bGO->click();
    EXPECT_EQ(ui.lDone->text(), QStringLiteral("Operation complete. 2 files processed."));
    EXPECT_TRUE(outputFiles().contains(QStringLiteral("Conv002.gif")));
    EXPECT_EQ(window.runState().ProcessedFiles[1].Width, 30);
}

}  // namespace
}  // namespace tessaly
