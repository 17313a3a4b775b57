#include "routing/category_routing.h"

#include "routing/sorted_rows.h"

namespace routing {

std::vector<CategoryRow> categoryRows(const json::TJSONArray& categories) {
  std::vector<CategoryRow> rows;
  for (int i = 0; i < categories.count(); ++i) {
    const json::TJSONObject& record = categories.objectAt(i);
    CategoryRow row;
    row.caption = record.textOf("name");
    if (record.contains("printer")) row.printer = record.textOf("printer");
    rows.push_back(std::move(row));
  }
  sortByCaption(rows);
  return rows;
}

std::vector<std::string> printerPopupEntries(const std::vector<PrinterRow>& printerRows) {
  std::vector<std::string> entries;
  for (const PrinterRow& row : printerRows) entries.push_back(withoutDefaultMark(row.caption));
  return entries;
}

CategoryPick pickPrinterFor(const std::vector<PrinterRow>& printerRows) {
  if (printerRows.empty()) return {kNoPrinterAdded, {}};
  return {"", printerPopupEntries(printerRows)};
}

void assignPrinter(std::vector<CategoryRow>& rows, int row, const std::string& entry) {
  if (row >= 0 && row < static_cast<int>(rows.size())) rows[row].printer = entry;
}

}  // namespace routing
