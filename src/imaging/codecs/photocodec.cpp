#include "imaging/codecs/photocodec.h"

#include "imaging/codecs/bmpcodec.h"
#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/heifcodec.h"
#include "imaging/codecs/heifitems.h"
#include "imaging/codecs/photochunks.h"
#include "imaging/codecs/photodecoderwire.h"
#include "imaging/codecs/photoformatinfo.h"
#include "imaging/codecs/sizecheck.h"
#include "imaging/codecs/tiffchecks.h"
#include "imaging/photo/exifreader.h"
#include "platform/fileops.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImage>
#include <QImageIOHandler>
#include <QImageReader>
#include <QImageWriter>
#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>

namespace tessaly {

namespace {

// EXIF orientation numbers for Qt's transformations (the inverse of Qt's
// own table in QImageReader).
int exifOrientation(QImageIOHandler::Transformations transformation)
{
    switch (int(transformation)) {
    case QImageIOHandler::TransformationMirror: return 2;
    case QImageIOHandler::TransformationRotate180: return 3;
    case QImageIOHandler::TransformationFlip: return 4;
    case QImageIOHandler::TransformationFlipAndRotate90: return 5;
    case QImageIOHandler::TransformationRotate90: return 6;
    case QImageIOHandler::TransformationMirrorAndRotate90: return 7;
    case QImageIOHandler::TransformationRotate270: return 8;
    default: return 1;
    }
}

// A picture with an alpha channel laid on white: each colour weighed by its
// opacity, the rest white.
void onWhite(const QImage& image, DecodedPhoto& photo)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    if (argb.isNull())
        throw CodecError("not enough memory for the picture");
    Bitmap& bitmap = photo.bitmap;
    bitmap.resize(argb.width(), argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        std::uint8_t* out = bitmap.row(y);
        for (int x = 0; x < argb.width(); ++x) {
            const int alpha = qAlpha(in[x]);
            if (alpha < 255)
                photo.transparent = true;
            const auto blend = [alpha](int colour) {
                return std::uint8_t((colour * alpha + 255 * (255 - alpha) + 127) / 255);
            };
            out[x * 3] = blend(qBlue(in[x]));
            out[x * 3 + 1] = blend(qGreen(in[x]));
            out[x * 3 + 2] = blend(qRed(in[x]));
        }
    }
}

const char* qtFormat(PhotoFormat format)
{
    switch (format) {
    case PhotoFormat::Png: return "png";
    case PhotoFormat::Webp: return "webp";
    default: return "tiff";
    }
}

DecodedPhoto decodeWithQt(const QByteArray& bytes, PhotoFormat format)
{
    const QString name = QString::fromLatin1(photoDisplayName(format));
    bool animatedPng = false;
    // Qt reports the orientation of TIFF files only; PNG and WebP keep it
    // in an EXIF block of their own.
    QByteArray exif;
    const ByteSource source = memorySource(bytes);
    if (format == PhotoFormat::Png) {
        const PngLayout layout = checkedPngChunks(source, bytes.size());
        animatedPng = layout.animated;
        exif = layout.exif;
    } else if (format == PhotoFormat::Webp) {
        checkRiffLength(source, bytes.size());
        exif = webpExif(source, bytes.size());
    }
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, qtFormat(format));
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);
    // First: Qt's TIFF handler counts the pages by opening the file again
    // from the device's current position, which later calls move.
    const int pictures = reader.imageCount();
    if (!reader.canRead())
        throw CodecError(QStringLiteral("not a %1 file").arg(name));
    // The header alone: nothing is allocated for the pixels yet.
    const QSize size = reader.size();
    if (!size.isValid())
        throw CodecError(QStringLiteral("%1 file has no readable header").arg(name));
    checkClaimedSize(size.width(), size.height(), bytes.size(), photoPixelsPerByte(format), photoDisplayName(format));
    // Qt's plugins allocate through QImageIOHandler::allocateImage, which
    // refuses more than this many MiB: room for the checked size at 16 bits
    // a channel with alpha, and no more.
    const std::int64_t mebibytes = (std::int64_t(size.width()) * size.height() * 8 >> 20) + 1;
    reader.setAllocationLimit(int(std::min<std::int64_t>(mebibytes, INT_MAX)));
    QImage image;
    // Damaged data counts as damaged, not as grey pixels (tiffchecks.h).
    std::optional<TiffDamageWatch> damage;
    if (format == PhotoFormat::Tiff)
        damage.emplace();
    if (!reader.read(&image) || image.isNull()) {
        const std::optional<QString> why = format == PhotoFormat::Tiff ? tiffRefusalReason(bytes) : std::nullopt;
        throw CodecError(QStringLiteral("%1 file cannot be read: %2").arg(name, why.value_or(reader.errorString())));
    }
    if (damage && damage->damage())
        throw CodecError(QStringLiteral("%1 data is damaged or cut short (%2)").arg(name, *damage->damage()));
    if (image.size() != size)
        throw CodecError(QStringLiteral("%1 picture does not have the size its header claims").arg(name));

    DecodedPhoto photo;
    photo.metadata.orientation =
        format == PhotoFormat::Tiff ? exifOrientation(reader.transformation()) : readExif(exif).orientation;
    if (image.colorSpace().isValid())
        photo.metadata.iccProfile = image.colorSpace().iccProfile();
    photo.morePictures = pictures > 1 || animatedPng;
    photo.deepColour = image.depth() > 32 || image.format() == QImage::Format_Grayscale16 ||
                       image.format() == QImage::Format_BGR30 || image.format() == QImage::Format_RGB30 ||
                       image.format() == QImage::Format_A2BGR30_Premultiplied ||
                       image.format() == QImage::Format_A2RGB30_Premultiplied;
    if (image.hasAlphaChannel())
        onWhite(image, photo);
    else
        photo.bitmap = bitmapFromImage(image);
    return photo;
}

