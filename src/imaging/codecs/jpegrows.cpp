#include "imaging/codecs/jpegrows.h"

#include "imaging/codecs/codecerror.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

// libjpeg reports errors through a longjmp: the code between the setjmp and
// the library calls makes no C++ objects with destructors, and everything
// it fills was made before the setjmp.

namespace tessaly {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool warned = false;
};

void onError(j_common_ptr info)
{
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// libjpeg warns about data that ends early or is corrupt. What to make of
// such a file is decodeJpeg's to say: the rows are not used, and the file is
// left to it.
void onMessage(j_common_ptr info, int level)
{
    if (level < 0)
        reinterpret_cast<ErrorManager*>(info->err)->warned = true;
}

// Real files have about ten scans; one with many more is left to
// decodeJpeg, which decides whether so many are worth decoding, before
// their cost is spent here.
constexpr int kMaxScans = 100;

void onProgress(j_common_ptr info)
{
    if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans) {
        auto* errors = reinterpret_cast<ErrorManager*>(info->err);
        std::snprintf(errors->message, sizeof errors->message, "JPEG file has more than %d scans", kMaxScans);
        std::longjmp(errors->jump, 1);
    }
}

// CMYK (inverted when an Adobe marker says so) to blue, green, red, as
// decodeJpeg converts it.
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

void decodeJpegRows(const QByteArray& bytes, SourceRows& rows)
{
    if (bytes.isEmpty())
        throw CodecError("empty JPEG file");
    const int width = rows.width();
    const int height = rows.height();
    // Made before the jump point: a row for CMYK pixels and one for the
    // last row of the picture when it is not wanted.
    std::vector<JSAMPLE> cmykRow(std::size_t(width) * 4);
    std::vector<JSAMPLE> scratchRow(rows.rowBytes());
    const std::vector<int>& wanted = rows.rows();

    jpeg_decompress_struct info{};
    ErrorManager errors{};
    jpeg_progress_mgr progress{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    errors.message[0] = 0;
    progress.progress_monitor = onProgress;
    jpeg_create_decompress(&info);
    info.progress = &progress;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        throw CodecError(errors.message);
    }
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (int(info.image_width) != width || int(info.image_height) != height) {
        jpeg_destroy_decompress(&info);
        throw CodecError("JPEG picture is not of the size asked for");
    }
    {
        const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
        const bool inverted = cmyk && info.saw_Adobe_marker;
        info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
        info.dct_method = JDCT_ISLOW;
        jpeg_start_decompress(&info);
        const bool skip = skippingKeepsRows(info);
        // The last row is always decoded: skipping to the end of the
        // picture would let libjpeg stop reading, and damage in the rows
        // left would go unseen.
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
        jpeg_finish_decompress(&info);
    }
    jpeg_destroy_decompress(&info);
    if (errors.warned)
        throw CodecError("JPEG data is damaged or cut short");
}

}  // namespace tessaly
