#include "standins/service/print_service.h"

#include <windows.h>

#include <cstdio>
#include <utility>
#include <vector>

#include "config/config_file.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/text_locale.h"
#include "print/print_document.h"
#include "routing/printer_record.h"
#include "standins/service/service_log.h"

namespace standin {
namespace {

// The member's text, numbers included, or the default when it is missing.
std::string textOr(const json::TJSONObject& object, const std::string& name,
                   const std::string& fallback) {
  const json::TZAbstractObject* value = object.find(name);
  return value ? value->asText() : fallback;
}

std::string describe(const std::exception& e) {
  if (auto* error = dynamic_cast<const quelta::Error*>(&e)) return quelta::describe(*error);
  return std::string("Exception - ") + e.what();
}

std::string nowText() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char text[32];
  std::snprintf(text, sizeof text, "%02u/%02u/%04u %02u:%02u:%02u", t.wDay, t.wMonth, t.wYear,
                t.wHour, t.wMinute, t.wSecond);
  return text;
}

// The vendor's Epson library beside the service, loaded on first use and
// kept: its port is one resource of the whole process.
class EpsonLibrary {
 public:
  explicit EpsonLibrary(const std::string& path) {
    module_ = LoadLibraryA(path.c_str());
    if (!module_) return;
    iniciaPorta_ = symbol<TextFn>("IniciaPorta");
    imprimeTextoTag_ = symbol<TextFn>("ImprimeTextoTag");
    acionaGuilhotina_ = symbol<IntFn>("AcionaGuilhotina");
    fechaPorta_ = symbol<VoidFn>("FechaPorta");
  }

  ~EpsonLibrary() {
    if (module_) FreeLibrary(module_);
  }
  EpsonLibrary(const EpsonLibrary&) = delete;
  EpsonLibrary& operator=(const EpsonLibrary&) = delete;

  bool usable() const {
    return module_ && iniciaPorta_ && imprimeTextoTag_ && acionaGuilhotina_ && fechaPorta_;
  }

  // The vendor's order: close a port left open, open, print, cut, close.
  bool print(const std::string& port, const std::string& text, std::string& failure) {
    fechaPorta_();
    if (iniciaPorta_(port.c_str()) == 0) {
      failure = "nao foi possivel abrir a porta " + port;
      return false;
    }
    bool ok = true;
    if (imprimeTextoTag_(text.c_str()) == 0) ok = false, failure = "ImprimeTextoTag falhou";
    if (acionaGuilhotina_(0) == 0) ok = false, failure = "AcionaGuilhotina falhou";
    if (fechaPorta_() == 0) ok = false, failure = "FechaPorta falhou";
    return ok;
  }

 private:
  // Through the generic function pointer type, the one cast that does not
  // claim the address has some other signature.
  template <class Fn>
  Fn symbol(const char* name) const {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module_, name)));
  }

  using TextFn = int(__stdcall*)(const char*);
  using IntFn = int(__stdcall*)(int);
  using VoidFn = int(__stdcall*)();
  HMODULE module_ = nullptr;
  TextFn iniciaPorta_ = nullptr;
  TextFn imprimeTextoTag_ = nullptr;
  IntFn acionaGuilhotina_ = nullptr;
  VoidFn fechaPorta_ = nullptr;
};

}  // namespace

PrintService::PrintService(std::string applicationDirectory)
    : dir_(std::move(applicationDirectory)),
      printers_(std::make_unique<json::TJSONArray>()),
      categories_(std::make_unique<json::TJSONArray>()),
      products_(std::make_unique<json::TJSONArray>()),
      queue_(std::make_unique<json::TJSONObject>()) {}

PrintService::~PrintService() = default;

void PrintService::log(const std::string& message) const { writeServiceLog(dir_, message); }

void PrintService::start() {
  loadTables();
  loadQueue();
  const std::string countFile = config::appFile(dir_, kOrderCountFile);
  if (platform::fileExists(countFile)) {
    try {
      orders_ = std::stoull(config::readConfigFile(countFile));
    } catch (const std::exception&) {
      log("Contador de pedidos ilegivel, recomecando do zero");
    }
  }
}

void PrintService::loadTables() {
  auto read = [this](const char* name, std::unique_ptr<json::TJSONArray>& table, bool optional) {
    const std::string path = config::appFile(dir_, name);
    try {
      auto fresh = optional ? config::readOptionalTableFile(path) : config::readTableFile(path);
      std::lock_guard<std::mutex> lock(mutex_);
      table = std::move(fresh);
    } catch (const std::exception& e) {
      // The table in use stays: a half-written or broken file must not
      // leave the service without printers.
      log(std::string("Erro ao ler ") + name + ": " + describe(e));
    }
  };
  read(config::kPrinterFile, printers_, false);
  read(config::kCategoryFile, categories_, false);
  read(config::kProductFile, products_, false);
  read(config::kCardFile, cards_, true);
  std::string company = platform::readProfileString(config::appFile(dir_, config::kSettingsFile),
                                                    "CONFIG", "nomeEmpresa", "QUELTA");
  std::lock_guard<std::mutex> lock(mutex_);
  companyName_ = company;
}

