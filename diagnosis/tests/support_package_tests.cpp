// The support package's settings file: every secret says only whether it is
// set, whatever its section, letter case, blanks or line ends; the rest of
// the file is as it was.
#include <gtest/gtest.h>

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

}  // namespace
