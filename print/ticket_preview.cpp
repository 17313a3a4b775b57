#include "print/ticket_preview.h"

#include <cstdio>

#include "print/print_documento.h"
#include "print/test_ticket.h"

namespace print {
namespace {

// ---- the share, as a buffer ---------------------------------------------

class BufferChannel : public platform::OutputChannel {
 public:
  explicit BufferChannel(std::string& bytes) : bytes_(bytes) {}
  void write(const std::string& bytes) override { bytes_ += bytes; }
  void close() override {}

 private:
  std::string& bytes_;
};

class MemoryShare : public platform::ShareOutput {
 public:
  explicit MemoryShare(TicketPreview& preview) : preview_(preview) {}
  std::unique_ptr<platform::OutputChannel> openNew(const std::string& path) override {
    preview_.sink = TicketPreview::Sink::Share;
    preview_.target = path;
    preview_.bytes.clear();  // a new file, as the share is opened
    return std::make_unique<BufferChannel>(preview_.bytes);
  }

 private:
  TicketPreview& preview_;
};

// ---- the Epson library, as a list of calls ------------------------------

// Every call succeeds: the preview shows what a working printer receives.
class MemoryEpson : public platform::EpsonLibrary {
 public:
  explicit MemoryEpson(TicketPreview& preview) : preview_(preview) {}
  int IniciaPorta(const std::string& port) override { return record({"IniciaPorta", port, 0}); }
  int ImprimeTextoTag(const std::string& text) override {
    return record({"ImprimeTextoTag", text, 0});
  }
  int AcionaGuilhotina(int mode) override { return record({"AcionaGuilhotina", "", mode}); }
  int FechaPorta() override { return record({"FechaPorta", "", 0}); }
  int Habilita_Log(int enable, const std::string& directory) override {
    return record({"Habilita_Log", directory, enable});
  }
  std::vector<std::string> missingFunctions() override { return {}; }

 private:
  int record(LibraryCall call) {
    preview_.sink = TicketPreview::Sink::EpsonLibrary;
    preview_.library.push_back(std::move(call));
    return 1;
  }
  TicketPreview& preview_;
};

// ---- the Windows printer, measured but never drawn on ---------------------

// Takes every measurement from the real printer's canvas, so lines break
// and pages end where the print's would, and keeps what would be drawn.
// The real canvas never begins a document: no job reaches the spooler.
class CapturingCanvas : public platform::PrinterCanvas {
 public:
  CapturingCanvas(std::unique_ptr<platform::PrinterCanvas> measure, TicketPreview& preview)
      : measure_(std::move(measure)), preview_(preview) {}

  void beginDoc(const std::string&) override {
    preview_.page = measure_->pageSize();
    preview_.pages = 1;
  }
  void setFont(int pointSize, bool bold) override {
    measure_->setFont(pointSize, bold);
    pointSize_ = pointSize;
    bold_ = bold;
  }
  platform::TextExtent textExtent(const std::string& text) override {
    return measure_->textExtent(text);
  }
  int textHeight() override { return measure_->textHeight(); }
  int averageCharWidth() override { return measure_->averageCharWidth(); }
  void drawText(int x, int y, const std::string& text) override {
    preview_.texts.push_back(
        {preview_.pages - 1, x, y, measure_->textHeight(), pointSize_, bold_, text});
  }
  platform::PageSize pageSize() override { return measure_->pageSize(); }
  void newPage() override { ++preview_.pages; }
  void endDoc() override {}
  void abort() override {}

 private:
  std::unique_ptr<platform::PrinterCanvas> measure_;
  TicketPreview& preview_;
  int pointSize_ = 0;
  bool bold_ = false;
};

class CapturingPrinters : public platform::Printers {
 public:
  CapturingPrinters(platform::Printers& installed, TicketPreview& preview)
      : installed_(installed), preview_(preview) {}
  std::vector<std::string> installed() override { return installed_.installed(); }
  std::string defaultPrinter() override { return installed_.defaultPrinter(); }
  std::vector<platform::SpoolerPrinter> spooler() override { return installed_.spooler(); }
  std::unique_ptr<platform::PrinterCanvas> openCanvas(const std::string& printerName) override {
    preview_.sink = TicketPreview::Sink::WindowsPrinter;
    preview_.windowsPrinter = printerName;
    return std::make_unique<CapturingCanvas>(installed_.openCanvas(printerName), preview_);
  }

