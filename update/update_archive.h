// The update archive: a ZIP file (one volume, entries stored or deflated)
// read whole and checked before anything is written, then unpacked into the
// work directory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/error.h"

namespace update {

// The archive cannot be used: it is not a ZIP file, an entry is damaged or
// protected by a password, or an entry's name would put it outside the work
// directory.
class ArchiveError : public quelta::Error {
 public:
  explicit ArchiveError(const std::string& message) : quelta::Error("EZipException", message) {}
};

// A release holds a few files of a few MB; an archive far beyond that is
// refused before it is unpacked, whatever its own size.
inline constexpr uint64_t kMostEntries = 1000;
inline constexpr uint64_t kLargestEntry = 64u << 20;
inline constexpr uint64_t kLargestArchive = 128u << 20;

struct ArchiveEntry {
  std::string name;                // as stored, in the program's 8-bit text
  std::vector<std::string> parts;  // the relative path below the work directory
  bool directory = false;
  std::string data;         // the unpacked bytes, their checksum verified
  uint32_t attributes = 0;  // read-only, hidden, system, archive bits
};

// The relative path an entry name stands for. Both "\" and "/" separate;
// empty and "." parts are dropped. A name that is empty, absolute (starting
// with a separator), carries a drive letter or any other ":", or has a part
// made of dots and blanks only other than "." (such as "..", which Windows
// would also read into ".. "), is refused with an ArchiveError; so is a
// part Windows cannot create (< > " | ? *, control characters, device
// names such as CON or COM1 with or without extension, a dot or blank at
// the end).
std::vector<std::string> relativeParts(const std::string& name);

// Reads every entry of the archive's bytes, files and directories at any
// depth. Names are read in the OEM code page (UTF-8 when the entry says so).
// Throws ArchiveError for the first entry that cannot be used (a stream
// shorter or longer than its declared size or with another checksum is
// damaged), for too many entries or too many bytes to unpack, and for a
// name that is both a file and a directory (letter case aside); then
// nothing of the archive has been written anywhere.
std::vector<ArchiveEntry> readArchive(const std::string& zipBytes);

// Writes the entries below `directory`: missing directories are created, an
// existing file is replaced even when it is read-only, and each file gets
// its stored attributes. IOError on the first file that cannot be written.
void writeEntries(const std::vector<ArchiveEntry>& entries, const std::string& directory);

// A path below `directory` with the platform's separator.
std::string pathBelow(const std::string& directory, const std::vector<std::string>& parts);

}  // namespace update
