// tessaly-metafile-player: plays one metafile back through the metafile
// libraries, apart from the program that asked for it (see
// imaging/codecs/metafileplayer.h).
//
//   tessaly-metafile-player emf|wmf WIDTH HEIGHT MEMORY SECONDS
//       reads the file on standard input and writes WIDTH x HEIGHT pixels
//       (blue, green, red; rows top first) to standard output
//   tessaly-metafile-player wmf size MEMORY SECONDS
//       writes the Windows metafile's width and height (two 32-bit numbers)
//
// Exit status 0 when done, 2 when the file cannot be played back, 1 for
// wrong arguments.

#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/metafilecodec.h"
#include "imaging/codecs/sanitizerbuild.h"
#include "platform/fileops.h"

#include <QByteArray>
#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

void limit(int resource, rlim_t value)
{
    const rlimit wanted{value, value};
    setrlimit(resource, &wanted);
}

// Ends at once: no exit handlers (the libraries' leftovers are the
// system's to free, and a leak report must not turn a picture into a
// failure).
[[noreturn]] void finish(int status)
{
    _exit(status);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 6 && argc != 5)
        return 1;
    const std::string format = argv[1];
    const bool sizeOnly = argc == 5 && std::strcmp(argv[2], "size") == 0;
    if ((format != "emf" && format != "wmf") || (argc == 5 && (!sizeOnly || format != "wmf")))
        return 1;
    const int width = sizeOnly ? 0 : std::atoi(argv[2]);
    const int height = sizeOnly ? 0 : std::atoi(argv[3]);
    const long long memory = std::atoll(argv[argc - 2]);
    const long long seconds = std::atoll(argv[argc - 1]);
    if ((!sizeOnly && (width <= 0 || height <= 0)) || memory <= 0 || seconds <= 0)
        return 1;

    limit(RLIMIT_CPU, rlim_t(seconds));
    limit(RLIMIT_CORE, 0);
    // The sanitizer reserves terabytes of address space up front; there
    // the caller's watch on resident memory is the limit.
    if (!tessaly::kAddressSanitizer)
        limit(RLIMIT_AS, rlim_t(memory) + (rlim_t(256) << 20));

    QByteArray bytes;
    if (!tessaly::readAll(0, bytes))
        return 2;
    // Text in drawings needs Qt's fonts, which need a GUI application; no
    // display is used.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    try {
        if (sizeOnly) {
            std::int32_t size[2] = {0, 0};
            tessaly::readMetafileSizeWithLibraries(bytes, size[0], size[1]);
            finish(tessaly::writeAll(1, reinterpret_cast<const char*>(size), sizeof size) ? 0 : 2);
        }
        const tessaly::Bitmap bitmap = tessaly::renderMetafileWithLibraries(
            bytes, format == "emf" ? tessaly::MetafileFormat::Enhanced : tessaly::MetafileFormat::Windows, width,
            height);
        for (int y = 0; y < bitmap.height(); ++y)
            if (!tessaly::writeAll(1, reinterpret_cast<const char*>(bitmap.row(y)), bitmap.rowBytes()))
                finish(2);
        finish(0);
    } catch (const std::exception&) {
        finish(2);
    }
}
