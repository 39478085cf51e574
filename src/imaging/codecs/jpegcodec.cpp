#include "imaging/codecs/jpegcodec.h"

#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/jpegcoefficients.h"
#include "imaging/codecs/jpegmarkers.h"
#include "imaging/codecs/sizecheck.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jerror.h>
#include <jpeglib.h>

// libjpeg reports errors through a longjmp. The code between a setjmp and
// the library calls (the bodies handed to withDecompressor) creates no C++
// objects with destructors, so that a jump never skips one; results go into
// storage made before the setjmp.

namespace tessaly {

namespace {

// A progressive file may hold any number of scans, each of which costs a
// pass over the picture; real files have about ten.
constexpr int kMaxScans = 500;

// Decoding only some rows is a shortcut tried before the whole decode: a
// file with many more scans than real files have is left to decodeJpeg,
// which decides whether so many are worth decoding, before their cost is
// spent twice.
constexpr int kMaxScansForRows = 100;

// The most pixels one byte of JPEG data stands for in a real file (a flat
// progressive picture: about one bit for each block of 64 pixels; arithmetic
// coding a little better).
constexpr std::int64_t kJpegPixelsPerByte = 4096;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    int maxScans = kMaxScans;
    bool damaged = false;     // a warning that the pixels are not all in the data
    bool pixelsDone = false;  // every scanline read: what follows cannot harm them
    bool inHeaders = false;   // the markers before the first scan are being read
};

[[noreturn]] void jumpOut(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void onError(j_common_ptr info)
{
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    jumpOut(info);
}

// Warnings that leave every pixel as the data describes it: odd JFIF,
// Adobe or colour profile headers, scan parameters a sequential file does
// not use.
bool harmless(int code)
{
    return code == JWRN_JFIF_MAJOR || code == JWRN_ADOBE_XFORM || code == JWRN_BOGUS_ICC || code == JWRN_NOT_SEQUENTIAL;
}

// Stray bytes before a marker ("N extraneous bytes before marker") are
// harmless among the markers in front of the first scan (padding some
// programs leave between segments). After a scan has begun they are what
// the entropy decoder did not consume: its data and the picture it
// describes disagree, the mark of a damaged file, however complete the
// scan looks; that holds at the end of the data too.
bool damagesPixels(const ErrorManager& errors, int code)
{
    if (code == JWRN_EXTRANEOUS_DATA)
        return !errors.inHeaders;
    return !errors.pixelsDone && !harmless(code);
}

// libjpeg only warns when the data ends early or its entropy coding is
// corrupt, and makes up the pixels it could not decode (flat grey). Such a
// picture cannot be opened, like any other damaged file, so those warnings
// end the decoding at once (which also bounds the work by the data there).
void onMessage(j_common_ptr info, int level)
{
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    if (level >= 0 || !damagesPixels(*errors, info->err->msg_code))
        return;
    errors->damaged = true;
    (*info->err->format_message)(info, errors->message);
    jumpOut(info);
}

void onProgress(j_common_ptr info)
{
    if (!info->is_decompressor)
        return;
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > errors->maxScans) {
        std::snprintf(errors->message, sizeof errors->message, "JPEG file has more than %d scans", errors->maxScans);
        jumpOut(info);
    }
}

QString failureText(const ErrorManager& errors)
{
    const QString message = QString::fromLocal8Bit(errors.message);
    if (errors.damaged)
        return QStringLiteral("JPEG data is damaged or cut short (%1)").arg(message);
    return message;
}

// Makes a decompressor for `bytes`, reads the header and hands it to
// `body`; a libjpeg error, a warning about damaged data or more than
// `maxScans` scans end in a CodecError.
template <typename Body>
void withDecompressor(const QByteArray& bytes, Body&& body, int maxScans = kMaxScans)
{
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    errors.maxScans = maxScans;
    jpeg_progress_mgr progress{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    progress.progress_monitor = onProgress;
    CoefficientLease lease;
    jpeg_create_decompress(&info);
    keepCoefficientsIn(info, lease);
    info.progress = &progress;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        returnCoefficients(lease);
        throw CodecError(failureText(errors));
    }
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    errors.inHeaders = true;
    jpeg_read_header(&info, TRUE);
    errors.inHeaders = false;
    body(info);
    jpeg_destroy_decompress(&info);
    returnCoefficients(lease);
}

// Ends a decompression whose every scanline was read.
void finish(jpeg_decompress_struct& info)
{
    reinterpret_cast<ErrorManager*>(info.err)->pixelsDone = true;
    jpeg_finish_decompress(&info);
}

// Decodes blue, green, red rows (CMYK and YCCK converted through `cmykRow`,
// a row of four samples a pixel) with the accurate integer transform.
void startBgrDecompress(jpeg_decompress_struct& info, bool& cmyk, bool& inverted)
{
    cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    inverted = cmyk && info.saw_Adobe_marker;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    info.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&info);
}

