#include <windows.h>

#include "platform/oem_text.h"

namespace platform {

std::string oemToAnsi(const std::string& oem) {
  std::string ansi = oem;
  if (!ansi.empty()) OemToCharBuffA(oem.data(), ansi.data(), static_cast<DWORD>(ansi.size()));
  return ansi;
}

}  // namespace platform
