// Known answers of the locale functions. They hold for the real Win32
// functions (win32 build, under the en-US or pt-BR locale) and for the
// portable stand-in (native build) alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/text_locale.h"

namespace {

TEST(TextLocale, IgnoreCaseEqualityIsLinguistic) {
  EXPECT_TRUE(platform::sameTextIgnoreCase("Impressora", "IMPRESSORA"));
  EXPECT_TRUE(platform::sameTextIgnoreCase("Configura\xe7\xe3o", "CONFIGURA\xc7\xc3O"));
  EXPECT_FALSE(platform::sameTextIgnoreCase("cafe", "caf\xe9"));  // accents count
  EXPECT_TRUE(
      platform::sameTextIgnoreCase("stra\xdf"
                                   "e",
                                   "STRASSE"));
  EXPECT_TRUE(platform::sameTextIgnoreCase("\xe6", "AE"));
  EXPECT_TRUE(
      platform::sameTextIgnoreCase("a\xad"
                                   "b",
                                   "ab"));  // soft hyphen weighs nothing
  EXPECT_FALSE(platform::sameTextIgnoreCase("a-b", "ab"));
  EXPECT_FALSE(platform::sameTextIgnoreCase("a\x01", "a"));
  EXPECT_TRUE(platform::sameTextIgnoreCase("", ""));
  EXPECT_FALSE(platform::sameTextIgnoreCase("", "a"));
  // The key agrees with the equality, also where lower-casing would not.
  EXPECT_EQ(platform::ignoreCaseKey("\xdf"), platform::ignoreCaseKey("SS"));
  EXPECT_EQ(platform::ignoreCaseKey("Nome"), platform::ignoreCaseKey("nOME"));
  EXPECT_NE(platform::ignoreCaseKey("nome"), platform::ignoreCaseKey("n-ome"));
  EXPECT_EQ(platform::ignoreCaseKey(""), platform::ignoreCaseKey("\xad"));
}

TEST(TextLocale, LowerCaseFoldsAccentedLettersOfTheCodePage) {
  EXPECT_EQ(platform::lowerCase("A\xc7\xc3O \x8a\x8c\x8e\x9f\xd7\xde\xdf"),
            "a\xe7\xe3o \x9a\x9c\x9e\xff\xd7\xfe\xdf");
  EXPECT_EQ(platform::lowerCase(std::string("TRUE\0X", 6)), std::string("true\0x", 6));
}

TEST(TextLocale, SortedListOrderIsWordSort) {
  std::vector<std::string> names = {"co-op",
                                    "Coop",
                                    "coop",
                                    "con",
                                    "Bebidas",
                                    "\xc1gua",
                                    "agua",
                                    "abc",
                                    "Zebra",
                                    "\xe9"
                                    "clair",
                                    "eclair",
                                    "10",
                                    "9"};
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return platform::compareText(a, b) < 0;
  });
  // Case decides before the hyphen does.
  std::vector<std::string> expected = {"10",
                                       "9",
                                       "abc",
                                       "agua",
                                       "\xc1gua",
                                       "Bebidas",
                                       "con",
                                       "coop",
                                       "co-op",
                                       "Coop",
                                       "eclair",
                                       "\xe9"
                                       "clair",
                                       "Zebra"};
  EXPECT_EQ(names, expected);
  EXPECT_EQ(platform::compareText("abc", "abc"), 0);
  EXPECT_LT(platform::compareText("", "a"), 0);
  EXPECT_GT(platform::compareText("a-", "a"), 0);
}

TEST(TextLocale, CodeUnitsAndUtf8BecomeCodePageBytes) {
  EXPECT_EQ(platform::wideToAnsi(0x00E9), "\xe9");
  EXPECT_EQ(platform::wideToAnsi(0x20AC), "\x80");  // euro sign
  EXPECT_EQ(platform::wideToAnsi(0x0080), "?");     // a C1 control has no byte in 1252
  EXPECT_EQ(platform::wideToAnsi(0x0081), "\x81");
  EXPECT_EQ(platform::wideToAnsi(0x0141), "L");  // best fit
  EXPECT_EQ(platform::wideToAnsi(0x4E2D), "?");
  EXPECT_EQ(platform::wideToAnsi(0xD800), "?");
  EXPECT_EQ(platform::utf8ToAnsi("Caf\xc3\xa9 \xe2\x82\xac"), "Caf\xe9 \x80");
  EXPECT_EQ(platform::utf8ToAnsi("\xf0\x9f\x98\x80!"),
            "?"
            "?!");  // a pair gives two
  EXPECT_EQ(platform::utf8ToAnsi("\xc3("), "?(");
  EXPECT_EQ(platform::utf8ToAnsi("\xed\xa0\x80"), "??");
  EXPECT_EQ(platform::utf8ToAnsi("a\xf0\x9f"
                                 "b"),
            "a?");  // cut short: the rest goes
  EXPECT_EQ(platform::utf8ToAnsi(""), "");
}

TEST(TextLocale, CodePageTextBecomesUtf8AndBack) {
  EXPECT_EQ(platform::ansiToUtf8("Caf\xe9 \x80 a\x93"
                                 "b\x94"),
            "Caf\xc3\xa9 \xe2\x82\xac a\xe2\x80\x9c"
            "b\xe2\x80\x9d");
  EXPECT_EQ(platform::ansiToUtf8("plain {\"a\":1}"), "plain {\"a\":1}");
  std::string every;
  for (int b = 1; b < 256; ++b) every += static_cast<char>(b);
  EXPECT_EQ(platform::utf8ToAnsi(platform::ansiToUtf8(every)), every);
}

}  // namespace
