#include "filetools/picturerotation.h"

#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/jpegcodec.h"
#include "imaging/encoders.h"
#include "imaging/photo/colourprofile.h"
#include "imaging/photo/jpegmetadata.h"
#include "imaging/photo/jpegturn.h"
#include "imaging/photo/orientation.h"
#include "imaging/photo/photoinformation.h"
#include "imaging/rotation.h"

#include "platform/filenames.h"
#include "platform/fileops.h"

#include <QFileInfo>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tessaly {

RotationStart rotationStart(int listedFiles, int selectedFiles, bool previewHasPicture)
{
    if (listedFiles > 0 && selectedFiles == 0)
        return RotationStart::SelectFirst;
    if (!previewHasPicture)
        return RotationStart::NothingToTurn;
    return RotationStart::AskToOverwrite;
}

namespace {

const QString kMorePicturesRefused =
    QStringLiteral("This file holds more than one picture (pages or frames). Turning it would keep only the first, "
                   "so the file is left as it was.");

// The photo formats are written back with their colour profile; a file
// whose picture cannot be written back whole is refused and left as it is.
TurnedPicture turnedPhoto(const Picture& picture, const Bitmap& turned, int quality, const TurnSource* source)
{
    PhotoFormat format{};
    photoFormatOf(picture.kind(), format);
    if (picture.fileHasMorePictures())
        throw Error(kMorePicturesRefused);
    if (picture.hadTransparency())
        throw Error(QStringLiteral("This picture has transparent parts, which turning it would fill with white, so "
                                   "the file is left as it was."));
    if (picture.hadDeepColour())
        throw Error(QStringLiteral("This picture has more than 8 bits a colour, which turning it would cut to 8, so "
                                   "the file is left as it was."));
    // The photo information of the file goes along, fitted to the turned
    // picture: orientation 1 (it is turned as it was shown), its new size,
    // no thumbnail.
    // The profile goes along while the pixels are in it: the picture's own,
    // or the file's when only turning the picture upright set it aside.
    QByteArray exif;
    QByteArray profile = picture.metadata().iccProfile;
    if (source) {
        const PhotoFileInformation information = readPhotoInformation(source->fileBytes, format);
        InformationChanges changes;
        changes.width = turned.width();
        changes.height = turned.height();
        exif = fittedExif(information.exif, changes).value_or(QByteArray());
        if (profile.isEmpty() && !changesOnWayToSrgb(information.iccProfile))
            profile = information.iccProfile;
    }
    TurnedPicture result;
    try {
        result.fileBytes = encodePhotoWithExif(turned, format, quality, profile, exif);
    } catch (const CodecError& error) {
        throw Error(QStringLiteral("This picture cannot be written back in its own format (%1), so the file is "
                                   "left as it was.")
                        .arg(error.message()));
    }
    result.picture =
        decodePicture(result.fileBytes, QStringLiteral("turned.") + QLatin1String(photoFormatWord(format)));
    return result;
}

// The JPEG file turned as it was shown; none when the file no longer
// holds a picture of the size shown (it changed since it was previewed),
// so that the picture shown is what gets turned.
std::optional<TurnedPicture> turnedJpegFile(const Picture& picture, TurnDirection direction, int quality,
                                            const TurnSource& source)
{
    const PhotoMetadata stored = readJpegMetadata(source.fileBytes);
    const int shownOrientation = source.shownUpright ? stored.orientation : 1;
    int width = 0, height = 0;
    try {
        readJpegSize(source.fileBytes, width, height);
    } catch (const CodecError&) {
        return std::nullopt;
    }
    if (swapsSides(shownOrientation))
        std::swap(width, height);
    if (width != picture.width() || height != picture.height())
        return std::nullopt;
    const TurnedJpeg turned =
        turnJpegFile(source.fileBytes, shownOrientation, direction == TurnDirection::Clockwise ? 1 : 3, quality);
    TurnedPicture result;
    result.fileBytes = turned.fileBytes;
    result.picture = decodePicture(result.fileBytes, QStringLiteral("turned.jpg"));
    return result;
}

}  // namespace

