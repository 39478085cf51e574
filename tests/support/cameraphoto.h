#pragma once

#include "imaging/bitmap.h"

#include <QByteArray>
#include <QList>
#include <string>

namespace tessaly::testing {

// A photo as a camera writes it: EXIF (make "Maker of Cameras", model
// "Model 7", taken "2024:05:06 07:08:09", a GPS position, `orientation` and
// a thumbnail), XMP (with a GPS latitude), IPTC and a colour profile's chunk
// in front of the picture.
QByteArray cameraJpeg(const Bitmap& stored, int orientation);

// The XMP packet of cameraJpeg: a GPS latitude and a rating.
QByteArray cameraXmp();

// The payloads of every segment with `marker` whose payload starts with
// `prefix`, in their order.
QList<QByteArray> segmentPayloads(const QByteArray& jpeg, int marker, const QByteArray& prefix);

// The value of an EXIF key (as "Exif.Image.Model") in the stream's one
// EXIF block: "(none)" when missing, "(n EXIF blocks)" when not one.
std::string exifValue(const QByteArray& jpeg, const char* key);

}  // namespace tessaly::testing
