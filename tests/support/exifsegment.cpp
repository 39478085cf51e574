#include "support/exifsegment.h"

namespace tessaly::testing {

namespace {

void u16(QByteArray& bytes, std::uint32_t value)
{
    bytes.append(char(value & 0xff)).append(char((value >> 8) & 0xff));
}

void u32(QByteArray& bytes, std::uint32_t value)
{
    u16(bytes, value & 0xffff);
    u16(bytes, value >> 16);
}

// A directory at offset `at` of the TIFF structure, followed by its texts.
QByteArray directory(const std::vector<ExifEntry>& entries, std::uint32_t at, std::uint32_t exifAt)
{
    QByteArray dir, data;
    const std::uint32_t dataAt = at + 2 + std::uint32_t(entries.size()) * 12 + 4;
    u16(dir, std::uint32_t(entries.size()));
    for (const ExifEntry& e : entries) {
        u16(dir, e.tag);
        if (e.text.isEmpty() && e.tag == 0x8769) {
            u16(dir, 4);  // LONG
            u32(dir, 1);
            u32(dir, exifAt);
        } else if (e.text.isEmpty()) {
            u16(dir, 3);  // SHORT, left-aligned in the entry
            u32(dir, 1);
            u16(dir, e.value);
            u16(dir, 0);
        } else {
            u16(dir, 2);  // ASCII
            u32(dir, std::uint32_t(e.text.size()));
            if (e.text.size() <= 4) {
                dir.append(e.text.leftJustified(4, '\0'));
            } else {
                u32(dir, dataAt + std::uint32_t(data.size()));
                data.append(e.text);
            }
        }
    }
    u32(dir, 0);
    return dir + data;
}

}  // namespace

QByteArray exifSegment(const std::vector<ExifEntry>& ifd0, const std::vector<ExifEntry>& exif)
{
    const std::uint32_t exifAt = 8 + std::uint32_t(directory(ifd0, 8, 0).size());
    const QByteArray tiff = QByteArray("II*\0\x08\0\0\0", 8) + directory(ifd0, 8, exifAt) + directory(exif, exifAt, 0);
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xFF\xE1", 2);
    segment.append(char((payload.size() + 2) >> 8)).append(char((payload.size() + 2) & 0xff));
    return segment + payload;
}

QByteArray withSegment(const QByteArray& jpeg, const QByteArray& segment)
{
    return jpeg.left(2) + segment + jpeg.mid(2);
}

}  // namespace tessaly::testing
