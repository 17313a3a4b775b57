// The value model, its accessors with their exact failures, and the exact
// text the files are written in.
#include <gtest/gtest.h>

#include <string>

#include "json/json.h"
#include "json/json_number.h"
#include "platform/text_locale.h"
#include "tests/support/failure.h"

namespace {

using json::TJSONArray;
using json::TJSONObject;

TEST(JsonObject, MembersKeepInsertionOrderAndFirstNameSpelling) {
  TJSONObject object;
  object.setText("b", "1").setText("a", "2").setText("c", "3");
  object.setText("A", "novo");
  EXPECT_EQ(object.asText(), "{\"b\":\"1\",\"a\":\"novo\",\"c\":\"3\"}");
  EXPECT_TRUE(object.contains("B"));
  object.setText("name", "x");
  EXPECT_TRUE(object.contains("Name"));
  object.setText("NAME", "y");
  EXPECT_EQ(object.names(), (std::vector<std::string>{"b", "a", "c", "name"}));
  EXPECT_EQ(object.textOf("nAmE"), "y");

  TJSONObject printer;
  printer.setText("printer", "EPSON TM");
  EXPECT_EQ(printer.asText(), "{\"printer\":\"EPSON\\u0020TM\"}");
  EXPECT_EQ(TJSONObject().asText(), "{}");
  EXPECT_EQ(TJSONArray().asText(), "[]");
}

TEST(JsonObject, SetTakeAndAbsentValues) {
  TJSONObject object;
  object.set("n", json::makeInteger(5)).set("t", json::trueValue()).set("z", json::nullValue());
  json::Value taken = object.take("N");
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->asText(), "5");
  EXPECT_FALSE(object.take("n"));
  object.set("t", json::Value());  // an absent value removes the member
  EXPECT_EQ(object.asText(), "{\"z\":null}");
  object.set("missing", json::Value());
  EXPECT_EQ(object.count(), 1);
  // The shared constants outlive every container that held them.
  {
    TJSONObject holder;
    holder.set("t", json::trueValue()).set("f", json::falseValue()).set("n", json::nullValue());
    holder.set("t", json::falseValue());
  }
  EXPECT_EQ(json::sharedTrue().asText(), "true");
  EXPECT_EQ(json::sharedFalse().asText(), "false");
  EXPECT_EQ(json::sharedNull().asText(), "null");
  EXPECT_TRUE(json::sharedTrue().isShared());
}

TEST(JsonObject, AccessorFailuresCarryTheirExactMessages) {
  TJSONObject object("{\"s\":\"x\",\"i\":1,\"b\":true,\"o\":{},\"a\":[],\"nome longo\":1}");
  EXPECT_EQ(failureOf([&] { object.item(""); }), "NullPointerException - Null key");
  EXPECT_EQ(failureOf([&] { object.find(""); }), "NullPointerException - Null key");
  EXPECT_EQ(failureOf([&] { object.setText("", "x"); }), "NullPointerException - Null key.");
  EXPECT_EQ(failureOf([&] { object.set("", json::makeInteger(1)); }),
            "NullPointerException - Null key.");
  EXPECT_FALSE(object.contains(""));
  EXPECT_EQ(failureOf([&] { object.item("falta"); }),
            "NoSuchElementException - TJSONObject[\"falta\"] not found.");
  EXPECT_EQ(failureOf([&] { object.textOf("x y"); }),
            "NoSuchElementException - TJSONObject[\"x\\u0020y\"] not found.");
  EXPECT_EQ(failureOf([&] { object.arrayOf("falta"); }),
            "NoSuchElementException - TJSONObject[\"falta\"] is not a TJSONArray.");
  EXPECT_EQ(failureOf([&] { object.arrayOf("o"); }),
            "NoSuchElementException - TJSONObject[\"o\"] is not a TJSONArray.");
  EXPECT_EQ(failureOf([&] { object.objectOf("falta"); }),
            "NoSuchElementException - TJSONObject[\"falta\"] not found.");
  EXPECT_EQ(failureOf([&] { object.objectOf("a"); }),
            "NoSuchElementException - TJSONObject[\"a\"] is not a TJSONObject.");
  EXPECT_EQ(failureOf([&] { object.boolOf("i"); }),
            "ClassCastException - TJSONObject[\"i\"] is not a Boolean.");
  EXPECT_EQ(failureOf([&] { object.boolOf("s"); }),
            "ClassCastException - TJSONObject[\"s\"] is not a Boolean.");
  EXPECT_EQ(failureOf([&] { object.intOf("b"); }),
            "NumberFormatException - TJSONObject[\"b\"] is not a number.");
  EXPECT_EQ(failureOf([&] { object.doubleOf("o"); }),
            "NumberFormatException - TJSONObject[\"o\"] is not a number.");
  EXPECT_EQ(failureOf([&] { object.intOf("s"); }),
            "EConvertError - 'x' is not a valid floating point value");
  EXPECT_EQ(failureOf([&] { object.duplicate()->duplicate(); }), "no failure");
  EXPECT_EQ(failureOf([&] { object.arrayOf("a").duplicate(); }),
            "NotImplmentedFeature - Rotina N\xe3o Implementada");
  EXPECT_EQ(failureOf([&] { json::sharedNull().duplicate(); }),
            "NotImplmentedFeature - Rotina N\xe3o Implementada");
  // A failed accessor changes nothing.
  EXPECT_EQ(object.count(), 6);
  EXPECT_EQ(object.arrayOf("A").count(), 0);
  EXPECT_EQ(object.objectOf("O").count(), 0);
}

