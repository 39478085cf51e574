#include "platform/filenames.h"
#include "platform/fileops.h"
#include "support/fakeservices.h"
#include "support/tempfolder.h"
#include "widgets/filelistbox.h"

#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

// Masks match without regard to case, several patterns count once each,
// hidden files and folders stay out, and names sort without regard to case.
TEST(FileListBox, MaskMatchingAndSorting)
{
    testing::TempFolder temp;
    for (const char* name : {"b.JPG", "A.jpg", "c.gif", "notes.txt", ".secret.jpg", "d.JpEg", "a2.bmp"})
        temp.write(QString::fromLatin1(name));
    temp.makeFolder(QStringLiteral("folder.jpg"));

    FileListBox list;
    list.setFolder(temp.path());
    list.setMask(QStringLiteral("*.jpg;*.jpeg;*.gif;*.bmp"));
    EXPECT_EQ(list.names(), (QStringList{QStringLiteral("A.jpg"), QStringLiteral("a2.bmp"), QStringLiteral("b.JPG"),
                                         QStringLiteral("c.gif"), QStringLiteral("d.JpEg")}));
    list.setMask(QStringLiteral("*.gif;*.GIF"));
    EXPECT_EQ(list.names(), QStringList{QStringLiteral("c.gif")});
    list.setMask(QStringLiteral("*.*"));
    EXPECT_EQ(list.count(), 6);
}

// "*.*" lists every file, names without a dot too; the mask reads as set.
TEST(FileListBox, StarDotStarListsEveryFile)
{
    testing::TempFolder temp;
    for (const char* name : {"README", "a.jpg", "Makefile"})
        temp.write(QString::fromLatin1(name));
    FileListBox list;
    list.setFolder(temp.path());
    list.setMask(QStringLiteral("*.*"));
    EXPECT_EQ(list.mask(), QStringLiteral("*.*"));
    EXPECT_EQ(list.names(),
              (QStringList{QStringLiteral("a.jpg"), QStringLiteral("Makefile"), QStringLiteral("README")}));
    EXPECT_EQ(list.item(2)->toolTip(), QStringLiteral("README"));
    list.setMask(QStringLiteral("*.jpg;*.*"));
    EXPECT_EQ(list.count(), 3);
    list.setMask(QStringLiteral("*.jpg"));
    EXPECT_EQ(list.names(), QStringList{QStringLiteral("a.jpg")});
}

// A name that is not UTF-8 is listed, shown readably, and kept exactly for
// the runs; masks match it like any other.
TEST(FileListBox, NameThatIsNotUtf8IsListed)
{
    testing::TempFolder temp;
    temp.write(QStringLiteral("b.jpg"));
    const QString raw = decodeFileName("caf\xe9.jpg");
    ASSERT_TRUE(writeWholeFile(temp.path() + u'/' + raw, "x").ok());
    FileListBox list;
    list.setMask(QStringLiteral("*.jpg"));
    list.setFolder(temp.path());
    EXPECT_EQ(list.names(), (QStringList{QStringLiteral("b.jpg"), raw}));
    EXPECT_EQ(list.item(1)->text(), QStringLiteral("caf\\xE9.jpg"));
    EXPECT_EQ(list.item(1)->toolTip(), QStringLiteral("caf\\xE9.jpg"));
    list.setItemSelected(1, true);
    EXPECT_EQ(list.selectedNames(), QStringList{raw});
    EXPECT_EQ(encodeFileName(list.pathOf(1)), QFile::encodeName(temp.path()) + "/caf\xe9.jpg");
    list.setMask(QStringLiteral("caf?.jpg"));
    EXPECT_EQ(list.names(), QStringList{raw});
    EXPECT_TRUE(removeFile(list.pathOf(0)));
}

// The selection is read from the top of the list, whatever the click order.
TEST(FileListBox, SelectionInListOrderAndFocusMark)
{
    testing::TempFolder temp;
    for (const char* name : {"C.bmp", "a.gif", "B.jpg"})
        temp.write(QString::fromLatin1(name));
    FileListBox list;
    list.setMultiSelect(true);
    list.setMask(QStringLiteral("*.*"));
    list.setFolder(temp.path());
    list.setItemSelected(2, true);
    list.setItemSelected(0, true);
    EXPECT_EQ(list.selectedNames(), (QStringList{QStringLiteral("a.gif"), QStringLiteral("C.bmp")}));
    EXPECT_EQ(list.selectedCount(), 2);

    // Moving the focus mark in a multiple-selection list leaves the selection.
    list.setFocusedIndex(1);
    EXPECT_EQ(list.focusedIndex(), 1);
    EXPECT_EQ(list.selectedCount(), 2);
    EXPECT_EQ(list.focusedSelectedPath(), QString());
    list.setFocusedIndex(0);
    EXPECT_EQ(list.focusedSelectedPath(), temp.path() + QStringLiteral("/a.gif"));

    list.reread();
    EXPECT_EQ(list.selectedCount(), 0);

    // In a single-selection list the selection follows the focus mark.
    list.setMultiSelect(false);
    list.setFocusedIndex(2);
    EXPECT_EQ(list.selectedNames(), QStringList{QStringLiteral("C.bmp")});
}

// A double-click opens the file through the desktop; a refusal is reported.
TEST(FileListBox, DoubleClickOpensFileOrReportsRefusal)
{
    testing::TempFolder temp;
    temp.write(QStringLiteral("a.jpg"));
    testing::FakeServices fakes;
    FileListBox list;
    list.attachServices(fakes.messages, fakes.shell);
    list.setMask(QStringLiteral("*.jpg"));
    list.setFolder(temp.path());
    list.resize(200, 200);
    list.show();
    const QPoint onItem = list.visualItemRect(list.item(0)).center();

    // An item view takes a double-click only after a press on the same item.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, onItem);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, onItem);
    EXPECT_EQ(fakes.shell.calls, QStringList{QStringLiteral("open ") + temp.path() + QStringLiteral("/a.jpg")});
    EXPECT_TRUE(fakes.messages.shown.empty());

    fakes.shell.accept = false;
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, onItem);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, onItem);
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].text, QStringLiteral("Could not open file."));
    EXPECT_EQ(fakes.messages.shown[0].icon, MessageIcon::Information);
}

TEST(FileListBox, MissingOrEmptyFolderListsNothing)
{
    FileListBox list;
    list.setMask(QStringLiteral("*.*"));
    list.setFolder(QStringLiteral("/no/such/folder"));
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(listMatchingFiles(QStringLiteral("/tmp"), QString()).isEmpty());
}

}  // namespace
}  // namespace tessaly
