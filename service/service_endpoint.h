// The print service's local endpoint, plain HTTP on this computer, and the
// requests the tool makes of it: the status query of the log screen, the
// test print of the test box and the load test's order posts.
#pragma once

#include <stop_token>
#include <string>

#include "net/http_client.h"

namespace service {

inline constexpr char kServiceEndpoint[] = "http://127.0.0.1:7777";
inline constexpr char kStatusUrl[] = "http://127.0.0.1:7777?status";
inline constexpr char kServiceTestUrl[] = "http://127.0.0.1:7777?teste=";

// The service answers at once or not at all, and the log screen asks it
// every ten seconds, so a hung service must not hold anyone long: a refresh
// is over before the next tick.
inline constexpr net::Timeouts kServiceTimeouts{3000, 5, 8000};
// It answers a test print only once the printer has printed it, which a
// slow printer or spooler can take long over.
inline constexpr net::Timeouts kServicePrintTimeouts{3000, 60, 63000};

// Asks the service to print its test ticket on the printer at `position`
// (0-based) of the printer list: the reply's "success". A failed request,
// a reply that is not a JSON object or has no boolean "success" raises.
// The client is left connected.
bool requestTestPrint(net::HttpFetcher& http, int position);

// One load-test worker's request: a fresh HTTP client of `http` posts the
// order, encoded as UTF-8, to the service's endpoint over HTTP/1.0 and is
// disconnected and destroyed afterwards; `stop` cuts it off. The reply is
// discarded and a failure is swallowed: nobody is told how a load-test
// order ended.
void postLoadTestOrder(const std::string& order, const std::string& url = kServiceEndpoint,
                       net::HttpConnector& http = net::systemHttp(), std::stop_token stop = {});

}  // namespace service
