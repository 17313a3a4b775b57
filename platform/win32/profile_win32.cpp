#include <windows.h>

#include "platform/error.h"
#include "platform/profile.h"

namespace platform {

std::string readProfileString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& def) {
  char buffer[2048];
  DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer,
                                     sizeof buffer, file.c_str());
  return std::string(buffer, n);
}

void writeProfileString(const std::string& file, const std::string& section,
                        const std::string& key, const std::string& value) {
  if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()))
    throw quelta::Error("EIniFileException", "Unable to write to " + file);
}

}  // namespace platform
