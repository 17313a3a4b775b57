// POSIX stand-in of the file attributes: read-only is the owner's missing
// write permission; hidden, system and archive have no place to live.
#include <sys/stat.h>

#include "platform/file_attributes.h"
#include "platform/files.h"

namespace platform {

bool setFileAttributes(const std::string& path, uint32_t attributes) {
  if (fileStepFailure(FileStep::kAttributes, path) != 0) return false;
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return false;
  mode_t mode = st.st_mode & 07777;
  if (attributes & kAttributeReadOnly) {
    mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
  } else {
    mode |= S_IWUSR;
  }
  return ::chmod(path.c_str(), mode) == 0;
}

std::optional<uint32_t> fileAttributes(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return (st.st_mode & S_IWUSR) ? 0u : kAttributeReadOnly;
}

}  // namespace platform
