#include "imaging/codecs/photocodec.h"

#include "imaging/codecs/bmpcodec.h"
#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/heifitems.h"
#include "imaging/codecs/photodecoderwire.h"
#include "imaging/codecs/sizecheck.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImage>
#include <QImageIOHandler>
#include <QImageReader>
#include <QImageWriter>
#include <QPointF>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <libheif/heif.h>
#include <memory>
#include <unistd.h>

namespace tessaly {

namespace {

const char* displayName(PhotoFormat format)
{
    switch (format) {
    case PhotoFormat::Png: return "PNG";
    case PhotoFormat::Webp: return "WebP";
    case PhotoFormat::Tiff: return "TIFF";
    case PhotoFormat::Heif: return "HEIF";
    case PhotoFormat::Avif: return "AVIF";
    }
    return "photo";
}

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

// libpng reports a file cut short in its image data only as a warning and
// Qt then keeps the rows it got, so the chunk list is walked first: every
// chunk must lie inside the file, and the end chunk must be there. An
// animation control chunk says the file is an animated PNG, whose further
// frames Qt does not read; an eXIf chunk may give the camera orientation.
struct PngLayout {
    bool animated = false;
    QByteArray exif;
};

PngLayout checkedPngChunks(const QByteArray& bytes)
{
    static const char signature[] = "\x89PNG\r\n\x1a\n";
    if (bytes.size() < 8 || std::memcmp(bytes.constData(), signature, 8) != 0)
        throw CodecError("not a PNG file");
    PngLayout layout;
    qsizetype at = 8;
    bool first = true;
    while (true) {
        if (bytes.size() - at < 12)
            throw CodecError("PNG file is cut short");
        const std::uint32_t length = be32(bytes, at);
        const QByteArray type = bytes.mid(at + 4, 4);
        if (length > 0x7fffffffu || qsizetype(length) > bytes.size() - at - 12)
            throw CodecError("PNG file is cut short");
        if (first && type != "IHDR")
            throw CodecError("PNG file does not start with its header");
        first = false;
        if (type == "acTL")
            layout.animated = true;
        if (type == "eXIf")
            layout.exif = bytes.mid(at + 8, qsizetype(length));
        if (type == "IEND")
            return layout;
        at += 12 + qsizetype(length);
    }
}

// A WebP file is one RIFF chunk whose length its header gives; a file
// shorter than that has lost its end.
void checkRiffLength(const QByteArray& bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WEBP")
        throw CodecError("not a WebP file");
    if (std::int64_t(le32(bytes, 4)) + 8 > bytes.size())
        throw CodecError("WebP file is cut short");
}

// The orientation (tag 0x0112 of the first directory) of an EXIF block: a
// TIFF header and its directories, after an optional "Exif\0\0". 1 when
// there is none or the block is damaged.
int exifBlockOrientation(QByteArray exif)
{
    if (exif.startsWith(QByteArray("Exif\0\0", 6)))
        exif = exif.mid(6);
    const qsizetype size = exif.size();
    if (size < 8)
        return 1;
    const bool little = exif.startsWith("II");
    if (!little && !exif.startsWith("MM"))
        return 1;
    const auto u16 = [&](qsizetype at) {
        const std::uint32_t a = std::uint8_t(exif[at]), b = std::uint8_t(exif[at + 1]);
        return little ? a | b << 8 : a << 8 | b;
    };
    const auto u32 = [&](qsizetype at) {
        return little ? u16(at) | u16(at + 2) << 16 : u16(at) << 16 | u16(at + 2);
    };
    if (u16(2) != 42)
        return 1;
    const std::int64_t directory = u32(4);
    if (directory + 2 > size)
        return 1;
    const std::uint32_t entries = u16(qsizetype(directory));
    for (std::uint32_t i = 0; i < entries; ++i) {
        const qsizetype at = qsizetype(directory + 2 + 12 * std::int64_t(i));
        if (at + 12 > size)
            break;
        if (u16(at) == 0x0112 && u16(at + 2) == 3) {  // a SHORT
            const std::uint32_t value = u16(at + 8);
            return value >= 1 && value <= 8 ? int(value) : 1;
        }
    }
    return 1;
}

// The EXIF chunk of a WebP file (in its extended form), or none.
QByteArray webpExif(const QByteArray& bytes)
{
    qsizetype at = 12;
    while (bytes.size() - at >= 8) {
        const std::int64_t length = le32(bytes, at + 4);
        if (length > bytes.size() - at - 8)
            break;
        if (bytes.mid(at, 4) == "EXIF")
            return bytes.mid(at + 8, qsizetype(length));
        at += 8 + qsizetype(length) + qsizetype(length & 1);
    }
    return {};
}

// The most pixels one byte of a real file can stand for. Deflate (PNG,
// TIFF) packs at most about 1030 bytes into one, which a 1-bit picture
// spreads over 8 pixels each; WebP's lossless coder codes a flat area with
// codes of no bits; HEVC and AV1 code a flat 64 by 64 block in a few bits.
std::int64_t pixelsPerByte(PhotoFormat format)
{
    switch (format) {
    case PhotoFormat::Png:
    case PhotoFormat::Tiff: return 16384;
    case PhotoFormat::Webp:
    case PhotoFormat::Heif:
    case PhotoFormat::Avif: return 65536;
    }
    return 1;
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
    const QString name = QString::fromLatin1(displayName(format));
    bool animatedPng = false;
    // Qt reports the orientation of TIFF files only; PNG and WebP keep it
    // in an EXIF block of their own.
    QByteArray exif;
    if (format == PhotoFormat::Png) {
        const PngLayout layout = checkedPngChunks(bytes);
        animatedPng = layout.animated;
        exif = layout.exif;
    } else if (format == PhotoFormat::Webp) {
        checkRiffLength(bytes);
        exif = webpExif(bytes);
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
    checkClaimedSize(size.width(), size.height(), bytes.size(), pixelsPerByte(format), displayName(format));
    // Qt's plugins allocate through QImageIOHandler::allocateImage, which
    // refuses more than this many MiB: room for the checked size at 16 bits
    // a channel with alpha, and no more.
    const std::int64_t mebibytes = (std::int64_t(size.width()) * size.height() * 8 >> 20) + 1;
    reader.setAllocationLimit(int(std::min<std::int64_t>(mebibytes, INT_MAX)));
    QImage image;
    if (!reader.read(&image) || image.isNull())
        throw CodecError(QStringLiteral("%1 file cannot be read: %2").arg(name, reader.errorString()));
    if (image.size() != size)
        throw CodecError(QStringLiteral("%1 picture does not have the size its header claims").arg(name));

    DecodedPhoto photo;
    photo.metadata.orientation =
        format == PhotoFormat::Tiff ? exifOrientation(reader.transformation()) : exifBlockOrientation(exif);
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

// libheif's objects, freed with the library's own functions.
struct HeifDeleter {
    void operator()(heif_context* context) const { heif_context_free(context); }
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
    void operator()(heif_image* image) const { heif_image_release(image); }
    void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
    void operator()(heif_encoder* encoder) const { heif_encoder_release(encoder); }
    void operator()(heif_color_profile_nclx* nclx) const { heif_nclx_color_profile_free(nclx); }
};
template <typename T>
using HeifPointer = std::unique_ptr<T, HeifDeleter>;

void check(const heif_error& error, const QString& what)
{
    if (error.code != heif_error_Ok)
        throw CodecError(QStringLiteral("%1: %2").arg(what, QString::fromUtf8(error.message)));
}

// Profiles of real cameras and phones are a few kilobytes; a larger one is
// refused rather than carried along.
constexpr std::size_t kMaxProfileBytes = std::size_t(4) << 20;

// Colour given as code points (an nclx colour box) instead of an ICC
// profile, as many AVIF and some HEIF writers do: primaries other than
// sRGB's (Display P3, BT.2020) with a curve like sRGB's become the
// equivalent ICC profile, so that the colour step treats them as it treats
// an embedded profile. The BT.709 and BT.2020 curves are close enough to
// sRGB's to be taken as it; HDR curves (PQ, HLG) and other codes are left
// alone, as are sRGB's own primaries.
QByteArray profileForCodePoints(const heif_image_handle* handle)
{
    heif_color_profile_nclx* raw = nullptr;
    if (heif_image_handle_get_nclx_color_profile(handle, &raw).code != heif_error_Ok || !raw)
        return {};
    const HeifPointer<heif_color_profile_nclx> nclx(raw);
    if (nclx->color_primaries == heif_color_primaries_ITU_R_BT_709_5 ||
        nclx->color_primaries == heif_color_primaries_unspecified)
        return {};
    switch (nclx->transfer_characteristics) {
    case heif_transfer_characteristic_ITU_R_BT_709_5:
    case heif_transfer_characteristic_unspecified:
    case heif_transfer_characteristic_ITU_R_BT_601_6:
    case heif_transfer_characteristic_IEC_61966_2_1:
    case heif_transfer_characteristic_ITU_R_BT_2020_2_10bit:
    case heif_transfer_characteristic_ITU_R_BT_2020_2_12bit: break;
    default: return {};
    }
    const QColorSpace space(QPointF(nclx->color_primary_white_x, nclx->color_primary_white_y),
                            QPointF(nclx->color_primary_red_x, nclx->color_primary_red_y),
                            QPointF(nclx->color_primary_green_x, nclx->color_primary_green_y),
                            QPointF(nclx->color_primary_blue_x, nclx->color_primary_blue_y),
                            QColorSpace::TransferFunction::SRgb);
    return space.isValid() ? space.iccProfile() : QByteArray();
}

// libheif 1.15 makes the canvas of a grid or an overlay (three full planes,
// then the interleaved copy we ask for) at the size written in the item's
// own data, before it decodes a single tile and without comparing it with
// the picture's 'ispe': 549 bytes whose 'ispe' says 7 x 5 and whose grid
// says 26991 x 30316 cost it 4.9 GB. So each such canvas must be no more
// than the pictures it is built from can paint, and the picture's own must
// be the size its 'ispe' claims, as the format requires, or that size
// turned: libheif 1.15 itself writes a turned picture of a size that is no
// multiple of its tiles as a grid whose 'ispe' holds the turned size. A
// derived picture built from an item that is no picture is refused too:
// libheif 1.15 asserts on it.
void checkDerivedCanvases(const QByteArray& bytes, heif_item_id primary, const heif_image_handle* handle,
                          PhotoFormat format, const QString& unreadable)
{
    const HeifDerivedItems derived =
        findHeifDerivedItems(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    if (!derived.readable)
        throw CodecError(unreadable);
    for (const HeifDerivedItem& item : derived.items) {
        checkClaimedSize(item.canvasWidth, item.canvasHeight, item.sourceBytes, pixelsPerByte(format),
                         displayName(format));
        if (item.id != primary)
            continue;
        const std::int64_t width = item.canvasWidth, height = item.canvasHeight;
        const std::int64_t ispeWidth = heif_image_handle_get_ispe_width(handle);
        const std::int64_t ispeHeight = heif_image_handle_get_ispe_height(handle);
        if ((width != ispeWidth || height != ispeHeight) && (width != ispeHeight || height != ispeWidth))
            throw CodecError(unreadable);
    }
}

// The first (primary) image of a HEIF or AVIF file. libheif applies the
// file's rotation and mirroring (irot, imir) and its crop while decoding:
// the version here (1.15) cannot report them, so the pixels come out upright
// and the orientation reported is 1. An EXIF orientation inside the file
// describes the same turn and must not be applied again.
DecodedPhoto decodeWithLibheif(const QByteArray& bytes, PhotoFormat format)
{
    const QString name = QString::fromLatin1(displayName(format));
    const QString unreadable = QStringLiteral("%1 file cannot be read").arg(name);
    HeifPointer<heif_context> context(heif_context_alloc());
    if (!context)
        throw CodecError("not enough memory for the picture");
    // libheif's own check (each side below this) runs before any of its
    // allocations; ours below bounds the area.
    heif_context_set_maximum_image_size_limit(context.get(), 1 << 17);
    check(heif_context_read_from_memory_without_copy(context.get(), bytes.constData(), std::size_t(bytes.size()),
                                                     nullptr),
          unreadable);
    heif_image_handle* rawHandle = nullptr;
    check(heif_context_get_primary_image_handle(context.get(), &rawHandle), unreadable);
    HeifPointer<heif_image_handle> handle(rawHandle);
    const int width = heif_image_handle_get_width(handle.get());
    const int height = heif_image_handle_get_height(handle.get());
    checkClaimedSize(width, height, bytes.size(), pixelsPerByte(format), displayName(format));
    heif_item_id primary = 0;
    check(heif_context_get_primary_image_ID(context.get(), &primary), unreadable);
    checkDerivedCanvases(bytes, primary, handle.get(), format, unreadable);

    DecodedPhoto photo;
    photo.morePictures = heif_context_get_number_of_top_level_images(context.get()) > 1;
    photo.deepColour = heif_image_handle_get_luma_bits_per_pixel(handle.get()) > 8;
    const heif_color_profile_type profile = heif_image_handle_get_color_profile_type(handle.get());
    if (profile == heif_color_profile_type_prof || profile == heif_color_profile_type_rICC) {
        const std::size_t length = heif_image_handle_get_raw_color_profile_size(handle.get());
        if (length > 0 && length <= kMaxProfileBytes) {
            QByteArray icc(qsizetype(length), Qt::Uninitialized);
            check(heif_image_handle_get_raw_color_profile(handle.get(), icc.data()), unreadable);
            photo.metadata.iccProfile = icc;
        }
    } else if (profile == heif_color_profile_type_nclx) {
        photo.metadata.iccProfile = profileForCodePoints(handle.get());
    }

    const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
    const bool premultiplied = alpha && heif_image_handle_is_premultiplied_alpha(handle.get()) != 0;
    HeifPointer<heif_decoding_options> options(heif_decoding_options_alloc());
    options->convert_hdr_to_8bit = 1;
    options->strict_decoding = 1;
    heif_image* rawImage = nullptr;
    check(heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                            alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get()),
          unreadable);
    HeifPointer<heif_image> image(rawImage);
    const int channels = alpha ? 4 : 3;
    if (heif_image_get_width(image.get(), heif_channel_interleaved) != width ||
        heif_image_get_height(image.get(), heif_channel_interleaved) != height ||
        heif_image_get_bits_per_pixel(image.get(), heif_channel_interleaved) != 8 * channels)
        throw CodecError(QStringLiteral("%1 picture did not decode to the size its header claims").arg(name));
    int stride = 0;
    const std::uint8_t* plane = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    if (!plane || stride < width * channels)
        throw CodecError(unreadable);

    photo.bitmap.resize(width, height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = plane + std::size_t(y) * std::size_t(stride);
        std::uint8_t* out = photo.bitmap.row(y);
        for (int x = 0; x < width; ++x, in += channels, out += 3) {
            int red = in[0], green = in[1], blue = in[2];
            if (alpha && in[3] < 255) {
                photo.transparent = true;
                const int a = in[3];
                const auto blend = [a, premultiplied](int colour) {
                    return premultiplied ? std::min(255, colour + 255 - a) : (colour * a + 255 * (255 - a) + 127) / 255;
                };
                red = blend(red);
                green = blend(green);
                blue = blend(blue);
            }
            out[0] = std::uint8_t(blue);
            out[1] = std::uint8_t(green);
            out[2] = std::uint8_t(red);
        }
    }
    return photo;
}

heif_error appendTo(heif_context*, const void* data, size_t size, void* userdata)
{
    static_cast<QByteArray*>(userdata)->append(static_cast<const char*>(data), qsizetype(size));
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, "ok"};
}

QByteArray encodeWithLibheif(const Bitmap& bitmap, PhotoFormat format, int quality, const QByteArray& iccProfile)
{
    const QString name = QString::fromLatin1(displayName(format));
    const QString failed = QStringLiteral("cannot write the picture as %1").arg(name);
    const heif_compression_format compression =
        format == PhotoFormat::Avif ? heif_compression_AV1 : heif_compression_HEVC;
    if (!heif_have_encoder_for_format(compression))
        throw CodecError(QStringLiteral("no %1 encoder is installed").arg(name));
    HeifPointer<heif_context> context(heif_context_alloc());
    heif_encoder* rawEncoder = nullptr;
    check(heif_context_get_encoder_for_format(context.get(), compression, &rawEncoder), failed);
    HeifPointer<heif_encoder> encoder(rawEncoder);
    check(heif_encoder_set_lossy_quality(encoder.get(), std::clamp(quality, 1, 100)), failed);

    heif_image* rawImage = nullptr;
    check(heif_image_create(bitmap.width(), bitmap.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB,
                            &rawImage),
          failed);
    HeifPointer<heif_image> image(rawImage);
    check(heif_image_add_plane(image.get(), heif_channel_interleaved, bitmap.width(), bitmap.height(), 8), failed);
    int stride = 0;
    std::uint8_t* plane = heif_image_get_plane(image.get(), heif_channel_interleaved, &stride);
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::uint8_t* in = bitmap.row(y);
        std::uint8_t* out = plane + std::size_t(y) * std::size_t(stride);
        for (int x = 0; x < bitmap.width(); ++x) {
            out[x * 3] = in[x * 3 + 2];
            out[x * 3 + 1] = in[x * 3 + 1];
            out[x * 3 + 2] = in[x * 3];
        }
    }
    if (!iccProfile.isEmpty())
        check(heif_image_set_raw_color_profile(image.get(), "prof", iccProfile.constData(),
                                               std::size_t(iccProfile.size())),
              failed);
    check(heif_context_encode_image(context.get(), image.get(), encoder.get(), nullptr, nullptr), failed);
    QByteArray out;
    heif_writer writer{};
    writer.writer_api_version = 1;
    writer.write = appendTo;
    check(heif_context_write(context.get(), &writer, &out), failed);
    return out;
}

QByteArray encodeWithQt(const Bitmap& bitmap, PhotoFormat format, int quality, const QByteArray& iccProfile)
{
    const QString name = QString::fromLatin1(displayName(format));
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

bool readAll(int fd, QByteArray& bytes)
{
    char chunk[65536];
    while (true) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got > 0)
            bytes.append(chunk, got);
        else if (got == 0)
            return true;
        else if (errno != EINTR)
            return false;
    }
}

bool writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t done = ::write(fd, data, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        data += done;
        size -= std::size_t(done);
    }
    return true;
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

QByteArray encodePhoto(const Bitmap& bitmap, PhotoFormat format, int quality, const QByteArray& iccProfile)
{
    if (bitmap.isEmpty())
        throw CodecError("cannot write an empty picture");
    if (format == PhotoFormat::Heif || format == PhotoFormat::Avif)
        return encodeWithLibheif(bitmap, format, quality, iccProfile);
    return encodeWithQt(bitmap, format, quality, iccProfile);
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
        writeAll(1, reinterpret_cast<const char*>(&header), sizeof header);
        writeAll(1, reason.constData(), std::size_t(reason.size()));
        return 0;
    }
    const DecoderWireHeader header = DecoderWireHeader::of(photo);
    if (!writeAll(1, reinterpret_cast<const char*>(&header), sizeof header) ||
        !writeAll(1, photo.metadata.iccProfile.constData(), std::size_t(photo.metadata.iccProfile.size())))
        return 2;
    for (int y = 0; y < photo.bitmap.height(); ++y)
        if (!writeAll(1, reinterpret_cast<const char*>(photo.bitmap.row(y)), photo.bitmap.rowBytes()))
            return 2;
    return 0;
}

}  // namespace tessaly
