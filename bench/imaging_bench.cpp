// Loads every JPEG of a folder, resamples it to fit within 96 pixels with
// the quality method and compresses the thumbnail as JPEG at quality 90, as
// a thumbnail run does; prints pictures per second and peak memory.
//   --rows   decode only the rows the resize reads (JpegThumbnailer)
//   --check  make every thumbnail both ways, with both methods, and say
//            whether they are byte for byte the same (a photo tagged with a
//            camera orientation: the whole decode turned upright, then
//            resized, against the rows turned as they are resized)
#include "imaging/codecs/jpegcodec.h"
#include "imaging/encoders.h"
#include "imaging/jpegthumbnail.h"
#include "imaging/photo/colourprofile.h"
#include "imaging/photo/jpegmetadata.h"
#include "imaging/picture.h"
#include "imaging/resample.h"
#include "imaging/sizing.h"
#include "imaging/workingpictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <sys/resource.h>

namespace {

int checkFolder(const QDir& folder)
{
    const QStringList names =
        folder.entryList({QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")}, QDir::Files, QDir::Name);
    tessaly::JpegThumbnailer thumbnailer;
    int differing = 0;
    for (const QString& name : names) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        const QByteArray data = file.readAll();
        const tessaly::Picture picture = tessaly::decodePicture(data, name);
        const tessaly::PhotoMetadata metadata = tessaly::readJpegMetadata(data);
        if (tessaly::changesOnWayToSrgb(metadata.iccProfile)) {
            // Converted to sRGB by the whole decode only.
            std::printf("skipped %s: its colour profile is converted\n", qPrintable(name));
            continue;
        }
        int storedWidth = 0, storedHeight = 0;
        tessaly::readJpegSize(data, storedWidth, storedHeight);
        for (const int maximum : {96, 200}) {
            const tessaly::TargetSize size = tessaly::FitWithin(picture.width(), picture.height(), maximum);
            for (const bool quality : {false, true}) {
                tessaly::Bitmap whole, scratch, fromRows;
                if (quality) {
                    tessaly::DrawToBitmap(whole, picture);
                    tessaly::QualityResize(whole, scratch, size.width, size.height);
                } else {
                    tessaly::FastResize(whole, picture, size.width, size.height);
                }
                thumbnailer.makeThumbnail(data, storedWidth, storedHeight, size.width, size.height, quality, fromRows,
                                          metadata.orientation);
                const bool same = whole == fromRows;
                differing += same ? 0 : 1;
                std::printf("%s %s orientation %d %dx%d %s\n", same ? "same" : "DIFFERENT", qPrintable(name),
                            metadata.orientation, size.width, size.height, quality ? "quality" : "fast");
            }
        }
    }
    std::printf("%d differing\n", differing);
    return differing == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    const bool rows = arguments.contains(QStringLiteral("--rows"));
    const bool check = arguments.contains(QStringLiteral("--check"));
    if (arguments.isEmpty() || arguments.last().startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: imaging_bench [--rows|--check] FOLDER\n");
        return 2;
    }
    const QDir folder(arguments.last());
    if (check)
        return checkFolder(folder);
    const QStringList names =
        folder.entryList({QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")}, QDir::Files, QDir::Name);
    tessaly::WorkingPictures pictures;
    long long pixels = 0, bytes = 0;
    QElapsedTimer clock;
    clock.start();
    tessaly::JpegThumbnailer thumbnailer;
    for (const QString& name : names) {
        if (rows) {
            QFile file(folder.filePath(name));
            if (!file.open(QIODevice::ReadOnly))
                return 1;
            const QByteArray data = file.readAll();
            int width = 0, height = 0;
            tessaly::readJpegSize(data, width, height);
            pixels += static_cast<long long>(width) * height;
            const tessaly::TargetSize size = tessaly::FitWithin(width, height, 96);
            thumbnailer.makeThumbnail(data, width, height, size.width, size.height, true, pictures.WorkBitmap);
            tessaly::EncodeJpeg(pictures.OutputJpeg, pictures.WorkBitmap, 90);
            bytes += pictures.OutputJpeg.fileBytes().size();
            continue;
        }
        const tessaly::Picture picture = tessaly::LoadPicture(folder.filePath(name));
        pixels += static_cast<long long>(picture.width()) * picture.height();
        const tessaly::TargetSize size = tessaly::FitWithin(picture.width(), picture.height(), 96);
        tessaly::DrawToBitmap(pictures.WorkBitmap, picture);
        tessaly::QualityResize(pictures.WorkBitmap, pictures.ResampleBitmap, size.width, size.height);
        tessaly::EncodeJpeg(pictures.OutputJpeg, pictures.WorkBitmap, 90);
        bytes += pictures.OutputJpeg.fileBytes().size();
    }
    const double seconds = clock.elapsed() / 1000.0;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%lld pictures, %.1f megapixels, %.2f s: %.2f pictures/s, %.1f megapixels/s, "
                "peak memory %.0f MB, thumbnails %lld bytes\n",
                static_cast<long long>(names.size()), pixels / 1e6, seconds, names.size() / seconds,
                pixels / 1e6 / seconds, usage.ru_maxrss / 1024.0, bytes);
    return 0;
}
