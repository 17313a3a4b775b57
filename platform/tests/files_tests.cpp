#include "platform/files.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include "platform/error.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(Files, ReplacingWritesTheNewBytesAndLeavesNoTemporaryFile) {
  TempDir dir;
  std::string path = dir.file("impressora");
  platform::writeFileReplacing(path, "[old]");
  platform::writeFileReplacing(path, std::string("[\"a\"]\x1a\r\n", 8));
  EXPECT_EQ(platform::readFile(path), std::string("[\"a\"]\x1a\r\n", 8));
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"impressora"});
}

TEST(Files, FailedReplacementKeepsTheOldFileAndNamesThePath) {
  TempDir dir;
  std::string blocked = dir.file("categoria");
  platform::createDirectory(blocked);  // a directory stands where the file should be
  try {
    platform::writeFileReplacing(blocked, "[]");
    FAIL() << "no error";
  } catch (const quelta::IOError& e) {
    EXPECT_EQ(e.className(), "EInOutError");
    EXPECT_NE(e.message().find(blocked), std::string::npos) << e.message();
  }
  EXPECT_TRUE(platform::directoryExists(blocked));
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"categoria"});
}

#ifdef _WIN32
TEST(Files, AReadOnlyFileIsNotReplaced) {
  TempDir dir;
  std::string path = dir.file("impressora");
  platform::writeFileReplacing(path, "[\"velho\"]");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  try {
    platform::writeFileReplacing(path, "[]");
    FAIL() << "no error";
  } catch (const quelta::IOError& e) {
    EXPECT_NE(e.message().find(path), std::string::npos) << e.message();
  }
  EXPECT_EQ(platform::readFile(path), "[\"velho\"]");
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"impressora"});
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}
#endif

TEST(Files, MissingFileReadRaisesAndExistenceChecksTellFilesFromDirectories) {
  TempDir dir;
  EXPECT_THROW(platform::readFile(dir.file("nada")), quelta::IOError);
  platform::createDirectory(dir.file("log"));
  platform::writeFileReplacing(dir.file("fila"), "{}");
  EXPECT_TRUE(platform::directoryExists(dir.file("log")));
  EXPECT_FALSE(platform::fileExists(dir.file("log")));
  EXPECT_TRUE(platform::fileExists(dir.file("fila")));
  EXPECT_FALSE(platform::directoryExists(dir.file("fila")));
}

TEST(Files, MoveNeverReplacesAnExistingTarget) {
  TempDir dir;
  platform::writeFileReplacing(dir.file("config.ini"), "old");
  platform::writeFileReplacing(dir.file("quelta.dll"), "new");
  EXPECT_FALSE(platform::moveFileNoReplace(dir.file("config.ini"), dir.file("quelta.dll")));
  EXPECT_EQ(platform::readFile(dir.file("quelta.dll")), "new");
  EXPECT_EQ(platform::readFile(dir.file("config.ini")), "old");
  platform::deleteFile(dir.file("quelta.dll"));
  EXPECT_TRUE(platform::moveFileNoReplace(dir.file("config.ini"), dir.file("quelta.dll")));
  EXPECT_EQ(platform::readFile(dir.file("quelta.dll")), "old");
}

TEST(Files, AppendCreatesThenExtends) {
  TempDir dir;
  platform::appendToFile(dir.file("a.txt"), "one\r\n");
  platform::appendToFile(dir.file("a.txt"), "two\r\n");
  EXPECT_EQ(platform::readFile(dir.file("a.txt")), "one\r\ntwo\r\n");
}

}  // namespace
