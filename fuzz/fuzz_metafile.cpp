// One EMF or WMF file (by FUZZ_NAME's extension) opened as a run opens it:
// its records checked, its size read. Files that pass are then drawn small,
// our own single-bitmap files by the exact reader and all others by the
// metafile libraries in this process (not in the player), so that the
// fuzzer sees what the record checks let through to the libraries.

#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/metafilecodec.h"
#include "imaging/picture.h"

#include <QByteArray>
#include <QGuiApplication>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Text in drawings needs Qt's fonts; no display is used.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString name = QStringLiteral(FUZZ_NAME);
    const auto format =
        name.endsWith(QLatin1String("emf")) ? tessaly::MetafileFormat::Enhanced : tessaly::MetafileFormat::Windows;
    try {
        const QByteArray checked = tessaly::checkedMetafile(bytes, format);
        // A WMF without a placeable header has its size from libwmf, in the
        // player; the fuzzer draws it at a fixed size instead.
        int width = 40, height = 30;
        if (format == tessaly::MetafileFormat::Enhanced || checked.startsWith("\xD7\xCD\xC6\x9A"))
            tessaly::readMetafileSize(checked, format, width, height);
        const int w = std::min(width, 48), h = std::min(height, 48);
        tessaly::Bitmap drawn = tessaly::renderMetafileWithLibraries(checked, format, w, h);
        if (drawn.width() != w || drawn.height() != h)
            __builtin_trap();
        // The exact reader for our own files, through the program's path
        // when it applies (otherwise this would start the player).
        if (checked.size() < 4096 && checked.contains("Quorvane"))
            (void)tessaly::decodePicture(bytes, name).render(w, h);
    } catch (const tessaly::Error&) {
    }
    return 0;
}
