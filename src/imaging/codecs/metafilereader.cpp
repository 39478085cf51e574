#include "imaging/codecs/metafilecodec.h"

#include "imaging/codecs/bmpcodec.h"
#include "imaging/codecs/codecerror.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>
#include <cstring>
#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/gd.h>
#include <memory>
#include <optional>

namespace tessaly {

namespace {

constexpr int kScreenDpi = 96;
constexpr std::uint32_t kEmfHeader = 1;
constexpr std::uint32_t kEmfStretchDiBits = 81;
constexpr std::uint32_t kEmfEof = 14;
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7u;
constexpr std::uint16_t kWmfStretchDib = 0x0F43;
constexpr std::uint16_t kWmfDibStretchBlt = 0x0B41;

std::uint16_t read16(const QByteArray& bytes, qsizetype at)
{
    if (at < 0 || at + 2 > bytes.size())
        throw CodecError("metafile is cut short");
    return std::uint16_t(std::uint8_t(bytes[at]) | (std::uint8_t(bytes[at + 1]) << 8));
}

std::uint32_t read32(const QByteArray& bytes, qsizetype at)
{
    return read16(bytes, at) | (std::uint32_t(read16(bytes, at + 2)) << 16);
}

std::int32_t readSigned32(const QByteArray& bytes, qsizetype at)
{
    return std::int32_t(read32(bytes, at));
}

std::int16_t readSigned16(const QByteArray& bytes, qsizetype at)
{
    return std::int16_t(read16(bytes, at));
}

int roundedPixels(double value)
{
    return int(std::lround(value));
}

void checkSize(int width, int height)
{
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767 ||
        std::size_t(width) * std::size_t(height) > Bitmap::kMaxPixels)
        throw CodecError("metafile has an unusable size");
}

// A device-independent bitmap (header, colours and pixels) read through the
// BMP reader by putting a file header in front of it.
Bitmap decodeDib(const QByteArray& bytes, qsizetype headerAt, qsizetype headerSize,
                 qsizetype bitsAt, qsizetype bitsSize)
{
    if (headerSize < 12 || bitsSize < 0 || headerAt < 0 || bitsAt < 0 ||
        headerAt + headerSize > bytes.size() || bitsAt + bitsSize > bytes.size())
        throw CodecError("metafile bitmap is cut short");
    QByteArray file("BM", 2);
    file.append(QByteArray(12, '\0'));
    file.append(bytes.mid(headerAt, headerSize));
    const qsizetype pixelsAt = file.size();
    file.append(bytes.mid(bitsAt, bitsSize));
    const auto total = std::uint32_t(file.size());
    for (int i = 0; i < 4; ++i) {
        file[2 + i] = char((total >> (8 * i)) & 0xff);
        file[10 + i] = char((std::uint32_t(pixelsAt) >> (8 * i)) & 0xff);
    }
    return decodeBmp(file);
}

// Nearest-pixel copy of `source` into a `width` by `height` bitmap.
Bitmap stretchNearest(const Bitmap& source, int width, int height)
{
    if (source.width() == width && source.height() == height)
        return source;
    Bitmap target(width, height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = source.row(int(std::int64_t(y) * source.height() / height));
        std::uint8_t* out = target.row(y);
        for (int x = 0; x < width; ++x)
            std::memcpy(out + x * 3, in + std::int64_t(x) * source.width() / width * 3, 3);
    }
    return target;
}

// The one bitmap of an EMF that holds a header, one STRETCHDIBITS over the
// whole bounds and the end record, and nothing else.
std::optional<Bitmap> singleBitmapOfEmf(const QByteArray& bytes)
{
    qsizetype at = 0;
    std::optional<Bitmap> found;
    int records = 0;
    while (at + 8 <= bytes.size()) {
        const std::uint32_t type = read32(bytes, at);
        const std::uint32_t size = read32(bytes, at + 4);
        if (size < 8 || size % 4 != 0 || at + qsizetype(size) > bytes.size())
            return std::nullopt;
        ++records;
        if (type == kEmfStretchDiBits && !found && size >= 80) {
            const qsizetype offBmi = read32(bytes, at + 48), cbBmi = read32(bytes, at + 52);
            const qsizetype offBits = read32(bytes, at + 56), cbBits = read32(bytes, at + 60);
            const std::int32_t destX = readSigned32(bytes, at + 8 + 16);
            const std::int32_t destY = readSigned32(bytes, at + 8 + 20);
            if (destX != 0 || destY != 0)
                return std::nullopt;
            found = decodeDib(bytes, at + offBmi, cbBmi, at + offBits, cbBits);
        } else if (type == kEmfEof) {
            return records == 3 ? found : std::nullopt;
        } else if (type != kEmfHeader) {
            return std::nullopt;
        }
        at += size;
    }
    return std::nullopt;
}

// The one bitmap of a WMF whose records after the header set the window
// and map mode and draw one device-independent bitmap, and nothing else.
std::optional<Bitmap> singleBitmapOfWmf(const QByteArray& bytes)
{
    qsizetype at = read32(bytes, 0) == kPlaceableKey ? 22 : 0;
    const qsizetype headerWords = read16(bytes, at + 2);
    at += headerWords * 2;
    std::optional<Bitmap> found;
    while (at + 6 <= bytes.size()) {
        const qsizetype size = qsizetype(read32(bytes, at)) * 2;
        const std::uint16_t function = read16(bytes, at + 4);
        if (size < 6 || at + size > bytes.size())
            return std::nullopt;
        if (function == 0)
            return found;
        if ((function == kWmfStretchDib || function == kWmfDibStretchBlt) && !found) {
            // STRETCHDIB: rop (4), usage (2), src h, w, y, x, dest h, w, y, x; then the DIB.
            // DIBSTRETCHBLT: rop (4), src h, w, y, x, dest h, w, y, x; then the DIB.
            const qsizetype dibAt = at + 6 + (function == kWmfStretchDib ? 22 : 20);
            if (dibAt + 40 > at + size)
                return std::nullopt;
            const qsizetype headerSize = read32(bytes, dibAt);
            const int bits = read16(bytes, dibAt + 14);
            const std::uint32_t usedColors = headerSize >= 36 ? read32(bytes, dibAt + 32) : 0;
            const qsizetype colors = bits <= 8 ? (usedColors ? usedColors : (1u << bits)) : 0;
            const std::uint32_t compression = headerSize >= 20 ? read32(bytes, dibAt + 16) : 0;
            const qsizetype masks = (compression == 3 && headerSize == 40) ? 12 : 0;
            const qsizetype bitsAt = dibAt + headerSize + masks + colors * 4;
            if (bitsAt > at + size)
                return std::nullopt;
            found = decodeDib(bytes, dibAt, bitsAt - dibAt, bitsAt, at + size - bitsAt);
        } else if (function != 0x020B && function != 0x020C && function != 0x0103 &&
                   function != 0x0104) {
            // Only SETWINDOWORG, SETWINDOWEXT, SETMAPMODE and SETROP2 may stand beside it.
            return std::nullopt;
        }
        at += size;
    }
    return std::nullopt;
}

Bitmap imageOnWhite(const QImage& image)
{
    return bitmapFromImage(image);
}

Bitmap renderEmfWithLibraries(const QByteArray& bytes, int width, int height)
{
    // The SVG is drawn in the file's device units; its own size is one unit
    // short of the inclusive bounds, so the view box is taken from them.
    const std::int32_t left = readSigned32(bytes, 8), top = readSigned32(bytes, 12);
    const std::int32_t right = readSigned32(bytes, 16), bottom = readSigned32(bytes, 20);
    QByteArray input = bytes;
    generatorOptions options{};
    char emptyNamespace[] = "";
    options.nameSpace = emptyNamespace;
    options.svgDelimiter = true;
    options.emfplus = true;
    char* svg = nullptr;
    std::size_t svgLength = 0;
    const int ok = emf2svg(input.data(), std::size_t(input.size()), &svg, &svgLength, &options);
    std::unique_ptr<char, decltype(&std::free)> owned(svg, &std::free);
    if (ok != 1 || !svg)
        throw CodecError("the enhanced metafile cannot be played back");
    QSvgRenderer renderer(QByteArray(svg, qsizetype(svgLength)));
    if (!renderer.isValid())
        throw CodecError("the enhanced metafile cannot be played back");
    if (right >= left && bottom >= top)
        renderer.setViewBox(QRectF(0, 0, double(right) - left + 1, double(bottom) - top + 1));
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return imageOnWhite(image);
}

struct WmfApi {
    wmfAPI* api = nullptr;
    ~WmfApi()
    {
        if (api) {
            wmf_mem_close(api);
            wmf_api_destroy(api);
        }
    }
};

// Opens a WMF with libwmf's raster device and scans it.
wmf_gd_t* openWmf(WmfApi& holder, QByteArray& bytes, wmfD_Rect& box)
{
    wmfAPI_Options options{};
    options.function = wmf_gd_function;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR |
                                WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&holder.api, flags, &options) != wmf_E_None) {
        if (holder.api)
            wmf_api_destroy(holder.api);
        holder.api = nullptr;
        throw CodecError("the Windows metafile reader cannot start");
    }
    auto* device = WMF_GD_GetData(holder.api);
    device->type = wmf_gd_image;
    if (wmf_mem_open(holder.api, reinterpret_cast<unsigned char*>(bytes.data()), long(bytes.size())) !=
            wmf_E_None ||
        wmf_scan(holder.api, 0, &box) != wmf_E_None)
        throw CodecError("not a Windows metafile");
    return device;
}

