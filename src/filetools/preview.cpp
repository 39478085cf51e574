#include "filetools/preview.h"

#include "imaging/codecs/bmpcodec.h"
#include "imaging/codecs/codecerror.h"
#include "platform/paths.h"

#include <array>

namespace tessaly {

namespace {

PreviewResult load(const QString& path, const QString& failureName, const QString& shownPath, const PhotoOptions& photo,
                   QSize shown)
{
    PreviewResult result;
    result.path = path;
    try {
        result.picture = LoadPictureToShow(path, photo, shown, result.fullSize);
    } catch (const LoadError&) {
        result.outcome = PreviewResult::Outcome::Failed;
        result.message = QStringLiteral("Could not open ") + failureName;
        return result;
    }
    result.outcome = PreviewResult::Outcome::Loaded;
    result.information = imageInformation(shownPath, result.fullSize.width(), result.fullSize.height());
    return result;
}

}  // namespace

bool isPreviewableName(const QString& path)
{
    static const std::array<QString, 13> endings = {
        QStringLiteral(".JPG"),  QStringLiteral("JPEG"), QStringLiteral(".GIF"), QStringLiteral(".BMP"),
        QStringLiteral(".WMF"),  QStringLiteral(".EMF"), QStringLiteral(".PNG"), QStringLiteral("WEBP"),
        QStringLiteral(".TIF"),  QStringLiteral("TIFF"), QStringLiteral("HEIC"), QStringLiteral("HEIF"),
        QStringLiteral("AVIF"),
    };
    const QString last = path.right(4).toUpper();
    for (const QString& ending : endings)
        if (last == ending)
            return true;
    return false;
}

QString imageInformation(const QString& path, int width, int height)
{
    return path + QStringLiteral(" - W: ") + QString::number(width) + QStringLiteral(", H: ") + QString::number(height);
}

PreviewResult previewListItem(const QString& folder, const QString& name, const PhotoOptions& photo, QSize shown)
{
    const QString path = paths::join(folder, name);
    if (!isPreviewableName(path)) {
        PreviewResult ignored;
        ignored.path = path;
        return ignored;
    }
    return load(path, path, path, photo, shown);
}

PreviewResult previewSourceEntry(const QString& folder, const QString& shownFolder, const QString& name,
                                 const PhotoOptions& photo, QSize shown)
{
    return load(paths::join(folder, name), name, paths::join(shownFolder, name), photo, shown);
}

QImage displayImage(const Picture& picture)
{
    if (picture.isEmpty())
        return {};
    Bitmap bitmap;
    try {
        DrawToBitmap(bitmap, picture);
    } catch (const CodecError&) {
        return {};
    }
    return imageFromBitmap(bitmap);
}

}  // namespace tessaly
