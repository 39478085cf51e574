#include "imaging/photo/photoinformation.h"

#include "imaging/photo/exifreader.h"

#include <exiv2/exiv2.hpp>
#include <cstdint>
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

namespace {

// The tags of a TIFF file's first directory that describe the photo rather
// than lay out its pixels: what a camera's EXIF block holds in its first
// directory, and the links to its Exif and GPS directories.
bool isCameraTag(std::uint16_t tag)
{
    switch (tag) {
    case 0x010E:  // ImageDescription
    case 0x010F:  // Make
    case 0x0110:  // Model
    case 0x0112:  // Orientation
    case 0x011A:  // XResolution
    case 0x011B:  // YResolution
    case 0x0128:  // ResolutionUnit
    case 0x0131:  // Software
    case 0x0132:  // DateTime
    case 0x013B:  // Artist
    case 0x013C:  // HostComputer
    case 0x4746:  // Rating
    case 0x4749:  // RatingPercent
    case 0x8298:  // Copyright
    case 0x8769:  // the Exif directory
    case 0x8825:  // the GPS directory
        return true;
    default:
        return tag >= 0x9C9B && tag <= 0x9C9F;  // the titles, comments, author, keywords and subject
    }
}

// Whether exiv2 files `datum` under a directory that lays out pictures:
// IFD0's own layout tags, further pages and their sub-directories, and the
// thumbnail.
bool isPictureLayout(const Exiv2::Exifdatum& datum)
{
    const std::string group = datum.groupName();
    if (group == "Image")
        return !isCameraTag(datum.tag());
    return group.rfind("Image", 0) == 0 || group.rfind("SubImage", 0) == 0 || group.rfind("SubThumb", 0) == 0 ||
           group == "Thumbnail";
}

QByteArray bytesOf(const Exiv2::DataBuf& buffer)
{
    return QByteArray(reinterpret_cast<const char*>(buffer.pData_), qsizetype(buffer.size_));
}

// The camera's information of a TIFF file, as an EXIF block of its own.
PhotoFileInformation tiffInformation(const QByteArray& bytes)
{
    PhotoFileInformation found;
    quietExiv2();
    try {
        Exiv2::ExifData exif;
        const Exiv2::ByteOrder order = Exiv2::ExifParser::decode(
            exif, reinterpret_cast<const Exiv2::byte*>(bytes.constData()), std::uint32_t(bytes.size()));
        if (order == Exiv2::invalidByteOrder)
            return found;
        const auto profile = exif.findKey(Exiv2::ExifKey("Exif.Image.InterColorProfile"));
        if (profile != exif.end() && profile->size() > 0) {
            Exiv2::DataBuf copy(long(profile->size()));
            profile->copy(copy.pData_, order);
            found.iccProfile = bytesOf(copy);
        }
        // The XMP packet (tag 700), which exiv2 gives as an Exif tag too.
        const auto packet = exif.findKey(Exiv2::ExifKey("Exif.Image.XMLPacket"));
        if (packet != exif.end() && packet->size() > 0) {
            Exiv2::DataBuf copy(long(packet->size()));
            packet->copy(copy.pData_, order);
            found.xmp = bytesOf(copy);
        }
        const auto orientation = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
        if (orientation != exif.end() && orientation->count() == 1) {
            const long value = orientation->toLong();
            found.orientation = value >= 1 && value <= 8 ? int(value) : 1;
        }
        eraseWhere(exif, isPictureLayout);
        if (exif.empty())
            return found;
        Exiv2::Blob blob;
        Exiv2::ExifParser::encode(blob, order, exif);
        found.exif = QByteArray(reinterpret_cast<const char*>(blob.data()), qsizetype(blob.size()));
    } catch (...) {
        // exiv2 throws its own errors, and std ones on damaged files.
    }
    return found;
}

// exiv2 0.27 hands images over in a std::auto_ptr.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
using Exiv2Image = Exiv2::Image::AutoPtr;
#pragma GCC diagnostic pop

Exiv2Image openWithExiv2(const QByteArray& file)
{
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(file.constData()), long(file.size()));
#pragma GCC diagnostic pop
}

// `file` with the EXIF block `exif` put in by exiv2's writer for its
// format; none when it cannot be. A TIFF file keeps its own layout and
// takes only the camera's tags.
std::optional<QByteArray> withExifByExiv2(const QByteArray& file, const QByteArray& exif, bool tiff)
{
    quietExiv2();
    try {
        Exiv2::ExifData data;
        Exiv2::ExifParser::decode(data, reinterpret_cast<const Exiv2::byte*>(exif.constData()),
                                  std::uint32_t(exif.size()));
        Exiv2Image written = openWithExiv2(file);
        if (!written.get())
            return std::nullopt;
        written->readMetadata();
        if (tiff) {
            eraseWhere(data, isPictureLayout);
            Exiv2::ExifData& own = written->exifData();
            for (const Exiv2::Exifdatum& datum : data)
                own[datum.key()].setValue(&datum.value());
        } else {
            written->setExifData(data);
        }
        written->writeMetadata();
        Exiv2::BasicIo& io = written->io();
        io.seek(0, Exiv2::BasicIo::beg);
        return bytesOf(io.read(long(io.size())));
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace

PhotoFileInformation readPhotoInformation(const QByteArray& bytes, PhotoFormat format)
{
    if (format == PhotoFormat::Tiff)
        return tiffInformation(bytes);
    const PhotoBlocks blocks = photoBlocks(bytes, format);
    PhotoFileInformation found;
    found.exif = blocks.exif;
    found.iccProfile = blocks.iccProfile;
    found.xmp = blocks.xmp;
    if (format == PhotoFormat::Png || format == PhotoFormat::Webp)
        found.orientation = readExif(blocks.exif).orientation;
    return found;
}

std::optional<QByteArray> fittedExif(const QByteArray& exif, const InformationChanges& changes)
{
    if (exif.isEmpty())
        return std::nullopt;
    const std::optional<QByteArray> rewritten = rewrittenExif(QByteArray("Exif\0\0", 6) + exif, changes);
    if (!rewritten)
        return std::nullopt;
    return rewritten->mid(6);
}

QByteArray encodePhotoWithExif(const Bitmap& bitmap, PhotoFormat format, int quality, const QByteArray& iccProfile,
                               const QByteArray& exif)
{
    if (format != PhotoFormat::Webp && format != PhotoFormat::Tiff)
        return encodePhoto(bitmap, format, quality, iccProfile, exif);
    const QByteArray written = encodePhoto(bitmap, format, quality, iccProfile);
    if (exif.isEmpty())
        return written;
    return withExifByExiv2(written, exif, format == PhotoFormat::Tiff).value_or(written);
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
