// Thumbnails made ahead of their turn: handed over only when they are what
// the run would make at that turn, with the options and the file as they
// are then.
#include "batch/thumbnailreadahead.h"
#include "imaging/photo/jpegmetadata.h"
#include "imaging/picture.h"
#include "imaging/resample.h"
#include "support/imagingtesttools.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::makeBitmap;
using testing::makeJpeg;
using testing::Rgb;
using testing::TempFolder;

QByteArray photo(int width, int height, int seed)
{
    return makeJpeg(makeBitmap(width, height,
                               [&](int x, int y) {
                                   return Rgb{(x * 7 + seed) & 255, (y * 5 + x * seed) & 255, (x ^ y) & 255};
                               }),
                    false, 90);
}

ThumbnailOptions fitWithin(const QString& folder, int maximum, bool quality)
{
    ThumbnailOptions options;
    options.folder = folder;
    options.sizes.keepAspect = true;
    options.sizes.fixedWidth = maximum;
    options.sizes.fixedHeight = maximum;
    options.sizes.maximum = maximum;
    options.quality = quality;
    return options;
}

// What the run makes of the file without any work ahead.
Bitmap madeAtTurn(const QString& path, const ThumbnailOptions& options)
{
    const Picture picture = LoadPicture(path, PhotoOptions{options.turnUpright});
    const TargetSize size = thumbnailSize(picture.width(), picture.height(), options.sizes);
    Bitmap work, scratch;
    if (options.quality) {
        DrawToBitmap(work, picture);
        QualityResize(work, scratch, size.width, size.height);
    } else {
        FastResize(work, picture, size.width, size.height);
    }
    return work;
}

class ReadAheadTest : public ::testing::TestWithParam<int> {};

TEST_P(ReadAheadTest, EveryThumbnailIsTheOneMadeAtItsTurn)
{
    TempFolder folder;
    QStringList names;
    for (int i = 0; i < 7; ++i) {
        names << QStringLiteral("p%1.jpg").arg(i);
        folder.write(names.back(), photo(150 + i * 37, 120 + (i % 3) * 51, i));
    }
    ThumbnailReadAhead readAhead(names, GetParam());
    for (int i = 0; i < names.size(); ++i) {
        // The method changes half-way, as a user may change it during a run.
        const ThumbnailOptions options = fitWithin(folder.path(), 48, i < 4);
        const std::optional<PreparedThumbnail> prepared = readAhead.take(i, options);
        ASSERT_TRUE(prepared.has_value()) << "file " << i;
        EXPECT_TRUE(prepared->thumbnail == madeAtTurn(folder.path() + "/" + names[i], options)) << "file " << i;
        EXPECT_EQ(prepared->sourceWidth, 150 + i * 37);
    }
}

INSTANTIATE_TEST_SUITE_P(Workers, ReadAheadTest, ::testing::Values(0, 1, 3));

// Photos tagged with each camera orientation are made from their rows too:
// turned upright as the run turns them, or as stored when photos are not
// turned, with the size of the picture the thumbnail was made from.
TEST(ThumbnailReadAhead, TaggedPhotosAreMadeAsTheRunTurnsThem)
{
    TempFolder folder;
    QStringList names;
    for (int orientation = 1; orientation <= 8; ++orientation) {
        names << QStringLiteral("o%1.jpg").arg(orientation);
        folder.write(names.back(), withJpegMetadata(photo(150, 90, orientation), {orientation, {}}));
    }
    for (const bool turn : {true, false}) {
        ThumbnailReadAhead readAhead(names, 1);
        for (int i = 0; i < names.size(); ++i) {
            SCOPED_TRACE(names[i].toStdString() + (turn ? " turned" : " as stored"));
            ThumbnailOptions options = fitWithin(folder.path(), 48, i % 3 != 0);
            options.turnUpright = turn;
            const std::optional<PreparedThumbnail> prepared = readAhead.take(i, options);
            ASSERT_TRUE(prepared.has_value());
            const bool swapped = turn && i >= 4;
            EXPECT_EQ(prepared->sourceWidth, swapped ? 90 : 150);
            EXPECT_EQ(swapped ? prepared->thumbnail.height() : prepared->thumbnail.width(), 48);
            EXPECT_TRUE(prepared->thumbnail == madeAtTurn(folder.path() + "/" + names[i], options));
        }
    }
}

