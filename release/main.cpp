// quelta-release DIR FILE...: writes DIR/impressao.zip with the files at its
// root and DIR/version.json offering the version compiled into this tree's
// tool, the two files the download host serves. Exits non-zero, writing
// nothing, when a file cannot be read or the tool would refuse the archive.
#include <cstdio>
#include <string>
#include <vector>

#include "config/version.h"
#include "platform/error.h"
#include "platform/files.h"
#include "release/release_files.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: quelta-release DIR FILE...\n");
    return 2;
  }
  try {
    const std::string dir = argv[1];
    std::vector<release::ReleaseFile> files;
    for (int i = 2; i < argc; ++i) {
      const std::string path = argv[i];
      files.push_back({path.substr(path.find_last_of('/') + 1), platform::readFile(path)});
    }
    const std::string archive = release::releaseArchive(files);
    platform::writeFileReplacing(dir + "/impressao.zip", archive);
    platform::writeFileReplacing(dir + "/version.json", release::releaseManifest(config::kVersion));
    std::printf("%s/impressao.zip (%zu bytes) and %s/version.json for %s\n", dir.c_str(),
                archive.size(), dir.c_str(), config::kVersion);
    return 0;
  } catch (const quelta::Error& e) {
    std::fprintf(stderr, "quelta-release: %s - %s\n", e.className().c_str(), e.message().c_str());
    return 1;
  }
}
