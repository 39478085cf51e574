// Thumbnail runs with JPEG thumbnails made ahead on other processors: what
// the user sees and what is written is what a run making every file at its
// turn from the whole decoded picture shows and writes.
#include "batch/runs.h"
#include "imaging/codecs/jpegcoefficients.h"
#include "imaging/encoders.h"
#include "imaging/picture.h"
#include "imaging/resample.h"
#include "imaging/sizing.h"
#include "support/fakejob.h"
#include "support/imagingtesttools.h"
#include "support/tempfolder.h"
#include "support/testpictures.h"

#include <QDir>
#include <gtest/gtest.h>
#include <jpeglib.h>

namespace tessaly {
namespace {

using testing::FakeJob;
using testing::makeBitmap;
using testing::RecordingView;
using testing::Rgb;
using testing::TempFolder;

// A patterned JPEG photo, different for each seed.
QByteArray runPhoto(int width, int height, int seed)
{
    return testing::makeJpeg(
        makeBitmap(width, height,
                   [&](int x, int y) {
                       return Rgb{(x * 3 + seed * 40) & 255, (y * 7 + x) & 255, (x * y + seed) & 255};
                   }),
        false, 92);
}

// The thumbnail file the run makes of `path` with the options of `job` as
// they are now: the whole picture decoded, resized, encoded as JPEG.
QByteArray expectedThumbnail(const QString& path, const FakeJob& job)
{
    const Picture picture = LoadPicture(path);
    SizeOptions sizes;
    sizes.keepAspect = job.ratio;
    sizes.forceWidth = job.forceW;
    sizes.forceHeight = job.forceH;
    sizes.fixedWidth = job.width.toInt();
    sizes.fixedHeight = job.height.toInt();
    sizes.maximum = job.width.toInt();
    const TargetSize size = thumbnailSize(picture.width(), picture.height(), sizes);
    Bitmap work, scratch;
    if (job.speed == ResizeSpeed::Fast) {
        FastResize(work, picture, size.width, size.height);
    } else {
        DrawToBitmap(work, picture);
        QualityResize(work, scratch, size.width, size.height);
    }
    JpegOutput output;
    EncodeJpeg(output, work, job.quality);
    return output.fileBytes();
}

class RunAheadTest : public ::testing::Test {
protected:
    RunAheadTest()
    {
        job.input = input.path();
        job.output = output.path();
        job.ratio = true;
    }

    // Writes `count` JPEGs p0.jpg ... of different sizes into `folder`.
    static QStringList writePhotos(TempFolder& folder, int count, int seed = 0)
    {
        QStringList names;
        for (int i = 0; i < count; ++i) {
            names << QStringLiteral("p%1.jpg").arg(i);
            folder.write(names.back(), runPhoto(120 + 45 * i, 90 + 20 * (i % 4), i + seed));
        }
        return names;
    }

    RunOutcome go(const QStringList& names)
    {
        sources = names;
        state.CancelRequested = false;
        RunContext run{job, view, state, pictures, sources};
        return runBatch(run);
    }

    QString thumb(int i) const
    {
        return output.path() + QStringLiteral("/Thumb%1.jpg").arg(i + 1, 3, 10, QLatin1Char('0'));
    }
    QStringList outputFiles() const { return QDir(output.path()).entryList(QDir::Files, QDir::Name); }

