#pragma once

#include "imaging/bitmap.h"
#include "imaging/codecs/metafilecodec.h"
#include "imaging/codecs/photocodec.h"

#include "platform/error.h"

#include <QByteArray>
#include <QString>

namespace tessaly {

// A write that failed (folder missing, disk full, no permission); the
// message names the file and the reason.
class WriteError : public Error {
public:
    explicit WriteError(const QString& message) : Error(message) {}
};

// Something that can be written as an output file.
class OutputObject {
public:
    virtual ~OutputObject() = default;
    // The file's bytes; may do the compression only now.
    virtual QByteArray fileBytes() const = 0;
};

// The JPEG encoder object: keeps a copy of the bitmap and its quality and
// compresses only when it is written.
class JpegOutput final : public OutputObject {
public:
    int quality() const { return m_quality; }
    void setQuality(int quality) { m_quality = quality; }
    void assign(const Bitmap& bitmap) { m_bitmap = bitmap; }
    // Marker segments of photo information (jpeginformation.h) written
    // after the JFIF header; none by default.
    void setInformation(QByteArray segments) { m_information = std::move(segments); }
    QByteArray fileBytes() const override;

private:
    int m_quality = 90;
    Bitmap m_bitmap;
    QByteArray m_information;
};

class GifOutput final : public OutputObject {
public:
    void setBytes(QByteArray bytes) { m_bytes = std::move(bytes); }
    QByteArray fileBytes() const override { return m_bytes; }

private:
    QByteArray m_bytes;
};

class MetafileOutput final : public OutputObject {
public:
    bool enhanced() const { return m_enhanced; }
    void setEnhanced(bool enhanced) { m_enhanced = enhanced; }
    void setBytes(QByteArray bytes) { m_bytes = std::move(bytes); }
    QByteArray fileBytes() const override { return m_bytes; }

private:
    bool m_enhanced = true;
    QByteArray m_bytes;
};

// BMP output is the bitmap itself, written at 24 bits per pixel.
class BitmapOutput final : public OutputObject {
public:
    explicit BitmapOutput(const Bitmap& bitmap) : m_bitmap(bitmap) {}
    QByteArray fileBytes() const override;

private:
    const Bitmap& m_bitmap;
};

// A photo format (PNG to AVIF): the bitmap, compressed only when written,
// at the quality given for the lossy formats. Writing throws CodecError
// where the format has no encoder here.
class PhotoOutput final : public OutputObject {
public:
    PhotoOutput(const Bitmap& bitmap, PhotoFormat format, int quality)
        : m_bitmap(bitmap), m_format(format), m_quality(quality)
    {
    }
    QByteArray fileBytes() const override { return encodePhoto(m_bitmap, m_format, m_quality); }

private:
    const Bitmap& m_bitmap;
    PhotoFormat m_format;
    int m_quality;
};

void EncodeJpeg(JpegOutput& output, const Bitmap& bitmap, int quality);
// Colours chosen by the JPEG decoder's quantiser: the bitmap is compressed
// at quality 100, decoded to at most 236 colours (two-pass, Floyd-
// Steinberg), and written as one GIF image whose colour map holds only the
// colours in use.
void EncodeGif(GifOutput& output, const Bitmap& bitmap);
// The metafile's enhanced flag chooses EMF or placeable WMF.
void EncodeMetafile(MetafileOutput& output, const Bitmap& bitmap);

// Writes `output` to `path` unless a file is there and `overwrite` is off.
// The bytes go to a temporary file beside the target that replaces it only
// once complete, so a failed write leaves no half-written file. In a folder
// where no file can be made, an existing writable file is overwritten in
// place; if that write fails, the cut-short file is removed. Returns
// whether it wrote; throws WriteError when the write fails (also a full
// disk).
bool SaveOutput(const OutputObject& output, const QString& path, bool overwrite);

}  // namespace tessaly
