#include "support/imagingtesttools.h"

#include <QFile>
#include <cstdio>
#include <gif_lib.h>
#include <jpeglib.h>
#include <stdexcept>

namespace tessaly::testing {

Rgb pixelAt(const Bitmap& bitmap, int x, int y)
{
    const std::uint8_t* p = bitmap.row(y) + x * 3;
    return {p[2], p[1], p[0]};
}

void setPixel(Bitmap& bitmap, int x, int y, Rgb rgb)
{
    std::uint8_t* p = bitmap.row(y) + x * 3;
    p[0] = std::uint8_t(rgb[2]);
    p[1] = std::uint8_t(rgb[1]);
    p[2] = std::uint8_t(rgb[0]);
}

QString testDataPath(const QString& name)
{
    return QStringLiteral(TESSALY_TEST_DATA "/") + name;
}

QByteArray readTestFile(const QString& name)
{
    QFile file(testDataPath(name));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("missing test file");
    return file.readAll();
}

namespace {

int appendBytes(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

ColorMapObject* makeMap(const std::vector<Rgb>& colours)
{
    if (colours.empty())
        return nullptr;
    int size = 2;
    while (size < int(colours.size()))
        size *= 2;
    std::vector<GifColorType> entries(std::size_t(size), GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < colours.size(); ++i)
        entries[i] = GifColorType{GifByteType(colours[i][0]), GifByteType(colours[i][1]), GifByteType(colours[i][2])};
    return GifMakeMapObject(size, entries.data());
}

}  // namespace

QByteArray makeGif(const GifRecipe& recipe)
{
    QByteArray out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendBytes, &error);
    ColorMapObject* global = makeMap(recipe.globalColours);
    ColorMapObject* local = makeMap(recipe.localColours);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, recipe.screenWidth, recipe.screenHeight, 8, 0, global);
    for (int frame = 0; frame < recipe.frames; ++frame) {
        if (recipe.transparent >= 0 || frame > 0) {
            GraphicsControlBlock control{};
            control.DisposalMode = DISPOSAL_UNSPECIFIED;
            control.TransparentColor = recipe.transparent >= 0 ? recipe.transparent : NO_TRANSPARENT_COLOR;
            control.DelayTime = frame > 0 ? 10 : 0;
            GifByteType block[4];
            const size_t length = EGifGCBToExtension(&control, block);
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), block);
        }
        EGifPutImageDesc(gif, recipe.left, recipe.top, recipe.width, recipe.height, recipe.interlaced, local);
        std::vector<int> rows;
        if (recipe.interlaced) {
            for (int start : {0, 4, 2, 1})
                for (int row = start; row < recipe.height; row += (start == 0 || start == 4) ? 8 : (start == 2 ? 4 : 2))
                    rows.push_back(row);
        } else {
            for (int row = 0; row < recipe.height; ++row)
                rows.push_back(row);
        }
        for (int row : rows)
            EGifPutLine(gif,
                        const_cast<GifPixelType*>(recipe.pixels.data() + std::size_t(row) * std::size_t(recipe.width)),
                        recipe.width);
    }
    EGifCloseFile(gif, &error);
    if (global)
        GifFreeMapObject(global);
    if (local)
        GifFreeMapObject(local);
    return out;
}

QByteArray compressJpeg(int width, int height, int components, int colourSpace,
                        const std::function<void(jpeg_compress_struct&)>& configure,
                        const std::function<void(int y, unsigned char* row)>& fillRow)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = components;
    info.in_color_space = J_COLOR_SPACE(colourSpace);
    jpeg_set_defaults(&info);
    if (configure)
        configure(info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(std::size_t(width) * std::size_t(components));
    while (info.next_scanline < info.image_height) {
        fillRow(int(info.next_scanline), row.data());
        JSAMPROW rows = row.data();
        jpeg_write_scanlines(&info, &rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray result(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return result;
}

QByteArray makeJpeg(const Bitmap& bitmap, bool grey, int quality)
{
    return compressJpeg(
        bitmap.width(), bitmap.height(), grey ? 1 : 3, grey ? JCS_GRAYSCALE : JCS_EXT_BGR,
        [quality](jpeg_compress_struct& info) { jpeg_set_quality(&info, quality, TRUE); },
        [&bitmap, grey](int y, unsigned char* row) {
            const std::uint8_t* in = bitmap.row(y);
            if (!grey) {
                std::memcpy(row, in, bitmap.rowBytes());
                return;
            }
            for (int x = 0; x < bitmap.width(); ++x)
                row[x] = in[x * 3 + 1];
        });
}

void resetPeakMemory()
{
    if (std::FILE* file = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", file);  // resets the peak resident set size
        std::fclose(file);
    }
}

long peakMemoryMegabytes()
{
    long peak = 0;
    if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "VmHWM: %ld kB", &peak) == 1)
                break;
        std::fclose(status);
    }
    return peak / 1024;
}

namespace {

void put16(QByteArray& out, int value)
{
    out.append(char(value & 0xff)).append(char(value >> 8 & 0xff));
}
void put32(QByteArray& out, std::uint32_t value)
{
    put16(out, int(value & 0xffff));
    put16(out, int(value >> 16));
}

}  // namespace

QByteArray tiffPages(const std::vector<Bitmap>& pages, QSize claimed)
{
    QByteArray out("II*\0", 4);
    qsizetype link = out.size();
    put32(out, 0);
    bool first = true;
    for (const Bitmap& page : pages) {
        const auto bitsAt = std::uint32_t(out.size());
        put16(out, 8), put16(out, 8), put16(out, 8);
        const auto pixelsAt = std::uint32_t(out.size());
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const Rgb c = pixelAt(page, x, y);
                out.append(char(c[0])).append(char(c[1])).append(char(c[2]));
            }
        if (out.size() % 2)
            out.append('\0');
        const auto directoryAt = std::uint32_t(out.size());
        for (int i = 0; i < 4; ++i)
            out[link + i] = char(directoryAt >> (8 * i) & 0xff);
        const int width = first && claimed.isValid() ? claimed.width() : page.width();
        const int height = first && claimed.isValid() ? claimed.height() : page.height();
        const std::uint32_t entries[][4] = {
            {256, 4, 1, std::uint32_t(width)},
            {257, 4, 1, std::uint32_t(height)},
            {258, 3, 3, bitsAt},
            {259, 3, 1, 1},
            {262, 3, 1, 2},
            {273, 4, 1, pixelsAt},
            {277, 3, 1, 3},
            {278, 4, 1, std::uint32_t(height)},
            {279, 4, 1, std::uint32_t(page.width() * page.height() * 3)},
        };
        put16(out, int(std::size(entries)));
        for (const auto& entry : entries) {
            put16(out, int(entry[0]));
            put16(out, int(entry[1]));
            put32(out, entry[2]);
            put32(out, entry[3]);
        }
        link = out.size();
        put32(out, 0);
        first = false;
    }
    return out;
}

}  // namespace tessaly::testing
