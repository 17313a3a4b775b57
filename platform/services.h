// Every platform service the program reaches beyond its own window, as one
// complete bundle: built once for the program (systemServices) and once for
// tests (the headless twins in tests/support), so no part of the program
// decides what a missing one would mean. None of the pointers is null.
#pragma once

#include "platform/clock.h"
#include "platform/epson_library.h"
#include "platform/network_printers.h"
#include "platform/printers.h"
#include "platform/process.h"
#include "platform/service_manager.h"
#include "platform/share_output.h"

namespace net {
class HttpConnector;
}

namespace platform {

struct Services {
  ServiceManager* serviceManager;  // the print service's control
  const Clock* clock;              // today's date and time
  ShareOutput* share;              // "Generic Text" printers' shares
  EpsonLibrary* epson;             // "EPSON DLL" printers
  Printers* printers;              // Windows printers
  NetworkPrinters* network;        // receipt printers asked over the network
  Process* process;                // launches, the pause after a print, the program's end
  net::HttpConnector* http;        // the HTTP clients: the cloud, the print service's endpoint
};

// The computer's own (Windows only; library quelta_system_services).
Services systemServices();

}  // namespace platform
