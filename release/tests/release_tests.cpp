// The files `make release` publishes: an archive the tool accepts, holding
// exactly the files given, and the manifest's exact text; an archive the
// tool would refuse is never made.
#include <gtest/gtest.h>

#include "config/version.h"
#include "release/release_files.h"
#include "update/update.h"

namespace {

std::vector<release::ReleaseFile> programFiles() {
  return {{"queltaConfig.exe", "tool"},
          {"queltaService.exe", "service"},
          {"libeay32.dll", std::string(100000, 'l')},
          {"ssleay32.dll", "ssl"}};
}

TEST(Release, TheArchiveHoldsTheFilesAsTheToolReadsThem) {
  std::vector<release::ReleaseFile> files = programFiles();
  files.push_back({"docs/LEIAME.txt", "notas"});
  std::vector<update::ArchiveEntry> entries =
      update::checkUpdateArchive(release::releaseArchive(files));
  ASSERT_EQ(entries.size(), files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(entries[i].name, files[i].name);
    EXPECT_EQ(entries[i].data, files[i].bytes);
    EXPECT_FALSE(entries[i].directory);
  }
}

TEST(Release, AnArchiveTheToolWouldRefuseIsNotMade) {
  const std::string prefix = "EZipException - O arquivo de atualiza\xe7\xe3o ";
  std::vector<release::ReleaseFile> incomplete = programFiles();
  incomplete.pop_back();
  std::vector<release::ReleaseFile> badName = programFiles();
  badName.push_back({"docs/aux.txt", "x"});
  struct Case {
    std::vector<release::ReleaseFile> files;
    std::string error;
  };
  for (const Case& c : {Case{incomplete, prefix + "n\xe3o cont\xe9m ssleay32.dll"},
                        Case{badName, prefix + "foi recusado, uma entrada tem um nome que o "
                                               "Windows n\xe3o aceita: docs/aux.txt"}}) {
    try {
      release::releaseArchive(c.files);
      ADD_FAILURE() << "made: " << c.error;
    } catch (const quelta::Error& e) {
      EXPECT_EQ(e.className() + " - " + e.message(), c.error);
    }
  }
}

TEST(Release, TheManifestOffersTheToolsVersion) {
  EXPECT_EQ(release::releaseManifest(config::kVersion),
            std::string("{\"success\":true,\"versao\":\"") + config::kVersion + "\"}");
}

}  // namespace
