#include "filetools/picturerotation.h"
#include "filetools/preview.h"
#include "imaging/codecs/bmpcodec.h"
#include "imaging/codecs/jpegcodec.h"
#include "imaging/codecs/photocodec.h"
#include "imaging/encoders.h"
#include "imaging/rotation.h"
#include "platform/filenames.h"
#include "platform/fileops.h"
#include "support/imagingtesttools.h"
#include "support/tempfolder.h"
#include "support/testpictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

namespace tessaly {
namespace {

using testing::pixelAt;
using testing::Rgb;

// Four solid blocks, so that the corners survive JPEG and palette coding.
const Rgb kBlocks[2][2] = {{{220, 30, 30}, {30, 200, 40}}, {{30, 40, 210}, {230, 220, 40}}};
constexpr int kW = 32, kH = 16;

Bitmap blockPicture()
{
    return testing::makeBitmap(kW, kH, [](int x, int y) { return kBlocks[y * 2 / kH][x * 2 / kW]; });
}

QString writeAs(const QString& path, const Bitmap& bitmap, int jpegQuality = 95)
{
    if (path.endsWith(QLatin1String(".gif"))) {
        GifOutput gif;
        EncodeGif(gif, bitmap);
        SaveOutput(gif, path, true);
    } else if (path.endsWith(QLatin1String(".bmp"))) {
        SaveOutput(BitmapOutput(bitmap), path, true);
    } else if (PhotoFormat photo{}; photoFormatOf(pictureKindForName(path), photo)) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(encodePhoto(bitmap, photo, jpegQuality));
    } else {
        JpegOutput jpeg;
        EncodeJpeg(jpeg, bitmap, jpegQuality);
        SaveOutput(jpeg, path, true);
    }
    return path;
}

bool closeTo(Rgb a, Rgb b, int tolerance)
{
    for (int i = 0; i < 3; ++i)
        if (std::abs(a[i] - b[i]) > tolerance)
            return false;
    return true;
}

// The first start of a rotation: "First select a file to be rotated" only
// when files are listed and none is selected; an empty preview ends it
// silently; otherwise the overwrite question.
TEST(PictureRotation, StartsByTheListAndThePreview)
{
    const struct {
        int listed, selected;
        bool picture;
        RotationStart start;
    } rows[] = {
        {3, 0, true, RotationStart::SelectFirst},    {3, 0, false, RotationStart::SelectFirst},
        {3, 1, false, RotationStart::NothingToTurn}, {3, 2, true, RotationStart::AskToOverwrite},
        {0, 0, true, RotationStart::AskToOverwrite}, {0, 0, false, RotationStart::NothingToTurn},
    };
    for (const auto& row : rows)
        EXPECT_EQ(rotationStart(row.listed, row.selected, row.picture), row.start)
            << row.listed << ' ' << row.selected << ' ' << row.picture;
}

// A JPEG, a GIF, a BMP and each photo format turned either way keep their
// kind, swap their sides, and carry each corner block to where the quarter
// turn puts it; a name that is not UTF-8 is written by its own bytes.
TEST(PictureRotation, TurnsRasterPicturesBothWaysAndKeepsTheirKind)
{
    testing::TempFolder folder;
    const struct {
        const char* name;
        QByteArray magic;
        int tolerance;
    } kinds[] = {{"p.jpg", "\xff\xd8\xff", 40}, {"p.gif", "GIF8", 12}, {"p.bmp", "BM", 0},
                 {"p.png", "\x89PNG", 0},         {"p.tif", "II*", 0},    {"p.webp", "WEBP", 30},
                 {"p.heic", "ftypheic", 30},      {"p.avif", "ftypavif", 30}, {"caf\xe9.jpg", "\xff\xd8\xff", 40}};
    for (const auto& kind : kinds)
        for (const TurnDirection direction : {TurnDirection::Clockwise, TurnDirection::CounterClockwise}) {
            SCOPED_TRACE(std::string(kind.name) + (direction == TurnDirection::Clockwise ? " cw" : " ccw"));
            const QString name = decodeFileName(kind.name);
            const QString path = writeAs(folder.path() + u'/' + name, blockPicture());
            const PreviewResult preview = previewListItem(folder.path(), name);
            ASSERT_EQ(preview.outcome, PreviewResult::Outcome::Loaded);

            const TurnedPicture turned = turnPicture(preview.picture, direction, 90);
            replaceFileContents(path, turned.fileBytes);

            QFile file;
            ASSERT_TRUE(openForReading(file, path).ok());
            EXPECT_TRUE(file.readAll().left(12).contains(kind.magic));
            file.close();
            const Picture reloaded = LoadPicture(path);
            EXPECT_EQ(reloaded.kind(), preview.picture.kind());
            ASSERT_EQ(reloaded.width(), kH);
            ASSERT_EQ(reloaded.height(), kW);
            // What the preview shows afterwards is what the file holds.
            EXPECT_EQ(turned.picture.raster(), reloaded.raster());
            for (int by = 0; by < 2; ++by)
                for (int bx = 0; bx < 2; ++bx) {
                    const int x = bx * kW / 2 + kW / 4, y = by * kH / 2 + kH / 4;
                    const int tx = direction == TurnDirection::Clockwise ? kH - 1 - y : y;
                    const int ty = direction == TurnDirection::Clockwise ? x : kW - 1 - x;
                    EXPECT_TRUE(closeTo(pixelAt(reloaded.raster(), tx, ty), kBlocks[by][bx], kind.tolerance))
                        << "block " << bx << ',' << by;
                }
            EXPECT_TRUE(removeFile(path));
        }
}

// A file that the turned picture alone cannot stand for (further pages or
// an animation's frames, transparent parts, more than 8 bits a channel) is
// refused with a message, before anything is written.
TEST(PictureRotation, RefusesPhotosItCannotWriteBackWhole)
{
    testing::TempFolder folder;
    QImage clear(8, 4, QImage::Format_ARGB32);
    clear.fill(qRgba(0, 0, 0, 0));
    const QString png = folder.path() + QStringLiteral("/clear.png");
    ASSERT_TRUE(clear.save(png, "png"));
    const QString tiff = folder.write(QStringLiteral("pages.tif"), testing::tiffPages({blockPicture(), Bitmap(4, 4)}));
    // 16 bits a channel, which the turned picture would cut to 8.
    QImage deep(8, 4, QImage::Format_RGBX64);
    deep.fill(QColor::fromRgba64(1000, 20000, 40000));
    const QString deepPng = folder.path() + QStringLiteral("/deep.png");
    const QString deepTiff = folder.path() + QStringLiteral("/deep.tif");
    ASSERT_TRUE(deep.save(deepPng, "png"));
    ASSERT_TRUE(deep.save(deepTiff, "tiff"));
    QImage grey(8, 4, QImage::Format_Grayscale16);
    grey.fill(QColor::fromRgba64(30000, 30000, 30000));
    const QString greyPng = folder.path() + QStringLiteral("/grey16.png");
    ASSERT_TRUE(grey.save(greyPng, "png"));
    // An animation: the GIF writer would keep its first frame only.
    testing::GifRecipe frames;
    frames.pixels.assign(16, 1);
    frames.globalColours = {{0, 0, 0}, {250, 10, 10}};
    frames.frames = 2;
    const QString animated = folder.write(QStringLiteral("frames.gif"), testing::makeGif(frames));
    const struct {
        QString path;
        const char* reason;
    } rows[] = {{animated, "more than one picture"},
                {png, "transparent parts"},
                {tiff, "more than one picture"},
                {deepPng, "more than 8 bits"},
                {deepTiff, "more than 8 bits"},
                {greyPng, "more than 8 bits"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path.toStdString());
        const QByteArray before = testing::readAll(row.path);
        try {
            turnPicture(LoadPicture(row.path), TurnDirection::Clockwise, 90);
            ADD_FAILURE() << "turned";
        } catch (const Error& error) {
            EXPECT_TRUE(error.message().contains(QLatin1String(row.reason))) << error.message().toStdString();
            EXPECT_TRUE(error.message().contains(QLatin1String("left as it was")));
        }
        EXPECT_EQ(testing::readAll(row.path), before);
    }
}

// A BMP comes back pixel for pixel after a turn each way, and after four
// clockwise turns.
TEST(PictureRotation, BitmapTurnsAreExact)
{
    const Picture original = Picture::fromRaster(PictureKind::Bmp, testing::makeBitmap(5, 3, [](int x, int y) {
                                                     return Rgb{x * 40, y * 90, x * y};
                                                 }));
    const Picture back =
        turnPicture(turnPicture(original, TurnDirection::Clockwise, 90).picture, TurnDirection::CounterClockwise, 90)
            .picture;
    EXPECT_EQ(back.raster(), original.raster());
    Picture turned = original;
    for (int i = 0; i < 4; ++i)
        turned = turnPicture(turned, TurnDirection::Clockwise, 90).picture;
    EXPECT_EQ(turned.raster(), original.raster());
}

// A JPEG written at quality 95 and turned with the slider at 90 is written
// at 90: exactly the bytes our encoder makes of the turned pixels.
TEST(PictureRotation, JpegIsRecompressedAtTheGivenQuality)
{
    testing::TempFolder folder;
    const QString path = writeAs(folder.path() + QStringLiteral("/q.jpg"), blockPicture(), 95);
    const Picture picture = LoadPicture(path);
    const TurnedPicture turned = turnPicture(picture, TurnDirection::Clockwise, 90);
    EXPECT_EQ(turned.fileBytes, jfifBytes(rotateClockwise(picture.raster()), 90));
    EXPECT_NE(turned.fileBytes, jfifBytes(rotateClockwise(picture.raster()), 95));
}

// A 256-colour BMP is written back as a 24-bit BMP with the turned pixels.
TEST(PictureRotation, PaletteBitmapBecomesTwentyFourBits)
{
    testing::TempFolder folder;
    const QString path = folder.write(QStringLiteral("eight.bmp"), testing::readTestFile(QStringLiteral("bmp8.bmp")));
    const Picture picture = LoadPicture(path);
    replaceFileContents(path, turnPicture(picture, TurnDirection::CounterClockwise, 90).fileBytes);
    const QByteArray written = testing::readAll(path);
    ASSERT_GT(written.size(), 30);
    EXPECT_EQ(std::uint8_t(written[28]) | std::uint8_t(written[29]) << 8, 24);
    EXPECT_EQ(decodeBmp(written), rotateCounterClockwise(picture.raster()));
}

// A metafile stays a metafile of its own format, holding the turned picture.
TEST(PictureRotation, MetafilesKeepTheirFormat)
{
    testing::TempFolder folder;
    for (const QString& name : {QStringLiteral("m.emf"), QStringLiteral("m.wmf")}) {
        SCOPED_TRACE(name.toStdString());
        const QString path = testing::writePicture(folder.path() + u'/' + name, 40, 20);
        const Picture picture = LoadPicture(path);
        const TurnedPicture turned = turnPicture(picture, TurnDirection::Clockwise, 90);
        replaceFileContents(path, turned.fileBytes);
        const Picture reloaded = LoadPicture(path);
        EXPECT_EQ(reloaded.kind(), PictureKind::Metafile);
        EXPECT_EQ(reloaded.metafileFormat(), picture.metafileFormat());
        EXPECT_EQ(reloaded.width(), 20);
        EXPECT_EQ(reloaded.height(), 40);
        Bitmap before, after;
        DrawToBitmap(before, picture);
        DrawToBitmap(after, reloaded);
        EXPECT_EQ(after, rotateClockwise(before));
    }
}

// Keeps the process from writing files beyond `bytes` while it lives; a
// write past it fails with EFBIG instead of ending the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};

// A write that fails half-way (here: the file size limit, as a full disk
// would) reports the file and leaves the original byte for byte, with no
// temporary file left behind.
TEST(PictureRotation, FailedWriteLeavesTheOriginalIntact)
{
    testing::TempFolder folder;
    const QString path = writeAs(folder.path() + QStringLiteral("/keep.bmp"), blockPicture());
    const QByteArray before = testing::readAll(path);
    const QByteArray turned = turnPicture(LoadPicture(path), TurnDirection::Clockwise, 90).fileBytes;
    try {
        FileSizeLimit limit(std::size_t(before.size()) / 2);
        replaceFileContents(path, turned);
        ADD_FAILURE() << "the write should have failed";
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Cannot write ") + path))
            << error.message().toStdString();
    }
    EXPECT_EQ(testing::readAll(path), before);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("keep.bmp")});
}

