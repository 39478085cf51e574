#pragma once

#include "imaging/picture.h"
#include "platform/error.h"

#include <QByteArray>
#include <QString>

namespace tessaly {

enum class TurnDirection { Clockwise, CounterClockwise };

inline const QString kSelectFileToRotate = QStringLiteral("First select a file to be rotated");
inline const QString kOverwriteWarning = QStringLiteral("This will overwrite the original file!  Continue?");

// What a rotation command does first, given the input file list and the
// small preview.
enum class RotationStart {
    // Files are listed and none is selected: "First select a file to be
    // rotated", and nothing else. An empty list does not stop the command,
    // since the preview may come from the output or the source list.
    SelectFirst,
    // No picture in the preview: the command ends without a word.
    NothingToTurn,
    // Ask before overwriting.
    AskToOverwrite,
};
RotationStart rotationStart(int listedFiles, int selectedFiles, bool previewHasPicture);

// A picture turned by a quarter turn and put back into its own kind: the
// bytes of its file, and the picture those bytes hold (which is what the
// preview shows afterwards).
struct TurnedPicture {
    Picture picture;
    QByteArray fileBytes;
};

// The file a previewed picture came from, as read when it is turned.
struct TurnSource {
    QByteArray fileBytes;
    // Whether the preview showed the photo turned as its camera orientation
    // says (else as stored).
    bool shownUpright = true;
};

// Renders the picture at its own size, turns every pixel unchanged, and
// encodes the result as the picture's kind: a JPEG at `jpegQuality` (not
// the quality of the original file), a GIF through the palette encoder, a
// bitmap as 24 bits per pixel whatever its depth was, a metafile as one
// bitmap record in its own format (EMF or placeable WMF), a PNG or TIFF
// losslessly and a WebP, HEIF or AVIF at `jpegQuality`, each with its colour
// profile. A photo file that holds more pictures than the one shown, or
// whose picture had transparent parts, is refused: writing it back would
// lose them. Throws Error when the picture cannot be rendered or encoded,
// or is refused.
//
// A JPEG whose file is given as `source` (and still holds the picture
// shown) is turned from that file instead: losslessly where it can be, and
// keeping its photo information (jpegturn.h). A photo file of the other
// formats given keeps its EXIF (fittedExif: orientation 1, the turned size,
// no thumbnail) in its format's own place.
TurnedPicture turnPicture(const Picture& picture, TurnDirection direction, int jpegQuality,
                          const TurnSource* source = nullptr);

// Replaces the contents of the file at `path` with `bytes`. The bytes go to
// a temporary file beside it that replaces the file only once completely
// written, so a failed write leaves the old contents byte for byte; only in
// a folder where no new file can be created is the file written in place.
// A read-only file is never replaced, and a missing one is not created.
// Throws Error naming the file and the reason.
void replaceFileContents(const QString& path, const QByteArray& bytes);

}  // namespace tessaly
