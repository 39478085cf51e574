#include "imaging/sourcerows.h"

namespace tessaly {

void SourceRows::reset(int width, int height, const std::vector<int>& rows)
{
    m_width = width;
    m_height = height;
    m_rows = rows;
    m_slot.assign(std::size_t(height), -1);
    for (std::size_t i = 0; i < rows.size(); ++i)
        m_slot[std::size_t(rows[i])] = int(i);
    // resize, not assign: the capacity of earlier pictures is reused and
    // no fresh memory is touched for pixels that are about to be written.
    m_pixels.resize(rows.size() * rowBytes());
}

}  // namespace tessaly
