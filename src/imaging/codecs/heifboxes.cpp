#include "imaging/codecs/heifboxes.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace tessaly::heifboxes {

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

std::vector<Bytes> metaBodies(Bytes file)
{
    std::vector<Bytes> bodies;
    for (const Box& top : boxesIn(file))
        if (top.type == fourcc("meta") && top.body.size >= 4)
            bodies.push_back({top.body.data + 4, top.body.size - 4});
    return bodies;
}

namespace {

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

}  // namespace

ItemBoxes readItemBoxes(Bytes meta, std::vector<Box>* children)
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

}  // namespace tessaly::heifboxes
