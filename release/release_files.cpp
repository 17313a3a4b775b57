#include "release/release_files.h"

#include "cloud/update.h"
#include "json/json.h"
#include "release/zip_writer.h"

namespace release {

std::string releaseArchive(const std::vector<ReleaseFile>& files) {
  ZipWriter zip;
  for (const ReleaseFile& file : files) zip.add(file.name, file.bytes);
  std::string bytes = zip.bytes();
  cloud::checkUpdateArchive(bytes);
  return bytes;
}

std::string releaseManifest(const std::string& version) {
  json::TJSONObject manifest;
  manifest.append("success", json::trueValue());
  manifest.append("versao", json::makeString(version));
  return manifest.asText();
}

}  // namespace release
