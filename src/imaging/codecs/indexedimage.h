#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace tessaly {

struct PaletteColor {
    std::uint8_t red = 0, green = 0, blue = 0;
    friend bool operator==(const PaletteColor&, const PaletteColor&) = default;
};

// An 8-bit palette picture: one palette index per pixel, rows top first.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<PaletteColor> palette;
    std::vector<std::uint8_t> pixels;
};

}  // namespace tessaly
