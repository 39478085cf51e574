#include "about/helpwindow.h"
#include "about/tfabout.h"
#include "app/titlearea.h"
#include "app/wizardfixture.h"
#include "filetools/tform4.h"
#include "gallery/dialogs/colorpickerbutton.h"
#include "gallery/dialogs/tform6.h"
#include "platform/installlayout.h"
#include "platform/paths.h"
#include "app/resetdefaults.h"
#include "support/testpictures.h"
#include "ui_tfdlgouthtml.h"
#include "ui_tform4.h"
#include "ui_tform6.h"
#include "gallery/dialogs/tfdlgouthtml.h"

#include <QFile>
#include <QTextBrowser>

namespace tessaly {
namespace {

using testing::click;

// The title area's buttons on the real main window, made with every other
// window at start-up.
class TitleButtonsTest : public testing::WizardTest {
protected:
    Ui::TForm4& deletion() { return windows.deleteConfirm().form(); }
};

// "About Tessaly" shows the About box made at start-up, modally.
TEST_F(TitleButtonsTest, AboutShowsTheAboutBox)
{
    EXPECT_EQ(ui.sbAbout->toolTip(), QStringLiteral("About Tessaly"));
    EXPECT_EQ(ui.sbAbout->accessibleName(), QStringLiteral("About Tessaly"));
    fakes.dialogs.whileShown = [&](QDialog& shown) {
        EXPECT_EQ(&shown, &windows.aboutBox());
        EXPECT_EQ(shown.windowTitle(), QStringLiteral("About Tessaly"));
    };
    click(ui.sbAbout);
    EXPECT_EQ(fakes.dialogs.shownNames, QStringList{QStringLiteral("TfAbout")});
    EXPECT_FALSE(windows.aboutBox().isVisible());
}

// "Tessaly Help" opens the help beside the program in the help window;
// without it, the help window says so and nothing else changes.
TEST_F(TitleButtonsTest, HelpOpensTheHelpWindow)
{
    EXPECT_EQ(ui.SpeedButton3->toolTip(), QStringLiteral("Tessaly Help"));
    click(ui.SpeedButton3);
    HelpWindow* help = window.titleArea().helpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->documentPath(), QCoreApplication::applicationDirPath() + QStringLiteral("/") + kHelpDocument);

    help->close();
    window.titleArea().setHelpFiles({QStringLiteral("/nonexistent/help/tessaly-help.html")});
    click(ui.SpeedButton3);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->findChild<QTextBrowser*>(QStringLiteral("HelpText"))
                    ->toPlainText()
                    .contains(QStringLiteral("could not be found")));
    EXPECT_TRUE(fakes.messages.shown.empty());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(page(), ui.tsIFS);
}

// The reset asks first: Cancel (or closing the box) changes nothing.
TEST_F(TitleButtonsTest, ResetCancelledChangesNothing)
{
    ui.ePreT->setText(QStringLiteral("Small"));
    deletion().cbRecycle->setChecked(false);
    fakes.messages.script(MessageAnswer::Cancel);
    click(ui.sbDefaults);
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].text,
              QStringLiteral("Confirmation - by choosing Yes, you will reset\r\nall options to their original "
                             "default settings.\r\n\r\nProceed?"));
    EXPECT_EQ(fakes.messages.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(fakes.messages.shown[0].buttons, MessageButtons::YesCancel);
    EXPECT_EQ(ui.ePreT->text(), QStringLiteral("Small"));
    EXPECT_FALSE(deletion().cbRecycle->isChecked());
    EXPECT_EQ(ui.fDir->folder(), input.path());
}

