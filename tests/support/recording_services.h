// The headless twins of the platform services, one of each, for every test:
// they keep every call in order and can be told to fail. Recorders bundles
// them as the program's platform::Services.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/epson_library.h"
#include "platform/error.h"
#include "platform/network_printers.h"
#include "platform/printers.h"
#include "platform/process.h"
#include "platform/services.h"
#include "platform/share_output.h"
#include "print/print_services.h"
#include "tests/support/fake_service_manager.h"
#include "tests/support/scripted_connector.h"

namespace printtest {

// ---- share output ------------------------------------------------------

struct ShareRecord {
  std::vector<std::string> opened;  // paths, in order
  std::string bytes;                // everything written
  bool closed = false;              // close() succeeded
  bool released = false;            // channel destroyed
  bool failOpen = false;
  bool failWrite = false;
};

class RecordingChannel : public platform::OutputChannel {
 public:
  explicit RecordingChannel(ShareRecord& r) : r_(r) {}
  ~RecordingChannel() override { r_.released = true; }
  void write(const std::string& bytes) override {
    if (r_.failWrite) throw quelta::IOError("Cannot write to share");
    r_.bytes += bytes;
  }
  void close() override { r_.closed = true; }

 private:
  ShareRecord& r_;
};

class RecordingShare : public platform::ShareOutput {
 public:
  ShareRecord record;
  std::unique_ptr<platform::OutputChannel> openNew(const std::string& path) override {
    record.opened.push_back(path);
    if (record.failOpen)
      throw quelta::IOError("Cannot open \"" + path + "\". Network path not found");
    return std::make_unique<RecordingChannel>(record);
  }
};

// ---- Epson library -----------------------------------------------------

struct EpsonCall {
  std::string function;
  std::string text;  // the text argument, if any
  int number = 0;    // the integer argument, if any
  bool operator==(const EpsonCall&) const = default;
};

class RecordingEpson : public platform::EpsonLibrary {
 public:
  std::vector<EpsonCall> calls;
  std::set<std::string> failing;  // functions that answer 0
  std::string missing;            // a function that is not in the library
  bool loads = true;              // false: the library file cannot be loaded
  // When set, every call is written here as well, as "IniciaPorta COM3",
  // "FechaPorta" or "Habilita_Log 1 <directory>", among other twins' calls.
  std::vector<std::string>* journal = nullptr;

  int IniciaPorta(const std::string& port) override {
    return call({"IniciaPorta", port, 0}, "IniciaPorta " + port);
  }
  int ImprimeTextoTag(const std::string& text) override {
    return call({"ImprimeTextoTag", text, 0}, "ImprimeTextoTag " + text);
  }
  int AcionaGuilhotina(int mode) override {
    return call({"AcionaGuilhotina", "", mode}, "AcionaGuilhotina " + std::to_string(mode));
  }
  int FechaPorta() override { return call({"FechaPorta", "", 0}, "FechaPorta"); }
  int Habilita_Log(int enable, const std::string& dir) override {
    return call({"Habilita_Log", dir, enable},
                "Habilita_Log " + std::to_string(enable) + " " + dir);
  }

  std::vector<std::string> missingFunctions() override {
    if (!loads) throw platform::EpsonLibraryError("N\xe3o foi poss\xedvel carregar a biblioteca");
    if (missing.empty()) return {};
    return {missing};
  }

  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto& c : calls) out.push_back(c.function);
    return out;
  }

 private:
  int call(const EpsonCall& made, const std::string& entry) {
    if (made.function == missing)
      throw platform::EpsonLibraryError("A fun\xe7\xe3o " + made.function + " n\xe3o existe");
    calls.push_back(made);
    if (journal) journal->push_back(entry);
    return failing.count(made.function) ? 0 : 1;
  }
};

// ---- Windows printers and their canvas ---------------------------------

// A canvas whose font is `size` device units wide per character and twice
// the size high, on a page of the given size. Calls are logged as text:
// "begin <title>", "font <size> bold|plain", "text <x> <y> <text>",
// "page", "end", "abort".
class RecordingCanvas : public platform::PrinterCanvas {
 public:
  RecordingCanvas(std::vector<std::string>& log, platform::PageSize page, std::string failOn = {})
      : log_(log), page_(page), failOn_(std::move(failOn)) {}
  void beginDoc(const std::string& title) override { log_.push_back("begin " + title); }
  void setFont(int pointSize, bool bold) override {
    size_ = pointSize;
    log_.push_back("font " + std::to_string(pointSize) + (bold ? " bold" : " plain"));
  }
  platform::TextExtent textExtent(const std::string& text) override {
    return {static_cast<int>(text.size()) * size_, 2 * size_};
  }
  int textHeight() override { return 2 * size_; }
  int averageCharWidth() override { return size_; }
  void drawText(int x, int y, const std::string& text) override {
    if (!failOn_.empty() && text == failOn_) throw quelta::Error("EPrinter", "Printer jammed");
    log_.push_back("text " + std::to_string(x) + " " + std::to_string(y) + " " + text);
  }
  platform::PageSize pageSize() override { return page_; }
  void newPage() override { log_.push_back("page"); }
  void endDoc() override { log_.push_back("end"); }
  void abort() override { log_.push_back("abort"); }

