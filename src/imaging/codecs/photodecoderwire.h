#pragma once

#include "imaging/codecs/photocodec.h"

#include <cstdint>

namespace tessaly {

// What the decoder program writes to its standard output: this header,
// then either the reason the file cannot be read (`reasonBytes` of UTF-8,
// width and height 0) or the colour profile (`profileBytes`) followed by
// the pixels (rows top first, blue, green, red). Both ends are the same
// build on the same machine, so the numbers are in the machine's order.
struct DecoderWireHeader {
    static constexpr std::int32_t kMagic = 0x31445054;  // "TPD1"
    static constexpr std::int32_t kMorePictures = 1, kTransparent = 2, kDeepColour = 4;

    std::int32_t magic = kMagic;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t orientation = 1;
    std::int32_t flags = 0;
    std::int32_t profileBytes = 0;
    std::int32_t reasonBytes = 0;
    std::int32_t reserved = 0;

    static DecoderWireHeader failure(std::int32_t reasonBytes)
    {
        DecoderWireHeader header;
        header.reasonBytes = reasonBytes;
        return header;
    }
    static DecoderWireHeader of(const DecodedPhoto& photo)
    {
        DecoderWireHeader header;
        header.width = photo.bitmap.width();
        header.height = photo.bitmap.height();
        header.orientation = photo.metadata.orientation;
        header.flags = (photo.morePictures ? kMorePictures : 0) | (photo.transparent ? kTransparent : 0) |
                       (photo.deepColour ? kDeepColour : 0);
        header.profileBytes = std::int32_t(photo.metadata.iccProfile.size());
        return header;
    }
};

}  // namespace tessaly
