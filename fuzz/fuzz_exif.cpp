// The JPEG metadata reader over any bytes, then what the program does with
// its answer: the colour profile checked with Little CMS and a small
// picture turned by the orientation. The same bytes as an EXIF block, and
// the photo information carried from them into a written JPEG (rewritten by
// exiv2), where the place must be gone when it is not kept. Nothing may
// crash, hang or read past the input, and the answer must stay in range.

#include "imaging/codecs/jpegmarkers.h"
#include "imaging/photo/colourprofile.h"
#include "imaging/photo/exifreader.h"
#include "imaging/photo/jpeginformation.h"
#include "imaging/photo/jpegmetadata.h"
#include "imaging/photo/orientation.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const tessaly::PhotoMetadata metadata = tessaly::readJpegMetadata(bytes);
    if (metadata.orientation < 1 || metadata.orientation > 8 || metadata.iccProfile.size() > bytes.size())
        __builtin_trap();
    tessaly::Bitmap picture(3, 2);
    picture.fill(10, 20, 30);
    tessaly::convertToSrgb(picture, metadata.iccProfile);
    const tessaly::Bitmap upright = tessaly::turnedUpright(picture, metadata.orientation);
    if (upright.width() * upright.height() != 6)
        __builtin_trap();

    const tessaly::ExifSummary exif = tessaly::readExif(bytes);
    if (exif.orientation < 1 || exif.orientation > 8)
        __builtin_trap();
    tessaly::CarriedInformation carried;
    carried.everything = size % 2 == 0;
    carried.changes.keepLocation = false;
    const QByteArray segments = QByteArray("\xFF\xD8", 2) + tessaly::carriedSegments(bytes, carried);
    tessaly::walkJpegSegments(segments, [&](const tessaly::JpegSegment& segment) {
        const QByteArray payload = tessaly::segmentPayload(segments, segment);
        if (segment.marker == 0xE1 && payload.startsWith(QByteArray("Exif\0\0", 6)) &&
            (tessaly::readExif(payload).hasGps || tessaly::readExif(payload).orientation != 1))
            __builtin_trap();
        return true;
    });
    return 0;
}
