// Property: for generated values of every kind, with strings of every byte,
// the text read back and written again is the text first written, except
// that a byte whose code page character is not its own code point returns
// as what the code page gives for that code point.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "json/json.h"
#include "platform/text_locale.h"

namespace {

using json::TJSONArray;
using json::TJSONObject;
using json::Value;

class Generator {
 public:
  explicit Generator(uint32_t seed) : rng_(seed) {}

  // Builds the same value twice: as generated, and with every string byte
  // passed through the code page's \u00XX round trip.
  void value(int depth, Value& original, Value& mapped) {
    switch (rng_() % (depth > 3 ? 6 : 8)) {
      case 0: {
        std::string s = text();
        original = json::makeString(s);
        mapped = json::makeString(roundTrip(s));
        break;
      }
      case 1: {
        int32_t v = static_cast<int32_t>(rng_());
        original = json::makeInteger(v);
        mapped = json::makeInteger(v);
        break;
      }
      case 2: {
        double v = std::ldexp(static_cast<double>(static_cast<int32_t>(rng_())), -int(rng_() % 40));
        original = json::make<json::JSONDouble>(v);
        mapped = json::make<json::JSONDouble>(v);
        break;
      }
      case 3:
        original = rng_() % 2 ? json::trueValue() : json::falseValue();
        mapped = original->isShared() && original->asText() == "true" ? json::trueValue()
                                                                      : json::falseValue();
        break;
      case 4:
        original = json::nullValue();
        mapped = json::nullValue();
        break;
      case 5:
        original.reset();
        mapped.reset();
        break;
      case 6: {
        auto a = json::make<TJSONArray>(), b = json::make<TJSONArray>();
        for (int i = rng_() % 5; i > 0; --i) {
          Value x, y;
          value(depth + 1, x, y);
          a->add(std::move(x));
          b->add(std::move(y));
        }
        original = std::move(a);
        mapped = std::move(b);
        break;
      }
      default: {
        auto a = json::make<TJSONObject>(), b = json::make<TJSONObject>();
        for (int i = rng_() % 6; i > 0; --i) {
          std::string name = rng_() % 3 ? text() : std::string(1, "aAbB"[rng_() % 4]);
          Value x, y;
          value(depth + 1, x, y);
          a->append(name, std::move(x));
          b->append(roundTrip(name), std::move(y));
        }
        original = std::move(a);
        mapped = std::move(b);
      }
    }
  }

 private:
  std::string text() {
    std::string s;
    for (int i = rng_() % 12; i > 0; --i) s += static_cast<char>(rng_() % 256);
    return s;
  }
  static std::string roundTrip(const std::string& s) {
    std::string out;
    for (unsigned char c : s) out += platform::wideToAnsi(c);
    return out;
  }
  std::mt19937 rng_;
};

TEST(JsonRoundTrip, WrittenTextReadsBackToTheSameText) {
  Generator generate(20240611);
  int checked = 0;
  for (int i = 0; i < 3000; ++i) {
    auto original = json::make<TJSONArray>(), mapped = json::make<TJSONArray>();
    for (int j = 0; j < 3; ++j) {
      Value x, y;
      generate.value(0, x, y);
      original->add(std::move(x));
      mapped->add(std::move(y));
    }
    std::string first = original->asText();
    std::string second = TJSONArray(first).asText();
    ASSERT_EQ(second, mapped->asText()) << first;
    ASSERT_EQ(TJSONArray(second).asText(), second);
    // The same through the object reader.
    std::string wrapped = "{\"v\":" + first + "}";
    ASSERT_EQ(TJSONObject(wrapped).asText(), "{\"v\":" + second + "}");
    checked += static_cast<int>(first.size());
  }
  EXPECT_GT(checked, 100000);
}

}  // namespace
