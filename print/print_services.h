// What a print job reaches, taken from the platform services of the program
// (or of a test).
#pragma once

#include "platform/services.h"
#include "print/print_documento.h"

namespace print {

inline PrintServices printServices(const platform::Services& services) {
  platform::Process* process = services.process;
  return {services.share, services.epson, services.printers,
          [process](int milliseconds) { process->pause(milliseconds); }};
}

}  // namespace print