// One row of CMYK samples as blue, green, red. Inverted CMYK (as Adobe
// programs write it) holds 255 - ink; the colour is what the inks let
// through.
void cmykToBgr(const JSAMPLE* ink, int width, bool inverted, std::uint8_t* out)
{
    for (int x = 0; x < width; ++x, ink += 4) {
        int c = ink[0], m = ink[1], yl = ink[2], k = ink[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            yl = 255 - yl;
            k = 255 - k;
        }
        out[x * 3] = std::uint8_t((yl * k + 127) / 255);
        out[x * 3 + 1] = std::uint8_t((m * k + 127) / 255);
        out[x * 3 + 2] = std::uint8_t((c * k + 127) / 255);
    }
}

// Whether jpeg_skip_scanlines gives rows identical to reading every row.
// It does for pictures whose colour planes are not stretched vertically
// or are stretched by libjpeg's smoothing upsamplers (4:2:0, 4:4:0); the
// plain vertical repetition libjpeg uses for other factors and for planes
// two pixels wide or less does not come out the same after a skip.
bool skippingKeepsRows(const jpeg_decompress_struct& info)
{
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info& component = info.comp_info[c];
        const int vertical = info.max_v_samp_factor / component.v_samp_factor;
        const int horizontal = info.max_h_samp_factor / component.h_samp_factor;
        if (vertical == 1)
            continue;
        if (vertical == 2 && horizontal == 1)
            continue;
        if (vertical == 2 && horizontal == 2 && component.downsampled_width > 2)
            continue;
        return false;
    }
    return true;
}

}  // namespace

void readJpegSize(const QByteArray& bytes, int& width, int& height)
{
    if (bytes.isEmpty())
        throw CodecError("empty JPEG file");
    withDecompressor(bytes, [&](jpeg_decompress_struct& info) {
        width = int(info.image_width);
        height = int(info.image_height);
    });
}

void checkJpegClaimedSize(int width, int height, std::int64_t fileBytes)
{
    checkClaimedSize(width, height, fileBytes, kJpegPixelsPerByte, "JPEG");
}

namespace {

// Reads every row of a started decompression into `bitmap` (of the output
// size), blue, green, red; CMYK rows go through `cmykRow`, of four bytes a
// pixel. The caller holds that row outside withDecompressor: a decoding
// error leaves by a long jump, past any destructor in between.
void readBgrRows(jpeg_decompress_struct& info, bool cmyk, bool inverted, Bitmap& bitmap,
                 std::vector<JSAMPLE>& cmykRow)
{
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        JSAMPROW row = cmyk ? cmykRow.data() : bitmap.row(y);
        jpeg_read_scanlines(&info, &row, 1);
        if (cmyk)
            cmykToBgr(cmykRow.data(), bitmap.width(), inverted, bitmap.row(y));
    }
}

}  // namespace

Bitmap decodeJpeg(const QByteArray& bytes)
{
    int width = 0, height = 0;
    readJpegSize(bytes, width, height);
    checkClaimedSize(width, height, bytes.size(), kJpegPixelsPerByte, "JPEG");

    Bitmap bitmap(width, height);
    std::vector<JSAMPLE> cmykRow(std::size_t(width) * 4);
    withDecompressor(bytes, [&](jpeg_decompress_struct& info) {
        bool cmyk = false, inverted = false;
        startBgrDecompress(info, cmyk, inverted);
        readBgrRows(info, cmyk, inverted, bitmap, cmykRow);
        finish(info);
    });
    return bitmap;
}

