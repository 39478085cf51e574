#include "batch/runs.h"
#include "imaging/codecs/photocodec.h"
#include "imaging/picture.h"
#include "support/fakejob.h"
#include "support/imagingtesttools.h"
#include "support/tempfolder.h"
#include "support/testpictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSize>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::FakeJob;
using testing::RecordingView;
using testing::TempFolder;

// A run driven without any window: plain values in, a recorder out.
class RunTest : public ::testing::Test {
protected:
    RunTest()
    {
        job.input = input.path();
        job.output = output.path();
    }

    RunOutcome go(const QStringList& names)
    {
        sources = names;
        state.CancelRequested = false;
        RunContext run{job, view, state, pictures, sources};
        return runBatch(run);
    }

    QStringList outputFiles() const { return QDir(output.path()).entryList(QDir::Files, QDir::Name); }
    QStringList inputFiles() const { return QDir(input.path()).entryList(QDir::Files, QDir::Name); }
    QSize sizeOf(const QString& path) const
    {
        const Picture picture = LoadPicture(path);
        return {picture.width(), picture.height()};
    }

    TempFolder input, output;
    FakeJob job;
    RecordingView view;
    RunState state;
    WorkingPictures pictures;
    QStringList sources;
};

// Five JPEGs to thumbnails within 96: names, sizes, entries and the count.
TEST_F(RunTest, ThumbnailsOfFiveJpegs)
{
    const QSize sizes[5] = {{400, 300}, {300, 400}, {64, 48}, {96, 50}, {200, 96}};
    const QSize thumbs[5] = {{96, 72}, {72, 96}, {64, 48}, {96, 50}, {96, 46}};
    QStringList names;
    for (int i = 0; i < 5; ++i) {
        names << QStringLiteral("p%1.jpg").arg(i);
        testing::writePicture(input.path() + u'/' + names.back(), sizes[i].width(), sizes[i].height());
    }
    job.ratio = true;
    const RunOutcome outcome = go(names);
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(outcome.completionText, QStringLiteral("Operation complete. 5 files processed."));
    EXPECT_EQ(state.ProcessedCount, 5);
    EXPECT_EQ(state.maxThumbSize, 96);
    EXPECT_EQ(outputFiles(), (QStringList{QStringLiteral("Thumb001.jpg"), QStringLiteral("Thumb002.jpg"),
                                          QStringLiteral("Thumb003.jpg"), QStringLiteral("Thumb004.jpg"),
                                          QStringLiteral("Thumb005.jpg")}));
    for (int i = 0; i < 5; ++i) {
        const ProcessedFile& entry = state.ProcessedFiles[std::size_t(i)];
        const QString thumb = output.path() + QStringLiteral("/Thumb00%1.jpg").arg(i + 1);
        EXPECT_EQ(sizeOf(thumb), thumbs[i]) << i;
        EXPECT_EQ(entry.Width, thumbs[i].width());
        EXPECT_EQ(entry.Height, thumbs[i].height());
        EXPECT_EQ(entry.OriginalPath, input.path() + u'/' + names[i]);
        EXPECT_EQ(entry.OriginalSize, QFileInfo(entry.OriginalPath).size());
        EXPECT_EQ(entry.OutputPath, thumb);
    }
    EXPECT_EQ(view.counters, (std::vector<std::pair<int, int>>{{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}}));
    EXPECT_EQ(view.maximum, 5);
    EXPECT_EQ(view.refreshes, 1);
    EXPECT_EQ(view.progress, 0);
}

