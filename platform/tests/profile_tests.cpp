#include "platform/profile.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "tests/support/temp_dir.h"

namespace {

// Taking back a key that was just written returns the file to its bytes
// before, on the Windows functions and on the portable stand-in alike.
TEST(Profile, RemovingAKeyJustWrittenLeavesTheFileAsBefore) {
  for (const char* before : {"[CONFIG]\r\nreload=S\r\n[TREVANO]\r\npass=velha\r\n",
                             "[CONFIG]\r\nreload=S\r\n"}) {
    TempDir dir;
    std::string path = dir.file("quelta.dll");
    platform::writeFileReplacing(path, before);
    platform::writeProfileString(path, "TREVANO", "appID", "novo");
    ASSERT_EQ(platform::readProfileString(path, "trevano", "APPID", ""), "novo");
    platform::removeProfileKey(path, "trevano", "APPID");
    EXPECT_EQ(platform::readFile(path), before);
  }
}

}  // namespace
