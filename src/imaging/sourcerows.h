#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessaly {

// Some rows of a `width` by `height` picture, found by their row number:
// what a resize reads of a picture, without the rest of it. Pixels are
// packed blue, green, red like a Bitmap's. The buffers are kept from one
// picture to the next, so a run of pictures of similar sizes allocates
// nothing after the first.
class SourceRows {
public:
    // Makes room for `rows` (ascending, no repeats, each inside the
    // picture) of a picture of that size; their pixels are unset.
    void reset(int width, int height, const std::vector<int>& rows);

    int width() const { return m_width; }
    int height() const { return m_height; }
    const std::vector<int>& rows() const { return m_rows; }
    std::size_t rowBytes() const { return std::size_t(m_width) * 3; }

    // Row `y`, which must be one of rows().
    const std::uint8_t* row(int y) const { return m_pixels.data() + slotOffset(y); }
    std::uint8_t* row(int y) { return m_pixels.data() + slotOffset(y); }

private:
    std::size_t slotOffset(int y) const { return std::size_t(m_slot[std::size_t(y)]) * rowBytes(); }

    int m_width = 0;
    int m_height = 0;
    std::vector<int> m_rows;
    std::vector<int> m_slot;  // for each row of the picture, where it is kept (or -1)
    std::vector<std::uint8_t> m_pixels;
};

}  // namespace tessaly
