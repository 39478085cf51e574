#pragma once

namespace tessaly {

// Whether this program is built with AddressSanitizer (g++ defines
// __SANITIZE_ADDRESS__, clang answers __has_feature). The sanitizer
// reserves terabytes of address space and needs far more memory, so the
// metafile player and its caller set their limits by it.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif
#else
inline constexpr bool kAddressSanitizer = false;
#endif

}  // namespace tessaly
