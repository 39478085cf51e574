#include "filetools/preview.h"
#include "support/cameraphoto.h"
#include "support/imagingtesttools.h"
#include "support/tempfolder.h"
#include "support/testpictures.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

using Outcome = PreviewResult::Outcome;

// Every picture format previews with its kind and dimensions, and the image
// information is the path, " - W: ", the width, ", H: ", the height.
TEST(Preview, LoadsEveryFormatWithItsDimensions)
{
    testing::TempFolder folder;
    struct Row {
        const char* name;
        PictureKind kind;
    };
    const Row rows[] = {
        {"a.jpg", PictureKind::Jpeg}, {"b.JPEG", PictureKind::Jpeg},    {"c.gif", PictureKind::Gif},
        {"d.bmp", PictureKind::Bmp},  {"e.emf", PictureKind::Metafile}, {"f.WMF", PictureKind::Metafile},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = testing::writePicture(folder.path() + u'/' + QLatin1String(row.name), 64, 48);
        const PreviewResult result = previewListItem(folder.path(), QLatin1String(row.name));
        ASSERT_EQ(result.outcome, Outcome::Loaded);
        EXPECT_EQ(result.picture.kind(), row.kind);
        EXPECT_EQ(result.path, path);
        EXPECT_EQ(result.information, path + QStringLiteral(" - W: 64, H: 48"));
        const QImage shown = displayImage(result.picture);
        EXPECT_EQ(shown.size(), QSize(64, 48));
    }
}

