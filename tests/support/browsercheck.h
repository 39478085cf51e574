#pragma once

#include <QString>

namespace tessaly::testing {

// The Chromium of the PATH; empty when it is not installed.
QString chromium();

// Opens `page` of `webFolder` in headless Chromium (`browser`) and reports
// what loaded: "RESULT images=<n> links=<n> broken=<n> tiled=<none|ok|broken>"
// followed by the addresses that did not load. The images are those of the
// first page (of a frames gallery: of its thumbnails frame); every link is
// followed. A tiling frames gallery has its first tile tried too.
QString checkInBrowser(const QString& browser, const QString& webFolder, const QString& page);

}  // namespace tessaly::testing
