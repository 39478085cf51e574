#include "support/testpictures.h"

#include "imaging/encoders.h"
#include "imaging/picture.h"

#include <stdexcept>

namespace tessaly::testing {

namespace {

class BytesOutput final : public OutputObject {
public:
    explicit BytesOutput(QByteArray bytes) : m_bytes(std::move(bytes)) {}
    QByteArray fileBytes() const override { return m_bytes; }

private:
    QByteArray m_bytes;
};

}  // namespace

QString writePicture(const QString& path, int width, int height)
{
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = bitmap.row(y) + x * 3;
            p[0] = std::uint8_t(x * 255 / std::max(width - 1, 1));
            p[1] = std::uint8_t(y * 255 / std::max(height - 1, 1));
            p[2] = std::uint8_t((x + y) % 256);
        }
    const QString lower = path.toLower();
    PhotoFormat photo{};
    if (photoFormatOf(pictureKindForName(lower), photo)) {
        SaveOutput(BytesOutput(encodePhoto(bitmap, photo, 90)), path, true);
    } else if (lower.endsWith(QLatin1String(".gif"))) {
        GifOutput gif;
        EncodeGif(gif, bitmap);
        SaveOutput(gif, path, true);
    } else if (lower.endsWith(QLatin1String(".bmp"))) {
        SaveOutput(BitmapOutput(bitmap), path, true);
    } else if (lower.endsWith(QLatin1String(".emf")) || lower.endsWith(QLatin1String(".wmf"))) {
        MetafileOutput metafile;
        metafile.setEnhanced(lower.endsWith(QLatin1String(".emf")));
        EncodeMetafile(metafile, bitmap);
        SaveOutput(metafile, path, true);
    } else {
        JpegOutput jpeg;
        EncodeJpeg(jpeg, bitmap, 90);
        SaveOutput(jpeg, path, true);
    }
    return path;
}

}  // namespace tessaly::testing
