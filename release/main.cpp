// quelta-release DIR KEY DAYS FILE...: writes DIR/impressao.zip with the
// files at its root, DIR/version.json offering the version compiled into
// this tree's tool for DAYS days, and DIR/version.json.sig, its signature
// with the private key KEY (PEM, Ed25519): the files the download host
// serves. The publication number is the minute of publication, so every
// publication outnumbers the ones before. Exits non-zero, writing nothing,
// when a file cannot be read, the key cannot sign or the tool would refuse
// the archive.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "config/version.h"
#include "platform/error.h"
#include "platform/files.h"
#include "release/release_files.h"
#include "update/publication.h"

int main(int argc, char** argv) {
  int days = argc > 3 ? std::atoi(argv[3]) : 0;
  if (argc < 5 || days < 1) {
    std::fprintf(stderr, "usage: quelta-release DIR KEY DAYS FILE...\n");
    return 2;
  }
  try {
    const std::string dir = argv[1];
    const std::string key = platform::readFile(argv[2]);
    std::vector<release::ReleaseFile> files;
    for (int i = 4; i < argc; ++i) {
      const std::string path = argv[i];
      files.push_back({path.substr(path.find_last_of('/') + 1), platform::readFile(path)});
    }
    const std::string archive = release::releaseArchive(files);
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    const int32_t number = static_cast<int32_t>(now / 60);
    const std::string expires = update::utcText(now + int64_t{days} * 86400);
    const std::string manifest =
        release::releaseManifest(config::kVersion, archive, number, expires);
    const std::string signature = release::signManifest(manifest, key);
    platform::writeFileReplacing(dir + "/impressao.zip", archive);
    platform::writeFileReplacing(dir + "/version.json", manifest);
    platform::writeFileReplacing(dir + "/version.json.sig", signature);
    std::printf(
        "%s/impressao.zip (%zu bytes), %s/version.json and version.json.sig for %s, "
        "publication %d, valid until %s\n",
        dir.c_str(), archive.size(), dir.c_str(), config::kVersion, static_cast<int>(number),
        expires.c_str());
    return 0;
  } catch (const quelta::Error& e) {
    std::fprintf(stderr, "quelta-release: %s - %s\n", e.className().c_str(), e.message().c_str());
    return 1;
  }
}
