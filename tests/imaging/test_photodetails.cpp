#include "imaging/photo/photodetails.h"
#include "support/exifsegment.h"

#include <cstring>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::ExifEntry;

// A stand-in JPEG stream: the Exif segment and an empty scan.
QByteArray exifJpeg(const std::vector<ExifEntry>& ifd0, const std::vector<ExifEntry>& exif)
{
    return QByteArray("\xFF\xD8", 2) + testing::exifSegment(ifd0, exif) + QByteArray("\xFF\xDA\0\x02\xFF\xD9", 6);
}

QByteArray ascii(const char* text)
{
    return QByteArray(text, qsizetype(strlen(text)) + 1);
}

// The caption shows the date the photo was taken and the camera, each only
// when recorded; damaged or cut-off records give nothing, never a crash.
TEST(PhotoDetails, DateTakenAndCamera)
{
    const ExifEntry make{0x010F, ascii("Acme")}, model{0x0110, ascii("Acme Snap 7")}, otherModel{0x0110, ascii("Z5")},
        exifPointer{0x8769, {}}, changed{0x0132, ascii("2020:01:02 03:04:05")},
        taken{0x9003, ascii("2024:05:01 14:03:22")};
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
