#include "imaging/codecs/photocodec.h"

#include "imaging/codecs/bmpcodec.h"
#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/heifcodec.h"
#include "imaging/codecs/heifitems.h"
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
#include <functional>
#include <optional>
#include <zlib.h>

namespace tessaly {

namespace {

std::uint32_t be32(const QByteArray& bytes, qsizetype at)
{
    const auto byte = [&](qsizetype i) { return std::uint32_t(std::uint8_t(bytes[at + i])); };
    return byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
}

std::uint32_t le32(const QByteArray& bytes, qsizetype at)
{
    const auto byte = [&](qsizetype i) { return std::uint32_t(std::uint8_t(bytes[at + i])); };
    return byte(3) << 24 | byte(2) << 16 | byte(1) << 8 | byte(0);
}

// Real profiles and XMP packets are a few kilobytes; more is not inflated,
// and a larger XMP chunk is not read.
constexpr std::size_t kMostInformationBytes = std::size_t(4) << 20;

// The keyword, ended by its zero, of the iTXt chunk that holds XMP.
const QByteArray kPngXmpKeyword("XML:com.adobe.xmp\0", 18);

// libpng reports a file cut short in its image data only as a warning and
// Qt then keeps the rows it got, so the chunk list is walked first: every
// chunk must lie inside the file, and the end chunk must be there. An
// animation control chunk says the file is an animated PNG, whose further
// frames Qt does not read; an eXIf chunk may give the camera orientation
// (the last one counts).
struct PngLayout {
    QByteArray header;  // the contents of the IHDR chunk
    bool animated = false;
    QByteArray exif;
    // The iCCP chunk's contents: the profile's name, a zero, the method
    // (0: deflate) and the compressed profile.
    QByteArray compressedProfile;
    // The contents of the first iTXt chunk holding XMP.
    QByteArray xmpText;
    // Where the first image data chunk starts.
    qsizetype firstImageData = 0;
};

PngLayout checkedPngChunks(const ByteSource& read, std::int64_t size)
{
    if (size < 8 || read(0, 8) != QByteArrayLiteral("\x89PNG\r\n\x1a\n"))
        throw CodecError("not a PNG file");
    PngLayout layout;
    std::int64_t at = 8;
    bool first = true;
    // Each chunk moves the walk on by at least 12 bytes, so it ends.
    while (true) {
        const QByteArray head = read(at, 8);
        if (size - at < 12 || head.size() < 8)
            throw CodecError("PNG file is cut short");
        const std::uint32_t length = be32(head, 0);
        const QByteArray type = head.mid(4, 4);
        if (length > 0x7fffffffu || std::int64_t(length) > size - at - 12)
            throw CodecError("PNG file is cut short");
        if (first && type != "IHDR")
            throw CodecError("PNG file does not start with its header");
        if (first)
            layout.header = read(at + 8, length);
        first = false;
        if (type == "acTL")
            layout.animated = true;
        if (type == "eXIf")
            layout.exif = read(at + 8, length);
        if (type == "iCCP" && layout.compressedProfile.isEmpty())
            layout.compressedProfile = read(at + 8, length);
        if (type == "iTXt" && layout.xmpText.isEmpty() && length >= std::uint32_t(kPngXmpKeyword.size()) &&
            length <= kMostInformationBytes && read(at + 8, kPngXmpKeyword.size()) == kPngXmpKeyword)
            layout.xmpText = read(at + 8, length);
        if (type == "IDAT" && layout.firstImageData == 0)
            layout.firstImageData = qsizetype(at);
        if (type == "IEND")
            return layout;
        at += 12 + std::int64_t(length);
    }
}

// The size in a PNG's IHDR chunk, when libpng takes the chunk: 13 bytes,
// each side from 1 to libpng's default limit of a million pixels, a bit
// depth its colour type allows, and the only compression, filter and
// interlace methods there are.
std::optional<QSize> pngHeaderSize(const QByteArray& header)
{
    if (header.size() != 13)
        return std::nullopt;
    const std::uint32_t width = be32(header, 0), height = be32(header, 4);
    const int depth = std::uint8_t(header[8]), colour = std::uint8_t(header[9]);
    constexpr std::uint32_t kLibpngMaxSide = 1000000;
    if (width == 0 || height == 0 || width > kLibpngMaxSide || height > kLibpngMaxSide)
        return std::nullopt;
    const bool depthFits = (colour == 0 && (depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16)) ||
                           (colour == 3 && (depth == 1 || depth == 2 || depth == 4 || depth == 8)) ||
                           ((colour == 2 || colour == 4 || colour == 6) && (depth == 8 || depth == 16));
    if (!depthFits || header[10] != 0 || header[11] != 0 || std::uint8_t(header[12]) > 1)
        return std::nullopt;
    return QSize(int(width), int(height));
}

// A WebP file is one RIFF chunk whose length its header gives; a file
// shorter than that has lost its end.
void checkRiffLength(const ByteSource& read, std::int64_t size)
{
    const QByteArray head = read(0, 12);
    if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WEBP")
        throw CodecError("not a WebP file");
    if (std::int64_t(le32(head, 4)) + 8 > size)
        throw CodecError("WebP file is cut short");
}

// The chunks of a WebP file after its header, in order, each with where
// its contents start and their length, until `visit` returns false or a
// chunk does not fit in the file.
void walkWebpChunks(const ByteSource& read, std::int64_t size,
                    const std::function<bool(const QByteArray& type, std::int64_t at, std::int64_t length)>& visit)
{
    std::int64_t at = 12;
    while (size - at >= 8) {
        const QByteArray head = read(at, 8);
        if (head.size() < 8)
            return;
        const std::int64_t length = le32(head, 4);
        if (length > size - at - 8 || !visit(head.left(4), at + 8, length))
            return;
        at += 8 + length + (length & 1);
    }
}

// The first chunk of type `wanted` of a WebP file (in its extended form),
// or none.
QByteArray webpChunk(const ByteSource& read, std::int64_t size, const char* wanted)
{
    QByteArray found;
    walkWebpChunks(read, size, [&](const QByteArray& type, std::int64_t at, std::int64_t length) {
        if (type != wanted)
            return true;
        found = read(at, length);
        return false;
    });
    return found;
}

QByteArray webpExif(const ByteSource& read, std::int64_t size)
{
    return webpChunk(read, size, "EXIF");
}

// The frame size a VP8 (lossy) or VP8L (lossless) chunk gives, when
// libwebp takes its header: a key frame shown, of a known profile, with the
// start code and a first partition inside the chunk; a lossless stream of
// version 0.
std::optional<QSize> webpFrameSize(const QByteArray& type, const QByteArray& start, std::int64_t length)
{
    const auto byte = [&start](int at) { return std::uint32_t(std::uint8_t(start[at])); };
    if (type == "VP8 " && start.size() >= 10) {
        const std::uint32_t tag = byte(0) | byte(1) << 8 | byte(2) << 16;
        const bool keyFrame = (tag & 1) == 0, shown = (tag >> 4 & 1) != 0;
        if (!keyFrame || (tag >> 1 & 7) > 3 || !shown || std::int64_t(tag >> 5) >= length ||
            start.mid(3, 3) != QByteArrayLiteral("\x9d\x01\x2a"))
            return std::nullopt;
        // The two top bits of each side ask for upscaling, which decoders
        // leave to the application.
        const int width = int((byte(6) | byte(7) << 8) & 0x3fff), height = int((byte(8) | byte(9) << 8) & 0x3fff);
        if (width == 0 || height == 0)
            return std::nullopt;
        return QSize(width, height);
    }
    if (type == "VP8L" && start.size() >= 5 && byte(0) == 0x2f) {
        const std::uint32_t bits = le32(start, 1);
        if (bits >> 29 != 0)
            return std::nullopt;
        return QSize(int(bits & 0x3fff) + 1, int(bits >> 14 & 0x3fff) + 1);
    }
    return std::nullopt;
}

// The size of the picture a WebP file holds: its first chunk's frame, or
// the canvas of the extended form, which for a still picture libwebp
// requires to be its frame's size and which an animation's frames are
// laid on.
std::optional<QSize> webpSize(const ByteSource& read, std::int64_t size)
{
    std::optional<QSize> canvas, found;
    bool first = true, usable = true;
    walkWebpChunks(read, size, [&](const QByteArray& type, std::int64_t at, std::int64_t length) {
        if (first && type == "VP8X") {
            first = false;
            const QByteArray x = read(at, 10);
            if (length < 10 || x.size() < 10) {
                usable = false;
                return false;
            }
            const auto side = [&x](int at) {
                return std::int64_t(std::uint8_t(x[at]) | std::uint8_t(x[at + 1]) << 8 |
                                    std::uint8_t(x[at + 2]) << 16) +
                       1;
            };
            if (side(4) * side(7) >= (std::int64_t(1) << 32)) {
                usable = false;
                return false;
            }
            canvas = QSize(int(side(4)), int(side(7)));
            const bool animated = (std::uint8_t(x[0]) & 0x02) != 0;
            if (animated)
                found = canvas;
            return !animated;
        }
        if (first && type != "VP8 " && type != "VP8L") {
            usable = false;
            return false;
        }
        first = false;
        if (type != "VP8 " && type != "VP8L")
            return true;
        const std::optional<QSize> frame = webpFrameSize(type, read(at, std::min<std::int64_t>(length, 10)), length);
        if (frame && (!canvas || *canvas == *frame))
            found = frame;
        return false;
    });
    return usable ? found : std::nullopt;
}

// The zlib stream of a PNG chunk from `from` on, inflated; none when
// damaged or larger than kMostInformationBytes.
QByteArray inflatedPngData(const QByteArray& chunk, qsizetype from)
{
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return {};
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(chunk.constData() + from));
    stream.avail_in = uInt(chunk.size() - from);
    QByteArray data;
    int status = Z_OK;
    while (status == Z_OK && std::size_t(data.size()) < kMostInformationBytes) {
        const qsizetype had = data.size();
        data.resize(had + 65536);
        stream.next_out = reinterpret_cast<Bytef*>(data.data() + had);
        stream.avail_out = 65536;
        status = inflate(&stream, Z_NO_FLUSH);
        data.resize(had + 65536 - qsizetype(stream.avail_out));
    }
    inflateEnd(&stream);
    return status == Z_STREAM_END && std::size_t(data.size()) <= kMostInformationBytes ? data : QByteArray();
}

// The profile of a PNG iCCP chunk, inflated; none when damaged or larger
// than kMostInformationBytes.
QByteArray pngProfile(const QByteArray& chunk)
{
    const qsizetype nameEnd = chunk.indexOf('\0');
    if (nameEnd < 1 || nameEnd > 79 || chunk.size() < nameEnd + 2 || chunk[nameEnd + 1] != 0)
        return {};
    return inflatedPngData(chunk, nameEnd + 2);
}

// The XMP packet of an iTXt chunk holding XMP: after the keyword come the
// compression flag (0 or 1) and method (0: deflate), a language tag and a
// translated keyword, each ended by a zero, then the text, deflated when
// the flag says so. None when damaged or larger than kMostInformationBytes.
QByteArray pngXmp(const QByteArray& chunk)
{
    const qsizetype flag = kPngXmpKeyword.size();
    if (!chunk.startsWith(kPngXmpKeyword) || chunk.size() < flag + 2 || std::uint8_t(chunk[flag]) > 1 ||
        chunk[flag + 1] != 0)
        return {};
    const qsizetype languageEnd = chunk.indexOf('\0', flag + 2);
    const qsizetype translatedEnd = languageEnd < 0 ? -1 : chunk.indexOf('\0', languageEnd + 1);
    if (translatedEnd < 0)
        return {};
    return chunk[flag] == 1 ? inflatedPngData(chunk, translatedEnd + 1) : chunk.mid(translatedEnd + 1);
}

// `png` with an eXIf chunk holding `exif` before its image data, where the
// format wants it.
QByteArray withPngExif(const QByteArray& png, const QByteArray& exif)
{
    const PngLayout layout = checkedPngChunks(memorySource(png), png.size());
    QByteArray chunk;
    const auto u32 = [&chunk](std::uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8)
            chunk += char(value >> shift & 0xFF);
    };
    u32(std::uint32_t(exif.size()));
    chunk += "eXIf";
    chunk += exif;
    const auto* typed = reinterpret_cast<const Bytef*>(chunk.constData() + 4);
    u32(std::uint32_t(crc32(crc32(0, nullptr, 0), typed, uInt(chunk.size() - 4))));
    return png.left(layout.firstImageData) + chunk + png.mid(layout.firstImageData);
}

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
