#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessaly {

// A 24-bit picture: `height` rows of `width` pixels, top row first, each
// pixel three bytes in the order blue, green, red. Rows are packed (no
// padding), so row y starts at y * width * 3.
class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height);

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool isEmpty() const { return m_width == 0 || m_height == 0; }

    // Sets the size; keeps no pixels. Throws std::invalid_argument for a
    // negative side and std::length_error for a size past the bitmap limit.
    void resize(int width, int height);
    void fill(std::uint8_t blue, std::uint8_t green, std::uint8_t red);

    std::uint8_t* row(int y) { return m_pixels.data() + std::size_t(y) * rowBytes(); }
    const std::uint8_t* row(int y) const { return m_pixels.data() + std::size_t(y) * rowBytes(); }
    std::size_t rowBytes() const { return std::size_t(m_width) * 3; }

    friend bool operator==(const Bitmap&, const Bitmap&) = default;

    // The largest number of pixels a bitmap may hold: about 1.07 gigapixels
    // (3.2 GB), beyond any camera or stitched panorama a desktop opens.
    // Readers refuse headers that claim more than their data can fill long
    // before this limit.
    static constexpr std::size_t kMaxPixels = std::size_t(1) << 30;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_pixels;
};

}  // namespace tessaly
