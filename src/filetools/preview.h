#pragma once

#include "imaging/picture.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace tessaly {

// Whether a file list previews the file at `path`: its last four characters,
// upper-cased, must be ".JPG", "JPEG", ".GIF", ".BMP", ".WMF" or ".EMF", or
// one of the photo formats: ".PNG", "WEBP", ".TIF", "TIFF", "HEIC", "HEIF",
// "AVIF". Anything else (".txt", a name shorter than that) is passed over
// without a word.
bool isPreviewableName(const QString& path);

// The image information shown as the preview's hint: the path, " - ",
// "W: ", the width, ", H: ", the height.
QString imageInformation(const QString& path, int width, int height);

// What a press on a file name does to the preview.
struct PreviewResult {
    enum class Outcome {
        Ignored,  // not a picture name: nothing happens
        Failed,   // the file could not be read: `message` says so
        Loaded,   // `picture` is the file's picture
    };
    Outcome outcome = Outcome::Ignored;
    // Reduced to the view's size when one was given (LoadPictureToShow).
    Picture picture;
    // The size of the file's picture, which the information states.
    QSize fullSize;
    bool reduced() const { return fullSize != QSize(picture.width(), picture.height()); }
    // The file's full path; the preview window's caption, which the
    // rotation commands overwrite.
    QString path;
    QString information;
    QString message;
};

// A press on `name` in a file list showing `folder`: only picture names are
// loaded; a file that cannot be read fails with "Could not open " and the
// full path. Photos are shown in sRGB and turned as `photo` says, and the
// information gives the size of the picture (as turned). A view size
// `shown` lets a large JPEG be decoded reduced to it (LoadPictureToShow);
// the information still gives the whole picture's size.
PreviewResult previewListItem(const QString& folder, const QString& name, const PhotoOptions& photo = {},
                              QSize shown = {});

// A click on `name` in the source list, whose names are relative to the
// input folder `folder`. Every name is tried, whatever its extension; a
// failure names the entry alone, and the information shows the folder as
// the folder label shows it (`shownFolder`, which may be shortened).
PreviewResult previewSourceEntry(const QString& folder, const QString& shownFolder, const QString& name,
                                 const PhotoOptions& photo = {}, QSize shown = {});

// The picture at its own size, ready to display.
QImage displayImage(const Picture& picture);

}  // namespace tessaly
