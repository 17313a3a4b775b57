#include <gtest/gtest.h>

#include "print/text_device.h"
#include "tests/support/recording_services.h"

namespace {

using Log = std::vector<std::string>;

// The recording canvas: a character is `size` units wide and 2 * size high.
struct Page {
  Log log;
  printtest::RecordingCanvas canvas;
  print::TextDevice device{canvas};
  Page(int width, int height) : canvas(log, {width, height}) {}
};

TEST(TextDevice, LinesAdvanceByTheirTallestTextPlusTwoAndEmptyLinesByTheCharacterHeight) {
  Page p(400, 1000);
  p.canvas.setFont(18, true);
  p.device.writeLine("AB");  // 36 high: next line 38 further down
  p.canvas.setFont(12, false);
  p.device.writeLine("CD");  // 24 high: +26
  p.device.writeLine("");    // empty: the 12-point character height, 24
  p.device.write("E");
  p.canvas.setFont(20, false);
  p.device.writeLine("F");  // the taller of the two on this line counts: 40 + 2
  p.device.writeLine("G");
  EXPECT_EQ(p.log, (Log{"font 18 bold", "text 0 0 AB", "font 12 plain", "text 0 38 CD",
                        "text 0 88 E", "font 20 plain", "text 12 88 F", "text 0 130 G"}));
  EXPECT_EQ(p.device.y(), 172);
}

TEST(TextDevice, TooWideTextBreaksAtTheLastCharacterThatFits) {
  Page p(100, 1000);  // ten 10-unit characters per line
  p.device.writeLine("ABCDEFGHIJKLMNOPQRSTUVWXY");
  p.device.write("12345678");
  p.device.writeLine("abc");  // continues behind the 80 units already on the line
  EXPECT_EQ(p.log, (Log{"text 0 0 ABCDEFGHIJ", "text 0 22 KLMNOPQRST", "text 0 44 UVWXY",
                        "text 0 66 12345678", "text 80 66 ab", "text 0 88 c"}));

  // Not even one character fits: it is printed anyway, one per line, and
  // the device does not feed empty lines forever.
  Page narrow(5, 1000);
  narrow.device.writeLine("AB");
  EXPECT_EQ(narrow.log, (Log{"text 0 0 A", "text 0 22 B"}));
}

TEST(TextDevice, ANewPageBeginsTwoLineHeightsBeforeTheBottomAndAtAFormFeed) {
  Page p(400, 100);  // 22-unit lines: after the third line only 34 units remain
  for (const char* line : {"1", "2", "3", "4"}) p.device.writeLine(line);
  EXPECT_EQ(p.log, (Log{"text 0 0 1", "text 0 22 2", "text 0 44 3", "page", "text 0 0 4"}));

  Page f(400, 1000);
  f.device.writeLine("a\fb");
  EXPECT_EQ(f.log, (Log{"text 0 0 a", "page", "text 0 0 b"}));
}

TEST(TextDevice, TabsGoToMultiplesOfEightAverageCharacterWidthsAndReturnsAreIgnored) {
  Page p(400, 1000);  // tab stops every 80 units
  p.device.writeLine("A\tB\tC");
  p.device.writeLine("\tx\r");
  p.device.writeLine("ABCDEFGH\tI");  // exactly on a stop: on to the next one
  p.device.writeLine("L1\nL2");       // a line feed inside a text ends the line
  EXPECT_EQ(p.log, (Log{"text 0 0 A", "text 80 0 B", "text 160 0 C", "text 80 22 x",
                        "text 0 44 ABCDEFGH", "text 160 44 I", "text 0 66 L1", "text 0 88 L2"}));
}

}  // namespace
