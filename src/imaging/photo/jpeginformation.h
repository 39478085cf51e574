#pragma once

#include "imaging/photo/photoinformation.h"

#include <QByteArray>

namespace tessaly {

// What of a JPEG source's photo information goes into a picture written
// from it.
struct CarriedInformation {
    InformationChanges changes;
    // The ICC profile; false when the written pixels are no longer in it.
    bool colourProfile = true;
    // Everything else a turn keeps: IPTC and other application segments
    // and comments. Without it only EXIF, XMP and the profile go along.
    bool everything = false;
};

// The segments of `source` (a JPEG file) that carry its photo information,
// in their order, ready to put into another JPEG stream: EXIF and XMP
// rewritten as `carried.changes` say (left out when they cannot be), the
// ICC profile's chunks as they are. The JFIF and Adobe headers and JFIF
// thumbnails never go along: the writer makes its own headers, and a
// thumbnail would show the picture as it was stored.
QByteArray carriedSegments(const QByteArray& source, const CarriedInformation& carried);

// The photo information of a source in another format, as segments to put
// into a JPEG stream: the EXIF block (a TIFF structure; none when empty) in
// an APP1 "Exif" segment, the XMP segment's contents `xmp` (as
// rewrittenXmp gives them; none when empty or larger than a segment) in an
// APP1 segment, and the ICC profile (none when empty, or when it takes more
// than 255 chunks) in APP2 "ICC_PROFILE" chunks of at most `chunkBytes`.
QByteArray informationSegments(const QByteArray& exif, const QByteArray& xmp, const QByteArray& iccProfile,
                               int chunkBytes = 65519);

// `jpeg` (a stream from our writers or libjpeg-turbo's) with `segments`
// put in after its start-of-image marker and its JFIF header.
QByteArray withSegments(const QByteArray& jpeg, const QByteArray& segments);

}  // namespace tessaly