// A read-only file is not replaced (even though the folder would allow it),
// a file that is gone is not made anew, and a replaced file keeps its
// permissions.
TEST(PictureRotation, WritesRespectTheFileAndItsFolder)
{
    testing::TempFolder folder;
    const QString locked = folder.write(QStringLiteral("locked.jpg"), "old bytes");
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    EXPECT_THROW(replaceFileContents(locked, "new bytes"), Error);
    EXPECT_EQ(testing::readAll(locked), QByteArray("old bytes"));

    EXPECT_THROW(replaceFileContents(folder.path() + QStringLiteral("/gone/x.jpg"), "new"), Error);
    EXPECT_THROW(replaceFileContents(folder.path() + QStringLiteral("/renamed.jpg"), "new"), Error);
    EXPECT_FALSE(QFileInfo::exists(folder.path() + QStringLiteral("/renamed.jpg")));

    const QString shared = folder.write(QStringLiteral("shared.jpg"), "old bytes");
    const auto mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    QFile::setPermissions(shared, mode);
    replaceFileContents(shared, "new bytes");
    EXPECT_EQ(testing::readAll(shared), QByteArray("new bytes"));
    EXPECT_EQ(QFile::permissions(shared) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser),
              mode);
}

// In a folder that takes no new files the temporary file cannot be made, so
// a writable file there is written in place. (Root may create files in any
// folder: this runs as an ordinary user only.)
TEST(PictureRotation, WritesInPlaceWhereTheFolderTakesNoNewFiles)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may create files in any folder";
    testing::TempFolder folder;
    const QString path = folder.write(QStringLiteral("w.jpg"), "old bytes");
    const QString sub = folder.makeFolder(QStringLiteral("locked"));
    const QString inside = folder.write(QStringLiteral("locked/w.jpg"), "old bytes");
    const auto readOnlyFolder = QFileDevice::ReadOwner | QFileDevice::ExeOwner;
    ASSERT_TRUE(QFile::setPermissions(sub, readOnlyFolder));
    replaceFileContents(inside, "new bytes");
    EXPECT_EQ(testing::readAll(inside), QByteArray("new bytes"));
    EXPECT_EQ(QDir(sub).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("w.jpg")});
    QFile::setPermissions(sub, readOnlyFolder | QFileDevice::WriteOwner);
    EXPECT_EQ(testing::readAll(path), QByteArray("old bytes"));
}

}  // namespace
}  // namespace tessaly
