// The Windows printers installed on this computer, and a print job on one
// of them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/printer_canvas.h"

namespace platform {

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
};

Printers& systemPrinters();

}  // namespace platform
