#include "ui_tform3.h"
#include "widgets/textfit.h"
#include "wizardfixture.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>

namespace tessaly {
namespace {

using testing::choose;
using testing::click;
using testing::typeInto;
using testing::WizardTest;

const QString kSameFolder =
    QStringLiteral("Input and Output Directories are the same. This could result in files being overwritten or "
                   "not processed.\r\rContinue?");
const QString kNoQualifier =
    QStringLiteral("Invalid output qualifier for option chosen.  Please specify a qualifier, or choose a "
                   "different naming option.");

// Page 1: Next without a selection is refused and keeps the old source list.
TEST_F(WizardTest, Page1NextWithoutSelectionIsRefused)
{
    select({"a.jpg"});
    click(ui.bNxt1);
    click(ui.bBck1);
    ui.fBox->reread();
    click(ui.bNxt1);
    ASSERT_EQ(fakes.messages.texts(), QStringList{QStringLiteral("No files selected!")});
    EXPECT_EQ(fakes.messages.shown.back().icon, MessageIcon::None);
    EXPECT_EQ(page(), ui.tsIFS);
    EXPECT_EQ(window.SourceList(), QStringList{QStringLiteral("a.jpg")});
}

// Page 1 to 4 and back in thumbnail mode, with every page's help text and the
// output tree reset to the input folder.
TEST_F(WizardTest, ThumbnailModeForwardAndBack)
{
    ui.fNewDir->setFolder(output.path());
    select({"c.gif", "a.jpg"});
    click(ui.bNxt1);
    EXPECT_EQ(page(), ui.tsOFO);
    EXPECT_EQ(visibleTabs(), QStringList{QStringLiteral("Ouput File Options")});
    EXPECT_TRUE(help().startsWith(QStringLiteral("Output File Options")));
    EXPECT_EQ(window.mode(), JobMode::Thumbnails);
    EXPECT_EQ(window.SourceList(), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("c.gif")}));
    EXPECT_EQ(ui.lMFL->text(), QStringLiteral("Source Files: 2"));
    EXPECT_EQ(ui.fNewDir->folder(), input.path());
    EXPECT_FALSE(ui.fNewDir->isHidden());
    EXPECT_TRUE(ui.rbRenameOnly->isHidden());
    EXPECT_FALSE(ui.ePreT->isHidden());
    EXPECT_TRUE(ui.ePreI->isHidden());
    EXPECT_TRUE(ui.l6->isHidden());

    // Same folder: asked; No stays, Yes goes on.
    fakes.messages.script(MessageAnswer::No);
    click(ui.bNxt2);
    EXPECT_EQ(page(), ui.tsOFO);
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].text, kSameFolder);
    EXPECT_EQ(fakes.messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(fakes.messages.shown[0].buttons, MessageButtons::YesNo);
    click(ui.bNxt2);
    EXPECT_EQ(page(), ui.tsTO);
    EXPECT_TRUE(help().startsWith(QStringLiteral("Thumbnail Options")));

    click(ui.bNxt3);
    EXPECT_EQ(page(), ui.tsCS);
    EXPECT_TRUE(help().startsWith(QStringLiteral("Confirm Selections")));
    click(ui.bBck3);
    EXPECT_EQ(page(), ui.tsTO);
    click(ui.bBck2);
    EXPECT_EQ(page(), ui.tsOFO);

    // Another output folder: no question.
    ui.fNewDir->setFolder(output.path());
    click(ui.bNxt2);
    EXPECT_EQ(page(), ui.tsTO);
    EXPECT_EQ(fakes.messages.shown.size(), 2u);

    click(ui.bBck2);
    click(ui.bBck1);
    EXPECT_EQ(page(), ui.tsIFS);
    EXPECT_EQ(ui.lbMFL->count(), 0);
    EXPECT_EQ(ui.lMFL->text(), QStringLiteral("Source Files: 0"));
    EXPECT_TRUE(help().startsWith(QStringLiteral("Input File Selection")));

    // Forward again: the output folder chosen before is forgotten.
    click(ui.bNxt1);
    EXPECT_EQ(ui.fNewDir->folder(), input.path());
}

