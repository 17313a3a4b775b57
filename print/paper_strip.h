// The paper that comes out of a receipt printer, worked out from the bytes
// it receives: every line in its ESC ! character mode, lines too long for
// the roll broken where the printer breaks them, and the cuts. The preview
// window only draws what this says.
//
// The printer is an ESC/POS thermal printer with a 203-dpi head (8 dots a
// millimetre). Font A is 12 x 24 dots, font B 9 x 17; double width and
// double height double them. A line advances by 30 dots, or by its tallest
// character when that is taller.
#pragma once

#include <string>
#include <vector>

#include "print/ticket_preview.h"

namespace print {

enum class Paper { k58mm, k80mm };

struct PaperSize {
  const char* caption;  // "58 mm", "80 mm"
  int rollDots;         // the width of the roll
  int printableDots;    // what the head reaches: 32 font A characters, or 48
};

const PaperSize& paperSize(Paper paper);

// The roll a printer's "tamanhoFolha" (a width in characters) asks for:
// 80 mm from 42 characters up.
Paper paperFor(int paperWidth);

// The character mode set by ESC ! n. Bits 1, 2 and 6 mean nothing.
struct PrintMode {
  bool fontB = false;         // bit 0
  bool emphasized = false;    // bit 3
  bool doubleHeight = false;  // bit 4
  bool doubleWidth = false;   // bit 5
  bool underline = false;     // bit 7
  int width() const;          // dots per character
  int height() const;
  bool operator==(const PrintMode&) const = default;
};

PrintMode decodeMode(unsigned char n);

struct StripRun {
  PrintMode mode;
  std::string text;
};

struct StripLine {
  std::vector<StripRun> runs;  // none: a line fed empty
  int height = 0;              // dots to the next line's top
  bool wrapped = false;        // the rest of a line too long for the paper
  bool cut = false;            // the paper is cut here; no text
};

struct PaperStrip {
  std::vector<StripLine> lines;
  int brokenLines = 0;  // lines the printer had to break, each counted once
};

// Prints bytes on paper as the printer does. LF prints the line and feeds;
// CR and other control bytes print nothing; ESC ! n sets the mode until
// the next one; GS V and ESC m cut. A character that no longer fits the
// line goes on at the start of the next one. A command cut off at the end
// of the bytes is ignored.
class StripPrinter {
 public:
  explicit StripPrinter(Paper paper) : printable_(paperSize(paper).printableDots) {}
  void feed(const std::string& bytes);
  void cut();
  // The paper so far; text still waiting for its LF comes out as a last line.
  PaperStrip finish();

 private:
  void put(char c);
  void endLine();

  int printable_;
  PrintMode mode_;
  StripLine line_;
  int x_ = 0;
  PaperStrip strip_;
};

// The paper of a previewed ticket: the bytes for the share, or the chunks
// and the cut the Epson library receives.
PaperStrip paperStrip(const TicketPreview& preview, Paper paper);

// What the strip tells the user about the paper width.
std::string widthNote(const PaperStrip& strip, Paper paper);

}  // namespace print
