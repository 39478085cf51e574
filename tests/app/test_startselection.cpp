#include "app/startselection.h"
#include "app/startup.h"
#include "app/tform1.h"
#include "support/fakeservices.h"
#include "ui_tform1.h"

#include <QDir>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::FakeServices;
using testing::TempFolder;

// The first existing argument gives the folder; files of that folder are
// selected; anything else is left out with a line saying why.
TEST(StartSelection, ArgumentsGiveOneFolderAndItsFiles)
{
    TempFolder temp;
    const QString a = temp.write(QStringLiteral("pics/a.jpg"));
    const QString b = temp.write(QStringLiteral("pics/b.gif"));
    const QString other = temp.write(QStringLiteral("other/c.jpg"));
    const QString pics = temp.path() + QStringLiteral("/pics");
    const QString missing = temp.path() + QStringLiteral("/gone.jpg");

    struct Row {
        QStringList arguments;
        QString folder;
        QStringList names;
        int problems;
    };
    const Row rows[] = {
        {{}, QString(), {}, 0},
        {{a}, pics, {QStringLiteral("a.jpg")}, 0},
        {{b, a, b}, pics, {QStringLiteral("b.gif"), QStringLiteral("a.jpg")}, 0},
        {{pics}, pics, {}, 0},
        {{pics + QStringLiteral("/")}, pics, {}, 0},
        {{pics, a}, pics, {QStringLiteral("a.jpg")}, 0},
        {{missing, a}, pics, {QStringLiteral("a.jpg")}, 1},
        {{a, other}, pics, {QStringLiteral("a.jpg")}, 1},
        {{missing}, QString(), {}, 1},
    };
    for (const Row& row : rows) {
        const StartSelection selection = startSelectionFromArguments(row.arguments);
        EXPECT_EQ(selection.folder, row.folder) << row.arguments.join(u' ').toStdString();
        EXPECT_EQ(selection.names, row.names) << row.arguments.join(u' ').toStdString();
        EXPECT_EQ(selection.problems.size(), row.problems) << row.arguments.join(u' ').toStdString();
    }
    EXPECT_EQ(startSelectionFromArguments({missing}).problems,
              QStringList{missing + QStringLiteral(": no such file or folder")});
}

// A relative argument is read from the working folder.
TEST(StartSelection, RelativeArgumentsFromTheWorkingFolder)
{
    TempFolder temp;
    temp.write(QStringLiteral("a.jpg"));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(temp.path()));
    const StartSelection selection = startSelectionFromArguments({QStringLiteral("a.jpg")});
    QDir::setCurrent(before);
    EXPECT_EQ(selection.folder, QDir(temp.path()).canonicalPath());
    EXPECT_EQ(selection.names, QStringList{QStringLiteral("a.jpg")});
}

// The main window starts in the folder with the named files selected.
TEST(StartSelection, MainWindowOpensAtTheSelection)
{
    FakeServices fakes;
    TempFolder temp;
    temp.write(QStringLiteral("pics/a.jpg"));
    const QString b = temp.write(QStringLiteral("pics/b.jpg"));
    const QString c = temp.write(QStringLiteral("pics/c.jpg"));
    ApplicationWindows windows(fakes.services, fakes.settings);
    applyStartSelection(windows.mainWindow(), startSelectionFromArguments({c, b}));
    Ui::TForm1& ui = windows.mainWindow().form();
    EXPECT_EQ(ui.fDir->folder(), temp.path() + QStringLiteral("/pics"));
    EXPECT_EQ(ui.fBox->names(),
              (QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg")}));
    EXPECT_EQ(ui.fBox->selectedNames(), (QStringList{QStringLiteral("b.jpg"), QStringLiteral("c.jpg")}));
}

}  // namespace
}  // namespace tessaly