int jpegReduction(int width, int height, int atLeastWidth, int atLeastHeight)
{
    // libjpeg's own rounding of a scaled size (jdiv_round_up).
    const auto scaled = [](int side, int denominator) { return (side + denominator - 1) / denominator; };
    for (const int denominator : {8, 4, 2})
        if (scaled(width, denominator) >= atLeastWidth && scaled(height, denominator) >= atLeastHeight)
            return denominator;
    return 1;
}

Bitmap decodeJpegReduced(const QByteArray& bytes, int atLeastWidth, int atLeastHeight)
{
    int width = 0, height = 0;
    readJpegSize(bytes, width, height);
    checkClaimedSize(width, height, bytes.size(), kJpegPixelsPerByte, "JPEG");
    const int denominator = jpegReduction(width, height, atLeastWidth, atLeastHeight);
    const int outWidth = (width + denominator - 1) / denominator;
    const int outHeight = (height + denominator - 1) / denominator;

    Bitmap bitmap(outWidth, outHeight);
    std::vector<JSAMPLE> cmykRow(std::size_t(outWidth) * 4);
    bool otherSize = false;
    withDecompressor(bytes, [&](jpeg_decompress_struct& info) {
        info.scale_num = 1;
        info.scale_denom = unsigned(denominator);
        bool cmyk = false, inverted = false;
        startBgrDecompress(info, cmyk, inverted);
        if (int(info.output_width) != outWidth || int(info.output_height) != outHeight) {
            otherSize = true;
            return;
        }
        readBgrRows(info, cmyk, inverted, bitmap, cmykRow);
        finish(info);
    });
    if (otherSize)
        throw CodecError("JPEG picture did not decode to the size asked for");
    return bitmap;
}

void decodeJpegRows(const QByteArray& bytes, SourceRows& rows)
{
    const int width = rows.width();
    const int height = rows.height();
    // The same refusals as decodeJpeg's, so that a stream refused here is
    // one decodeJpeg refuses too.
    if (bytes.isEmpty())
        throw CodecError("empty JPEG file");
    checkClaimedSize(width, height, bytes.size(), kJpegPixelsPerByte, "JPEG");
    // Made before the jump point: a row for CMYK pixels and one for the
    // last row of the picture when it is not wanted.
    std::vector<JSAMPLE> cmykRow(std::size_t(width) * 4);
    std::vector<JSAMPLE> scratchRow(rows.rowBytes());
    const std::vector<int>& wanted = rows.rows();
    bool otherSize = false;
    withDecompressor(
        bytes,
        [&](jpeg_decompress_struct& info) {
            if (int(info.image_width) != width || int(info.image_height) != height) {
                otherSize = true;
                return;
            }
            bool cmyk = false, inverted = false;
            startBgrDecompress(info, cmyk, inverted);
            const bool skip = skippingKeepsRows(info);
            // The last row is always decoded: skipping to the end of the
            // picture would let libjpeg stop reading, and damage in the
            // rows left would go unseen.
            const std::size_t count = wanted.size();
            for (std::size_t i = 0; i <= count; ++i) {
                const bool keep = i < count;
                const JDIMENSION y = keep ? JDIMENSION(wanted[i]) : JDIMENSION(height - 1);
                if (!keep && info.output_scanline > y)
                    break;
                if (y > info.output_scanline && skip)
                    jpeg_skip_scanlines(&info, y - info.output_scanline);
                while (y > info.output_scanline) {
                    JSAMPROW passed = cmyk ? cmykRow.data() : scratchRow.data();
                    jpeg_read_scanlines(&info, &passed, 1);
                }
                std::uint8_t* out = keep ? rows.row(int(y)) : scratchRow.data();
                JSAMPROW row = cmyk ? cmykRow.data() : out;
                jpeg_read_scanlines(&info, &row, 1);
                if (cmyk)
                    cmykToBgr(cmykRow.data(), width, inverted, out);
            }
            finish(info);
        },
        kMaxScansForRows);
    if (otherSize)
        throw CodecError("JPEG picture is not of the size asked for");
}