TEST(JsonObject, BooleanAndNumberReading) {
  TJSONObject object(
      "{\"t\":TRUE,\"f\":false,\"st\":\"TrUe\",\"sf\":\"FALSE\",\"s79\":\"7.9\",\"d79\":7.9,"
      "\"s25\":\"2.5\",\"s35\":\"3.5\",\"sm25\":\"-2.5\",\"big\":\"4294967297\",\"i\":-3,"
      "\"exp\":\"1e2\",\"sp\":\" 4.5 \"}");
  EXPECT_TRUE(object.boolOf("t"));
  EXPECT_FALSE(object.boolOf("f"));
  EXPECT_TRUE(object.boolOf("st"));
  EXPECT_FALSE(object.boolOf("sf"));
  object.set("made", json::make<json::JSONBoolean>(false));
  EXPECT_FALSE(object.boolOf("made"));  // a program-made false reads as false too
  EXPECT_EQ(object.intOf("s79"), 8);
  EXPECT_EQ(object.intOf("d79"), 7);
  EXPECT_EQ(object.intOf("s25"), 2);
  EXPECT_EQ(object.intOf("s35"), 4);
  EXPECT_EQ(object.intOf("sm25"), -2);
  EXPECT_EQ(object.intOf("big"), 1);  // low 32 bits
  EXPECT_EQ(object.intOf("i"), -3);
  EXPECT_EQ(object.intOf("exp"), 100);
  EXPECT_DOUBLE_EQ(object.doubleOf("sp"), 4.5);
  EXPECT_DOUBLE_EQ(object.doubleOf("i"), -3.0);
  EXPECT_EQ(json::JSONDouble(-7.9).asInteger(), -7);
  EXPECT_EQ(json::JSONDouble(4294967296.0 + 5).asInteger(), 5);
  EXPECT_EQ(json::JSONDouble(2147483648.0).asInteger(), -2147483647 - 1);
}

TEST(JsonText, DoublesAreWrittenWithTwoDecimalsBetweenQuotes) {
  auto text = [](double v) { return json::JSONDouble(v).asText(); };
  EXPECT_EQ(text(12.5), "\"12.50\"");
  EXPECT_EQ(text(3), "\"3.00\"");
  EXPECT_EQ(text(-0.5), "\"-0.50\"");
  EXPECT_EQ(text(1234567.891), "\"1234567.89\"");
  EXPECT_EQ(text(0.125), "\"0.13\"");
  EXPECT_EQ(text(-0.125), "\"-0.13\"");  // half away from zero
  EXPECT_EQ(text(-0.004), "\"0.00\"");
  EXPECT_EQ(text(-0.0), "\"0.00\"");
  EXPECT_EQ(text(0.005), "\"0.01\"");  // 0.00500000000000000010 in 18 digits
  EXPECT_EQ(text(1.005), "\"1.00\"");  // 1.00499999999999989
  EXPECT_EQ(text(2.675), "\"2.67\"");
  EXPECT_EQ(text(9.995), "\"9.99\"");
  EXPECT_EQ(text(9.9951), "\"10.00\"");
  EXPECT_EQ(text(0.0049999), "\"0.00\"");
  EXPECT_EQ(text(0.995), "\"0.99\"");  // 0.994999999999999996
  EXPECT_EQ(text(123456789012345678.0), "\"123456789012345680.00\"");
  EXPECT_EQ(text(1e18), "\"1000000000000000000.00\"");
  EXPECT_EQ(text(-1.5e20), "\"-150000000000000000000.00\"");
  EXPECT_EQ(text(1e-300), "\"0.00\"");
  TJSONObject object;
  object.set("d", json::make<json::JSONDouble>(12.5)).setText("s", "12.5");
  EXPECT_EQ(object.textOf("d"), "\"12.50\"");
  EXPECT_EQ(object.textOf("s"), "12.5");
  EXPECT_EQ(object.asText(), "{\"d\":\"12.50\",\"s\":\"12.5\"}");
}

