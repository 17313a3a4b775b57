#include "update/update_archive.h"

#include <unzip.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/file_attributes.h"
#include "platform/files.h"
#include "platform/oem_text.h"
#include "platform/text_locale.h"

namespace update {
namespace {

// Messages of the archive's failures, in the program's 8-bit text.
const char kNotZip[] = "O arquivo de atualiza\xe7\xe3o n\xe3o \xe9 um arquivo ZIP v\xe1lido";
const char kDamaged[] = "O arquivo de atualiza\xe7\xe3o est\xe1 danificado: ";
const char kEncrypted[] = "O arquivo de atualiza\xe7\xe3o tem senha: ";
const char kOutside[] =
    "O arquivo de atualiza\xe7\xe3o foi recusado, uma entrada fica fora da pasta: ";
const char kEmptyName[] =
    "O arquivo de atualiza\xe7\xe3o foi recusado, uma entrada n\xe3o tem nome";
const char kBadName[] =
    "O arquivo de atualiza\xe7\xe3o foi recusado, uma entrada tem um nome que o Windows n\xe3o "
    "aceita: ";
const char kNameClash[] =
    "O arquivo de atualiza\xe7\xe3o foi recusado, um arquivo e uma pasta t\xeam o mesmo nome: ";
const char kTooManyEntries[] = "O arquivo de atualiza\xe7\xe3o foi recusado, tem entradas demais";
const char kTooLarge[] = "O arquivo de atualiza\xe7\xe3o foi recusado, \xe9 grande demais: ";

constexpr uLong kFlagEncrypted = 0x0001;
constexpr uLong kFlagUtf8Name = 0x0800;
constexpr uint32_t kDosDirectory = 0x10;
constexpr uint32_t kKeptAttributes = platform::kAttributeReadOnly | platform::kAttributeHidden |
                                     platform::kAttributeSystem | platform::kAttributeArchive;
constexpr uLong kHostUnix = 3;

// minizip reads the archive from memory: the archive has been fetched or
// read whole already, and this way its path never goes through the C
// library's file names.
struct MemoryArchive {
  const std::string* bytes;
  ZPOS64_T position = 0;
};

voidpf ZCALLBACK memoryOpen(voidpf opaque, const void*, int) {
  static_cast<MemoryArchive*>(opaque)->position = 0;
  return opaque;
}

uLong ZCALLBACK memoryRead(voidpf, voidpf stream, void* buffer, uLong size) {
  auto* archive = static_cast<MemoryArchive*>(stream);
  ZPOS64_T total = archive->bytes->size();
  if (archive->position >= total) return 0;
  uLong n = static_cast<uLong>(std::min<ZPOS64_T>(size, total - archive->position));
  std::memcpy(buffer, archive->bytes->data() + archive->position, n);
  archive->position += n;
  return n;
}

uLong ZCALLBACK memoryWrite(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK memoryTell(voidpf, voidpf stream) {
  return static_cast<MemoryArchive*>(stream)->position;
}

long ZCALLBACK memorySeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  auto* archive = static_cast<MemoryArchive*>(stream);
  ZPOS64_T total = archive->bytes->size();
  ZPOS64_T base = 0;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
      base = 0;
      break;
    case ZLIB_FILEFUNC_SEEK_CUR:
      base = archive->position;
      break;
    case ZLIB_FILEFUNC_SEEK_END:
      base = total;
      break;
    default:
      return -1;
  }
  if (offset > total || base > total - offset) return -1;
  archive->position = base + offset;
  return 0;
}

int ZCALLBACK memoryClose(voidpf, voidpf) { return 0; }

int ZCALLBACK memoryError(voidpf, voidpf) { return 0; }

class Unzip {
 public:
  explicit Unzip(const std::string& bytes) : memory_{&bytes} {
    zlib_filefunc64_def functions{};
    functions.zopen64_file = memoryOpen;
    functions.zread_file = memoryRead;
    functions.zwrite_file = memoryWrite;
    functions.ztell64_file = memoryTell;
    functions.zseek64_file = memorySeek;
    functions.zclose_file = memoryClose;
    functions.zerror_file = memoryError;
    functions.opaque = &memory_;
    file_ = unzOpen2_64("impressao.zip", &functions);
    if (!file_) throw ArchiveError(kNotZip);
  }
  ~Unzip() { unzClose(file_); }
  Unzip(const Unzip&) = delete;
  Unzip& operator=(const Unzip&) = delete;

