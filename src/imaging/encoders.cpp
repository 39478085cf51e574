#include "imaging/encoders.h"

#include "imaging/codecs/bmpcodec.h"
#include "imaging/codecs/gifcodec.h"
#include "imaging/codecs/jpegcodec.h"
#include "imaging/photo/jpeginformation.h"
#include "platform/fileops.h"

#include <QFile>
#include <QFileInfo>

namespace tessaly {

QByteArray JpegOutput::fileBytes() const
{
    return withSegments(jfifBytes(m_bitmap, m_quality), m_information);
}

QByteArray BitmapOutput::fileBytes() const
{
    return encodeBmp(m_bitmap);
}

void EncodeJpeg(JpegOutput& output, const Bitmap& bitmap, int quality)
{
    output.setQuality(quality);
    output.assign(bitmap);
}

void EncodeGif(GifOutput& output, const Bitmap& bitmap)
{
    IndexedImage indexed = decodeJpegQuantized(jfifBytes(bitmap, 100), 236);
    optimizeColorMap(indexed);
    output.setBytes(gifFileBytes(indexed));
}

void EncodeMetafile(MetafileOutput& output, const Bitmap& bitmap)
{
    output.setBytes(output.enhanced() ? encodeEmf(bitmap) : encodeWmf(bitmap));
}

bool SaveOutput(const OutputObject& output, const QString& path, bool overwrite)
{
    if (!overwrite && fileExists(path))
        return false;
    if (const Status written = writeWholeFile(path, output.fileBytes()); written.failed())
        throw WriteError(QStringLiteral("Cannot write %1: %2").arg(path, written.reason()));
    return true;
}

}  // namespace tessaly
