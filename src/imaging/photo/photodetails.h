#pragma once

#include <QByteArray>
#include <QString>

namespace tessaly {

// What a camera recorded about a photo, for captions: the date taken
// (Exif DateTimeOriginal, else IFD0 DateTime, "2024:05:01 14:03:22" shown
// as "2024-05-01 14:03") and the camera (Make and Model, the make left out
// when the model already starts with it). Empty when not recorded.
struct PhotoDetails {
    QString dateTaken;
    QString camera;
};

// Reads them from a JPEG stream's Exif segment. Every offset and length is
// checked against the bytes present; anything damaged gives empty texts.
// Never throws.
PhotoDetails readPhotoDetails(const QByteArray& jpeg);

}  // namespace tessaly
