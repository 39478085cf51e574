#include "platform/filenames.h"
#include "platform/fileops.h"
#include "support/fakeservices.h"
#include "support/tempfolder.h"
#include "widgets/filelistbox.h"
#include "widgets/foldermodel.h"
#include "widgets/foldertree.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly {
namespace {

FolderModel& modelOf(const FolderTree& tree)
{
    auto* model = qobject_cast<FolderModel*>(tree.model());
    if (!model)
        throw std::runtime_error("the tree does not read folders by their bytes");
    return *model;
}

// The rows under `parent` as the tree shows them.
QStringList shownRows(const QAbstractItemModel& model, const QModelIndex& parent)
{
    QStringList rows;
    for (int row = 0; row < model.rowCount(parent); ++row)
        rows << model.index(row, 0, parent).data().toString();
    return rows;
}

// A temporary folder holding every kind of entry the tree must tell apart,
// among them the folder "caf\xE9" named in Latin-1 bytes. QTemporaryDir
// cannot remove what QDir does not list, so that folder goes here.
struct MixedFolder {
    MixedFolder()
    {
        temp.makeFolder(QStringLiteral("B\u00e4r"));
        temp.makeFolder(QStringLiteral(".hidden"));
        temp.makeFolder(QStringLiteral("Zo\u00eb"));
        temp.write(QStringLiteral("notes.txt"));
        const QByteArray base = encodeFileName(temp.path());
        ::symlink((base + "/Zo\xc3\xab").constData(), (base + "/alpha-link").constData());
        ::symlink((base + "/notes.txt").constData(), (base + "/file-link").constData());
        ::symlink((base + "/nowhere").constData(), (base + "/dangling-link").constData());
        latin1 = base + "/caf\xe9";
        ::mkdir(latin1.constData(), 0755);
        picture = decodeFileName(latin1 + "/pic.jpg");
        EXPECT_TRUE(writeWholeFile(picture, QByteArray("x")).ok());
    }
    ~MixedFolder()
    {
        ::unlink(encodeFileName(picture).constData());
        ::rmdir(latin1.constData());
    }
    testing::TempFolder temp;
    QByteArray latin1;
    QString picture;
};

// Every folder is listed by its bytes, hidden ones and links to folders
// too, in the order people read; a name that is not UTF-8 shows readably.
// Choosing it by mouse or by path reaches the folder of those exact bytes.
TEST(FolderTree, ShowsAndChoosesFoldersWhoseNamesAreNotUtf8)
{
    MixedFolder mixed;
    const QString base = mixed.temp.path();
    FolderTree tree;
    FileListBox list;
    QLabel label;
    tree.resize(400, 600);
    tree.setFileList(&list);
    tree.setFolderLabel(&label);
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    tree.setFolder(base);
    FolderModel& model = modelOf(tree);
    const QModelIndex parent = model.indexOf(base);
    ASSERT_TRUE(parent.isValid());
    EXPECT_TRUE(tree.isExpanded(parent));
    EXPECT_EQ(shownRows(model, parent), (QStringList{QStringLiteral(".hidden"), QStringLiteral("alpha-link"),
                                                     QStringLiteral("B\u00e4r"), QStringLiteral("caf\\xE9"),
                                                     QStringLiteral("Zo\u00eb")}));

    QSignalSpy changed(&tree, &FolderTree::folderChanged);
    const QModelIndex latin1 = model.index(3, 0, parent);
    tree.scrollTo(latin1);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(latin1).center());
    EXPECT_EQ(encodeFileName(tree.folder()), mixed.latin1);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(encodeFileName(changed.front().front().toString()), mixed.latin1);
    EXPECT_EQ(list.names(), QStringList{QStringLiteral("pic.jpg")});
    EXPECT_EQ(encodeFileName(list.pathOf(0)), mixed.latin1 + "/pic.jpg");
    EXPECT_EQ(label.toolTip(), base + QStringLiteral("/caf\\xE9"));

    // Keys choose too: the row above, then back down.
    QTest::keyClick(&tree, Qt::Key_Up);
    EXPECT_EQ(tree.folder(), base + QStringLiteral("/B\u00e4r"));
    QTest::keyClick(&tree, Qt::Key_Down);
    EXPECT_EQ(encodeFileName(tree.folder()), mixed.latin1);

    // A path given in those bytes is checked by them: its missing part
    // falls back to the byte-named folder, not past it.
    tree.setFolder(QStringLiteral("/"));
    tree.setFolder(decodeFileName(mixed.latin1 + "/gone"));
    EXPECT_EQ(encodeFileName(tree.folder()), mixed.latin1);
    EXPECT_EQ(tree.currentIndex(), latin1);
}

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

