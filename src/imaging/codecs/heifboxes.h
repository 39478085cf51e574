#pragma once

// The box reading that the HEIF and AVIF checks (heifitems.h) share: checked
// big-endian reads, the boxes of a stretch of bytes, and what a 'meta' box
// says of its items: their types, where their data lies, the references
// between them and their properties.

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace tessaly::heifboxes {

constexpr std::uint32_t fourcc(const char (&name)[5])
{
    return std::uint32_t(std::uint8_t(name[0])) << 24 | std::uint32_t(std::uint8_t(name[1])) << 16 |
           std::uint32_t(std::uint8_t(name[2])) << 8 | std::uint32_t(std::uint8_t(name[3]));
}

// Big-endian reads from a window of bytes. A read past the end reads
// nothing, gives 0 and leaves the reader failed for good.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool ok() const { return m_ok; }
    std::size_t position() const { return m_position; }
    std::size_t remaining() const { return m_ok ? m_size - m_position : 0; }

    std::uint64_t read(unsigned bytes)
    {
        if (!m_ok || bytes > 8 || bytes > m_size - m_position) {
            m_ok = false;
            return 0;
        }
        std::uint64_t value = 0;
        for (unsigned i = 0; i < bytes; ++i)
            value = value << 8 | m_data[m_position++];
        return value;
    }

    void skip(std::uint64_t bytes)
    {
        if (!m_ok || bytes > m_size - m_position)
            m_ok = false;
        else
            m_position += std::size_t(bytes);
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
    bool m_ok = true;
};

struct Bytes {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

struct Box {
    std::uint32_t type;
    Bytes body;
};

// The boxes that follow one another in `bytes`, up to the first whose size
// does not fit (a size of 0 runs to the end).
std::vector<Box> boxesIn(Bytes bytes);

struct Extent {
    std::uint64_t offset;
    std::uint64_t length;  // 0: to the end of the data it lies in
};

struct Location {
    unsigned method = 0;  // 0: in the file, 1: in 'idat'
    std::uint64_t baseOffset = 0;
    std::vector<Extent> extents;
};

// Where an extent lies in `source`, cut to the bytes that are there.
// Returns false when it starts beyond them.
bool placeExtent(const Location& location, const Extent& extent, std::size_t sourceSize, std::uint64_t& start,
                 std::uint64_t& length);

// The type of an item whose entry gives none.
constexpr std::uint32_t kNoType = 0;

// A reference takes two bytes of the file and some forty of memory: past
// this many (a camera's largest grids have a few hundred tiles) the rest
// is not kept, and derived pictures are refused.
constexpr std::size_t kMostReferences = 65536;

// What one 'meta' box says about its items.
struct ItemBoxes {
    std::multimap<std::uint32_t, std::uint32_t> types;
    // The 'mime' items whose content is XMP as it stands (no content
    // encoding).
    std::set<std::uint32_t> xmpItems;
    std::multimap<std::uint32_t, Location> locations;
    // Each derived picture and an item it is built from, once.
    std::set<std::pair<std::uint32_t, std::uint32_t>> derivedFrom;
    // Each item of information ('cdsc') and the picture it describes.
    std::set<std::pair<std::uint32_t, std::uint32_t>> describes;
    // More references than kMostReferences were named.
    bool tooManyReferences = false;
    // The references run past their box: libheif 1.15 may keep some of
    // what it read there, items of no picture among them.
    bool damagedReferences = false;
    std::vector<Bytes> idats;
};

// The bodies of the top-level 'meta' boxes of a file, after their version
// and flags, in their order.
std::vector<Bytes> metaBodies(Bytes file);

// The item boxes of a 'meta' box's body (after its version and flags).
ItemBoxes readItemBoxes(Bytes meta, std::vector<Box>* children = nullptr);

// The first `wanted` bytes of an item's data, gathered over its extents;
// fewer when the data is shorter, none when it lies outside `source`.
std::vector<std::uint8_t> itemStart(const Location& location, Bytes source, std::size_t wanted);

// The data of the first location of `id`, at most `most` bytes.
std::vector<std::uint8_t> itemData(const ItemBoxes& items, std::uint32_t id, Bytes file, std::size_t most);

// The properties ('ipco') associated with `id` ('ipma'), in their order.
std::vector<Box> propertiesOf(const std::vector<Box>& metaChildren, std::uint32_t id);

}  // namespace tessaly::heifboxes
