#pragma once

#include "imaging/codecs/bytesource.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace tessaly {

// While it lives, watches libtiff's warnings for the ones that mean the
// picture data is damaged: libtiff passes libjpeg's corrupt-data warnings
// of a JPEG-compressed TIFF ("premature end of data segment") on as mere
// warnings and keeps the grey pixels made up for what is missing. libtiff's
// warning handler is one for the process: one watch at a time, as in the
// decoder program, which decodes one file.
class TiffDamageWatch {
public:
    TiffDamageWatch();
    ~TiffDamageWatch();
    TiffDamageWatch(const TiffDamageWatch&) = delete;
    TiffDamageWatch& operator=(const TiffDamageWatch&) = delete;
    // The first warning about damaged data, or none.
    std::optional<QString> damage() const;
};

// Why a TIFF file that Qt's reader refused cannot be read, where the file
// says (a colour model Qt's reader does not take: CMYK with other than 8
// bits a channel, and the like); none when it does not say.
std::optional<QString> tiffRefusalReason(const QByteArray& bytes);

// What the first directory of a classic TIFF file says of its picture, read
// with libtiff's directory reading (no strip or tile is read) as Qt's
// reader reads it: the width and length, the orientation (1 to 8; 1 when
// missing or out of range) and, when Qt's reader refuses such a picture,
// why. None when libtiff cannot read the directory or it lacks what Qt's
// reader needs (width, length, photometric interpretation), and for
// BigTIFF, which Qt's reader does not take.
struct TiffFirstDirectory {
    int width = 0;
    int height = 0;
    int orientation = 1;
    std::optional<QString> refusal;
};
std::optional<TiffFirstDirectory> readTiffFirstDirectory(const ByteSource& read, std::int64_t size);

}  // namespace tessaly
