#include "platform/filenames.h"
#include "platform/fileops.h"
#include "platform/trash.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

// A trashed file leaves its folder and lands in the freedesktop.org trash
// with the information the desktop needs to restore it.
TEST(DesktopTrash, MovesFileToTrashWithRestoreInformation)
{
    testing::TempFolder home;
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toLocal8Bit());
    testing::TempFolder pictures;
    const QString file = pictures.write(QStringLiteral("cat.jpg"), "meow");

    DesktopTrashService trash;
    const bool moved = trash.moveToTrash(file);
    qputenv("XDG_DATA_HOME", oldData);

    ASSERT_TRUE(moved);
    EXPECT_FALSE(QFileInfo::exists(file));
    const QString trashFolder = home.path() + QStringLiteral("/data/Trash");
    EXPECT_EQ(testing::readAll(trashFolder + QStringLiteral("/files/cat.jpg")), QByteArray("meow"));
    const QByteArray info = testing::readAll(trashFolder + QStringLiteral("/info/cat.jpg.trashinfo"));
    EXPECT_TRUE(info.contains("Path=" + QFile::encodeName(file)));
}

// A name that is not UTF-8 lands in the trash under its own bytes, and its
// restore information names it exactly (percent-encoded bytes).
TEST(DesktopTrash, NameThatIsNotUtf8IsTrashedAsItIs)
{
    testing::TempFolder home;
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toLocal8Bit());
    testing::TempFolder pictures;
    const QString file = pictures.path() + u'/' + decodeFileName("caf\xe9.jpg");
    ASSERT_TRUE(writeWholeFile(file, "meow").ok());

    DesktopTrashService trash;
    const bool moved = trash.moveToTrash(file);
    qputenv("XDG_DATA_HOME", oldData);

    ASSERT_TRUE(moved);
    EXPECT_FALSE(fileExists(file));
    EXPECT_EQ(QDir(pictures.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    const QString trashFolder = home.path() + QStringLiteral("/data/Trash");
    const QString trashed = trashFolder + QStringLiteral("/files/") + decodeFileName("caf\xe9.jpg");
    QFile content;
    ASSERT_TRUE(openForReading(content, trashed).ok());
    EXPECT_EQ(content.readAll(), QByteArray("meow"));
    content.close();
    QFile info;
    ASSERT_TRUE(openForReading(info, trashFolder + QStringLiteral("/info/") + decodeFileName("caf\xe9.jpg.trashinfo")).ok());
    EXPECT_TRUE(info.readAll().contains("\nPath=" + QFile::encodeName(pictures.path()) + "/caf%E9.jpg\n"));
    info.close();
    // The stand-in's information is gone (QDir does not list the real name).
    EXPECT_EQ(QDir(trashFolder + QStringLiteral("/info")).entryList(QDir::Files), QStringList());
    EXPECT_TRUE(removeFile(trashed));
    EXPECT_TRUE(removeFile(trashFolder + QStringLiteral("/info/") + decodeFileName("caf\xe9.jpg.trashinfo")));
}

TEST(DesktopTrash, MissingFileIsReportedAsFailure)
{
    testing::TempFolder home;
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toLocal8Bit());
    DesktopTrashService trash;
    const bool moved = trash.moveToTrash(home.path() + QStringLiteral("/gone.jpg"));
    qputenv("XDG_DATA_HOME", oldData);
    EXPECT_FALSE(moved);
}

}  // namespace
}  // namespace tessaly
