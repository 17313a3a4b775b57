#include <windows.h>
#include <winspool.h>

#include <vector>

#include "platform/error.h"
#include "platform/printers.h"
#include "platform/win32/file_time.h"

namespace platform {
namespace {

[[noreturn]] void printerError(const std::string& message) {
  throw quelta::Error("EPrinter", message);
}

// The document of one job on a printer's device context. Fonts are made by
// point size in the canvas's own face; the typeface is never chosen by the
// caller.
class GdiCanvas : public PrinterCanvas {
 public:
  GdiCanvas(HDC dc, std::string printerName) : dc_(dc), printerName_(std::move(printerName)) {
    SetMapMode(dc_, MM_TEXT);
    SetBkMode(dc_, TRANSPARENT);
    setFont(10, false);
  }

  ~GdiCanvas() override {
    if (inDoc_) AbortDoc(dc_);
    SelectObject(dc_, GetStockObject(SYSTEM_FONT));
    if (font_) DeleteObject(font_);
    DeleteDC(dc_);
  }

  void beginDoc(const std::string& title) override {
    DOCINFOA info{};
    info.cbSize = sizeof info;
    info.lpszDocName = title.c_str();
    if (StartDocA(dc_, &info) <= 0) failed("iniciar a impress\xe3o");
    inDoc_ = true;
    if (StartPage(dc_) <= 0) failed("iniciar a p\xe1gina");
    selectFont();
  }

  void setFont(int pointSize, bool bold) override {
    HFONT font = CreateFontA(-MulDiv(pointSize, GetDeviceCaps(dc_, LOGPIXELSY), 72), 0, 0, 0,
                             bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, kFace);
    if (!font) failed("criar a fonte");
    HFONT old = font_;
    font_ = font;
    selectFont();
    if (old) DeleteObject(old);
  }

  TextExtent textExtent(const std::string& text) override {
    SIZE size{};
    GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
    return {size.cx, size.cy};
  }

  int textHeight() override { return metrics().tmHeight; }
  int averageCharWidth() override { return metrics().tmAveCharWidth; }

  void drawText(int x, int y, const std::string& text) override {
    if (!TextOutA(dc_, x, y, text.data(), static_cast<int>(text.size())))
      failed("escrever na p\xe1gina");
  }

  PageSize pageSize() override {
    return {GetDeviceCaps(dc_, HORZRES), GetDeviceCaps(dc_, VERTRES)};
  }

  void newPage() override {
    if (EndPage(dc_) <= 0 || StartPage(dc_) <= 0) failed("mudar de p\xe1gina");
    selectFont();  // some drivers reset the device context with each page
  }

  void endDoc() override {
    if (EndPage(dc_) <= 0) failed("terminar a p\xe1gina");
    inDoc_ = false;
    if (EndDoc(dc_) <= 0) failed("terminar a impress\xe3o");
  }

  void abort() override {
    if (inDoc_) AbortDoc(dc_);
    inDoc_ = false;
  }

 private:
  // A TrueType face present on every Windows, so every size scales.
  static constexpr const char* kFace = "Arial";

  void selectFont() { SelectObject(dc_, font_); }

  TEXTMETRICA metrics() {
    TEXTMETRICA tm{};
    GetTextMetricsA(dc_, &tm);
    return tm;
  }

  [[noreturn]] void failed(const std::string& what) {
    DWORD code = GetLastError();
    printerError("N\xe3o foi poss\xedvel " + what + " na impressora \"" + printerName_ +
                 "\" (erro " + std::to_string(code) + ")");
  }

  HDC dc_;
  std::string printerName_;
  HFONT font_ = nullptr;
  bool inDoc_ = false;
};

class Win32Printers : public Printers {
 public:
  std::vector<std::string> installed() override {
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0, count = 0;
    EnumPrintersA(flags, nullptr, 4, nullptr, 0, &needed, &count);
    std::vector<std::string> names;
    if (needed == 0) return names;
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersA(flags, nullptr, 4, buffer.data(), needed, &needed, &count)) return names;
    auto* info = reinterpret_cast<PRINTER_INFO_4A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
      if (info[i].pPrinterName) names.emplace_back(info[i].pPrinterName);
    }
    return names;
  }