// Rename mode skips the thumbnail page both ways; renaming in place never
// asks about the same folder and shows the note instead of the output tree.
TEST_F(WizardTest, RenameModeSkipsThumbnailPage)
{
    click(ui.rbRename);
    EXPECT_EQ(ui.lOutput->text(), QStringLiteral("Rename/Convert Files"));
    select({"a.jpg"});
    click(ui.bNxt1);
    EXPECT_EQ(window.mode(), JobMode::RenameCopyConvert);
    EXPECT_FALSE(ui.rbRenameOnly->isHidden());
    EXPECT_FALSE(ui.l6->isHidden());
    EXPECT_TRUE(ui.fNewDir->isHidden());
    EXPECT_TRUE(ui.cbConvert->isHidden());
    EXPECT_TRUE(ui.cbOverWrite->isHidden());
    EXPECT_TRUE(ui.ePreT->isHidden());
    EXPECT_FALSE(ui.ePreI->isHidden());
    EXPECT_TRUE(ui.Label17->isHidden());
    EXPECT_TRUE(ui.lResize->isHidden());

    click(ui.bNxt2);
    EXPECT_EQ(page(), ui.tsCS);
    EXPECT_TRUE(fakes.messages.shown.empty());
    click(ui.bBck3);
    EXPECT_EQ(page(), ui.tsOFO);

    // Copying: the output column comes back and the same folder is asked.
    click(ui.rbCpyCvrt);
    EXPECT_FALSE(ui.fNewDir->isHidden());
    EXPECT_FALSE(ui.cbConvert->isHidden());
    EXPECT_FALSE(ui.cbOverWrite->isHidden());
    EXPECT_TRUE(ui.l6->isHidden());
    click(ui.bNxt2);
    EXPECT_EQ(fakes.messages.texts(), QStringList{kSameFolder});
    EXPECT_EQ(page(), ui.tsCS);
}

// An empty qualifier is refused only for a rename with a name option.
TEST_F(WizardTest, Page2EmptyQualifierCheck)
{
    click(ui.rbRename);
    select({"a.jpg"});
    click(ui.bNxt1);
    typeInto(ui.ePreI, QString());
    choose(ui.cbNameOption, 3);
    click(ui.bNxt2);
    EXPECT_EQ(fakes.messages.texts(), QStringList{kNoQualifier});
    EXPECT_EQ(page(), ui.tsOFO);
    choose(ui.cbNameOption, 2);
    click(ui.bNxt2);
    EXPECT_EQ(page(), ui.tsCS);

    click(ui.bBck3);
    choose(ui.cbNameOption, 1);
    click(ui.rbCpyCvrt);
    ui.fNewDir->setFolder(output.path());
    click(ui.bNxt2);
    EXPECT_EQ(page(), ui.tsCS);
    EXPECT_EQ(fakes.messages.shown.size(), 1u);
}

