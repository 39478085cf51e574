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
#include "widgets/radiogroup.h"
#include "ui_tfdlgouthtml.h"
#include "ui_tform4.h"
#include "ui_tform6.h"
#include "gallery/dialogs/tfdlgouthtml.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
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

// Yes puts every option of the four windows back to its default, both trees
// at the start folder, with the side effects of the clicks it makes (the
// ratio box's labels, the slider's value label, the table layout instead of
// frames), and leaves the choices it does not remember alone.
TEST_F(TitleButtonsTest, ResetYesRestoresTheDefaults)
{
    Ui::TForm6& options = windows.htmlOptions().form();
    // Every control away from its default first.
    for (QLineEdit* edit : {ui.eWidth, ui.eHeight, ui.ePreT, options.eBorder, options.eBanr, options.eTCols,
                            options.eTBord, options.eTWidth, options.eTPad, options.eTSpace, options.eTperPg,
                            options.eCaption, windows.htmlLocation().form().eFileName})
        edit->setText(QStringLiteral("7"));
    for (QComboBox* list : {options.cbTAlign, options.cbCAlign, options.cbCHAlign, options.cbCVAlign})
        list->setCurrentIndex(list->count() - 1);
    ui.rgResize->setItemIndex(0);
    ui.cbConvert->setCurrentIndex(2);
    ui.cbNameOption->setCurrentIndex(2);
    ui.tbJpg->setValue(40);
    ui.cbRatio->setChecked(true);
    ui.cbFWidth->setChecked(true);
    ui.cbOverWrite->setChecked(false);
    ui.cbUpright->setChecked(false);
    deletion().cbRecycle->setChecked(false);
    options.cbHREF->click();
    options.cbFrames->click();
    options.cbLinkFName->setChecked(false);
    ui.eSeq->setText(QStringLiteral("7"));
    ASSERT_TRUE(options.cbFrames->isChecked());
    ASSERT_FALSE(ui.lMax->isHidden());

    fakes.messages.script(MessageAnswer::Yes);
    click(ui.sbDefaults);

    QWidget* main = &windows.mainWindow();
    QWidget* html = &windows.htmlOptions();
    QWidget* out = &windows.htmlLocation();
    QWidget* del = &windows.deleteConfirm();
    struct Expected {
        QWidget* window;
        const char* control;
        QVariant value;
    };
    auto find = [](QWidget* window, const char* name) {
        QWidget* found = window->findChild<QWidget*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    };
    const std::vector<Expected> texts{
        {main, "eWidth", QStringLiteral("96")},       {main, "eHeight", QStringLiteral("96")},
        {main, "ePreT", QStringLiteral("Thumb")},     {html, "eBorder", QStringLiteral("1")},
        {html, "eBanr", QStringLiteral("Tessaly")},   {html, "eTCols", QStringLiteral("5")},
        {html, "eTBord", QStringLiteral("1")},        {html, "eTWidth", QStringLiteral("0")},
        {html, "eTPad", QStringLiteral("2")},         {html, "eTSpace", QStringLiteral("2")},
        {html, "eTperPg", QStringLiteral("25")},      {out, "eFileName", QStringLiteral("MyWeb.htm")},
        {html, "eCaption", QStringLiteral("Click thumbnail to see full size image")},
        {html, "cbTAlign", QStringLiteral("Center")}, {html, "cbCAlign", QStringLiteral("Top")},
        {html, "cbCHAlign", QStringLiteral("Center")}, {html, "cbCVAlign", QStringLiteral("Middle")},
        {main, "lJpg", QStringLiteral("90")},
    };
    for (const Expected& row : texts) {
        QWidget* control = find(row.window, row.control);
        const QString shown = qobject_cast<QComboBox*>(control) ? qobject_cast<QComboBox*>(control)->currentText()
                              : qobject_cast<QLabel*>(control)  ? qobject_cast<QLabel*>(control)->text()
                                                                : qobject_cast<QLineEdit*>(control)->text();
        EXPECT_EQ(shown, row.value.toString()) << row.control;
    }
    for (const Expected& row : std::vector<Expected>{
             {main, "rgResize", 1}, {html, "rgHREF", 2}, {html, "rgIMG", 2}, {html, "rgDisp", 0}, {html, "rgBanr", 0}})
        EXPECT_EQ(qobject_cast<RadioGroup*>(find(row.window, row.control))->itemIndex(), row.value.toInt())
            << row.control;
    EXPECT_EQ(ui.cbConvert->currentIndex(), 0);
    EXPECT_EQ(ui.cbNameOption->currentIndex(), 0);
    EXPECT_EQ(ui.tbJpg->value(), 90);

    const std::vector<Expected> checks{
        {main, "cbRatio", false},   {main, "cbFWidth", false}, {main, "cbFHeight", false}, {main, "cbOverWrite", true},
        {html, "cbHREF", true},     {html, "cbBorder", true},  {html, "cbStats", true},    {html, "cbTBColor", true},
        {html, "cbCaption", true},  {html, "cbCBColor", false}, {html, "rb1pg", false},    {html, "rbMpg", true},
        {html, "rbNavTop", false},  {html, "rbNavBot", false}, {html, "rbNavBoth", true},  {html, "cbAddNav", true},
        {html, "cbFrames", false},  {html, "cbUseTable", true}, {html, "cbBkgd", false},   {html, "cbTxt", false},
        {del, "cbRecycle", true},   {main, "cbUpright", true}, {main, "cbKeepInfo", false},
        {main, "cbKeepLocation", false}, {html, "cbResponsive", false},
        // Left alone.
        {html, "cbLinkFName", false},
    };
    for (const Expected& row : checks)
        EXPECT_EQ(qobject_cast<QAbstractButton*>(find(row.window, row.control))->isChecked(), row.value.toBool())
            << row.control;

    for (const Expected& row : std::vector<Expected>{{html, "cpBack", QColor(255, 255, 255)},
                                                     {html, "cpFont", QColor(0, 0, 0)},
                                                     {html, "cpBanr", QColor(0, 0, 0)},
                                                     {html, "cpTBkgd", QColor(160, 160, 160)},
                                                     {html, "cpCBkgd", QColor(255, 255, 255)}})
        EXPECT_EQ(ColorPickerButton::toQColor(qobject_cast<ColorPickerButton*>(find(row.window, row.control))->color()),
                  row.value.value<QColor>())
            << row.control;

    for (const char* shown :
         {"rgHREF", "eHREF", "eBorder", "lBorder", "lBColor", "cpTBkgd", "eCaption", "lTCap", "lTperPg", "eTperPg",
          "lMHelp", "rbNavTop", "rbNavBot", "rbNavBoth", "GroupBox3", "GroupBox4", "Label24", "gbPages", "gbNavBtns"})
        EXPECT_FALSE(find(html, shown)->isHidden()) << shown;
    for (const char* hidden : {"cpCBkgd", "lFrameHelp"})
        EXPECT_TRUE(find(html, hidden)->isHidden()) << hidden;
    for (const char* enabled : {"cbUseTable", "eTCols", "cbTAlign", "cbCAlign"})
        EXPECT_TRUE(find(html, enabled)->isEnabled()) << enabled;
    EXPECT_TRUE(ui.lMax->isHidden());
    EXPECT_FALSE(ui.eHeight->isHidden());
    EXPECT_EQ(ui.fDir->folder(), paths::startFolder());
    EXPECT_EQ(ui.fNewDir->folder(), paths::startFolder());
    EXPECT_EQ(ui.eSeq->text(), QStringLiteral("7"));
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