  std::string defaultPrinter() override {
    DWORD size = 0;
    GetDefaultPrinterA(nullptr, &size);
    if (size == 0) return {};
    std::string name(size, '\0');
    if (!GetDefaultPrinterA(name.data(), &size)) return {};
    name.resize(name.find('\0') == std::string::npos ? name.size() : name.find('\0'));
    return name;
  }

  std::unique_ptr<PrinterCanvas> openCanvas(const std::string& printerName) override {
    // Opening the printer first tells a wrong name apart from a driver that
    // cannot make a device context.
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<char*>(printerName.c_str()), &printer, nullptr)) {
      printerError("Impressora \"" + printerName + "\" n\xe3o encontrada (erro " +
                   std::to_string(GetLastError()) + ")");
    }
    ClosePrinter(printer);
    HDC dc = CreateDCA(nullptr, printerName.c_str(), nullptr, nullptr);
    if (!dc) {
      printerError("N\xe3o foi poss\xedvel abrir a impressora \"" + printerName + "\" (erro " +
                   std::to_string(GetLastError()) + ")");
    }
    return std::make_unique<GdiCanvas>(dc, printerName);
  }

  std::vector<SpoolerPrinter> spooler() override {
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0, count = 0;
    EnumPrintersA(flags, nullptr, 2, nullptr, 0, &needed, &count);
    std::vector<SpoolerPrinter> printers;
    if (needed == 0) return printers;
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersA(flags, nullptr, 2, buffer.data(), needed, &needed, &count)) return printers;
    auto* info = reinterpret_cast<PRINTER_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
      if (!info[i].pPrinterName) continue;
      SpoolerPrinter printer;
      printer.name = info[i].pPrinterName;
      if ((info[i].Attributes & PRINTER_ATTRIBUTE_SHARED) && info[i].pShareName)
        printer.shareName = info[i].pShareName;
      // A printer pooled over several ports names them all; the first stands
      // for it.
      if (info[i].pPortName) {
        const std::string ports = info[i].pPortName;
        printer.portName = ports.substr(0, ports.find(','));
      }
      const DWORD status = info[i].Status;
      printer.paused = status & PRINTER_STATUS_PAUSED;
      printer.error = status & (PRINTER_STATUS_ERROR | PRINTER_STATUS_PAPER_JAM);
      printer.offline = (status & PRINTER_STATUS_OFFLINE) ||
                        (info[i].Attributes & PRINTER_ATTRIBUTE_WORK_OFFLINE);
      printer.paperOut = status & PRINTER_STATUS_PAPER_OUT;
      printer.jobs = static_cast<int>(info[i].cJobs);
      if (printer.jobs > 0) printer.oldestJobUtc = oldestJob(printer.name);
      printers.push_back(printer);
    }
    return printers;
  }

 private:
  static int64_t oldestJob(const std::string& printerName) {
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<char*>(printerName.c_str()), &printer, nullptr)) return 0;
    DWORD needed = 0, count = 0;
    EnumJobsA(printer, 0, 1000, 1, nullptr, 0, &needed, &count);
    int64_t oldest = 0;
    std::vector<BYTE> buffer(needed);
    if (needed > 0 && EnumJobsA(printer, 0, 1000, 1, buffer.data(), needed, &needed, &count)) {
      auto* jobs = reinterpret_cast<JOB_INFO_1A*>(buffer.data());
      for (DWORD j = 0; j < count; ++j) {
        FILETIME file{};
        if (!SystemTimeToFileTime(&jobs[j].Submitted, &file)) continue;
        const int64_t utc = unixSeconds(file);
        if (oldest == 0 || utc < oldest) oldest = utc;
      }
    }
    ClosePrinter(printer);
    return oldest;
  }
};

}  // namespace

Printers& systemPrinters() {
  static Win32Printers printers;
  return printers;
}

}  // namespace platform
