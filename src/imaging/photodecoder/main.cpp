// tessaly-photo-decoder: decodes one TIFF, HEIF or AVIF file apart from the
// program that asked for it (see imaging/codecs/photocodec.h). libtiff,
// libheif and the video decoders behind it have a history of faults on
// hostile files; here a fault costs only this process.
//
//   tessaly-photo-decoder tiff|heif|avif MEMORY SECONDS
//       reads the file on standard input and writes the picture or the
//       reason it cannot be read (imaging/codecs/photodecoderwire.h)
//
// Exit status 0 when an answer was written, 2 when none could be, 1 for
// wrong arguments.

#include "imaging/codecs/photocodec.h"
#include "imaging/codecs/sanitizerbuild.h"

#include <QCoreApplication>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

namespace {

using tessaly::kAddressSanitizer;

void limit(int resource, rlim_t value)
{
    const rlimit wanted{value, value};
    setrlimit(resource, &wanted);
}

}  // namespace

int main(int argc, char** argv)
{
    tessaly::PhotoFormat format{};
    if (argc != 4 || !tessaly::photoFormatFromWord(argv[1], format))
        return 1;
    const long long memory = std::atoll(argv[2]);
    const long long seconds = std::atoll(argv[3]);
    if (memory <= 0 || seconds <= 0)
        return 1;
    limit(RLIMIT_CPU, rlim_t(seconds));
    limit(RLIMIT_CORE, 0);
    // The sanitizer reserves terabytes of address space up front; there the
    // caller's watch on resident memory is the limit.
    if (!kAddressSanitizer)
        limit(RLIMIT_AS, rlim_t(memory) + (rlim_t(256) << 20));
    // Qt finds its image plugins through the application object.
    int qtArgc = 1;
    QCoreApplication application(qtArgc, argv);
    // No exit handlers: what the libraries leave is the system's to free.
    _exit(tessaly::runPhotoDecoder(format));
}
