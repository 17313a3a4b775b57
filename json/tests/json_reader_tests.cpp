// Reading JSON text: the lenient grammar, number recognition, string
// escapes and the exact parse error messages.
#include <gtest/gtest.h>

#include <string>

#include "json/json.h"
#include "json/json_reader.h"
#include "tests/support/failure.h"

namespace {

using json::TJSONArray;
using json::TJSONObject;

std::string objectFailure(const std::string& text) {
  return failureOf([&] { TJSONObject object(text); });
}
std::string arrayFailure(const std::string& text) {
  return failureOf([&] { TJSONArray array(text); });
}
bool startsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

TEST(JsonReader, LenientObjectsAndDuplicateNames) {
  TJSONObject twice("{\"a\":1,\"a\":2}");
  EXPECT_EQ(twice.count(), 2);
  EXPECT_EQ(twice.textOf("a"), "1");
  EXPECT_EQ(twice.asText(), "{\"a\":1,\"a\":1}");

  TJSONObject lenient("{name: 'Cozinha', \"padrao\" => TRUE ; }");
  EXPECT_EQ(lenient.names(), (std::vector<std::string>{"name", "padrao"}));
  EXPECT_EQ(lenient.textOf("name"), "Cozinha");
  EXPECT_EQ(&lenient.item("padrao"), &json::sharedTrue());

  TJSONObject trailing("  {\"a\":1} and then anything {[");
  EXPECT_EQ(trailing.asText(), "{\"a\":1}");
  TJSONObject separators("{a=1;b=>2,'c':3,}");
  EXPECT_EQ(separators.asText(), "{\"a\":1,\"b\":2,\"c\":3}");
  TJSONObject empty(" { } ");
  EXPECT_EQ(empty.count(), 0);

  // Names come from any value's text.
  TJSONObject names("{1.5:1, 12:2, true:3, null:4, {\"x\":1}:5, [1 ,2]:6, 'q':7, ab cd :8}");
  EXPECT_EQ(names.names(), (std::vector<std::string>{"\"1.50\"", "12", "true", "null", "{\"x\":1}",
                                                     "[1,2]", "q", "ab cd"}));
  EXPECT_EQ(names.textOf("null"), "4");
}

TEST(JsonReader, ArraysWithEmptyPositionsAndSeparators) {
  TJSONArray gaps("[1,,2]");
  ASSERT_EQ(gaps.count(), 3);
  EXPECT_EQ(gaps.find(1), nullptr);
  EXPECT_EQ(gaps.asText(), "[1,null,2]");
  EXPECT_EQ(TJSONArray("[,1]").asText(), "[null,1]");
  EXPECT_EQ(TJSONArray("[1,]").count(), 1);
  EXPECT_EQ(TJSONArray("[1;2;]").count(), 2);
  EXPECT_EQ(TJSONArray("[,]").count(), 1);
  EXPECT_EQ(TJSONArray("[]").count(), 0);
  EXPECT_EQ(TJSONArray("[ ]").count(), 0);
  EXPECT_EQ(TJSONArray("[[],{}] tail").asText(), "[[],{}]");
  EXPECT_EQ(TJSONArray("\x01\x1f[1]").count(), 1);  // every code 1..32 is white space
}

TEST(JsonReader, WordsAndNumbers) {
  TJSONArray values(
      "[00, 0.5, 012, 0x1F, -0x1F, 0x1FFFFFFFF, 2147483648, 1e5, 1.5, ., 12abc, 1-2, -, "
      "hello world, 0x, 0xZZ, -2147483648, +7, $10, True, FALSE, Null, nulls, 0, -0, 0X10, x10]");
  std::vector<std::string> kinds, texts;
  for (int i = 0; i < values.count(); ++i) {
    kinds.push_back(values.item(i).className());
    texts.push_back(values.item(i).asText());
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"0",
                                             "\"0.50\"",
                                             "12",
                                             "31",
                                             "-31",
                                             "-1",
                                             "\"2147483648.00\"",
                                             "\"100000.00\"",
                                             "\"1.50\"",
                                             "\"0.00\"",
                                             "12abc",
                                             "1-2",
                                             "-",
                                             "hello world",
                                             "0x",
                                             "0xZZ",
                                             "-2147483648",
                                             "7",
                                             "$10",
                                             "true",
                                             "false",
                                             "null",
                                             "nulls",
                                             "0",
                                             "0",
                                             "16",
                                             "x10"}));
  EXPECT_EQ(kinds,
            (std::vector<std::string>{
                "_Integer", "_Double", "_Integer", "_Integer", "_Integer", "_Integer", "_Double",
                "_Double",  "_Double", "_Double",  "_String",  "_String",  "_String",  "_String",
                "_String",  "_String", "_Integer", "_Integer", "_String",  "_Boolean", "_Boolean",
                "NULL",     "_String", "_Integer", "_Integer", "_Integer", "_String"}));
  EXPECT_EQ(&values.item(19), &json::sharedTrue());
  EXPECT_EQ(&values.item(20), &json::sharedFalse());
}

