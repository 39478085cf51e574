#pragma once

#include "batch/modes.h"
#include "batch/nameparts.h"

#include <QString>
#include <optional>

namespace tessaly {

// Thumbnail and convert runs make a stem and add the output type's
// extension; rename and plain copy runs keep the source's own type text.
enum class RunKind { ThumbnailOrConvert, RenameOrCopy };

// The type a thumbnail or convert run writes one file in: one of the five
// conversion types, or (a thumbnail without conversion) one of the photo
// formats read beside them.
enum class FileType { None, Jpg, Gif, Bmp, Emf, Wmf, Png, Webp, Tiff, Heif, Avif };

// ".jpg", ".gif", ".bmp", ".emf", ".wmf", ".png", ".webp", ".tif", ".heic"
// or ".avif"; empty for none.
QString extensionOf(FileType type);

// The sequence part of a name. The width comes from the sequence field as it
// was when the run started; the number is the field read now plus the
// file's position in the source list. The number is right-aligned in the
// width and every blank becomes "0", so "-01" numbers -1 as "0-1".
class SequenceFormat {
public:
    explicit SequenceFormat(const QString& fieldAtStart);
    int width() const { return m_width; }
    // Throws NotAnInteger when `field` is not a whole number.
    QString text(const QString& field, int position) const;

private:
    int m_width;
};

QString SequenceText(const QString& field, int position);

struct NamingInputs {
    NamingOption option = NamingOption::PreSeq;
    QString qualifier;
    // The sequence field as it reads now; read as a number only by the two
    // sequence options.
    QString sequenceField;
    QString sourceName;
    int position = 0;
    QString folder;
};

// The full output path of one source file. For the thumbnail and convert
// runs it has no extension yet.
QString BuildOutputName(RunKind kind, const SequenceFormat& format, const NamingInputs& in);

// The type the thumbnail and convert runs write a source in: the chosen
// type; for NoConversion the source's own type, as its type text names it
// (jpg and jpeg, tif and tiff, heic and heif alike); none for a type this
// program does not know, and without a choice.
FileType outputTypeOf(std::optional<OutputType> chosen, const QString& sourceName);

}  // namespace tessaly
