// Proves the portable locale stand-in equal to the real Win32 functions: it
// is compiled here a second time under its own namespace and asked the same
// questions as the user locale, for every byte, every pair of bytes and a
// broad set of generated names.
#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>
#include <vector>

#include "platform/text_locale.h"

#define QUELTA_TEXT_LOCALE_NAMESPACE portable1252
#include "platform/portable/text_locale_1252.cpp"

namespace {

int sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

// Names the program meets: printable Latin-1 with accents, plus the
// characters with special weights, ligatures and ignorables.
std::vector<std::string> generatedTexts(size_t count, bool allBytes) {
  static const std::string alphabet =
      "aAbBcCeEoOsSzZ09 -'_.,\xe1\xc1\xe3\xc3\xe7\xc7\xe9\xc9\xea\xf4\xf5\xfa\xdf\xe6\xc6\x8c\x9c"
      "\xad\xfe\xde\xaa\xba\xb2\x96\x97";
  std::mt19937 rng(1252);
  std::vector<std::string> texts;
  for (size_t i = 0; i < count; ++i) {
    size_t length = rng() % 7;
    std::string text;
    for (size_t j = 0; j < length; ++j) {
      if (allBytes && rng() % 3 == 0) {
        text += static_cast<char>(1 + rng() % 255);
      } else {
        text += alphabet[rng() % alphabet.size()];
      }
    }
    texts.push_back(text);
  }
  return texts;
}

TEST(TextLocaleStandIn, LowerCaseAndCodeUnitsMatchForEveryValue) {
  for (int b = 0; b < 256; ++b) {
    std::string one(1, static_cast<char>(b));
    EXPECT_EQ(portable1252::lowerCase(one), platform::lowerCase(one)) << "byte " << b;
  }
  int mismatches = 0;
  for (int u = 0; u < 65536; ++u) {
    if (portable1252::wideToAnsi(static_cast<uint16_t>(u)) !=
        platform::wideToAnsi(static_cast<uint16_t>(u))) {
      if (++mismatches < 10) ADD_FAILURE() << "code unit " << u;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(TextLocaleStandIn, EqualityKeysAndOrderMatchForEveryPairOfBytes) {
  int mismatches = 0;
  for (int a = 0; a < 256; ++a) {
    std::string x(1, static_cast<char>(a));
    EXPECT_EQ(portable1252::ignoreCaseKey(x), platform::ignoreCaseKey(x)) << "byte " << a;
    for (int b = 0; b < 256; ++b) {
      std::string y(1, static_cast<char>(b));
      bool equal = platform::sameTextIgnoreCase(x, y);
      int order = sign(platform::compareText(x, y));
      if (portable1252::sameTextIgnoreCase(x, y) != equal ||
          portable1252::compareText(x, y) != order) {
        if (++mismatches < 10) ADD_FAILURE() << "bytes " << a << ", " << b;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(TextLocaleStandIn, EqualityKeysAndOrderMatchForGeneratedTexts) {
  for (bool allBytes : {false, true}) {
    std::vector<std::string> texts = generatedTexts(4000, allBytes);
    int mismatches = 0;
    for (size_t i = 0; i + 1 < texts.size(); ++i) {
      // Each text against its neighbour and against a close copy of itself,
      // so that ties broken by accents, case and hyphens occur often.
      std::string variant = texts[i];
      if (!variant.empty())
        variant[i % variant.size()] = texts[i + 1].empty() ? 'a' : texts[i + 1][0];
      for (const std::string& other : {texts[i + 1], variant}) {
        const std::string& x = texts[i];
        bool equal = platform::sameTextIgnoreCase(x, other);
        bool keysEqual = platform::ignoreCaseKey(x) == platform::ignoreCaseKey(other);
        int order = sign(platform::compareText(x, other));
        if (portable1252::sameTextIgnoreCase(x, other) != equal || keysEqual != equal ||
            portable1252::ignoreCaseKey(x) != platform::ignoreCaseKey(x) ||
            portable1252::compareText(x, other) != order) {
          if (++mismatches < 10) ADD_FAILURE() << "'" << x << "' vs '" << other << "'";
        }
      }
    }
    EXPECT_EQ(mismatches, 0) << (allBytes ? "all bytes" : "printable names");
  }
}

TEST(TextLocaleStandIn, Utf8ConversionMatchesForGeneratedBytes) {
  std::mt19937 rng(65001);
  static const unsigned char interesting[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0,
                                              0xBF, 0xC0, 0xC1, 0xC2, 0xC3, 0xDF, 0xE0, 0xE2,
                                              0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xF7, 0xF8, 0xFF};
  int mismatches = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string text;
    size_t length = rng() % 8;
    for (size_t j = 0; j < length; ++j) {
      text += static_cast<char>(rng() % 2 ? interesting[rng() % sizeof interesting] : rng() % 256);
    }
    if (portable1252::utf8ToAnsi(text) != platform::utf8ToAnsi(text)) {
      if (++mismatches < 10) {
        std::string hex;
        for (unsigned char c : text)
          hex += "0123456789ABCDEF"[c >> 4], hex += "0123456789ABCDEF"[c & 15];
        ADD_FAILURE() << "utf-8 " << hex;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace

#endif  // _WIN32
