#pragma once

#include <QMargins>
#include <QObject>

class QWidget;

namespace tessaly {

// Moves a top-level window so that its centre is the centre of the screen's
// available area (the screen it is on, else the primary screen).
void centreOnScreen(QWidget& window);

// Makes a top-level window fit the available area of the screen it opens on,
// `frame` being the window manager's frame around it: a window larger than
// the area shrinks to it (a resizable one as far as its layout allows), and
// what no longer fits scrolls (its contents move into a scroll area, once);
// then the window, frame and all, is moved into the area. A window that fits
// keeps its size and contents as they are.
void fitToScreen(QWidget& window, const QMargins& frame);

// The window manager's frame around a window: measured once the window is
// shown and framed, else a title bar of the usual height.
QMargins knownFrame(const QWidget& window);

// Fits every window of the application to its screen whenever one is shown
// (installed on the application; dialogs, the main window, the help).
class ScreenFitter : public QObject {
public:
    explicit ScreenFitter(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace tessaly
