#include "imaging/codecs/gifcodec.h"
#include "imaging/codecs/jpegcodec.h"
#include "imaging/encoders.h"
#include "imaging/picture.h"
#include "support/imagingtesttools.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

#include "imaging/workingpictures.h"

namespace tessaly {
namespace {

using testing::makeBitmap;
using testing::pixelAt;
using testing::Rgb;

Bitmap photoLike(int width, int height)
{
    return makeBitmap(width, height, [](int x, int y) {
        return Rgb{(x * 7 + y * 3) % 256, (x * x + y * 5) % 256, (x * y + 40) % 256};
    });
}

// JPEG output: a baseline JFIF stream at the slider's quality that our
// reader opens; quality 100 makes the larger file.
TEST(EncodeJpeg, QualityAndJfif)
{
    const Bitmap picture = photoLike(64, 48);
    JpegOutput low, high;
    EncodeJpeg(low, picture, 10);
    EncodeJpeg(high, picture, 100);
    const QByteArray lowBytes = low.fileBytes(), highBytes = high.fileBytes();
    EXPECT_LT(lowBytes.size(), highBytes.size());
    EXPECT_EQ(highBytes.mid(6, 4), QByteArray("JFIF"));
    EXPECT_EQ(std::uint8_t(highBytes[0]), 0xFF);
    // Baseline: a start-of-frame marker SOF0 and no progressive SOF2.
    EXPECT_TRUE(highBytes.contains(QByteArray("\xFF\xC0", 2)));
    EXPECT_FALSE(highBytes.contains(QByteArray("\xFF\xC2", 2)));
    const Bitmap back = decodeJpeg(highBytes);
    EXPECT_EQ(back.width(), 64);
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(pixelAt(back, 10, 10)[std::size_t(c)], pixelAt(picture, 10, 10)[std::size_t(c)], 6);
    EXPECT_EQ(high.quality(), 100);
}

// The JPEG stream libjpeg makes from RGB rows with the same settings: the
// encoder feeds its blue-green-red rows directly and must not change a byte.
QByteArray jpegFromRgbRows(const Bitmap& bitmap, int quality)
{
    return testing::compressJpeg(
        bitmap.width(), bitmap.height(), 3, JCS_RGB,
        [quality](jpeg_compress_struct& info) { jpeg_set_quality(&info, quality, TRUE); },
        [&bitmap](int y, unsigned char* rgb) {
            const std::uint8_t* in = bitmap.row(y);
            for (int x = 0; x < bitmap.width(); ++x) {
                rgb[x * 3] = in[x * 3 + 2];
                rgb[x * 3 + 1] = in[x * 3 + 1];
                rgb[x * 3 + 2] = in[x * 3];
            }
        });
}

TEST(EncodeJpeg, SameBytesAsFromRgbRows)
{
    const Bitmap picture = photoLike(61, 37);
    for (int quality : {1, 50, 75, 90, 100}) {
        JpegOutput output;
        EncodeJpeg(output, picture, quality);
        EXPECT_EQ(output.fileBytes(), jpegFromRgbRows(picture, quality)) << quality;
    }
}

int coloursInUse(const QByteArray& gif)
{
    const Bitmap bitmap = decodeGif(gif);
    std::set<Rgb> colours;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            colours.insert(pixelAt(bitmap, x, y));
    return int(colours.size());
}

// GIF output: at most 236 colours for a colourful picture; a picture of few
// colours keeps only those (and its colour map holds only those).
TEST(EncodeGif, PaletteFromTheQuantiser)
{
    GifOutput output;
    EncodeGif(output, photoLike(80, 60));
    EXPECT_LE(coloursInUse(output.fileBytes()), 236);
    EXPECT_GT(coloursInUse(output.fileBytes()), 100);

    const Bitmap two = makeBitmap(32, 16, [](int x, int) { return x < 16 ? Rgb{255, 255, 255} : Rgb{0, 0, 0}; });
    EncodeGif(output, two);
    const QByteArray bytes = output.fileBytes();
    // The screen descriptor's colour-map size bits: 2 entries.
    EXPECT_EQ(std::uint8_t(bytes[10]) & 0x07, 0);
    // The quantiser's colours are the averages of its colour boxes, so they
    // stand within a few steps of the picture's own.
    const Bitmap back = decodeGif(bytes);
    EXPECT_EQ(coloursInUse(bytes), 2);
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(pixelAt(back, 2, 2)[std::size_t(c)], 255, 4);
        EXPECT_NEAR(pixelAt(back, 30, 2)[std::size_t(c)], 0, 4);
    }
}

// The overwrite rule: with it off an existing file is left as it is and
// nothing counts as written; with it on the file is replaced.
TEST(SaveOutput, OverwriteRule)
{
    testing::TempFolder temp;
    const QString path = temp.write(QStringLiteral("Thumb001.jpg"), "old");
    JpegOutput output;
    EncodeJpeg(output, photoLike(8, 8), 90);
    EXPECT_FALSE(SaveOutput(output, path, false));
    EXPECT_EQ(testing::readAll(path), QByteArray("old"));
    EXPECT_TRUE(SaveOutput(output, path, true));
    EXPECT_EQ(testing::readAll(path).left(2), QByteArray("\xFF\xD8", 2));
    EXPECT_TRUE(SaveOutput(output, temp.path() + QStringLiteral("/new.jpg"), false));
}

// A write that fails raises an error naming the file and leaves nothing
// behind that looks like a finished picture.
TEST(SaveOutput, FailedWriteLeavesNoFile)
{
    testing::TempFolder temp;
    JpegOutput output;
    EncodeJpeg(output, photoLike(8, 8), 90);
    const QString missing = temp.path() + QStringLiteral("/no/such/folder/a.jpg");
    try {
        SaveOutput(output, missing, true);
        ADD_FAILURE() << "no error";
    } catch (const WriteError& error) {
        EXPECT_TRUE(QString::fromStdString(error.what()).contains(missing));
    }
    if (::geteuid() != 0) {
        const QString locked = temp.makeFolder(QStringLiteral("locked"));
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        EXPECT_THROW(SaveOutput(output, locked + QStringLiteral("/a.jpg"), true), WriteError);
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files).size(), 0);
}

