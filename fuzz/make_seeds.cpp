// Writes small pictures of every kind with the program's own writers into
// the folder given: seeds for the fuzzers beside the files in tests/data.

#include "imaging/codecs/bmpcodec.h"
#include "imaging/codecs/jpegcodec.h"
#include "imaging/codecs/metafilecodec.h"
#include "imaging/codecs/photocodec.h"
#include "imaging/encoders.h"

#include <QFile>
#include <QString>
#include <cstdio>

namespace {

tessaly::Bitmap pattern(int width, int height)
{
    tessaly::Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* pixel = bitmap.row(y) + x * 3;
            pixel[0] = std::uint8_t(x * 20);
            pixel[1] = std::uint8_t(y * 30);
            pixel[2] = std::uint8_t((x ^ y) * 15);
        }
    return bitmap;
}

bool save(const QString& folder, const char* name, const QByteArray& bytes)
{
    QFile file(folder + QLatin1Char('/') + QLatin1String(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds FOLDER\n");
        return 1;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const tessaly::Bitmap small = pattern(7, 5);
    tessaly::GifOutput gif;
    tessaly::EncodeGif(gif, small);
    bool ok = save(folder, "ours.jpg", tessaly::encodeJpeg(small, 75)) && save(folder, "ours.gif", gif.fileBytes()) &&
              save(folder, "ours.bmp", tessaly::encodeBmp(small)) &&
              save(folder, "ours.emf", tessaly::encodeEmf(small)) &&
              save(folder, "ours.wmf", tessaly::encodeWmf(small));
    // The photo formats through Qt's writers and libheif's encoders.
    using tessaly::PhotoFormat;
    ok = ok && save(folder, "ours.png", tessaly::encodePhoto(small, PhotoFormat::Png, 90)) &&
         save(folder, "ours.webp", tessaly::encodePhoto(small, PhotoFormat::Webp, 75)) &&
         save(folder, "ours.tiff", tessaly::encodePhoto(small, PhotoFormat::Tiff, 90)) &&
         save(folder, "ours.heic", tessaly::encodePhoto(small, PhotoFormat::Heif, 50)) &&
         save(folder, "ours.avif", tessaly::encodePhoto(small, PhotoFormat::Avif, 50));
    return ok ? 0 : 1;
}
