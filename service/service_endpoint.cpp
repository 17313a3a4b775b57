#include "service/service_endpoint.h"

#include "json/json.h"
#include "platform/text_locale.h"

namespace service {

bool requestTestPrint(net::HttpFetcher& http, int position) {
  json::TJSONObject reply(
      http.getText(kServiceTestUrl + std::to_string(position), kServicePrintTimeouts));
  return reply.boolOf("success");
}

void postLoadTestOrder(const std::string& order, const std::string& url, net::HttpConnector& http,
                       std::stop_token stop) {
  try {
    std::unique_ptr<net::HttpFetcher> client = http.open(std::move(stop));
    client->post(url, platform::ansiToUtf8(order), kServiceTimeouts);
    client->disconnect();
  } catch (...) {
    // A load-test order that fails is not reported to anyone.
  }
}

}  // namespace service
