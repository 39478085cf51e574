#include "imaging/sizing.h"

#include <cfenv>
#include <cmath>

namespace tessaly {

namespace {

// Nearest integer, ties to even (the default rounding mode).
int roundEven(long double value)
{
    return int(std::nearbyintl(value));
}

}  // namespace

TargetSize FitWithin(int width, int height, int maximum)
{
    if (maximum > width && maximum > height)
        return {width, height};
    if (width < height)
        return {roundEven((long double)width / height * maximum), maximum};
    return {maximum, roundEven((long double)height / width * maximum)};
}

TargetSize ForceToWidth(int width, int height, int maximum)
{
    return {maximum, roundEven((long double)maximum / width * height)};
}

TargetSize ForceToHeight(int width, int height, int maximum)
{
    return {roundEven((long double)maximum / height * width), maximum};
}

TargetSize thumbnailSize(int width, int height, const SizeOptions& options)
{
    if (!options.keepAspect)
        return {options.fixedWidth, options.fixedHeight};
    if (options.forceWidth)
        return ForceToWidth(width, height, options.maximum);
    if (options.forceHeight)
        return ForceToHeight(width, height, options.maximum);
    return FitWithin(width, height, options.maximum);
}

}  // namespace tessaly
