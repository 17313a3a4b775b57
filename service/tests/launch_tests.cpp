#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/files.h"
#include "platform/process.h"
#include "tests/support/temp_dir.h"

namespace {

// Polls for a file that another process writes; gives up after 30 s.
std::string awaitFile(const std::string& path) {
  for (int i = 0; i < 600; ++i) {
    if (platform::fileExists(path)) {
      std::ifstream in(path);
      std::stringstream text;
      text << in.rdbuf();
      if (!text.str().empty()) return text.str();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return "";
}

}  // namespace

TEST(LaunchHidden, RunsTheCommandLineWithoutWaitingForIt) {
  TempDir dir;
  const std::string marker = dir.file("launched.txt");
#ifdef _WIN32
  ASSERT_TRUE(platform::launchHidden("cmd /c echo launched> \"" + marker + "\""));
  EXPECT_EQ(awaitFile(marker).substr(0, 8), "launched");
  EXPECT_FALSE(platform::launchHidden("\"" + dir.file("missing.exe") + "\" /INSTALL /SILENT"));
#else
  // The command waits for a file that appears only after the launch has
  // returned: a launch that waited would never come back.
  const std::string go = dir.file("go");
  ASSERT_TRUE(platform::launchHidden("while [ ! -f '" + go +
                                     "' ]; do sleep 0.05; done; echo launched > '" + marker + "'"));
  EXPECT_FALSE(platform::fileExists(marker));
  std::ofstream(go) << "go";
  EXPECT_EQ(awaitFile(marker), "launched\n");
#endif
}
