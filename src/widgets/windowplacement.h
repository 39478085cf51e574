#pragma once

class QWidget;

namespace tessaly {

// Moves a top-level window so that its centre is the centre of the screen's
// available area (the screen it is on, else the primary screen).
void centreOnScreen(QWidget& window);

}  // namespace tessaly
