#include "cloud/catalog_sync.h"

#include <memory>

#include "config/config_file.h"
#include "net/disconnect_guard.h"
#include "net/http_client.h"

namespace cloud {
namespace {

// The reply's "data" array, taken out of the reply. The accessor checks
// first, so a missing or mistyped member fails with the library's error.
std::unique_ptr<json::TJSONArray> takeData(json::TJSONObject& reply) {
  reply.arrayOf("data");
  json::Value data = reply.take("data");
  auto* array = dynamic_cast<json::TJSONArray*>(data.get());
  if (!array) throw json::ClassCastException("data is not a TJSONArray");
  data.release();
  return std::unique_ptr<json::TJSONArray>(array);
}

void writeCardFile(const std::string& appDir, const json::TJSONArray& cards) {
  config::writeTableFile(config::appFile(appDir, config::kCardFile), cards);
}

}  // namespace

std::string categoriesUrl(const std::string& base, const std::string& token) {
  return base + "/categorias?token=" + token + "&all=1";
}

std::string cardsUrl(const std::string& base, const std::string& token) {
  return base + "/configuracoes/cartoes-auxiliares?token=" + token;
}

void mergePrinters(const json::TJSONArray& saved, json::TJSONArray& downloaded) {
  for (int i = 0; i < downloaded.count(); ++i) {
    json::TJSONObject& fresh = downloaded.objectAt(i);
    for (int j = 0; j < saved.count(); ++j) {
      const json::TJSONObject& old = saved.objectAt(j);
      if (fresh.intOf("id") == old.intOf("id") && old.contains("printer")) {
        fresh.setText("printer", old.textOf("printer"));
      }
    }
  }
}

bool getCategoria(CloudContext& context) {
  net::DisconnectGuard disconnect(context.http);
  std::string url = categoriesUrl(context.endpoints.select(context.token), context.token);
  // Always UTF-8, whatever charset the reply declares.
  json::TJSONObject reply(net::utf8ToAnsiText(context.http.getStream(url)));
  if (!reply.boolOf("success")) {
    context.prompts.showMessage(reply.textOf("message"));
    return false;
  }
  std::unique_ptr<json::TJSONArray> categories = takeData(reply);
  if (context.tables.categories) mergePrinters(*context.tables.categories, *categories);
  config::writeTableFile(config::appFile(context.appDir, config::kCategoryFile), *categories);
  context.tables.categories = std::move(categories);
  context.refill |= host::kRefillCategoryList;
  return true;
}

bool getCartao(CloudContext& context) {
  net::DisconnectGuard disconnect(context.http);
  std::string url = cardsUrl(context.endpoints.select(context.token), context.token);
  json::TJSONObject reply(context.http.getText(url));
  if (!reply.boolOf("success")) {
    context.prompts.showMessage(reply.textOf("message"));
    return false;
  }
  std::unique_ptr<json::TJSONArray> cards = takeData(reply);
  writeCardFile(context.appDir, *cards);
  context.tables.cards = std::move(cards);
  return true;
}

void saveCartao(const routing::Tables& tables, const std::string& appDir) {
  if (tables.cards) writeCardFile(appDir, *tables.cards);
}

bool updateCatalog(CloudContext& context) {
  if (!getCategoria(context)) return false;
  return getCartao(context);
}

}  // namespace cloud
