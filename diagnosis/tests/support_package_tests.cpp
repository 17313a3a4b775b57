// The support package's settings file: every secret says only whether it is
// set, whatever its section, letter case, blanks or line ends; the rest of
// the file is as it was.
#include <gtest/gtest.h>

#include <cstdlib>

#include "diagnosis/checks.h"
#include "diagnosis/report.h"
#include "diagnosis/support_package.h"
#include "platform/files.h"
#include "tests/support/recording_services.h"
#include "tests/support/temp_dir.h"
#include "update/update_archive.h"

namespace {

TEST(SupportPackage, TheSettingsFileCarriesNoSecret) {
  const struct {
    const char* settings;
    const char* packaged;
  } cases[] = {
      {"[CONFIG]\r\ntoken=prd.abc\r\nnomeEmpresa=Sabor\r\n[TREVANO]\r\npass=s3nh@\r\nappID=77\r\n",
       "[CONFIG]\r\ntoken=(definida)\r\nnomeEmpresa=Sabor\r\n[TREVANO]\r\npass=(definida)\r\n"
       "appID=(definida)\r\n"},
      {"[trevano]\nPASS = s3nh@\nAppId =\n[config]\n  TOKEN\t=prd.abc\nreload=S\n",
       "[trevano]\nPASS =(definida)\nAppId =(n\xe3o definida)\n[config]\n  TOKEN\t=(definida)\n"
       "reload=S\n"},
      {"[CONFIG]\r\ntokenAntigo=x\r\npassword=y\r\n[TREVANO]\r\nuser=joao\r\npass=",
       "[CONFIG]\r\ntokenAntigo=x\r\npassword=y\r\n[TREVANO]\r\nuser=joao\r\npass=(n\xe3o definida)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.settings);
    TempDir dir;
    platform::writeFileReplacing(dir.file("quelta.dll"), c.settings);
    printtest::Recorders twins;
    const std::string path =
        diagnosis::writeSupportPackage(dir.path(), "relat\xf3rio", twins.all());
    std::string packaged = "<none>";
    for (const update::ArchiveEntry& entry : update::readArchive(platform::readFile(path)))
      if (entry.name == "quelta.dll") packaged = entry.data;
    EXPECT_EQ(packaged, c.packaged);
  }
}

// A folder that cannot take the package: the person's Documents folder does,
// and the path returned (which the message shows) says so.
TEST(SupportPackage, GoesToTheDocumentsFolderWhenTheApplicationDirectoryRefusesIt) {
  TempDir app, documents;
  struct ReadOnly : platform::FileSteps {
    std::string dir;
    int failure(platform::FileStep step, const std::string& path) override {
      return step == platform::FileStep::kCreate && path.rfind(dir, 0) == 0 ? 5 : 0;
    }
    void pause(int) override {}
  } readOnly;
  readOnly.dir = app.path();
#ifndef _WIN32
  // The portable Documents folder is HOME's.
  const char* home = std::getenv("HOME");
  const std::string savedHome = home ? home : "";
  setenv("HOME", documents.path().c_str(), 1);
#endif
  const std::string expected = platform::documentsDirectory();
  platform::setFileSteps(&readOnly);
  printtest::Recorders twins;
  std::string path;
  try {
    path = diagnosis::writeSupportPackage(app.path(), "relat\xf3rio", twins.all());
  } catch (const std::exception& e) {
    ADD_FAILURE() << e.what();
  }
  platform::setFileSteps(nullptr);
#ifndef _WIN32
  setenv("HOME", savedHome.c_str(), 1);
#endif
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(path.rfind(expected, 0), 0u) << path;
  EXPECT_TRUE(platform::fileExists(path));
  platform::deleteFile(path);
  EXPECT_TRUE(app.entries().empty());
}

// A report made before every check has answered names those that have not,
// and never sums up as if nothing stood in the way.
TEST(Report, OneMadeWhileChecksRunSaysWhichHaveNotAnswered) {
  const diagnosis::CheckLines lines = {
      {"Impressora COZINHA", diagnosis::Verdict::kOk, "Pronta no Windows", ""}};
  EXPECT_EQ(diagnosis::reportText(lines, "Diagn\xf3stico", {"Servi\xe7o de impress\xe3o"}),
            "Diagn\xf3stico\r\n\r\n[OK] Impressora COZINHA: Pronta no Windows\r\n"
            "[Aguardando] Servi\xe7o de impress\xe3o: a verifica\xe7\xe3o ainda n\xe3o "
            "respondeu\r\n\r\n1 OK, 0 Aten\xe7\xe3o, 0 Erro (verificando...)\r\n");
  EXPECT_EQ(diagnosis::reportText(lines, "Diagn\xf3stico"),
            "Diagn\xf3stico\r\n\r\n[OK] Impressora COZINHA: Pronta no Windows\r\n\r\n"
            "1 OK, 0 Aten\xe7\xe3o, 0 Erro: nada impede a impress\xe3o.\r\n");
}

// The write probe: a file of its own for each run, and one that cannot be
// deleted is named, not taken for a folder that works.
TEST(Files, TheWriteProbeHasANameOfItsOwnAndOneLeftBehindIsReported) {
  struct KeepProbes : platform::FileSteps {
    std::vector<std::string> removed;
    int failure(platform::FileStep step, const std::string& path) override {
      if (step != platform::FileStep::kRemove || path.find("diagnostico-") == std::string::npos)
        return 0;
      removed.push_back(path);
      return 5;  // access denied
    }
    void pause(int) override {}
  } keep;
  TempDir dir;
  printtest::Recorders twins;
  const diagnosis::Setup setup{dir.path(), twins.all(), {"https://a", "https://b"}};
  const diagnosis::Check* files = nullptr;
  for (const diagnosis::Check& check : diagnosis::allChecks())
    if (std::string(check.name) == "Arquivos") files = &check;
  ASSERT_TRUE(files);
  platform::setFileSteps(&keep);
  std::vector<diagnosis::CheckLine> folder;
  for (int run = 0; run < 2; ++run)
    for (const diagnosis::CheckLine& line : files->run(setup, {}))
      if (line.check == "Pasta do programa") folder.push_back(line);
  platform::setFileSteps(nullptr);
  ASSERT_EQ(keep.removed.size(), 2u);
  EXPECT_NE(keep.removed[0], keep.removed[1]);
  ASSERT_EQ(folder.size(), 2u);
  EXPECT_EQ(folder[0].verdict, diagnosis::Verdict::kAttention);
  EXPECT_EQ(folder[0].result.rfind("Aceita arquivos novos, mas o arquivo de teste diagnostico-", 0),
            0u)
      << folder[0].result;
}

}  // namespace