TEST(JsonReader, StringsAndEscapes) {
  TJSONArray strings(
      "[\"tab\tE3\xe3\", 'a\"b', \"a'b\", \"\\u00e9\\u00E9\", \"\\u4E2D\", \"\\x\\'\\/\\\\\\\"\","
      " \"\\b\\t\\n\\f\\r\", \"\\u20ac\", \"\\u0000\", \"\"]");
  EXPECT_EQ(strings.textAt(0), "tab\tE3\xe3");
  EXPECT_EQ(strings.textAt(1), "a\"b");
  EXPECT_EQ(strings.textAt(2), "a'b");
  EXPECT_EQ(strings.textAt(3), "\xe9\xe9");
  EXPECT_EQ(strings.textAt(4), "?");
  EXPECT_EQ(strings.textAt(5), "x'/\\\"");
  EXPECT_EQ(strings.textAt(6), "\b\t\n\f\r");
  EXPECT_EQ(strings.textAt(7), "\x80");
  EXPECT_EQ(strings.textAt(8), std::string(1, '\0'));
  EXPECT_EQ(strings.textAt(9), "");
  // A byte whose character is not its own code point comes back as what the
  // code page gives for that code point.
  EXPECT_EQ(TJSONArray(TJSONArray("[\"\\u0080\"]").asText()).textAt(0), "?");
}

TEST(JsonReader, CommentsAreSkipped) {
  TJSONObject commented(
      "# first line\n{ // a comment\r \"a\" /* block * / ** */ : 1, /**/ \"b\":2 # end\n}");
  EXPECT_EQ(commented.asText(), "{\"a\":1,\"b\":2}");
  EXPECT_TRUE(startsWith(objectFailure("{\"a\":1 /* unclosed"),
                         "ParseException - Unclosed comment. at character 20 of "));
  EXPECT_TRUE(startsWith(arrayFailure("[/1]"), "ParseException - Missing value."));
  EXPECT_EQ(TJSONArray("[1 // 2\n]").count(), 1);
  EXPECT_TRUE(startsWith(arrayFailure("[1 # 2]"), "ParseException - Expected a \",\" or \"]\""));
}

