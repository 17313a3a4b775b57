#include "service/service_endpoint.h"

#include "json/json.h"
#include "net/http_client.h"
#include "platform/text_locale.h"

namespace service {

bool requestTestPrint(net::HttpFetcher& http, int position) {
  json::TJSONObject reply(
      http.getText(kServiceTestUrl + std::to_string(position), kServicePrintTimeouts));
  return reply.boolOf("success");
}

void postLoadTestOrder(const std::string& order, const std::string& url) {
  try {
    net::HttpClient client;
    client.post(url, platform::ansiToUtf8(order), kServiceTimeouts);
    client.disconnect();
  } catch (...) {
    // A load-test order that fails is not reported to anyone.
  }
}

}  // namespace service
