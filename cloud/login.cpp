#include "cloud/login.h"

#include "cloud/catalog_sync.h"
#include "config/settings.h"
#include "json/json.h"
#include "net/disconnect_guard.h"

namespace cloud {

std::string encodeCredential(const std::string& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (char c : text) {
    unsigned char byte = static_cast<unsigned char>(c);
    bool kept = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                (byte >= '0' && byte <= '9');
    for (char safe : std::string_view("*@._-$!'()")) kept = kept || c == safe;
    if (kept) {
      encoded += c;
    } else if (c == ' ') {
      encoded += '+';
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 15];
    }
  }
  return encoded;
}

std::string loginUrl(const std::string& base, const std::string& user,
                     const std::string& password) {
  return base + "/token?username=" + encodeCredential(user) +
         "&password=" + encodeCredential(password);
}

LoginOutcome login(CloudContext& context, const std::string& user, const std::string& password) {
  net::DisconnectGuard disconnect(context.http);
  // The endpoint is chosen by the token held now: empty at the first
  // attempt, the previous reply's token at a later one in the same run.
  std::string base = context.endpoints.select(context.token);
  json::TJSONObject reply(context.http.getText(loginUrl(base, user, password)));
  if (!reply.boolOf("success")) {
    context.prompts.showMessage(reply.textOf("message"));
    return LoginOutcome::kRefused;
  }
  context.token = reply.objectOf("data").textOf("token");
  if (!getCategoria(context)) return LoginOutcome::kCatalogFailed;
  // Only a token whose catalog came through is kept for the next start.
  config::storeToken(context.appDir, context.token);
  context.showLogScreen();
  getCartao(context);
  return LoginOutcome::kLoggedIn;
}

}  // namespace cloud
