// The printer table: its records, the rows of the printer list, adding and
// removing printers.
#pragma once

#include <string>
#include <vector>

#include "host/outcome.h"
#include "json/json.h"
#include "routing/printer_record.h"
#include "routing/tables.h"

namespace routing {

inline constexpr char kNoPrinterSelected[] = "Nenhuma impressora selecionada";

// One row of lvImpressora, in table order.
struct PrinterRow {
  std::string caption;  // "name"
  std::string tipo;     // "tipo", "Generic Text" when missing
  std::string padrao;   // "padrao", "Não" when missing
};

// The rows of the printer list (loadImpressora). A record without "name"
// raises the library's not-found error.
std::vector<PrinterRow> printerRows(const json::TJSONArray& printers);

// A printer caption without the old default mark " *(Padrao)*", every
// occurrence in any letter case.
std::string withoutDefaultMark(const std::string& caption);

// The record of a newly added printer: the default settings, the default
// role only for the first printer of the table.
std::unique_ptr<json::TJSONObject, json::ValueDeleter> newPrinterRecord(const std::string& name,
                                                                        bool firstPrinter);

// "Adicionar": appends a printer with default settings under the name the
// printer dialog gave, exactly as given. The same printer may be added twice.
host::Outcome addPrinter(Tables& tables, const std::string& name);

// "Remover" on the printer list row `selectedRow` (-1: none). The default
// role passes to the first remaining printer; categories routed to the
// removed printer lose their printer; products keep theirs. Either all of
// it happens or, when a record is not readable, nothing does.
host::Outcome removePrinter(Tables& tables, int selectedRow);

}  // namespace routing
