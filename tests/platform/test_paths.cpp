#include "platform/paths.h"

#include <gtest/gtest.h>

namespace tessaly::paths {
namespace {

// A folder and a name are joined with exactly one separator, also at the root.
TEST(Paths, JoinFolderAndName)
{
    EXPECT_EQ(join(QStringLiteral("/"), QStringLiteral("a.jpg")), QStringLiteral("/a.jpg"));
    EXPECT_EQ(join(QStringLiteral("/pics"), QStringLiteral("a.jpg")), QStringLiteral("/pics/a.jpg"));
    EXPECT_EQ(join(QStringLiteral("/pics/"), QStringLiteral("a.jpg")), QStringLiteral("/pics/a.jpg"));
    EXPECT_EQ(join(QString(), QStringLiteral("a.jpg")), QStringLiteral("a.jpg"));
}

TEST(Paths, FolderAndFileNameOfAPath)
{
    EXPECT_EQ(folderOf(QStringLiteral("/pics/big/a.jpg")), QStringLiteral("/pics/big"));
    EXPECT_EQ(folderOf(QStringLiteral("/a.jpg")), QStringLiteral("/"));
    EXPECT_EQ(folderOf(QStringLiteral("a.jpg")), QString());
    EXPECT_EQ(fileNameOf(QStringLiteral("/pics/big/a.jpg")), QStringLiteral("a.jpg"));
    EXPECT_EQ(fileNameOf(QStringLiteral("a.jpg")), QStringLiteral("a.jpg"));
    EXPECT_EQ(fileNameOf(QStringLiteral("/pics/")), QString());
}

// Folders are reported without a trailing separator; the root keeps its own.
TEST(Paths, NormalFolderAndRoot)
{
    EXPECT_EQ(normalFolder(QStringLiteral("/pics/")), QStringLiteral("/pics"));
    EXPECT_EQ(normalFolder(QStringLiteral("/pics//")), QStringLiteral("/pics"));
    EXPECT_EQ(normalFolder(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(rootOfWorkingFolder(), QStringLiteral("/"));
}

}  // namespace
}  // namespace tessaly::paths
