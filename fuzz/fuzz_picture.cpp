// One JPEG, GIF or BMP file (by FUZZ_NAME's extension) opened and drawn as
// a run does: decoded, copied to the working bitmap and shrunk to a
// thumbnail. Every input must end in a picture or a LoadError.

#include "imaging/picture.h"
#include "imaging/resample.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const tessaly::Picture picture = tessaly::decodePicture(bytes, QStringLiteral(FUZZ_NAME));
        tessaly::Bitmap work;
        tessaly::DrawToBitmap(work, picture);
        if (work.width() != picture.width() || work.height() != picture.height())
            __builtin_trap();
        tessaly::FastResize(work, picture, 24, 16);
    } catch (const tessaly::LoadError&) {
    }
    return 0;
}
