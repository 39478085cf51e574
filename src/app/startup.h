#pragma once

#include "platform/services.h"

#include <memory>

namespace tessaly {

class TForm1;

// Every window of the program, made once at start-up in a fixed order and
// destroyed in the reverse order at the end.
class ApplicationWindows {
public:
    explicit ApplicationWindows(PlatformServices& services);
    ~ApplicationWindows();

    TForm1& mainWindow() { return *m_form1; }

private:
    std::unique_ptr<TForm1> m_form1;
};

// Shows the splash for `splashMilliseconds`, makes the windows, frees the
// splash and runs the event loop until the main window closes.
int runApplication(PlatformServices& services, int splashMilliseconds);

}  // namespace tessaly
