#pragma once

namespace tessaly {

struct TargetSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const TargetSize&, const TargetSize&) = default;
};

// The three size rules of thumbnails, computed in extended precision in the
// order written and rounded to the nearest integer with ties to even.
// Pictures with both sides below `maximum` keep their size.
TargetSize FitWithin(int width, int height, int maximum);
// Always scales to the maximum width (also enlarging).
TargetSize ForceToWidth(int width, int height, int maximum);
// Always scales to the maximum height (also enlarging).
TargetSize ForceToHeight(int width, int height, int maximum);

// What the thumbnail options ask of one picture.
struct SizeOptions {
    bool keepAspect = false;
    bool forceWidth = false;
    bool forceHeight = false;
    int fixedWidth = 96;
    int fixedHeight = 96;
    int maximum = 96;
};
TargetSize thumbnailSize(int width, int height, const SizeOptions& options);

}  // namespace tessaly