 private:
  platform::Printers& installed_;
  TicketPreview& preview_;
};

}  // namespace

TicketPreview previewTeste(const json::TJSONObject& printer, const std::string& title,
                           const platform::Clock& clock, platform::Printers& printers) {
  TicketPreview preview;
  MemoryShare share(preview);
  MemoryEpson epson(preview);
  CapturingPrinters windows(printers, preview);
  // No pause: nobody waits for a printer here.
  const PrintServices services{&share, &epson, &windows, {}};
  printTeste(printer, title, preview.result, services, clock);
  return preview;
}

std::string previewDestination(const TicketPreview& preview) {
  switch (preview.sink) {
    case TicketPreview::Sink::Share:
      return "Destino: " + preview.target;
    case TicketPreview::Sink::EpsonLibrary:
      for (const LibraryCall& call : preview.library) {
        if (call.function == "IniciaPorta") return "Porta: " + call.text;
      }
      break;
    case TicketPreview::Sink::WindowsPrinter:
      return "Impressora: " + preview.windowsPrinter;
    case TicketPreview::Sink::None:
      break;
  }
  return "";
}

std::vector<std::string> hexDump(const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::vector<std::string> lines;
  for (size_t at = 0; at < bytes.size(); at += 16) {
    char offset[16];
    std::snprintf(offset, sizeof offset, "%04X ", static_cast<unsigned>(at));
    std::string hex = offset, text;
    for (size_t i = at; i < at + 16; ++i) {
      if (i % 8 == 0) hex += ' ';
      if (i >= bytes.size()) {
        hex += "   ";
        continue;
      }
      const auto byte = static_cast<unsigned char>(bytes[i]);
      hex += {kDigits[byte >> 4], kDigits[byte & 15], ' '};
      // Windows-1252 text: 0x80..0x9F and the ASCII controls print as dots.
      const bool printable = (byte >= 0x20 && byte < 0x7F) || byte >= 0xA0;
      text += printable ? static_cast<char>(byte) : '.';
    }
    lines.push_back(hex + ' ' + text);
  }
  return lines;
}

std::vector<std::string> previewListing(const TicketPreview& preview) {
  std::vector<std::string> lines;
  auto add = [&lines](const std::vector<std::string>& more) {
    lines.insert(lines.end(), more.begin(), more.end());
  };
  switch (preview.sink) {
    case TicketPreview::Sink::None:
      break;
    case TicketPreview::Sink::Share:
      lines.push_back(preview.target + ": " + std::to_string(preview.bytes.size()) + " bytes");
      add(hexDump(preview.bytes));
      break;
    case TicketPreview::Sink::EpsonLibrary:
      for (const LibraryCall& call : preview.library) {
        if (call.function == "ImprimeTextoTag") {
          lines.push_back(call.function + ": " + std::to_string(call.text.size()) + " caracteres");
          add(hexDump(call.text));
        } else if (call.function == "IniciaPorta") {
          lines.push_back(call.function + "(\"" + call.text + "\")");
        } else if (call.function == "AcionaGuilhotina") {
          lines.push_back(call.function + "(" + std::to_string(call.number) + ")");
        } else {
          lines.push_back(call.function + "()");
        }
      }
      break;
    case TicketPreview::Sink::WindowsPrinter:
      lines.push_back(preview.windowsPrinter + ": " + std::to_string(preview.pages) +
                      (preview.pages == 1 ? " p\xe1gina" : " p\xe1ginas"));
      for (const CanvasText& t : preview.texts) {
        char place[64];
        std::snprintf(place, sizeof place, "p%d y=%-5d %2d pt %s ", t.page + 1, t.y, t.pointSize,
                      t.bold ? "negrito" : "normal ");
        lines.push_back(place + t.text);
      }
      break;
  }
  return lines;
}

}  // namespace print
