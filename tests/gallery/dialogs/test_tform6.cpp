#include "dialogtesttools.h"
#include "gallery/dialogs/colorpickerbutton.h"
#include "gallery/dialogs/tform5.h"
#include "gallery/dialogs/tform6.h"
#include "gallery/dialogs/thrfprmpt.h"
#include "gallery/linkprefix.h"
#include "support/fakeservices.h"
#include "ui_tform5.h"
#include "ui_tform6.h"
#include "ui_thrfprmpt.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

namespace tessaly {
namespace {

using testing::ClickingDialogs;
using testing::FakeServices;
using testing::ScriptedColors;

// The three gallery dialogs made as start-up makes them, over a settings
// file of their own, for a gallery of pictures in <tmp>/pics with
// thumbnails in <tmp>/web/thumbs and the page in <tmp>/web.
class HtmlOptions : public ::testing::Test {
protected:
    void SetUp() override { create(); }

    void create()
    {
        form6 = std::make_unique<TForm6>(services, fakes.settings, &colors);
        form5 = std::make_unique<TForm5>(form6.get());
        prompt = std::make_unique<THRFPrmpt>(form6.get());
        form6->setCompanions(form5.get(), prompt.get());
        setGallery(folder.path() + QStringLiteral("/web"));
    }
    // Closes the dialogs as the program does: the options are saved first.
    void destroy()
    {
        form6->FormDestroy();
        prompt.reset();
        form5.reset();
        form6.reset();
    }
    void setGallery(const QString& htmlFolder)
    {
        ProcessedFile entry;
        entry.OriginalPath = folder.path() + QStringLiteral("/pics/a.jpg");
        entry.OutputPath = folder.path() + QStringLiteral("/web/thumbs/Thumba.jpg");
        form6->setGallery(htmlFolder, {entry});
    }
    Ui::TForm6& ui() { return form6->form(); }

    // Shows the dialog as the gallery run does and lets `act` work in it.
    int run(std::function<void(QDialog&)> act)
    {
        dialogs.actions[QStringLiteral("TForm6")] = std::move(act);
        return dialogs.run(*form6);
    }
    // Shows the dialog without waiting for it, ready for clicks and keys.
    void open()
    {
        form6->show();
        QApplication::setActiveWindow(form6.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form6.get()));
    }

    QWidget* control(const QString& name)
    {
        auto* widget = form6->findChild<QWidget*>(name);
        EXPECT_TRUE(widget) << name.toStdString();
        return widget;
    }
    // Clicks a control as a user does, bringing its page to the front first.
    void click(QWidget* widget)
    {
        const int page = ui().TabSheet2->isAncestorOf(widget) ? 1 : 0;
        if (ui().PageControl1->currentIndex() != page)
            clickTab(page);
        ASSERT_TRUE(widget->isVisible()) << widget->objectName().toStdString();
        // A check box or radio button reacts on its mark and caption only,
        // which may not reach the middle of a wide one.
        const bool marked = qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget);
        QTest::mouseClick(widget, Qt::LeftButton, {}, marked ? QPoint(6, widget->height() / 2) : QPoint());
    }
    void click(const QString& name) { click(control(name)); }
    void clickTab(int page)
    {
        QTabBar* bar = ui().PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(page).center());
    }
    void typeInto(QLineEdit* field, const QString& text)
    {
        QTest::mouseClick(field, Qt::LeftButton);
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    QString settingsText() { return QString::fromUtf8(testing::readAll(fakes.settings.path())); }

    testing::TempFolder folder;
    FakeServices fakes;
    ClickingDialogs dialogs;
    ScriptedColors colors;
    PlatformServices services{fakes.messages, fakes.shell, fakes.trash, dialogs};
    std::unique_ptr<TForm6> form6;
    std::unique_ptr<TForm5> form5;
    std::unique_ptr<THRFPrmpt> prompt;
};

// What a control shows, in words: a ticked box "on", a field its text, a
// group its item, a colour button its colour.
QString stateOf(QWidget* widget)
{
    if (auto* colour = qobject_cast<ColorPickerButton*>(widget))
        return ColorPickerButton::toQColor(colour->color()).name();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->isChecked() ? QStringLiteral("on") : QStringLiteral("off");
    if (auto* field = qobject_cast<QLineEdit*>(widget))
        return field->text();
    if (auto* list = qobject_cast<QComboBox*>(widget))
        return list->currentText();
    if (auto* group = qobject_cast<RadioGroup*>(widget))
        return QString::number(group->itemIndex());
    return QStringLiteral("?");
}