// Runs `body` as an ordinary user (in a child process when the tests run
// as root, since root may write anywhere); whether it returned true.
template <typename Body>
bool asOrdinaryUser(Body body)
{
    if (::geteuid() != 0)
        return body();
    const pid_t child = ::fork();
    if (child == 0) {
        const bool ok = ::setgid(65534) == 0 && ::setuid(65534) == 0 && body();
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Guards overwriting in folders the user cannot write: in a folder the user
// cannot create files in, an existing writable thumbnail is still overwritten
// (in place).
TEST(SaveOutput, ReadOnlyFolderOverwritesInPlace)
{
    testing::TempFolder temp;
    const QString folder = temp.makeFolder(QStringLiteral("out"));
    const QString path = temp.write(QStringLiteral("out/Thumb001.jpg"), "old thumbnail");
    const auto all = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                     QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    const auto browse = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                        QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
    QFile::setPermissions(temp.path(), browse | QFileDevice::WriteOwner);
    QFile::setPermissions(folder, browse);
    QFile::setPermissions(path, all);
    JpegOutput output;
    EncodeJpeg(output, photoLike(8, 8), 90);
    EXPECT_TRUE(asOrdinaryUser([&] {
        try {
            return SaveOutput(output, path, true);
        } catch (const WriteError&) {
            return false;
        }
    }));
    EXPECT_EQ(testing::readAll(path), output.fileBytes());
    // A new file cannot be made there: a clear error.
    EXPECT_TRUE(asOrdinaryUser([&] {
        try {
            SaveOutput(output, folder + QStringLiteral("/Thumb002.jpg"), true);
            return false;
        } catch (const WriteError&) {
            return true;
        }
    }));
    QFile::setPermissions(folder, browse | QFileDevice::WriteOwner);
}

// Guards the output on a full disk: the write is an error and no file stays
// under the final name (needs root to make a small file system; skipped else).
TEST(SaveOutput, FullDiskLeavesNothing)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "making a small file system needs root";
    testing::TempFolder temp;
    const QString disk = temp.makeFolder(QStringLiteral("disk"));
    const QByteArray mountPoint = QFile::encodeName(disk);
    if (::system(("mount -t tmpfs -o size=64k tmpfs '" + mountPoint + "' 2>/dev/null").constData()) != 0)
        GTEST_SKIP() << "cannot mount a small file system";
    GifOutput big;
    big.setBytes(QByteArray(200000, 'x'));
    const QString path = disk + QStringLiteral("/Thumb001.gif");
    EXPECT_THROW(SaveOutput(big, path, true), WriteError);
    EXPECT_EQ(QDir(disk).entryList(QDir::Files | QDir::Hidden).size(), 0);
    // An older thumbnail of the same name stays as it was.
    const QByteArray old(1000, 'o');
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(old), old.size());
    }
    EXPECT_THROW(SaveOutput(big, path, true), WriteError);
    EXPECT_EQ(testing::readAll(path), old);
    EXPECT_EQ(QDir(disk).entryList(QDir::Files | QDir::Hidden).size(), 1);
    // The message names the system's reason, for every output type.
    const Bitmap picture = photoLike(200, 200);
    const BitmapOutput bitmap(picture);
    try {
        SaveOutput(bitmap, disk + QStringLiteral("/Thumb002.bmp"), true);
        ADD_FAILURE() << "written";
    } catch (const WriteError& error) {
        EXPECT_TRUE(error.message().endsWith(QStringLiteral("No space left on device")))
            << error.message().toStdString();
    }
    EXPECT_EQ(::system(("umount '" + mountPoint + "'").constData()), 0);
}

// Every output type written opens with our reader at the same size.
TEST(Encoders, EveryOutputTypeReadsBack)
{
    testing::TempFolder temp;
    const Bitmap picture = photoLike(30, 20);
    WorkingPictures pictures;
    EncodeJpeg(pictures.OutputJpeg, picture, 90);
    SaveOutput(pictures.OutputJpeg, temp.path() + QStringLiteral("/a.jpg"), true);
    EncodeGif(pictures.OutputGif, picture);
    SaveOutput(pictures.OutputGif, temp.path() + QStringLiteral("/a.gif"), true);
    pictures.OutputMetafile.setEnhanced(true);
    EncodeMetafile(pictures.OutputMetafile, picture);
    SaveOutput(pictures.OutputMetafile, temp.path() + QStringLiteral("/a.emf"), true);
    pictures.OutputMetafile.setEnhanced(false);
    EncodeMetafile(pictures.OutputMetafile, picture);
    SaveOutput(pictures.OutputMetafile, temp.path() + QStringLiteral("/a.wmf"), true);
    SaveOutput(BitmapOutput(picture), temp.path() + QStringLiteral("/a.bmp"), true);
    for (const char* name : {"a.jpg", "a.gif", "a.emf", "a.wmf", "a.bmp"}) {
        const Picture back = LoadPicture(temp.path() + u'/' + QLatin1String(name));
        EXPECT_EQ(back.width(), 30) << name;
        EXPECT_EQ(back.height(), 20) << name;
    }
    Bitmap bmp;
    DrawToBitmap(bmp, LoadPicture(temp.path() + QStringLiteral("/a.bmp")));
    EXPECT_EQ(bmp, picture);
}

}  // namespace
}  // namespace tessaly
