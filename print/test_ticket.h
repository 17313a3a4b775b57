// The test ticket the tool prints itself: a fixed, order-like ticket laid
// out for the printer's paper width and text family, printed through the
// print engine.
#pragma once

#include <string>

#include "json/json.h"
#include "platform/clock.h"
#include "print/print_documento.h"

namespace print {

// Widths of the ticket, in characters.
struct TicketLayout {
  int paperWidth;   // W: "tamanhoFolha", or 40 without the key
  int lineWidth;    // L: W - 8 on the Epson families, W + 8 on any other
  int titleCentre;  // C: (W + 8) / 2 on "Outro", (W - 16) / 2 on any other
};

// Reads "tamanhoFolha" (when present) and "tipoTexto" (always) of the
// printer. Raises ConvertError for a paper width that is no integer and the
// not-found error for a printer without "tipoTexto".
TicketLayout ticketLayout(const json::TJSONObject& printer);

using Document = std::unique_ptr<json::TJSONArray, json::ValueDeleter>;

// The fourteen lines of the ticket for `printer`, headed by `title` and
// stamped with the clock's date ("dd/mm/yy") and time ("HH:MM:SS"), each
// joined by the clock's separator, ending exactly at column L. Raises what
// the line builder raises (a printer without its font specs).
Document testeDocument(const json::TJSONObject& printer, const TicketLayout& layout,
                       const std::string& title, const platform::Clock& clock);

// printTeste: builds the ticket and prints it; `result` receives the print
// engine's result, or "Erro na impressao: <class> - <message>" when the
// ticket could not be built. Only the layout's errors leave this routine.
void printTeste(const json::TJSONObject& printer, const std::string& title, std::string& result,
                const PrintServices& services, const platform::Clock& clock);

}  // namespace print