// Without a settings file the dialog opens with relative links, a table of
// five columns over several pages and every other documented default.
TEST_F(HtmlOptions, OpensWithItsDefaults)
{
    const std::vector<std::pair<const char*, const char*>> expected = {
        {"cbHREF", "on"},        {"rgHREF", "2"},
        {"eHREF", "../pics/"},   {"rgIMG", "2"},
        {"eIMG", "thumbs/"},     {"rgDisp", "0"},
        {"cbBorder", "on"},      {"eBorder", "1"},
        {"cbStats", "on"},       {"cbLinkFName", "on"},
        {"cpBack", "#ffffff"},   {"cpFont", "#000000"},
        {"cpBanr", "#000000"},   {"eBanr", "Tessaly"},
        {"rgBanr", "0"},         {"cbUseTable", "on"},
        {"eTCols", "5"},         {"eTBord", "1"},
        {"eTWidth", "0"},        {"eTPad", "2"},
        {"eTSpace", "2"},        {"cbTAlign", "Center"},
        {"cbTBColor", "on"},     {"cpTBkgd", "#a0a0a0"},
        {"cbCaption", "on"},     {"eCaption", "Click thumbnail to see full size image"},
        {"cbCAlign", "Top"},     {"cbCHAlign", "Center"},
        {"cbCVAlign", "Middle"}, {"cbCBColor", "off"},
        {"cpCBkgd", "#ffffff"},  {"rbMpg", "on"},
        {"rb1pg", "off"},        {"eTperPg", "25"},
        {"cbAddNav", "on"},      {"rbNavTop", "off"},
        {"rbNavBot", "off"},     {"rbNavBoth", "on"},
        {"cbFrames", "off"},     {"cbBkgd", "off"},
        {"cbTxt", "off"},        {"cbResponsive", "off"}};
    run([&](QDialog&) {
        for (const auto& [name, state] : expected)
            EXPECT_EQ(stateOf(control(QString::fromLatin1(name))), QString::fromLatin1(state)) << name;
        for (const char* hidden : {"lCColor", "cpCBkgd", "lFrameHelp", "cbBkgd", "cbTxt"})
            EXPECT_TRUE(control(QString::fromLatin1(hidden))->isHidden()) << hidden;
        EXPECT_EQ(ui().PageControl1->currentWidget(), ui().TabSheet1);
        // The display choice stands in its group "Original Image Display".
        auto* group = qobject_cast<QGroupBox*>(ui().rgDisp->parentWidget());
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->title(), QStringLiteral("Original Image Display"));
        EXPECT_TRUE(group->isVisible());
    });
    EXPECT_EQ(form6->windowTitle(), QStringLiteral("HTML Options"));
}

struct ClickRow {
    std::vector<const char*> clicks;
    std::vector<const char*> shown = {}, hidden = {}, enabled = {}, disabled = {};
};

