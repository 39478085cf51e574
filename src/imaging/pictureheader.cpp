#include "imaging/pictureheader.h"

#include "imaging/codecs/bmpcodec.h"
#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/gifcodec.h"
#include "imaging/codecs/jpegcodec.h"
#include "imaging/codecs/photocodec.h"
#include "imaging/photo/jpegmetadata.h"
#include "imaging/photo/orientation.h"
#include "imaging/picture.h"
#include "platform/fileops.h"

#include <QBuffer>
#include <QFile>

namespace tessaly {

namespace {

// The bytes of a JPEG file in front of its first scan: its frame header
// and every metadata segment. Empty when the markers do not lead to a scan.
QByteArray jpegHead(QFile& file)
{
    const auto byte = [](const QByteArray& bytes, qsizetype at) { return int(static_cast<unsigned char>(bytes[at])); };
    if (file.read(2) != QByteArrayLiteral("\xff\xd8"))
        return {};
    // As many segments as peekJpegFrame walks before giving up.
    for (int segments = 0; segments < 1000; ++segments) {
        const qint64 at = file.pos();
        const QByteArray marker = file.read(4);
        if (marker.size() < 4 || byte(marker, 0) != 0xFF)
            return {};
        if (byte(marker, 1) == 0xFF) {  // fill byte
            file.seek(at + 1);
            continue;
        }
        if (byte(marker, 1) == 0xDA) {
            file.seek(0);
            return file.read(at);
        }
        const int length = byte(marker, 2) << 8 | byte(marker, 3);
        if (length < 2 || at + 2 + length > file.size() || !file.seek(at + 2 + length))
            return {};
    }
    return {};
}

std::optional<QSize> jpegSize(QFile& file, const PhotoOptions& photo)
{
    QByteArray head = jpegHead(file);
    if (head.isEmpty())
        return std::nullopt;
    QBuffer buffer(&head);
    buffer.open(QIODevice::ReadOnly);
    const std::optional<JpegFrame> frame = peekJpegFrame(buffer);
    if (!frame)
        return std::nullopt;
    // decodeJpeg's own refusal of sizes its data cannot hold.
    checkJpegClaimedSize(frame->width, frame->height, file.size());
    const int orientation = photo.turnUpright ? readJpegMetadata(head).orientation : 1;
    return swapsSides(orientation) ? QSize(frame->height, frame->width) : QSize(frame->width, frame->height);
}

}  // namespace

std::optional<QSize> pictureSizeFromHeader(const QString& path, const PhotoOptions& photo)
{
    const PictureKind kind = pictureKindForName(path);
    PhotoFormat format{};
    const bool isPhoto = photoFormatOf(kind, format);
    if (kind != PictureKind::Jpeg && kind != PictureKind::Gif && kind != PictureKind::Bmp && !isPhoto)
        return std::nullopt;
    try {
        QFile file;
        if (openForReading(file, path).failed())
            return std::nullopt;
        if (kind == PictureKind::Jpeg)
            return jpegSize(file, photo);
        if (isPhoto) {
            const std::optional<PhotoHeader> header =
                readPhotoHeader(deviceSource(file, file.size()), file.size(), format);
            if (!header)
                return std::nullopt;
            const bool turned = photo.turnUpright && swapsSides(header->orientation);
            return turned ? QSize(header->height, header->width) : QSize(header->width, header->height);
        }
        // A GIF's screen and a BMP's header are checked against the length
        // of the file, read whole: these files are small beside photos, and
        // reading is not decoding.
        int width = 0, height = 0;
        const QByteArray bytes = file.readAll();
        if (kind == PictureKind::Gif)
            readGifSize(bytes, width, height);
        else
            readBmpSize(bytes, width, height);
        return QSize(width, height);
    } catch (const CodecError&) {
        return std::nullopt;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace tessaly