void PrintService::loadQueue() {
  const std::string path = config::appFile(dir_, kQueueFile);
  if (!platform::fileExists(path)) return;
  try {
    auto queue = std::make_unique<json::TJSONObject>(config::readConfigFile(path));
    std::lock_guard<std::mutex> lock(mutex_);
    queue_ = std::move(queue);
  } catch (const std::exception& e) {
    // Kept aside rather than overwritten by the next order.
    std::string aside = config::appFile(dir_, "fila.invalida");
    platform::deleteFile(aside);
    platform::moveFileNoReplace(path, aside);
    log("Erro ao ler a fila, guardada em fila.invalida: " + describe(e));
  }
}

void PrintService::reloadIfAsked() {
  const std::string settings = config::appFile(dir_, config::kSettingsFile);
  if (platform::readProfileString(settings, "CONFIG", "reload", "") != "S") return;
  try {
    platform::writeProfileString(settings, "CONFIG", "reload", "N");
  } catch (const std::exception& e) {
    log("Erro ao limpar reload: " + describe(e));
  }
  loadTables();
  log("Configuracao recarregada");
}

std::string PrintService::statusReply() const { return "{\"success\":true}"; }

const json::TJSONObject* PrintService::printerNamed(const std::string& name) const {
  for (int i = 0; i < printers_->count(); ++i) {
    auto* printer = dynamic_cast<const json::TJSONObject*>(printers_->find(i));
    if (printer && textOr(*printer, "name", "") == name) return printer;
  }
  return nullptr;
}

const json::TJSONObject* PrintService::defaultPrinter() const {
  const json::TJSONObject* first = nullptr;
  for (int i = 0; i < printers_->count(); ++i) {
    auto* printer = dynamic_cast<const json::TJSONObject*>(printers_->find(i));
    if (!printer || !printer->find("name")) continue;
    if (!first) first = printer;
    if (textOr(*printer, "padrao", "") == routing::kSim) return printer;
  }
  return first;
}

// A product route by the item's title comes first, then the route of the
// item's category; an item routed nowhere (or to a printer that is no
// longer in the table) goes to the default printer.
std::string PrintService::printerForItem(const json::TJSONObject& item) const {
  const std::string title = textOr(item, "title", "");
  for (int i = 0; i < products_->count(); ++i) {
    auto* product = dynamic_cast<const json::TJSONObject*>(products_->find(i));
    if (!product || title.empty()) continue;
    if (platform::sameTextIgnoreCase(textOr(*product, "name", ""), title)) {
      std::string printer = textOr(*product, "printer", "");
      if (printerNamed(printer)) return printer;
    }
  }
  const std::string category = textOr(item, "category", "");
  for (int i = 0; i < categories_->count(); ++i) {
    auto* record = dynamic_cast<const json::TJSONObject*>(categories_->find(i));
    if (!record || textOr(*record, "id", "") != category) continue;
    std::string printer = textOr(*record, "printer", "");
    if (printerNamed(printer)) return printer;
    break;
  }
  const json::TJSONObject* fallback = defaultPrinter();
  return fallback ? textOr(*fallback, "name", "") : std::string();
}