// Each click shows, hides, enables or disables the controls that depend on
// it, and a click back undoes it.
TEST_F(HtmlOptions, ClicksShowAndHideTheirControls)
{
    const ClickRow rows[] = {
        {{"cbHREF"}, {}, {"eHREF", "rgHREF"}, {}, {}},
        {{"cbHREF", "cbHREF"}, {"eHREF", "rgHREF"}, {}, {}, {}},
        {{"cbBorder"}, {}, {"eBorder", "lBorder"}, {}, {}},
        {{"cbCaption"}, {}, {"eCaption", "lTCap", "cbCAlign", "lTCapAlign"}, {}, {}},
        {{"cbTBColor"}, {}, {"lBColor", "cpTBkgd"}, {}, {}},
        {{"cbCBColor"}, {"lCColor", "cpCBkgd"}, {}, {}, {}},
        {{"rb1pg"}, {}, {"lTperPg", "eTperPg", "gbNavBtns", "lMHelp"}, {}, {}},
        {{"rb1pg", "rbMpg"}, {"lTperPg", "eTperPg", "gbNavBtns", "lMHelp"}, {}, {}, {}},
        {{"cbAddNav"}, {}, {"rbNavTop", "rbNavBot", "rbNavBoth"}, {}, {}},
        {{"cbUseTable"}, {}, {"GroupBox3", "GroupBox4", "Label24", "gbPages", "gbNavBtns", "lMHelp"}, {}, {}},
        {{"cbUseTable", "cbUseTable"}, {"GroupBox3", "GroupBox4", "Label24", "gbPages", "gbNavBtns", "lMHelp"}},
        {{"cbFrames"},
         {"lFrameHelp", "cbBkgd", "cbTxt"},
         {"lMHelp", "gbPages", "gbNavBtns", "Label24"},
         {},
         {"cbUseTable", "eTCols", "cbTAlign", "cbCAlign", "cbTxt"}},
        {{"cbFrames", "cbFrames"},
         {"lMHelp", "gbPages", "gbNavBtns", "Label24"},
         {"lFrameHelp", "cbBkgd", "cbTxt"},
         {"cbUseTable", "eTCols", "cbTAlign", "cbCAlign"},
         {}},
        {{"cbFrames", "cbBkgd"}, {"cbTxt"}, {}, {"cbTxt"}, {}},
        // In frames a caption switched off keeps its alignment hidden, and
        // one page keeps the navigation buttons and their help hidden.
        {{"cbFrames", "cbCaption"}, {"lFrameHelp"}, {"cbCAlign", "eCaption"}, {}, {"cbCAlign"}},
        {{"rb1pg", "cbFrames"}, {"lFrameHelp"}, {"gbNavBtns", "lMHelp"}, {}, {}},
        // Clearing the links to the originals turns frames off.
        {{"cbFrames", "cbHREF"}, {"gbPages", "lMHelp"}, {"lFrameHelp", "cbBkgd", "eHREF"}, {"cbUseTable"}, {}},
        // Frames bring the table layout back.
        {{"cbUseTable", "cbFrames"}, {"GroupBox3", "GroupBox4", "lFrameHelp"}, {"gbPages"}, {}, {"cbUseTable"}},
        // The responsive page greys what only shapes tables and frames and
        // keeps what it follows: pages, buttons and file-name captions.
        {{"cbResponsive"},
         {"GroupBox3", "GroupBox4", "gbPages", "gbNavBtns"},
         {},
         {"cbLinkFName", "gbPages", "eTperPg", "gbNavBtns", "cbResponsive"},
         {"eTCols", "eTBord", "eTWidth", "eTPad", "eTSpace", "cbTAlign", "cbTBColor", "cpTBkgd", "cbCaption",
          "eCaption", "cbCAlign", "GroupBox4", "cbUseTable", "cbFrames"}},
        {{"cbResponsive", "cbResponsive"}, {}, {}, {"eTCols", "cbCaption", "GroupBox4", "cbUseTable", "cbFrames"}, {}},
        {{"cbUseTable", "cbResponsive"}, {"Label24", "gbPages", "gbNavBtns"}, {"GroupBox3", "GroupBox4"}, {}, {}},
        {{"cbFrames", "cbBkgd", "cbResponsive"}, {"gbPages", "Label24"}, {}, {}, {"cbBkgd", "cbTxt", "lFrameHelp"}},
        {{"cbFrames", "cbResponsive"},
         {"Label24", "gbPages", "lFrameHelp", "cbBkgd"},
         {},
         {},
         {"cbFrames", "cbUseTable", "cbBkgd", "lFrameHelp"}},
    };
    for (const ClickRow& row : rows) {
        std::string trace;
        for (const char* name : row.clicks)
            trace += std::string(name) + " ";
        SCOPED_TRACE(trace);
        destroy();
        QFile::remove(fakes.settings.path());
        create();
        open();
        for (const char* name : row.clicks)
            click(QString::fromLatin1(name));
        for (const char* name : row.shown)
            EXPECT_FALSE(control(QString::fromLatin1(name))->isHidden()) << name << " shown";
        for (const char* name : row.hidden)
            EXPECT_TRUE(control(QString::fromLatin1(name))->isHidden()) << name << " hidden";
        for (const char* name : row.enabled)
            EXPECT_TRUE(control(QString::fromLatin1(name))->isEnabled()) << name << " enabled";
        for (const char* name : row.disabled)
            EXPECT_FALSE(control(QString::fromLatin1(name))->isEnabled()) << name << " disabled";
        form6->hide();
    }
    EXPECT_TRUE(dialogs.shownNames.isEmpty()) << "the frames prompt is for cleared links only";
}

