#include "imaging/codecs/jpegcodec.h"

#include "imaging/codecs/codecerror.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

// libjpeg reports errors through a longjmp. Every function below keeps the
// code between setjmp and the library calls free of C++ objects with
// destructors, so that a jump never skips one; results go into storage that
// was made before the setjmp.

namespace tessaly {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr info)
{
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// Corrupt-data warnings would otherwise be printed; a picture that decodes
// with them is still a picture.
void onMessage(j_common_ptr, int) {}

void checkSize(unsigned width, unsigned height)
{
    if (width == 0 || height == 0 || width > 65535 || height > 65535 ||
        std::size_t(width) * height > Bitmap::kMaxPixels)
        throw CodecError("JPEG picture has an unusable size");
}

// Makes a decompressor whose errors jump to `errors.jump`.
void createDecompress(jpeg_decompress_struct& info, ErrorManager& errors)
{
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    errors.message[0] = 0;
    jpeg_create_decompress(&info);
}

// Points the decompressor at `bytes` and reads the header; errors jump.
void readHeader(jpeg_decompress_struct& info, const QByteArray& bytes)
{
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
}

}  // namespace

void readJpegSize(const QByteArray& bytes, int& width, int& height)
{
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    createDecompress(info, errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        throw CodecError(errors.message);
    }
    readHeader(info, bytes);
    width = int(info.image_width);
    height = int(info.image_height);
    jpeg_destroy_decompress(&info);
}

Bitmap decodeJpeg(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        throw CodecError("empty JPEG file");
    int width = 0, height = 0;
    readJpegSize(bytes, width, height);
    checkSize(unsigned(width), unsigned(height));

    Bitmap bitmap(width, height);
    std::vector<JSAMPLE> cmykRow;  // made before the jump point
    cmykRow.resize(std::size_t(width) * 4);

    jpeg_decompress_struct info{};
    ErrorManager errors{};
    createDecompress(info, errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        throw CodecError(errors.message);
    }
    readHeader(info, bytes);
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    const bool inverted = cmyk && info.saw_Adobe_marker;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    info.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        if (!cmyk) {
            JSAMPROW row = bitmap.row(y);
            jpeg_read_scanlines(&info, &row, 1);
            continue;
        }
        JSAMPROW row = cmykRow.data();
        jpeg_read_scanlines(&info, &row, 1);
        std::uint8_t* out = bitmap.row(y);
        for (int x = 0; x < width; ++x) {
            int c = cmykRow[std::size_t(x) * 4], m = cmykRow[std::size_t(x) * 4 + 1];
            int yl = cmykRow[std::size_t(x) * 4 + 2], k = cmykRow[std::size_t(x) * 4 + 3];
            if (!inverted) {
                c = 255 - c;
                m = 255 - m;
                yl = 255 - yl;
                k = 255 - k;
            }
            // Inverted CMYK holds 255 - ink; the colour is what the inks let through.
            out[x * 3] = std::uint8_t((yl * k + 127) / 255);
            out[x * 3 + 1] = std::uint8_t((m * k + 127) / 255);
            out[x * 3 + 2] = std::uint8_t((c * k + 127) / 255);
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return bitmap;
}

QByteArray encodeJpeg(const Bitmap& bitmap, int quality)
{
    if (bitmap.isEmpty())
        throw CodecError("cannot write an empty picture as JPEG");
    std::vector<JSAMPLE> rgbRow(bitmap.rowBytes());
    unsigned char* buffer = nullptr;
    unsigned long size = 0;

    jpeg_compress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    jpeg_create_compress(&info);
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        throw CodecError(errors.message);
    }
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(bitmap.width());
    info.image_height = JDIMENSION(bitmap.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        const std::uint8_t* in = bitmap.row(int(info.next_scanline));
        for (int x = 0; x < bitmap.width(); ++x) {
            rgbRow[std::size_t(x) * 3] = in[x * 3 + 2];
            rgbRow[std::size_t(x) * 3 + 1] = in[x * 3 + 1];
            rgbRow[std::size_t(x) * 3 + 2] = in[x * 3];
        }
        JSAMPROW row = rgbRow.data();
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
    checkSize(unsigned(width), unsigned(height));
    IndexedImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(std::size_t(width) * std::size_t(height));
    image.palette.reserve(256);

    jpeg_decompress_struct info{};
    ErrorManager errors{};
    createDecompress(info, errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        throw CodecError(errors.message);
    }
    readHeader(info, bytes);
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
    for (int i = 0; i < info.actual_number_of_colors; ++i) {
        PaletteColor color;
        color.red = info.colormap[0][i];
        color.green = grey ? info.colormap[0][i] : info.colormap[1][i];
        color.blue = grey ? info.colormap[0][i] : info.colormap[2][i];
        image.palette.push_back(color);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return image;
}

}  // namespace tessaly