QByteArray encodeWithQt(const Bitmap& bitmap, PhotoFormat format, int quality, const QByteArray& iccProfile)
{
    const QString name = QString::fromLatin1(photoDisplayName(format));
    QImage image = imageFromBitmap(bitmap);
    if (!iccProfile.isEmpty()) {
        const QColorSpace space = QColorSpace::fromIccProfile(iccProfile);
        if (space.isValid())
            image.setColorSpace(space);
    }
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, qtFormat(format));
    if (format == PhotoFormat::Webp)
        writer.setQuality(std::clamp(quality, 1, 99));  // 100 would switch Qt's writer to lossless
    if (format == PhotoFormat::Tiff)
        writer.setCompression(1);  // LZW
    if (!writer.write(image))
        throw CodecError(QStringLiteral("cannot write the picture as %1: %2").arg(name, writer.errorString()));
    return out;
}

}  // namespace

DecodedPhoto decodePhotoHere(const QByteArray& bytes, PhotoFormat format)
{
    try {
        if (format == PhotoFormat::Heif || format == PhotoFormat::Avif)
            return decodeWithLibheif(bytes, format);
        return decodeWithQt(bytes, format);
    } catch (const std::bad_alloc&) {
        throw CodecError("not enough memory for the picture");
    } catch (const std::length_error&) {
        throw CodecError("picture too large to hold");
    }
}

