#include "filetools/foldercommands.h"
#include "platform/filenames.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tessaly {
namespace {

// Folders are made with every missing parent, from an absolute path or one
// relative to the starting folder; an empty path and one blocked by a file
// cannot be made, and an existing folder is fine.
TEST(FolderCommands, CreatesNestedFolders)
{
    testing::TempFolder folder;
    folder.write(QStringLiteral("file"), "x");
    const struct {
        QString typed;
        bool made;
        QString folderAfter;
    } rows[] = {
        {folder.path() + QStringLiteral("/one/two/three"), true, QStringLiteral("one/two/three")},
        {QStringLiteral("rel/ative"), true, QStringLiteral("rel/ative")},
        {folder.path() + QStringLiteral("/one"), true, QStringLiteral("one")},
        {QString(), false, QString()},
        {QStringLiteral("   "), false, QString()},
        {QStringLiteral("file"), false, QString()},
        {QStringLiteral("file/below"), false, QString()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed.toStdString());
        EXPECT_EQ(createDirectoryWithParents(folder.path(), row.typed), row.made);
        if (!row.folderAfter.isEmpty()) {
            EXPECT_TRUE(QFileInfo(folder.path() + u'/' + row.folderAfter).isDir());
        }
    }
    EXPECT_TRUE(QFileInfo(folder.path() + QStringLiteral("/file")).isFile());
    // Inside a folder whose name is not UTF-8, by its exact bytes.
    const QByteArray latin = QFile::encodeName(folder.path()) + "/caf\xe9";
    const QString cafe = decodeFileName(latin);
    EXPECT_TRUE(createDirectoryWithParents(cafe, QStringLiteral("new")));
    struct stat made {};
    EXPECT_EQ(::stat((latin + "/new").constData(), &made), 0);
    EXPECT_TRUE(removeEmptyDirectory(decodeFileName(latin + "/new")));
    EXPECT_NE(::stat((latin + "/new").constData(), &made), 0);
    EXPECT_TRUE(removeEmptyDirectory(cafe));
    // Nothing made under another name: the file, "one" and "rel" only.
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 3);
    EXPECT_EQ(kUnableToCreateDirectory, QStringLiteral("Unable to create directory"));
}

// Only an empty folder is removed; one holding a file or a folder stays with
// everything in it, and a link to a folder is not followed.
TEST(FolderCommands, RemovesOnlyEmptyFolders)
{
    testing::TempFolder folder;
    const QString empty = folder.makeFolder(QStringLiteral("empty"));
    const QString withFile = folder.makeFolder(QStringLiteral("withFile"));
    const QString inside = folder.write(QStringLiteral("withFile/keep.jpg"), "keep");
    const QString withFolder = folder.makeFolder(QStringLiteral("withFolder/sub"));
    const QString target = folder.makeFolder(QStringLiteral("target"));
    const QString link = folder.path() + QStringLiteral("/link");
    ASSERT_TRUE(QFile::link(target, link));

    EXPECT_FALSE(removeEmptyDirectory(withFile));
    EXPECT_EQ(testing::readAll(inside), QByteArray("keep"));
    EXPECT_FALSE(removeEmptyDirectory(folder.path() + QStringLiteral("/withFolder")));
    EXPECT_TRUE(QFileInfo(withFolder).isDir());
    EXPECT_FALSE(removeEmptyDirectory(link));
    EXPECT_TRUE(QFileInfo(target).isDir());
    EXPECT_FALSE(removeEmptyDirectory(QString()));

    EXPECT_TRUE(removeEmptyDirectory(empty));
    EXPECT_FALSE(QFileInfo::exists(empty));
    EXPECT_EQ(kRemoveDirectoryError, QStringLiteral("Error Removing Directory, it must be empty."));
    EXPECT_EQ(confirmRemoveDirectoryText(QStringLiteral("/p/q")), QStringLiteral("Confirm Delete of Directory /p/q"));
    EXPECT_EQ(confirmRemoveDirectoryText(decodeFileName("/p/caf\xe9")),
              QStringLiteral("Confirm Delete of Directory /p/caf\\xE9"));
}

// Opening the input popup menu: "Delete Selected Files" is enabled exactly
// when files are selected; every other item always.
TEST(FolderCommands, InputPopupEnabling)
{
    const char* always[] = {"Next2",
                            "CreateNewDirectory1",
                            "RefreshDirectory1",
                            "RemoveDirectory1",
                            "SelectAll1",
                            "InvertSelection2",
                            "InvertSelection1",
                            "RotateImage90degreeclockwise1",
                            "RotateImage90degreescounterclockwise1",
                            "LauchExplorer1",
                            "Exit2"};
    for (const int selected : {0, 1, 5}) {
        for (const char* item : always)
            EXPECT_TRUE(pm1ItemEnabled(QLatin1String(item), selected)) << item;
        EXPECT_EQ(pm1ItemEnabled(QStringLiteral("DeleteSelectedFiles1"), selected), selected > 0);
    }
}

}  // namespace
}  // namespace tessaly