// Yes puts the options back, both trees at the root, with the side effects
// of the clicks it makes: the ratio box's labels, the slider's value label.
TEST_F(TitleButtonsTest, ResetYesRestoresTheDefaults)
{
    ui.ePreT->setText(QStringLiteral("Small"));
    ui.eWidth->setText(QStringLiteral("120"));
    ui.cbRatio->setChecked(true);
    ui.cbFWidth->setChecked(true);
    ui.tbJpg->setValue(40);
    ui.cbOverWrite->setChecked(false);
    ui.eSeq->setText(QStringLiteral("7"));
    deletion().cbRecycle->setChecked(false);
    windows.htmlLocation().form().eFileName->setText(QStringLiteral("Holiday.htm"));
    Ui::TForm6& options = windows.htmlOptions().form();
    options.eBanr->setText(QStringLiteral("Holiday"));
    options.cbFrames->click();
    options.cbLinkFName->setChecked(false);
    ASSERT_TRUE(options.cbFrames->isChecked());
    ASSERT_FALSE(ui.lMax->isHidden());

    fakes.messages.script(MessageAnswer::Yes);
    click(ui.sbDefaults);
    EXPECT_EQ(ui.fDir->folder(), paths::startFolder());
    EXPECT_EQ(ui.fNewDir->folder(), paths::startFolder());
    EXPECT_EQ(ui.ePreT->text(), QStringLiteral("Thumb"));
    EXPECT_EQ(ui.eWidth->text(), QStringLiteral("96"));
    EXPECT_FALSE(ui.cbRatio->isChecked());
    EXPECT_FALSE(ui.cbFWidth->isChecked());
    EXPECT_TRUE(ui.lMax->isHidden());
    EXPECT_FALSE(ui.eHeight->isHidden());
    EXPECT_EQ(ui.tbJpg->value(), 90);
    EXPECT_EQ(ui.lJpg->text(), QStringLiteral("90"));
    EXPECT_TRUE(ui.cbOverWrite->isChecked());
    EXPECT_EQ(ui.rgResize->itemIndex(), 1);
    EXPECT_EQ(ui.cbConvert->currentIndex(), 0);
    EXPECT_EQ(ui.cbNameOption->currentIndex(), 0);
    EXPECT_TRUE(deletion().cbRecycle->isChecked());
    EXPECT_EQ(windows.htmlLocation().form().eFileName->text(), QStringLiteral("MyWeb.htm"));
    EXPECT_EQ(options.eBanr->text(), QStringLiteral("Tessaly"));
    EXPECT_FALSE(options.cbFrames->isChecked());
    EXPECT_TRUE(options.cbUseTable->isChecked());
    EXPECT_TRUE(options.lFrameHelp->isHidden());
    EXPECT_TRUE(options.eTCols->isEnabled());
    EXPECT_EQ(ColorPickerButton::toQColor(options.cpTBkgd->color()), QColor(160, 160, 160));
    EXPECT_FALSE(options.cbLinkFName->isChecked());   // left alone
    EXPECT_EQ(ui.eSeq->text(), QStringLiteral("7"));  // left alone
}

// During a run the reset is off: the run reads its options as it goes.
TEST_F(TitleButtonsTest, NoResetDuringARun)
{
    testing::TempFolder pictures;
    for (const char* name : {"one.jpg", "two.jpg"})
        testing::writePicture(pictures.path() + u'/' + QLatin1String(name), 20, 10);
    ui.fDir->setFolder(pictures.path());
    click(ui.bSelAll);
    click(ui.bNxt1);
    ui.fNewDir->setFolder(output.path());
    click(ui.bNxt2);
    click(ui.bNxt3);
    QList<bool> enabledDuringRun;
    window.setBetweenFiles([&] { enabledDuringRun << ui.sbDefaults->isEnabled(); });
    click(ui.bGO);
    EXPECT_EQ(enabledDuringRun, (QList<bool>{false, false}));
    EXPECT_TRUE(ui.sbDefaults->isEnabled());
}

