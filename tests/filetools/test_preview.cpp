#include "filetools/preview.h"
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

}  // namespace
}  // namespace tessaly
