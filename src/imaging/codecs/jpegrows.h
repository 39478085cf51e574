#pragma once

#include "imaging/sourcerows.h"

#include <QByteArray>

namespace tessaly {

// Decodes the rows `rows` was reset for (to the stream's own size) and
// nothing else of their pixels: the rows between are skipped, their
// entropy-coded data read but neither transformed nor converted. Every row
// kept is the same, byte for byte, as the same row of decodeJpeg. The
// whole stream is still read, and a stream libjpeg finds damaged anywhere
// (an error or a warning) throws CodecError, so that what becomes of it is
// left to decodeJpeg.
void decodeJpegRows(const QByteArray& bytes, SourceRows& rows);

}  // namespace tessaly
