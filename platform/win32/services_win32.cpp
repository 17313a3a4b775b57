#include "platform/services.h"

namespace platform {

Services systemServices() {
  return {&systemServiceManager(), &systemClock(),    &systemShareOutput(),
          &systemEpsonLibrary(),   &systemPrinters(), &systemProcess()};
}

}  // namespace platform
