// Sources that are no ordinary files, and sizes past 2 GiB, through
// tessaly-batch: what is refused says why, what is recorded is the truth.
#include "batchrun.h"
#include "support/tempfolder.h"
#include "support/testpictures.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tessaly {
namespace {

using testing::TempFolder;

// A named pipe or a link to a device given as a source is refused before
// the run with a reason that says what it is (not "no such file"), and at
// once: opening a pipe would wait for a writer, reading /dev/zero never ends.
TEST(SourceFiles, SourcesThatAreNoFilesAreRefused)
{
    TempFolder temp;
    const QString photos = temp.makeFolder(QStringLiteral("photos"));
    testing::writePicture(photos + QStringLiteral("/holiday.jpg"), 80, 60);
    const QString fifo = photos + QStringLiteral("/pipe.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = photos + QStringLiteral("/zero.jpg");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const QString list = temp.write(QStringLiteral("list.txt"), QFile::encodeName(fifo) + '\n');
    struct Case {
        QStringList arguments;
        QString said;
    } cases[] = {
        {{QStringLiteral("thumbs"), fifo}, QStringLiteral(": not an ordinary file but a named pipe (FIFO)")},
        {{QStringLiteral("copy"), zero}, QStringLiteral(": not an ordinary file but a link to a character device")},
        {{QStringLiteral("thumbs"), QStringLiteral("--files-from"), list},
         QStringLiteral(": not an ordinary file but a named pipe (FIFO)")},
    };
    for (const Case& c : cases) {
        const Result result =
            runBatch(QStringList{QStringLiteral("--out"), temp.makeFolder(QStringLiteral("out"))} + c.arguments,
                     emptySettings(temp));
        EXPECT_EQ(result.exitCode, 2) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(result.err.contains(c.said)) << result.err.toStdString();
        EXPECT_LT(result.milliseconds, 10000);
    }
    // A folder given as the source leaves them out and does the picture.
    const Result folder =
        runBatch({QStringLiteral("thumbs"), QStringLiteral("--out"), temp.makeFolder(QStringLiteral("out2")),
                  QStringLiteral("--mask"), QStringLiteral("*.jpg"), photos},
                 emptySettings(temp));
    EXPECT_EQ(folder.exitCode, 0) << folder.err.toStdString();
    EXPECT_TRUE(folder.out.contains(QStringLiteral("Operation complete. 1 files processed.")));
}

// A file of 3 GiB (sparse: it takes no room) keeps its true size through a
// run into the gallery, where a 32-bit size read -1073741824.
TEST(SourceFiles, SizesPastTwoGibibytes)
{
    TempFolder temp;
    const QString photos = temp.makeFolder(QStringLiteral("photos"));
    QFile large(photos + QStringLiteral("/large.jpg"));
    constexpr qint64 kSize = qint64(3) << 30;
    if (!large.open(QIODevice::WriteOnly) || !large.resize(kSize))
        GTEST_SKIP() << "cannot make a file of 3 GiB here";
    large.close();
    const QString page = temp.path() + QStringLiteral("/index.htm");
    const Result result = runBatch({QStringLiteral("rename"), QStringLiteral("--qualifier"), QStringLiteral("Big"),
                                    QStringLiteral("--html"), page, photos},
                                   emptySettings(temp));
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(testing::readAll(page)).contains(QStringLiteral("(%1 bytes)").arg(kSize)))
        << testing::readAll(page).toStdString();
}

}  // namespace
}  // namespace tessaly
