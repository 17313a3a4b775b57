// The user locale's own functions.
#include <windows.h>

#include <vector>

#include "platform/text_locale.h"

namespace platform {

bool sameTextIgnoreCase(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                        b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

std::string ignoreCaseKey(const std::string& text) {
  if (text.empty()) {
    // LCMapStringA refuses an empty source; this is the key it gives "\xad".
    return std::string("\x01\x01\x01\x01", 4);
  }
  int flags = LCMAP_SORTKEY | NORM_IGNORECASE;
  int size = LCMapStringA(LOCALE_USER_DEFAULT, flags, text.data(), static_cast<int>(text.size()),
                          nullptr, 0);
  std::string key(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    LCMapStringA(LOCALE_USER_DEFAULT, flags, text.data(), static_cast<int>(text.size()), key.data(),
                 size);
    // The key ends with a NUL that belongs to no weight.
    if (!key.empty() && key.back() == '\0') key.pop_back();
  }
  return key;
}

std::string lowerCase(const std::string& text) {
  std::string result = text;
  if (!result.empty()) CharLowerBuffA(result.data(), static_cast<DWORD>(result.size()));
  return result;
}

int compareText(const std::string& a, const std::string& b) {
  // lstrcmpA stops at a NUL byte, as the C strings it takes do.
  return lstrcmpA(a.c_str(), b.c_str());
}

std::string wideToAnsi(uint16_t codeUnit) {
  wchar_t unit = static_cast<wchar_t>(codeUnit);
  char out[8];
  int n = WideCharToMultiByte(CP_ACP, 0, &unit, 1, out, sizeof out, nullptr, nullptr);
  return std::string(out, static_cast<size_t>(n > 0 ? n : 0));
}

std::string utf8ToAnsi(const std::string& utf8) {
  if (utf8.empty()) return std::string();
  int units =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  if (units <= 0) return std::string();
  std::vector<wchar_t> wide(static_cast<size_t>(units));
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), units);
  int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string result(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), units, result.data(), bytes, nullptr, nullptr);
  return result;
}

std::string ansiToUtf8(const std::string& ansi) {
  if (ansi.empty()) return std::string();
  int units = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  if (units <= 0) return std::string();
  std::vector<wchar_t> wide(static_cast<size_t>(units));
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), units);
  int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string result(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, result.data(), bytes, nullptr, nullptr);
  return result;
}

}  // namespace platform