// Sizes changed between two turns: the work made ahead with the old ones is
// not handed over as it was.
TEST(ThumbnailReadAhead, NewOptionsAreUsedForFilesMadeAhead)
{
    TempFolder folder;
    const QStringList names = {"a.jpg", "b.jpg", "c.jpg"};
    for (const QString& name : names)
        folder.write(name, photo(300, 200, int(name[0].unicode())));
    ThumbnailReadAhead readAhead(names, 1);
    ASSERT_TRUE(readAhead.take(0, fitWithin(folder.path(), 96, true)));
    readAhead.settle();
    const ThumbnailOptions smaller = fitWithin(folder.path(), 40, true);
    const std::optional<PreparedThumbnail> second = readAhead.take(1, smaller);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->thumbnail.width(), 40);
    EXPECT_TRUE(second->thumbnail == madeAtTurn(folder.path() + "/b.jpg", smaller));
    const std::optional<PreparedThumbnail> third = readAhead.take(2, smaller);
    ASSERT_TRUE(third.has_value());
    EXPECT_EQ(third->thumbnail.width(), 40);
}

// A file written over after its thumbnail was made ahead (say by the
// output of an earlier file): the old picture's thumbnail is never used.
TEST(ThumbnailReadAhead, AFileChangedSinceItWasReadIsNotHandedOver)
{
    TempFolder folder;
    const QStringList names = {"a.jpg", "b.jpg"};
    folder.write("a.jpg", photo(200, 100, 1));
    const QString second = folder.write("b.jpg", photo(200, 100, 2));
    ThumbnailReadAhead readAhead(names, 1);
    const ThumbnailOptions options = fitWithin(folder.path(), 50, false);
    ASSERT_TRUE(readAhead.take(0, options));
    readAhead.settle();
    folder.write("b.jpg", photo(120, 100, 3));
    const std::optional<PreparedThumbnail> prepared = readAhead.take(1, options);
    ASSERT_TRUE(prepared.has_value());
    EXPECT_EQ(prepared->sourceWidth, 120);
    EXPECT_TRUE(prepared->thumbnail == madeAtTurn(second, options));
}

// What the run must make and report itself gets no result: other kinds,
// damaged and missing files, sizes the row decoder does not make.
TEST(ThumbnailReadAhead, LeavesToTheRunWhatItDoesNotMake)
{
    TempFolder folder;
    folder.write("picture.bmp", QByteArray("BM not really"));
    folder.write("damaged.jpg", photo(200, 100, 1).left(300));
    folder.write("line.jpg", photo(200, 1, 1));
    folder.write("fine.jpg", photo(200, 100, 1));
    // A frame header without a height (one a DNL marker would give later).
    QByteArray noHeight = photo(200, 100, 1);
    const qsizetype frame = noHeight.indexOf("\xff\xc0");
    ASSERT_GT(frame, 0);
    noHeight[frame + 5] = noHeight[frame + 6] = 0;
    folder.write("noheight.jpg", noHeight);
    const QStringList names = {"picture.bmp", "damaged.jpg", "missing.jpg", "line.jpg", "fine.jpg", "noheight.jpg"};
    for (const int workers : {0, 1}) {
        ThumbnailReadAhead readAhead(names, workers);
        const ThumbnailOptions options = fitWithin(folder.path(), 50, true);
        EXPECT_FALSE(readAhead.take(0, options));
        // Whether a damaged file opens is for the run to say; work ahead
        // never makes a thumbnail where the run would fail.
        if (const std::optional<PreparedThumbnail> damaged = readAhead.take(1, options)) {
            std::optional<Bitmap> atTurn;
            try {
                atTurn = madeAtTurn(folder.path() + "/damaged.jpg", options);
            } catch (const LoadError&) {
            }
            ASSERT_TRUE(atTurn.has_value());
            EXPECT_TRUE(damaged->thumbnail == *atTurn);
        }
        EXPECT_FALSE(readAhead.take(2, options));
        EXPECT_FALSE(readAhead.take(3, options));  // one row high: no quality resize
        EXPECT_TRUE(readAhead.take(4, options));
        EXPECT_FALSE(readAhead.take(5, options));
    }
}

