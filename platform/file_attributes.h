// The attributes of a file, as FAT and NTFS keep them and ZIP archives store
// them (the low byte of an entry's external attributes).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

inline constexpr uint32_t kAttributeReadOnly = 0x01;
inline constexpr uint32_t kAttributeHidden = 0x02;
inline constexpr uint32_t kAttributeSystem = 0x04;
inline constexpr uint32_t kAttributeArchive = 0x20;

// Sets the read-only, hidden, system and archive bits of a file to those
// in `attributes`; false when the file's attributes could not be changed.
// The portable stand-in keeps only the read-only bit (as the owner's write
// permission).
bool setFileAttributes(const std::string& path, uint32_t attributes);

// The file's attribute bits; nullopt when there is no such file.
std::optional<uint32_t> fileAttributes(const std::string& path);

}  // namespace platform