// Frames need the links to the originals: with them cleared, the prompt
// offers to set them. Yes takes over the prompt's mode (not the text typed
// in its field) and turns frames on.
TEST_F(HtmlOptions, FramesPromptYesSetsTheLinksAndFrames)
{
    open();
    click(QStringLiteral("cbHREF"));
    dialogs.actions[QStringLiteral("THRFPrmpt")] = [&](QDialog&) {
        Ui::THRFPrmpt& p = prompt->form();
        EXPECT_EQ(prompt->windowTitle(), QStringLiteral("Set HREF to Original Option?"));
        EXPECT_TRUE(p.cbHREF->isChecked());
        EXPECT_FALSE(p.cbHREF->isEnabled());
        EXPECT_EQ(p.rgHREF->itemIndex(), 2);
        EXPECT_EQ(p.eHREF->text(), QStringLiteral("../pics/"));
        QTest::mouseClick(p.rgHREF->button(0), Qt::LeftButton);
        EXPECT_EQ(p.eHREF->text(), QUrl::fromLocalFile(folder.path() + QStringLiteral("/pics/")).toString());
        QTest::mouseClick(p.rgHREF->button(1), Qt::LeftButton);
        EXPECT_EQ(p.eHREF->text(), QStringLiteral("http://"));
        QTest::keyClicks(p.eHREF, QStringLiteral("typed.example/"));
        QTest::mouseClick(p.bYes, Qt::LeftButton);
    };
    click(QStringLiteral("cbFrames"));
    EXPECT_EQ(dialogs.shownNames, QStringList{QStringLiteral("THRFPrmpt")});
    EXPECT_TRUE(ui().cbHREF->isChecked());
    EXPECT_EQ(ui().rgHREF->itemIndex(), 1);
    EXPECT_EQ(ui().eHREF->text(), QStringLiteral("http://"));
    EXPECT_FALSE(ui().eHREF->isHidden());
    EXPECT_TRUE(ui().cbFrames->isChecked());
    EXPECT_TRUE(ui().cbUseTable->isChecked());
    EXPECT_FALSE(ui().cbUseTable->isEnabled());
    EXPECT_FALSE(ui().lFrameHelp->isHidden());
}

// No, Cancel or closing the prompt leaves frames off and the links cleared.
TEST_F(HtmlOptions, FramesPromptNoLeavesFramesOff)
{
    for (const char* answer : {"bNo", "bCan", ""}) {
        SCOPED_TRACE(answer);
        open();
        if (ui().cbHREF->isChecked())
            click(QStringLiteral("cbHREF"));
        dialogs.actions[QStringLiteral("THRFPrmpt")] = [&](QDialog& shown) {
            if (auto* button = shown.findChild<QPushButton*>(QString::fromLatin1(answer)))
                QTest::mouseClick(button, Qt::LeftButton);
        };
        click(QStringLiteral("cbFrames"));
        EXPECT_FALSE(ui().cbFrames->isChecked());
        EXPECT_FALSE(ui().cbHREF->isChecked());
        EXPECT_TRUE(ui().rgHREF->isHidden());
        EXPECT_TRUE(ui().cbUseTable->isEnabled());
        EXPECT_FALSE(ui().gbPages->isHidden());
        EXPECT_TRUE(ui().lFrameHelp->isHidden());
    }
    EXPECT_EQ(dialogs.shownNames.size(), 3);
}

