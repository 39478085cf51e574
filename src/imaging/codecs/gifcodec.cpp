#include "imaging/codecs/gifcodec.h"

#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/sizecheck.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <gif_lib.h>
#include <memory>

namespace tessaly {

namespace {

struct MemoryReader {
    const QByteArray* bytes;
    qsizetype at = 0;
};

int readFromMemory(GifFileType* gif, GifByteType* out, int wanted)
{
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const qsizetype left = reader->bytes->size() - reader->at;
    const int count = int(std::min<qsizetype>(left, wanted));
    std::memcpy(out, reader->bytes->constData() + reader->at, std::size_t(count));
    reader->at += count;
    return count;
}

int writeToMemory(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

struct GifCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifReader = std::unique_ptr<GifFileType, GifCloser>;

// One byte of LZW data stands for at most about 2,700 pixels (a 12-bit code
// for a string of up to 4,095); the screen around the first image is
// bounded the same way by the whole file.
constexpr std::int64_t kGifPixelsPerByte = 4096;

[[noreturn]] void fail(const char* what)
{
    throw CodecError(what);
}

// Whether another image follows the one just read (an animation's next
// frame). giflib has passed the end of the image's data once its last line
// was read; extensions in between are skipped. Damage after the first
// image does not make the file unreadable, as it never did: it only ends
// the search.
bool hasFurtherImage(GifFileType* gif)
{
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    while (DGifGetRecordType(gif, &record) != GIF_ERROR) {
        if (record == IMAGE_DESC_RECORD_TYPE)
            return true;
        if (record != EXTENSION_RECORD_TYPE)
            return false;
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
            return false;
        while (block)
            if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
                return false;
    }
    return false;
}

}  // namespace

void readGifSize(const QByteArray& bytes, int& width, int& height)
{
    MemoryReader source{&bytes};
    int error = 0;
    GifReader gif(DGifOpen(&source, readFromMemory, &error));
    if (!gif)
        fail("not a GIF file");
    checkClaimedSize(gif->SWidth, gif->SHeight, bytes.size(), kGifPixelsPerByte, "GIF");
    width = gif->SWidth;
    height = gif->SHeight;
}

Bitmap decodeGif(const QByteArray& bytes, bool* morePictures)
{
    MemoryReader source{&bytes};
    int error = 0;
    GifReader gif(DGifOpen(&source, readFromMemory, &error));
    if (!gif)
        fail("not a GIF file");
    const int screenWidth = gif->SWidth;
    const int screenHeight = gif->SHeight;
    checkClaimedSize(screenWidth, screenHeight, bytes.size(), kGifPixelsPerByte, "GIF");

    int transparent = NO_TRANSPARENT_COLOR;
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    do {
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR)
            fail("damaged GIF file");
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR)
                fail("damaged GIF extension");
            while (block) {
                if (code == GRAPHICS_EXT_FUNC_CODE && block[0] >= 4) {
                    GraphicsControlBlock control;
                    if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
                        transparent = control.TransparentColor;
                }
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR)
                    fail("damaged GIF extension");
            }
        }
    } while (record != IMAGE_DESC_RECORD_TYPE && record != TERMINATE_RECORD_TYPE);
    if (record != IMAGE_DESC_RECORD_TYPE)
        fail("GIF file holds no image");
    if (DGifGetImageDesc(gif.get()) == GIF_ERROR)
        fail("damaged GIF image");

    const GifImageDesc& image = gif->Image;
    const ColorMapObject* colors = image.ColorMap ? image.ColorMap : gif->SColorMap;
    if (!colors)
        fail("GIF image has no colours");
    checkClaimedSize(image.Width, image.Height, bytes.size() - source.at, kGifPixelsPerByte, "GIF");

    Bitmap bitmap(screenWidth, screenHeight);
    bitmap.fill(255, 255, 255);
    std::vector<GifPixelType> line(std::size_t(image.Width));
    auto paintLine = [&](int row) {
        const int y = image.Top + row;
        if (y < 0 || y >= screenHeight)
            return;
        std::uint8_t* out = bitmap.row(y);
        for (int column = 0; column < image.Width; ++column) {
            const int x = image.Left + column;
            const int index = line[std::size_t(column)];
            if (x < 0 || x >= screenWidth || index == transparent || index >= colors->ColorCount)
                continue;
            const GifColorType& c = colors->Colors[index];
            out[x * 3] = c.Blue;
            out[x * 3 + 1] = c.Green;
            out[x * 3 + 2] = c.Red;
        }
    };
    if (image.Interlace) {
        static constexpr int kStart[] = {0, 4, 2, 1};
        static constexpr int kStep[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int row = kStart[pass]; row < image.Height; row += kStep[pass]) {
                if (DGifGetLine(gif.get(), line.data(), image.Width) == GIF_ERROR)
                    fail("damaged GIF image data");
                paintLine(row);
            }
    } else {
        for (int row = 0; row < image.Height; ++row) {
            if (DGifGetLine(gif.get(), line.data(), image.Width) == GIF_ERROR)
                fail("damaged GIF image data");
            paintLine(row);
        }
    }
    if (morePictures)
        *morePictures = hasFurtherImage(gif.get());
    return bitmap;
}

void optimizeColorMap(IndexedImage& image)
{
    std::array<int, 256> newIndex;
    newIndex.fill(-1);
    std::vector<PaletteColor> used;
    for (std::uint8_t& pixel : image.pixels) {
        if (newIndex[pixel] < 0) {
            newIndex[pixel] = int(used.size());
            used.push_back(pixel < image.palette.size() ? image.palette[pixel] : PaletteColor{});
        }
        pixel = std::uint8_t(newIndex[pixel]);
    }
    image.palette = std::move(used);
}

QByteArray gifFileBytes(const IndexedImage& image)
{
    if (image.width <= 0 || image.height <= 0 || image.palette.empty() || image.palette.size() > 256)
        throw CodecError("cannot write this picture as GIF");
    int mapSize = 2;
    while (mapSize < int(image.palette.size()))
        mapSize *= 2;
    std::vector<GifColorType> entries(std::size_t(mapSize), GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < image.palette.size(); ++i)
        entries[i] = GifColorType{image.palette[i].red, image.palette[i].green, image.palette[i].blue};
    ColorMapObject* map = GifMakeMapObject(mapSize, entries.data());
    if (!map)
        throw CodecError("out of memory for the GIF colour map");

    QByteArray out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, writeToMemory, &error);
    if (!gif) {
        GifFreeMapObject(map);
        throw CodecError("cannot start a GIF file");
    }
    bool ok = EGifPutScreenDesc(gif, image.width, image.height, map->BitsPerPixel, 0, map) != GIF_ERROR &&
              EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) != GIF_ERROR;
    for (int y = 0; ok && y < image.height; ++y) {
        auto* row = const_cast<GifPixelType*>(image.pixels.data() + std::size_t(y) * std::size_t(image.width));
        ok = EGifPutLine(gif, row, image.width) != GIF_ERROR;
    }
    const bool closed = EGifCloseFile(gif, &error) != GIF_ERROR;
    GifFreeMapObject(map);
    if (!ok || !closed)
        throw CodecError("cannot write the GIF data");
    return out;
}

}  // namespace tessaly
