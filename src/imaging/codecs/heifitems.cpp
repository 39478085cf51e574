#include "imaging/codecs/heifitems.h"

#include "imaging/codecs/photoformatinfo.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string_view>

namespace tessaly {
namespace {

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
std::vector<Box> boxesIn(Bytes bytes)
{
    std::vector<Box> boxes;
    Reader reader(bytes.data, bytes.size);
    while (reader.remaining() >= 8) {
        const std::size_t start = reader.position();
        std::uint64_t length = reader.read(4);
        const auto type = std::uint32_t(reader.read(4));
        if (length == 1)
            length = reader.read(8);
        else if (length == 0)
            length = bytes.size - start;
        const std::size_t header = reader.position() - start;
        if (!reader.ok() || length < header || length > bytes.size - start)
            break;
        boxes.push_back({type, {bytes.data + reader.position(), std::size_t(length - header)}});
        reader.skip(length - header);
    }
    return boxes;
}

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
                 std::uint64_t& length)
{
    if (location.baseOffset > sourceSize || extent.offset > sourceSize - location.baseOffset)
        return false;
    start = location.baseOffset + extent.offset;
    const std::uint64_t available = sourceSize - start;
    length = extent.length == 0 ? available : std::min(extent.length, available);
    return true;
}

constexpr std::uint32_t kNoType = 0;

bool isDerived(std::uint32_t type)
{
    return type == fourcc("grid") || type == fourcc("iovl") || type == fourcc("iden");
}

// Cameras build a picture from tiles, and at most turn or lay that over
// another: two steps. Far more is allowed.
constexpr int kMostNestedDerivations = 8;

const char* const kNoCanvas = "the canvas of a grid or overlay cannot be found";
const char* const kMissingPart = "a picture is built from a part that is missing or no picture";
const char* const kDamagedReferences = "the references between its pictures run past their box";
const char* const kNestedTooDeep = "pictures are built from one another in a cycle or too deeply";

// A reference takes two bytes of the file and some forty of memory: past
// this many (a camera's largest grids have a few hundred tiles) the rest
// is not kept, and derived pictures are refused.
constexpr std::size_t kMostReferences = 65536;
const char* const kTooManyParts = "pictures are built from more parts than any camera writes";

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

void readItemInfo(Bytes body, ItemBoxes& items)
{
    Reader reader(body.data, body.size);
    const auto version = unsigned(reader.read(1));
    reader.skip(3);
    reader.skip(version == 0 ? 2 : 4);  // the entry count: the boxes themselves are counted
    if (!reader.ok())
        return;
    for (const Box& entry : boxesIn({body.data + reader.position(), reader.remaining()})) {
        if (entry.type != fourcc("infe"))
            continue;
        Reader infe(entry.body.data, entry.body.size);
        const auto infeVersion = unsigned(infe.read(1));
        infe.skip(3);
        const auto id = std::uint32_t(infe.read(infeVersion <= 2 ? 2 : 4));
        // Before version 2 an entry gives no item type, so it names an item
        // that is no picture; libheif may take it rather than a later entry
        // for the same item.
        std::uint32_t type = kNoType;
        if (infeVersion >= 2) {
            infe.skip(2);  // protection index
            type = std::uint32_t(infe.read(4));
        }
        if (!infe.ok())
            continue;
        items.types.emplace(id, type);
        if (type == fourcc("mime")) {
            // The item's name, its content type and, if given, its content
            // encoding follow, each ended by a zero.
            const auto* const text = reinterpret_cast<const char*>(entry.body.data + infe.position());
            const std::string_view rest(text, infe.remaining());
            const std::size_t nameEnd = rest.find('\0');
            const std::size_t typeEnd = nameEnd == rest.npos ? rest.npos : rest.find('\0', nameEnd + 1);
            if (typeEnd != rest.npos && rest.substr(nameEnd + 1, typeEnd - nameEnd - 1) == "application/rdf+xml" &&
                (typeEnd + 1 == rest.size() || rest[typeEnd + 1] == '\0'))
                items.xmpItems.insert(id);
        }
    }
}

void readItemLocations(Bytes body, ItemBoxes& items)
{
    Reader reader(body.data, body.size);
    const auto version = unsigned(reader.read(1));
    reader.skip(3);
    const auto sizes = unsigned(reader.read(1));
    const auto moreSizes = unsigned(reader.read(1));
    const unsigned offsetSize = sizes >> 4;
    const unsigned lengthSize = sizes & 15;
    const unsigned baseOffsetSize = moreSizes >> 4;
    const bool hasMethod = version == 1 || version == 2;
    const unsigned indexSize = hasMethod ? moreSizes & 15 : 0;
    for (unsigned fieldSize : {offsetSize, lengthSize, baseOffsetSize, indexSize})
        if (fieldSize != 0 && fieldSize != 4 && fieldSize != 8)
            return;
    const std::uint64_t count = reader.read(version < 2 ? 2 : 4);
    // Every entry takes at least six bytes, so the loop ends with the box.
    for (std::uint64_t i = 0; i < count && reader.ok(); ++i) {
        const auto id = std::uint32_t(reader.read(version < 2 ? 2 : 4));
        Location location;
        if (hasMethod)
            location.method = unsigned(reader.read(2) & 15);
        reader.skip(2);  // data reference index
        location.baseOffset = reader.read(baseOffsetSize);
        const auto extentCount = std::size_t(reader.read(2));
        const std::size_t extentBytes = indexSize + offsetSize + lengthSize;
        if (extentBytes == 0) {
            // Extents of no bytes are all the same: offset 0, the whole data.
            if (extentCount > 0)
                location.extents.push_back({0, 0});
        } else {
            if (extentCount > reader.remaining() / extentBytes)
                return;
            for (std::size_t e = 0; e < extentCount; ++e) {
                reader.skip(indexSize);
                const std::uint64_t offset = reader.read(offsetSize);
                location.extents.push_back({offset, reader.read(lengthSize)});
            }
        }
        if (reader.ok())
            items.locations.emplace(id, std::move(location));
    }
}

void readItemReferences(Bytes body, ItemBoxes& items)
{
    Reader reader(body.data, body.size);
    const unsigned idSize = reader.read(1) == 0 ? 2 : 4;
    reader.skip(3);
    if (!reader.ok())
        return;
    const Bytes references{body.data + reader.position(), reader.remaining()};
    for (const Box& reference : boxesIn(references)) {
        if (reference.type != fourcc("dimg") && reference.type != fourcc("cdsc"))
            continue;
        auto& pairs = reference.type == fourcc("dimg") ? items.derivedFrom : items.describes;
        Reader refs(reference.body.data, reference.body.size);
        const auto from = std::uint32_t(refs.read(idSize));
        const std::uint64_t count = refs.read(2);
        for (std::uint64_t i = 0; i < count; ++i) {
            const auto to = std::uint32_t(refs.read(idSize));
            if (!refs.ok())
                break;
            if (pairs.size() >= kMostReferences) {
                items.tooManyReferences = true;
                return;
            }
            pairs.emplace(from, to);
        }
    }

    // libheif 1.15 reads each reference's header, then its item, count and
    // items as they come, and the next header right after them: a size in
    // a header that disagrees with the count makes it see other items. What
    // it keeps of a reading that runs past the box cannot be told, so such
    // references refuse the derived pictures.
    Reader sequence(references.data, references.size);
    std::set<std::pair<std::uint32_t, std::uint32_t>> seen;
    while (sequence.remaining() > 0) {
        const std::uint64_t size = sequence.read(4);
        const auto type = std::uint32_t(sequence.read(4));
        if (size == 1)
            sequence.skip(8);
        if (type == fourcc("uuid"))
            sequence.skip(16);
        const auto from = std::uint32_t(sequence.read(idSize));
        const std::uint64_t count = sequence.read(2);
        for (std::uint64_t i = 0; i < count && sequence.ok(); ++i) {
            const auto to = std::uint32_t(sequence.read(idSize));
            if (type == fourcc("dimg") && seen.size() < kMostReferences)
                seen.emplace(from, to);
            else if (type == fourcc("dimg"))
                items.tooManyReferences = true;
        }
        if (!sequence.ok()) {
            items.damagedReferences = true;
            return;
        }
    }
    items.derivedFrom.merge(seen);
}

// The first `wanted` bytes of an item's data, gathered over its extents;
// fewer when the data is shorter, none when it lies outside `source`.
std::vector<std::uint8_t> itemStart(const Location& location, Bytes source, std::size_t wanted)
{
    std::vector<std::uint8_t> start;
    for (const Extent& extent : location.extents) {
        std::uint64_t at = 0;
        std::uint64_t length = 0;
        if (start.size() >= wanted || !placeExtent(location, extent, source.size, at, length))
            break;
        const auto take = std::size_t(std::min<std::uint64_t>(length, wanted - start.size()));
        start.insert(start.end(), source.data + at, source.data + at + take);
    }
    return start;
}

// The canvas a grid or an overlay's data claims, or false when the data
// is shorter than the fields that hold it.
bool canvasOf(std::uint32_t type, const std::vector<std::uint8_t>& data, std::uint32_t& width,
              std::uint32_t& height)
{
    if (data.size() < 2)
        return false;
    const unsigned field = (data[1] & 1) ? 4 : 2;
    // grid: version, flags, rows - 1, columns - 1, width, height.
    // iovl: version, flags, four 16-bit background values, width, height.
    const std::size_t at = type == fourcc("grid") ? 4 : 10;
    Reader reader(data.data(), data.size());
    reader.skip(at);
    width = std::uint32_t(reader.read(field));
    height = std::uint32_t(reader.read(field));
    return reader.ok();
}

void listDerivedItems(const ItemBoxes& items, Bytes file, HeifDerivedItems& found)
{
    // The coded bytes of each item that are present, however often the
    // item is named.
    std::map<std::uint32_t, std::uint64_t> presentBytes;
    for (const auto& [id, location] : items.locations) {
        Bytes source = file;
        if (location.method == 1)
            source = items.idats.empty() ? Bytes{} : items.idats.front();
        else if (location.method != 0)
            continue;
        std::uint64_t& total = presentBytes[id];
        for (const Extent& extent : location.extents) {
            std::uint64_t at = 0;
            std::uint64_t length = 0;
            if (placeExtent(location, extent, source.size, at, length))
                total = std::min<std::uint64_t>(total + length, file.size);
        }
    }

    // libheif 1.15 asserts that what a derived picture is built from is a
    // picture: an item of one of these types, and of no other.
    const auto isPicture = [&items](std::uint32_t id) {
        const auto [first, end] = items.types.equal_range(id);
        return first != end && std::all_of(first, end, [](const auto& entry) {
                   return entry.second == fourcc("hvc1") || entry.second == fourcc("av01") ||
                          isDerived(entry.second);
               });
    };
    // The references from `id`, as a range for loops. (Not a ranges
    // subrange: clang 14, which builds the fuzzers, cannot take GCC 12's.)
    struct References {
        std::set<std::pair<std::uint32_t, std::uint32_t>>::const_iterator first, last;
        auto begin() const { return first; }
        auto end() const { return last; }
    };
    const auto sourcesOf = [&items](std::uint32_t id) {
        return References{items.derivedFrom.lower_bound({id, 0}), items.derivedFrom.upper_bound({id, UINT32_MAX})};
    };

    std::set<std::uint64_t> listed;  // item and type
    for (const auto& [id, type] : items.types) {
        const bool hasCanvas = type == fourcc("grid") || type == fourcc("iovl");
        if (!isDerived(type) || !listed.insert(std::uint64_t(id) << 32 | type).second)
            continue;
        HeifDerivedItem item;
        item.id = id;
        for (const auto& [derived, source] : sourcesOf(id)) {
            if (!isPicture(source))
                found.problem = kMissingPart;
            const auto bytes = presentBytes.find(source);
            if (bytes != presentBytes.end())
                item.sourceBytes =
                    std::int64_t(std::min<std::uint64_t>(std::uint64_t(item.sourceBytes) + bytes->second, file.size));
        }
        if (!hasCanvas)
            continue;

        // Every place the item's data may be read from: each of its
        // locations, and for data in 'idat' each such box.
        const auto [firstPlace, endPlaces] = items.locations.equal_range(id);
        if (firstPlace == endPlaces)
            found.problem = kNoCanvas;
        for (auto it = firstPlace; it != endPlaces; ++it) {
            std::vector<Bytes> sourcesOfData;
            if (it->second.method == 0)
                sourcesOfData.push_back(file);
            else if (it->second.method == 1)
                sourcesOfData = items.idats;
            if (sourcesOfData.empty())
                found.problem = kNoCanvas;
            for (Bytes source : sourcesOfData) {
                if (!canvasOf(type, itemStart(it->second, source, 18), item.canvasWidth, item.canvasHeight)) {
                    found.problem = kNoCanvas;
                    continue;
                }
                found.items.push_back(item);
            }
        }
    }

    // libheif decodes a derived picture by decoding what it is built from
    // first, one call deeper each time: a chain of thousands would run out
    // of stack. Each round settles the derived pictures built only from
    // coded pictures and settled ones; what is left after the last round
    // lies deeper or in a cycle. Each round is linear in the references.
    std::set<std::uint32_t> unsettled;
    for (const auto& [derived, source] : items.derivedFrom)
        unsettled.insert(derived);
    for (int round = 0; round < kMostNestedDerivations && !unsettled.empty(); ++round) {
        std::vector<std::uint32_t> settled;
        for (const std::uint32_t id : unsettled) {
            const auto sources = sourcesOf(id);
            if (std::none_of(sources.begin(), sources.end(),
                             [&unsettled](const auto& edge) { return unsettled.count(edge.second) > 0; }))
                settled.push_back(id);
        }
        for (const std::uint32_t id : settled)
            unsettled.erase(id);
    }
    if (!unsettled.empty())
        found.problem = kNestedTooDeep;
    if (items.tooManyReferences)
        found.problem = kTooManyParts;
    if (items.damagedReferences)
        found.problem = kDamagedReferences;
}

// The item boxes of a 'meta' box's body (after its version and flags).
ItemBoxes readItemBoxes(Bytes meta, std::vector<Box>* children = nullptr)
{
    ItemBoxes items;
    bool sawItemInfo = false;
    const std::vector<Box> boxes = boxesIn(meta);
    for (const Box& child : boxes)
        if (child.type == fourcc("idat"))
            items.idats.push_back(child.body);
    for (const Box& child : boxes) {
        // libheif 1.15 takes the first item list and no other.
        if (child.type == fourcc("iinf") && !sawItemInfo) {
            readItemInfo(child.body, items);
            sawItemInfo = true;
        } else if (child.type == fourcc("iloc")) {
            readItemLocations(child.body, items);
        } else if (child.type == fourcc("iref")) {
            readItemReferences(child.body, items);
        }
    }
    if (children)
        *children = boxes;
    return items;
}

// The data of the first location of `id`, at most `most` bytes.
std::vector<std::uint8_t> itemData(const ItemBoxes& items, std::uint32_t id, Bytes file, std::size_t most)
{
    const auto place = items.locations.find(id);
    if (place == items.locations.end())
        return {};
    if (place->second.method == 0)
        return itemStart(place->second, file, most);
    if (place->second.method == 1 && !items.idats.empty())
        return itemStart(place->second, items.idats.front(), most);
    return {};
}

// The properties ('ipco') associated with `id` ('ipma'), in their order.
std::vector<Box> propertiesOf(const std::vector<Box>& metaChildren, std::uint32_t id)
{
    std::vector<Box> properties, associated;
    std::optional<Box> map;
    for (const Box& child : metaChildren) {
        if (child.type != fourcc("iprp"))
            continue;
        for (const Box& part : boxesIn(child.body)) {
            if (part.type == fourcc("ipco") && properties.empty())
                properties = boxesIn(part.body);
            else if (part.type == fourcc("ipma") && !map)
                map = part;
        }
        if (!map)
            continue;
        Reader reader(map->body.data, map->body.size);
        const auto version = unsigned(reader.read(1));
        const bool wideIndex = (reader.read(3) & 1) != 0;
        const std::uint64_t entries = reader.read(4);
        // Every entry takes at least three bytes, so the loop ends with the box.
        for (std::uint64_t e = 0; e < entries && reader.ok(); ++e) {
            const auto item = std::uint32_t(reader.read(version < 1 ? 2 : 4));
            const auto count = unsigned(reader.read(1));
            for (unsigned a = 0; a < count && reader.ok(); ++a) {
                const std::uint64_t index = reader.read(wideIndex ? 2 : 1) & (wideIndex ? 0x7fff : 0x7f);
                if (reader.ok() && item == id && index >= 1 && index <= properties.size())
                    associated.push_back(properties[std::size_t(index - 1)]);
            }
        }
        break;
    }
    return associated;
}

}  // namespace

