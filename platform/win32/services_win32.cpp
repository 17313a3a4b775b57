#include "net/http_client.h"
#include "platform/services.h"

namespace platform {

Services systemServices() {
  return {&systemServiceManager(), &systemClock(),    &systemShareOutput(),
          &systemEpsonLibrary(),   &systemPrinters(), &systemNetworkPrinters(),
          &systemProcess(),        &net::systemHttp()};
}

}  // namespace platform
