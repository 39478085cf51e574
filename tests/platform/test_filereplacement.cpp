// Files rewritten in place (a folder that takes no new files, a file with
// other hard links) are never left cut short: the original is kept aside
// until the new bytes are on the disk, and put back on any failure.
#include "platform/fileops.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tessaly {
namespace {

using testing::TempFolder;

constexpr uid_t kNobody = 65534;

// Runs `body` in a child process as the user nobody when the tests run as
// root (whom permissions do not stop), else here; whether it returned true.
template <typename Body>
bool asOrdinaryUser(Body body)
{
    if (::geteuid() != 0)
        return body();
    const pid_t child = ::fork();
    if (child == 0) {
        const bool ok = ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 && body();
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

ino_t inodeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

class FileReplacementTest : public ::testing::Test {
protected:
    FileReplacementTest()
    {
        kept = temp.makeFolder(QStringLiteral("kept"));
        // Open to the user the writes may run as.
        QFile::setPermissions(temp.path(), QFileDevice::Permissions(0x7777));
        QFile::setPermissions(kept, QFileDevice::Permissions(0x7777));
        FileReplacement::setKeptOriginalsFolder(kept);
    }
    ~FileReplacementTest() override { FileReplacement::setKeptOriginalsFolder(QString()); }
    QStringList keptCopies() const { return QDir(kept).entryList(QDir::Files | QDir::Hidden); }

    TempFolder temp;
    QString kept;
};

// A file with another hard link is written in place: both names show the
// new bytes, the file stays the same file, and no copy is left over.
TEST_F(FileReplacementTest, HardLinksAllSeeTheNewBytes)
{
    const QString path = temp.write(QStringLiteral("a.jpg"), "old picture");
    const QString other = temp.path() + QStringLiteral("/also-a.jpg");
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()), 0);
    const ino_t inode = inodeOf(path);
    ASSERT_TRUE(writeWholeFile(path, "new picture, longer").ok());
    EXPECT_EQ(testing::readAll(path), QByteArray("new picture, longer"));
    EXPECT_EQ(testing::readAll(other), QByteArray("new picture, longer"));
    EXPECT_EQ(inodeOf(path), inode);
    EXPECT_TRUE(keptCopies().isEmpty());
}

// A write given up half way (an error between open and commit, an
// exception) puts the original back under every name.
TEST_F(FileReplacementTest, WriteGivenUpPutsTheOriginalBack)
{
    const QString path = temp.write(QStringLiteral("a.jpg"), "old picture");
    const QString other = temp.path() + QStringLiteral("/also-a.jpg");
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()), 0);
    {
        FileReplacement file(path);
        ASSERT_TRUE(file.open().ok());
        ASSERT_TRUE(file.write("half", 4).ok());
        EXPECT_EQ(keptCopies().size(), 1);
    }
    EXPECT_EQ(testing::readAll(path), QByteArray("old picture"));
    EXPECT_EQ(testing::readAll(other), QByteArray("old picture"));
    EXPECT_TRUE(keptCopies().isEmpty());
}

// In a folder that takes no new file the file itself is rewritten, and
// that leaves no copy behind.
TEST_F(FileReplacementTest, ReadOnlyFolderIsWrittenInPlace)
{
    const QString folder = temp.makeFolder(QStringLiteral("out"));
    const QString path = temp.write(QStringLiteral("out/a.jpg"), "old picture");
    QFile::setPermissions(path, QFileDevice::Permissions(0x6666));
    QFile::setPermissions(folder, QFileDevice::Permissions(0x5555));
    EXPECT_TRUE(asOrdinaryUser([&] { return writeWholeFile(path, "new picture").ok(); }));
    QFile::setPermissions(folder, QFileDevice::Permissions(0x7777));
    EXPECT_EQ(testing::readAll(path), QByteArray("new picture"));
    EXPECT_TRUE(keptCopies().isEmpty());
}

// On a full disk a rewrite in place fails with the system's reason and the
// file keeps its old bytes, in a read-only folder and under hard links
// alike (root only: a small file system of its own).
TEST_F(FileReplacementTest, FullDiskKeepsTheOriginal)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "making a small file system needs root";
    const QString disk = temp.makeFolder(QStringLiteral("disk"));
    const QByteArray mountPoint = QFile::encodeName(disk);
    if (::system(("mount -t tmpfs -o size=64k,mode=0777 tmpfs '" + mountPoint + "' 2>/dev/null").constData()) != 0)
        GTEST_SKIP() << "cannot mount a small file system";
    const QByteArray old(20000, 'o');
    const QByteArray large(200000, 'n');
    const QString folder = disk + QStringLiteral("/out");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString linked = folder + QStringLiteral("/linked.gif");
    const QString locked = folder + QStringLiteral("/locked.gif");
    for (const QString& path : {linked, locked}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(old), old.size());
        file.close();
        QFile::setPermissions(path, QFileDevice::Permissions(0x6666));
    }
    ASSERT_EQ(::link(QFile::encodeName(linked).constData(),
                     QFile::encodeName(folder + QStringLiteral("/l2.gif")).constData()),
              0);

    const Status written = writeWholeFile(linked, large);
    ASSERT_TRUE(written.failed());
    EXPECT_EQ(written.reason(), QStringLiteral("No space left on device"));
    EXPECT_EQ(testing::readAll(linked), old);
    EXPECT_EQ(testing::readAll(folder + QStringLiteral("/l2.gif")), old);

    QFile::setPermissions(folder, QFileDevice::Permissions(0x5555));
    EXPECT_TRUE(asOrdinaryUser([&] { return writeWholeFile(locked, large).failed(); }));
    QFile::setPermissions(folder, QFileDevice::Permissions(0x7777));
    EXPECT_EQ(testing::readAll(locked), old);
    EXPECT_TRUE(keptCopies().isEmpty());
    EXPECT_EQ(::system(("umount '" + mountPoint + "'").constData()), 0);
}

}  // namespace
}  // namespace tessaly