// A fixed size stretches every picture; fast resizing gives the same sizes;
// "No Conversion" keeps each source's own type, a four-letter one and the
// photo formats too.
TEST_F(RunTest, ThumbnailsFixedSizeAndNoConversion)
{
    testing::writePicture(input.path() + QStringLiteral("/a.gif"), 50, 40);
    testing::writePicture(input.path() + QStringLiteral("/b.bmp"), 30, 90);
    testing::writePicture(input.path() + QStringLiteral("/c.jpeg"), 30, 30);
    input.write(QStringLiteral("d.png"), encodePhoto(Bitmap(20, 10), PhotoFormat::Png, 90));
    job.width = QStringLiteral("120");
    job.height = QStringLiteral("80");
    job.type = OutputType::NoConversion;
    job.speed = ResizeSpeed::Fast;
    job.namingOption = NamingOption::SufName;
    const RunOutcome outcome =
        go({QStringLiteral("a.gif"), QStringLiteral("b.bmp"), QStringLiteral("c.jpeg"), QStringLiteral("d.png")});
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(outputFiles(), (QStringList{QStringLiteral("aThumb.gif"), QStringLiteral("bThumb.bmp"),
                                          QStringLiteral("cThumb.jpg"), QStringLiteral("dThumb.png")}));
    for (const char* name : {"aThumb.gif", "bThumb.bmp", "cThumb.jpg", "dThumb.png"})
        EXPECT_EQ(sizeOf(output.path() + u'/' + QString::fromLatin1(name)), QSize(120, 80)) << name;
    EXPECT_EQ(state.ProcessedCount, 4);
    EXPECT_EQ(state.ProcessedFiles[2].OutputPath, output.path() + QStringLiteral("/cThumb.jpg"));
    EXPECT_EQ(state.maxThumbSize, 120);
}

// A transparent GIF gives a thumbnail with white where it was transparent.
TEST_F(RunTest, TransparentGifThumbnailIsWhite)
{
    // 2 by 2: one red pixel, three transparent ones.
    testing::GifRecipe recipe;
    recipe.screenWidth = recipe.width = 2;
    recipe.screenHeight = recipe.height = 2;
    recipe.pixels = {0, 1, 1, 1};
    recipe.globalColours = {{255, 0, 0}, {0, 0, 0}};
    recipe.transparent = 1;
    input.write(QStringLiteral("t.gif"), testing::makeGif(recipe));
    job.type = OutputType::Bmp;
    job.width = job.height = QStringLiteral("4");
    job.speed = ResizeSpeed::Fast;
    go({QStringLiteral("t.gif")});
    Bitmap thumb;
    DrawToBitmap(thumb, LoadPicture(output.path() + QStringLiteral("/Thumb001.bmp")));
    const std::uint8_t* corner = thumb.row(3) + 3 * 3;
    EXPECT_EQ(corner[0] + corner[1] + corner[2], 3 * 255);
    EXPECT_EQ(thumb.row(0)[2], 255);
    EXPECT_EQ(thumb.row(0)[0], 0);
}

// Cancel during the third of ten files: the third is done, the run stops.
TEST_F(RunTest, CancelAfterTheThirdOfTen)
{
    QStringList names;
    for (int i = 0; i < 10; ++i) {
        names << QStringLiteral("f%1.bmp").arg(i);
        testing::writePicture(input.path() + u'/' + names.back(), 20, 10);
    }
    view.betweenFiles = [&] {
        if (view.counters.back() == std::pair(3, 10))
            state.CancelRequested = true;
    };
    const RunOutcome outcome = go(names);
    EXPECT_EQ(outcome.completionText, QStringLiteral("Operation Incomplete. 3 files processed."));
    EXPECT_EQ(outputFiles().size(), 3);
    EXPECT_EQ(view.counters.size(), 3);
}

// A corrupt JPEG in the middle: files before it done, the message with the
// bare name, later files untouched, the run incomplete.
TEST_F(RunTest, CorruptJpegStopsTheRun)
{
    QStringList names;
    for (int i = 0; i < 5; ++i) {
        names << QStringLiteral("g%1.jpg").arg(i);
        if (i == 2)
            input.write(names.back(), QByteArray("\xFF\xD8\xFF\xE0 this is not a picture", 26));
        else
            testing::writePicture(input.path() + u'/' + names.back(), 20, 10);
    }
    const RunOutcome outcome = go(names);
    EXPECT_EQ(view.reports, QStringList{QStringLiteral("Could not open g2.jpg")});
    EXPECT_EQ(outputFiles(), (QStringList{QStringLiteral("Thumb001.jpg"), QStringLiteral("Thumb002.jpg")}));
    EXPECT_EQ(outcome.completionText, QStringLiteral("Operation Incomplete. 2 files processed."));
    EXPECT_TRUE(state.CancelRequested);
    EXPECT_EQ(view.refreshes, 1);
}

