#pragma once

#include <QImage>

namespace tessaly {

// The program's own pictures, drawn as SVG in src/about/pictures and turned
// into picture files when the program is built.
QImage splashPicture();     // 256 x 128
QImage fadeFirstPicture();  // 160 x 102, the lake by day
QImage fadeSecondPicture(); // 160 x 102, the lake by night

}  // namespace tessaly
