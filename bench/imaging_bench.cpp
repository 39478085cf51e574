// Loads every JPEG of a folder, resamples it to fit within 96 pixels with
// the quality method and compresses the thumbnail as JPEG at quality 90, as
// a thumbnail run does; prints pictures per second and peak memory.
#include "imaging/encoders.h"
#include "imaging/picture.h"
#include "imaging/resample.h"
#include "imaging/sizing.h"
#include "imaging/workingpictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <cstdio>
#include <sys/resource.h>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: imaging_bench FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QStringList names = folder.entryList({QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")}, QDir::Files, QDir::Name);
    tessaly::WorkingPictures pictures;
    long long pixels = 0, bytes = 0;
    QElapsedTimer clock;
    clock.start();
    for (const QString& name : names) {
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
