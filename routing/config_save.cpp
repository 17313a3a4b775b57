#include "routing/config_save.h"

#include "config/settings.h"

namespace routing {

void copyCategoryAssignments(json::TJSONArray& categories, const std::vector<CategoryRow>& rows) {
  std::vector<std::pair<json::TJSONObject*, const CategoryRow*>> assignments;
  for (int i = 0; i < categories.count(); ++i) {
    json::TJSONObject& record = categories.objectAt(i);
    const std::string name = record.textOf("name");
    const CategoryRow* last = nullptr;
    for (const CategoryRow& row : rows) {
      if (row.caption == name) last = &row;
    }
    if (last != nullptr) assignments.emplace_back(&record, last);
  }
  for (auto& [record, row] : assignments) record->setText("printer", row->printer);
}

void saveConfiguration(Tables& tables, const std::vector<CategoryRow>& categoryRows,
                       const std::string& appDir) {
  copyCategoryAssignments(*tables.categories, categoryRows);
  saveCategoria(tables, appDir);
  saveProduto(tables, appDir);
  saveImpressora(tables, appDir);
  config::raiseReload(appDir);
}

}  // namespace routing