// Two files that differ only in type: the warning names them; Cancel stays
// on page 1 with the new selection counted, OK goes on.
TEST_F(WizardTest, DuplicateNamesWarning)
{
    input.write(QStringLiteral("a.gif"));
    input.write(QStringLiteral("a.jpeg"));
    ui.fBox->reread();
    select({"a.jpg", "a.gif", "a.jpeg"});
    TForm3& warning = windows.duplicateWarning();
    QString named;
    int labelLeft = -1;
    int widestLine = 0;
    int room = 0;
    fakes.dialogs.whileShown = [&](QDialog& dialog) {
        named = warning.form().Label2->text();
        labelLeft = warning.form().Label2->x();
        EXPECT_EQ(&dialog, &warning);
        // Every line of the explanation shows whole, without scrolling sideways.
        const QPlainTextEdit* memo = warning.form().Memo1;
        for (const QString& line : memo->toPlainText().split(u'\n'))
            widestLine = std::max(widestLine, memo->fontMetrics().horizontalAdvance(line));
        room = memo->viewport()->width() - 2 * int(memo->document()->documentMargin());
    };
    fakes.dialogs.results = {QDialog::Rejected};
    click(ui.bNxt1);
    EXPECT_EQ(named, QStringLiteral("a.jpeg and a.jpg"));
    EXPECT_GT(widestLine, 0);
    EXPECT_LE(widestLine, room);
    EXPECT_EQ(labelLeft, (warning.width() - warning.form().Label2->width()) / 2);
    EXPECT_EQ(page(), ui.tsIFS);
    EXPECT_EQ(ui.lMFL->text(), QStringLiteral("Source Files: 3"));

    click(ui.bNxt1);
    EXPECT_EQ(page(), ui.tsOFO);
    EXPECT_EQ(fakes.dialogs.shownNames, (QStringList{QStringLiteral("TForm3"), QStringLiteral("TForm3")}));
    EXPECT_EQ(warning.windowTitle(), QStringLiteral("Duplicate File Names"));
    const QStringList memo = warning.form().Memo1->toPlainText().split(u'\n');
    ASSERT_EQ(memo.size(), 15);
    EXPECT_EQ(memo[0], QStringLiteral("These selected files have identical file names, except for the File Type "));
    EXPECT_EQ(memo[2], QString());
    EXPECT_EQ(memo[14], QStringLiteral("from the ComboBox."));
}

// The naming list shows or hides the sequence field only when the user
// changes it; leaving page 1 hides the field but not its label.
TEST_F(WizardTest, Page2NamingListAndMaskButtons)
{
    ui.cbNameOption->setCurrentIndex(1);
    select({"a.jpg"});
    click(ui.bNxt1);
    EXPECT_TRUE(ui.eSeq->isHidden());
    EXPECT_FALSE(ui.Label4->isHidden());

    // A change made by the program (as the settings or the reset make it)
    // leaves the field alone; the user's choices show and hide it.
    ui.cbNameOption->setCurrentIndex(2);
    EXPECT_TRUE(ui.eSeq->isHidden());
    choose(ui.cbNameOption, 0);
    EXPECT_FALSE(ui.eSeq->isHidden());
    EXPECT_FALSE(ui.Label4->isHidden());
    choose(ui.cbNameOption, 3);
    EXPECT_TRUE(ui.eSeq->isHidden());
    EXPECT_TRUE(ui.Label4->isHidden());

    input.write(QStringLiteral("README"));
    click(ui.sbShowAll);
    EXPECT_TRUE(ui.fNewBox->names().contains(QStringLiteral("README")));
    EXPECT_EQ(ui.fNewBox->mask(), QStringLiteral("*.*"));
    EXPECT_FALSE(ui.sbShowGrafx->isChecked());
    click(ui.sbShowGrafx);
    EXPECT_EQ(ui.fNewBox->mask(), QStringLiteral("*.jpeg;*.jpg;*.bmp;*.gif;*.wmf;*.emf"));
    EXPECT_FALSE(ui.sbShowAll->isChecked());

    click(ui.SpeedButton1);
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_TRUE(fakes.messages.shown[0].text.startsWith(
        QStringLiteral("The Output File Qualifier can be a prefix or a suffix.  Prefix with seq# will")));
    EXPECT_TRUE(fakes.messages.shown[0].text.endsWith(QStringLiteral("names of OooQualifier.***")));
}

