#pragma once

#include <cstddef>

struct jpeg_common_struct;
struct jpeg_decompress_struct;

namespace tessaly {

struct KeptBlock;
struct BlockArray;

// Where libjpeg keeps the coefficients of a whole picture while it decodes
// a progressive (or other multi-scan) stream: tens of megabytes for a
// photo. libjpeg takes them from malloc for every picture, and glibc maps
// blocks that large afresh each time, so every page is faulted in again
// (about a sixth of a thumbnail run's time on a folder of photos). Here
// they come from a few blocks kept between pictures instead.
//
// A CoefficientLease lives beside one decompressor, made before libjpeg's
// error jump point (it has no destructor to skip) and handed back with
// returnCoefficients once the decompressor is destroyed, whether decoding
// ended well or not.
struct CoefficientLease {
    KeptBlock* block = nullptr;
    BlockArray* arrays = nullptr;  // requested, in libjpeg's image pool
    void (*libraryRealize)(jpeg_common_struct*) = nullptr;
};

// Makes `info` (just created) take its whole-picture coefficient arrays
// through `lease`. The arrays behave as libjpeg's own: zeroed where the
// decoder asks for it, every access checked against the array's bounds.
void keepCoefficientsIn(jpeg_decompress_struct& info, CoefficientLease& lease);

// Hands the lease's block back for the next picture.
void returnCoefficients(CoefficientLease& lease);

// Blocks are kept only while a KeepCoefficients lives (a run over many
// pictures); otherwise a block handed back is freed at once, so that the
// window holds no memory for a picture it has shown. When the last one
// ends, the blocks kept are freed.
class KeepCoefficients {
public:
    KeepCoefficients();
    ~KeepCoefficients();
    KeepCoefficients(const KeepCoefficients&) = delete;
    KeepCoefficients& operator=(const KeepCoefficients&) = delete;
};

// What the free blocks hold now, in bytes (for tests).
std::size_t keptCoefficientBytes();

}  // namespace tessaly