TEST(JsonText, QuoteTextEscapesAllButTheSafeCharacters) {
  auto q = [](const std::string& s) { return TJSONObject::quoteText(s); };
  EXPECT_EQ(q(""), "\"\"");
  EXPECT_EQ(q("Az09!$'()*-.@_"), "\"Az09!$'()*-.@_\"");
  EXPECT_EQ(q("\b\t\n\f\r\"\\"), "\"\\b\\t\\n\\f\\r\\\"\\\\\"");
  EXPECT_EQ(q("a/b</c//"), "\"a/b\\u003C\\/c//\"");
  EXPECT_EQ(q("/"), "\"/\"");
  EXPECT_EQ(q(" #%&+,:;<=>?[]^`{|}~"),
            "\"\\u0020\\u0023\\u0025\\u0026\\u002B\\u002C\\u003A\\u003B\\u003C\\u003D\\u003E"
            "\\u003F\\u005B\\u005D\\u005E\\u0060\\u007B\\u007C\\u007D\\u007E\"");
  EXPECT_EQ(q(std::string("\x00\x01\x0b\x1f\x7f\x80\xe7\xff", 8)),
            "\"\\u0000\\u0001\\u000B\\u001F\\u007F\\u0080\\u00E7\\u00FF\"");
  EXPECT_EQ(json::JSONInteger::hexByte(0xE7), "E7");
  EXPECT_EQ(json::JSONInteger::hexByte(0x0A), "0A");
}

TEST(JsonText, ValueTextAndArrays) {
  EXPECT_EQ(TJSONObject::valueText(nullptr), "null");
  EXPECT_EQ(TJSONObject::valueText(&json::sharedNull()), "null");
  EXPECT_EQ(TJSONObject::valueText(&json::sharedTrue()), "true");
  json::JSONString text("a b");
  EXPECT_EQ(TJSONObject::valueText(&text), "\"a\\u0020b\"");
  json::JSONInteger negative(-2147483647 - 1);
  EXPECT_EQ(TJSONObject::valueText(&negative), "-2147483648");
  EXPECT_EQ(json::JSONInteger(0).asText(), "0");

  TJSONArray array;
  array.add(json::makeInteger(1)).add(json::Value()).add(json::makeInteger(2));
  EXPECT_EQ(array.asText(), "[1,null,2]");
  EXPECT_EQ(array.join(" | "), "1 | null | 2");
  EXPECT_EQ(array.count(), 3);
  EXPECT_EQ(array.find(1), nullptr);
  EXPECT_EQ(failureOf([&] { array.item(1); }), "NoSuchElementException - TJSONArray[1] not found.");
  EXPECT_EQ(failureOf([&] { array.item(-1); }),
            "NoSuchElementException - TJSONArray[-1] not found.");
  EXPECT_EQ(failureOf([&] { array.textAt(3); }),
            "NoSuchElementException - TJSONArray[3] not found.");
  EXPECT_EQ(failureOf([&] { array.arrayAt(0); }),
            "NoSuchElementException - TJSONArray[0] is not a TJSONArray.");
  EXPECT_EQ(array.textAt(2), "2");

  TJSONArray strings;
  strings.addText("Bebidas");
  EXPECT_EQ(failureOf([&] { strings.objectAt(0); }),
            "NoSuchElementException - TJSONArray[0] is not a TJSONObject is _String");
  strings.add(json::make<json::JSONDouble>(1.0)).add(json::falseValue());
  EXPECT_EQ(failureOf([&] { strings.objectAt(1); }),
            "NoSuchElementException - TJSONArray[1] is not a TJSONObject is _Double");
  EXPECT_EQ(failureOf([&] { strings.objectAt(2); }),
            "NoSuchElementException - TJSONArray[2] is not a TJSONObject is _Boolean");
  EXPECT_EQ(strings.asText(), "[\"Bebidas\",\"1.00\",false]");
}

