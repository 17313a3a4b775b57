// Every platform service the program reaches beyond its own window, as one
// complete bundle: built once for the program (systemServices) and once for
// tests (the headless twins in tests/support), so no part of the program
// decides what a missing one would mean. None of the pointers is null.
#pragma once

#include "platform/clock.h"
#include "platform/epson_library.h"
#include "platform/printers.h"
#include "platform/process.h"
#include "platform/service_manager.h"
#include "platform/share_output.h"

namespace platform {

struct Services {
  ServiceManager* serviceManager;  // the print service's control
  const Clock* clock;              // today's date and time
  ShareOutput* share;              // "Generic Text" printers' shares
  EpsonLibrary* epson;             // "EPSON DLL" printers
  Printers* printers;              // Windows printers
  Process* process;                // launches, the pause after a print, the program's end
};

// The computer's own (Windows only).
Services systemServices();

}  // namespace platform