bool PrintService::receiveOrder(const std::string& utf8Body) {
  try {
    json::TJSONObject order(platform::utf8ToAnsi(utf8Body));
    const std::string table = textOr(order, "table", "?");
    const std::string card = textOr(order, "card", "?");
    json::TJSONArray& items = order.arrayOf("items");

    std::lock_guard<std::mutex> lock(mutex_);
    // One job per printer, its items in the order's order.
    std::vector<std::pair<std::string, std::unique_ptr<json::TJSONArray>>> jobs;
    int unrouted = 0;
    for (int i = 0; i < items.count(); ++i) {
      const json::TJSONObject& item = items.objectAt(i);
      const std::string printerName = printerForItem(item);
      if (printerName.empty()) {
        ++unrouted;
        continue;
      }
      const json::TJSONObject* printer = printerNamed(printerName);
      const std::string titleFont = textOr(*printer, "fonteTitulo", "10");
      const std::string itemFont = textOr(*printer, "fonteItem", "12");
      json::TJSONArray* job = nullptr;
      for (auto& [name, lines] : jobs)
        if (name == printerName) job = lines.get();
      if (!job) {
        auto lines = std::make_unique<json::TJSONArray>();
        lines->add(print::makeLine("Mesa: " + table, 1, titleFont));
        lines->add(print::makeLine("Cartao: " + card, 1, titleFont));
        lines->add(print::makeLine(nowText(), 2, itemFont));
        job = lines.get();
        jobs.emplace_back(printerName, std::move(lines));
      }
      job->add(print::makeLine(textOr(item, "qtd", "1") + " " + textOr(item, "title", ""), 1, titleFont));
      if (auto* attrs = dynamic_cast<const json::TJSONArray*>(item.find("attr")))
        for (int a = 0; a < attrs->count(); ++a) job->add(print::makeLine(attrs->textAt(a), 2, itemFont));
    }

    for (auto& [name, lines] : jobs) {
      auto* entry = dynamic_cast<json::TJSONObject*>(queue_->find(name));
      if (!entry) {
        queue_->set(name, json::make<json::TJSONObject>());
        entry = dynamic_cast<json::TJSONObject*>(queue_->find(name));
      }
      auto* waiting = dynamic_cast<json::TJSONArray*>(entry->find("fila"));
      if (!waiting) {
        entry->set("fila", json::make<json::TJSONArray>());
        waiting = dynamic_cast<json::TJSONArray*>(entry->find("fila"));
      }
      waiting->add(json::Value(lines.release()));
    }
    ++orders_;
    dirty_ = true;
    std::string message = "Pedido recebido: mesa " + table + ", cartao " + card + ", " +
                          std::to_string(items.count()) + " itens, " + std::to_string(jobs.size()) +
                          " impressoras (total " + std::to_string(orders_) + ")";
    if (unrouted > 0) message += ", " + std::to_string(unrouted) + " itens sem impressora";
    log(message);
    return true;
  } catch (const std::exception& e) {
    log("Erro ao receber pedido: " + describe(e));
    return false;
  }
}

void PrintService::flush() {
  std::lock_guard<std::mutex> flushing(flushMutex_);
  std::string queueText;
  std::string countText;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!dirty_) return;
    queueText = queue_->asText();
    countText = std::to_string(orders_);
    dirty_ = false;
  }
  try {
    platform::writeFileReplacing(config::appFile(dir_, kQueueFile), queueText);
    platform::writeFileReplacing(config::appFile(dir_, kOrderCountFile), countText);
  } catch (const std::exception& e) {
    log("Erro ao gravar a fila: " + describe(e));
    std::lock_guard<std::mutex> lock(mutex_);
    dirty_ = true;  // tried again at the next flush
  }
}

uint64_t PrintService::ordersReceived() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return orders_;
}

std::string PrintService::testReply(const std::string& position) {
  const char* failed = "{\"success\":false}";
  bool digits = !position.empty() && position.size() <= 9 &&
                position.find_first_not_of("0123456789") == std::string::npos;
  std::lock_guard<std::mutex> lock(mutex_);
  const int index = digits ? std::stoi(position) : -1;
  if (index < 0 || index >= printers_->count()) {
    log("Teste via servico: nao ha impressora na posicao " + position);
    return failed;
  }
  auto* printer = dynamic_cast<const json::TJSONObject*>(printers_->find(index));
  std::string failure;
  if (!printer) {
    log("Teste via servico: registro de impressora invalido na posicao " + position);
    return failed;
  }
  if (!printTestPage(*printer, failure)) {
    log("Erro no teste via servico em " + textOr(*printer, "name", "") + ": " + failure);
    return failed;
  }
  log("Teste Impresso Service: " + textOr(*printer, "name", ""));
  return "{\"success\":true}";
}

bool PrintService::printTestPage(const json::TJSONObject& printer, std::string& failure) {
  const std::string name = textOr(printer, "name", "");
  const std::string tipo = textOr(printer, "tipo", routing::kGenericText);
  const std::vector<std::string> page = {
      companyName_,
      "TESTE DE IMPRESSAO DO SERVICO",
      "Impressora: " + name,
      "Tipo: " + tipo,
      nowText(),
      "------------------------",
      "ITEM 1 DESCRICAO",
      "   >> Opcional descricao das opcoes",
  };
  if (tipo == routing::kEpsonDll) {
    // Looked for again until found, so a library put beside the service
    // later is taken without a restart.
    static std::unique_ptr<EpsonLibrary> epson;
    if (!epson || !epson->usable())
      epson = std::make_unique<EpsonLibrary>(config::appFile(dir_, "InterfaceEpsonNF.dll"));
    if (!epson->usable()) {
      failure = "biblioteca InterfaceEpsonNF.dll indisponivel";
      return false;
    }
    std::string text;
    for (const auto& l : page) text += l + "\n";
    return epson->print(textOr(printer, "endereco", ""), text, failure);
  }
  std::string text = "=== " + name + " (" + tipo + ") ===\r\n";
  for (const auto& l : page) text += l + "\r\n";
  try {
    platform::appendToFile(config::appFile(dir_, kCaptureFile), text);
  } catch (const std::exception& e) {
    failure = describe(e);
    return false;
  }
  return true;
}

}  // namespace standin
