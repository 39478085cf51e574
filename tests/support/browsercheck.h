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

// Opens the responsive gallery `page` of `webFolder` in a frame `width`
// pixels wide and works it as a reader does, reporting "RESULT" followed by:
// overflow (0 when nothing scrolls sideways), perRow (thumbnails in the
// first row), images and broken (thumbnails, and those that did not load),
// dialog (the viewer's role and aria-modal), then the viewer's counter after
// a click on the first thumbnail (open), ArrowRight (next), ArrowLeft (back),
// a swipe to the left and then to the right (swiped),
// whether its picture loaded (shown), whether Tab stayed inside (trapped),
// whether Escape closed it and gave the focus back to the thumbnail
// (closed, focus), whether a click beside the picture closes it the same
// way (outside), and from the last thumbnail of the page: ArrowRight
// (across) and, after Escape, the thumbnail focused on the page it leads
// to (landed).
QString checkResponsiveInBrowser(const QString& browser, const QString& webFolder, const QString& page, int width);

}  // namespace tessaly::testing