// Cancel closes without writing anything; the changes stay in the dialog
// for the next showing and reach the settings file at exit.
TEST_F(HtmlOptions, CancelKeepsChangesAndWritesNothing)
{
    const int result = run([&](QDialog&) {
        typeInto(ui().eBanr, QStringLiteral("Holiday"));
        click(QStringLiteral("cbStats"));
        click(QStringLiteral("cbCBColor"));
        click(QStringLiteral("bCancel2"));
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(QFile::exists(fakes.settings.path()));
    run([&](QDialog&) {
        EXPECT_EQ(ui().eBanr->text(), QStringLiteral("Holiday"));
        EXPECT_FALSE(ui().cbStats->isChecked());
        EXPECT_FALSE(ui().cpCBkgd->isHidden());
        EXPECT_EQ(ui().PageControl1->currentWidget(), ui().TabSheet1);
        QTest::keyClick(form6.get(), Qt::Key_Escape);
    });
    EXPECT_FALSE(QFile::exists(fakes.settings.path()));
    destroy();
    const QString text = settingsText();
    EXPECT_TRUE(text.contains(QStringLiteral("BannerString=Holiday\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("LinkStats=0\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("UseCellColor=1\n")));
}

// OK on the first page, before the second page was seen, asks once whether
// to go there: Yes goes there, No closes with OK, Cancel stays.
TEST_F(HtmlOptions, OkRemindsOfTheLayoutPageOnce)
{
    const std::pair<MessageAnswer, int> rows[] = {
        {MessageAnswer::Yes, -1}, {MessageAnswer::No, QDialog::Accepted}, {MessageAnswer::Cancel, -1}};
    for (const auto& [answer, closesWith] : rows) {
        fakes.messages.shown.clear();
        fakes.messages.script(answer);
        bool openAfter = false;
        QWidget* page = nullptr;
        const int result = run([&](QDialog& shown) {
            click(QStringLiteral("bOK"));
            openAfter = shown.isVisible();
            page = ui().PageControl1->currentWidget();
        });
        ASSERT_EQ(fakes.messages.shown.size(), 1u);
        EXPECT_EQ(fakes.messages.shown[0].text,
                  QStringLiteral("*Reminder* - click the Table and Page Layout\r\ntab at the top of the window to "
                                 "see more options. \r\n\r\nWould you like to go there now?"));
        EXPECT_EQ(fakes.messages.shown[0].icon, MessageIcon::Question);
        EXPECT_EQ(fakes.messages.shown[0].buttons, MessageButtons::YesNoCancel);
        EXPECT_EQ(fakes.messages.shown[0].title, QStringLiteral("Confirm"));
        EXPECT_EQ(openAfter, closesWith < 0);
        if (closesWith >= 0)
            EXPECT_EQ(result, closesWith);
        else
            EXPECT_EQ(page, answer == MessageAnswer::Yes ? ui().TabSheet2 : ui().TabSheet1);
    }
    // After Yes the second page has been seen: OK on the first page closes.
    fakes.messages.shown.clear();
    fakes.messages.script(MessageAnswer::Yes);
    const int result = run([&](QDialog&) {
        QTest::keyClick(ui().eBanr, Qt::Key_Return);
        clickTab(0);
        click(QStringLiteral("bOK"));
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(fakes.messages.shown.size(), 1u);
    // Looking at the second page first, or its own OK, asks nothing.
    fakes.messages.shown.clear();
    EXPECT_EQ(run([&](QDialog&) { click(QStringLiteral("bOK2")); }), QDialog::Accepted);
    EXPECT_EQ(run([&](QDialog&) {
                  clickTab(1);
                  QTest::keyClick(ui().eTCols, Qt::Key_Return);
              }),
              QDialog::Accepted);
    EXPECT_TRUE(fakes.messages.shown.empty());
}

// Each mode puts its prefix in the field: the pictures' folder as a file
// address, the remembered internet address, the relative address, or
// nothing. Typed addresses are remembered for the mode when the field is
// left; the relative ones are worked out anew at each showing.
TEST_F(HtmlOptions, LinkModesFillTheirFields)
{
    const QString localPics = QUrl::fromLocalFile(folder.path() + QStringLiteral("/pics/")).toString();
    ASSERT_TRUE(localPics.startsWith(QStringLiteral("file:///")));
    open();
    RadioGroup& modes = *ui().rgHREF;
    QTest::mouseClick(modes.button(int(LinkMode::Local)), Qt::LeftButton);
    EXPECT_EQ(ui().eHREF->text(), localPics);
    QTest::mouseClick(modes.button(int(LinkMode::Explicit)), Qt::LeftButton);
    EXPECT_EQ(ui().eHREF->text(), QStringLiteral("http://"));
    typeInto(ui().eHREF, QStringLiteral("http://pictures.example/big/"));
    QTest::mouseClick(modes.button(int(LinkMode::Generic)), Qt::LeftButton);
    EXPECT_EQ(ui().eHREF->text(), QString());
    EXPECT_TRUE(ui().eHREF->isHidden());
    QTest::mouseClick(modes.button(int(LinkMode::Explicit)), Qt::LeftButton);
    EXPECT_EQ(ui().eHREF->text(), QStringLiteral("http://pictures.example/big/"));
    QTest::mouseClick(modes.button(int(LinkMode::Relative)), Qt::LeftButton);
    EXPECT_EQ(ui().eHREF->text(), QStringLiteral("../pics/"));
    typeInto(ui().eHREF, QStringLiteral("big/"));
    QTest::keyClick(ui().eHREF, Qt::Key_Tab);
    QTest::mouseClick(modes.button(int(LinkMode::Local)), Qt::LeftButton);
    QTest::mouseClick(modes.button(int(LinkMode::Relative)), Qt::LeftButton);
    EXPECT_EQ(ui().eHREF->text(), QStringLiteral("big/"));
    form6->hide();
    // The next showing: the relative address again, the explicit one kept.
    open();
    EXPECT_EQ(ui().eHREF->text(), QStringLiteral("../pics/"));
    QTest::mouseClick(modes.button(int(LinkMode::Explicit)), Qt::LeftButton);
    EXPECT_EQ(ui().eHREF->text(), QStringLiteral("http://pictures.example/big/"));
    EXPECT_EQ(form6->options().OriginalLinkPrefix, QStringLiteral("http://pictures.example/big/"));
    EXPECT_TRUE(fakes.messages.shown.empty());
    form6->hide();
    // A page beside its pictures needs no prefix.
    setGallery(folder.path() + QStringLiteral("/web/thumbs"));
    open();
    EXPECT_EQ(ui().eIMG->text(), QString());
    QTest::mouseClick(ui().rgIMG->button(int(LinkMode::Local)), Qt::LeftButton);
    EXPECT_EQ(ui().eIMG->text(), QUrl::fromLocalFile(folder.path() + QStringLiteral("/web/thumbs/")).toString());
    EXPECT_EQ(form6->options().ThumbLinkPrefix, ui().eIMG->text());
}

// A colour button opens the colour dialog at its colour and shows what was
// chosen; cancelling the dialog changes nothing.
TEST_F(HtmlOptions, ColourButtonsShowTheChosenColour)
{
    open();
    colors.answers.push_back(QColor(10, 20, 30));
    click(QStringLiteral("cpBack"));
    EXPECT_EQ(colors.asked, QStringList{QStringLiteral("Background")});
    EXPECT_EQ(colors.initials.value(0), QColor(Qt::white));
    EXPECT_EQ(form6->options().PageBkgd, storedColor(10, 20, 30));
    const QImage swatch = ui().cpBack->icon().pixmap(ui().cpBack->iconSize()).toImage();
    EXPECT_EQ(swatch.pixelColor(swatch.width() / 2, swatch.height() / 2), QColor(10, 20, 30));
    click(QStringLiteral("cpTBkgd"));
    EXPECT_EQ(form6->options().TableBkgd, storedColor(160, 160, 160));
    destroy();
    EXPECT_TRUE(settingsText().contains(QStringLiteral("PageBkgd=1971210\n")));
}

// The arrow's quick-pick palette sets a colour at once; its last entry
// opens the colour dialog.
TEST_F(HtmlOptions, ColourButtonsOfferAQuickPick)
{
    QMenu* menu = ui().cpFont->menu();
    ASSERT_TRUE(menu);
    QStringList entries;
    for (QAction* action : menu->actions())
        if (!action->text().isEmpty())
            entries << action->text();
    EXPECT_EQ(entries, (QStringList{QStringLiteral("Quick Pick..."), QStringLiteral("See More Colors")}));
    QToolButton* red = nullptr;
    for (auto* pick : menu->findChildren<QToolButton*>())
        if (pick->toolTip() == QStringLiteral("#FF0000"))
            red = pick;
    ASSERT_TRUE(red);
    red->click();
    EXPECT_EQ(form6->options().Text, storedColor(255, 0, 0));
    colors.answers.push_back(QColor(1, 2, 3));
    menu->actions().constLast()->trigger();
    EXPECT_EQ(colors.asked, QStringList{QStringLiteral("Text")});
    EXPECT_EQ(form6->options().Text, storedColor(1, 2, 3));
}

// The border size field selects its whole text when it receives the focus.
TEST_F(HtmlOptions, BorderFieldSelectsItsText)
{
    open();
    QTest::mouseClick(ui().eBorder, Qt::LeftButton);
    EXPECT_TRUE(testing::waitUntil([&] { return ui().eBorder->selectedText() == QStringLiteral("1"); }));
}

// The help button shows the link help; what the user types there is gone
// at the next showing.
TEST_F(HtmlOptions, HelpExplainsTheLinkModes)
{
    open();
    QString shownText;
    dialogs.actions[QStringLiteral("TForm5")] = [&](QDialog& help) {
        auto* memo = help.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
        shownText = memo->toPlainText();
        QTest::keyClicks(memo, QStringLiteral("scribble"));
        QTest::mouseClick(help.findChild<QPushButton*>(QStringLiteral("bOK")), Qt::LeftButton);
    };
    click(QStringLiteral("BitBtn1"));
    click(QStringLiteral("BitBtn1"));
    EXPECT_EQ(dialogs.shownNames, (QStringList{QStringLiteral("TForm5"), QStringLiteral("TForm5")}));
    EXPECT_EQ(form5->windowTitle(), QStringLiteral("HTML Options"));
    EXPECT_EQ(shownText, TForm5::helpText());
    for (const char* point : {"file:///C:\\Graphics\\Thumbs\\", "REMEMBER TO ADD THE TRAILING SLASH...", "../Textures/",
                              "/Images/", "My Documents", "http://"})
        EXPECT_TRUE(shownText.contains(QString::fromLatin1(point))) << point;
    EXPECT_FALSE(shownText.contains(QRegularExpression(QStringLiteral("[a-z]+://[A-Za-z0-9]|www\\."))));
}

// Stored values load with their rules: some flags count only 1, others
// any value but 0; a navigation value out of range changes nothing; the
// controls that depend on them follow.
TEST_F(HtmlOptions, LoadsStoredOptionsWithTheirRules)
{
    destroy();
    QFile file(fakes.settings.path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Linking]\nLinkOriginal=2\nOriginalLinkOpt=9\n[Tables]\nUseCellColor=2\nColumns=x\n"
               "[Layout]\nMultiPg=0\nNavBtns=7\nUseFrames=5\nTileBkgd=1\n[Colors]\nText=255\n");
    file.close();
    create();
    // Frames on bring the links to the originals back with them.
    EXPECT_TRUE(ui().cbHREF->isChecked());
    EXPECT_FALSE(ui().rgHREF->isHidden());
    EXPECT_EQ(ui().rgHREF->itemIndex(), int(LinkMode::Generic));
    EXPECT_TRUE(ui().cbCBColor->isChecked());
    EXPECT_FALSE(ui().cpCBkgd->isHidden());
    EXPECT_EQ(ui().eTCols->text(), QStringLiteral("x"));
    EXPECT_TRUE(ui().rb1pg->isChecked());
    EXPECT_TRUE(ui().rbNavBoth->isChecked());
    EXPECT_TRUE(ui().cbFrames->isChecked());
    EXPECT_FALSE(ui().cbUseTable->isEnabled());
    EXPECT_TRUE(ui().cbTxt->isEnabled());
    EXPECT_EQ(stateOf(ui().cpFont), QStringLiteral("#ff0000"));
}

// Loading a file whose frames are on with the table layout or the links to
// the originals off has the clicks' side effects: both come back on, and
// clearing "Use Frames For Display" with a click gives back a "Use Table"
// box that can be used, with its table groups shown.
TEST_F(HtmlOptions, LoadedFramesComeWithTheTableAndTheLinks)
{
    const char* files[] = {
        "[Layout]\nUseFrames=1\n[Tables]\nUseTables=0\n",
        "[Layout]\nUseFrames=1\n[Linking]\nLinkOriginal=0\n",
        "[Layout]\nUseFrames=1\n[Linking]\nLinkOriginal=0\n[Tables]\nUseTables=0\n",
    };
    for (const char* text : files) {
        SCOPED_TRACE(text);
        destroy();
        QFile file(fakes.settings.path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        create();
        open();
        EXPECT_TRUE(ui().cbFrames->isChecked());
        EXPECT_TRUE(ui().cbUseTable->isChecked());
        EXPECT_TRUE(ui().cbHREF->isChecked());
        EXPECT_TRUE(ui().rgHREF->isVisible());
        click(ui().cbFrames);
        EXPECT_FALSE(ui().cbFrames->isChecked());
        ASSERT_TRUE(ui().cbUseTable->isEnabled());
        EXPECT_TRUE(ui().cbUseTable->isChecked());
        EXPECT_FALSE(ui().GroupBox3->isHidden());
        EXPECT_FALSE(ui().GroupBox4->isHidden());
        form6->hide();
    }
}

// Destroyed at exit, the dialog writes its four sections in its save order.
TEST_F(HtmlOptions, ExitWritesEveryOptionFromNothing)
{
    destroy();
    EXPECT_EQ(settingsText(),
              QStringLiteral("[Linking]\nOriginalLinkOpt=2\nLinkOriginal=1\nThumbLinkOpt=2\nLinkName=1\n\n"
                             "[Layout]\nWindowOpt=0\nLinkBorderSize=1\nLinkBorder=1\nLinkStats=1\n"
                             "BannerString=Tessaly\nBannerHeadSize=0\nThmPerPage=25\nMultiPg=1\nNavBtns=2\n"
                             "UseNavBtns=1\nUseFrames=0\nTileBkgd=0\nSampleText=0\n\n"
                             "[Colors]\nPageBkgd=16777215\nText=0\nBannerText=0\nTableBkgd=10526880\n"
                             "CellBkgd=16777215\n\n"
                             "[Tables]\nColumns=5\nBorderSize=1\nTableWidth=0\nCellPad=2\nCellSpace=2\n"
                             "TableAlignment=Center\nUseBkgdColor=1\n"
                             "TableCaption=Click thumbnail to see full size image\nIncludeCaption=1\n"
                             "CaptionAlign=Top\nCellHAlign=Center\nCellVAlign=Middle\nUseCellColor=0\n"
                             "UseTables=1\n"));
    EXPECT_TRUE(fakes.messages.shown.empty());
}

// The responsive page is chosen with its box and OK; its key is written at
// exit once it has been ticked, and read back at the next start.
TEST_F(HtmlOptions, ResponsiveBoxIsKeptOnceTicked)
{
    EXPECT_EQ(run([this](QDialog&) {
                  clickTab(1);
                  click(QStringLiteral("cbResponsive"));
                  click(ui().bOK2);
              }),
              QDialog::Accepted);
    EXPECT_TRUE(form6->options().Responsive);
    destroy();
    EXPECT_TRUE(settingsText().contains(QLatin1String("SampleText=0\nResponsive=1\n\n[Colors]")));
    create();
    EXPECT_TRUE(ui().cbResponsive->isChecked());
    EXPECT_FALSE(ui().eTCols->isEnabled());
    EXPECT_FALSE(ui().cbFrames->isEnabled());
}

// Every control can be named by a screen reader.
TEST_F(HtmlOptions, EveryControlHasAName)
{
    for (QDialog* window : std::initializer_list<QDialog*>{form6.get(), form5.get(), prompt.get()}) {
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if (qobject_cast<QComboBox*>(widget->parentWidget()) || qobject_cast<QTabBar*>(widget->parentWidget()))
                continue;
            const bool named = !widget->accessibleName().isEmpty();
            if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                EXPECT_TRUE(named || !button->text().isEmpty() || !button->toolTip().isEmpty())
                    << widget->objectName().toStdString();
            } else if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget) ||
                       qobject_cast<QPlainTextEdit*>(widget)) {
                EXPECT_TRUE(named) << widget->objectName().toStdString();
            }
        }
    }
}

}  // namespace
}  // namespace tessaly
