// The JPEG metadata reader over any bytes, then what the program does with
// its answer: the colour profile checked with Little CMS and a small
// picture turned by the orientation. Nothing may crash, hang or read past
// the input, and the answer must stay in range.

#include "imaging/photo/colourprofile.h"
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
    return 0;
}
