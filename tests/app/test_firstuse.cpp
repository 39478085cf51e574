// What a new user meets in the first hour: keys that reach only the control
// they were meant for, the first folder, closing the window, list order.
#include "platform/paths.h"
#include "settings/mainsettings.h"
#include "about/tfabout.h"
#include "gallery/dialogs/tform6.h"
#include "support/testpictures.h"
#include "wizardfixture.h"

#include <QApplication>
#include <QCollator>
#include <QDir>
#include <QPushButton>
#include <QScrollArea>
#include <QScopeGuard>
#include <QTableWidget>

namespace tessaly {
namespace {

using testing::WizardTest;

class FirstUseTest : public WizardTest {
protected:
    void activate()
    {
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void pressRow(const QString& name)
    {
        const auto found = ui.fBox->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        QTest::mouseClick(ui.fBox->viewport(), Qt::LeftButton, {}, ui.fBox->visualItemRect(found[0]).center());
    }
    QString focusedRow() const
    {
        const QListWidgetItem* item = ui.fBox->currentItem();
        return item ? item->text() : QString();
    }
};

// However a manual rename ends (Enter, the tick, Escape, the cross), the
// focus goes back to the file list on that file, and neither that key nor
// the next Enter or Space reaches a button: no question is asked, no
// option is reset, the folders stay where they are.
TEST_F(FirstUseTest, EndingARenameLeavesTheFocusOnTheFile)
{
    enum class End { Enter, Tick, Escape, Cross };
    struct Row {
        End end;
        const char* typed;
        const char* focusedAfter;
    };
    const Row rows[] = {{End::Enter, "holiday.jpg", "holiday.jpg"},
                        {End::Tick, "summer.jpg", "summer.jpg"},
                        {End::Escape, "ignored.jpg", "summer.jpg"},
                        {End::Cross, "ignored.jpg", "summer.jpg"}};
    activate();
    ui.eWidth->setText(QStringLiteral("77"));
    QString renaming = QStringLiteral("a.jpg");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        pressRow(renaming);
        testing::click(ui.bRenInd);
        ASSERT_TRUE(ui.eFileEdit->isVisible());
        ui.eFileEdit->setFocus();
        testing::typeInto(ui.eFileEdit, QString::fromLatin1(row.typed));
        switch (row.end) {
        case End::Enter: QTest::keyClick(ui.eFileEdit, Qt::Key_Return); break;
        case End::Tick: testing::click(ui.bRenameOK); break;
        case End::Escape: QTest::keyClick(ui.eFileEdit, Qt::Key_Escape); break;
        case End::Cross: testing::click(ui.bRenameCan); break;
        }
        EXPECT_FALSE(ui.eFileEdit->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), ui.fBox);
        EXPECT_EQ(focusedRow(), QString::fromLatin1(row.focusedAfter));
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space})
            QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_EQ(fakes.messages.texts(), QStringList{});
        EXPECT_EQ(ui.eWidth->text(), QStringLiteral("77"));
        EXPECT_EQ(ui.fDir->folder(), input.path());
        renaming = QString::fromLatin1(row.focusedAfter);
    }
    EXPECT_EQ(ui.fBox->names(),
              (QStringList{QStringLiteral("B.jpg"), QStringLiteral("c.gif"), QStringLiteral("summer.jpg")}));
}

// Enter still presses a button the user put the focus on.
TEST_F(FirstUseTest, EnterPressesTheFocusedButton)
{
    activate();
    ui.sbAbout->setFocus();
    QTest::keyClick(ui.sbAbout, Qt::Key_Return);
    EXPECT_EQ(fakes.dialogs.shownNames, QStringList{QStringLiteral("TfAbout")});
}

