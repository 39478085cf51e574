#include "imaging/codecs/photochunks.h"

#include "imaging/codecs/byteorder.h"
#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/photoformatinfo.h"

#include <algorithm>
#include <functional>
#include <zlib.h>

namespace tessaly {

namespace {

// The keyword, ended by its zero, of the iTXt chunk that holds XMP.
const QByteArray kPngXmpKeyword("XML:com.adobe.xmp\0", 18);

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

}  // namespace

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

void checkRiffLength(const ByteSource& read, std::int64_t size)
{
    const QByteArray head = read(0, 12);
    if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WEBP")
        throw CodecError("not a WebP file");
    if (std::int64_t(le32(head, 4)) + 8 > size)
        throw CodecError("WebP file is cut short");
}

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

QByteArray pngProfile(const QByteArray& chunk)
{
    const qsizetype nameEnd = chunk.indexOf('\0');
    if (nameEnd < 1 || nameEnd > 79 || chunk.size() < nameEnd + 2 || chunk[nameEnd + 1] != 0)
        return {};
    return inflatedPngData(chunk, nameEnd + 2);
}

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

}  // namespace tessaly
