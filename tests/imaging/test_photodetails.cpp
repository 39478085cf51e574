#include "imaging/photo/photodetails.h"

#include <cstring>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

// A little-endian TIFF directory entry of ASCII text or a LONG pointer.
struct Entry {
    std::uint16_t tag;
    QByteArray text;      // ASCII with its NUL; empty for a pointer
    std::uint32_t value;  // the pointer
};

// An Exif APP1 segment: IFD0 with `ifd0`, then (at a pointer of tag
// 0x8769 in ifd0, when given) the Exif directory with `exif`.
QByteArray exifJpeg(const std::vector<Entry>& ifd0, const std::vector<Entry>& exif)
{
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    const auto u16 = [](QByteArray& b, std::uint16_t v) { b.append(char(v & 0xff)).append(char(v >> 8)); };
    const auto u32 = [&](QByteArray& b, std::uint32_t v) {
        u16(b, std::uint16_t(v & 0xffff));
        u16(b, std::uint16_t(v >> 16));
    };
    // Each directory is followed by its long texts.
    const auto directory = [&](const std::vector<Entry>& entries, std::uint32_t at, std::uint32_t exifAt) {
        QByteArray dir, data;
        const std::uint32_t dataAt = at + 2 + std::uint32_t(entries.size()) * 12 + 4;
        u16(dir, std::uint16_t(entries.size()));
        for (const Entry& e : entries) {
            u16(dir, e.tag);
            if (e.text.isEmpty()) {
                u16(dir, 4);
                u32(dir, 1);
                u32(dir, e.tag == 0x8769 ? exifAt : e.value);
            } else {
                u16(dir, 2);
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
    };
    QByteArray first = directory(ifd0, 8, 0);
    const std::uint32_t exifAt = 8 + std::uint32_t(first.size());
    first = directory(ifd0, 8, exifAt);
    tiff += first + directory(exif, exifAt, 0);
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray jpeg("\xFF\xD8\xFF\xE1", 4);
    jpeg.append(char((payload.size() + 2) >> 8)).append(char((payload.size() + 2) & 0xff));
    return jpeg + payload + QByteArray("\xFF\xDA\0\x02\xFF\xD9", 6);
}

QByteArray ascii(const char* text)
{
    return QByteArray(text, qsizetype(strlen(text)) + 1);
}

// The caption shows the date the photo was taken and the camera, each only
// when recorded; damaged or cut-off records give nothing, never a crash.
TEST(PhotoDetails, DateTakenAndCamera)
{
    const Entry make{0x010F, ascii("Acme"), 0}, model{0x0110, ascii("Acme Snap 7"), 0},
        otherModel{0x0110, ascii("Z5"), 0}, exifPointer{0x8769, {}, 0},
        changed{0x0132, ascii("2020:01:02 03:04:05"), 0}, taken{0x9003, ascii("2024:05:01 14:03:22"), 0};
    struct Row {
        const char* what;
        QByteArray jpeg;
        const char* date;
        const char* camera;
    };
    const QByteArray full = exifJpeg({make, model, exifPointer}, {taken});
    const Row rows[] = {
        {"make repeated in the model", full, "2024-05-01 14:03", "Acme Snap 7"},
        {"make and model", exifJpeg({make, otherModel, exifPointer}, {taken}), "2024-05-01 14:03", "Acme Z5"},
        {"changed date when none taken", exifJpeg({changed, make}, {}), "2020-01-02 03:04", "Acme"},
        {"nothing recorded", exifJpeg({}, {}), "", ""},
        {"no Exif at all", QByteArray("\xFF\xD8\xFF\xDA\0\x02\xFF\xD9", 8), "", ""},
        {"not a JPEG", QByteArray("GIF89a"), "", ""},
        {"cut off in the texts", full.left(full.size() - 30), "", ""},
    };
    for (const Row& row : rows) {
        const PhotoDetails details = readPhotoDetails(row.jpeg);
        EXPECT_EQ(details.dateTaken, QString::fromLatin1(row.date)) << row.what;
        EXPECT_EQ(details.camera, QString::fromLatin1(row.camera)) << row.what;
    }
    // Every shorter stream and every single damaged byte is read safely.
    for (qsizetype length = 0; length < full.size(); ++length)
        readPhotoDetails(full.left(length));
    for (qsizetype at = 0; at < full.size(); ++at) {
        QByteArray damaged = full;
        damaged[at] = char(~damaged[at]);
        readPhotoDetails(damaged);
    }
}

}  // namespace
}  // namespace tessaly
