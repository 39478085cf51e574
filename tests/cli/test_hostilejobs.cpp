// Jobs that would go wrong without a word: a folder reached through a
// link, a qualifier that climbs out of the output folder, a settings file
// that is not a file, a full disk. Each is run through tessaly-batch; the
// sources keep their bytes in every case.

#include "support/tempfolder.h"
#include "support/testpictures.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly {
namespace {

using testing::TempFolder;

struct Result {
    int exitCode = -1;
    QString out, err;
    qint64 milliseconds = 0;
};

Result runBatch(const QStringList& arguments, const QString& settings)
{
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.start(QStringLiteral(TESSALY_BATCH_PROGRAM),
                  QStringList{QStringLiteral("--settings"), settings} + arguments);
    if (!process.waitForFinished(60000))
        process.kill();
    process.waitForFinished();
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError()), timer.elapsed()};
}

// Name and hash of every file of a folder.
std::map<QString, QByteArray> hashes(const QString& folder)
{
    std::map<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files, QDir::Name))
        files[name] = QCryptographicHash::hash(testing::readAll(folder + u'/' + name), QCryptographicHash::Sha256);
    return files;
}

QString emptySettings(TempFolder& temp)
{
    return temp.write(QStringLiteral("settings/Tessaly.ini"), QByteArray());
}

// Defect 10: an output folder that is a link to the input folder is the
// input folder: the same-folder refusal comes, and no source is replaced.
TEST(HostileJobs, LinkToTheInputFolderIsTheSameFolder)
{
    TempFolder temp;
    const QString photos = temp.makeFolder(QStringLiteral("photos"));
    testing::writePicture(photos + QStringLiteral("/Thumb001.jpg"), 40, 30);
    testing::writePicture(photos + QStringLiteral("/Thumb002.jpg"), 40, 30);
    testing::writePicture(photos + QStringLiteral("/holiday.jpg"), 80, 60);
    const QString alias = temp.path() + QStringLiteral("/alias");
    ASSERT_TRUE(QFile::link(photos, alias));
    const auto before = hashes(photos);
    for (const QString& out : {alias, alias + u'/', photos + QStringLiteral("/../photos")}) {
        const Result result =
            runBatch({QStringLiteral("thumbs"), QStringLiteral("--out"), out, photos}, emptySettings(temp));
        EXPECT_EQ(result.exitCode, 2) << out.toStdString();
        EXPECT_TRUE(result.err.contains(QStringLiteral("Input and Output Directories are the same")))
            << result.err.toStdString();
    }
    EXPECT_EQ(hashes(photos), before);
}

// Defect 14: a qualifier with a path separator is refused before anything
// is written; from the settings file the same.
TEST(HostileJobs, QualifierWithSeparatorIsRefused)
{
    TempFolder temp;
    const QString photos = temp.makeFolder(QStringLiteral("photos"));
    const QString out = temp.makeFolder(QStringLiteral("out"));
    testing::writePicture(photos + QStringLiteral("/holiday.jpg"), 80, 60);
    for (const QString& qualifier : {QStringLiteral("../x_"), QStringLiteral("a/b"), QStringLiteral("..\\x")}) {
        const Result result = runBatch(
            {QStringLiteral("thumbs"), QStringLiteral("--out"), out, QStringLiteral("--qualifier"), qualifier, photos},
            emptySettings(temp));
        EXPECT_EQ(result.exitCode, 2) << qualifier.toStdString();
        EXPECT_TRUE(result.err.contains(QStringLiteral("path separator"))) << result.err.toStdString();
    }
    const QString settings =
        temp.write(QStringLiteral("settings/q.ini"), "[Thumbnails]\r\nOutput File Qualifier=../x_\r\n");
    const Result fromFile = runBatch({QStringLiteral("thumbs"), QStringLiteral("--out"), out, photos}, settings);
    EXPECT_EQ(fromFile.exitCode, 2);
    EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), 0);
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files).size(), 0);
}

