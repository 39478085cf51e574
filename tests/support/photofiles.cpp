#include "support/photofiles.h"

#include <QBuffer>
#include <exiv2/exiv2.hpp>
#include <memory>
#include <stdexcept>

namespace tessaly::testing {

namespace {

void appendLe(QByteArray& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char(value >> (8 * i) & 0xff));
}

void appendBe32(QByteArray& out, std::uint32_t value)
{
    for (int i = 3; i >= 0; --i)
        out.append(char(value >> (8 * i) & 0xff));
}

heif_error appendBytes(heif_context*, const void* data, size_t size, void* out)
{
    static_cast<QByteArray*>(out)->append(static_cast<const char*>(data), qsizetype(size));
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, "ok"};
}

// `bitmap` as an RGB picture for libheif's encoder.
heif_image* heifImageOf(const Bitmap& bitmap)
{
    const int width = bitmap.width(), height = bitmap.height();
    heif_image* image = nullptr;
    heif_image_create(width, height, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
    heif_image_add_plane(image, heif_channel_interleaved, width, height, 8);
    int stride = 0;
    std::uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                plane[y * stride + x * 3 + c] = bitmap.row(y)[x * 3 + 2 - c];
    return image;
}

QByteArray writtenContext(heif_context* context)
{
    QByteArray bytes;
    heif_writer writer{};
    writer.writer_api_version = 1;
    writer.write = appendBytes;
    heif_context_write(context, &writer, &bytes);
    return bytes;
}

}  // namespace

