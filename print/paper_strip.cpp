#include "print/paper_strip.h"

#include <algorithm>

namespace print {
namespace {

constexpr char ESC = 0x1b, GS = 0x1d;
constexpr int kLineSpacing = 30;
constexpr int kWideFrom = 42;

}  // namespace

const PaperSize& paperSize(Paper paper) {
  static const PaperSize k58{"58 mm", 464, 384};
  static const PaperSize k80{"80 mm", 640, 576};
  return paper == Paper::k80mm ? k80 : k58;
}

Paper paperFor(int paperWidth) { return paperWidth >= kWideFrom ? Paper::k80mm : Paper::k58mm; }

int PrintMode::width() const { return (fontB ? 9 : 12) * (doubleWidth ? 2 : 1); }
int PrintMode::height() const { return (fontB ? 17 : 24) * (doubleHeight ? 2 : 1); }

PrintMode decodeMode(unsigned char n) {
  PrintMode mode;
  mode.fontB = n & 0x01;
  mode.emphasized = n & 0x08;
  mode.doubleHeight = n & 0x10;
  mode.doubleWidth = n & 0x20;
  mode.underline = n & 0x80;
  return mode;
}

void StripPrinter::feed(const std::string& bytes) {
  const size_t size = bytes.size();
  for (size_t i = 0; i < size; ++i) {
    const char c = bytes[i];
    if (c == ESC && i + 1 < size) {
      const char command = bytes[++i];
      if (command == '!' && i + 1 < size) {
        mode_ = decodeMode(static_cast<unsigned char>(bytes[++i]));
      } else if (command == 'm' || command == 'i') {
        cut();
      } else if (command == '@') {
        mode_ = {};
      }
    } else if (c == GS && i + 1 < size) {
      if (bytes[++i] == 'V' && i + 1 < size) {
        const unsigned char kind = static_cast<unsigned char>(bytes[++i]);
        if ((kind == 65 || kind == 66) && i + 1 < size) ++i;  // the feed before the cut
        cut();
      }
    } else if (c == '\n') {
      endLine();
    } else if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) {
      put(c);
    }
  }
}

void StripPrinter::put(char c) {
  const int width = mode_.width();
  if (x_ > 0 && x_ + width > printable_) {
    if (!line_.wrapped) ++strip_.brokenLines;
    endLine();
    line_.wrapped = true;
  }
  if (line_.runs.empty() || !(line_.runs.back().mode == mode_)) line_.runs.push_back({mode_, ""});
  line_.runs.back().text += c;
  x_ += width;
}

void StripPrinter::endLine() {
  int tallest = line_.runs.empty() ? mode_.height() : 0;
  for (const StripRun& run : line_.runs) tallest = std::max(tallest, run.mode.height());
  line_.height = std::max(kLineSpacing, tallest);
  strip_.lines.push_back(std::move(line_));
  line_ = {};
  x_ = 0;
}

void StripPrinter::cut() {
  if (!line_.runs.empty()) endLine();
  StripLine cut;
  cut.cut = true;
  strip_.lines.push_back(std::move(cut));
}

PaperStrip StripPrinter::finish() {
  if (!line_.runs.empty()) endLine();
  return strip_;
}

PaperStrip paperStrip(const TicketPreview& preview, Paper paper) {
  StripPrinter printer(paper);
  printer.feed(preview.bytes);
  for (const LibraryCall& call : preview.library) {
    if (call.function == "ImprimeTextoTag") printer.feed(call.text);
    if (call.function == "AcionaGuilhotina") printer.cut();
  }
  return printer.finish();
}

std::string widthNote(const PaperStrip& strip, Paper paper) {
  const std::string roll = paperSize(paper).caption;
  const int n = strip.brokenLines;
  if (n == 0) return "Todas as linhas cabem no papel de " + roll + ".";
  if (n == 1)
    return "1 linha n\xe3o cabe no papel de " + roll +
           " e continua na linha de baixo (marcada \xe0 esquerda).";
  return std::to_string(n) + " linhas n\xe3o cabem no papel de " + roll +
         " e continuam na linha de baixo (marcadas \xe0 esquerda).";
}

}  // namespace print
