#pragma once

#include "imaging/codecs/photocodec.h"

#include <cstddef>
#include <cstdint>

namespace tessaly {

// What the photo codecs (photocodec.cpp, heifcodec.cpp) say alike of a
// format: its name in messages, and the most pixels a byte of it may give.

// Real EXIF blocks, colour profiles and XMP packets are a few tens of
// kilobytes at most; a larger one is not read, nor inflated.
constexpr std::size_t kMostInformationBytes = std::size_t(4) << 20;

inline const char* photoDisplayName(PhotoFormat format)
{
    switch (format) {
    case PhotoFormat::Png: return "PNG";
    case PhotoFormat::Webp: return "WebP";
    case PhotoFormat::Tiff: return "TIFF";
    case PhotoFormat::Heif: return "HEIF";
    case PhotoFormat::Avif: return "AVIF";
    }
    return "photo";
}

// The most pixels one byte of a real file can stand for. Deflate (PNG,
// TIFF) packs at most about 1030 bytes into one, which a 1-bit picture
// spreads over 8 pixels each; WebP's lossless coder codes a flat area with
// codes of no bits; HEVC and AV1 code a flat 64 by 64 block in a few bits.
inline std::int64_t photoPixelsPerByte(PhotoFormat format)
{
    switch (format) {
    case PhotoFormat::Png:
    case PhotoFormat::Tiff: return 16384;
    case PhotoFormat::Webp:
    case PhotoFormat::Heif:
    case PhotoFormat::Avif: return 65536;
    }
    return 1;
}

}  // namespace tessaly
