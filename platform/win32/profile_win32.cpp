#include <windows.h>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/win32/system_error.h"

namespace platform {
namespace {

// Each call is one step of the file service's: a step made to fail (a broken
// disk in the tests) skips the call and raises as the file service does.
void step(FileStep kind, const std::string& file) {
  if (DWORD code = fileStepFailure(kind, file))
    failFile(kind == FileStep::kRead ? "Cannot open file" : "Cannot write file", file, code);
}

void write(const std::string& file, const char* section, const char* key, const char* value) {
  if (!WritePrivateProfileStringA(section, key, value, file.c_str()))
    throw quelta::Error("EIniFileException", "Unable to write to " + file);
}

}  // namespace

std::string readProfileString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& def) {
  step(FileStep::kRead, file);
  char buffer[2048];
  DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer,
                                     sizeof buffer, file.c_str());
  return std::string(buffer, n);
}

void writeProfileString(const std::string& file, const std::string& section,
                        const std::string& key, const std::string& value) {
  step(FileStep::kWrite, file);
  write(file, section.c_str(), key.c_str(), value.c_str());
}

void removeProfileKey(const std::string& file, const std::string& section, const std::string& key) {
  step(FileStep::kWrite, file);
  write(file, section.c_str(), key.c_str(), nullptr);
  // The API keeps the emptied section's header. (A section too long for the
  // buffer reads as its size less two, never as 0.)
  char buffer[16];
  if (GetPrivateProfileSectionA(section.c_str(), buffer, sizeof buffer, file.c_str()) == 0)
    write(file, section.c_str(), nullptr, nullptr);
}

}  // namespace platform
