#pragma once

#include "imaging/bitmap.h"

#include <QByteArray>
#include <cstdint>

namespace tessaly {

enum class MetafileFormat { Enhanced, Windows };

// Metafile frames are measured and written at the screen's dots per inch.
constexpr int kScreenDpi = 96;

// The first four bytes of a placeable Windows metafile.
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7u;

// Checks every record of a metafile against its data (see metafilecheck.h)
// and returns the bytes to keep: the file itself, or for a Windows metafile
// the file with its header's size fields made true. Throws CodecError.
QByteArray checkedMetafile(const QByteArray& bytes, MetafileFormat format);

// The size of a metafile's picture frame in screen pixels at 96 dots per
// inch. Throws CodecError for a file that is not a metafile of its format.
void readMetafileSize(const QByteArray& bytes, MetafileFormat format, int& width, int& height);

// Plays a checked metafile back into a `width` by `height` bitmap on white.
// A file that holds one bitmap drawn over the whole frame (as our own writer
// makes) is read exactly, in this process; anything else is drawn by the
// metafile libraries in a player process with limits on memory and time
// (see metafileplayer.h).
Bitmap renderMetafile(const QByteArray& bytes, MetafileFormat format, int width, int height);

// Plays any metafile back through the metafile libraries only (libemf2svg
// with Qt's SVG renderer for EMF, libwmf for WMF), in this process, never
// our exact reader: this is what the player process runs.
Bitmap renderMetafileWithLibraries(const QByteArray& bytes, MetafileFormat format, int width, int height);
// libwmf's size of a Windows metafile without a placeable header, in this
// process (what the player process runs).
void readMetafileSizeWithLibraries(const QByteArray& bytes, int& width, int& height);

// An enhanced metafile holding the bitmap as one record, with the creator
// text "Quorvane 2000" in its description and its frame in hundredths of a
// millimetre at 96 dots per inch.
QByteArray encodeEmf(const Bitmap& bitmap);

// A placeable Windows metafile holding the bitmap as one record.
QByteArray encodeWmf(const Bitmap& bitmap);

}  // namespace tessaly