PhotoBlocks photoBlocks(const QByteArray& bytes, PhotoFormat format)
{
    PhotoBlocks blocks;
    const ByteSource source = memorySource(bytes);
    try {
        if (format == PhotoFormat::Png) {
            const PngLayout layout = checkedPngChunks(source, bytes.size());
            blocks.exif = layout.exif;
            blocks.iccProfile = pngProfile(layout.compressedProfile);
            blocks.xmp = pngXmp(layout.xmpText);
        } else if (format == PhotoFormat::Webp) {
            checkRiffLength(source, bytes.size());
            blocks.exif = webpChunk(source, bytes.size(), "EXIF");
            blocks.iccProfile = webpChunk(source, bytes.size(), "ICCP");
            blocks.xmp = webpChunk(source, bytes.size(), "XMP ");
        } else if (format == PhotoFormat::Heif || format == PhotoFormat::Avif) {
            const HeifPhotoInformation found = findHeifPhotoInformation(
                reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
            blocks.exif = QByteArray(reinterpret_cast<const char*>(found.exif.data()), qsizetype(found.exif.size()));
            blocks.iccProfile =
                QByteArray(reinterpret_cast<const char*>(found.iccProfile.data()), qsizetype(found.iccProfile.size()));
            blocks.xmp = QByteArray(reinterpret_cast<const char*>(found.xmp.data()), qsizetype(found.xmp.size()));
        }
    } catch (const CodecError&) {
    }
    // A block behind the header JPEG files give it counts as the block.
    if (blocks.exif.startsWith(QByteArray("Exif\0\0", 6)))
        blocks.exif.remove(0, 6);
    return blocks;
}

std::optional<PhotoHeader> readPhotoHeader(const ByteSource& read, std::int64_t size, PhotoFormat format)
{
    std::optional<QSize> stored;
    PhotoHeader header;
    switch (format) {
    case PhotoFormat::Png: {
        const PngLayout layout = checkedPngChunks(read, size);
        stored = pngHeaderSize(layout.header);
        header.orientation = readExif(layout.exif).orientation;
        break;
    }
    case PhotoFormat::Webp:
        checkRiffLength(read, size);
        stored = webpSize(read, size);
        header.orientation = readExif(webpExif(read, size)).orientation;
        break;
    case PhotoFormat::Tiff:
        if (const std::optional<TiffFirstDirectory> directory = readTiffFirstDirectory(read, size)) {
            if (directory->refusal)
                throw CodecError(*directory->refusal);
            stored = QSize(directory->width, directory->height);
            header.orientation = directory->orientation;
        }
        break;
    case PhotoFormat::Heif:
    case PhotoFormat::Avif: {
        // libheif reads the boxes of the file whole; decoding is what costs.
        // A file larger than loading reads is left to loading to refuse.
        if (size > INT_MAX)
            return std::nullopt;
        const QByteArray bytes = read(0, size);
        if (bytes.size() != size)
            return std::nullopt;
        stored = heifPictureSize(bytes, format);
        break;
    }
    }
    if (!stored)
        return std::nullopt;
    checkClaimedSize(stored->width(), stored->height(), size, photoPixelsPerByte(format), photoDisplayName(format));
    header.width = stored->width();
    header.height = stored->height();
    return header;
}

QByteArray encodePhoto(const Bitmap& bitmap, PhotoFormat format, int quality, const QByteArray& iccProfile,
                       const QByteArray& exif)
{
    if (bitmap.isEmpty())
        throw CodecError("cannot write an empty picture");
    if (format == PhotoFormat::Heif || format == PhotoFormat::Avif)
        return encodeWithLibheif(bitmap, format, quality, iccProfile, exif);
    const QByteArray written = encodeWithQt(bitmap, format, quality, iccProfile);
    return format == PhotoFormat::Png && !exif.isEmpty() ? withPngExif(written, exif) : written;
}

const char* photoFormatWord(PhotoFormat format)
{
    switch (format) {
    case PhotoFormat::Png: return "png";
    case PhotoFormat::Webp: return "webp";
    case PhotoFormat::Tiff: return "tiff";
    case PhotoFormat::Heif: return "heif";
    case PhotoFormat::Avif: return "avif";
    }
    return "";
}

bool photoFormatFromWord(const char* word, PhotoFormat& format)
{
    for (PhotoFormat candidate :
         {PhotoFormat::Png, PhotoFormat::Webp, PhotoFormat::Tiff, PhotoFormat::Heif, PhotoFormat::Avif})
        if (std::strcmp(word, photoFormatWord(candidate)) == 0) {
            format = candidate;
            return true;
        }
    return false;
}

int runPhotoDecoder(PhotoFormat format)
{
    QByteArray bytes;
    if (!readAll(0, bytes))
        return 2;
    DecodedPhoto photo;
    try {
        photo = decodePhotoHere(bytes, format);
    } catch (const CodecError& error) {
        // The reason goes back as the only output after a zero header.
        const QByteArray reason = error.message().toUtf8().left(1024);
        const DecoderWireHeader header = DecoderWireHeader::failure(std::int32_t(reason.size()));
        const bool told = writeAll(1, reinterpret_cast<const char*>(&header), sizeof header) &&
                          writeAll(1, reason.constData(), reason.size());
        return told ? 0 : 2;
    }
    const DecoderWireHeader header = DecoderWireHeader::of(photo);
    if (!writeAll(1, reinterpret_cast<const char*>(&header), sizeof header) ||
        !writeAll(1, photo.metadata.iccProfile.constData(), photo.metadata.iccProfile.size()))
        return 2;
    for (int y = 0; y < photo.bitmap.height(); ++y)
        if (!writeAll(1, reinterpret_cast<const char*>(photo.bitmap.row(y)), photo.bitmap.rowBytes()))
            return 2;
    return 0;
}

}  // namespace tessaly