// Page 1 selection buttons and the mask list.
TEST_F(WizardTest, Page1SelectionButtonsAndMask)
{
    const auto menuItem = [this](const char* name) {
        return window.pm1()->findChild<QAction*>(QString::fromLatin1(name));
    };
    click(ui.bSelAll);
    EXPECT_EQ(ui.fBox->selectedCount(), 3);
    select({"B.jpg"});
    click(ui.bInvertSel);
    EXPECT_EQ(ui.fBox->selectedNames(), QStringList{QStringLiteral("B.jpg")});
    menuItem("InvertSelection1")->trigger();  // "Invert Selection"
    EXPECT_EQ(ui.fBox->selectedNames(), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("c.gif")}));
    click(ui.bDeSelAll);
    EXPECT_EQ(ui.fBox->selectedCount(), 0);
    menuItem("SelectAll1")->trigger();  // "Select All"
    EXPECT_EQ(ui.fBox->selectedCount(), 3);
    menuItem("InvertSelection2")->trigger();  // "DeSelect All"
    EXPECT_EQ(ui.fBox->selectedCount(), 0);
    choose(ui.cbMask, 2);
    EXPECT_EQ(ui.fBox->names(), QStringList{QStringLiteral("c.gif")});
    typeInto(ui.cbMask->lineEdit(), QStringLiteral("*.JPG"));
    EXPECT_EQ(ui.fBox->names(), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("B.jpg")}));
}

// The popup menus' Next and Back run the buttons' handlers, checks included.
TEST_F(WizardTest, PopupMenuNavigationRunsTheButtons)
{
    window.pm1()->findChild<QAction*>(QStringLiteral("Next2"))->trigger();
    EXPECT_EQ(fakes.messages.texts(), QStringList{QStringLiteral("No files selected!")});
    select({"B.jpg"});
    window.pm1()->findChild<QAction*>(QStringLiteral("Next2"))->trigger();
    EXPECT_EQ(page(), ui.tsOFO);
    fakes.messages.script(MessageAnswer::No);
    window.pm2()->findChild<QAction*>(QStringLiteral("Next1"))->trigger();
    EXPECT_EQ(page(), ui.tsOFO);
    ASSERT_FALSE(fakes.messages.shown.empty());
    EXPECT_EQ(fakes.messages.shown.back().text, kSameFolder);
    window.pm2()->findChild<QAction*>(QStringLiteral("Back1"))->trigger();
    EXPECT_EQ(page(), ui.tsIFS);
    EXPECT_EQ(ui.lMFL->text(), QStringLiteral("Source Files: 0"));
}

// Showing page 1 moves the input list's focus mark to its first file and
// keeps the selection; showing page 2 selects the output list's first file.
TEST_F(WizardTest, ShowingAPageMarksItsFirstFile)
{
    select({"c.gif"});
    ASSERT_EQ(ui.fBox->focusedIndex(), 2);
    click(ui.bNxt1);
    EXPECT_EQ(ui.fNewBox->selectedNames(), QStringList{QStringLiteral("a.jpg")});
    const QListWidgetItem* last = ui.fNewBox->item(2);
    QTest::mouseClick(ui.fNewBox->viewport(), Qt::LeftButton, Qt::NoModifier,
                      ui.fNewBox->visualItemRect(last).center());
    ASSERT_EQ(ui.fNewBox->selectedNames(), QStringList{QStringLiteral("c.gif")});

    click(ui.bBck1);
    EXPECT_EQ(ui.fBox->focusedIndex(), 0);
    EXPECT_EQ(ui.fBox->selectedNames(), QStringList{QStringLiteral("c.gif")});
    click(ui.bNxt1);
    EXPECT_EQ(ui.fNewBox->selectedNames(), QStringList{QStringLiteral("a.jpg")});
}