HeifDerivedItems findHeifDerivedItems(const std::uint8_t* data, std::size_t size)
{
    HeifDerivedItems found;
    const Bytes file{data, size};
    for (const Box& top : boxesIn(file)) {
        if (top.type != fourcc("meta") || top.body.size < 4)
            continue;
        listDerivedItems(readItemBoxes({top.body.data + 4, top.body.size - 4}), file, found);
    }
    return found;
}

HeifPhotoInformation findHeifPhotoInformation(const std::uint8_t* data, std::size_t size)
{
    HeifPhotoInformation found;
    const Bytes file{data, size};
    for (const Box& top : boxesIn(file)) {
        if (top.type != fourcc("meta") || top.body.size < 4)
            continue;
        // The first 'meta' box is the file's, as libheif reads it.
        std::vector<Box> children;
        const ItemBoxes items = readItemBoxes({top.body.data + 4, top.body.size - 4}, &children);
        std::uint32_t primary = 0;
        bool hasPrimary = false;
        for (const Box& child : children)
            if (child.type == fourcc("pitm") && !hasPrimary) {
                Reader reader(child.body.data, child.body.size);
                const auto version = unsigned(reader.read(1));
                reader.skip(3);
                primary = std::uint32_t(reader.read(version == 0 ? 2 : 4));
                hasPrimary = reader.ok();
            }
        if (!hasPrimary)
            return found;

        // The Exif item that describes the primary picture, else the first.
        std::optional<std::uint32_t> exifItem;
        for (const auto& [id, type] : items.types) {
            if (type != fourcc("Exif"))
                continue;
            if (items.describes.count({id, primary}) > 0) {
                exifItem = id;
                break;
            }
            if (!exifItem)
                exifItem = id;
        }
        // Likewise the XMP item, whose data is the packet.
        std::optional<std::uint32_t> xmpItem;
        for (const std::uint32_t id : items.xmpItems) {
            if (items.describes.count({id, primary}) > 0) {
                xmpItem = id;
                break;
            }
            if (!xmpItem)
                xmpItem = id;
        }
        if (xmpItem)
            found.xmp = itemData(items, *xmpItem, file, kMostInformationBytes);

        if (exifItem) {
            // Four bytes giving the TIFF header's place after them, then the
            // block (often behind "Exif\0\0").
            const std::vector<std::uint8_t> item = itemData(items, *exifItem, file, kMostInformationBytes);
            if (item.size() >= 4) {
                const std::uint64_t offset = std::uint64_t(item[0]) << 24 | std::uint64_t(item[1]) << 16 |
                                             std::uint64_t(item[2]) << 8 | item[3];
                if (offset <= item.size() - 4)
                    found.exif.assign(item.begin() + 4 + std::ptrdiff_t(offset), item.end());
            }
        }

        // A colour box of the primary picture that holds a profile.
        for (const Box& property : propertiesOf(children, primary)) {
            if (property.type != fourcc("colr") || property.body.size < 4)
                continue;
            Reader reader(property.body.data, property.body.size);
            const auto colourType = std::uint32_t(reader.read(4));
            if ((colourType == fourcc("prof") || colourType == fourcc("rICC")) &&
                property.body.size - 4 <= kMostInformationBytes) {
                found.iccProfile.assign(property.body.data + 4, property.body.data + property.body.size);
                break;
            }
        }
        return found;
    }
    return found;
}

}  // namespace tessaly
