#include "support/cameraphoto.h"

#include "imaging/codecs/jpegmarkers.h"
#include "support/imagingtesttools.h"

#include <exiv2/exiv2.hpp>

namespace tessaly::testing {

namespace {

QByteArray segment(int marker, const QByteArray& payload)
{
    const int length = int(payload.size()) + 2;
    return QByteArray{"\xFF"} + char(marker) + char(length >> 8) + char(length & 0xFF) + payload;
}

QByteArray cameraExif(int orientation)
{
    Exiv2::ExifData exif;
    exif["Exif.Image.Make"] = "Maker of Cameras";
    exif["Exif.Image.Model"] = "Model 7";
    exif["Exif.Photo.DateTimeOriginal"] = "2024:05:06 07:08:09";
    exif["Exif.Image.Orientation"] = std::uint16_t(orientation);
    exif["Exif.GPSInfo.GPSLatitudeRef"] = "N";
    exif["Exif.GPSInfo.GPSLatitude"] = "52/1 30/1 0/1";
    const QByteArray thumbnail = makeJpeg(makeBitmap(16, 8, [](int x, int) { return Rgb{x * 16, 90, 40}; }), false, 80);
    Exiv2::ExifThumb(exif).setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(thumbnail.constData()),
                                            long(thumbnail.size()));
    Exiv2::Blob blob;
    Exiv2::ExifParser::encode(blob, Exiv2::littleEndian, exif);
    return QByteArray("Exif\0\0", 6) + QByteArray(reinterpret_cast<const char*>(blob.data()), qsizetype(blob.size()));
}

const char kXmp[] = "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
                    "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description rdf:about='' "
                    "xmlns:exif='http://ns.adobe.com/exif/1.0/' xmlns:xmp='http://ns.adobe.com/xap/1.0/' "
                    "exif:GPSLatitude='52,30.0N' xmp:Rating='4'/></rdf:RDF></x:xmpmeta>";

}  // namespace

QByteArray cameraJpeg(const Bitmap& stored, int orientation)
{
    const QByteArray jpeg = makeJpeg(stored, false, 92);
    const QByteArray segments = segment(0xE1, cameraExif(orientation)) +
                                segment(0xE1, QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) + kXmp) +
                                segment(0xED, QByteArray("Photoshop 3.0\0IPTC", 18)) +
                                segment(0xE2, QByteArray("ICC_PROFILE\0\x01\x01", 14) + QByteArray("profile bytes"));
    return jpeg.left(2) + segments + jpeg.mid(2);
}

QByteArray cameraXmp()
{
    return QByteArray(kXmp);
}

QList<QByteArray> segmentPayloads(const QByteArray& jpeg, int marker, const QByteArray& prefix)
{
    QList<QByteArray> found;
    walkJpegSegments(jpeg, [&](const JpegSegment& s) {
        if (s.marker == marker && segmentPayload(jpeg, s).startsWith(prefix))
            found += segmentPayload(jpeg, s);
        return true;
    });
    return found;
}

std::string exifValue(const QByteArray& jpeg, const char* key)
{
    const QList<QByteArray> blocks = segmentPayloads(jpeg, 0xE1, QByteArray("Exif\0\0", 6));
    if (blocks.size() != 1)
        return "(" + std::to_string(blocks.size()) + " EXIF blocks)";
    Exiv2::ExifData exif;
    Exiv2::ExifParser::decode(exif, reinterpret_cast<const Exiv2::byte*>(blocks[0].constData()) + 6,
                              std::uint32_t(blocks[0].size() - 6));
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    return it == exif.end() ? "(none)" : it->toString();
}

}  // namespace tessaly::testing
