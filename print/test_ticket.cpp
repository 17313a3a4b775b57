#include "print/test_ticket.h"

#include <cstdio>

#include "json/json_number.h"
#include "platform/error.h"
#include "print/print_document.h"
#include "routing/printer_record.h"

namespace print {
namespace {

// A count that comes out zero or negative gives no blanks.
std::string blanks(int count) { return std::string(count > 0 ? count : 0, ' '); }

// The headline and the spacers are whole lines with a font of their own,
// not lines of the printer's title or item font.
json::Value spacer() { return makeLine("", 1, "12"); }

std::string twoDigits(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", ((value % 100) + 100) % 100);
  return text;
}

}  // namespace

TicketLayout ticketLayout(const json::TJSONObject& printer) {
  TicketLayout layout{};
  using routing::TextFamily;
  layout.paperWidth =
      json::readInteger(routing::memberText(printer, &routing::PrinterSettings::tamanhoFolha));
  const TextFamily family = routing::textFamily(printer);
  const bool epson = family != TextFamily::Outro && family != TextFamily::None;
  const int w = layout.paperWidth;
  layout.lineWidth = epson ? w - 8 : w + 8;
  layout.titleCentre = family == TextFamily::Outro ? (w + 8) / 2 : (w - 16) / 2;
  return layout;
}

Document testeDocument(const json::TJSONObject& printer, const TicketLayout& layout,
                       const std::string& title, const platform::Clock& clock) {
  const platform::LocalDateTime now = clock.now();
  const int l = layout.lineWidth;
  const std::string name = printer.textOf("name");
  const int titleLength = static_cast<int>(title.size());
  const int nameLength = static_cast<int>(name.size());
  const char d = clock.dateSeparator(), t = clock.timeSeparator();
  const std::string date = twoDigits(now.day) + d + twoDigits(now.month) + d + twoDigits(now.year);
  const std::string time =
      twoDigits(now.hour) + t + twoDigits(now.minute) + t + twoDigits(now.second);

  Document document = json::make<json::TJSONArray>();
  document->add(makeLine(blanks(layout.titleCentre - titleLength / 2) + title, 0, "14 Negrito"));
  document->add(spacer());
  document->add(makeLinha(blanks((l - nameLength) / 2) + name, 0, printer));
  document->add(makeLinha("Mesa: 0" + blanks(l - 15) + date, 0, printer));
  document->add(makeLinha("Cartao: 0" + blanks(l - 17) + time, 0, printer));
  document->add(makeLinha(std::string(l > 0 ? l : 0, '_'), 0, printer));
  document->add(spacer());
  document->add(makeLinha("ITEM 1 DESCRICAO", 1, printer));
  document->add(
      makeLinha("   >> Opcional descricao das opcoes, Opcional descricao das opcoes", 1, printer));
  document->add(makeLinha("------------------------", 1, printer));
  document->add(makeLinha("ITEM 2 DESCRICAO", 1, printer));
  document->add(makeLinha("   >> Opcional 1 descricao das opcoes", 1, printer));
  document->add(makeLinha("   >> Opcional 2 descricao das opcoes", 1, printer));
  document->add(spacer());
  return document;
}

void printTeste(const json::TJSONObject& printer, const std::string& title, std::string& result,
                const PrintServices& services, const platform::Clock& clock) {
  const TicketLayout layout = ticketLayout(printer);
  try {
    Document document = testeDocument(printer, layout, title, clock);
    printDocumento(printer, *document, result, services);
  } catch (const quelta::Error& e) {
    result = "Erro na impressao: " + quelta::describe(e);
  }
}

}  // namespace print