// A typed output type that no writer knows ("png", or "JPG": types compare
// with case) is refused on leaving page 2, naming the types that can be
// written; renaming in place does not use the type and is not refused.
TEST_F(WizardTest, UnknownTypedOutputTypeIsRefused)
{
    select({"a.jpg"});
    click(ui.bNxt1);
    ui.fNewDir->setFolder(output.path());
    for (const char* typed : {"png", "JPG", ""}) {
        typeInto(ui.cbConvert->lineEdit(), QString::fromLatin1(typed));
        click(ui.bNxt2);
        EXPECT_EQ(page(), ui.tsOFO) << typed;
        ASSERT_FALSE(fakes.messages.shown.empty());
        EXPECT_EQ(fakes.messages.shown.back().text,
                  QStringLiteral("Files cannot be written as type \"%1\".  Please choose one of: jpg, gif, bmp, "
                                 "emf, wmf, No Conversion.")
                      .arg(QLatin1String(typed)));
    }
    typeInto(ui.cbConvert->lineEdit(), QStringLiteral("No Conversion"));
    click(ui.bNxt2);
    EXPECT_EQ(page(), ui.tsTO);

    click(ui.bBck2);
    click(ui.bBck1);
    click(ui.rbRename);
    click(ui.bNxt1);
    click(ui.rbCpyCvrt);
    typeInto(ui.cbConvert->lineEdit(), QStringLiteral("png"));
    click(ui.rbRenameOnly);
    click(ui.bNxt2);
    EXPECT_EQ(page(), ui.tsCS);
}

// The keyboard alone: each page opens with the focus on its way forward,
// Enter presses the focused button, Tab reaches it.
TEST_F(WizardTest, EnterPressesTheFocusedButton)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const auto press = [](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };
    EXPECT_EQ(QApplication::focusWidget(), ui.bNxt1);
    press(Qt::Key_Return);
    EXPECT_EQ(fakes.messages.texts(), QStringList{QStringLiteral("No files selected!")});

    select({"a.jpg"});
    for (int stop = 0; stop < 30 && QApplication::focusWidget() != ui.bNxt1; ++stop)
        press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), ui.bNxt1);
    press(Qt::Key_Enter);
    EXPECT_EQ(page(), ui.tsOFO);
    EXPECT_EQ(QApplication::focusWidget(), ui.bNxt2);
    press(Qt::Key_Return);  // the same-folder question, answered Yes
    EXPECT_EQ(page(), ui.tsTO);
    EXPECT_EQ(QApplication::focusWidget(), ui.bNxt3);
    press(Qt::Key_Return);
    EXPECT_EQ(page(), ui.tsCS);
    EXPECT_EQ(QApplication::focusWidget(), ui.bGO);
    press(Qt::Key_Return);
    EXPECT_EQ(page(), ui.tsP);
    EXPECT_EQ(QApplication::focusWidget(), ui.bStartOver);
    press(Qt::Key_Return);
    EXPECT_EQ(page(), ui.tsIFS);
    EXPECT_EQ(QApplication::focusWidget(), ui.bNxt1);
}

// Tab visits the controls of the upper strip and of the page shown in
// reading order: top to bottom, left to right.
TEST_F(WizardTest, TabFollowsTheReadingOrder)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const auto tour = [] {
        QStringList visited;
        QWidget* start = QApplication::focusWidget();
        for (int stop = 0; stop < 40; ++stop) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* now = QApplication::focusWidget();
            if (now == start)
                break;
            // A radio group's buttons are named by their text.
            const auto* button = qobject_cast<QAbstractButton*>(now);
            visited << (now->objectName().isEmpty() && button ? button->text() : now->objectName());
        }
        return visited;
    };
    const QStringList strip = {QStringLiteral("sbDefaults"),   QStringLiteral("bRefreshView"),
                               QStringLiteral("SpeedButton2"), QStringLiteral("sbAbout"),
                               QStringLiteral("SpeedButton3"), QStringLiteral("lbMFL"),
                               QStringLiteral("mHelp")};
    const auto names = [](std::initializer_list<const char*> list) {
        QStringList result;
        for (const char* name : list)
            result << QString::fromLatin1(name);
        return result;
    };
    EXPECT_EQ(tour(), strip + names({"fDir", "fBox", "cbMask", "rbThumbs", "bSelAll", "bDeSelAll", "bInvertSel",
                                     "bDelSel", "bRenInd"}));
    select({"a.jpg"});
    click(ui.bNxt1);
    ui.fNewDir->setFolder(output.path());
    // A group of exclusive buttons is one stop (arrow keys move in it).
    EXPECT_EQ(tour(), strip + names({"fNewDir", "fNewBox", "ePreT", "eSeq", "cbConvert", "SpeedButton1", "cbNameOption",
                                     "sbShowAll", "bBck1"}));
    click(ui.bNxt2);
    // "including location" is passed over while it is disabled.
    EXPECT_EQ(tour(), strip + names({"Fast Resize", "eWidth", "eHeight", "cbRatio", "cbUpright", "cbKeepInfo", "bBck2"}));
    click(ui.bNxt3);
    EXPECT_EQ(tour(), strip + names({"tbJpg", "bShowNames", "cbOverWrite", "bBck3"}));
}