// Each page's buttons carry distinct access keys, letters of their own
// captions, which give them their Alt shortcuts.
TEST_F(FirstUseTest, AccessKeysPressTheButtonsOfThePageShown)
{
    for (QWidget* shownPage : {ui.tsIFS, ui.tsOFO, ui.tsTO, ui.tsCS, ui.tsP}) {
        QStringList keys;
        for (const QAbstractButton* button : shownPage->findChildren<QAbstractButton*>()) {
            const QString caption = button->text();
            const qsizetype at = caption.indexOf(u'&');
            if (at >= 0 && at + 1 < caption.size())
                keys << caption.mid(at + 1, 1).toUpper();
            EXPECT_EQ(QString(caption).remove(u'&').size(), caption.size() - (at >= 0 ? 1 : 0));
        }
        const qsizetype all = keys.size();
        keys.removeDuplicates();
        EXPECT_EQ(keys.size(), all) << shownPage->objectName().toStdString();
        EXPECT_GE(all, 3) << shownPage->objectName().toStdString();
    }
    EXPECT_EQ(ui.bNxt1->shortcut(), QKeySequence(Qt::ALT | Qt::Key_N));
    EXPECT_EQ(ui.bBck1->shortcut(), QKeySequence(Qt::ALT | Qt::Key_B));
    EXPECT_EQ(ui.bGO->shortcut(), QKeySequence(Qt::ALT | Qt::Key_G));
}

// The deletion question opens with the focus on Yes; its picture button is
// named for screen readers and comes last in the tab order.
TEST_F(FirstUseTest, DeletionQuestionOpensOnYes)
{
    select({"a.jpg"});
    QStringList visited;
    QString pictureName;
    fakes.dialogs.results.push_back(QDialog::Rejected);
    fakes.dialogs.whileShown = [&](QDialog& dialog) {
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        pictureName = dialog.findChild<QWidget*>(QStringLiteral("Image1"))->accessibleName();
        for (int i = 0; i < 4; ++i) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
    };
    testing::click(ui.bDelSel);
    EXPECT_EQ(visited, (QStringList{QStringLiteral("bYesDel"), QStringLiteral("BitBtn1"), QStringLiteral("cbRecycle"),
                                    QStringLiteral("Image1")}));
    EXPECT_FALSE(pictureName.isEmpty());
    EXPECT_EQ(ui.fBox->names().size(), 3);
}

// Closing the main window ends the program with the help window open: the
// help closes too, so that no window keeps the event loop going and the
// windows are destroyed and write their settings.
TEST_F(FirstUseTest, ClosingTheMainWindowClosesTheHelp)
{
    testing::click(ui.SpeedButton3);
    QWidget* help = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("HelpWindow"))
            help = top;
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(help->isVisible());
    window.close();
    EXPECT_FALSE(help->isVisible());
    QStringList stillOpen;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible())
            stillOpen << top->objectName();
    // With no window left open the application's event loop ends.
    EXPECT_EQ(stillOpen, QStringList{});
}

// The file list sorts in the locale's collation without regard to case
// (en_US: accented letters among their base letters), and the source list
// and the sequence numbers of "Show new names..." follow that order.
TEST_F(FirstUseTest, FilesSortInTheLocalesOrder)
{
    const QLocale english(QStringLiteral("en_US"));
    if (QCollator(english).compare(QStringLiteral("\u00C9clair"), QStringLiteral("f")) >= 0)
        GTEST_SKIP() << "this Qt has no collation for en_US (built without ICU and en_US.UTF-8 not generated)";
    QLocale::setDefault(english);
    const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::system()); });
    testing::TempFolder pictures;
    for (const QString& name : {QStringLiteral("f.jpg"), QStringLiteral("\u00C9clair.jpg"), QStringLiteral("e.jpg"),
                                QStringLiteral("D.jpg")})
        testing::writePicture(pictures.path() + u'/' + name, 4, 4);
    ui.fDir->setFolder(pictures.path());
    const QStringList order{QStringLiteral("D.jpg"), QStringLiteral("e.jpg"), QStringLiteral("\u00C9clair.jpg"),
                            QStringLiteral("f.jpg")};
    EXPECT_EQ(ui.fBox->names(), order);

    testing::click(ui.bSelAll);
    testing::click(ui.rbRename);
    testing::click(ui.bNxt1);
    EXPECT_EQ(window.SourceList(), order);
    ui.fNewDir->setFolder(output.path());
    testing::click(ui.bNxt2);
    ASSERT_EQ(page(), ui.tsCS);
    QStringList planned;
    fakes.dialogs.whileShown = [&](QDialog& dialog) {
        auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("tvNewNames"));
        ASSERT_NE(table, nullptr);
        for (int row = 0; row < table->rowCount(); ++row)
            planned << table->item(row, 0)->text() + QStringLiteral(" -> ") + table->item(row, 1)->text();
    };
    testing::click(ui.bShowNames);
    EXPECT_EQ(planned, (QStringList{QStringLiteral("D.jpg -> Image001.jpg"), QStringLiteral("e.jpg -> Image002.jpg"),
                                    QStringLiteral("\u00C9clair.jpg -> Image003.jpg"),
                                    QStringLiteral("f.jpg -> Image004.jpg")}));
}

