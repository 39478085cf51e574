#pragma once

namespace tessaly {

// How a loaded photo is shown. Colour profiles are always honoured; the
// camera orientation only when the user keeps "Turn photos upright" on.
struct PhotoOptions {
    bool turnUpright = true;
};

}  // namespace tessaly