TurnedPicture turnPicture(const Picture& picture, TurnDirection direction, int jpegQuality, const TurnSource* file)
{
    try {
        if (picture.kind() == PictureKind::Jpeg && file)
            if (auto turned = turnedJpegFile(picture, direction, jpegQuality, *file))
                return *turned;
        Bitmap source;
        DrawToBitmap(source, picture);
        const Bitmap turned =
            direction == TurnDirection::Clockwise ? rotateClockwise(source) : rotateCounterClockwise(source);
        TurnedPicture result;
        switch (picture.kind()) {
        case PictureKind::Jpeg: {
            JpegOutput jpeg;
            EncodeJpeg(jpeg, turned, jpegQuality);
            result.fileBytes = jpeg.fileBytes();
            result.picture = decodePicture(result.fileBytes, QStringLiteral("turned.jpg"));
            break;
        }
        case PictureKind::Gif: {
            // The GIF writer makes single-image files: an animation's
            // further frames would be lost.
            if (picture.fileHasMorePictures())
                throw Error(kMorePicturesRefused);
            GifOutput gif;
            EncodeGif(gif, turned);
            result.fileBytes = gif.fileBytes();
            result.picture = decodePicture(result.fileBytes, QStringLiteral("turned.gif"));
            break;
        }
        case PictureKind::Bmp:
            result.fileBytes = BitmapOutput(turned).fileBytes();
            result.picture = Picture::fromRaster(PictureKind::Bmp, turned);
            break;
        case PictureKind::Metafile: {
            MetafileOutput metafile;
            metafile.setEnhanced(picture.metafileFormat() == MetafileFormat::Enhanced);
            EncodeMetafile(metafile, turned);
            result.fileBytes = metafile.fileBytes();
            result.picture = Picture::fromMetafile(result.fileBytes, picture.metafileFormat());
            break;
        }
        case PictureKind::Png:
        case PictureKind::Webp:
        case PictureKind::Tiff:
        case PictureKind::Heif:
        case PictureKind::Avif: result = turnedPhoto(picture, turned, jpegQuality, file); break;
        case PictureKind::None: throw Error(QStringLiteral("There is no picture to turn."));
        }
        return result;
    } catch (const CodecError& error) {
        throw Error(QString::fromStdString(error.what()));
    } catch (const LoadError& error) {
        throw Error(QString::fromStdString(error.what()));
    } catch (const std::bad_alloc&) {
        throw Error(QStringLiteral("Not enough memory to turn the picture."));
    }
}

void replaceFileContents(const QString& path, const QByteArray& bytes)
{
    const auto failure = [&path](const QString& reason) {
        return Error(QStringLiteral("Cannot write %1: %2").arg(displayFileName(path), reason));
    };
    // Asked by the name's bytes: Qt's file classes miss a name that is not
    // UTF-8 (filenames.h).
    const QByteArray name = encodeFileName(path);
    struct stat target {};
    // The picture goes back over its own file only: a file renamed or
    // deleted since it was previewed is not made anew under its old name.
    if (::stat(name.constData(), &target) != 0 || !S_ISREG(target.st_mode))
        throw failure(QStringLiteral("the file no longer exists"));
    // Writing through a temporary file needs only the folder's permission,
    // so without this check a read-only file would be replaced.
    if (::access(name.constData(), W_OK) != 0 || !(target.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)))
        throw failure(QStringLiteral("the file is read-only"));
    if (!isFolder(QFileInfo(path).absolutePath()))
        throw failure(QStringLiteral("the folder does not exist"));
    // Whole or not at all; in a folder that takes no new files the file
    // itself is written, as the only way left (fileops.h).
    if (const Status written = writeWholeFile(path, bytes); written.failed())
        throw failure(written.reason());
}

}  // namespace tessaly
