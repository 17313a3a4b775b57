#include <windows.h>

#include <vector>

#include "platform/oem_text.h"

namespace platform {

std::string oemToAnsi(const std::string& oem) {
  std::string ansi = oem;
  if (!ansi.empty()) OemToCharBuffA(oem.data(), ansi.data(), static_cast<DWORD>(ansi.size()));
  return ansi;
}

std::optional<std::string> ansiToOem(const std::string& ansi) {
  if (ansi.empty()) return ansi;
  const int size = static_cast<int>(ansi.size());
  std::vector<wchar_t> wide(ansi.size());
  int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), size);
  if (n <= 0) return std::nullopt;
  BOOL lossy = FALSE;
  int bytes = WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), n, nullptr, 0,
                                  nullptr, &lossy);
  if (bytes <= 0 || lossy) return std::nullopt;
  std::string oem(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), n, oem.data(), bytes, nullptr,
                      &lossy);
  if (lossy) return std::nullopt;
  return oem;
}

}  // namespace platform
