// The test ticket as the printer would receive it, shown before any paper
// is used. It is made by printTeste itself, through the same back-ends as a
// print; only the last step is kept in memory: no share is written, no
// Epson port is opened, no job reaches a Windows printer, no pause follows
// and nothing is logged.
#pragma once

#include <string>
#include <vector>

#include "json/json.h"
#include "platform/clock.h"
#include "platform/printers.h"

namespace print {

// One call the Epson back-end made to the library.
struct LibraryCall {
  std::string function;
  std::string text;  // the text argument, if any
  int number = 0;    // the integer argument, if any
  bool operator==(const LibraryCall&) const = default;
};

// One text the Windows-printer back-end drew, in the printer's device units.
struct CanvasText {
  int page = 0;  // 0 for the first page
  int x = 0;
  int y = 0;
  int height = 0;  // the font's character height
  int pointSize = 0;
  bool bold = false;
  std::string text;
};

struct TicketPreview {
  // What the back-end chosen by the printer's "tipo" reached; None when the
  // job failed before it opened its output.
  enum class Sink { None, Share, EpsonLibrary, WindowsPrinter };
  Sink sink = Sink::None;
  std::string result;  // what the print engine would answer: "OK" or "Erro na impressao: ..."

  // "Generic Text": where the bytes would go, and the bytes.
  std::string target;
  std::string bytes;

  // "EPSON DLL": the library's calls in order, the chunks as it receives them.
  std::vector<LibraryCall> library;

  // Any other type: the Windows printer chosen, its printable area and
  // what the job would draw on it.
  std::string windowsPrinter;
  platform::PageSize page;
  int pages = 0;
  std::vector<CanvasText> texts;
};

// Builds and "prints" the test ticket of `printer` headed by `title` at
// the clock's time. `printers` are the installed Windows printers: the
// Windows-printer back-end chooses among them and measures text with the
// chosen printer's fonts, but draws nothing on it. Raises what printTeste
// raises (a paper width that is no integer, a printer without
// "tipoTexto").
TicketPreview previewTeste(const json::TJSONObject& printer, const std::string& title,
                           const platform::Clock& clock, platform::Printers& printers);

// The output as text, for a side panel: the bytes for the share as a hex
// dump, the library's calls with each chunk dumped, or the texts of the
// pages with their positions and fonts.
std::vector<std::string> previewListing(const TicketPreview& preview);

// Where the ticket would go: "Destino: " and the share, "Porta: " and the
// Epson port, or "Impressora: " and the Windows printer chosen.
std::string previewDestination(const TicketPreview& preview);

// 16 bytes a line: offset, the bytes in hexadecimal, the printable ones as
// characters ("." for control bytes).
std::vector<std::string> hexDump(const std::string& bytes);

}  // namespace print
