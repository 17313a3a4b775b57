#include "routing/printer_table.h"

#include <algorithm>
#include <cctype>

#include "json/value_copy.h"

namespace routing {

std::vector<PrinterRow> printerRows(const json::TJSONArray& printers) {
  const char* tipo = printerField(&PrinterSettings::tipo).key;
  const char* padrao = printerField(&PrinterSettings::padrao).key;
  std::vector<PrinterRow> rows;
  for (int i = 0; i < printers.count(); ++i) {
    const json::TJSONObject& record = printers.objectAt(i);
    PrinterRow row;
    row.caption = record.textOf("name");
    row.tipo = record.contains(tipo) ? record.textOf(tipo) : kGenericText;
    row.padrao = record.contains(padrao) ? record.textOf(padrao) : kNao;
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string withoutDefaultMark(const std::string& caption) {
  static const std::string mark = " *(padrao)*";
  std::string out;
  size_t i = 0;
  while (i < caption.size()) {
    bool match = caption.size() - i >= mark.size();
    for (size_t k = 0; match && k < mark.size(); ++k) {
      match = std::tolower(static_cast<unsigned char>(caption[i + k])) == mark[k];
    }
    if (match) {
      i += mark.size();
    } else {
      out += caption[i++];
    }
  }
  return out;
}

std::unique_ptr<json::TJSONObject, json::ValueDeleter> newPrinterRecord(const std::string& name,
                                                                        bool firstPrinter) {
  // Stored member by member, so any name (quotes and backslashes included)
  // is kept exactly.
  auto record = json::make<json::TJSONObject>();
  record->setText("name", name);
  std::vector<const PrinterField*> defaults;
  for (const PrinterField& field : printerFields()) {
    if (field.newValue) defaults.push_back(&field);
  }
  std::ranges::sort(defaults, {}, &PrinterField::newPosition);
  for (const PrinterField* field : defaults) record->setText(field->key, field->newValue);
  if (firstPrinter) record->setText(printerField(&PrinterSettings::padrao).key, kSim);
  return record;
}

host::Outcome addPrinter(Tables& tables, const std::string& name) {
  tables.printers->add(newPrinterRecord(name, tables.printers->count() == 0));
  return {"", host::kRefillPrinterList | host::kRefillProductPrinterChoice};
}

host::Outcome removePrinter(Tables& tables, int selectedRow) {
  json::TJSONArray& printers = *tables.printers;
  if (selectedRow < 0 || selectedRow >= printers.count()) return {kNoPrinterSelected};

  const char* padrao = printerField(&PrinterSettings::padrao).key;
  const json::TJSONObject& removed = printers.objectAt(selectedRow);
  const std::string name = removed.textOf("name");
  const bool wasDefault = removed.textOf(padrao) == kSim;

  auto remaining = std::make_unique<json::TJSONArray>();
  for (int i = 0; i < printers.count(); ++i) {
    if (i != selectedRow) remaining->add(json::copyValue(printers.find(i)));
  }
  if (remaining->count() > 0 && wasDefault) remaining->objectAt(0).setText(padrao, kSim);

  // Everything that can fail is read before anything changes.
  std::vector<json::TJSONObject*> routedHere;
  for (int i = 0; i < tables.categories->count(); ++i) {
    json::TJSONObject& category = tables.categories->objectAt(i);
    if (category.contains("printer") && category.textOf("printer") == name) {
      routedHere.push_back(&category);
    }
  }

  tables.printers = std::move(remaining);
  for (json::TJSONObject* category : routedHere) category->setText("printer", "");
  return {"",
          host::kRefillPrinterList | host::kRefillCategoryList | host::kRefillProductPrinterChoice};
}

}  // namespace routing
