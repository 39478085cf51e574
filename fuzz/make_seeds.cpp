// Writes small pictures of every kind with the program's own writers into
// the folder given: seeds for the fuzzers beside the files in tests/data.

#include "imaging/codecs/bmpcodec.h"
#include "imaging/codecs/jpegcodec.h"
#include "imaging/codecs/metafilecodec.h"
#include "imaging/codecs/photocodec.h"
#include "imaging/encoders.h"
#include "imaging/photo/jpegmetadata.h"
#include "imaging/photo/photoinformation.h"

#include <QFile>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <lcms2.h>

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

// A Display P3 profile, as phones embed it.
QByteArray displayP3Profile()
{
    const cmsCIExyY d65{0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries{{0.680, 0.320, 1}, {0.265, 0.690, 1}, {0.150, 0.060, 1}};
    const double parameters[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    cmsToneCurve* curve = cmsBuildParametricToneCurve(nullptr, 4, parameters);
    cmsToneCurve* curves[3] = {curve, curve, curve};
    cmsHPROFILE profile = cmsCreateRGBProfile(&d65, &primaries, curves);
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    QByteArray bytes(qsizetype(size), '\0');
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    cmsFreeToneCurve(curve);
    return bytes;
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
    bool ok = save(folder, "ours.jpg", tessaly::jfifBytes(small, 75)) && save(folder, "ours.gif", gif.fileBytes()) &&
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
    // Photos with an EXIF block (turned) and a profile, in every photo
    // format; the block is the one withJpegMetadata puts in its APP1
    // segment, after the segment's header and "Exif\0\0".
    const QByteArray turned = tessaly::withJpegMetadata(tessaly::jfifBytes(small, 75), {6, {}});
    const QByteArray exif = turned.mid(10, (std::uint8_t(turned[4]) << 8 | std::uint8_t(turned[5])) - 8);
    const struct {
        PhotoFormat format;
        const char* name;
    } photos[] = {{PhotoFormat::Png, "tagged.png"},
                  {PhotoFormat::Webp, "tagged.webp"},
                  {PhotoFormat::Tiff, "tagged.tiff"},
                  {PhotoFormat::Heif, "tagged.heic"},
                  {PhotoFormat::Avif, "tagged.avif"}};
    for (const auto& photo : photos)
        ok = ok && save(folder, photo.name,
                        tessaly::encodePhotoWithExif(small, photo.format, 75, displayP3Profile(), exif));
    // A phone photo: turned, with its profile in two chunks.
    const QByteArray tagged =
        tessaly::withJpegMetadata(tessaly::jfifBytes(small, 75), {6, displayP3Profile()}, true, 300);
    ok = ok && save(folder, "tagged.jpg", tagged) && save(folder, "tagged.exif", tagged);
    return ok ? 0 : 1;
}
