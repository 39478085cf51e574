#include "imaging/picture.h"

#include "imaging/codecs/bmpcodec.h"
#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/gifcodec.h"
#include "imaging/codecs/jpegcodec.h"
#include "imaging/photo/jpegmetadata.h"
#include "imaging/photo/orientation.h"
#include "imaging/photo/photoadjust.h"
#include "imaging/resample.h"
#include "platform/fileops.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <limits>

namespace tessaly {

PictureKind pictureKindForName(const QString& name)
{
    const QString extension = QFileInfo(name).suffix().toLower();
    if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg"))
        return PictureKind::Jpeg;
    if (extension == QLatin1String("gif"))
        return PictureKind::Gif;
    if (extension == QLatin1String("bmp"))
        return PictureKind::Bmp;
    if (extension == QLatin1String("emf") || extension == QLatin1String("wmf"))
        return PictureKind::Metafile;
    if (extension == QLatin1String("png"))
        return PictureKind::Png;
    if (extension == QLatin1String("webp"))
        return PictureKind::Webp;
    if (extension == QLatin1String("tif") || extension == QLatin1String("tiff"))
        return PictureKind::Tiff;
    if (extension == QLatin1String("heic") || extension == QLatin1String("heif"))
        return PictureKind::Heif;
    if (extension == QLatin1String("avif"))
        return PictureKind::Avif;
    return PictureKind::None;
}

bool photoFormatOf(PictureKind kind, PhotoFormat& format)
{
    switch (kind) {
    case PictureKind::Png: format = PhotoFormat::Png; return true;
    case PictureKind::Webp: format = PhotoFormat::Webp; return true;
    case PictureKind::Tiff: format = PhotoFormat::Tiff; return true;
    case PictureKind::Heif: format = PhotoFormat::Heif; return true;
    case PictureKind::Avif: format = PhotoFormat::Avif; return true;
    default: return false;
    }
}

Picture Picture::fromRaster(PictureKind kind, Bitmap raster, PhotoMetadata metadata)
{
    Picture picture;
    picture.m_kind = kind;
    picture.m_width = raster.width();
    picture.m_height = raster.height();
    picture.m_raster = std::move(raster);
    picture.m_metadata = std::move(metadata);
    return picture;
}

Picture Picture::fromPhoto(PictureKind kind, DecodedPhoto photo)
{
    Picture picture = fromRaster(kind, std::move(photo.bitmap), std::move(photo.metadata));
    picture.m_morePictures = photo.morePictures;
    picture.m_transparent = photo.transparent;
    picture.m_deepColour = photo.deepColour;
    return picture;
}

Bitmap Picture::takeRaster()
{
    Bitmap raster = std::move(m_raster);
    m_raster = Bitmap();
    return raster;
}

void Picture::putAdjustedRaster(Bitmap raster)
{
    m_width = raster.width();
    m_height = raster.height();
    m_raster = std::move(raster);
    m_metadata = PhotoMetadata();
}

Picture Picture::fromMetafile(QByteArray bytes, MetafileFormat format)
{
    Picture picture;
    picture.m_kind = PictureKind::Metafile;
    // Every record is checked before anything plays the file back; a file
    // cut short or damaged cannot be opened.
    QByteArray checked = checkedMetafile(bytes, format);
    readMetafileSize(checked, format, picture.m_width, picture.m_height);
    picture.m_metafile = std::move(checked);
    picture.m_metafileFormat = format;
    return picture;
}

Bitmap Picture::render(int width, int height) const
{
    if (m_kind == PictureKind::Metafile) {
        // A metafile that cannot be played back is one that cannot be
        // opened, like any other damaged file.
        try {
            return renderMetafile(m_metafile, m_metafileFormat, width, height);
        } catch (const CodecError& error) {
            throw LoadError(error.message());
        } catch (const std::bad_alloc&) {
            throw LoadError("not enough memory for the picture");
        }
    }
    return stretchNearest(m_raster, width, height);
}

// The picture as the file stores it, with the metadata its decoder reports.
static Picture decodeStored(const QByteArray& bytes, const QString& name)
{
    try {
        const PictureKind kind = pictureKindForName(name);
        PhotoFormat photo{};
        if (photoFormatOf(kind, photo))
            return Picture::fromPhoto(kind, decodePhoto(bytes, photo));
        switch (kind) {
        case PictureKind::Jpeg:
            return Picture::fromRaster(PictureKind::Jpeg, decodeJpeg(bytes), readJpegMetadata(bytes));
        case PictureKind::Gif: {
            DecodedPhoto gif;
            gif.bitmap = decodeGif(bytes, &gif.morePictures);
            return Picture::fromPhoto(PictureKind::Gif, std::move(gif));
        }
        case PictureKind::Bmp: return Picture::fromRaster(PictureKind::Bmp, decodeBmp(bytes));
        case PictureKind::Metafile:
            return Picture::fromMetafile(bytes, QFileInfo(name).suffix().toLower() == QLatin1String("emf")
                                                    ? MetafileFormat::Enhanced
                                                    : MetafileFormat::Windows);
        default: break;
        }
    } catch (const CodecError& error) {
        throw LoadError(error.message());
    } catch (const std::bad_alloc&) {
        throw LoadError("not enough memory for the picture");
    }
    throw LoadError("unknown picture type");
}

Picture decodePicture(const QByteArray& bytes, const QString& name, const PhotoOptions& photo)
{
    Picture stored = decodeStored(bytes, name);
    try {
        return adjustPhoto(std::move(stored), photo);
    } catch (const std::bad_alloc&) {
        throw LoadError("not enough memory for the picture");
    }
}

Picture LoadPicture(const QString& path, const PhotoOptions& photo, std::int64_t* sizeWhenOpened)
{
    if (pictureKindForName(path) == PictureKind::None)
        throw LoadError("unknown picture type");
    // Opened once and read no further than its size then: a name swapped
    // for a pipe or a device is refused, and saying so.
    QByteArray bytes;
    if (const Status read = readSourceFile(path, bytes, std::numeric_limits<int>::max(), sizeWhenOpened); read.failed())
        throw LoadError(read.reason());
    return decodePicture(bytes, path, photo);
}

Picture LoadPictureToShow(const QString& path, const PhotoOptions& photo, QSize shown, QSize& fullSize)
{
    if (pictureKindForName(path) != PictureKind::Jpeg || shown.isEmpty()) {
        Picture picture = LoadPicture(path, photo);
        fullSize = QSize(picture.width(), picture.height());
        return picture;
    }
    QByteArray bytes;
    if (const Status read = readSourceFile(path, bytes, std::numeric_limits<int>::max()); read.failed())
        throw LoadError(read.reason());
    try {
        PhotoMetadata metadata = readJpegMetadata(bytes);
        const bool turned = photo.turnUpright && swapsSides(metadata.orientation);
        int width = 0, height = 0;
        readJpegSize(bytes, width, height);
        // The view's sides as the stored picture's: a quarter turn swaps them.
        const QSize view = turned ? shown.transposed() : shown;
        Bitmap reduced = decodeJpegReduced(bytes, view.width(), view.height());
        fullSize = turned ? QSize(height, width) : QSize(width, height);
        return adjustPhoto(Picture::fromRaster(PictureKind::Jpeg, std::move(reduced), std::move(metadata)), photo);
    } catch (const CodecError& error) {
        throw LoadError(error.message());
    } catch (const std::bad_alloc&) {
        throw LoadError("not enough memory for the picture");
    }
}

void DrawToBitmap(Bitmap& bitmap, const Picture& picture)
{
    if (picture.kind() == PictureKind::Metafile) {
        bitmap = picture.render(picture.width(), picture.height());
        return;
    }
    bitmap = picture.raster();
}

void DrawToBitmap(Bitmap& bitmap, const Bitmap& source)
{
    if (&bitmap != &source)
        bitmap = source;
}

std::int64_t fileSizeOf(const QString& path)
{
    const std::optional<std::int64_t> size = fileSize(path);
    if (!size)
        throw LoadError("file not found");
    return *size;
}

}  // namespace tessaly
