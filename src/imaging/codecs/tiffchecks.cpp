#include "imaging/codecs/tiffchecks.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <tiffio.h>

namespace tessaly {

namespace {

QString g_damage;
TIFFErrorHandler g_previous = nullptr;

bool meansDamage(const char* text)
{
    return std::strstr(text, "Corrupt JPEG data") || std::strstr(text, "remature end");
}

void onWarning(const char* module, const char* format, va_list arguments)
{
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    if (g_damage.isEmpty() && meansDamage(text))
        g_damage = QString::fromLocal8Bit(text).trimmed();
    (void)module;
}

// A TIFF file in memory for libtiff's client interface.
struct MemoryFile {
    const QByteArray& bytes;
    toff_t at = 0;
};

tmsize_t readMemory(thandle_t handle, void* data, tmsize_t size)
{
    auto* file = static_cast<MemoryFile*>(handle);
    const toff_t end = toff_t(file->bytes.size());
    const tmsize_t count = file->at >= end ? 0 : tmsize_t(std::min<toff_t>(toff_t(size), end - file->at));
    std::memcpy(data, file->bytes.constData() + file->at, std::size_t(count));
    file->at += toff_t(count);
    return count;
}

tmsize_t writeNothing(thandle_t, void*, tmsize_t)
{
    return -1;
}

toff_t seekMemory(thandle_t handle, toff_t offset, int whence)
{
    auto* file = static_cast<MemoryFile*>(handle);
    const auto size = toff_t(file->bytes.size());
    switch (whence) {
    case SEEK_SET: file->at = offset; break;
    case SEEK_CUR: file->at += offset; break;
    case SEEK_END: file->at = size + offset; break;
    default: return toff_t(-1);
    }
    return file->at;
}

int closeNothing(thandle_t)
{
    return 0;
}

toff_t sizeOfMemory(thandle_t handle)
{
    return toff_t(static_cast<MemoryFile*>(handle)->bytes.size());
}

void quiet(const char*, const char*, va_list) {}

}  // namespace

TiffDamageWatch::TiffDamageWatch()
{
    g_damage.clear();
    g_previous = TIFFSetWarningHandler(onWarning);
}

TiffDamageWatch::~TiffDamageWatch()
{
    TIFFSetWarningHandler(g_previous);
}

std::optional<QString> TiffDamageWatch::damage() const
{
    if (g_damage.isEmpty())
        return std::nullopt;
    return g_damage;
}

std::optional<QString> tiffRefusalReason(const QByteArray& bytes)
{
    MemoryFile file{bytes};
    const TIFFErrorHandler errors = TIFFSetErrorHandler(quiet);
    TIFF* tiff = TIFFClientOpen("memory", "rm", &file, readMemory, writeNothing, seekMemory, closeNothing, sizeOfMemory,
                                nullptr, nullptr);
    TIFFSetErrorHandler(errors);
    if (!tiff)
        return std::nullopt;
    std::uint16_t photometric = 0, bits = 0, inks = INKSET_CMYK;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_INKSET, &inks);
    TIFFClose(tiff);
    if (photometric == PHOTOMETRIC_SEPARATED && inks == INKSET_CMYK)
        return QStringLiteral("its CMYK (printing ink) colours of %1 bits a channel cannot be read; "
                              "only 8 bits a channel are")
            .arg(bits);
    if (photometric == PHOTOMETRIC_SEPARATED)
        return QStringLiteral("its colours are separations of inks other than CMYK, which cannot be read");
    return std::nullopt;
}

}  // namespace tessaly
