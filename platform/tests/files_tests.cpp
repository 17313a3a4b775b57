#include "platform/files.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include "platform/error.h"
#include "tests/support/disk_twin.h"
#include "tests/support/temp_dir.h"
#ifdef _WIN32
#include "tests/support/wine_host.h"
#endif

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
// A reader holding the file (sharing violation, or access denied as some
// systems answer) delays the move; any other error ends it at once.
TEST(Files, AReplacingMoveWaitsBoundedForABusyFileAndOnlyForThat) {
  struct Case {
    int busyMoves;
    int busyCode;
    size_t pauses;
    bool saved;
  };
  const int tries = platform::kReplaceWaitMs / platform::kReplacePauseMs;
  for (const Case& c : {Case{3, ERROR_SHARING_VIOLATION, 3, true},
                        Case{tries, ERROR_ACCESS_DENIED, size_t(tries), true},
                        Case{-1, ERROR_SHARING_VIOLATION, size_t(tries), false},
                        Case{-1, ERROR_DISK_FULL, 0, false}}) {
    TempDir dir;
    std::string path = dir.file("impressora");
    platform::writeFileReplacing(path, "[\"velho\"]");
    std::string error;
    DiskTwin disk;
    disk.busyMoves = c.busyMoves;
    disk.busyCode = c.busyCode;
    try {
      platform::writeFileReplacing(path, "[\"novo\"]");
    } catch (const quelta::IOError& e) {
      error = e.message();
    }
    SCOPED_TRACE(c.busyCode);
    EXPECT_EQ(disk.pauses, std::vector<int>(c.pauses, platform::kReplacePauseMs));
    EXPECT_EQ(platform::readFile(path), c.saved ? "[\"novo\"]" : "[\"velho\"]");
    EXPECT_EQ(error.rfind("Cannot create file \"" + path + "\". ", 0) == 0, !c.saved) << error;
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"impressora"});
  }
}

// The same with a real second program holding the file without delete
// sharing: shorter than the bound saves, longer fails with the old bytes.
TEST(Files, ASaveOutlastsAnotherProgramReadingTheFileForLessThanTheBound) {
  for (int holdMs : {600, platform::kReplaceWaitMs + 2500}) {
    TempDir dir;
    std::string path = dir.file("impressora");
    platform::writeFileReplacing(path, "[\"velho\"]");
    const char* event = "Local\\QueltaHoldFileReady";
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, event);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION holder{};
    std::string line = "\"" + wine_host::windowsPath(QUELTA_HOLD_FILE_EXE) + "\" \"" + path +
                       "\" " + std::to_string(holdMs) + " " + event;
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &holder));
    ASSERT_EQ(WaitForSingleObject(ready, 20000), WAIT_OBJECT_0);
    std::string error;
    try {
      platform::writeFileReplacing(path, "[\"novo\"]");
    } catch (const quelta::IOError& e) {
      error = e.message();
    }
    WaitForSingleObject(holder.hProcess, 30000);
    CloseHandle(holder.hProcess);
    CloseHandle(holder.hThread);
    CloseHandle(ready);
    const bool saved = holdMs < platform::kReplaceWaitMs;
    SCOPED_TRACE(holdMs);
    EXPECT_EQ(platform::readFile(path), saved ? "[\"novo\"]" : "[\"velho\"]");
    EXPECT_EQ(error.rfind("Cannot create file \"" + path + "\". ", 0) == 0, !saved) << error;
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"impressora"});
  }
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