std::optional<JpegFrame> peekJpegFrame(QIODevice& device)
{
    const auto byte = [](const QByteArray& bytes, qsizetype at) { return int(static_cast<unsigned char>(bytes[at])); };
    const qint64 start = device.pos();
    const JpegByteSource read = [&](std::int64_t at, std::int64_t count) {
        return device.seek(start + at) ? device.read(count) : QByteArray();
    };
    std::optional<JpegFrame> found;
    walkJpegSegments(read, device.size() - start, [&](const JpegSegment& segment) {
        // Start of frame: every SOFn but DHT (C4), JPG (C8) and DAC (CC).
        const int code = segment.marker;
        if (code < 0xC0 || code > 0xCF || code == 0xC4 || code == 0xC8 || code == 0xCC)
            return true;
        const QByteArray body = read(segment.payloadAt, segment.payloadSize);
        if (body.size() < 6 || body.size() < 6 + 3 * byte(body, 5))
            return false;
        JpegFrame frame;
        frame.height = byte(body, 1) << 8 | byte(body, 2);
        frame.width = byte(body, 3) << 8 | byte(body, 4);
        frame.offset = segment.offset;
        const int components = byte(body, 5);
        // Progressive (C2, C6, CA, CE) streams are decoded from a buffer of
        // every coefficient: 64 two-byte coefficients a block.
        frame.progressive = (code & 0x03) == 0x02;
        int maxH = 1, maxV = 1;
        for (int c = 0; c < components; ++c) {
            maxH = std::max(maxH, byte(body, 7 + 3 * c) >> 4);
            maxV = std::max(maxV, byte(body, 7 + 3 * c) & 15);
        }
        for (int c = 0; frame.progressive && c < components; ++c) {
            const std::int64_t h = std::max(byte(body, 7 + 3 * c) >> 4, 1);
            const std::int64_t v = std::max(byte(body, 7 + 3 * c) & 15, 1);
            const std::int64_t blocksWide = (std::int64_t(frame.width) * h / maxH + 7) / 8 + h;
            const std::int64_t blocksHigh = (std::int64_t(frame.height) * v / maxV + 7) / 8 + v;
            frame.coefficientBytes += blocksWide * blocksHigh * 128;
        }
        found = frame;
        return false;
    });
    return found;
}

QByteArray jfifBytes(const Bitmap& bitmap, int quality)
{
    if (bitmap.isEmpty())
        throw CodecError("cannot write an empty picture as JPEG");
    unsigned char* buffer = nullptr;
    unsigned long size = 0;

    jpeg_compress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    jpeg_create_compress(&info);
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        throw CodecError(failureText(errors));
    }
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(bitmap.width());
    info.image_height = JDIMENSION(bitmap.height());
    // The bitmap's rows go in as they are (blue, green, red); libjpeg
    // converts them to YCbCr exactly as it would RGB rows.
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(bitmap.row(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray result(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return result;
}

IndexedImage decodeJpegQuantized(const QByteArray& bytes, int colors)
{
    int width = 0, height = 0;
    readJpegSize(bytes, width, height);
    checkClaimedSize(width, height, bytes.size(), kJpegPixelsPerByte, "JPEG");
    IndexedImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(std::size_t(width) * std::size_t(height));
    image.palette.resize(256);
    int paletteSize = 0;

    withDecompressor(bytes, [&](jpeg_decompress_struct& info) {
        info.out_color_space = JCS_RGB;
        info.quantize_colors = TRUE;
        info.desired_number_of_colors = colors;
        info.two_pass_quantize = TRUE;
        info.dither_mode = JDITHER_FS;
        info.dct_method = JDCT_ISLOW;
        jpeg_start_decompress(&info);
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = image.pixels.data() + std::size_t(info.output_scanline) * std::size_t(width);
            jpeg_read_scanlines(&info, &row, 1);
        }
        const bool grey = info.out_color_components == 1;
        paletteSize = std::min(info.actual_number_of_colors, 256);
        for (int i = 0; i < paletteSize; ++i) {
            PaletteColor& color = image.palette[std::size_t(i)];
            color.red = info.colormap[0][i];
            color.green = grey ? info.colormap[0][i] : info.colormap[1][i];
            color.blue = grey ? info.colormap[0][i] : info.colormap[2][i];
        }
        finish(info);
    });
    image.palette.resize(std::size_t(paletteSize));
    return image;
}

}  // namespace tessaly
