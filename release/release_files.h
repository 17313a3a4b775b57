// What the download host serves for a release: the archive
// "/impressao/impressao.zip" and the manifest "/impressao/version.json".
// `make release` writes both with these; the update's end-to-end test
// updates from an archive made the same way.
#pragma once

#include <string>
#include <vector>

namespace release {

struct ReleaseFile {
  std::string name;  // its path in the archive; the program files at the root
  std::string bytes;
};

// The archive of the files, each deflated, read back and checked as the
// tool checks it before it stops the print service: an archive the tool
// would refuse (the four program files missing, a name Windows cannot
// create, too large) raises its ArchiveError here and is never published.
std::string releaseArchive(const std::vector<ReleaseFile>& files);

// The manifest offering `version`: {"success":true,"versao":"<version>"}.
std::string releaseManifest(const std::string& version);

}  // namespace release
