#include "support/fakeservices.h"
#include "support/tempfolder.h"
#include "widgets/filelistbox.h"
#include "widgets/foldertree.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

// A folder that has gone opens its nearest existing parent; the tree and its
// linked list and label follow.
TEST(FolderTree, MissingFolderOpensNearestExistingParent)
{
    testing::TempFolder temp;
    const QString pics = temp.makeFolder(QStringLiteral("pics"));
    temp.write(QStringLiteral("pics/a.jpg"));
    FolderTree tree;
    FileListBox list;
    QLabel label;
    tree.resize(2000, 200);
    tree.setFileList(&list);
    tree.setFolderLabel(&label);

    tree.setFolder(pics + QStringLiteral("/gone/deeper"));

    EXPECT_EQ(tree.folder(), pics);
    EXPECT_EQ(list.folder(), pics);
    EXPECT_EQ(list.names(), QStringList{QStringLiteral("a.jpg")});
    EXPECT_EQ(label.text(), pics);
}

// With nothing left of the path the tree raises the error with its text and
// keeps its folder.
TEST(FolderTree, NothingLeftOfThePathRaisesTheError)
{
    FolderTree tree;
    tree.setFolder(QStringLiteral("/tmp"));
    try {
        tree.setFolder(QStringLiteral("Z:\\Pictures"));
        ADD_FAILURE() << "no error";
    } catch (const FolderNotFound& error) {
        EXPECT_EQ(error.message(), QStringLiteral("The Z:\\Pictures directory does not exist"));
    }
    EXPECT_EQ(tree.folder(), QStringLiteral("/tmp"));
}

// Folders are reported without a trailing separator except the root; hidden
// folders can be opened.
TEST(FolderTree, ReportsFoldersWithoutTrailingSeparator)
{
    testing::TempFolder temp;
    const QString hidden = temp.makeFolder(QStringLiteral(".hidden"));
    FolderTree tree;
    QSignalSpy changed(&tree, &FolderTree::folderChanged);
    tree.setFolder(hidden + QStringLiteral("/"));
    EXPECT_EQ(tree.folder(), hidden);
    EXPECT_EQ(changed.count(), 1);
    tree.setFolder(QStringLiteral("/"));
    EXPECT_EQ(tree.folder(), QStringLiteral("/"));
    EXPECT_FALSE(tree.selectParent());
    tree.setFolder(hidden);
    EXPECT_TRUE(tree.selectParent());
    EXPECT_EQ(tree.folder(), temp.path());
}

TEST(FolderTree, RefreshKeepsFolderOrFallsBackToParent)
{
    testing::TempFolder temp;
    const QString sub = temp.makeFolder(QStringLiteral("sub"));
    FolderTree tree;
    tree.setFolder(sub);
    tree.refresh();
    EXPECT_EQ(tree.folder(), sub);
    QDir().rmdir(sub);
    tree.refresh();
    EXPECT_EQ(tree.folder(), temp.path());
}

// A click on a folder chooses it; the model's own background reading does
// not move the folder.
TEST(FolderTree, UserClickChoosesFolder)
{
    testing::TempFolder temp;
    const QString sub = temp.makeFolder(QStringLiteral("sub"));
    FolderTree tree;
    tree.resize(400, 600);
    tree.show();
    tree.setFolder(temp.path());
    QSignalSpy changed(&tree, &FolderTree::folderChanged);
    auto* model = static_cast<QFileSystemModel*>(tree.model());
    ASSERT_TRUE(testing::waitUntil([&] { return model->rowCount(model->index(temp.path())) == 1; }));
    const QModelIndex subIndex = model->index(sub);
    tree.scrollTo(subIndex);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(subIndex).center());
    EXPECT_EQ(tree.folder(), sub);
    EXPECT_EQ(changed.count(), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(tree.folder(), sub);
}

// A right click asks for the popup menu over the row and leaves the
// folder as it is; only a left click or a key chooses a folder.
TEST(FolderTree, RightClickKeepsTheFolder)
{
    testing::TempFolder temp;
    const QString sub = temp.makeFolder(QStringLiteral("sub"));
    FolderTree tree;
    tree.resize(400, 600);
    tree.setContextMenuPolicy(Qt::CustomContextMenu);
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    tree.setFolder(temp.path());
    QSignalSpy changed(&tree, &FolderTree::folderChanged);
    QSignalSpy menu(&tree, &QWidget::customContextMenuRequested);
    auto* model = static_cast<QFileSystemModel*>(tree.model());
    ASSERT_TRUE(testing::waitUntil([&] { return model->rowCount(model->index(temp.path())) == 1; }));
    const QModelIndex subIndex = model->index(sub);
    tree.scrollTo(subIndex);
    const QPoint row = tree.visualRect(subIndex).center();
    QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, row);
    // The window system follows the press with a context menu event.
    QContextMenuEvent request(QContextMenuEvent::Mouse, row, tree.viewport()->mapToGlobal(row));
    QCoreApplication::sendEvent(tree.viewport(), &request);
    EXPECT_EQ(tree.folder(), temp.path());
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(menu.count(), 1);
}

// A folder wider than its label gives up middle folders to "...", keeping
// the first and the last.
TEST(ShortenFolder, MiddleFoldersGiveWayToEllipsis)
{
    QLabel label;
    const QFontMetrics metrics = label.fontMetrics();
    const QString path = QStringLiteral("/home/ann/pictures/holidays/2024/summer");
    EXPECT_EQ(shortenFolder(path, metrics, 10000), path);
    const int room = metrics.horizontalAdvance(QStringLiteral("/home/.../2024/summer"));
    EXPECT_EQ(shortenFolder(path, metrics, room), QStringLiteral("/home/.../2024/summer"));
    const QString tight = shortenFolder(path, metrics, metrics.horizontalAdvance(QStringLiteral("/.../summer")));
    EXPECT_EQ(tight, QStringLiteral("/.../summer"));
}

}  // namespace
}  // namespace tessaly
