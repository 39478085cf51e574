#pragma once

#include "imaging/bitmap.h"
#include "imaging/codecs/metafilecodec.h"
#include "imaging/codecs/photocodec.h"
#include "imaging/photo/photooptions.h"
#include "imaging/photometadata.h"

#include "platform/error.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <cstdint>
#include <string>

namespace tessaly {

enum class PictureKind { None, Jpeg, Gif, Bmp, Metafile, Png, Webp, Tiff, Heif, Avif };

// The kind a file name calls for, by its extension without regard to case:
// jpg and jpeg, gif, bmp, emf and wmf; png, webp, tif and tiff, heic and
// heif, avif. None for anything else.
PictureKind pictureKindForName(const QString& name);

// A file mask of every kind above, in the form of the file lists' masks.
inline const QString kAllPicturesMask =
    QStringLiteral("*.jpg;*.jpeg;*.gif;*.bmp;*.wmf;*.emf;*.png;*.webp;*.tif;*.tiff;*.heic;*.heif;*.avif");

// The photo format behind a photo kind (PNG to AVIF); false for the others.
bool photoFormatOf(PictureKind kind, PhotoFormat& format);

// A picture that could not be loaded; the message says why.
class LoadError : public Error {
public:
    explicit LoadError(const QString& message) : Error(message) {}
    explicit LoadError(const char* message) : Error(QString::fromUtf8(message)) {}
};

// A loaded picture of one of the kinds. Raster kinds hold their full
// picture (GIF, PNG and the other photo formats already on white); a
// metafile keeps its bytes and is played back at whatever size it is drawn.
class Picture {
public:
    PictureKind kind() const { return m_kind; }
    bool isEmpty() const { return m_kind == PictureKind::None; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    MetafileFormat metafileFormat() const { return m_metafileFormat; }

    // Draws the picture into a `width` by `height` bitmap: raster pictures
    // copy one source pixel per target pixel, metafiles are played back at
    // that size on white. Throws LoadError for a metafile that cannot be
    // played back.
    Bitmap render(int width, int height) const;

    const Bitmap& raster() const { return m_raster; }
    // The orientation and colour profile the file gave (defaults for
    // pictures that carry none).
    const PhotoMetadata& metadata() const { return m_metadata; }
    // What a file written back from this picture alone would lose: further
    // pages, frames or images of the file, and see-through parts (which now
    // show white).
    bool fileHasMorePictures() const { return m_morePictures; }
    bool hadTransparency() const { return m_transparent; }
    // The file holds more than 8 bits a channel, which the picture does not.
    bool hadDeepColour() const { return m_deepColour; }
    // Moves the raster out to be turned or converted; the picture keeps its
    // kind and what it knows of its file until putAdjustedRaster.
    Bitmap takeRaster();
    // Puts back a raster now upright and in sRGB: the orientation and
    // profile no longer apply to it.
    void putAdjustedRaster(Bitmap raster);

    static Picture fromRaster(PictureKind kind, Bitmap raster, PhotoMetadata metadata = {});
    static Picture fromPhoto(PictureKind kind, DecodedPhoto photo);
    static Picture fromMetafile(QByteArray bytes, MetafileFormat format);

private:
    PictureKind m_kind = PictureKind::None;
    int m_width = 0;
    int m_height = 0;
    Bitmap m_raster;
    PhotoMetadata m_metadata;
    bool m_morePictures = false;
    bool m_transparent = false;
    bool m_deepColour = false;
    QByteArray m_metafile;
    MetafileFormat m_metafileFormat = MetafileFormat::Enhanced;
};

// Loads a file into a picture of the kind its name calls for, in sRGB and
// turned upright as `photo` says (see adjustPhoto). Throws LoadError when
// the file is missing, unreadable, no ordinary file, of an unknown kind or
// not a valid picture of its kind. The file is opened once; its size then
// goes to `sizeWhenOpened` when given.
Picture LoadPicture(const QString& path, const PhotoOptions& photo = {}, std::int64_t* sizeWhenOpened = nullptr);
// The same from bytes already read (the name only chooses the kind).
Picture decodePicture(const QByteArray& bytes, const QString& name, const PhotoOptions& photo = {});

// A picture loaded to be shown in a view of `shown` pixels, which it
// fills: a JPEG is decoded reduced while decoding (decodeJpegReduced) to
// the least size the scaling gives that still covers the view, upright or
// not as `photo` says; any other picture, and any JPEG when `shown` is
// empty, is loaded whole as LoadPicture loads it. `fullSize` gets the size
// LoadPicture gives the picture. For showing only: a run or a turn works
// on LoadPicture's whole picture. Throws LoadError as LoadPicture does.
Picture LoadPictureToShow(const QString& path, const PhotoOptions& photo, QSize shown, QSize& fullSize);

// Renders a picture into `bitmap` at the picture's own size, 24 bits per
// pixel; transparent and undrawn parts of GIFs and metafiles are white.
void DrawToBitmap(Bitmap& bitmap, const Picture& picture);
void DrawToBitmap(Bitmap& bitmap, const Bitmap& source);

// The size of a file's directory entry, as a run records it. Throws
// LoadError when the file is gone.
std::int64_t fileSizeOf(const QString& path);

}  // namespace tessaly
