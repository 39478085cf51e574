#include "imaging/picture.h"

#include "imaging/codecs/bmpcodec.h"
#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/gifcodec.h"
#include "imaging/codecs/jpegcodec.h"

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
    return PictureKind::None;
}

Picture Picture::fromRaster(PictureKind kind, Bitmap raster)
{
    Picture picture;
    picture.m_kind = kind;
    picture.m_width = raster.width();
    picture.m_height = raster.height();
    picture.m_raster = std::move(raster);
    return picture;
}

Picture Picture::fromMetafile(QByteArray bytes, MetafileFormat format)
{
    Picture picture;
    picture.m_kind = PictureKind::Metafile;
    readMetafileSize(bytes, format, picture.m_width, picture.m_height);
    picture.m_metafile = std::move(bytes);
    picture.m_metafileFormat = format;
    return picture;
}

Bitmap Picture::render(int width, int height) const
{
    if (m_kind == PictureKind::Metafile)
        return renderMetafile(m_metafile, m_metafileFormat, width, height);
    Bitmap target(width, height);
    if (width == m_width && height == m_height) {
        target = m_raster;
        return target;
    }
    if (m_raster.isEmpty())
        return target;
    // Colour on colour: every target pixel takes one source pixel, so rows
    // and columns are dropped or repeated and nothing is averaged.
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in =
            m_raster.row(int(std::int64_t(y) * m_height / std::max(height, 1)));
        std::uint8_t* out = target.row(y);
        for (int x = 0; x < width; ++x)
            std::memcpy(out + x * 3, in + std::int64_t(x) * m_width / width * 3, 3);
    }
    return target;
}

Picture decodePicture(const QByteArray& bytes, const QString& name)
{
    try {
        switch (pictureKindForName(name)) {
        case PictureKind::Jpeg: return Picture::fromRaster(PictureKind::Jpeg, decodeJpeg(bytes));
        case PictureKind::Gif: return Picture::fromRaster(PictureKind::Gif, decodeGif(bytes));
        case PictureKind::Bmp: return Picture::fromRaster(PictureKind::Bmp, decodeBmp(bytes));
        case PictureKind::Metafile:
            return Picture::fromMetafile(bytes, QFileInfo(name).suffix().toLower() == QLatin1String("emf")
                                                    ? MetafileFormat::Enhanced
                                                    : MetafileFormat::Windows);
        case PictureKind::None: break;
        }
    } catch (const CodecError& error) {
        throw LoadError(error.what());
    } catch (const std::bad_alloc&) {
        throw LoadError("not enough memory for the picture");
    }
    throw LoadError("unknown picture type");
}

Picture LoadPicture(const QString& path)
{
    if (pictureKindForName(path) == PictureKind::None)
        throw LoadError("unknown picture type");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw LoadError(file.errorString().toStdString());
    if (file.size() > std::numeric_limits<int>::max())
        throw LoadError("file too large");
    const QByteArray bytes = file.readAll();
    return decodePicture(bytes, path);
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

std::int32_t fileSizeOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw LoadError("file not found");
    return std::int32_t(info.size());
}

}  // namespace tessaly