// Defect 13: a settings "file" that is a device, a pipe or far too large
// is refused at once with a clear message.
TEST(HostileJobs, SettingsOnlyFromARegularFile)
{
    TempFolder temp;
    const QString photos = temp.makeFolder(QStringLiteral("photos"));
    testing::writePicture(photos + QStringLiteral("/holiday.jpg"), 80, 60);
    const QString fifo = temp.path() + QStringLiteral("/settings.fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString huge = temp.write(QStringLiteral("huge.ini"), QByteArray(3 << 20, 'x'));
    for (const QString& settings : {QStringLiteral("/dev/zero"), fifo, huge, temp.path()}) {
        const Result result = runBatch(
            {QStringLiteral("thumbs"), QStringLiteral("--out"), temp.makeFolder(QStringLiteral("out")), photos},
            settings);
        EXPECT_EQ(result.exitCode, 2) << settings.toStdString();
        EXPECT_TRUE(result.err.contains(QStringLiteral("is not a settings file"))) << result.err.toStdString();
        EXPECT_LT(result.milliseconds, 10000) << settings.toStdString();
    }
}

// Defect 9: on a full disk no picture or page is reported done and no
// short file stays under a final name (root only: a small file system).
TEST(HostileJobs, FullDiskIsAnError)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "making a small file system needs root";
    TempFolder temp;
    const QString photos = temp.makeFolder(QStringLiteral("photos"));
    testing::writePicture(photos + QStringLiteral("/a.jpg"), 400, 300);
    testing::writePicture(photos + QStringLiteral("/b.jpg"), 400, 300);
    const QString disk = temp.makeFolder(QStringLiteral("disk"));
    const QByteArray mountPoint = QFile::encodeName(disk);
    if (::system(("mount -t tmpfs -o size=64k tmpfs '" + mountPoint + "' 2>/dev/null").constData()) != 0)
        GTEST_SKIP() << "cannot mount a small file system";
    // Fill the disk but for a few bytes.
    {
        QFile filler(disk + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        filler.write(QByteArray(60 * 1024, 'f'));
    }
    const auto before = hashes(photos);
    const Result result =
        runBatch({QStringLiteral("thumbs"), QStringLiteral("--out"), disk, QStringLiteral("--size"),
                  QStringLiteral("300"), QStringLiteral("--html"), disk + QStringLiteral("/index.htm"), photos},
                 emptySettings(temp));
    EXPECT_EQ(result.exitCode, 1) << result.err.toStdString();
    EXPECT_FALSE((result.out + result.err).contains(QStringLiteral("Operation complete")));
    for (const auto& [name, hash] : hashes(disk)) {
        if (name == QLatin1String("filler"))
            continue;
        // Whatever was written is whole: a thumbnail opens, a page ends.
        const QByteArray bytes = testing::readAll(disk + u'/' + name);
        EXPECT_GT(bytes.size(), 0) << name.toStdString();
        if (name.endsWith(QLatin1String(".jpg"))) {
            EXPECT_TRUE(bytes.endsWith("\xFF\xD9")) << name.toStdString();
        }
    }
    EXPECT_EQ(hashes(photos), before);
    EXPECT_EQ(::system(("umount '" + mountPoint + "'").constData()), 0);
}

// Defect 12: renames the file system refuses are named on standard error
// and the command line exits 1; every source is still there.
TEST(HostileJobs, RefusedRenamesAreNamed)
{
    TempFolder temp;
    const QString photos = temp.makeFolder(QStringLiteral("photos"));
    testing::writePicture(photos + QStringLiteral("/a.jpg"), 40, 30);
    testing::writePicture(photos + QStringLiteral("/b.jpg"), 40, 30);
    const auto before = hashes(photos);
    const QByteArray folder = QFile::encodeName(photos);
    // A read-only folder: for root a read-only bind mount, else no write permission.
    const bool root = ::geteuid() == 0;
    if (root) {
        if (::system(("mount --bind '" + folder + "' '" + folder + "' && mount -o remount,ro,bind '" + folder + "' '" +
                      folder + "' 2>/dev/null")
                         .constData()) != 0)
            GTEST_SKIP() << "cannot make a read-only folder";
    } else {
        QFile::setPermissions(photos, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    const Result result = runBatch({QStringLiteral("rename"), QStringLiteral("--naming"), QStringLiteral("PreSeq"),
                                    QStringLiteral("--qualifier"), QStringLiteral("Trip"), QStringLiteral("--seq"),
                                    QStringLiteral("01"), photos},
                                   emptySettings(temp));
    if (root)
        EXPECT_EQ(::system(("umount '" + folder + "'").constData()), 0);
    else
        QFile::setPermissions(photos, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains(photos + QStringLiteral("/a.jpg: not renamed to"))) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(photos + QStringLiteral("/b.jpg: not renamed to"))) << result.err.toStdString();
    EXPECT_EQ(hashes(photos), before);
}

}  // namespace
}  // namespace tessaly
