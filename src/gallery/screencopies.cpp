#include "gallery/screencopies.h"

#include "gallery/gallerywriter.h"
#include "imaging/encoders.h"
#include "imaging/picture.h"
#include "imaging/resample.h"
#include "platform/fileops.h"
#include "platform/paths.h"

#include <QFile>
#include <QFileInfo>
#include <QSize>
#include <algorithm>
#include <cstdint>

namespace tessaly {

namespace {

bool isJpegName(const QString& name)
{
    return name.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String(".jpeg"), Qt::CaseInsensitive);
}

// The copy's size: the long side kScreenSide, the other in proportion.
QSize screenSize(int width, int height)
{
    const bool wide = width >= height;
    const int longSide = wide ? width : height, shortSide = wide ? height : width;
    const int scaled = std::max(1, int((std::int64_t(shortSide) * kScreenSide + longSide / 2) / longSide));
    return wide ? QSize(kScreenSide, scaled) : QSize(scaled, kScreenSide);
}

}  // namespace

QString screenCopyName(const QString& originalName)
{
    return isJpegName(originalName) ? originalName : originalName + QStringLiteral(".jpg");
}

ScreenCopy makeScreenCopy(const QString& originalPath, const QString& copyPath)
{
    ScreenCopy copy;
    QByteArray bytes;
    {
        QFile file(originalPath);
        if (!file.open(QIODevice::ReadOnly))
            return copy;
        bytes = file.readAll();
    }
    copy.details = readPhotoDetails(bytes);
    const QFileInfo original(originalPath), existing(copyPath);
    if (existing.exists() && existing.lastModified() > original.lastModified()) {
        copy.made = true;
        return copy;
    }
    Picture picture;
    try {
        picture = decodePicture(bytes, paths::fileNameOf(originalPath), PhotoOptions{true});
    } catch (const Error&) {
        return copy;
    }
    bytes.clear();
    if (std::max(picture.width(), picture.height()) <= kScreenSide) {
        // A copy left from a larger picture of the same name would be shown
        // instead of this one.
        QFile::remove(copyPath);
        return copy;
    }
    const QSize size = screenSize(picture.width(), picture.height());
    Bitmap work, resample;
    DrawToBitmap(work, picture);
    picture = Picture();
    try {
        QualityResize(work, resample, size.width(), size.height());
    } catch (const ResizeError&) {
        return copy;  // a picture one pixel high: the original serves
    }
    JpegOutput jpeg;
    jpeg.setQuality(90);
    jpeg.assign(work);
    if (!makeFolders(paths::folderOf(copyPath)))
        throw GalleryError(QStringLiteral("Cannot make the folder %1").arg(paths::folderOf(copyPath)));
    if (const Status written = writeWholeFile(copyPath, jpeg.fileBytes()); written.failed())
        throw GalleryError(QStringLiteral("Cannot write %1: %2").arg(copyPath, written.reason()));
    copy.made = true;
    return copy;
}

}  // namespace tessaly
