#include <gtest/gtest.h>

#include "config/config_file.h"
#include "platform/files.h"
#include "tests/support/temp_dir.h"

namespace {

using config::firstLine;

TEST(ConfigFileRead, TheFirstLineEndsAtLineFeedOrCharacter26AndDropsCarriageReturns) {
  EXPECT_EQ(firstLine("[1]\r\n[2]"), "[1]");
  EXPECT_EQ(firstLine("[1,\r2]\r"), "[1,2]");
  EXPECT_EQ(firstLine(std::string("[\"a\"]\x1a[3]\n", 10)), "[\"a\"]");
  EXPECT_EQ(firstLine("\n[1]"), "");
  EXPECT_EQ(firstLine(""), "");
  // Bytes above 127 and tabs belong to the line.
  EXPECT_EQ(firstLine("[\"Caf\xe9\t\"]"), "[\"Caf\xe9\t\"]");
}

TEST(ConfigFileRead, ReadsOnlyTheFirstLineOfTheFile) {
  TempDir dir;
  platform::writeFileReplacing(dir.file("fila"), "[{\"a\":1}]\r\n[garbage");
  EXPECT_EQ(config::readConfigFile(dir.file("fila")), "[{\"a\":1}]");
  EXPECT_THROW(config::readConfigFile(dir.file("nada")), quelta::IOError);
}

TEST(TableFiles, MissingFileGivesAnEmptyTableOrNoCardTable) {
  TempDir dir;
  auto table = config::readTableFile(dir.file("impressora"));
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->count(), 0);
  EXPECT_EQ(config::readOptionalTableFile(dir.file("cartao")), nullptr);
}

}  // namespace