// A refresh reads the open folders again: new folders appear, gone ones
// leave, and the tree stays on its folder or falls back to the parent.
TEST(FolderTree, RefreshKeepsFolderOrFallsBackToParent)
{
    MixedFolder mixed;
    const QString base = mixed.temp.path();
    const QString sub = mixed.temp.makeFolder(QStringLiteral("sub"));
    FolderTree tree;
    QSignalSpy changed(&tree, &FolderTree::folderChanged);
    tree.setFolder(sub);
    tree.refresh();
    EXPECT_EQ(tree.folder(), sub);
    QDir().rmdir(sub);
    tree.refresh();
    EXPECT_EQ(tree.folder(), base);

    tree.setFolder(decodeFileName(mixed.latin1));
    mixed.temp.makeFolder(QStringLiteral("new"));
    tree.refresh();
    EXPECT_EQ(encodeFileName(tree.folder()), mixed.latin1);
    ::unlink(encodeFileName(mixed.picture).constData());
    ASSERT_EQ(::rmdir(mixed.latin1.constData()), 0);
    tree.refresh();
    EXPECT_EQ(tree.folder(), base);
    EXPECT_EQ(changed.count(), 4);
    FolderModel& model = modelOf(tree);
    const QModelIndex parent = model.indexOf(base);
    EXPECT_EQ(tree.currentIndex(), parent);
    EXPECT_EQ(shownRows(model, parent), (QStringList{QStringLiteral(".hidden"), QStringLiteral("alpha-link"),
                                                     QStringLiteral("B\u00e4r"), QStringLiteral("new"),
                                                     QStringLiteral("Zo\u00eb")}));
}

// Folders made or removed by other programs come and go in the open
// folders by themselves, and the tree stays on its folder.
TEST(FolderTree, FoldersMadeElsewhereAppearWithoutRefresh)
{
    testing::TempFolder temp;
    const QString sub = temp.makeFolder(QStringLiteral("sub"));
    FolderTree tree;
    tree.setFolder(sub);
    FolderModel& model = modelOf(tree);
    const QModelIndex parent = model.indexOf(temp.path());
    ASSERT_EQ(shownRows(model, parent), QStringList{QStringLiteral("sub")});
    ASSERT_EQ(::mkdir(encodeFileName(temp.path() + QStringLiteral("/Later")).constData(), 0755), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownRows(model, parent).size() == 2; }));
    EXPECT_EQ(shownRows(model, parent), (QStringList{QStringLiteral("Later"), QStringLiteral("sub")}));
    ASSERT_EQ(::rmdir(encodeFileName(temp.path() + QStringLiteral("/Later")).constData()), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownRows(model, parent).size() == 1; }));
    EXPECT_EQ(tree.folder(), sub);
    EXPECT_EQ(tree.currentIndex(), model.indexOf(sub));
}

// A click on a folder chooses it.
TEST(FolderTree, UserClickChoosesFolder)
{
    testing::TempFolder temp;
    const QString sub = temp.makeFolder(QStringLiteral("sub"));
    FolderTree tree;
    tree.resize(400, 600);
    tree.show();
    tree.setFolder(temp.path());
    QSignalSpy changed(&tree, &FolderTree::folderChanged);
    const QModelIndex subIndex = modelOf(tree).indexOf(sub);
    ASSERT_TRUE(subIndex.isValid());
    tree.scrollTo(subIndex);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(subIndex).center());
    EXPECT_EQ(tree.folder(), sub);
    EXPECT_EQ(changed.count(), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(tree.folder(), sub);
}

// A click in the lower half of the tree chooses the folder that was under
// the pointer when the button went down, and that row stays the highlighted
// one (the pointer trembling by a pixel included); the tree opens the folder
// and brings it to the middle after the release.
TEST(FolderTree, ClickInTheLowerHalfHighlightsTheClickedFolder)
{
    testing::TempFolder temp;
    for (int i = 0; i < 40; ++i)
        temp.makeFolder(QStringLiteral("f%1/inner").arg(i, 2, 10, QLatin1Char('0')));
    FolderTree tree;
    tree.resize(300, 240);
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    tree.setFolder(temp.path());
    FolderModel& model = modelOf(tree);
    // The lowest row shown whole.
    QModelIndex target;
    for (int i = 0; i < 40; ++i) {
        const QModelIndex row = model.indexOf(temp.path() + QStringLiteral("/f%1").arg(i, 2, 10, QLatin1Char('0')));
        if (tree.viewport()->rect().contains(tree.visualRect(row)))
            target = row;
    }
    ASSERT_TRUE(target.isValid());
    const QPoint at = tree.visualRect(target).center();
    ASSERT_GT(at.y(), tree.viewport()->height() / 2);
    const QString clicked = model.pathOf(target);

    QTest::mousePress(tree.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseMove(tree.viewport(), at + QPoint(1, 1));
    QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, at + QPoint(1, 1));

    EXPECT_EQ(tree.folder(), clicked);
    EXPECT_EQ(model.pathOf(tree.currentIndex()), clicked);
    const QModelIndexList highlighted = tree.selectionModel()->selectedIndexes();
    ASSERT_EQ(highlighted.size(), 1);
    EXPECT_EQ(model.pathOf(highlighted.front()), clicked);
    EXPECT_TRUE(tree.isExpanded(target));
    const QRect shown = tree.visualRect(target);
    EXPECT_TRUE(tree.viewport()->rect().contains(shown));
    EXPECT_LT(shown.center().y(), at.y());
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
    const QModelIndex subIndex = modelOf(tree).indexOf(sub);
    ASSERT_TRUE(subIndex.isValid());
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
