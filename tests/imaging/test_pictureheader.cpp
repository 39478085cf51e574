// Picture sizes read from headers, for the dry run: whenever the header
// gives a size it is the size loading the picture gives (upright when
// photos are turned), and where the header cannot tell, none.
#include "imaging/codecs/bmpcodec.h"
#include "imaging/codecs/metafilecodec.h"
#include "imaging/photo/jpegmetadata.h"
#include "imaging/picture.h"
#include "imaging/pictureheader.h"
#include "support/imagingtesttools.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>
#include <jpeglib.h>

namespace tessaly {
namespace {

using testing::Rgb;

Bitmap pattern(int width, int height)
{
    return testing::makeBitmap(width, height, [](int x, int y) { return Rgb{x * 5 % 256, y * 3 % 256, 90}; });
}

QByteArray progressiveJpeg(int width, int height)
{
    return testing::compressJpeg(
        width, height, 3, JCS_RGB, [](jpeg_compress_struct& info) { jpeg_simple_progression(&info); },
        [width](int y, unsigned char* row) {
            for (int x = 0; x < width * 3; ++x)
                row[x] = static_cast<unsigned char>(x + y);
        });
}

struct HeaderCase {
    const char* name;  // the file name, whose extension says the kind
    QByteArray bytes;
    bool fromHeader;  // the header tells the size (else: loaded, or refused)
};

TEST(PictureSizeFromHeader, IsTheLoadedSizeOrNone)
{
    const QByteArray jpeg = testing::makeJpeg(pattern(300, 200), false);
    // 300 kB of metadata in front of the frame, as a camera's preview.
    QByteArray metadata;
    for (int i = 0; i < 5; ++i)
        metadata += QByteArray("\xff\xe1\xff\xff", 4) + QByteArray(65533, char(0x11));
    QByteArray claiming = jpeg;
    const qsizetype frame = claiming.indexOf("\xff\xc0");
    ASSERT_GT(frame, 0);
    for (const int at : {5, 7}) {
        claiming[frame + at] = char(30000 >> 8);
        claiming[frame + at + 1] = char(30000 & 255);
    }
    testing::GifRecipe gif;
    gif.screenWidth = 120;
    gif.screenHeight = 160;
    gif.width = gif.height = 4;
    gif.pixels.assign(16, 0);
    gif.globalColours = {{0, 0, 0}, {255, 255, 255}};
    const QByteArray bmp = encodeBmp(pattern(91, 61));

    std::vector<HeaderCase> cases = {
        {"behind-metadata.jpg", jpeg.left(2) + metadata + jpeg.mid(2), true},
        {"progressive.jpeg", progressiveJpeg(333, 517), true},
        {"screen.gif", testing::makeGif(gif), true},
        {"plain.bmp", bmp, true},
        {"picture.emf", encodeEmf(pattern(40, 30)), false},
        {"claims-too-much.jpg", claiming, false},
        {"not-a-jpeg.jpg", QByteArray("GIF89a but not really"), false},
        {"no-scan.jpg", jpeg.left(frame + 10), false},
        {"cut-short.bmp", bmp.left(bmp.size() / 2), false},
        {"empty.gif", QByteArray(), false},
    };
    for (int orientation = 1; orientation <= 8; ++orientation)
        cases.push_back({"tagged.jpg", withJpegMetadata(jpeg, {orientation, {}}, orientation > 4), true});

    testing::TempFolder folder;
    for (const HeaderCase& c : cases) {
        const QString path = folder.write(QString::fromLatin1(c.name), c.bytes);
        for (const bool turn : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (turn ? " turned" : " as stored") + " " +
                         std::to_string(readJpegMetadata(c.bytes).orientation));
            const std::optional<QSize> header = pictureSizeFromHeader(path, PhotoOptions{turn});
            ASSERT_EQ(header.has_value(), c.fromHeader);
            if (!header)
                continue;
            const Picture loaded = LoadPicture(path, PhotoOptions{turn});
            EXPECT_EQ(*header, QSize(loaded.width(), loaded.height()));
        }
    }
    EXPECT_FALSE(pictureSizeFromHeader(folder.path() + "/missing.jpg", {}));
}

}  // namespace
}  // namespace tessaly
