#include "imaging/bitmap.h"

#include <stdexcept>

namespace tessaly {

Bitmap::Bitmap(int width, int height)
{
    resize(width, height);
}

void Bitmap::resize(int width, int height)
{
    if (width < 0 || height < 0)
        throw std::invalid_argument("negative bitmap size");
    if (std::size_t(width) * std::size_t(height) > kMaxPixels)
        throw std::length_error("bitmap too large");
    m_width = width;
    m_height = height;
    m_pixels.assign(std::size_t(width) * std::size_t(height) * 3, 0);
}

void Bitmap::fill(std::uint8_t blue, std::uint8_t green, std::uint8_t red)
{
    for (std::size_t at = 0; at + 2 < m_pixels.size(); at += 3) {
        m_pixels[at] = blue;
        m_pixels[at + 1] = green;
        m_pixels[at + 2] = red;
    }
}

}  // namespace tessaly
