#include "routing/tables.h"

#include "config/config_file.h"
#include "platform/files.h"

namespace routing {
namespace {

bool readInto(std::unique_ptr<json::TJSONArray>& table, const std::string& path) {
  if (!platform::fileExists(path)) {
    table = std::make_unique<json::TJSONArray>();
    return false;
  }
  table = config::readTableFile(path);
  return true;
}

}  // namespace

bool readImpressora(Tables& tables, const std::string& appDir) {
  return readInto(tables.printers, config::appFile(appDir, config::kPrinterFile));
}

bool readCategoria(Tables& tables, const std::string& appDir) {
  return readInto(tables.categories, config::appFile(appDir, config::kCategoryFile));
}

bool readProduto(Tables& tables, const std::string& appDir) {
  return readInto(tables.products, config::appFile(appDir, config::kProductFile));
}

bool readCartao(Tables& tables, const std::string& appDir) {
  auto cards = config::readOptionalTableFile(config::appFile(appDir, config::kCardFile));
  if (!cards) return false;
  tables.cards = std::move(cards);
  return true;
}

void saveImpressora(const Tables& tables, const std::string& appDir) {
  config::writeTableFile(config::appFile(appDir, config::kPrinterFile), *tables.printers);
}

void saveCategoria(const Tables& tables, const std::string& appDir) {
  config::writeTableFile(config::appFile(appDir, config::kCategoryFile), *tables.categories);
}

void saveProduto(const Tables& tables, const std::string& appDir) {
  config::writeTableFile(config::appFile(appDir, config::kProductFile), *tables.products);
}

}  // namespace routing
