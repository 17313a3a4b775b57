#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/error.h"
#include "platform/files.h"
#include "print/log_file.h"
#include "tests/support/temp_dir.h"

namespace {

platform::LocalDateTime at(int y, int mo, int d, int h, int mi, int s) {
  return {y, mo, d, h, mi, s};
}

std::string logDir(const TempDir& dir) { return dir.file("log"); }

std::string dayFile(const TempDir& dir, const std::string& date) {
#ifdef _WIN32
  return dir.file("log") + "\\" + date + ".txt";
#else
  return dir.file("log") + "/" + date + ".txt";
#endif
}

TEST(SaveLog, FirstEntryCreatesTheDirectoryAndTheDayFileAndLaterEntriesFollowInOrder) {
  TempDir dir;
  platform::SettableClock clock(at(2026, 12, 6, 9, 5, 7));
  print::saveLog(dir.path(), "Teste Impresso Config: COZINHA", clock);

  EXPECT_TRUE(platform::directoryExists(logDir(dir)));
  EXPECT_EQ(print::logFileName(dir.path(), clock.now()), dayFile(dir, "2026-12-06"));
  EXPECT_EQ(platform::readFile(dayFile(dir, "2026-12-06")),
            "09:05:07 : Teste Impresso Config: COZINHA\r\n");

  clock.set(at(2026, 12, 6, 14, 30, 0));
  print::saveLog(dir.path(), "Config: Erro na impressao: N\xe3o foi possivel conecar", clock);
  clock.set(at(2026, 12, 6, 14, 30, 1));
  print::saveLog(dir.path(), "", clock);  // an empty message still makes its line
  EXPECT_EQ(platform::readFile(dayFile(dir, "2026-12-06")),
            "09:05:07 : Teste Impresso Config: COZINHA\r\n"
            "14:30:00 : Config: Erro na impressao: N\xe3o foi possivel conecar\r\n"
            "14:30:01 : \r\n");
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"log"});
}

TEST(SaveLog, EntriesBeforeAndAfterMidnightLandInTwoFiles) {
  TempDir dir;
  platform::SettableClock clock(at(2026, 12, 31, 23, 59, 59));
  print::saveLog(dir.path(), "antes", clock);
  clock.set(at(2027, 1, 1, 0, 0, 0));
  print::saveLog(dir.path(), "depois", clock);
  EXPECT_EQ(platform::readFile(dayFile(dir, "2026-12-31")), "23:59:59 : antes\r\n");
  EXPECT_EQ(platform::readFile(dayFile(dir, "2027-01-01")), "00:00:00 : depois\r\n");
}

TEST(SaveLog, KeepsWhatTheFileHoldsAndEndsAnUnfinishedLastLineFirst) {
  TempDir dir;
  platform::createDirectory(logDir(dir));
  // Written by the print service: lone LF line ends, the last line open.
  platform::writeFileReplacing(dayFile(dir, "2026-03-04"), "08:00:00 : a\n08:00:01 : b");
  platform::SettableClock clock(at(2026, 3, 4, 8, 0, 2));
  print::saveLog(dir.path(), "c", clock);
  EXPECT_EQ(platform::readFile(dayFile(dir, "2026-03-04")),
            "08:00:00 : a\n08:00:01 : b\r\n08:00:02 : c\r\n");

  // A file that already ends with a line end gets no empty line.
  platform::writeFileReplacing(dayFile(dir, "2026-03-05"), "x\r");
  clock.set(at(2026, 3, 5, 1, 2, 3));
  print::saveLog(dir.path(), "y", clock);
  EXPECT_EQ(platform::readFile(dayFile(dir, "2026-03-05")), "x\r01:02:03 : y\r\n");
}

TEST(SaveLog, AWriteFailureReachesTheCaller) {
  TempDir dir;
  platform::SettableClock clock(at(2026, 5, 1, 10, 0, 0));
  // A file stands where the log directory should be: nothing can be written.
  platform::writeFileReplacing(logDir(dir), "");
  EXPECT_THROW(print::saveLog(dir.path(), "x", clock), quelta::IOError);
  EXPECT_EQ(platform::readFile(logDir(dir)), "");
}

}  // namespace