// Only names ending in .JPG, JPEG, .GIF, .BMP, .WMF or .EMF (any case), or
// in a photo format's ending, are previewed; others are passed over without
// a message.
TEST(Preview, ChoosesFilesByTheirLastFourCharacters)
{
    const struct {
        const char* name;
        bool previewed;
    } rows[] = {
        {"picture.jpeg", true},
        {"picture.JPG", true},
        {"x.Gif", true},
        {"x.bmp", true},
        {"x.wmf", true},
        {"x.EMF", true},
        {"picture.tif", true},
        {"picture.TIFF", true},
        {"phone.heic", true},
        {"x.png", true},
        {"x.webp", true},
        {"x.avif", true},
        {"layers.psd", false},
        {"notes.txt", false},
        {"jpg", false},
        {"archive.jpg.zip", false},
        {"", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(isPreviewableName(QLatin1String(row.name)), row.previewed) << row.name;

    testing::TempFolder folder;
    folder.write(QStringLiteral("notes.txt"), "hello");
    const PreviewResult ignored = previewListItem(folder.path(), QStringLiteral("notes.txt"));
    EXPECT_EQ(ignored.outcome, Outcome::Ignored);
    EXPECT_TRUE(ignored.message.isEmpty());
    EXPECT_TRUE(ignored.picture.isEmpty());
}

// A damaged or vanished picture in a file list reports "Could not open " with
// the full path and gives no picture.
TEST(Preview, CorruptFileReportsItsFullPath)
{
    testing::TempFolder folder;
    const QString broken = folder.write(QStringLiteral("broken.jpg"), QByteArray("\xff\xd8\xff\xe0 not a jpeg", 16));
    for (const QString& name : {QStringLiteral("broken.jpg"), QStringLiteral("gone.gif")}) {
        const PreviewResult result = previewListItem(folder.path(), name);
        EXPECT_EQ(result.outcome, Outcome::Failed);
        EXPECT_EQ(result.message, QStringLiteral("Could not open ") + folder.path() + u'/' + name);
        EXPECT_TRUE(result.picture.isEmpty());
    }
}

// The source list tries every entry whatever its extension, names only the
// entry when it fails, and shows the folder as the folder label does.
TEST(Preview, SourceEntriesUseTheShownFolder)
{
    testing::TempFolder folder;
    testing::writePicture(folder.path() + QStringLiteral("/ok.bmp"), 10, 7);
    folder.write(QStringLiteral("bad.gif"), "GIF89a");

    const PreviewResult ok = previewSourceEntry(folder.path(), QStringLiteral("/tmp/.../x"), QStringLiteral("ok.bmp"));
    ASSERT_EQ(ok.outcome, Outcome::Loaded);
    EXPECT_EQ(ok.path, folder.path() + QStringLiteral("/ok.bmp"));
    EXPECT_EQ(ok.information, QStringLiteral("/tmp/.../x/ok.bmp - W: 10, H: 7"));

    const PreviewResult bad = previewSourceEntry(folder.path(), folder.path(), QStringLiteral("bad.gif"));
    EXPECT_EQ(bad.outcome, Outcome::Failed);
    EXPECT_EQ(bad.message, QStringLiteral("Could not open bad.gif"));

    // A folder at the root joins with one separator.
    EXPECT_EQ(previewSourceEntry(folder.path(), QStringLiteral("/"), QStringLiteral("ok.bmp")).information,
              QStringLiteral("/ok.bmp - W: 10, H: 7"));
}

// Given the size of its view, a large JPEG is decoded reduced by the largest
// of 1/8, 1/4 and 1/2 that still covers the view both ways (as it is shown,
// upright or not), while the information states the whole picture's size;
// other kinds, and JPEGs too small to reduce, load whole. The reduced
// picture is the whole one in small: its quarters keep their colours where
// they are.
TEST(Preview, LargeJpegsAreDecodedAtTheViewsSize)
{
    const QSize view(97, 84);
    const struct {
        const char* name;
        QSize stored;
        int orientation;
        bool upright;
        QSize picture;  // as reduced (and shown)
        QSize whole;    // as the information states it
    } rows[] = {
        {"photo.jpg", {1600, 1200}, 1, true, {200, 150}, {1600, 1200}},
        {"square.jpg", {700, 700}, 1, true, {175, 175}, {700, 700}},  // an eighth is 88 wide
        {"strip.jpg", {1600, 100}, 1, true, {1600, 100}, {1600, 100}},
        {"small.jpg", {190, 170}, 1, true, {190, 170}, {190, 170}},
        {"portrait.jpg", {1600, 800}, 6, true, {100, 200}, {800, 1600}},
        {"stored.jpg", {1600, 800}, 6, false, {200, 100}, {1600, 800}},
        // Upright 760 wide, 1000 high: an eighth is 95 wide, under the view.
        {"turned.jpg", {1000, 760}, 8, true, {190, 250}, {760, 1000}},
        {"photo.bmp", {1600, 1200}, 1, true, {1600, 1200}, {1600, 1200}},
    };
    testing::TempFolder folder;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const int w = row.stored.width(), h = row.stored.height();
        const Bitmap quarters = testing::makeBitmap(w, h, [w, h](int x, int y) {
            return y < h / 2 ? (x < w / 2 ? testing::Rgb{220, 30, 30} : testing::Rgb{30, 200, 40})
                             : (x < w / 2 ? testing::Rgb{30, 40, 210} : testing::Rgb{230, 220, 40});
        });
        const QString name = QLatin1String(row.name);
        const QString path = name.endsWith(QLatin1String(".bmp"))
                                 ? testing::writePicture(folder.path() + u'/' + name, w, h)
                                 : folder.write(name, testing::cameraJpeg(quarters, row.orientation));
        const PreviewResult result = previewListItem(folder.path(), name, PhotoOptions{row.upright}, view);
        ASSERT_EQ(result.outcome, Outcome::Loaded);
        EXPECT_EQ(QSize(result.picture.width(), result.picture.height()), row.picture);
        EXPECT_EQ(result.fullSize, row.whole);
        EXPECT_EQ(result.reduced(), row.picture != row.whole);
        EXPECT_EQ(result.information,
                  path + QStringLiteral(" - W: %1, H: %2").arg(row.whole.width()).arg(row.whole.height()));

        const Picture whole = LoadPicture(path, PhotoOptions{row.upright});
        ASSERT_EQ(QSize(whole.width(), whole.height()), row.whole);
        for (const double fx : {0.25, 0.75})
            for (const double fy : {0.25, 0.75}) {
                const testing::Rgb small = testing::pixelAt(result.picture.raster(), int(fx * row.picture.width()),
                                                            int(fy * row.picture.height()));
                const testing::Rgb large =
                    testing::pixelAt(whole.raster(), int(fx * row.whole.width()), int(fy * row.whole.height()));
                for (int c = 0; c < 3; ++c)
                    EXPECT_NEAR(small[std::size_t(c)], large[std::size_t(c)], 6) << fx << "," << fy;
            }
    }
}

}  // namespace
}  // namespace tessaly
