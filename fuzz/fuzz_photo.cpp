// One PNG, WebP, TIFF, HEIF or AVIF file (by FUZZ_NAME's extension) decoded
// in this process, as the decoder program does for the formats it takes,
// then shrunk to a thumbnail. Every input must end in a picture or a
// CodecError. Its photo information is read as the program reads it in its
// own process to carry it along (without decoding the file), and fitted to
// a written picture: the place must be gone from its EXIF when it is not
// kept, and its XMP goes through the same rewriting as a JPEG's. Its header
// is read as the dry run reads it, which must end in an answer, none or a
// CodecError, and where both tell, say what the decoder says.

#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/photocodec.h"
#include "imaging/photo/exifreader.h"
#include "imaging/photo/photoinformation.h"
#include "imaging/picture.h"
#include "imaging/resample.h"

#include <QByteArray>
#include <QCoreApplication>
#include <cstddef>
#include <cstdint>
#include <optional>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Qt finds its image plugins through the application object.
    static int argc = 1;
    static char name[] = "fuzz_photo";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    tessaly::PhotoFormat format{};
    if (!tessaly::photoFormatOf(tessaly::pictureKindForName(QStringLiteral(FUZZ_NAME)), format))
        __builtin_trap();
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const tessaly::PhotoFileInformation information = tessaly::readPhotoInformation(bytes, format);
    if (information.orientation < 1 || information.orientation > 8)
        __builtin_trap();
    tessaly::InformationChanges changes;
    changes.keepLocation = false;
    if (const auto exif = tessaly::fittedExif(information.exif, changes))
        if (tessaly::readExif(*exif).hasGps || tessaly::readExif(*exif).orientation != 1)
            __builtin_trap();
    if (!information.xmp.isEmpty())
        (void)tessaly::rewrittenXmp(tessaly::kXmpNamespace + '\0' + information.xmp, changes);
    std::optional<tessaly::PhotoHeader> header;
    try {
        header = tessaly::readPhotoHeader(tessaly::memorySource(bytes), bytes.size(), format);
    } catch (const tessaly::CodecError&) {
    }
    try {
        const tessaly::DecodedPhoto photo = tessaly::decodePhotoHere(bytes, format);
        if (photo.bitmap.isEmpty() || photo.metadata.orientation < 1 || photo.metadata.orientation > 8)
            __builtin_trap();
        if (header && (header->width != photo.bitmap.width() || header->height != photo.bitmap.height() ||
                       header->orientation != photo.metadata.orientation))
            __builtin_trap();
        const tessaly::Picture picture = tessaly::Picture::fromRaster(tessaly::PictureKind::Png, photo.bitmap);
        tessaly::Bitmap work;
        tessaly::FastResize(work, picture, 24, 16);
    } catch (const tessaly::CodecError&) {
    }
    return 0;
}
