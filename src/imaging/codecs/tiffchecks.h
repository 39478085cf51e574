#pragma once

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

}  // namespace tessaly
