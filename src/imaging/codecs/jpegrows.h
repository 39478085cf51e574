#pragma once

#include "imaging/sourcerows.h"

#include <QByteArray>

namespace tessaly {

// Decodes the rows `rows` was reset for (to the stream's own size) and
// nothing else of their pixels: the rows between are skipped, their
// entropy-coded data read but neither transformed nor converted. Every row
// kept is the same, byte for byte, as the same row of decodeJpeg, and the
// whole stream is still read, so a damaged file fails as it does there.
// Throws CodecError.
void decodeJpegRows(const QByteArray& bytes, SourceRows& rows);

}  // namespace tessaly
