#include "imaging/photo/colourprofile.h"

#include <lcms2.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

namespace tessaly {

namespace {

// Little CMS reports damaged profiles to a global handler that prints them;
// here a profile it cannot read is simply one that is not used.
void silenceLittleCms()
{
    static std::once_flag once;
    std::call_once(once, [] { cmsSetLogErrorHandler(nullptr); });
}

struct ProfileCloser {
    void operator()(void* profile) const { cmsCloseProfile(profile); }
};
struct TransformDeleter {
    void operator()(void* transform) const { cmsDeleteTransform(transform); }
};
using Profile = std::unique_ptr<void, ProfileCloser>;
using Transform = std::unique_ptr<void, TransformDeleter>;

// A transform from `icc` to sRGB of blue-green-red pixels, or none when the
// profile cannot serve as the source of one.
Transform transformToSrgb(const QByteArray& icc, cmsUInt32Number intent)
{
    silenceLittleCms();
    if (icc.isEmpty())
        return nullptr;
    const Profile source(cmsOpenProfileFromMem(icc.constData(), cmsUInt32Number(icc.size())));
    if (!source || cmsGetColorSpace(source.get()) != cmsSigRgbData)
        return nullptr;
    const cmsProfileClassSignature kind = cmsGetDeviceClass(source.get());
    if (kind != cmsSigInputClass && kind != cmsSigDisplayClass && kind != cmsSigColorSpaceClass)
        return nullptr;
    const Profile srgb(cmsCreate_sRGBProfile());
    if (!srgb)
        return nullptr;
    return Transform(cmsCreateTransform(source.get(), TYPE_BGR_8, srgb.get(), TYPE_BGR_8, intent, 0));
}

// Whether the profile's colorimetric mapping is sRGB's: a grid of colours
// through it come out within 2 levels of themselves. sRGB profiles differ
// in how they write the curve (a formula, a table of 1024 or 4096 points)
// and round by a level; a wide-gamut profile moves mid-saturated colours
// by far more.
bool mapsLikeSrgb(const QByteArray& icc)
{
    const Transform transform = transformToSrgb(icc, INTENT_RELATIVE_COLORIMETRIC);
    if (!transform)
        return true;
    constexpr std::array<std::uint8_t, 7> kLevels{0, 40, 90, 140, 190, 230, 255};
    std::vector<std::uint8_t> probe;
    for (std::uint8_t b : kLevels)
        for (std::uint8_t g : kLevels)
            for (std::uint8_t r : kLevels)
                probe.insert(probe.end(), {b, g, r});
    std::vector<std::uint8_t> out(probe.size());
    cmsDoTransform(transform.get(), probe.data(), out.data(), cmsUInt32Number(probe.size() / 3));
    for (std::size_t i = 0; i < probe.size(); ++i)
        if (std::abs(int(probe[i]) - int(out[i])) > 2)
            return false;
    return true;
}

}  // namespace

bool changesOnWayToSrgb(const QByteArray& icc)
{
    if (icc.isEmpty())
        return false;
    // The pictures of one folder mostly share their camera's profile: the
    // last answer is kept for the next picture on this thread.
    thread_local QByteArray lastProfile;
    thread_local bool lastAnswer = false;
    if (icc == lastProfile)
        return lastAnswer;
    const bool answer = !mapsLikeSrgb(icc);
    lastProfile = icc;
    lastAnswer = answer;
    return answer;
}

void convertToSrgb(Bitmap& bitmap, const QByteArray& icc)
{
    if (bitmap.isEmpty() || !changesOnWayToSrgb(icc))
        return;
    const Transform transform = transformToSrgb(icc, INTENT_PERCEPTUAL);
    if (!transform)
        return;
    // Same pixel format in and out: Little CMS converts in place.
    for (int y = 0; y < bitmap.height(); ++y)
        cmsDoTransform(transform.get(), bitmap.row(y), bitmap.row(y), cmsUInt32Number(bitmap.width()));
}

}  // namespace tessaly