// A write that fails is a processing error; the thumbnails before it stay.
TEST_F(RunTest, FailedWriteIsAProcessingError)
{
    testing::writePicture(input.path() + QStringLiteral("/a.jpg"), 20, 10);
    job.output = output.write(QStringLiteral("not-a-folder"));  // a file where the folder should be
    const RunOutcome outcome = go({QStringLiteral("a.jpg")});
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(view.reports, QStringList{QStringLiteral("Error during processing!")});
    EXPECT_EQ(outcome.completionText, QStringLiteral("Operation Incomplete. 0 files processed."));
    // The failure keeps the source in hand and why it failed.
    EXPECT_EQ(outcome.failure.file, input.path() + QStringLiteral("/a.jpg"));
    EXPECT_TRUE(outcome.failure.reason.contains(QLatin1String("not-a-folder"))) << outcome.failure.reason.toStdString();
    EXPECT_EQ(view.refreshes, 1);
}

// A size or sequence field that is not a number fails as a processing error.
TEST_F(RunTest, FieldsThatAreNotNumbers)
{
    testing::writePicture(input.path() + QStringLiteral("/a.jpg"), 20, 10);
    job.width = QStringLiteral("abc");
    const RunOutcome failed = go({QStringLiteral("a.jpg")});
    EXPECT_TRUE(failed.failed);
    // Before the first file: no file, the field's message as the reason.
    EXPECT_EQ(failed.failure.file, QString());
    EXPECT_EQ(failed.failure.reason, QStringLiteral("'abc' is not a valid integer value"));
    EXPECT_TRUE(outputFiles().isEmpty());
    job.width = QStringLiteral("96");
    job.sequence = QStringLiteral("x1");
    EXPECT_TRUE(go({QStringLiteral("a.jpg")}).failed);
    job.namingOption = NamingOption::PreName;
    EXPECT_FALSE(go({QStringLiteral("a.jpg")}).failed);
    EXPECT_EQ(outputFiles(), QStringList{QStringLiteral("Thumba.jpg")});
}

// Overwrite off: existing thumbnails stay, are entered but not counted.
TEST_F(RunTest, OverwriteOffLeavesExistingTargets)
{
    QStringList names;
    for (int i = 0; i < 5; ++i) {
        names << QStringLiteral("h%1.jpg").arg(i);
        testing::writePicture(input.path() + u'/' + names.back(), 20, 10);
    }
    output.write(QStringLiteral("Thumb002.jpg"), "keep");
    output.write(QStringLiteral("Thumb004.jpg"), "keep");
    job.overwriteFiles = false;
    const RunOutcome outcome = go(names);
    EXPECT_EQ(outcome.completionText, QStringLiteral("Operation complete. 5 files processed."));
    EXPECT_EQ(state.ProcessedCount, 3);
    EXPECT_EQ(testing::readAll(output.path() + QStringLiteral("/Thumb002.jpg")), QByteArray("keep"));
    EXPECT_EQ(state.ProcessedFiles[1].OutputPath, output.path() + QStringLiteral("/Thumb002.jpg"));
}

// A thumbnail whose name is the source's own never replaces the source.
TEST_F(RunTest, ThumbnailNeverReplacesItsSource)
{
    const QString source = testing::writePicture(input.path() + QStringLiteral("/a.jpg"), 40, 30);
    const QByteArray original = testing::readAll(source);
    job.output = input.path();
    job.namingOption = NamingOption::PreName;
    job.thumbQualifierText.clear();
    go({QStringLiteral("a.jpg")});
    EXPECT_EQ(testing::readAll(source), original);
    EXPECT_EQ(state.ProcessedCount, 0);
}

