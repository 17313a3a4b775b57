#include <gtest/gtest.h>

#include "print/paper_strip.h"
#include "print/test_ticket.h"
#include "print/ticket_preview.h"
#include "tests/support/recording_services.h"

namespace {

using Lines = std::vector<std::string>;

const platform::SettableClock kClock({2026, 3, 7, 9, 5, 3});

// A strip line as text: "> " before the rest of a broken line, each run's
// mode in brackets (font A or B, e emphasized, w double width, h double
// height, u underline), "@<dots>" for a line taller than 30 dots.
Lines describe(const print::PaperStrip& strip) {
  Lines out;
  for (const print::StripLine& line : strip.lines) {
    if (line.cut) {
      out.push_back("--corte--");
      continue;
    }
    std::string text = line.wrapped ? "> " : "  ";
    for (const print::StripRun& run : line.runs) {
      const print::PrintMode& m = run.mode;
      text += std::string("[") + (m.fontB ? "B" : "A") + (m.emphasized ? "e" : "") +
              (m.doubleWidth ? "w" : "") + (m.doubleHeight ? "h" : "") + (m.underline ? "u" : "") +
              "]" + run.text;
    }
    if (line.height != 30) text += "@" + std::to_string(line.height);
    out.push_back(text);
  }
  return out;
}

}  // namespace

TEST(PaperStrip, ModesWrapsAndCutsAsTheReceiptPrinterPrintsThem) {
  const std::string x16(16, 'X'), x21(21, 'X'), x32(32, 'X'), x42(42, 'X');
  struct Case {
    std::string bytes;
    print::Paper paper;
    Lines lines;
    int broken;
  } cases[] = {
      // The modes of the text families: 28, 29 and 0C (bit 2 means nothing).
      {"\x1b!\x28T\r\n\x1b!\x29U\r\n\x1b!\x0cV\r\n",
       print::Paper::k58mm,
       {"  [Aew]T", "  [Bew]U", "  [Ae]V"},
       0},
      // A mode holds until the next one, across line ends; ESC @ resets it.
      {"\x1b!\x01"
       "a\nb\n\x1b@c\n",
       print::Paper::k58mm,
       {"  [B]a", "  [B]b", "  [A]c"},
       0},
      {"ab\x1b!\x20"
       "cd\x1b!\x80"
       "e\r\n",
       print::Paper::k58mm,
       {"  [A]ab[Aw]cd[Au]e"},
       0},
      // Double height makes the line, also an empty one, taller.
      {"\x1b!\x10T\n\n", print::Paper::k58mm, {"  [Ah]T@48", "  @48"}, 0},
      // 58 mm: 32 font A characters, 16 double width, 21 font B double
      // width, 42 font B. A full line waits for the next character to break.
      {x32 + "\r\n", print::Paper::k58mm, {"  [A]" + x32}, 0},
      {x32 + "Y\r\n", print::Paper::k58mm, {"  [A]" + x32, "> [A]Y"}, 1},
      {"\x1b!\x20" + x16 + "YY\r\n", print::Paper::k58mm, {"  [Aw]" + x16, "> [Aw]YY"}, 1},
      {"\x1b!\x29" + x21 + "Y\r\n", print::Paper::k58mm, {"  [Bew]" + x21, "> [Bew]Y"}, 1},
      {"\x1b!\x01" + x42 + "Y\r\n", print::Paper::k58mm, {"  [B]" + x42, "> [B]Y"}, 1},
      // 80 mm: 48 font A characters; a line broken twice counts once.
      {x32 + x16 + "Y\r\n", print::Paper::k80mm, {"  [A]" + x32 + x16, "> [A]Y"}, 1},
      {x32 + x32 + x32 + "\r\n",
       print::Paper::k58mm,
       {"  [A]" + x32, "> [A]" + x32, "> [A]" + x32},
       1},
      // Cuts, control bytes that print nothing, text without its LF.
      {std::string("a\r\n\x1dVB\x00\r\n", 9),
       print::Paper::k58mm,
       {"  [A]a", "--corte--", "  "},
       0},
      {"\x1bm\r\n\x1dV\x01\tb\x07"
       "c",
       print::Paper::k58mm,
       {"--corte--", "  ", "--corte--", "  [A]bc"},
       0},
  };
  for (const Case& c : cases) {
    print::StripPrinter printer(c.paper);
    printer.feed(c.bytes);
    print::PaperStrip strip = printer.finish();
    EXPECT_EQ(describe(strip), c.lines) << c.bytes;
    EXPECT_EQ(strip.brokenLines, c.broken) << c.bytes;
  }
}

