#include "imaging/codecs/metafilecodec.h"

#include "imaging/codecs/bmpcodec.h"
#include "imaging/codecs/codecerror.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdlib>
#include <cstring>
#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/gd.h>
#include <libwmf/gd/gd.h>
#include <memory>

// Playback through the metafile libraries. This runs in the player
// process (see metafileplayer.h), never on a file the program has not
// checked first.

namespace tessaly {

namespace {

std::int32_t readSigned32(const QByteArray& bytes, qsizetype at)
{
    if (at < 0 || at + 4 > bytes.size())
        throw CodecError("metafile is cut short");
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | std::uint8_t(bytes[at + i]);
    return std::int32_t(value);
}

void checkSize(std::int64_t width, std::int64_t height)
{
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767 || width * height > (std::int64_t(1) << 28))
        throw CodecError("metafile has an unusable size");
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
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&holder.api, flags, &options) != wmf_E_None) {
        if (holder.api)
            wmf_api_destroy(holder.api);
        holder.api = nullptr;
        throw CodecError("the Windows metafile reader cannot start");
    }
    auto* device = WMF_GD_GetData(holder.api);
    device->type = wmf_gd_image;
    if (wmf_mem_open(holder.api, reinterpret_cast<unsigned char*>(bytes.data()), long(bytes.size())) != wmf_E_None ||
        wmf_scan(holder.api, 0, &box) != wmf_E_None)
        throw CodecError("not a Windows metafile");
    return device;
}

// libwmf hands its raster picture over and never frees it; its own
// destroy function is not exported, so the picture is freed here as that
// function does (rows, contiguous pixels, polygon, style and clip storage).
void freeGdImage(void* image)
{
    auto* picture = static_cast<gdImagePtr>(image);
    if (!picture)
        return;
    if (picture->pixels) {
        for (int y = 0; y < picture->sy; ++y)
            std::free(picture->pixels[y]);
        std::free(picture->pixels);
    }
    if (picture->tpixels) {
        if (picture->_tpixels)
            std::free(picture->_tpixels);
        else
            for (int y = 0; y < picture->sy; ++y)
                std::free(picture->tpixels[y]);
        std::free(picture->tpixels);
    }
    std::free(picture->polyInts);
    std::free(picture->style);
    if (picture->clip) {
        std::free(picture->clip->list);
        std::free(picture->clip);
    }
    std::free(picture);
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
    const bool played = wmf_play(holder.api, 0, &box) == wmf_E_None;
    std::unique_ptr<void, decltype(&freeGdImage)> picture(device->gd_image, &freeGdImage);
    device->gd_image = nullptr;
    const int* pixels = played && picture ? wmf_gd_image_pixels(picture.get()) : nullptr;
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

void readMetafileSizeWithLibraries(const QByteArray& bytes, int& width, int& height)
{
    QByteArray input = bytes;
    WmfApi holder;
    wmfD_Rect box{};
    openWmf(holder, input, box);
    unsigned int displayWidth = 0, displayHeight = 0;
    if (wmf_display_size(holder.api, &displayWidth, &displayHeight, kScreenDpi, kScreenDpi) != wmf_E_None)
        throw CodecError("Windows metafile has no size");
    checkSize(displayWidth, displayHeight);
    width = int(displayWidth);
    height = int(displayHeight);
}

Bitmap renderMetafileWithLibraries(const QByteArray& bytes, MetafileFormat format, int width, int height)
{
    checkSize(width, height);
    return format == MetafileFormat::Enhanced ? renderEmfWithLibraries(bytes, width, height)
                                              : renderWmfWithLibraries(bytes, width, height);
}

}  // namespace tessaly
