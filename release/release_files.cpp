#include "release/release_files.h"

#include "json/json.h"
#include "release/zip_writer.h"
#include "update/update.h"

namespace release {

std::string releaseArchive(const std::vector<ReleaseFile>& files) {
  ZipWriter zip;
  for (const ReleaseFile& file : files) zip.add(file.name, file.bytes);
  std::string bytes = zip.bytes();
  update::checkUpdateArchive(bytes);
  return bytes;
}

std::string releaseManifest(const std::string& version) {
  json::TJSONObject manifest;
  manifest.append("success", json::trueValue());
  manifest.append("versao", json::makeString(version));
  return manifest.asText();
}

}  // namespace release
