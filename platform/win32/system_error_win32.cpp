#include "platform/error.h"
#include "platform/win32/system_error.h"

namespace platform {

std::string systemMessage(DWORD code) {
  char buffer[512];
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           code, 0, buffer, sizeof buffer, nullptr);
  std::string text(buffer, n);
  while (!text.empty() &&
         (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
    text.pop_back();
  if (text.empty()) text = "Error " + std::to_string(code);
  return text;
}

void failFile(const char* what, const std::string& path, DWORD code) {
  throw quelta::IOError(std::string(what) + " \"" + path + "\". " + systemMessage(code));
}

}  // namespace platform