TEST(JsonReader, ParseErrorsNameTheirPosition) {
  EXPECT_EQ(objectFailure("{\"a\" 1}"),
            "ParseException - Expected a \":\" after a key at character 7 of {\"a\" 1}"
            " pr\xf3ximo a : }\n\r erro no caracter : 7");
  EXPECT_EQ(objectFailure("{\"a\":}"),
            "ParseException - Missing value. at character 6 of {\"a\":} pr\xf3ximo a : }\n\r"
            " erro no caracter : 6");
  EXPECT_EQ(objectFailure(""),
            "ParseException - A TJSONObject must begin with \"{\" at character 2 of "
            " pr\xf3ximo a : \n\r erro no caracter : 2");
  EXPECT_TRUE(startsWith(objectFailure("   "), "ParseException - A TJSONObject must begin with"));
  EXPECT_TRUE(startsWith(arrayFailure(""), "ParseException - A TJSONArray must start with \"[\""));
  EXPECT_TRUE(startsWith(arrayFailure("{}"), "ParseException - A TJSONArray must start with"));
  EXPECT_TRUE(startsWith(objectFailure("{"), "ParseException - A TJSONObject must end with \"}\""));
  EXPECT_TRUE(
      startsWith(objectFailure("{\"a\":1"), "ParseException - Expected a \",\" or \"}\" at"));
  EXPECT_TRUE(startsWith(objectFailure("{\"a\":1]"), "ParseException - Expected a \",\" or \"}\""));
  EXPECT_TRUE(startsWith(arrayFailure("[1 \"2\"]"), "ParseException - Expected a \",\" or \"]\""));
  EXPECT_TRUE(startsWith(arrayFailure("[1,"), "ParseException - Missing value."));
  EXPECT_TRUE(startsWith(arrayFailure("[\"a\nb\"]"), "ParseException - Unterminated string"));
  EXPECT_TRUE(startsWith(arrayFailure("[\"ab"), "ParseException - Unterminated string"));
  EXPECT_TRUE(startsWith(arrayFailure("[\"ab\\"), "ParseException - Unterminated string"));
  EXPECT_TRUE(startsWith(arrayFailure("[\"\\u12\"]"), "ParseException - Substring bounds error"));
  // Exactly four characters left after \u is still too few.
  EXPECT_TRUE(startsWith(arrayFailure("[\"\\u00e9"), "ParseException - Substring bounds error"));
  EXPECT_EQ(arrayFailure("[\"\\uZZ12\"]"), "EConvertError - '$ZZ12' is not a valid integer value");
  // The context is ten characters; nothing in the message is interpreted.
  EXPECT_EQ(arrayFailure("[\"1\" %s%d%n 0123456789abc]"),
            "ParseException - Expected a \",\" or \"]\" at character 7 of [\"1\" %s%d%n "
            "0123456789abc] pr\xf3ximo a : s%d%n 0123\n\r erro no caracter : 7");
  // A NUL in the text ends neither the text read nor the message.
  EXPECT_EQ(arrayFailure(std::string("[\0]", 3)),
            std::string("ParseException - Missing value. at character 2 of [\0] pr\xf3ximo a : "
                        "\0]\n\r erro no caracter : 2",
                        91));
  // A space does not end an unquoted word.
  EXPECT_EQ(TJSONArray("[1 2]").textAt(0), "1 2");
}

TEST(JsonReader, StringFailuresNameTheCharacterWhereTheyAreFound) {
  auto endsWith = [](const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
  };
  // The line feed is read, so the position is the character after it.
  EXPECT_EQ(arrayFailure("[\"a\nb\"]"),
            "ParseException - Unterminated string at character 5 of [\"a\nb\"] pr\xf3ximo a : "
            "b\"]\n\r erro no caracter : 5");
  // The end marker is read once: one past the end.
  EXPECT_TRUE(endsWith(arrayFailure("[\"ab"), "erro no caracter : 6"));
  // A closing backslash reads the end marker as its escape.
  EXPECT_TRUE(endsWith(arrayFailure("[\"ab\\"), "erro no caracter : 7"));
  EXPECT_TRUE(endsWith(arrayFailure("['ab\"cd"), "erro no caracter : 9"));
  // \u is checked from the character after the u.
  EXPECT_EQ(arrayFailure("[\"\\u12\"]"),
            "ParseException - Substring bounds error at character 5 of [\"\\u12\"] pr\xf3ximo a : "
            "12\"]\n\r erro no caracter : 5");
  EXPECT_TRUE(endsWith(arrayFailure("[\"x\\u00e9"), "erro no caracter : 6"));
  // Closed right after an escape: the string ends, the array does not.
  const std::string closed = arrayFailure("[\"x\\u00e9\"");
  EXPECT_TRUE(startsWith(closed, "ParseException - Expected a \",\" or \"]\" at character 12 "));
  EXPECT_TRUE(endsWith(closed, "erro no caracter : 12"));
  // The other quote and every escape inside a string.
  TJSONArray quotes("['a\"b', \"it's\", \"\\b\\t\\n\\f\\r\\/\\x\\u0041\\u00e9\"]");
  EXPECT_EQ(quotes.textAt(0), "a\"b");
  EXPECT_EQ(quotes.textAt(1), "it's");
  EXPECT_EQ(quotes.textAt(2), "\b\t\n\f\r/xA\xe9");
}

