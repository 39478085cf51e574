// One settings file read as the program reads it: through IniFile from a
// file (here a file in memory), every kind of key looked up.

#include "settings/inifile.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const int fd = memfd_create("settings", MFD_CLOEXEC);
    if (fd < 0)
        return 0;
    std::size_t written = 0;
    while (written < size) {
        const ssize_t done = write(fd, data + written, size - written);
        if (done <= 0)
            break;
        written += std::size_t(done);
    }
    const tessaly::IniFile file(QStringLiteral("/proc/self/fd/%1").arg(fd));
    const QString path =
        file.readString(QStringLiteral("Thumbnails"), QStringLiteral("Output File Qualifier"), QString());
    (void)file.readInteger(QStringLiteral("Thumbnails"), QStringLiteral("Max Size"), 90);
    (void)file.readInteger(QStringLiteral("HTML"), QStringLiteral("BorderSize"), 1);
    (void)file.readString(QStringLiteral("html"), QStringLiteral("title"), QStringLiteral("x"));
    int value = 0;
    (void)tessaly::parseSettingsInteger(path, value);
    if (path.size() > tessaly::IniFile::kMaxValueLength)
        __builtin_trap();
    close(fd);
    return 0;
}
