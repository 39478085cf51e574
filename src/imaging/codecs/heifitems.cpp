#include "imaging/codecs/heifitems.h"

#include "imaging/codecs/heifboxes.h"
#include "imaging/codecs/photoformatinfo.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <set>

namespace tessaly {
namespace {

using heifboxes::Box;
using heifboxes::boxesIn;
using heifboxes::Bytes;
using heifboxes::Extent;
using heifboxes::fourcc;
using heifboxes::ItemBoxes;
using heifboxes::itemData;
using heifboxes::itemStart;
using heifboxes::metaBodies;
using heifboxes::placeExtent;
using heifboxes::propertiesOf;
using heifboxes::Reader;
using heifboxes::readItemBoxes;

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
const char* const kTooManyParts = "pictures are built from more parts than any camera writes";

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

}  // namespace

HeifDerivedItems findHeifDerivedItems(const std::uint8_t* data, std::size_t size)
{
    HeifDerivedItems found;
    const Bytes file{data, size};
    for (const Bytes meta : metaBodies(file))
        listDerivedItems(readItemBoxes(meta), file, found);
    return found;
}

HeifPhotoInformation findHeifPhotoInformation(const std::uint8_t* data, std::size_t size)
{
    HeifPhotoInformation found;
    const Bytes file{data, size};
    // The first 'meta' box is the file's, as libheif reads it.
    const std::vector<Bytes> metas = metaBodies(file);
    if (metas.empty())
        return found;
    std::vector<Box> children;
    const ItemBoxes items = readItemBoxes(metas.front(), &children);
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
            const std::uint64_t offset =
                std::uint64_t(item[0]) << 24 | std::uint64_t(item[1]) << 16 | std::uint64_t(item[2]) << 8 | item[3];
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

}  // namespace tessaly
