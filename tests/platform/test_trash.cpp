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