// A reset through the button followed by an exit writes what a first start
// without a settings file writes, whatever the file held before.
TEST(TitleButtons, ResetThenExitWritesTheFirstStartFile)
{
    testing::FakeServices fresh;
    ApplicationWindows(fresh.services, fresh.settings).close();
    const QByteArray firstStart = testing::readAll(fresh.settings.path());
    ASSERT_FALSE(firstStart.isEmpty());

    // The same file with a value other than the default under every key the
    // reset covers (those a first start writes).
    testing::FakeServices used;
    ASSERT_TRUE(QFile::copy(fresh.settings.path(), used.settings.path()));
    testing::TempFolder elsewhere;
    const std::vector<std::array<QString, 3>> changed{
        {"Directories", "Input", elsewhere.path()},
        {"Directories", "Output", elsewhere.path()},
        {"Directories", "RecycleBin", "No"},
        {"Directories", "htmlName", "Other.htm"},
        {"Thumbnails", "Resize Speed", "Fast"},
        {"Thumbnails", "Thumb Width", "120"},
        {"Thumbnails", "Thumb Height", "80"},
        {"Thumbnails", "Maintain Ratio", "1"},
        {"Thumbnails", "Force Width", "1"},
        {"Thumbnails", "Create As", "gif"},
        {"Thumbnails", "Naming Option", "SufName"},
        {"Thumbnails", "Output File Qualifier", "T_"},
        {"Thumbnails", "Jpg Compression", "40"},
        {"Thumbnails", "Overwrite Files", "0"},
        {"Linking", "OriginalLinkOpt", "1"},
        {"Linking", "LinkOriginal", "0"},
        {"Linking", "ThumbLinkOpt", "3"},
        {"Layout", "WindowOpt", "1"},
        {"Layout", "LinkBorderSize", "4"},
        {"Layout", "LinkBorder", "0"},
        {"Layout", "LinkStats", "0"},
        {"Layout", "BannerString", "Holiday"},
        {"Layout", "BannerHeadSize", "2"},
        {"Layout", "TileBkgd", "1"},
        {"Layout", "SampleText", "1"},
        {"Layout", "ThmPerPage", "9"},
        {"Layout", "MultiPg", "0"},
        {"Layout", "NavBtns", "0"},
        {"Layout", "UseNavBtns", "0"},
        {"Layout", "UseFrames", "1"},
        {"Colors", "PageBkgd", "255"},
        {"Colors", "Text", "65280"},
        {"Colors", "BannerText", "16711680"},
        {"Colors", "TableBkgd", "0"},
        {"Colors", "CellBkgd", "0"},
        {"Tables", "Columns", "3"},
        {"Tables", "BorderSize", "0"},
        {"Tables", "TableWidth", "100"},
        {"Tables", "CellPad", "7"},
        {"Tables", "CellSpace", "8"},
        {"Tables", "TableAlignment", "Left"},
        {"Tables", "UseBkgdColor", "0"},
        {"Tables", "TableCaption", "Look"},
        {"Tables", "IncludeCaption", "0"},
        {"Tables", "CaptionAlign", "Bottom"},
        {"Tables", "CellHAlign", "Right"},
        {"Tables", "CellVAlign", "Bottom"},
        {"Tables", "UseCellColor", "1"},
        {"Tables", "UseTables", "0"},
    };
    int written = 0;
    for (const auto& [section, key, value] : changed) {
        if (fresh.settings.readString(section, key, QStringLiteral("\x01")) == QStringLiteral("\x01"))
            continue;
        used.settings.writeString(section, key, value);
        ++written;
    }
    ASSERT_EQ(written, int(changed.size()));  // every window that owns settings is made at start-up
    ASSERT_NE(testing::readAll(used.settings.path()), firstStart);

    ApplicationWindows windows(used.services, used.settings);
    Ui::TForm1& ui = windows.mainWindow().form();
    windows.mainWindow().show();
    ASSERT_EQ(ui.tbJpg->value(), 40);
    used.messages.script(MessageAnswer::Yes);
    click(ui.sbDefaults);
    windows.close();

    EXPECT_EQ(testing::readAll(used.settings.path()), firstStart);
    EXPECT_TRUE(firstStart.contains("RecycleBin=Yes"));
    EXPECT_TRUE(firstStart.contains("htmlName=MyWeb.htm"));
}

}  // namespace
}  // namespace tessaly