  unzFile get() const { return file_; }

 private:
  MemoryArchive memory_;
  unzFile file_ = nullptr;
};

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// Whether Windows can create a file or directory of this name: none of
// < > " | ? * or a control character (a character the code page lacks
// reads as "?"), no device name such as CON or LPT1 before any extension,
// no dot or blank at the end.
bool windowsCanCreate(const std::string& part) {
  for (char c : part) {
    if (static_cast<unsigned char>(c) < 0x20 || std::strchr("<>\"|?*", c)) return false;
  }
  if (part.back() == '.' || part.back() == ' ') return false;
  std::string base = platform::lowerCase(part.substr(0, part.find('.')));
  base.erase(base.find_last_not_of(' ') + 1);
  for (const char* device : {"con", "prn", "aux", "nul"})
    if (base == device) return false;
  const bool numbered = base.size() == 4 && base[3] >= '1' && base[3] <= '9';
  return !(numbered && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0));
}

uint32_t storedAttributes(const unz_file_info64& info) {
  auto external = static_cast<uint32_t>(info.external_fa);
  uint32_t attributes = external & kKeptAttributes;
  // Archives made on Unix keep the permissions in the upper half; a file
  // nobody may write is read-only.
  uint32_t mode = external >> 16;
  if ((info.version >> 8) == kHostUnix && mode != 0 && (mode & 0222) == 0)
    attributes |= platform::kAttributeReadOnly;
  return attributes;
}

// The entry's bytes, exactly its declared size with its declared checksum:
// minizip compares the checksum only once the declared size has been read,
// so a stream that ends early would pass it.
std::string readCurrentEntry(unzFile zip, const unz_file_info64& info, const std::string& name) {
  if (unzOpenCurrentFile(zip) != UNZ_OK) throw ArchiveError(kDamaged + name);
  std::string data;
  data.reserve(static_cast<size_t>(info.uncompressed_size));
  char buffer[65536];
  int n = 0;
  while (data.size() <= info.uncompressed_size &&
         (n = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0)
    data.append(buffer, n);
  int closed = unzCloseCurrentFile(zip);
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
  if (n < 0 || closed != UNZ_OK || data.size() != info.uncompressed_size || crc != info.crc)
    throw ArchiveError(kDamaged + name);
  return data;
}

// The current entry's information and its name in the program's text.
std::string currentEntryName(unzFile zip, unz_file_info64& info) {
  char rawName[65536];
  if (unzGetCurrentFileInfo64(zip, &info, rawName, sizeof rawName, nullptr, 0, nullptr, 0) !=
      UNZ_OK)
    throw ArchiveError(kNotZip);
  std::string stored(rawName, std::min<size_t>(info.size_filename, sizeof rawName - 1));
  return (info.flag & kFlagUtf8Name) ? platform::utf8ToAnsi(stored) : platform::oemToAnsi(stored);
}

// Bounds what the archive may unpack to before a byte is inflated: a small
// archive can declare gigabytes. An entry that inflates to more than it
// declares is found damaged when it is read.
void requireBoundedSize(unzFile zip) {
  unz_global_info64 global{};
  if (unzGetGlobalInfo64(zip, &global) != UNZ_OK) throw ArchiveError(kNotZip);
  if (global.number_entry > kMostEntries) throw ArchiveError(kTooManyEntries);
  uint64_t unpacked = 0;
  for (int status = unzGoToFirstFile(zip); status == UNZ_OK; status = unzGoToNextFile(zip)) {
    unz_file_info64 info{};
    std::string name = currentEntryName(zip, info);
    unpacked += info.uncompressed_size;
    if (info.uncompressed_size > kLargestEntry || unpacked > kLargestArchive)
      throw ArchiveError(kTooLarge + name);
  }
}

std::string pathKey(const std::vector<std::string>& parts, size_t count) {
  std::string key;
  for (size_t i = 0; i < count; ++i) key += platform::lowerCase(parts[i]) + '/';
  return key;
}

// Windows names files without regard to letter case, and one name is either
// a file or a directory: "docs" and "Docs/leia.txt" cannot both be made.
void requireNoFileDirectoryClash(const std::vector<ArchiveEntry>& entries) {
  std::map<std::string, bool> isDirectory;
  auto claim = [&](const std::string& key, bool directory, const std::string& name) {
    auto [it, added] = isDirectory.emplace(key, directory);
    if (!added && it->second != directory) throw ArchiveError(kNameClash + name);
  };
  for (const ArchiveEntry& entry : entries) {
    for (size_t i = 1; i < entry.parts.size(); ++i)
      claim(pathKey(entry.parts, i), true, entry.name);
    claim(pathKey(entry.parts, entry.parts.size()), entry.directory, entry.name);
  }
}

void createDirectories(const std::string& directory, const std::vector<std::string>& parts,
                       size_t count) {
  std::string path = directory;
  for (size_t i = 0; i < count; ++i) {
    path = pathBelow(path, {parts[i]});
    if (!platform::directoryExists(path)) platform::createDirectory(path);
  }
}

}  // namespace