// Texts fit their boxes in the desktop's font: every naming option whole;
// on the confirmation page a long folder loses its middle (the whole path
// is the tooltip) and the names sentence shows whole.
TEST_F(WizardTest, TextsFitTheirBoxes)
{
    for (const QString& option : itemTexts(*ui.cbNameOption))
        EXPECT_LE(ui.cbNameOption->fontMetrics().horizontalAdvance(option), comboTextWidth(*ui.cbNameOption))
            << option.toStdString();

    const QString deep = input.makeFolder(
        QStringLiteral("a very long folder name for the holiday pictures/summer 2024 in the mountains of the north"));
    for (const char* name : {"a.jpg", "B.jpg"})
        QFile(input.path() + u'/' + QLatin1String(name)).copy(deep + u'/' + QLatin1String(name));
    ui.fDir->setFolder(deep);
    select({"a.jpg"});
    click(ui.bNxt1);
    ui.fNewDir->setFolder(output.path());
    choose(ui.cbNameOption, 3);
    click(ui.bNxt2);
    click(ui.bNxt3);
    ASSERT_EQ(page(), ui.tsCS);
    const QString shown = ui.lInDir->text();
    EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
    EXPECT_TRUE(shown.startsWith(u'/'));
    EXPECT_TRUE(shown.endsWith(QStringLiteral("north")));
    EXPECT_EQ(ui.lInDir->toolTip(), deep);
    EXPECT_LE(ui.lInDir->fontMetrics().horizontalAdvance(shown), ui.lInDir->contentsRect().width());
    EXPECT_EQ(ui.lOtDir->text(), output.path());
    EXPECT_EQ(ui.lFileNames->text(),
              QStringLiteral("...Will start with the original file name and then have Thumb appended."));
    EXPECT_LE(ui.lFileNames->fontMetrics().horizontalAdvance(ui.lFileNames->text()),
              ui.lFileNames->contentsRect().width());
}

// Page 3: the kept ratio shows the maximum and the force boxes, which
// exclude each other.
TEST_F(WizardTest, Page3RatioAndForceBoxes)
{
    EXPECT_EQ(ui.Label8->text().left(40), QStringLiteral("The 'Resize Speed' refers to the speed o"));
    EXPECT_TRUE(ui.Label10->text().endsWith(QStringLiteral("the new thumb will be 100 x 75.")));
    select({"a.jpg"});
    click(ui.bNxt1);
    ui.fNewDir->setFolder(output.path());
    click(ui.bNxt2);
    ASSERT_EQ(page(), ui.tsTO);
    click(ui.cbRatio);
    EXPECT_FALSE(ui.lMax->isHidden());
    EXPECT_FALSE(ui.cbFWidth->isHidden());
    EXPECT_FALSE(ui.cbFHeight->isHidden());
    EXPECT_TRUE(ui.Label5->isHidden());
    EXPECT_TRUE(ui.Label6->isHidden());
    EXPECT_TRUE(ui.eHeight->isHidden());

    click(ui.cbFWidth);
    click(ui.cbFHeight);
    EXPECT_FALSE(ui.cbFWidth->isChecked());
    click(ui.cbFWidth);
    EXPECT_FALSE(ui.cbFHeight->isChecked());
    click(ui.cbFWidth);
    EXPECT_FALSE(ui.cbFHeight->isChecked());

    click(ui.cbRatio);
    EXPECT_TRUE(ui.lMax->isHidden());
    EXPECT_FALSE(ui.eHeight->isHidden());
}

