#include <windows.h>

#include "platform/file_attributes.h"
#include "platform/files.h"

namespace platform {

namespace {
constexpr DWORD kKept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                        FILE_ATTRIBUTE_ARCHIVE;
}

bool setFileAttributes(const std::string& path, uint32_t attributes) {
  if (fileStepFailure(FileStep::kAttributes, path) != 0) return false;
  DWORD wanted = attributes & kKept;
  // No bit at all means a plain file, which Windows spells NORMAL.
  return SetFileAttributesA(path.c_str(), wanted ? wanted : FILE_ATTRIBUTE_NORMAL) != 0;
}

std::optional<uint32_t> fileAttributes(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return a & kKept;
}

}  // namespace platform