TEST(TicketPreview, AFortyEightColumnTicketOnFiftyEightMillimetresShowsItsBrokenLines) {
  json::TJSONObject caixa(
      "{\"name\":\"Caixa\",\"tipo\":\"Generic Text\",\"tipoTexto\":\"Outro\","
      "\"tamanhoFolha\":\"40\",\"fonteTitulo\":\"12 Negrito\",\"fonteItem\":\"10\"}");
  printtest::Recorders rec;
  print::TicketPreview preview = print::previewTeste(caixa, "QUELTA", kClock, rec.printers);
  EXPECT_EQ(preview.result, "OK");
  EXPECT_EQ(preview.target, "\\\\127.0.0.1\\Caixa");

  // What a print sends is what the preview holds.
  std::string result;
  print::printTeste(caixa, "QUELTA", result, rec.services(), kClock);
  EXPECT_EQ(preview.bytes, rec.share.record.bytes);

  // "tamanhoFolha" 40 chooses the 58 mm roll, where the 48-column lines of
  // "Outro" text do not fit.
  ASSERT_EQ(print::paperFor(print::ticketLayout(caixa).paperWidth), print::Paper::k58mm);
  print::PaperStrip strip = print::paperStrip(preview, print::Paper::k58mm);
  Lines broken;
  for (const print::StripLine& line : strip.lines) {
    if (line.wrapped) broken.push_back(line.runs.at(0).text);
  }
  EXPECT_EQ(broken, Lines({"        07/03/26", "        09:05:03", std::string(16, '_'),
                           "oes, Opcional descricao das opco", "es", "pcoes", "pcoes"}));
  EXPECT_EQ(strip.brokenLines, 6);
  EXPECT_EQ(print::widthNote(strip, print::Paper::k58mm),
            "6 linhas n\xe3o cabem no papel de 58 mm e continuam na linha de baixo (marcadas "
            "\xe0 esquerda).");
  // Fourteen lines, the two empty trailer lines, the cut and the line
  // ending after it.
  EXPECT_EQ(strip.lines.size(), 14u + 7u + 4u);

  // On 80 mm only the ticket's 66-character item line is too long.
  print::PaperStrip wide = print::paperStrip(preview, print::Paper::k80mm);
  EXPECT_EQ(wide.brokenLines, 1);
  EXPECT_EQ(wide.lines.size(), 14u + 1u + 4u);
}

TEST(TicketPreview, AWindowsPrinterPageIsLaidOutAsThePrintButNoJobStarts) {
  json::TJSONObject salao(
      "{\"name\":\"salao\",\"tipo\":\"Outro\",\"tipoTexto\":\"Outro\",\"numeroEnterFinal\":\"2\","
      "\"fonteTitulo\":\"16 Negrito\",\"fonteItem\":\"10\"}");
  // A short page, so that the ticket takes three.
  printtest::Recorders rec;
  rec.printers.list = {"Cozinha", "Salao"};
  rec.printers.page = {600, 260};
  std::string result;
  print::printTeste(salao, "QUELTA", result, rec.services(), kClock);
  ASSERT_EQ(result, "OK");
  Lines printed;
  for (const std::string& call : rec.printers.log) {
    if (call.rfind("text ", 0) == 0 || call == "page") printed.push_back(call);
  }

  printtest::RecordingPrinters measured;
  measured.list = rec.printers.list;
  measured.page = rec.printers.page;
  print::TicketPreview preview = print::previewTeste(salao, "QUELTA", kClock, measured);
  EXPECT_EQ(preview.result, "OK");
  EXPECT_EQ(preview.windowsPrinter, "Salao");
  Lines shown;
  for (size_t i = 0; i < preview.texts.size(); ++i) {
    const print::CanvasText& t = preview.texts[i];
    if (i > 0 && t.page != preview.texts[i - 1].page) shown.push_back("page");
    shown.push_back("text " + std::to_string(t.x) + " " + std::to_string(t.y) + " " + t.text);
  }
  EXPECT_EQ(shown, printed);
  EXPECT_EQ(preview.pages, 3);
  EXPECT_EQ(preview.texts.front().pointSize, 14);
  EXPECT_TRUE(preview.texts.front().bold);
  // The printer only measured: no document began, nothing was drawn.
  for (const std::string& call : measured.log) EXPECT_EQ(call.rfind("font ", 0), 0u) << call;
}

TEST(TicketPreview, HexDumpShowsOffsetsBytesAndPrintableCharacters) {
  EXPECT_EQ(print::hexDump(std::string("\x1b!\x28"
                                       "A\xe7\x81\r\n",
                                       8) +
                           std::string(10, 'x')),
            Lines({"0000  1B 21 28 41 E7 81 0D 0A  78 78 78 78 78 78 78 78  .!(A\xe7...xxxxxxxx",
                   "0010  78 78 " + std::string(44, ' ') + "xx"}));
}
