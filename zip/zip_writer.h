// Writes ZIP archives (one volume, entries stored or deflated) the way the
// update reads them: the release archive and the diagnosis's support package
// are made with it, and so are the update's tests' archives, hostile ones
// included (any entry name, chosen attributes, flags and declared checksums
// and sizes).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zip {

class ZipWriter {
 public:
  struct Entry {
    std::string name;  // stored bytes, as they go into the archive
    std::string data;
    bool deflate = true;
    uint16_t madeBy = 0x0014;  // MS-DOS, version 2.0
    uint16_t flags = 0;
    uint32_t external = 0;  // MS-DOS attributes in the low byte
    // What the headers declare, when it is not the data's own checksum or
    // size (a damaged archive).
    std::optional<uint32_t> declaredCrc = std::nullopt;
    std::optional<uint32_t> declaredSize = std::nullopt;
  };

  ZipWriter& add(const std::string& name, const std::string& data);
  ZipWriter& add(Entry entry);
  ZipWriter& addDirectory(const std::string& name);

  // The archive's bytes.
  std::string bytes();

  // Where entry `index`'s (packed) data begins in the last bytes() result.
  size_t dataOffset(size_t index) const { return offsets_.at(index); }

 private:
  std::vector<Entry> entries_;
  std::vector<size_t> offsets_;
};

}  // namespace zip
