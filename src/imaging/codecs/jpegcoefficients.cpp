#include "imaging/codecs/jpegcoefficients.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
// jpeglib.h needs <cstdio> first.
#include <jerror.h>
#include <mutex>
#include <new>
#include <vector>

// The functions given to libjpeg are called from C and end in libjpeg's
// error jump when something is wrong: no C++ object with a destructor may
// be alive in them where they call ERREXIT, and none of them may throw.

namespace tessaly {

struct KeptBlock {
    void* data = nullptr;
    std::size_t bytes = 0;
};

// One whole-picture coefficient array, as the decoder asked for it. Made
// in libjpeg's image pool, so that libjpeg frees it with the picture.
struct BlockArray {
    BlockArray* next = nullptr;
    JBLOCKARRAY rows = nullptr;  // none until realized
    JDIMENSION blocksPerRow = 0;
    JDIMENSION rowCount = 0;
    JDIMENSION maxAccess = 0;
    JDIMENSION firstUndefinedRow = 0;
    bool preZero = false;
};

namespace {

// Two decoders run at once at most; a third block would only hold memory.
constexpr std::size_t kMostKeptFree = 2;

void destroy(KeptBlock* block)
{
    std::free(block->data);
    delete block;
}

struct Store {
    std::mutex mutex;
    std::vector<KeptBlock*> free;
    int keepers = 0;  // KeepCoefficients alive
    ~Store()
    {
        for (KeptBlock* block : free)
            destroy(block);
    }
};

Store& store()
{
    static Store kept;
    return kept;
}

// The smallest free block that holds `bytes`, else a new one (the largest
// free block, too small, making way for it); none when memory runs out.
KeptBlock* takeBlock(std::size_t bytes)
{
    KeptBlock* chosen = nullptr;
    KeptBlock* dropped = nullptr;
    {
        Store& kept = store();
        const std::lock_guard lock(kept.mutex);
        auto best = kept.free.end();
        for (auto it = kept.free.begin(); it != kept.free.end(); ++it)
            if ((*it)->bytes >= bytes && (best == kept.free.end() || (*it)->bytes < (*best)->bytes))
                best = it;
        if (best != kept.free.end()) {
            chosen = *best;
            kept.free.erase(best);
        } else if (!kept.free.empty()) {
            const auto largest = std::max_element(kept.free.begin(), kept.free.end(),
                                                  [](auto* a, auto* b) { return a->bytes < b->bytes; });
            dropped = *largest;
            kept.free.erase(largest);
        }
    }
    if (dropped)
        destroy(dropped);
    if (chosen)
        return chosen;
    void* data = std::malloc(bytes);
    if (!data)
        return nullptr;
    auto* block = new (std::nothrow) KeptBlock{data, bytes};
    if (!block)
        std::free(data);
    return block;
}

// Keeps `block` for the next picture while a run keeps blocks, the largest
// ones; frees it (or the smallest kept) otherwise.
void giveBlock(KeptBlock* block)
{
    KeptBlock* dropped = block;
    {
        Store& kept = store();
        const std::lock_guard lock(kept.mutex);
        if (kept.keepers > 0) {
            kept.free.push_back(block);
            dropped = nullptr;
            if (kept.free.size() > kMostKeptFree) {
                const auto smallest = std::min_element(kept.free.begin(), kept.free.end(),
                                                       [](auto* a, auto* b) { return a->bytes < b->bytes; });
                dropped = *smallest;
                kept.free.erase(smallest);
            }
        }
    }
    if (dropped)
        destroy(dropped);
}

CoefficientLease& leaseOf(j_common_ptr info)
{
    return *static_cast<CoefficientLease*>(info->client_data);
}

jvirt_barray_ptr requestArray(j_common_ptr info, int pool, boolean preZero, JDIMENSION blocksPerRow,
                              JDIMENSION rowCount, JDIMENSION maxAccess)
{
    if (pool != JPOOL_IMAGE)
        ERREXIT1(info, JERR_BAD_POOL_ID, pool);
    auto* array = static_cast<BlockArray*>((*info->mem->alloc_small)(info, pool, sizeof(BlockArray)));
    CoefficientLease& lease = leaseOf(info);
    array->next = lease.arrays;
    array->rows = nullptr;
    array->blocksPerRow = blocksPerRow;
    array->rowCount = rowCount;
    array->maxAccess = maxAccess;
    array->firstUndefinedRow = 0;
    array->preZero = preZero != FALSE;
    lease.arrays = array;
    return reinterpret_cast<jvirt_barray_ptr>(array);
}

void realizeArrays(j_common_ptr info)
{
    CoefficientLease& lease = leaseOf(info);
    lease.libraryRealize(info);
    std::size_t blocks = 0;
    for (const BlockArray* array = lease.arrays; array; array = array->next) {
        if (array->rows)
            continue;
        const std::size_t inArray = std::size_t(array->blocksPerRow) * array->rowCount;
        if (inArray > SIZE_MAX / sizeof(JBLOCK) - blocks)
            ERREXIT1(info, JERR_OUT_OF_MEMORY, 0);
        blocks += inArray;
    }
    if (blocks == 0)
        return;
    // One decoder realizes its arrays once.
    if (lease.block)
        ERREXIT(info, JERR_VIRTUAL_BUG);
    lease.block = takeBlock(blocks * sizeof(JBLOCK));
    if (!lease.block)
        ERREXIT1(info, JERR_OUT_OF_MEMORY, 0);
    auto next = static_cast<JBLOCKROW>(lease.block->data);
    for (BlockArray* array = lease.arrays; array; array = array->next) {
        if (array->rows)
            continue;
        auto rows = static_cast<JBLOCKARRAY>(
            (*info->mem->alloc_large)(info, JPOOL_IMAGE, std::size_t(array->rowCount) * sizeof(JBLOCKROW)));
        for (JDIMENSION row = 0; row < array->rowCount; ++row, next += array->blocksPerRow)
            rows[row] = next;
        array->rows = rows;
        array->firstUndefinedRow = 0;
    }
}

// The rows [start, start + count) of an array. The whole array is in
// memory; as in libjpeg, a writer may not skip rows, a reader may look
// ahead only where the array is zeroed for it, and rows are zeroed when
// first reached.
JBLOCKARRAY accessArray(j_common_ptr info, jvirt_barray_ptr handle, JDIMENSION start, JDIMENSION count,
                        boolean writable)
{
    auto* array = reinterpret_cast<BlockArray*>(handle);
    const JDIMENSION end = start + count;
    if (end < start || end > array->rowCount || count > array->maxAccess || !array->rows)
        ERREXIT(info, JERR_BAD_VIRTUAL_ACCESS);
    if (array->firstUndefinedRow < end) {
        JDIMENSION undefined = array->firstUndefinedRow;
        if (undefined < start) {
            if (writable)
                ERREXIT(info, JERR_BAD_VIRTUAL_ACCESS);
            undefined = start;
        }
        if (writable)
            array->firstUndefinedRow = end;
        if (array->preZero) {
            for (JDIMENSION row = undefined; row < end; ++row)
                std::fill_n(reinterpret_cast<JCOEF*>(array->rows[row]), std::size_t(array->blocksPerRow) * DCTSIZE2,
                            JCOEF(0));
        } else if (!writable) {
            ERREXIT(info, JERR_BAD_VIRTUAL_ACCESS);
        }
    }
    return array->rows + start;
}

}  // namespace

void keepCoefficientsIn(jpeg_decompress_struct& info, CoefficientLease& lease)
{
    info.client_data = &lease;
    lease.libraryRealize = info.mem->realize_virt_arrays;
    info.mem->request_virt_barray = requestArray;
    info.mem->realize_virt_arrays = realizeArrays;
    info.mem->access_virt_barray = accessArray;
}

void returnCoefficients(CoefficientLease& lease)
{
    if (lease.block)
        giveBlock(lease.block);
    lease.block = nullptr;
    lease.arrays = nullptr;
}

KeepCoefficients::KeepCoefficients()
{
    Store& kept = store();
    const std::lock_guard lock(kept.mutex);
    ++kept.keepers;
}

KeepCoefficients::~KeepCoefficients()
{
    std::vector<KeptBlock*> free;
    {
        Store& kept = store();
        const std::lock_guard lock(kept.mutex);
        if (--kept.keepers == 0)
            free.swap(kept.free);
    }
    for (KeptBlock* block : free)
        destroy(block);
}

std::size_t keptCoefficientBytes()
{
    Store& kept = store();
    const std::lock_guard lock(kept.mutex);
    std::size_t bytes = 0;
    for (const KeptBlock* block : kept.free)
        bytes += block->bytes;
    return bytes;
}

}  // namespace tessaly
