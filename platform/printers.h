// The Windows printers installed on this computer, and a print job on one
// of them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/printer_canvas.h"

namespace platform {

// What the Windows spooler tells of one installed printer.
struct SpoolerPrinter {
  std::string name;
  std::string shareName;  // empty when the printer is not shared
  std::string portName;   // the port it prints to ("USB001", "IP_192.168.0.50")
  bool paused = false;
  bool error = false;
  bool offline = false;
  bool paperOut = false;
  int jobs = 0;  // waiting in its queue
  // When the oldest waiting job was sent, in seconds since 1970-01-01 UTC;
  // 0 when none waits or the spooler does not say.
  int64_t oldestJobUtc = 0;
};

class Printers {
 public:
  virtual ~Printers() = default;
  // Names as the system lists them: local printers and printer connections.
  virtual std::vector<std::string> installed() = 0;
  // Empty when the system has no default printer.
  virtual std::string defaultPrinter() = 0;
  // The canvas of a new job on the named printer; quelta::Error when the
  // printer cannot be opened.
  virtual std::unique_ptr<PrinterCanvas> openCanvas(const std::string& printerName) = 0;
  // Every installed printer with its share name and its queue's state;
  // nothing is sent to any printer.
  virtual std::vector<SpoolerPrinter> spooler() = 0;
};

Printers& systemPrinters();

}  // namespace platform
