// No Windows printers exist off Windows: the list is empty and a print job
// cannot be opened.
#include "platform/error.h"
#include "platform/printers.h"

namespace platform {
namespace {

class NoPrinters : public Printers {
 public:
  std::vector<std::string> installed() override { return {}; }
  std::string defaultPrinter() override { return {}; }
  std::unique_ptr<PrinterCanvas> openCanvas(const std::string& printerName) override {
    throw quelta::Error("EPrinter", "Impressora \"" + printerName + "\" n\xe3o encontrada");
  }
  std::vector<SpoolerPrinter> spooler() override { return {}; }
};

}  // namespace

Printers& systemPrinters() {
  static NoPrinters printers;
  return printers;
}

}  // namespace platform