TEST(JsonReader, LongStringsAndContainersOfChangingSizes) {
  // Strings far longer than any before them, escapes at every length.
  std::string text;
  for (int i = 0; i < 700; ++i) text += (i % 3 ? "Caf\xe9 " : "a\"\\/<");
  for (const std::string& value : {text, text.substr(0, 255), text.substr(0, 257)}) {
    TJSONArray read("[" + TJSONObject::quoteText(value) + ",\"short\"]");
    EXPECT_EQ(read.textAt(0), value);
    EXPECT_EQ(read.textAt(1), "short");
  }
  // Records of one table differ in size; each is read whole, in order.
  std::string many = "{";
  for (int i = 0; i < 100; ++i)
    many += (i ? ",\"m" : "\"m") + std::to_string(i) + "\":" + std::to_string(i);
  many += "}";
  const std::string table = "[{\"a\":1,\"b\":[1,2,3,4,5,6,7,8,9,10,11,12]}," + many +
                            ",{\"a\":2},{\"x\":1,\"y\":2,\"z\":3,\"w\":4,\"v\":5,\"u\":6},[],[1],"
                            "{\"b\":[9]},{\"a\":1,\"b\":2},{\"a\":1,\"A\":2}]";
  TJSONArray read(table);
  EXPECT_EQ(read.count(), 9);
  EXPECT_EQ(read.objectAt(1).count(), 100);
  EXPECT_EQ(read.objectAt(2).count(), 1);
  // Only the last record has names that compare equal.
  EXPECT_EQ(read.asText(), table.substr(0, table.size() - 3) + "1}]");
}

TEST(JsonReader, DeepNestingIsRefusedNotFatal) {
  std::string fine = std::string(150, '[') + std::string(150, ']');
  EXPECT_EQ(TJSONArray(fine).asText(), fine);
  std::string deep = std::string(100000, '[');
  EXPECT_TRUE(startsWith(arrayFailure(deep), "ParseException - Nesting too deep. at character "));
  std::string objects;
  for (int i = 0; i < 300; ++i) objects += "{\"a\":";
  EXPECT_TRUE(startsWith(objectFailure(objects), "ParseException - Nesting too deep."));
}

TEST(JsonReader, TokenerSteps) {
  const std::string abc = "abc";
  json::JSONTokener reader(abc);
  EXPECT_EQ(reader.asText(), " at character 1 of abc");
  EXPECT_EQ(reader.nextChar(), 'a');
  EXPECT_EQ(reader.nextChars(1), "b");
  // The last character cannot be taken by nextChars.
  EXPECT_TRUE(startsWith(failureOf([&] { reader.nextChars(1); }),
                         "ParseException - Substring bounds error at character 3 of abc"));
  EXPECT_EQ(reader.nextChar(), 'c');
  EXPECT_TRUE(reader.hasMore());
  EXPECT_EQ(reader.nextChar(), '\0');  // the end marker, read once
  EXPECT_EQ(reader.position(), 5);
  EXPECT_FALSE(reader.hasMore());
  EXPECT_EQ(reader.nextChar(), '\0');
  EXPECT_EQ(reader.position(), 5);
  for (int i = 0; i < 6; ++i) reader.stepBack();
  EXPECT_EQ(reader.position(), 1);
  const std::string text = "  'x y' , next";
  json::JSONTokener words(text);
  json::Value value = words.readValue();
  EXPECT_EQ(value->asText(), "x y");
  EXPECT_EQ(words.nextSignificant(), ',');
  EXPECT_EQ(words.readValue()->asText(), "next");
}

}  // namespace
