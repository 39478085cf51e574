#include "imaging/photo/jpegturn.h"

#include "imaging/codecs/codecerror.h"
#include "imaging/codecs/jpegcodec.h"
#include "imaging/photo/jpeginformation.h"
#include "imaging/photo/orientation.h"
#include "imaging/rotation.h"

#include <QBuffer>
#include <cstdlib>
#include <memory>
#include <optional>
#include <turbojpeg.h>

namespace tessaly {

namespace {

// One of the eight ways to lay a picture down: mirrored left to right
// first (when `mirrored`), then turned `quarters` quarter turns clockwise.
struct Placement {
    int quarters = 0;
    bool mirrored = false;
};

// What the camera orientation asks to be done to the stored pixels to show
// them upright (orientation.h).
Placement uprightPlacement(int orientation)
{
    switch (orientation) {
    case 2: return {0, true};
    case 3: return {2, false};
    case 4: return {2, true};  // mirrored top to bottom
    case 5: return {3, true};  // across the main diagonal
    case 6: return {1, false};
    case 7: return {1, true};  // across the other diagonal
    case 8: return {3, false};
    default: return {0, false};
    }
}

int transformOf(Placement placement)
{
    static constexpr int kPlain[] = {TJXOP_NONE, TJXOP_ROT90, TJXOP_ROT180, TJXOP_ROT270};
    static constexpr int kMirrored[] = {TJXOP_HFLIP, TJXOP_TRANSVERSE, TJXOP_VFLIP, TJXOP_TRANSPOSE};
    return placement.mirrored ? kMirrored[placement.quarters] : kPlain[placement.quarters];
}

struct TurboCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using TurboHandle = std::unique_ptr<void, TurboCloser>;

bool isProgressive(const QByteArray& jpeg)
{
    QByteArray copy = jpeg;
    QBuffer device(&copy);
    device.open(QIODevice::ReadOnly);
    const std::optional<JpegFrame> frame = peekJpegFrame(device);
    return frame && frame->progressive;
}

// The coefficients moved by `transform`, or none when that is not perfect
// or libjpeg-turbo finds the data damaged.
std::optional<QByteArray> transformed(const QByteArray& jpeg, int transform)
{
    TurboHandle handle(tjInitTransform());
    if (!handle)
        return std::nullopt;
    tjtransform step{};
    step.op = transform;
    // Every marker is left out: the photo information goes in afterwards,
    // rewritten for the turned picture.
    step.options = TJXOPT_PERFECT | TJXOPT_COPYNONE | (isProgressive(jpeg) ? TJXOPT_PROGRESSIVE : 0);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const int failed =
        tjTransform(handle.get(), reinterpret_cast<const unsigned char*>(jpeg.constData()),
                    static_cast<unsigned long>(jpeg.size()), 1, &out, &size, &step, TJFLAG_STOPONWARNING);
    // A warning (corrupt data) stops it too: the stream is damaged, and the
    // decoder decides what becomes of it.
    std::optional<QByteArray> result;
    if (failed == 0)
        result = QByteArray(reinterpret_cast<const char*>(out), qsizetype(size));
    tjFree(out);
    return result;
}

}  // namespace

TurnedJpeg turnJpegFile(const QByteArray& jpeg, int shownOrientation, int quarterTurns, int quality)
{
    Placement placement = uprightPlacement(shownOrientation);
    placement.quarters = (placement.quarters + quarterTurns) % 4;

    TurnedJpeg turned;
    std::optional<QByteArray> moved = transformed(jpeg, transformOf(placement));
    bool cmyk = false;
    if (!moved) {
        const Bitmap stored = decodeJpeg(jpeg);
        const Bitmap upright = turnedUpright(stored, shownOrientation);
        const Bitmap result = quarterTurns == 1 ? rotateClockwise(upright) : rotateCounterClockwise(upright);
        // The decoder made RGB of CMYK: a CMYK profile no longer fits.
        TurboHandle handle(tjInitDecompress());
        int width = 0, height = 0, sampling = 0, colourSpace = 0;
        cmyk = handle &&
               tjDecompressHeader3(handle.get(), reinterpret_cast<const unsigned char*>(jpeg.constData()),
                                   static_cast<unsigned long>(jpeg.size()), &width, &height, &sampling,
                                   &colourSpace) == 0 &&
               (colourSpace == TJCS_CMYK || colourSpace == TJCS_YCCK);
        moved = jfifBytes(result, quality);
    } else {
        turned.lossless = true;
    }
    CarriedInformation carried;
    carried.everything = true;
    carried.colourProfile = !cmyk;
    // The pixel dimensions: the turned size, read back from the new stream.
    int width = 0, height = 0;
    readJpegSize(*moved, width, height);
    carried.changes.width = width;
    carried.changes.height = height;
    turned.fileBytes = withSegments(*moved, carriedSegments(jpeg, carried));
    return turned;
}

}  // namespace tessaly