// Which file a free thread makes next: the file in hand whenever it may be
// started; then the taking thread the next in order, the other threads the
// earliest large one; never past the memory limits, unless nothing is being
// made.
TEST(ChooseNextFile, FollowsTheOrderTheCostAndTheMemory)
{
    using S = AheadFile::State;
    constexpr std::int64_t MB = 1 << 20;
    // A window: the file in hand, then small, large, small, middling files.
    const auto window = [](S first) {
        return std::vector<AheadFile>{{first, 10, 4 * MB, 30000},
                                      {S::Planned, 10, 4 * MB, 30000},
                                      {S::Planned, 500, 90 * MB, 30000},
                                      {S::Planned, 12, 4 * MB, 30000},
                                      {S::Planned, 80, 20 * MB, 30000}};
    };
    const AheadMemory free{0, 112 * MB, 0, 24 * MB};
    AheadMemory busy = free;  // a large file being made
    busy.making = 90 * MB;
    AheadMemory resultsFull = free;
    resultsFull.madeAhead = 24 * MB;
    AheadMemory overLimit = free;  // one file larger than the limit, made alone
    overLimit.making = 200 * MB;
    std::vector<AheadFile> nothingPlanned = window(S::Done);
    for (AheadFile& file : nothingPlanned)
        file.state = S::Running;

    std::vector<AheadFile> twoLarge = window(S::Running);
    twoLarge[4].cost = 900;  // the costliest, but 2 costs more than half of it

    struct Case {
        const char* what;
        std::vector<AheadFile> files;
        bool takingThread;
        AheadMemory memory;
        int expected;
    };
    const std::vector<Case> cases = {
        {"file in hand planned, taking thread", window(S::Planned), true, free, 0},
        {"file in hand planned, worker", window(S::Planned), false, free, 0},
        {"file in hand being made, taking thread: the next in order", window(S::Running), true, free, 1},
        {"file in hand being made, worker: the large one", window(S::Done), false, free, 2},
        {"large file being made: the largest that fits", window(S::Done), false, busy, 4},
        {"large file being made: the next that fits", window(S::Running), true, busy, 1},
        {"two large files: the earlier first", twoLarge, false, free, 2},
        {"thumbnails made ahead fill their share: only the file in hand", window(S::Running), false, resultsFull, -1},
        {"thumbnails made ahead fill their share, file in hand planned", window(S::Planned), true, resultsFull, 0},
        {"a file over the limit being made: nothing else", window(S::Planned), false, overLimit, -1},
        {"nothing planned", nothingPlanned, false, free, -1},
        {"empty window", {}, true, free, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chooseNextFile(c.files, c.takingThread, c.memory), c.expected) << c.what;

    // A file larger than the whole limit is started when nothing else is.
    std::vector<AheadFile> huge = window(S::Planned);
    huge[0].memory = 400 * MB;
    EXPECT_EQ(chooseNextFile(huge, true, free), 0);
    AheadMemory small = free;
    small.making = 4 * MB;
    EXPECT_EQ(chooseNextFile(huge, true, small), 1);
}

// Many files with a large one far ahead, with tight limits: every
// thumbnail is still the one made at its turn, and every file is made once
// when the options never change.
TEST(ThumbnailReadAhead, TightLimitsAndALargeFileAheadKeepEveryResult)
{
    TempFolder folder;
    QStringList names;
    for (int i = 0; i < 10; ++i) {
        names << QStringLiteral("p%1.jpg").arg(i);
        const bool large = i == 8;
        folder.write(names.back(), photo(large ? 900 : 120 + i * 9, large ? 700 : 90 + i, i));
    }
    ThumbnailReadAhead::Limits limits;
    limits.lookAhead = 9;
    limits.decodeMemory = 1 << 20;
    limits.madeAheadMemory = 3 * 48 * 48 * 3;
    ThumbnailReadAhead readAhead(names, 1, limits);
    const ThumbnailOptions options = fitWithin(folder.path(), 48, true);
    for (int i = 0; i < names.size(); ++i) {
        const std::optional<PreparedThumbnail> prepared = readAhead.take(i, options);
        ASSERT_TRUE(prepared.has_value()) << "file " << i;
        EXPECT_TRUE(prepared->thumbnail == madeAtTurn(folder.path() + "/" + names[i], options)) << "file " << i;
    }
    EXPECT_EQ(readAhead.filesMade(), 10);
}

}  // namespace
}  // namespace tessaly
