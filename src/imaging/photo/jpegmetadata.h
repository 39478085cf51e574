#pragma once

#include "imaging/photometadata.h"

#include <QByteArray>

namespace tessaly {

// The camera orientation (the Exif APP1 segment's IFD0 tag 0x0112) and the
// ICC colour profile (APP2 "ICC_PROFILE" segments, reassembled in their
// sequence order) of a JPEG stream, read from the markers before its first
// scan. Every length is checked against the bytes present; anything
// damaged, missing or out of range gives the default (orientation 1, no
// profile) for that item. Never throws.
PhotoMetadata readJpegMetadata(const QByteArray& bytes);

// The counterpart, for tests and fuzzing seeds: `jpeg` with `metadata`
// written after its start-of-image marker, the orientation (when not 1) in
// an Exif segment of the byte order asked for and the profile in as many
// APP2 chunks of at most `chunkBytes` as it takes (up to 255).
QByteArray withJpegMetadata(const QByteArray& jpeg, const PhotoMetadata& metadata, bool bigEndian = false,
                            int chunkBytes = 65519);

}  // namespace tessaly