std::uint32_t pngCrc(const QByteArray& typeAndContents)
{
    std::uint32_t crc = 0xffffffffu;
    for (const char byte : typeAndContents) {
        crc ^= std::uint8_t(byte);
        for (int k = 0; k < 8; ++k)
            crc = crc & 1 ? 0xedb88320u ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

QByteArray writtenByQt(const QImage& image, const char* format, const std::function<void(QImageWriter&)>& configure)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (configure)
        configure(writer);
    if (!writer.write(image))
        throw std::runtime_error(writer.errorString().toStdString());
    return bytes;
}

QByteArray exifWithOrientation(int orientation, int type)
{
    QByteArray exif("II*\0", 4);
    appendLe(exif, 8, 4);
    appendLe(exif, 1, 2);
    appendLe(exif, 0x0112, 2), appendLe(exif, std::uint32_t(type), 2), appendLe(exif, 1, 4),
        appendLe(exif, std::uint32_t(orientation), 4);
    appendLe(exif, 0, 4);
    return exif;
}

QByteArray pngWithExif(QByteArray png, const QByteArray& exif)
{
    const QByteArray body = QByteArray("eXIf") + exif;
    QByteArray chunk;
    appendBe32(chunk, std::uint32_t(exif.size()));
    chunk.append(body);
    appendBe32(chunk, pngCrc(body));
    return png.insert(png.size() - 12, chunk);
}

QByteArray webpWithExif(const QByteArray& simple, int width, int height, const QByteArray& exif)
{
    QByteArray chunks("VP8X");
    appendLe(chunks, 10, 4);
    appendLe(chunks, 0x08, 4);  // EXIF present
    appendLe(chunks, std::uint32_t(width - 1), 3);
    appendLe(chunks, std::uint32_t(height - 1), 3);
    chunks.append(simple.mid(12));
    chunks.append("EXIF");
    appendLe(chunks, std::uint32_t(exif.size()), 4);
    chunks.append(exif);
    if (exif.size() % 2)
        chunks.append('\0');
    QByteArray riff("RIFF");
    appendLe(riff, std::uint32_t(chunks.size() + 4), 4);
    return riff + "WEBP" + chunks;
}

QByteArray writtenByLibheif(const Bitmap& bitmap, heif_compression_format compression, heif_orientation orientation,
                            int primaries, int transfer)
{
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_context_get_encoder_for_format(context, compression, &encoder);
    heif_encoder_set_lossy_quality(encoder, 90);
    heif_image* image = heifImageOf(bitmap);
    heif_color_profile_nclx* nclx = heif_nclx_color_profile_alloc();
    if (primaries) {
        heif_nclx_color_profile_set_color_primaries(nclx, std::uint16_t(primaries));
        heif_nclx_color_profile_set_transfer_characteristics(nclx, std::uint16_t(transfer));
        heif_image_set_nclx_color_profile(image, nclx);
    }
    heif_encoding_options* options = heif_encoding_options_alloc();
    options->image_orientation = orientation;
    heif_context_encode_image(context, image, encoder, options, nullptr);
    const QByteArray bytes = writtenContext(context);
    heif_encoding_options_free(options);
    heif_nclx_color_profile_free(nclx);
    heif_image_release(image);
    heif_encoder_release(encoder);
    heif_context_free(context);
    return bytes;
}

QByteArray writtenByLibheif(const Bitmap& bitmap, heif_compression_format compression, const QByteArray& iccProfile,
                            const QByteArray& exif, const QByteArray& xmp)
{
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_context_get_encoder_for_format(context, compression, &encoder);
    heif_encoder_set_lossy_quality(encoder, 90);
    heif_image* image = heifImageOf(bitmap);
    if (!iccProfile.isEmpty())
        heif_image_set_raw_color_profile(image, "prof", iccProfile.constData(), std::size_t(iccProfile.size()));
    heif_image_handle* handle = nullptr;
    heif_context_encode_image(context, image, encoder, nullptr, &handle);
    if (!exif.isEmpty())
        heif_context_add_exif_metadata(context, handle, exif.constData(), int(exif.size()));
    if (!xmp.isEmpty())
        heif_context_add_XMP_metadata(context, handle, xmp.constData(), int(xmp.size()));
    const QByteArray bytes = writtenContext(context);
    heif_image_handle_release(handle);
    heif_image_release(image);
    heif_encoder_release(encoder);
    heif_context_free(context);
    return bytes;
}

QByteArray withXmp(const QByteArray& file, const char* format, const QByteArray& xmp, bool deflated)
{
    const QByteArray kind(format);
    if (kind == "png") {
        // Keyword, compression flag and method, empty language tag and
        // translated keyword, then the text.
        QByteArray body = QByteArray("iTXtXML:com.adobe.xmp\0", 22) + char(deflated ? 1 : 0) + '\0' + '\0' + '\0';
        body += deflated ? qCompress(xmp).mid(4) : xmp;  // qCompress puts the length in front of a zlib stream
        QByteArray chunk;
        appendBe32(chunk, std::uint32_t(body.size() - 4));
        chunk += body;
        appendBe32(chunk, pngCrc(body));
        QByteArray png = file;
        return png.insert(png.size() - 12, chunk);
    }
    if (kind == "webp") {
        if (file.mid(12, 4) != "VP8X")
            throw std::runtime_error("withXmp takes an extended WebP file");
        QByteArray webp = file;
        webp[20] = char(webp[20] | 0x04);  // XMP present
        webp += "XMP ";
        appendLe(webp, std::uint32_t(xmp.size()), 4);
        webp += xmp;
        if (xmp.size() % 2)
            webp += '\0';
        const QByteArray riffLength = [&] {
            QByteArray length;
            appendLe(length, std::uint32_t(webp.size() - 8), 4);
            return length;
        }();
        return webp.replace(4, 4, riffLength);
    }
    if (kind == "tiff") {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        const std::unique_ptr<Exiv2::Image> image(
            Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(file.constData()), long(file.size()))
                .release());
#pragma GCC diagnostic pop
        image->readMetadata();
        image->setXmpPacket(std::string(xmp.constData(), std::size_t(xmp.size())));
        image->writeXmpFromPacket(true);
        image->writeMetadata();
        Exiv2::BasicIo& io = image->io();
        io.seek(0, Exiv2::BasicIo::beg);
        const Exiv2::DataBuf written = io.read(long(io.size()));
        return QByteArray(reinterpret_cast<const char*>(written.pData_), qsizetype(written.size_));
    }
    throw std::runtime_error("withXmp takes PNG, WebP and TIFF files");
}

}  // namespace tessaly::testing