 private:
  std::vector<std::string>& log_;
  platform::PageSize page_;
  std::string failOn_;
  int size_ = 10;
};

class RecordingPrinters : public platform::Printers {
 public:
  std::vector<std::string> list;
  std::string defaultName;
  platform::PageSize page{400, 1000};
  std::string failOn;               // text whose drawing fails
  std::vector<std::string> opened;  // printer names of the jobs
  std::vector<std::string> log;     // canvas calls of all jobs
  // The spooler's word on printers of `list`; one of `list` not here is
  // ready, unshared, with no jobs.
  std::vector<platform::SpoolerPrinter> states;

  std::vector<std::string> installed() override { return list; }
  std::string defaultPrinter() override { return defaultName; }
  std::unique_ptr<platform::PrinterCanvas> openCanvas(const std::string& name) override {
    opened.push_back(name);
    return std::make_unique<RecordingCanvas>(log, page, failOn);
  }
  std::vector<platform::SpoolerPrinter> spooler() override {
    std::vector<platform::SpoolerPrinter> out;
    for (const std::string& name : list) {
      platform::SpoolerPrinter ready;
      ready.name = name;
      out.push_back(ready);
      for (const platform::SpoolerPrinter& state : states)
        if (state.name == name) out.back() = state;
    }
    return out;
  }
};

// ---- receipt printers on the network --------------------------------------

// Raw ports of the Standard TCP/IP monitor by name, and what the printer at
// each address answers; one that has no answer here refuses the connection.
class ScriptedNetworkPrinters : public platform::NetworkPrinters {
 public:
  std::map<std::string, platform::NetworkAddress> ports;
  std::map<std::string, std::string> answers;  // by "host:port"

  std::optional<platform::NetworkAddress> rawPort(const std::string& portName) override {
    auto port = ports.find(portName);
    if (port == ports.end()) return std::nullopt;
    return port->second;
  }
  std::vector<platform::PrinterReply> exchange(
      const std::vector<platform::NetworkAddress>& printers, const std::string&, size_t answerBytes,
      const net::Timeouts&, std::stop_token) override {
    std::vector<platform::PrinterReply> replies;
    for (const platform::NetworkAddress& printer : printers) {
      auto answer = answers.find(platform::addressText(printer));
      if (answer == answers.end())
        replies.push_back({false, "", "conex\xe3o recusada"});
      else
        replies.push_back({true, answer->second.substr(0, answerBytes),
                           answer->second.size() < answerBytes ? "sem resposta" : ""});
    }
    return replies;
  }
};

// ---- this program's process -----------------------------------------------

class RecordingProcess : public platform::Process {
 public:
  std::vector<std::string> launched;  // command lines, in order
  std::vector<int> pauses;            // milliseconds, in order
  int ends = 0;
  bool launches = true;  // what a launch answers
  // When set, "launch <command line>" and "end" are written here as well.
  std::vector<std::string>* journal = nullptr;

  bool launchHidden(const std::string& commandLine) override {
    launched.push_back(commandLine);
    if (journal) journal->push_back("launch " + commandLine);
    return launches;
  }
  void pause(int milliseconds) override { pauses.push_back(milliseconds); }
  void endProgram() override {
    ++ends;
    if (journal) journal->push_back("end");
  }
};

// One twin of every platform service. The print service twin is installed
// and running, so a window's start-up check leaves it alone.
struct Recorders {
  Recorders() { serviceManager.queries = {FakeServiceManager::status(platform::kServiceRunning)}; }

  RecordingShare share;
  RecordingEpson epson;
  RecordingPrinters printers;
  ScriptedNetworkPrinters network;
  FakeServiceManager serviceManager;
  platform::SettableClock clock;
  RecordingProcess process;
  std::vector<int>& pauses = process.pauses;
  net_test::ScriptedConnector http;

  // What a print job reaches; its pause is the process twin's.
  print::PrintServices services() { return print::printServices(all()); }
  platform::Services all() {
    return {&serviceManager, &clock, &share, &epson, &printers, &network, &process, &http};
  }
};

}  // namespace printtest