std::vector<std::string> relativeParts(const std::string& name) {
  if (name.empty()) throw ArchiveError(kEmptyName);
  if (isSeparator(name.front()) || name.find(':') != std::string::npos)
    throw ArchiveError(kOutside + name);
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = start;
    while (end < name.size() && !isSeparator(name[end])) ++end;
    std::string part = name.substr(start, end - start);
    bool dotsAndBlanks = !part.empty() && part.find_first_not_of(". ") == std::string::npos;
    if (dotsAndBlanks && part != ".") throw ArchiveError(kOutside + name);
    if (!part.empty() && part != "." && !windowsCanCreate(part))
      throw ArchiveError(kBadName + name);
    if (!part.empty() && part != ".") parts.push_back(part);
    start = end + 1;
  }
  if (parts.empty()) throw ArchiveError(kOutside + name);
  return parts;
}

std::vector<ArchiveEntry> readArchive(const std::string& zipBytes) {
  Unzip zip(zipBytes);
  requireBoundedSize(zip.get());
  std::vector<ArchiveEntry> entries;
  int status = unzGoToFirstFile(zip.get());
  while (status == UNZ_OK) {
    unz_file_info64 info{};
    ArchiveEntry entry;
    entry.name = currentEntryName(zip.get(), info);
    entry.parts = relativeParts(entry.name);
    entry.directory = isSeparator(entry.name.back()) ||
                      (static_cast<uint32_t>(info.external_fa) & kDosDirectory) != 0;
    entry.attributes = storedAttributes(info);
    if (info.flag & kFlagEncrypted) throw ArchiveError(kEncrypted + entry.name);
    if (!entry.directory) entry.data = readCurrentEntry(zip.get(), info, entry.name);
    entries.push_back(std::move(entry));
    status = unzGoToNextFile(zip.get());
  }
  if (status != UNZ_END_OF_LIST_OF_FILE) throw ArchiveError(kNotZip);
  requireNoFileDirectoryClash(entries);
  return entries;
}

void writeEntries(const std::vector<ArchiveEntry>& entries, const std::string& directory) {
  for (const ArchiveEntry& entry : entries) {
    if (entry.directory) {
      createDirectories(directory, entry.parts, entry.parts.size());
      continue;
    }
    createDirectories(directory, entry.parts, entry.parts.size() - 1);
    std::string path = pathBelow(directory, entry.parts);
    // A read-only file left by an earlier update would refuse its
    // replacement.
    auto existing = platform::fileAttributes(path);
    if (existing && (*existing & platform::kAttributeReadOnly))
      platform::setFileAttributes(path, *existing & ~platform::kAttributeReadOnly);
    platform::writeFileReplacing(path, entry.data);
    if (!platform::setFileAttributes(path, entry.attributes))
      throw quelta::IOError("Cannot set the attributes of \"" + path + "\"");
  }
}

std::string pathBelow(const std::string& directory, const std::vector<std::string>& parts) {
#ifdef _WIN32
  const char separator = '\\';
#else
  const char separator = '/';
#endif
  std::string path = directory;
  for (const std::string& part : parts) path += separator + part;
  return path;
}

}  // namespace update