// A second GO with fewer files shrinks the table; kept positions keep
// their values until overwritten.
TEST_F(RunTest, SecondGoWithFewerFiles)
{
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        testing::writePicture(input.path() + u'/' + QLatin1String(name), 20, 10);
    go({QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg")});
    ASSERT_EQ(state.ProcessedFiles.size(), 3u);
    go({QStringLiteral("c.jpg")});
    ASSERT_EQ(state.ProcessedFiles.size(), 1u);
    EXPECT_EQ(state.ProcessedFiles[0].OriginalPath, input.path() + QStringLiteral("/c.jpg"));
    EXPECT_EQ(state.ProcessedCount, 1);
}

// Rename: the list order decides the numbers and each keeps its type text;
// running it again stops at once on the first name.
TEST_F(RunTest, RenameInListOrderAndAgain)
{
    for (const char* name : {"a.jpg", "B.jpg", "c.gif"})
        input.write(QString::fromLatin1(name), QByteArray(name));
    job.thumbnailMode = false;
    const RunOutcome first = go({QStringLiteral("a.jpg"), QStringLiteral("B.jpg"), QStringLiteral("c.gif")});
    EXPECT_EQ(first.kind, RunKindChosen::Rename);
    EXPECT_EQ(first.completionText, QStringLiteral("Operation complete. 3 files processed."));
    EXPECT_EQ(inputFiles(), (QStringList{QStringLiteral("Image001.jpg"), QStringLiteral("Image002.jpg"),
                                         QStringLiteral("Image003.gif")}));
    EXPECT_EQ(testing::readAll(input.path() + QStringLiteral("/Image002.jpg")), QByteArray("B.jpg"));
    EXPECT_EQ(state.ProcessedFiles[2].Width, -1);
    EXPECT_EQ(state.ProcessedFiles[2].OriginalPath, input.path() + QStringLiteral("/Image003.gif"));
    EXPECT_EQ(state.ProcessedFiles[2].OriginalSize, 5);

    view.reports.clear();
    const RunOutcome again =
        go({QStringLiteral("Image001.jpg"), QStringLiteral("Image002.jpg"), QStringLiteral("Image003.gif")});
    EXPECT_EQ(view.reports,
              QStringList{QStringLiteral("Error - duplicate name in folder.  Rename Operation stopped.")});
    EXPECT_EQ(again.completionText, QStringLiteral("Operation Incomplete. 0 files processed."));
    EXPECT_EQ(inputFiles().size(), 3);
}

// A new name taken by a later file stops the run before that file; no
// file is ever replaced.
TEST_F(RunTest, RenameNeverReplacesAFile)
{
    input.write(QStringLiteral("a.jpg"), "first");
    input.write(QStringLiteral("Image002.jpg"), "second");
    job.thumbnailMode = false;
    const RunOutcome outcome = go({QStringLiteral("a.jpg"), QStringLiteral("Image002.jpg")});
    EXPECT_EQ(outcome.completionText, QStringLiteral("Operation Incomplete. 1 files processed."));
    EXPECT_EQ(testing::readAll(input.path() + QStringLiteral("/Image001.jpg")), QByteArray("first"));
    EXPECT_EQ(testing::readAll(input.path() + QStringLiteral("/Image002.jpg")), QByteArray("second"));
}

TEST_F(RunTest, RenameWithNameOptions)
{
    input.write(QStringLiteral("dog.JPG"));
    job.thumbnailMode = false;
    job.namingOption = NamingOption::SufName;
    job.imageQualifierText = QStringLiteral("_small");
    go({QStringLiteral("dog.JPG")});
    EXPECT_EQ(inputFiles(), QStringList{QStringLiteral("dog_small.JPG")});
    job.namingOption = NamingOption::PreName;
    job.imageQualifierText = QStringLiteral("old_");
    go({QStringLiteral("dog_small.JPG")});
    EXPECT_EQ(inputFiles(), QStringList{QStringLiteral("old_dog_small.JPG")});
}

// Plain copy: byte-identical copies under new names, 0 and 5000 bytes.
TEST_F(RunTest, PlainCopyIsByteIdentical)
{
    QByteArray big(5000, '\0');
    for (int i = 0; i < big.size(); ++i)
        big[i] = char(i * 7);
    input.write(QStringLiteral("a.jpg"), big);
    input.write(QStringLiteral("b.gif"), QByteArray());
    job.thumbnailMode = false;
    job.renameOnlyChoice = false;
    job.type = OutputType::NoConversion;
    const RunOutcome outcome = go({QStringLiteral("a.jpg"), QStringLiteral("b.gif")});
    EXPECT_EQ(outcome.kind, RunKindChosen::PlainCopy);
    EXPECT_EQ(outputFiles(), (QStringList{QStringLiteral("Image001.jpg"), QStringLiteral("Image002.gif")}));
    EXPECT_EQ(testing::readAll(output.path() + QStringLiteral("/Image001.jpg")), big);
    EXPECT_EQ(QFileInfo(output.path() + QStringLiteral("/Image002.gif")).size(), 0);
    EXPECT_EQ(state.ProcessedFiles[0].OriginalSize, 5000);
    EXPECT_EQ(state.ProcessedFiles[1].Height, -1);
    EXPECT_EQ(state.ProcessedCount, 2);
}

// Overwrite off keeps an existing target; a copy onto the source itself
// leaves the source whole.
TEST_F(RunTest, PlainCopyOverwriteOffAndOntoItself)
{
    input.write(QStringLiteral("a.jpg"), "source");
    output.write(QStringLiteral("Image001.jpg"), "existing");
    job.thumbnailMode = false;
    job.renameOnlyChoice = false;
    job.type = OutputType::NoConversion;
    job.overwriteFiles = false;
    go({QStringLiteral("a.jpg")});
    EXPECT_EQ(testing::readAll(output.path() + QStringLiteral("/Image001.jpg")), QByteArray("existing"));
    EXPECT_EQ(state.ProcessedCount, 1);

    job.overwriteFiles = true;
    job.output = input.path();
    job.namingOption = NamingOption::PreName;
    job.imageQualifierText.clear();
    const RunOutcome outcome = go({QStringLiteral("a.jpg")});
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(testing::readAll(input.path() + QStringLiteral("/a.jpg")), QByteArray("source"));
}

// A plain copy whose source has gone is a processing error and leaves no
// partial target.
TEST_F(RunTest, PlainCopyOfAMissingSource)
{
    job.thumbnailMode = false;
    job.renameOnlyChoice = false;
    job.type = OutputType::NoConversion;
    const RunOutcome outcome = go({QStringLiteral("gone.jpg")});
    EXPECT_TRUE(outcome.failed);
    EXPECT_TRUE(outputFiles().isEmpty());
}

// Convert keeps the pixel size; every output type opens with our reader.
TEST_F(RunTest, ConvertToEveryType)
{
    testing::writePicture(input.path() + QStringLiteral("/photo.gif"), 64, 48);
    testing::writePicture(input.path() + QStringLiteral("/pic.bmp"), 33, 17);
    job.thumbnailMode = false;
    job.renameOnlyChoice = false;
    job.namingOption = NamingOption::SufName;
    job.imageQualifierText = QStringLiteral("_c");
    for (const char* type : {"jpg", "gif", "bmp", "emf", "wmf"}) {
        job.type = outputTypeFromText(QString::fromLatin1(type));
        const RunOutcome outcome = go({QStringLiteral("photo.gif"), QStringLiteral("pic.bmp")});
        EXPECT_EQ(outcome.kind, RunKindChosen::Convert);
        EXPECT_TRUE(outcome.complete);
        EXPECT_EQ(state.ProcessedCount, 2);
        const QString converted = output.path() + QStringLiteral("/photo_c.") + QLatin1String(type);
        EXPECT_EQ(sizeOf(converted), QSize(64, 48)) << type;
        EXPECT_EQ(sizeOf(output.path() + QStringLiteral("/pic_c.") + QLatin1String(type)), QSize(33, 17)) << type;
        EXPECT_EQ(state.ProcessedFiles[0].Width, 64);
        EXPECT_EQ(state.ProcessedFiles[0].Height, 48);
        EXPECT_EQ(state.ProcessedFiles[0].OutputPath, converted);
    }
    job.overwriteFiles = false;
    go({QStringLiteral("photo.gif")});
    EXPECT_EQ(state.ProcessedCount, 0);
    job.type = outputTypeFromText(QStringLiteral("png"));
    go({QStringLiteral("photo.gif")});
    EXPECT_EQ(state.ProcessedFiles[0].OutputPath, output.path() + QStringLiteral("/photo_c"));
}

}  // namespace
}  // namespace tessaly
