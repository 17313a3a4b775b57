// What the download host serves for a release: the archive
// "/impressao/impressao.zip", the manifest "/impressao/version.json" and
// the publisher's signature of it, "/impressao/version.json.sig".
// `make release` writes them with these; the update's end-to-end test
// updates from a publication made the same way.
#pragma once

#include <cstdint>
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

// The manifest offering `version` with `archive`:
// {"success":true,"versao":"<version>","sha256":"<hex>","tamanho":<bytes>,
//  "publicacao":<number>,"expira":"<yyyy-mm-ddThh:mm:ssZ>"}.
std::string releaseManifest(const std::string& version, const std::string& archive, int32_t number,
                            const std::string& expires);

// The Ed25519 signature of the manifest's bytes with the private key (PEM),
// checked with the key's public half as the tool checks it. EReleaseError
// when the key is no Ed25519 private key.
std::string signManifest(const std::string& manifest, const std::string& privateKeyPem);

// The public half (PEM) of a private key (PEM).
std::string publicKeyOf(const std::string& privateKeyPem);

}  // namespace release
