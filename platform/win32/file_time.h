// Windows file times (100-ns ticks since 1601) as seconds since 1970 UTC.
#pragma once

#include <windows.h>

#include <cstdint>

namespace platform {

inline int64_t unixSeconds(const FILETIME& time) {
  ULARGE_INTEGER ticks{};
  ticks.LowPart = time.dwLowDateTime;
  ticks.HighPart = time.dwHighDateTime;
  return static_cast<int64_t>(ticks.QuadPart / 10000000ull) - 11644473600ll;
}

}  // namespace platform