Bitmap renderWmfWithLibraries(const QByteArray& bytes, int width, int height)
{
    QByteArray input = bytes;
    WmfApi holder;
    wmfD_Rect box{};
    wmf_gd_t* device = openWmf(holder, input, box);
    // libwmf maps the box its scan finds around the drawing onto the whole
    // picture, as its own converters do.
    device->bbox = box;
    device->width = unsigned(width);
    device->height = unsigned(height);
    if (wmf_play(holder.api, 0, &box) != wmf_E_None || !device->gd_image)
        throw CodecError("the Windows metafile cannot be played back");
    const int* pixels = wmf_gd_image_pixels(device->gd_image);
    if (!pixels)
        throw CodecError("the Windows metafile cannot be played back");
    // libwmf's true-colour pixels: 7 bits of transparency (0 opaque), then
    // red, green, blue. Transparent parts show white.
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* out = bitmap.row(y);
        for (int x = 0; x < width; ++x) {
            const auto pixel = std::uint32_t(pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]);
            const int alpha = 127 - int((pixel >> 24) & 0x7f);
            const auto blend = [alpha](std::uint32_t channel) {
                return std::uint8_t((int(channel & 0xff) * alpha + 255 * (127 - alpha) + 63) / 127);
            };
            out[x * 3] = blend(pixel);
            out[x * 3 + 1] = blend(pixel >> 8);
            out[x * 3 + 2] = blend(pixel >> 16);
        }
    }
    return bitmap;
}

}  // namespace