// The confirmation summary in thumbnail mode, rebuilt at every showing.
TEST_F(WizardTest, SummaryForThumbnails)
{
    select({"a.jpg"});
    click(ui.bNxt1);
    ui.fNewDir->setFolder(output.path());
    choose(ui.cbNameOption, 2);
    click(ui.bNxt2);
    click(ui.cbRatio);
    typeInto(ui.eWidth, QStringLiteral("150"));
    click(ui.bNxt3);
    EXPECT_EQ(ui.lInDir->text(), input.path());
    EXPECT_EQ(ui.lOtDir->text(), output.path());
    EXPECT_EQ(ui.lTypes->text(), QStringLiteral("*.jpg;*.jpeg;*.gif;*.bmp;*.wmf;*.emf"));
    EXPECT_EQ(ui.lConvert->text(), QStringLiteral("jpg"));
    EXPECT_EQ(ui.lFileNames->text(), QStringLiteral("...Will start with 001Thumb and be numbered sequentially"));
    EXPECT_EQ(ui.lResize->text(), QStringLiteral("Quality"));
    EXPECT_FALSE(ui.lRatioTxt->isHidden());
    EXPECT_EQ(ui.lRatioTxt->text() + ui.lRatio->text(),
              QStringLiteral("Maintain aspect ratio, Max Width/Height - 150"));
    EXPECT_TRUE(ui.lWidth->isHidden());
    EXPECT_TRUE(ui.lHeight->isHidden());
    EXPECT_FALSE(ui.tbJpg->isHidden());

    // Back to page 2 and forward again: the new choices show.
    click(ui.bBck3);
    click(ui.cbRatio);
    click(ui.rgResize->button(0));
    click(ui.bBck2);
    typeInto(ui.ePreT, QString());
    choose(ui.cbNameOption, 1);
    choose(ui.cbConvert, 1);
    click(ui.bNxt2);
    click(ui.bNxt3);
    EXPECT_EQ(ui.lFileNames->text(), QStringLiteral("...Will not be changed."));
    EXPECT_EQ(ui.lResize->text(), QStringLiteral("Fast"));
    EXPECT_EQ(ui.Label18->text() + ui.lWidth->text() + ui.Label20->text() + ui.lHeight->text(),
              QStringLiteral("W -150H -96"));
    EXPECT_TRUE(ui.lRatio->isHidden());
    EXPECT_TRUE(ui.tbJpg->isHidden());
    EXPECT_TRUE(ui.lJpg->isHidden());
    EXPECT_TRUE(ui.Label19->isHidden());
}

// Renaming in place shows the input folder twice and "No Conversion" and no
// slider; copying shows the slider exactly for "jpg".
TEST_F(WizardTest, SummaryForRenameAndCopy)
{
    click(ui.rbRename);
    select({"a.jpg"});
    click(ui.bNxt1);
    ui.fNewDir->setFolder(output.path());
    click(ui.bNxt2);
    EXPECT_EQ(ui.lInDir->text(), input.path());
    EXPECT_EQ(ui.lOtDir->text(), input.path());
    EXPECT_EQ(ui.lConvert->text(), QStringLiteral("No Conversion"));
    EXPECT_EQ(ui.lFileNames->text(), QStringLiteral("...Will start with Image001 and be numbered sequentially"));
    EXPECT_TRUE(ui.tbJpg->isHidden());
    EXPECT_TRUE(ui.lRatio->isHidden());

    click(ui.bBck3);
    click(ui.rbCpyCvrt);
    const struct {
        const char* type;
        bool slider;
    } cases[] = {{"jpg", true}, {"gif", false}, {"No Conversion", false}, {"wmf", false}};
    for (const auto& c : cases) {
        typeInto(ui.cbConvert->lineEdit(), QString::fromLatin1(c.type));
        click(ui.bNxt2);
        EXPECT_EQ(ui.lOtDir->text(), output.path());
        EXPECT_EQ(ui.lConvert->text(), QString::fromLatin1(c.type));
        EXPECT_EQ(!ui.tbJpg->isHidden(), c.slider) << c.type;
        EXPECT_EQ(!ui.lJpg->isHidden(), c.slider) << c.type;
        click(ui.bBck3);
    }
    typeInto(ui.ePreI, QStringLiteral("_c"));
    choose(ui.cbNameOption, 3);
    click(ui.bNxt2);
    EXPECT_EQ(ui.lFileNames->text(),
              QStringLiteral("...Will start with the original file name and then have _c appended."));
}

