#pragma once

#include "imaging/photo/photodetails.h"

#include <QString>

namespace tessaly {

// Pictures whose long side exceeds this get a screen-size copy.
inline constexpr int kScreenSide = 2048;

// The name of a picture's screen-size copy: JPEG names stay, others get
// ".jpg" added ("a.png" gives "a.png.jpg"), so that no two pictures of one
// folder share a copy.
QString screenCopyName(const QString& originalName);

// What making the copy of one picture found.
struct ScreenCopy {
    bool made = false;  // a copy stands at the path asked for
    PhotoDetails details;
};

// Writes the upright picture at `originalPath`, made `kScreenSide` pixels
// on its long side by the quality resize, as a JPEG of quality 90 to
// `copyPath`, when its long side exceeds `kScreenSide`. A copy newer than
// its original is kept as it is. A picture that cannot be read gets no
// copy (the page links the original); a copy that cannot be written throws
// GalleryError naming the file and the reason.
ScreenCopy makeScreenCopy(const QString& originalPath, const QString& copyPath);

}  // namespace tessaly
