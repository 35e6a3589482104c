// Whether this build runs under AddressSanitizer: its stack frames are
// several times larger than those of any other build, and storage that the
// arena gives back is poisoned for it. The macro is for what must be decided
// while compiling (an #include); the constant for everything else.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define COMMON_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define COMMON_ADDRESS_SANITIZER 1
#endif
#endif

namespace common {

#if defined(COMMON_ADDRESS_SANITIZER)
inline constexpr bool address_sanitizer = true;
#else
inline constexpr bool address_sanitizer = false;
#endif

}  // namespace common
