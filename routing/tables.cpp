#include "routing/tables.h"

#include "platform/files.h"
#include "routing/config_file.h"

namespace routing {
namespace {

bool readInto(std::unique_ptr<json::TJSONArray>& table, const std::string& path) {
  if (!platform::fileExists(path)) {
    table = std::make_unique<json::TJSONArray>();
    return false;
  }
  table = readTableFile(path);
  return true;
}

}  // namespace

bool readImpressora(Tables& tables, const std::string& appDir) {
  return readInto(tables.printers, appFile(appDir, kPrinterFile));
}

bool readCategoria(Tables& tables, const std::string& appDir) {
  return readInto(tables.categories, appFile(appDir, kCategoryFile));
}

bool readProduto(Tables& tables, const std::string& appDir) {
  return readInto(tables.products, appFile(appDir, kProductFile));
}

bool readCartao(Tables& tables, const std::string& appDir) {
  auto cards = readOptionalTableFile(appFile(appDir, kCardFile));
  if (!cards) return false;
  tables.cards = std::move(cards);
  return true;
}

void saveImpressora(const Tables& tables, const std::string& appDir) {
  writeTableFile(appFile(appDir, kPrinterFile), *tables.printers);
}

void saveCategoria(const Tables& tables, const std::string& appDir) {
  writeTableFile(appFile(appDir, kCategoryFile), *tables.categories);
}

void saveProduto(const Tables& tables, const std::string& appDir) {
  writeTableFile(appFile(appDir, kProductFile), *tables.products);
}

}  // namespace routing
