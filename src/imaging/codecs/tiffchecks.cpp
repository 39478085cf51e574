#include "imaging/codecs/tiffchecks.h"

#include <algorithm>
#include <climits>
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

// A TIFF file for libtiff's client interface, read through a byte source.
struct TiffClientFile {
    const ByteSource& read;
    toff_t size;
    toff_t at = 0;
};

tmsize_t readSource(thandle_t handle, void* data, tmsize_t size)
{
    auto* file = static_cast<TiffClientFile*>(handle);
    if (size <= 0 || file->at >= file->size)
        return 0;
    const QByteArray got =
        file->read(std::int64_t(file->at), std::int64_t(std::min<toff_t>(toff_t(size), file->size - file->at)));
    std::memcpy(data, got.constData(), std::size_t(got.size()));
    file->at += toff_t(got.size());
    return tmsize_t(got.size());
}

tmsize_t writeNothing(thandle_t, void*, tmsize_t)
{
    return -1;
}

toff_t seekSource(thandle_t handle, toff_t offset, int whence)
{
    auto* file = static_cast<TiffClientFile*>(handle);
    switch (whence) {
    case SEEK_SET: file->at = offset; break;
    case SEEK_CUR: file->at += offset; break;
    case SEEK_END: file->at = file->size + offset; break;
    default: return toff_t(-1);
    }
    return file->at;
}

int closeNothing(thandle_t)
{
    return 0;
}

toff_t sizeOfSource(thandle_t handle)
{
    return static_cast<TiffClientFile*>(handle)->size;
}

// Messages about the one file opened, kept from libtiff's handlers for the
// whole process (and from the standard error they write to).
int ignoreMessage(TIFF*, void*, const char*, const char*, va_list)
{
    return 1;
}

// Reads the first directory of `file` and hands it to `use`; false when
// libtiff cannot. No strip or tile is read, and no array of theirs larger
// than a file of pictures needs is allocated.
template <typename Use>
bool withFirstDirectory(TiffClientFile& file, Use&& use)
{
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options)
        return false;
    TIFFOpenOptionsSetErrorHandlerExtR(options, ignoreMessage, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, ignoreMessage, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t(256) << 20);
    TIFF* tiff = TIFFClientOpenExt("tiff", "rm", &file, readSource, writeNothing, seekSource, closeNothing,
                                   sizeOfSource, nullptr, nullptr, options);
    TIFFOpenOptionsFree(options);
    if (!tiff)
        return false;
    use(tiff);
    TIFFClose(tiff);
    return true;
}

// Why Qt's reader refuses a picture of this directory, where the file says.
std::optional<QString> refusalOf(TIFF* tiff)
{
    std::uint16_t photometric = 0, bits = 0, inks = INKSET_CMYK;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_INKSET, &inks);
    if (photometric == PHOTOMETRIC_SEPARATED && inks == INKSET_CMYK)
        return QStringLiteral("its CMYK (printing ink) colours of %1 bits a channel cannot be read; "
                              "only 8 bits a channel are")
            .arg(bits);
    if (photometric == PHOTOMETRIC_SEPARATED)
        return QStringLiteral("its colours are separations of inks other than CMYK, which cannot be read");
    return std::nullopt;
}

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
    const ByteSource read = memorySource(bytes);
    TiffClientFile file{read, toff_t(bytes.size())};
    std::optional<QString> refusal;
    withFirstDirectory(file, [&refusal](TIFF* tiff) { refusal = refusalOf(tiff); });
    return refusal;
}

std::optional<TiffFirstDirectory> readTiffFirstDirectory(const ByteSource& read, std::int64_t size)
{
    // Qt's reader takes classic TIFF only, not BigTIFF.
    const QByteArray magic = read(0, 4);
    if (magic != QByteArrayLiteral("II*\0") && magic != QByteArrayLiteral("MM\0*"))
        return std::nullopt;
    TiffClientFile file{read, toff_t(size)};
    std::optional<TiffFirstDirectory> found;
    withFirstDirectory(file, [&found](TIFF* tiff) {
        std::uint32_t width = 0, height = 0;
        std::uint16_t photometric = 0, orientation = 1;
        // What Qt's reader asks for before it takes a file.
        if (!TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width) || !TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height) ||
            !TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric) || width > INT_MAX || height > INT_MAX)
            return;
        TiffFirstDirectory directory;
        directory.width = int(width);
        directory.height = int(height);
        if (TIFFGetField(tiff, TIFFTAG_ORIENTATION, &orientation) && orientation >= 1 && orientation <= 8)
            directory.orientation = orientation;
        directory.refusal = refusalOf(tiff);
        found = directory;
    });
    return found;
}

}  // namespace tessaly