void readMetafileSize(const QByteArray& bytes, MetafileFormat format, int& width, int& height)
{
    if (format == MetafileFormat::Enhanced) {
        if (bytes.size() < 88 || read32(bytes, 0) != kEmfHeader || read32(bytes, 40) != 0x464D4520u)
            throw CodecError("not an enhanced metafile");
        const double frameWidth = double(readSigned32(bytes, 32)) - readSigned32(bytes, 24);
        const double frameHeight = double(readSigned32(bytes, 36)) - readSigned32(bytes, 28);
        width = roundedPixels(frameWidth * kScreenDpi / 2540.0);
        height = roundedPixels(frameHeight * kScreenDpi / 2540.0);
        if (width <= 0 || height <= 0) {
            width = readSigned32(bytes, 16) - readSigned32(bytes, 8) + 1;
            height = readSigned32(bytes, 20) - readSigned32(bytes, 12) + 1;
        }
        checkSize(width, height);
        return;
    }
    if (bytes.size() >= 22 && read32(bytes, 0) == kPlaceableKey) {
        const int inch = read16(bytes, 14);
        const int spanX = readSigned16(bytes, 10) - readSigned16(bytes, 6);
        const int spanY = readSigned16(bytes, 12) - readSigned16(bytes, 8);
        if (inch <= 0)
            throw CodecError("Windows metafile has no unit size");
        width = roundedPixels(std::abs(double(spanX)) * kScreenDpi / inch);
        height = roundedPixels(std::abs(double(spanY)) * kScreenDpi / inch);
        checkSize(width, height);
        return;
    }
    QByteArray input = bytes;
    WmfApi holder;
    wmfD_Rect box{};
    openWmf(holder, input, box);
    unsigned int displayWidth = 0, displayHeight = 0;
    if (wmf_display_size(holder.api, &displayWidth, &displayHeight, kScreenDpi, kScreenDpi) !=
        wmf_E_None)
        throw CodecError("Windows metafile has no size");
    width = int(displayWidth);
    height = int(displayHeight);
    checkSize(width, height);
}

Bitmap renderMetafile(const QByteArray& bytes, MetafileFormat format, int width, int height)
{
    checkSize(width, height);
    const std::optional<Bitmap> single =
        format == MetafileFormat::Enhanced ? singleBitmapOfEmf(bytes) : singleBitmapOfWmf(bytes);
    if (single)
        return stretchNearest(*single, width, height);
    return renderMetafileWithLibraries(bytes, format, width, height);
}

Bitmap renderMetafileWithLibraries(const QByteArray& bytes, MetafileFormat format, int width,
                                   int height)
{
    checkSize(width, height);
    return format == MetafileFormat::Enhanced ? renderEmfWithLibraries(bytes, width, height)
                                              : renderWmfWithLibraries(bytes, width, height);
}

}  // namespace tessaly