    TempFolder input, output;
    FakeJob job;
    RecordingView view;
    RunState state;
    WorkingPictures pictures;
    QStringList sources;
};

TEST_F(RunAheadTest, EveryThumbnailIsTheWholeDecodesBytes)
{
    QStringList names = writePhotos(input, 6);
    testing::writePicture(input.path() + QStringLiteral("/q.bmp"), 150, 100);
    names.insert(3, QStringLiteral("q.bmp"));
    input.write(QStringLiteral("progressive.jpg"),
                testing::compressJpeg(
                    700, 500, 3, JCS_RGB, [](jpeg_compress_struct& info) { jpeg_simple_progression(&info); },
                    [](int y, unsigned char* row) {
                        for (int x = 0; x < 700 * 3; ++x)
                            row[x] = (unsigned char)((x * 5 + y * 3) ^ (x * y));
                    }));
    names.insert(1, QStringLiteral("progressive.jpg"));
    for (const ResizeSpeed speed : {ResizeSpeed::Quality, ResizeSpeed::Fast}) {
        job.speed = speed;
        ASSERT_TRUE(go(names).complete);
        // The blocks kept for progressive pictures are not held after the run.
        EXPECT_EQ(keptCoefficientBytes(), 0u);
        for (int i = 0; i < names.size(); ++i) {
            EXPECT_EQ(testing::readAll(thumb(i)), expectedThumbnail(input.path() + u'/' + names[i], job))
                << names[i].toStdString();
            EXPECT_EQ(state.ProcessedFiles[std::size_t(i)].OriginalSize,
                      QFileInfo(input.path() + u'/' + names[i]).size());
        }
    }
}

// Options changed between files (the window's controls stay live during a
// run) apply from the next file on, also to files already made ahead; the
// input folder too is read for each file at its turn.
TEST_F(RunAheadTest, OptionsChangedDuringTheRunApplyFromTheNextFile)
{
    const QStringList names = writePhotos(input, 7);
    TempFolder other;
    writePhotos(other, 7, 50);
    view.betweenFiles = [&] {
        if (view.progress == 2) {
            job.speed = ResizeSpeed::Fast;
            job.forceH = true;
        }
        if (view.progress == 4)
            job.input = other.path();
    };
    const FakeJob before = job;
    ASSERT_TRUE(go(names).complete);
    for (int i = 0; i < 7; ++i) {
        FakeJob used = before;
        used.speed = i >= 2 ? ResizeSpeed::Fast : ResizeSpeed::Quality;
        used.forceH = i >= 2;
        used.input = i >= 4 ? other.path() : input.path();
        EXPECT_EQ(testing::readAll(thumb(i)), expectedThumbnail(used.input + u'/' + names[i], used)) << i;
    }
}

// Cancel pressed during the second file: the run stops after it, and no
// file after it is written, although later files were being made ahead.
TEST_F(RunAheadTest, CancelStopsAfterTheFileInHand)
{
    const QStringList names = writePhotos(input, 8);
    view.betweenFiles = [&] {
        if (view.progress == 2)
            state.CancelRequested = true;
    };
    const RunOutcome outcome = go(names);
    EXPECT_FALSE(outcome.complete);
    EXPECT_EQ(outputFiles(), (QStringList{QStringLiteral("Thumb001.jpg"), QStringLiteral("Thumb002.jpg")}));
    EXPECT_EQ(view.counters.size(), std::size_t(2));
    EXPECT_EQ(state.ProcessedCount, 2);
}

// A file that cannot be opened is reported at its own turn, after the
// files before it are written, and nothing after it is written.
TEST_F(RunAheadTest, AFileThatCannotBeOpenedIsReportedAtItsTurn)
{
    const QStringList names = writePhotos(input, 5);
    input.write(QStringLiteral("p2.jpg"), QByteArray("not a picture"));
    const RunOutcome outcome = go(names);
    EXPECT_FALSE(outcome.complete);
    EXPECT_EQ(view.reports, QStringList{QStringLiteral("Could not open p2.jpg")});
    EXPECT_EQ(view.counters.size(), std::size_t(3));
    EXPECT_EQ(outputFiles(), (QStringList{QStringLiteral("Thumb001.jpg"), QStringLiteral("Thumb002.jpg")}));
}

// The output of one file written over a later source (same folder, names
// that meet): the later file is made from what it holds at its turn.
TEST_F(RunAheadTest, ASourceWrittenOverByAnEarlierOutputIsReadAgain)
{
    job.output = input.path();
    job.thumbQualifierText = QStringLiteral("p");
    job.sequence = QStringLiteral("1");
    const QStringList names = writePhotos(input, 4);
    // p0.jpg's thumbnail is p1.jpg, p1.jpg's is p2.jpg, ...
    ASSERT_TRUE(go(names).complete);
    // Each file i > 0 was the thumbnail of file i - 1 when its turn came:
    // so p3.jpg holds a thumbnail of a thumbnail of a thumbnail of p0.
    QByteArray chain = runPhoto(120, 90, 0);
    TempFolder scratch;
    for (int i = 1; i <= 4; ++i) {
        const QString path = scratch.write(QStringLiteral("s%1.jpg").arg(i), chain);
        chain = expectedThumbnail(path, job);
    }
    EXPECT_EQ(testing::readAll(input.path() + QStringLiteral("/p4.jpg")), chain);
}

}  // namespace
}  // namespace tessaly
