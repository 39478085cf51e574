#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/metafileplayer.h"
#include "imaging/codecs/photocodec.h"
#include "imaging/codecs/photodecoderwire.h"
#include "imaging/codecs/photoformatinfo.h"
#include "imaging/codecs/sizecheck.h"

#include <algorithm>
#include <cstring>

namespace tessaly {

namespace {

constexpr std::int64_t kMaxReasonBytes = 1024;
constexpr std::int64_t kMaxProfileBytes = std::int64_t(4) << 20;

// The most pixels a file of this many bytes may give: the decoder refuses
// more (see sizecheck.h), so more output than this is a fault.
std::int64_t pixelBound(std::int64_t fileBytes)
{
    const std::int64_t byData =
        fileBytes > (std::int64_t(1) << 40) ? std::int64_t(Bitmap::kMaxPixels) : fileBytes * 65536;
    return std::min<std::int64_t>(std::int64_t(Bitmap::kMaxPixels), std::max(kFreePixels, byData));
}

// Enough for the libraries and Qt, the file, the decoded planes (YCbCr and
// the RGB(A) picture, up to 16 bits a channel) and our bitmap of the
// largest picture the file may hold.
PlayerLimits decoderLimitsFor(std::int64_t pixels, std::int64_t inputBytes)
{
    return childLimits(std::int64_t(256) << 20, 16, 4, pixels, inputBytes);
}

[[noreturn]] void decoderFailed(PlayerOutcome outcome, const char* name)
{
    childFailed(outcome, {QStringLiteral("the %1 file").arg(QString::fromLatin1(name)), "decode", "decoded", "decoder",
                          "the picture decoder program"});
}

// Reads what the decoder program wrote, trusting none of its numbers.
DecodedPhoto fromWire(const QByteArray& output, std::int64_t maxPixels, const char* name)
{
    DecoderWireHeader header;
    if (output.size() < qsizetype(sizeof header))
        throw CodecError("the picture decoder gave no answer");
    std::memcpy(&header, output.constData(), sizeof header);
    const qsizetype at = sizeof header;
    if (header.magic != DecoderWireHeader::kMagic)
        throw CodecError("the picture decoder gave a damaged answer");
    if (header.width == 0 && header.height == 0) {
        if (header.reasonBytes < 0 || header.reasonBytes > kMaxReasonBytes || output.size() != at + header.reasonBytes)
            throw CodecError("the picture decoder gave a damaged answer");
        throw CodecError(QString::fromUtf8(output.mid(at, header.reasonBytes)));
    }
    const std::int64_t pixels = std::int64_t(header.width) * header.height;
    if (header.width <= 0 || header.height <= 0 || pixels > maxPixels || header.profileBytes < 0 ||
        header.profileBytes > kMaxProfileBytes || header.orientation < 1 || header.orientation > 8 ||
        output.size() != at + header.profileBytes + pixels * 3)
        throw CodecError(QStringLiteral("the %1 decoder gave an incomplete picture").arg(QString::fromLatin1(name)));
    DecodedPhoto photo;
    photo.metadata.orientation = header.orientation;
    photo.metadata.iccProfile = output.mid(at, header.profileBytes);
    photo.morePictures = header.flags & DecoderWireHeader::kMorePictures;
    photo.transparent = header.flags & DecoderWireHeader::kTransparent;
    photo.deepColour = header.flags & DecoderWireHeader::kDeepColour;
    photo.bitmap.resize(header.width, header.height);
    const char* rows = output.constData() + at + header.profileBytes;
    for (int y = 0; y < header.height; ++y)
        std::memcpy(photo.bitmap.row(y), rows + std::size_t(y) * photo.bitmap.rowBytes(), photo.bitmap.rowBytes());
    return photo;
}

}  // namespace

DecodedPhoto decodePhoto(const QByteArray& bytes, PhotoFormat format)
{
    if (format == PhotoFormat::Png || format == PhotoFormat::Webp)
        return decodePhotoHere(bytes, format);
    const std::int64_t maxPixels = pixelBound(bytes.size());
    const PlayerLimits limits = decoderLimitsFor(maxPixels, bytes.size());
    const std::int64_t maxOutput =
        std::int64_t(sizeof(DecoderWireHeader)) + std::max(kMaxProfileBytes, kMaxReasonBytes) + maxPixels * 3;
    PlayerResult run;
    try {
        run = runPlayer(besideThisProgram("tessaly-photo-decoder"),
                        {QString::fromLatin1(photoFormatWord(format)), QString::number(limits.memoryBytes),
                         QString::number(limits.time.count() / 1000)},
                        bytes, limits, maxOutput);
    } catch (const std::bad_alloc&) {
        throw CodecError("not enough memory for the picture");
    }
    if (run.outcome != PlayerOutcome::Done)
        decoderFailed(run.outcome, photoDisplayName(format));
    return fromWire(run.output, maxPixels, photoDisplayName(format));
}

}  // namespace tessaly