// Every window of the program opens inside the screen's available area,
// frame and all (the help window, 800 pixels wide, gives way to its frame
// on this 800 pixel wide screen); windows that fit keep their size and
// their layout (no scroll area in the HTML Options dialog).
TEST_F(FirstUseTest, EveryWindowFitsTheScreen)
{
    const QRect area = window.screen()->availableGeometry();
    testing::click(ui.SpeedButton3);
    QDialog& options = windows.htmlOptions();
    options.show();
    windows.aboutBox().show();
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible() || top->windowType() == Qt::Popup || top->windowType() == Qt::ToolTip)
            continue;
        // Checked again once the frame is known.
        const auto text = [](const QRect& r) {
            return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
        };
        EXPECT_TRUE(QTest::qWaitFor([&] { return area.contains(top->frameGeometry()); }, 5000))
            << top->objectName().toStdString() << " " << text(top->frameGeometry()) << " in " << text(area)
            << " geometry " << text(top->geometry());
    }
    EXPECT_EQ(windows.aboutBox().size(), QSize(361, 222));
    EXPECT_EQ(window.size(), QSize(536, 453));
    EXPECT_EQ(options.findChild<QScrollArea*>(), nullptr);
    options.hide();
    windows.aboutBox().hide();
}

// A new user starts in the Pictures folder (the one user-dirs.dirs names,
// else ~/Pictures), else at home; Reset goes there too, and the settings
// file keeps that folder.
TEST(FirstFolder, NewUserStartsInPictures)
{
    struct Row {
        const char* title;
        const char* picturesSetting;  // XDG_PICTURES_DIR in user-dirs.dirs; null: no file
        const char* made;             // folder made under home; null: none
        const char* expected;         // under home
    };
    const Row rows[] = {{"Pictures", nullptr, "Pictures", "/Pictures"},
                        {"user-dirs", "\"$HOME/Bilder\"", "Bilder", "/Bilder"},
                        {"home", nullptr, nullptr, ""}};
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", oldHome);
        if (oldConfig.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", oldConfig);
    });
    for (const Row& row : rows) {
        SCOPED_TRACE(row.title);
        testing::TempFolder home;
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit());
        if (row.made)
            home.makeFolder(QString::fromLatin1(row.made));
        if (row.picturesSetting) {
            home.makeFolder(QStringLiteral(".config"));
            home.write(QStringLiteral(".config/user-dirs.dirs"),
                       QByteArray("XDG_PICTURES_DIR=") + row.picturesSetting + '\n');
        }
        const QString expected = home.path() + QString::fromLatin1(row.expected);
        testing::FakeServices fakes;
        {
            ApplicationWindows windows(fakes.services, fakes.settings);
            Ui::TForm1& ui = windows.mainWindow().form();
            windows.mainWindow().show();
            EXPECT_EQ(ui.fDir->folder(), expected);
            EXPECT_EQ(ui.fNewDir->folder(), expected);
            ui.fDir->setFolder(QStringLiteral("/"));
            fakes.messages.script(MessageAnswer::Yes);
            testing::click(ui.sbDefaults);
            EXPECT_EQ(ui.fDir->folder(), expected);
            EXPECT_EQ(ui.fNewDir->folder(), expected);
            windows.close();
        }
        EXPECT_EQ(fakes.settings.readString(keys::kInput, QStringLiteral("?")), expected);
        EXPECT_EQ(fakes.settings.readString(keys::kOutput, QStringLiteral("?")), expected);
    }
}

}  // namespace
}  // namespace tessaly
