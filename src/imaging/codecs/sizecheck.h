#pragma once

#include "imaging/bitmap.h"
#include "imaging/codecs/codecerror.h"

#include <cstdint>

namespace tessaly {

// Every reader checks the size a header claims before it allocates: the
// picture must fit a bitmap, and the data behind the header must be able
// to describe that many pixels. `pixelsPerByte` is the most pixels one byte
// of the format's data can stand for in a real file; a header claiming
// more is hostile or damaged, and the work it would cost (memory and time)
// is refused instead of done. Up to `kFreePixels` are allowed whatever the
// data, so tiny files of modest pictures stay readable.
inline constexpr std::int64_t kFreePixels = std::int64_t(1) << 22;

inline void checkClaimedSize(std::int64_t width, std::int64_t height, std::int64_t dataBytes,
                             std::int64_t pixelsPerByte, const char* kind)
{
    const QString what = QString::fromLatin1(kind);
    if (width <= 0 || height <= 0)
        throw CodecError(QStringLiteral("%1 picture has no usable size").arg(what));
    if (width > std::int64_t(Bitmap::kMaxPixels) || height > std::int64_t(Bitmap::kMaxPixels) ||
        width * height > std::int64_t(Bitmap::kMaxPixels))
        throw CodecError(QStringLiteral("%1 picture is too large to hold").arg(what));
    if (dataBytes < 0)
        dataBytes = 0;
    if (width * height > kFreePixels && width * height / pixelsPerByte > dataBytes)
        throw CodecError(QStringLiteral("%1 picture claims more pixels than its file holds").arg(what));
}

}  // namespace tessaly
