#include "imaging/codecs/heifcodec.h"

#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/heifitems.h"
#include "imaging/codecs/hevcdecoder.h"
#include "imaging/codecs/photoformatinfo.h"
#include "imaging/codecs/sizecheck.h"

#include <QColorSpace>
#include <QPointF>
#include <algorithm>
#include <libheif/heif.h>
#include <memory>

namespace tessaly {

namespace {

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
// derived picture built from an item that is missing or no picture is
// refused too (libheif 1.15 fails an assertion and aborts on it), and so
// are derived pictures nested deeply enough to exhaust its stack.
void checkDerivedCanvases(const QByteArray& bytes, heif_item_id primary, const heif_image_handle* handle,
                          PhotoFormat format, const QString& unreadable)
{
    const HeifDerivedItems derived =
        findHeifDerivedItems(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    if (!derived.readable())
        throw CodecError(QStringLiteral("%1: %2").arg(unreadable, QLatin1String(derived.problem)));
    for (const HeifDerivedItem& item : derived.items) {
        checkClaimedSize(item.canvasWidth, item.canvasHeight, item.sourceBytes, photoPixelsPerByte(format),
                         photoDisplayName(format));
        if (item.id != primary)
            continue;
        const std::int64_t width = item.canvasWidth, height = item.canvasHeight;
        const std::int64_t ispeWidth = heif_image_handle_get_ispe_width(handle);
        const std::int64_t ispeHeight = heif_image_handle_get_ispe_height(handle);
        if ((width != ispeWidth || height != ispeHeight) && (width != ispeHeight || height != ispeWidth))
            throw CodecError(unreadable);
    }
}

// A file's primary picture as libheif reads it from the file's boxes,
// before decoding, checked as the decoder checks it.
struct PrimaryPicture {
    HeifPointer<heif_context> context;
    HeifPointer<heif_image_handle> handle;
    int width = 0;
    int height = 0;
};

PrimaryPicture openPrimary(const QByteArray& bytes, PhotoFormat format, const QString& unreadable)
{
    PrimaryPicture primary;
    primary.context.reset(heif_context_alloc());
    if (!primary.context)
        throw CodecError("not enough memory for the picture");
    // libheif's own check (each side below this) runs before any of its
    // allocations; ours below bounds the area.
    heif_context_set_maximum_image_size_limit(primary.context.get(), 1 << 17);
    check(heif_context_read_from_memory_without_copy(primary.context.get(), bytes.constData(),
                                                     std::size_t(bytes.size()), nullptr),
          unreadable);
    heif_image_handle* rawHandle = nullptr;
    check(heif_context_get_primary_image_handle(primary.context.get(), &rawHandle), unreadable);
    primary.handle.reset(rawHandle);
    // The size after the file's own turn and crop (irot, clap), which
    // decoding applies; the size before them is the 'ispe'.
    primary.width = heif_image_handle_get_width(primary.handle.get());
    primary.height = heif_image_handle_get_height(primary.handle.get());
    checkClaimedSize(primary.width, primary.height, bytes.size(), photoPixelsPerByte(format), photoDisplayName(format));
    heif_item_id id = 0;
    check(heif_context_get_primary_image_ID(primary.context.get(), &id), unreadable);
    checkDerivedCanvases(bytes, id, primary.handle.get(), format, unreadable);
    return primary;
}

QString unreadableText(PhotoFormat format)
{
    return QStringLiteral("%1 file cannot be read").arg(QString::fromLatin1(photoDisplayName(format)));
}

}  // namespace

QSize heifPictureSize(const QByteArray& bytes, PhotoFormat format)
{
    const PrimaryPicture primary = openPrimary(bytes, format, unreadableText(format));
    return QSize(primary.width, primary.height);
}

// The first (primary) image of a HEIF or AVIF file. libheif applies the
// file's rotation and mirroring (irot, imir) and its crop while decoding:
// the version here (1.15) cannot report them, so the pixels come out upright
// and the orientation reported is 1. An EXIF orientation inside the file
// describes the same turn and must not be applied again.
DecodedPhoto decodeWithLibheif(const QByteArray& bytes, PhotoFormat format)
{
    const QString name = QString::fromLatin1(photoDisplayName(format));
    const QString unreadable = unreadableText(format);
    useStrictHevcDecoder();
    const PrimaryPicture primary = openPrimary(bytes, format, unreadable);
    heif_context* const context = primary.context.get();
    heif_image_handle* const handle = primary.handle.get();
    const int width = primary.width, height = primary.height;

    DecodedPhoto photo;
    photo.morePictures = heif_context_get_number_of_top_level_images(context) > 1;
    photo.deepColour = heif_image_handle_get_luma_bits_per_pixel(handle) > 8;
    const heif_color_profile_type profile = heif_image_handle_get_color_profile_type(handle);
    if (profile == heif_color_profile_type_prof || profile == heif_color_profile_type_rICC) {
        const std::size_t length = heif_image_handle_get_raw_color_profile_size(handle);
        if (length > 0 && length <= kMaxProfileBytes) {
            QByteArray icc(qsizetype(length), Qt::Uninitialized);
            check(heif_image_handle_get_raw_color_profile(handle, icc.data()), unreadable);
            photo.metadata.iccProfile = icc;
        }
    } else if (profile == heif_color_profile_type_nclx) {
        photo.metadata.iccProfile = profileForCodePoints(handle);
    }

    const bool alpha = heif_image_handle_has_alpha_channel(handle) != 0;
    const bool premultiplied = alpha && heif_image_handle_is_premultiplied_alpha(handle) != 0;
    HeifPointer<heif_decoding_options> options(heif_decoding_options_alloc());
    options->convert_hdr_to_8bit = 1;
    options->strict_decoding = 1;
    heif_image* rawImage = nullptr;
    const heif_error decoded = heif_decode_image(handle, &rawImage, heif_colorspace_RGB,
                                                 alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                                                 options.get());
    // A decoder's complaint is about the coded data itself (hevcdecoder.h).
    if (decoded.code == heif_error_Decoder_plugin_error)
        throw CodecError(
            QStringLiteral("%1 data is damaged or cut short (%2)").arg(name, QString::fromUtf8(decoded.message)));
    check(decoded, unreadable);
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

namespace {

heif_error appendTo(heif_context*, const void* data, size_t size, void* userdata)
{
    static_cast<QByteArray*>(userdata)->append(static_cast<const char*>(data), qsizetype(size));
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, "ok"};
}

}  // namespace

QByteArray encodeWithLibheif(const Bitmap& bitmap, PhotoFormat format, int quality, const QByteArray& iccProfile,
                             const QByteArray& exif)
{
    const QString name = QString::fromLatin1(photoDisplayName(format));
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
    heif_image_handle* rawHandle = nullptr;
    check(heif_context_encode_image(context.get(), image.get(), encoder.get(), nullptr, &rawHandle), failed);
    const HeifPointer<heif_image_handle> handle(rawHandle);
    // libheif finds the block's TIFF header and writes where it starts in
    // front of it, as the format asks.
    if (!exif.isEmpty())
        check(heif_context_add_exif_metadata(context.get(), handle.get(), exif.constData(), int(exif.size())),
              failed);
    QByteArray out;
    heif_writer writer{};
    writer.writer_api_version = 1;
    writer.write = appendTo;
    check(heif_context_write(context.get(), &writer, &out), failed);
    return out;
}

}  // namespace tessaly
