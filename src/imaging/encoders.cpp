#include "imaging/encoders.h"

#include "imaging/codecs/bmpcodec.h"
#include "imaging/codecs/gifcodec.h"
#include "imaging/codecs/jpegcodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <unistd.h>

namespace tessaly {

QByteArray JpegOutput::fileBytes() const
{
    return encodeJpeg(m_bitmap, m_quality);
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
    IndexedImage indexed = decodeJpegQuantized(encodeJpeg(bitmap, 100), 236);
    optimizeColorMap(indexed);
    output.setBytes(encodeGif(indexed));
}

void EncodeMetafile(MetafileOutput& output, const Bitmap& bitmap)
{
    output.setBytes(output.enhanced() ? encodeEmf(bitmap) : encodeWmf(bitmap));
}

bool SaveOutput(const OutputObject& output, const QString& path, bool overwrite)
{
    if (!overwrite && QFileInfo::exists(path))
        return false;
    const QByteArray bytes = output.fileBytes();
    const auto failed = [&](const QString& reason) {
        return WriteError(QStringLiteral("Cannot write %1: %2").arg(path, reason));
    };
    // In a folder where no new file can be made (no permission), an
    // existing file that may be written is overwritten in place instead of
    // through a temporary file.
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const bool inPlace = ::access(folder.constData(), W_OK) != 0 && QFileInfo::exists(path);
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        throw failed(file.errorString());
    const bool written = file.write(bytes) == bytes.size();
    // commit() flushes, syncs and renames, and fails on any earlier write
    // error (a full disk may show only when the buffer is flushed).
    if (written && file.commit())
        return true;
    const QString reason = file.errorString();
    file.cancelWriting();
    // Written in place, the old file is already cut short: it goes rather
    // than stay as a short file under its final name. An atomic write has
    // left the old file as it was.
    if (inPlace)
        QFile::remove(path);
    throw failed(reason);
}

}  // namespace tessaly
