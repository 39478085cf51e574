#include "imaging/photo/photoinformation.h"

#include "imaging/photo/exifreader.h"

#include <exiv2/exiv2.hpp>
#include <string>
#include <vector>

namespace tessaly {

namespace {

constexpr qsizetype kMaxSegmentPayload = 65533;

// exiv2 reports what it finds odd on the standard error stream; the caller
// decides what to do with a block that fails.
void quietExiv2()
{
    static const bool muted = [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        return true;
    }();
    (void)muted;
}

void eraseWhere(Exiv2::ExifData& exif, bool (*matches)(const Exiv2::Exifdatum&))
{
    for (auto it = exif.begin(); it != exif.end();)
        it = matches(*it) ? exif.erase(it) : std::next(it);
}

}  // namespace

std::optional<QByteArray> rewrittenExif(const QByteArray& segment, const InformationChanges& changes)
{
    static const QByteArray kHeader("Exif\0\0", 6);
    if (!segment.startsWith(kHeader) || segment.size() > kMaxSegmentPayload)
        return std::nullopt;
    quietExiv2();
    try {
        std::vector<Exiv2::byte> tiff(segment.begin() + 6, segment.end());
        Exiv2::ExifData exif;
        const Exiv2::ByteOrder order = Exiv2::ExifParser::decode(exif, tiff.data(), std::uint32_t(tiff.size()));
        if (order == Exiv2::invalidByteOrder)
            return std::nullopt;
        exif["Exif.Image.Orientation"] = std::uint16_t(changes.orientation);
        Exiv2::ExifThumb(exif).erase();
        if (changes.width > 0 && changes.height > 0) {
            const auto setIfPresent = [&exif](const char* key, int value) {
                if (exif.findKey(Exiv2::ExifKey(key)) != exif.end())
                    exif[key] = std::uint32_t(value);
            };
            setIfPresent("Exif.Photo.PixelXDimension", changes.width);
            setIfPresent("Exif.Photo.PixelYDimension", changes.height);
        }
        if (!changes.keepLocation) {
            eraseWhere(exif, [](const Exiv2::Exifdatum& datum) {
                return datum.groupName() == "GPSInfo" || datum.key() == "Exif.Image.GPSTag";
            });
        }
        Exiv2::Blob blob;
        const Exiv2::WriteMethod method =
            Exiv2::ExifParser::encode(blob, tiff.data(), std::uint32_t(tiff.size()), order, exif);
        QByteArray result = kHeader;
        if (method == Exiv2::wmNonIntrusive)
            result.append(reinterpret_cast<const char*>(tiff.data()), qsizetype(tiff.size()));
        else
            result.append(reinterpret_cast<const char*>(blob.data()), qsizetype(blob.size()));
        // What was asked must hold in what comes back, whatever exiv2 made
        // of the block.
        const ExifSummary written = readExif(result);
        if (result.size() > kMaxSegmentPayload || written.orientation != changes.orientation || written.hasThumbnail ||
            (!changes.keepLocation && written.hasGps))
            return std::nullopt;
        return result;
    } catch (...) {
        // exiv2 throws its own errors, and std ones on damaged blocks.
        return std::nullopt;
    }
}

std::optional<QByteArray> withExifBlock(const QByteArray& image, const QByteArray& exif,
                                        const InformationChanges& changes)
{
    const std::optional<QByteArray> rewritten = rewrittenExif(QByteArray("Exif\0\0", 6) + exif, changes);
    if (!rewritten)
        return std::nullopt;
    try {
        Exiv2::ExifData data;
        Exiv2::ExifParser::decode(data, reinterpret_cast<const Exiv2::byte*>(rewritten->constData()) + 6,
                                  std::uint32_t(rewritten->size() - 6));
        // exiv2 0.27 hands images over in a std::auto_ptr.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        auto written =
            Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(image.constData()), long(image.size()));
#pragma GCC diagnostic pop
        if (!written.get())
            return std::nullopt;
        written->readMetadata();
        written->setExifData(data);
        written->writeMetadata();
        Exiv2::BasicIo& io = written->io();
        io.seek(0, Exiv2::BasicIo::beg);
        const Exiv2::DataBuf bytes = io.read(long(io.size()));
        return QByteArray(reinterpret_cast<const char*>(bytes.pData_), qsizetype(bytes.size_));
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<QByteArray> rewrittenXmp(const QByteArray& segment, const InformationChanges& changes)
{
    const QByteArray prefix = kXmpNamespace + '\0';
    if (!segment.startsWith(prefix))
        return std::nullopt;
    const QByteArray packet = segment.mid(prefix.size());
    const bool mentionsOrientation = packet.contains("Orientation");
    const bool mentionsPlace = !changes.keepLocation && packet.contains("GPS");
    if (!mentionsOrientation && !mentionsPlace)
        return segment;
    quietExiv2();
    try {
        Exiv2::XmpData xmp;
        if (Exiv2::XmpParser::decode(xmp, std::string(packet.constData(), std::size_t(packet.size()))) != 0)
            return std::nullopt;
        if (xmp.findKey(Exiv2::XmpKey("Xmp.tiff.Orientation")) != xmp.end())
            xmp["Xmp.tiff.Orientation"] = std::to_string(changes.orientation);
        if (!changes.keepLocation) {
            for (auto it = xmp.begin(); it != xmp.end();)
                it = it->key().rfind("Xmp.exif.GPS", 0) == 0 ? xmp.erase(it) : std::next(it);
        }
        std::string written;
        if (Exiv2::XmpParser::encode(written, xmp, Exiv2::XmpParser::useCompactFormat) != 0)
            return std::nullopt;
        QByteArray result = prefix + QByteArray(written.data(), qsizetype(written.size()));
        if (result.size() > kMaxSegmentPayload)
            return std::nullopt;
        return result;
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace tessaly