TEST(JsonValues, KindsCompareAndDuplicate) {
  json::JSONString a("Pizza"), b("Pizza"), c("pizza");
  EXPECT_TRUE(a.sameAs(&b));
  EXPECT_FALSE(a.sameAs(&c));
  EXPECT_TRUE(a.sameTextAs("PIZZA"));
  EXPECT_TRUE(json::JSONString("A\xc7\xc3O").sameTextAs("a\xe7\xe3o"));
  EXPECT_FALSE(a.sameTextAs("Pizzas"));
  EXPECT_TRUE(json::sharedNull().sameAs(nullptr));
  EXPECT_TRUE(json::sharedNull().sameAs(&json::sharedNull()));
  EXPECT_FALSE(json::sharedNull().sameAs(&a));
  json::JSONInteger one(1);
  EXPECT_TRUE(one.sameAs(&one));
  EXPECT_FALSE(one.sameAs(one.duplicate().get()));
  EXPECT_EQ(one.className(), std::string("_Integer"));
  EXPECT_EQ(json::sharedNull().className(), std::string("NULL"));

  json::Value copy = json::sharedTrue().duplicate();
  EXPECT_FALSE(copy->isShared());
  EXPECT_EQ(copy->asText(), "true");
  EXPECT_EQ(json::JSONDouble(2.5).duplicate()->asText(), "\"2.50\"");
  // An object duplicates through its text, so a double comes back as the
  // string of its text form, and equal names keep the first value.
  TJSONObject object("{\"x\":1,\"X\":2}");
  object.set("d", json::make<json::JSONDouble>(1.5));
  json::Value dup = object.duplicate();
  EXPECT_EQ(dup->asText(), "{\"x\":1,\"X\":1,\"d\":\"1.50\"}");
  EXPECT_EQ(dynamic_cast<TJSONObject&>(*dup).item("d").className(), std::string("_String"));
}

