#include "about/helpwindow.h"
#include "about/tfabout.h"
#include "app/titlearea.h"
#include "support/fakeservices.h"
#include "ui_tform1.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

// The main window's form on a bare window, so that only the title area is
// wired.
struct MainForm : Ui::TForm1 {
    explicit MainForm(QWidget* window) { setupUi(window); }
};

// A main window's title area with its three buttons, and stand-ins for the
// dialogs the reset reaches into.
struct Strip {
    testing::FakeServices fakes;
    QWidget main;
    MainForm ui{&main};
    QWidget outputLocation, deletion;
    QToolButton* about = ui.sbAbout;
    QToolButton* help = ui.SpeedButton3;
    QToolButton* defaults = ui.sbDefaults;
    QLineEdit* fileName = new QLineEdit(QStringLiteral("Other.htm"), &outputLocation);
    QCheckBox* recycle = new QCheckBox(&deletion);
    TitleArea area{&main, ui, fakes.services};

    Strip()
    {
        fileName->setObjectName(QStringLiteral("eFileName"));
        recycle->setObjectName(QStringLiteral("cbRecycle"));
        area.setOutputLocationWindow(&outputLocation);
        area.setDeletionWindow(&deletion);
        main.show();
    }
};

// The About button shows the About box modally and it closes again.
TEST(TitleArea, AboutButtonShowsTheAboutBox)
{
    Strip strip;
    QTest::mouseClick(strip.about, Qt::LeftButton);
    EXPECT_EQ(strip.fakes.dialogs.shownNames, QStringList{QStringLiteral("TfAbout")});
    ASSERT_NE(strip.area.aboutBox(), nullptr);
    EXPECT_EQ(strip.area.aboutBox()->windowTitle(), QStringLiteral("About Tessaly"));
    EXPECT_FALSE(strip.area.aboutBox()->isVisible());
    // The box made at start-up is the one shown.
    testing::FakeShell shell;
    TfAbout madeAtStart(shell);
    strip.area.setAboutBox(&madeAtStart);
    strip.fakes.dialogs.whileShown = [&](QDialog& shown) { EXPECT_EQ(&shown, &madeAtStart); };
    QTest::mouseClick(strip.about, Qt::LeftButton);
    EXPECT_EQ(strip.fakes.dialogs.shownNames.size(), 2);
    EXPECT_FALSE(strip.about->toolTip().isEmpty());
    EXPECT_EQ(strip.about->accessibleName(), strip.about->toolTip());
}

// The help button opens the help window at the help beside the program;
// without a help file the help window says so and no box appears.
TEST(TitleArea, HelpButtonOpensTheHelpWindow)
{
    Strip strip;
    QTest::mouseClick(strip.help, Qt::LeftButton);
    ASSERT_NE(strip.area.helpWindow(), nullptr);
    EXPECT_TRUE(strip.area.helpWindow()->isVisible());
    EXPECT_EQ(strip.area.helpWindow()->documentPath(),
              QCoreApplication::applicationDirPath() + QStringLiteral("/help/tessaly-help.html"));

    strip.area.helpWindow()->close();
    strip.area.setHelpFiles({QStringLiteral("/nonexistent/tessaly-help.html")});
    QTest::mouseClick(strip.help, Qt::LeftButton);
    EXPECT_TRUE(strip.area.helpWindow()->isVisible());
    EXPECT_TRUE(strip.area.helpWindow()->documentPath().isEmpty());
    EXPECT_TRUE(strip.area.helpWindow()
                    ->findChild<QTextBrowser*>(QStringLiteral("HelpText"))
                    ->toPlainText()
                    .contains(QStringLiteral("/nonexistent/tessaly-help.html")));
    EXPECT_TRUE(strip.fakes.messages.shown.empty());
    EXPECT_TRUE(strip.main.isVisible());
}

// The reset button asks first; Cancel leaves everything, Yes resets.
TEST(TitleArea, ResetButtonAsksAndResetsOnYes)
{
    Strip strip;
    strip.fakes.messages.script(MessageAnswer::Cancel);
    QTest::mouseClick(strip.defaults, Qt::LeftButton);
    ASSERT_EQ(strip.fakes.messages.shown.size(), 1u);
    EXPECT_EQ(strip.fakes.messages.shown[0].text, kResetQuestion);
    EXPECT_EQ(strip.fileName->text(), QStringLiteral("Other.htm"));
    EXPECT_FALSE(strip.recycle->isChecked());

    strip.fakes.messages.script(MessageAnswer::Yes);
    QTest::mouseClick(strip.defaults, Qt::LeftButton);
    EXPECT_EQ(strip.fakes.messages.shown.size(), 2u);
    EXPECT_EQ(strip.fileName->text(), QStringLiteral("MyWeb.htm"));
    EXPECT_TRUE(strip.recycle->isChecked());
}

}  // namespace
}  // namespace tessaly