// The slider's value label, GO and "OK!" after a run.
TEST_F(WizardTest, Page4SliderGoAndStartOver)
{
    select({"a.jpg"});
    click(ui.bNxt1);
    ui.fNewDir->setFolder(output.path());
    click(ui.bNxt2);
    click(ui.bNxt3);
    for (int step = 0; step < 5; ++step)
        QTest::keyClick(ui.tbJpg, Qt::Key_Left);
    EXPECT_EQ(ui.tbJpg->value(), 40);
    EXPECT_EQ(ui.lJpg->text(), QStringLiteral("40"));
    click(ui.bGO);
    EXPECT_EQ(page(), ui.tsP);
    EXPECT_EQ(visibleTabs(), QStringList{QStringLiteral("Processing...")});
    EXPECT_TRUE(help().startsWith(QStringLiteral("The selected files are now being processed.")));

    click(ui.bStartOver);
    EXPECT_EQ(page(), ui.tsIFS);
    EXPECT_TRUE(window.SourceList().isEmpty());
    EXPECT_TRUE(ui.bStartOver->isHidden());
    EXPECT_TRUE(ui.bHTML->isHidden());
    EXPECT_TRUE(ui.lDoHTM->isHidden());
    EXPECT_TRUE(ui.lDone->isHidden());
    EXPECT_FALSE(ui.bCancelOp->isHidden());
    EXPECT_EQ(ui.pBar->value(), 0);
    EXPECT_EQ(ui.lMFL->text(), QStringLiteral("Source Files: 0"));
    EXPECT_EQ(ui.tbJpg->value(), 40);
    EXPECT_TRUE(help().startsWith(QStringLiteral("Input File Selection")));
}

// Hover colours: lime over grey, GO lime over green, Cancel black at first.
TEST_F(WizardTest, GradientButtonHoverColours)
{
    const QColor grey(128, 128, 128), lime(0, 255, 0), green(0, 128, 0);
    EXPECT_EQ(ui.bCancelOp->beginColor(), QColor(Qt::black));
    const auto enter = [](QWidget* button) {
        QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(button, &event);
    };
    const auto leave = [](QWidget* button) {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(button, &event);
    };
    enter(ui.bCancelOp);
    EXPECT_EQ(ui.bCancelOp->beginColor(), grey);
    EXPECT_EQ(ui.bCancelOp->endColor(), lime);
    leave(ui.bCancelOp);
    EXPECT_EQ(ui.bCancelOp->endColor(), grey);
    for (GradientButton* button :
         {ui.bNxt1, ui.bNxt2, ui.bNxt3, ui.bBck1, ui.bBck2, ui.bBck3, ui.bStartOver, ui.bHTML}) {
        enter(button);
        EXPECT_EQ(button->beginColor(), grey) << button->objectName().toStdString();
        EXPECT_EQ(button->endColor(), lime) << button->objectName().toStdString();
        leave(button);
        EXPECT_EQ(button->endColor(), grey) << button->objectName().toStdString();
    }
    EXPECT_EQ(ui.bGO->beginColor(), green);
    enter(ui.bGO);
    EXPECT_EQ(ui.bGO->beginColor(), green);
    EXPECT_EQ(ui.bGO->endColor(), lime);
    leave(ui.bGO);
    EXPECT_EQ(ui.bGO->endColor(), green);
}

}  // namespace
}  // namespace tessaly