TEST(JsonNumbers, IntegerAndDecimalSyntax) {
  using json::JSONDouble;
  using json::JSONInteger;
  EXPECT_EQ(JSONInteger("  -12").asInteger(), -12);
  EXPECT_EQ(JSONInteger("+7").asInteger(), 7);
  EXPECT_EQ(JSONInteger("$ff").asInteger(), 255);
  EXPECT_EQ(JSONInteger("x10").asInteger(), 16);
  EXPECT_EQ(JSONInteger("0X0000000010").asInteger(), 16);
  EXPECT_EQ(JSONInteger("$FFFFFFFF").asInteger(), -1);
  EXPECT_EQ(JSONInteger("-$1").asInteger(), -1);
  EXPECT_EQ(JSONInteger("-2147483648").asInteger(), -2147483647 - 1);
  EXPECT_EQ(JSONInteger("2147483647").asInteger(), 2147483647);
  for (const char* bad : {"", " ", "+", "-", "12 ", "1.0", "2147483648", "-2147483649", "$", "0x",
                          "$100000000", "$G", "1e3", "--1", "+-1", "$-1"}) {
    EXPECT_EQ(failureOf([&] { JSONInteger value(bad); }),
              std::string("EConvertError - '") + bad + "' is not a valid integer value");
  }
  EXPECT_DOUBLE_EQ(JSONDouble(" 1.5 ").asDouble(), 1.5);
  EXPECT_DOUBLE_EQ(JSONDouble(".").asDouble(), 0.0);
  EXPECT_DOUBLE_EQ(JSONDouble("-.25").asDouble(), -0.25);
  EXPECT_DOUBLE_EQ(JSONDouble("5.").asDouble(), 5.0);
  EXPECT_DOUBLE_EQ(JSONDouble("1E-2").asDouble(), 0.01);
  EXPECT_DOUBLE_EQ(JSONDouble("+1e+5").asDouble(), 100000.0);
  EXPECT_DOUBLE_EQ(JSONDouble("1e-400").asDouble(), 0.0);
  EXPECT_DOUBLE_EQ(JSONDouble("0.1e309").asDouble(), 1e308);
  for (const char* bad : {"", "  ", "+", "-", "e5", "1e", "1e+", "1,5", "1.2.3", "1e400", "1 2",
                          "0x10", "inf", "nan", "1.5f", "$1"}) {
    EXPECT_EQ(failureOf([&] { JSONDouble value(bad); }),
              std::string("EConvertError - '") + bad + "' is not a valid floating point value");
  }
  EXPECT_EQ(JSONInteger::parseRadix("0", 8), 0);
  EXPECT_EQ(failureOf([] { JSONInteger::parseRadix("7", 8); }),
            "NotImplmentedFeature - Rotina N\xe3o Implementada");
  EXPECT_EQ(JSONInteger::parseRadix("99", 3), 0);
  EXPECT_EQ(JSONInteger::parseRadix("-12", 10), -12);
  EXPECT_EQ(JSONInteger::hexToInt("$1f"), 31);
  EXPECT_EQ(JSONInteger::hexToInt("0x1F"), 31);
  EXPECT_EQ(JSONInteger::hexToInt("1FFFFFFFF"), -1);  // wraps in 32 bits
  EXPECT_NE(failureOf([] { JSONInteger::hexToInt("0x"); }), "no failure");
  EXPECT_NE(failureOf([] { JSONInteger::hexToInt("1G"); }), "no failure");
  EXPECT_EQ(JSONInteger::hexDigitValue('C'), 12);
  EXPECT_NE(failureOf([] { JSONInteger::hexDigitValue('c'); }), "no failure");
}

TEST(JsonText, EqualNamesAreWrittenWithTheFirstValue) {
  TJSONObject small("{\"a\":1,\"A\":2,\"b\":3}");
  EXPECT_EQ(small.asText(), "{\"a\":1,\"A\":1,\"b\":3}");
  // Locale equality, not lower-case equality: the sharp s equals "ss".
  TJSONObject locale(
      "{\"Stra\xdf"
      "e\":1,\"STRASSE\":2,\"a\xad"
      "b\":3,\"AB\":4,\"a-b\":5}");
  EXPECT_EQ(locale.asText(),
            "{\"Stra\\u00DFe\":1,\"STRASSE\":1,\"a\\u00ADb\":3,\"AB\":3,\"a-b\":5}");
  // Large objects take another path to the same answer, for plain names
  // and for names only the locale can compare.
  for (const std::string& odd : {std::string("n1"), std::string("N1\xad")}) {
    std::string text = "{", expected = "{";
    for (int i = 0; i < 40; ++i) {
      std::string name = i == 25 ? "N5" : i == 31 ? odd : "n" + std::to_string(i);
      int shown = i == 25 ? 5 : i == 31 ? 1 : i;
      text += (i ? "," : "") + TJSONObject::quoteText(name) + ":" + std::to_string(i);
      expected += (i ? "," : "") + TJSONObject::quoteText(name) + ":" + std::to_string(shown);
    }
    EXPECT_EQ(TJSONObject(text + "}").asText(), expected + "}");
  }
}

TEST(JsonText, NameMatchingAgreesWithTheLocaleForEveryPairOfCharacters) {
  // Lookups and the writer take a short cut for plain ASCII names; it must
  // give the locale's own answer.
  int mismatches = 0;
  for (int a = 1; a < 256; ++a) {
    std::string x = "n" + std::string(1, static_cast<char>(a));
    for (int b = 1; b < 256; ++b) {
      std::string y = "N" + std::string(1, static_cast<char>(b));
      bool equal = platform::sameTextIgnoreCase(x, y);
      TJSONObject object;
      object.append(x, json::makeInteger(1));
      object.append(y, json::makeInteger(2));
      std::string written = object.asText();
      bool writtenEqual = written.substr(written.size() - 3) == ":1}";
      bool foundFirst = object.textOf(y) == "1";
      if (foundFirst != equal || writtenEqual != equal) {
        if (++mismatches < 5) ADD_FAILURE() << a << " " << b;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
