// The program follows the user's regional settings instead of assuming the
// Brazilian ones: these questions are asked under Portuguese (Brazil), the
// restaurant's locale and the suite's, and again under English (United
// States) by the suite's second run of them.
#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/oem_text.h"

namespace {

TEST(RegionalSettings, TheLongTimeAndTheScriptCodePageFollowTheUserLocale) {
  struct Regional {
    const char* unixLocale;  // what Wine was started with
    LCID lcid;
    const char* longTime;
    std::optional<std::string> folderInOem;
  };
  const Regional table[] = {
      // Code page 850 has the a with tilde, at C6.
      {"pt_BR.UTF-8", 0x0416, "13:21:29", "C:\\Quelta Impress\xc6o"},
      // Code page 437 has none: such a folder cannot be named in a script.
      {"C.UTF-8", 0x0409, "1:21:29 PM", std::nullopt},
  };
  const char* started = std::getenv("LC_ALL");
  ASSERT_NE(started, nullptr);
  const Regional* row = nullptr;
  for (const Regional& r : table)
    if (std::string(r.unixLocale) == started) row = &r;
  ASSERT_NE(row, nullptr) << started;

  EXPECT_EQ(GetUserDefaultLCID(), row->lcid);
  EXPECT_EQ(platform::systemClock().longTimeText({2026, 12, 8, 13, 21, 29}), row->longTime);
  EXPECT_EQ(platform::ansiToOem("C:\\Quelta Impress\xe3o"), row->folderInOem);
}

}  // namespace

#endif
