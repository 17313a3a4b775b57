#include "diagnosis/checks.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <set>

#include "cloud/catalog_sync.h"
#include "config/config_file.h"
#include "config/settings.h"
#include "config/version.h"
#include "diagnosis/calendar.h"
#include "diagnosis/printer_status.h"
#include "json/json.h"
#include "net/http_client.h"
#include "platform/error.h"
#include "platform/files.h"
#include "routing/printer_record.h"
#include "service/log_viewer.h"
#include "service/service_check.h"
#include "service/service_endpoint.h"

namespace diagnosis {
namespace {

constexpr char kRestart[] =
    "Em Configura\xe7\xf5"
    "es, use \"Reiniciar Servidor\"; se continuar, reinicie o computador";

std::string errorText(const std::exception& error) {
  if (auto* e = dynamic_cast<const quelta::Error*>(&error)) return quelta::describe(*e);
  return error.what();
}

// Printer names are matched as the print service matches them: letter
// case does not count.
std::string folded(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string minutesText(int64_t seconds) {
  const int64_t minutes = (seconds + 30) / 60;
  return minutes == 1 ? "1 minuto" : std::to_string(minutes) + " minutos";
}

using Steady = std::chrono::steady_clock;

long millisecondsSince(Steady::time_point start) {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - start).count());
}

bool timedOut(const std::exception& error) {
  return dynamic_cast<const net::ReadTimeout*>(&error) ||
         dynamic_cast<const net::ConnectTimeout*>(&error);
}

// ---- print service ------------------------------------------------------

CheckLine serviceState(platform::ServiceManager& manager) {
  const std::string check = "Servi\xe7o de impress\xe3o";
  platform::ServiceHandle scm = manager.openManager(platform::kManagerConnect);
  if (!scm)
    return {check, Verdict::kError, "N\xe3o foi poss\xedvel consultar os servi\xe7os do Windows",
            "Abra esta ferramenta como administrador"};
  platform::ServiceHandle service =
      manager.openService(scm, service::kPrintServiceName, platform::kServiceQueryStatus);
  if (!service) {
    manager.close(scm);
    return {check, Verdict::kError, "O servi\xe7o de impress\xe3o n\xe3o est\xe1 instalado",
            "Feche e abra esta ferramenta: ela instala o servi\xe7o"};
  }
  std::optional<platform::ServiceStatus> status = manager.queryStatus(service);
  manager.close(service);
  manager.close(scm);
  if (!status)
    return {check, Verdict::kError, "O Windows n\xe3o informa o estado do servi\xe7o", kRestart};
  switch (status->state) {
    case platform::kServiceRunning:
      return {check, Verdict::kOk, "Instalado e em execu\xe7\xe3o", ""};
    case platform::kServiceStopped:
      return {check, Verdict::kError, "O servi\xe7o de impress\xe3o est\xe1 parado", kRestart};
    default:
      return {check, Verdict::kAttention,
              "O servi\xe7o est\xe1 iniciando ou parando (estado " + std::to_string(status->state) +
                  ")",
              "Aguarde um minuto e use \"Repetir\""};
  }
}

CheckLine serviceAnswer(net::HttpConnector& http, std::stop_token stop) {
  const std::string check = "Servi\xe7o responde em 127.0.0.1:7777";
  const Steady::time_point start = Steady::now();
  try {
    std::unique_ptr<net::HttpFetcher> client = http.open(stop);
    json::TJSONObject reply(client->getText(service::kStatusUrl, kStatusLimits));
    const long ms = millisecondsSince(start);
    if (reply.contains("success") && reply.boolOf("success"))
      return {check, Verdict::kOk, "Respondeu em " + std::to_string(ms) + " ms", ""};
    return {check, Verdict::kError, "O servi\xe7o respondeu que n\xe3o est\xe1 funcionando",
            kRestart};
  } catch (const std::exception& e) {
    if (timedOut(e))
      return {check, Verdict::kError, "O servi\xe7o n\xe3o respondeu em 2,5 s (travado)", kRestart};
    return {check, Verdict::kError, "O servi\xe7o n\xe3o atende: " + errorText(e), kRestart};
  }
}

// ---- printers -----------------------------------------------------------

const platform::SpoolerPrinter* findPrinter(const std::vector<platform::SpoolerPrinter>& spooler,
                                            const std::string& name, bool byShare) {
  for (const platform::SpoolerPrinter& p : spooler) {
    if (folded(byShare ? p.shareName : p.name) == folded(name)) return &p;
  }
  return nullptr;
}

CheckLine spoolerLine(const std::string& check, const std::string& name,
                      const platform::SpoolerPrinter& p, int64_t now) {
  const std::string printers = "abra Impressoras e scanners";
  if (p.paused)
    return {check, Verdict::kError, "A impressora " + name + " est\xe1 pausada no Windows",
            "Em Configura\xe7\xf5"
            "es do Windows, " +
                printers + " e retome a impress\xe3o"};
  if (p.offline)
    return {check, Verdict::kError, "A impressora " + name + " est\xe1 offline no Windows",
            "Ligue a impressora, confira o cabo ou a rede e desmarque \"Usar impressora offline\""};
  if (p.paperOut)
    return {check, Verdict::kError, "A impressora " + name + " est\xe1 sem papel",
            "Coloque uma bobina nova e feche a tampa"};
  if (p.error)
    return {check, Verdict::kError, "A impressora " + name + " est\xe1 com erro no Windows",
            "Confira tampa, papel e cabo; depois " + printers + " e veja a fila"};
  if (p.jobs > 0) {
    const int64_t age = p.oldestJobUtc > 0 ? now - p.oldestJobUtc : 0;
    const std::string waiting = std::to_string(p.jobs) +
                                (p.jobs == 1 ? " documento espera" : " documentos esperam") +
                                " na fila do Windows";
    if (age > kStuckQueueSeconds)
      return {check, Verdict::kAttention, waiting + " h\xe1 " + minutesText(age),
              "Em Configura\xe7\xf5"
              "es do Windows, " +
                  printers + ", abra a fila de " + name + " e cancele o documento travado"};
    return {check, Verdict::kOk, "Pronta; " + waiting, ""};
  }
  return {check, Verdict::kOk, "Pronta no Windows", ""};
}

// Where the printer of `record` can be asked for its own state: a Windows
// printer on a raw Standard TCP/IP port of this computer, or an Epson
// printer whose "endereco" is a network address. A printer connection's
// port belongs to the computer that shares it.
std::optional<platform::NetworkAddress> statusAddress(
    const Setup& setup, const json::TJSONObject& record,
    const std::vector<platform::SpoolerPrinter>& spooler) {
  const routing::PrinterType type = routing::printerType(record);
  if (type == routing::PrinterType::EpsonDll)
    return record.contains("endereco") ? networkAddress(record.textOf("endereco")) : std::nullopt;
  const platform::SpoolerPrinter* p =
      findPrinter(spooler, record.textOf("name"), type == routing::PrinterType::GenericText);
  if (!p || p->portName.empty() || p->name.rfind("\\\\", 0) == 0) return std::nullopt;
  return setup.services.network->rawPort(p->portName);
}

// The spooler's lines of a Windows printer: all of its state when the
// printer could not be asked, else only what the printer cannot know of
// (its queue paused or stuck), beside the printer's own answer.
CheckLines windowsPrinterLines(const std::string& check, const std::string& name,
                               const platform::SpoolerPrinter& p, int64_t now, bool asked) {
  if (!asked) {
    CheckLine line = spoolerLine(check, name, p, now);
    line.result += " (estado do Windows)";
    return {line};
  }
  platform::SpoolerPrinter queue = p;
  queue.offline = queue.paperOut = queue.error = false;
  CheckLine line = spoolerLine(check, name, queue, now);
  if (line.verdict == Verdict::kOk) return {};
  return {line};
}

CheckLines printerLines(const Setup& setup, const json::TJSONObject& record,
                        const std::vector<platform::SpoolerPrinter>& spooler,
                        const std::optional<platform::NetworkAddress>& address,
                        const platform::PrinterReply* reply) {
  const std::string name = record.textOf("name");
  const std::string check = "Impressora " + name;
  const int64_t now = setup.services.clock->utcSeconds();
  CheckLines lines;
  if (reply) lines = statusLines(check, *address, *reply);
  auto add = [&](const CheckLines& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
  };
  switch (routing::printerType(record)) {
    case routing::PrinterType::GenericText: {
      const platform::SpoolerPrinter* p = findPrinter(spooler, name, true);
      if (!p)
        return {{check, Verdict::kError,
                 "Nenhuma impressora do Windows est\xe1 compartilhada com o nome " + name,
                 "Em Impressoras e scanners, compartilhe a impressora de " + name + " com o nome " +
                     name}};
      return add(windowsPrinterLines(check, name, *p, now, reply != nullptr));
    }
    case routing::PrinterType::EpsonDll: {
      const std::string file = config::appFile(setup.appDir, platform::kEpsonLibraryName);
      const std::string library = platform::kEpsonLibraryName;
      // A program loads only a library of its own bitness: the one
      // restaurants get is 32-bit, the test build 64-bit.
      const std::string bits = std::to_string(sizeof(void*) * 8) + " bits";
      if (!platform::fileExists(file))
        return add({{check, Verdict::kError,
                     "A biblioteca " + library + " n\xe3o est\xe1 na pasta do programa",
                     "Copie " + library + " (" + bits +
                         ") da instala\xe7\xe3o da Epson para a pasta " + setup.appDir}});
      std::vector<std::string> missing;
      try {
        missing = setup.services.epson->missingFunctions();
      } catch (const std::exception& e) {
        return add({{check, Verdict::kError,
                     "A biblioteca " + library + " n\xe3o carrega: " + errorText(e),
                     "Reinstale a biblioteca da Epson, na vers\xe3o de " + bits}});
      }
      if (!missing.empty()) {
        std::string names;
        for (const std::string& f : missing) names += (names.empty() ? "" : ", ") + f;
        return add({{check, Verdict::kError,
                     "A biblioteca " + library +
                         " n\xe3o tem as fun\xe7\xf5"
                         "es " +
                         names,
                     "Troque " + library + " pela vers\xe3o da Epson que a impress\xe3o usa"}});
      }
      return add(
          {{check, Verdict::kOk, "A biblioteca " + library + " est\xe1 na pasta e completa", ""}});
    }
    default: {
      const platform::SpoolerPrinter* p = findPrinter(spooler, name, false);
      if (!p)
        return {{check, Verdict::kError,
                 "A impressora " + name + " n\xe3o est\xe1 instalada no Windows",
                 "Instale a impressora " + name +
                     " no Windows ou escolha outra em Configura\xe7\xf5"
                     "es"}};
      return add(windowsPrinterLines(check, name, *p, now, reply != nullptr));
    }
  }
}

// A table file read with the tool's own reader; nullptr when it is damaged
// (the files check names it).
std::unique_ptr<json::TJSONArray> tableOrNull(const std::string& appDir, const char* name) {
  try {
    return config::readTableFile(config::appFile(appDir, name));
  } catch (const std::exception&) {
    return nullptr;
  }
}

// ---- cloud ----------------------------------------------------------------

CheckLine clockLine(const std::string& date, int64_t localUtc) {
  const std::string check = "Rel\xf3gio do computador";
  int64_t server = 0;
  if (!parseHttpDate(date, server))
    return {check, Verdict::kAttention, "O servidor n\xe3o informou a hora; n\xe3o foi comparado",
            ""};
  const int64_t skew = localUtc - server;
  const int64_t apart = skew < 0 ? -skew : skew;
  if (apart > kClockSkewSeconds)
    return {
        check, Verdict::kError,
        "O rel\xf3gio est\xe1 " + minutesText(apart) + (skew > 0 ? " adiantado" : " atrasado") +
            " em rela\xe7\xe3o ao servidor",
        "Acerte a data, a hora e o fuso hor\xe1rio do Windows: com o rel\xf3gio errado as conex\xf5"
        "es "
        "seguras falham"};
  return {check, Verdict::kOk,
          "Diferen\xe7"
          "a de " +
              std::to_string(apart) + " s para o servidor",
          ""};
}

}  // namespace

const char* verdictText(Verdict verdict) {
  switch (verdict) {
    case Verdict::kOk:
      return "OK";
    case Verdict::kAttention:
      return "Aten\xe7\xe3o";
    default:
      return "Erro";
  }
}

CheckLines checkPrintService(const Setup& setup, std::stop_token stop) {
  return {serviceState(*setup.services.serviceManager), serviceAnswer(*setup.services.http, stop)};
}

CheckLines checkPrinters(const Setup& setup, std::stop_token stop) {
  std::unique_ptr<json::TJSONArray> table = tableOrNull(setup.appDir, config::kPrinterFile);
  if (!table) return {};  // the files check reports the damaged file
  if (table->count() == 0)
    return {{"Impressoras", Verdict::kAttention, "Nenhuma impressora cadastrada",
             "Adicione as impressoras em Configura\xe7\xf5"
             "es"}};
  const std::vector<platform::SpoolerPrinter> spooler = setup.services.printers->spooler();
  // The printers that can be asked are asked all at once, so the check
  // takes the time of one exchange however many there are.
  std::vector<std::optional<platform::NetworkAddress>> addresses(table->count());
  std::vector<platform::NetworkAddress> asked;
  for (int i = 0; i < table->count(); ++i) {
    try {
      addresses[i] = statusAddress(setup, table->objectAt(i), spooler);
    } catch (const std::exception&) {
      // the record's own line names what is wrong with it
    }
    if (addresses[i]) asked.push_back(*addresses[i]);
  }
  const std::vector<platform::PrinterReply> replies =
      asked.empty() ? std::vector<platform::PrinterReply>{}
                    : setup.services.network->exchange(asked, kStatusRequest, kStatusAnswerBytes,
                                                       kPrinterStatusLimits, stop);
  CheckLines lines;
  size_t next = 0;
  for (int i = 0; i < table->count(); ++i) {
    const platform::PrinterReply* reply =
        addresses[i] && next < replies.size() ? &replies[next++] : nullptr;
    try {
      const CheckLines more = printerLines(setup, table->objectAt(i), spooler, addresses[i], reply);
      lines.insert(lines.end(), more.begin(), more.end());
    } catch (const std::exception& e) {
      lines.push_back(failedCheck("Impressora " + std::to_string(i + 1), e));
    }
  }
  return lines;
}

CheckLines checkRouting(const Setup& setup) {
  const std::string check = "Direcionamento";
  std::unique_ptr<json::TJSONArray> printers = tableOrNull(setup.appDir, config::kPrinterFile);
  std::unique_ptr<json::TJSONArray> categories = tableOrNull(setup.appDir, config::kCategoryFile);
  std::unique_ptr<json::TJSONArray> products = tableOrNull(setup.appDir, config::kProductFile);
  if (!printers || !categories || !products) return {};  // the files check reports it
  CheckLines lines;
  std::map<std::string, int> names;
  bool anyDefault = false;
  for (int i = 0; i < printers->count(); ++i) {
    const json::TJSONObject& p = printers->objectAt(i);
    if (!p.contains("name")) continue;
    if (++names[folded(p.textOf("name"))] == 2)
      lines.push_back({check, Verdict::kError, "Duas impressoras com o nome " + p.textOf("name"),
                       "Remova uma delas em Configura\xe7\xf5"
                       "es"});
    if (p.contains("padrao") && p.textOf("padrao") == routing::kSim) anyDefault = true;
  }
  if (printers->count() > 0 && !anyDefault)
    lines.push_back({check, Verdict::kAttention,
                     "Nenhuma impressora est\xe1 marcada como padr\xe3o",
                     "Em Configura\xe7\xf5"
                     "es, escolha uma impressora e marque \"Padr\xe3o: Sim\""});
  std::vector<std::string> unrouted;
  auto routes = [&](const json::TJSONArray& table, const std::string& kind, const std::string& page,
                    bool listUnrouted) {
    for (int i = 0; i < table.count(); ++i) {
      const json::TJSONObject& record = table.objectAt(i);
      const std::string name = record.contains("name") ? record.textOf("name") : "?";
      const std::string printer = record.contains("printer") ? record.textOf("printer") : "";
      if (printer.empty()) {
        if (listUnrouted) unrouted.push_back(name);
      } else if (!names.count(folded(printer))) {
        lines.push_back({check, Verdict::kError,
                         kind + " " + name + " vai para a impressora " + printer +
                             ", que n\xe3o est\xe1 cadastrada",
                         "Em Configura\xe7\xf5"
                         "es > " +
                             page + ", escolha outra impressora para " + name});
      }
    }
  };
  routes(*categories, "A categoria", "Categorias", true);
  routes(*products, "O produto", "Produtos", false);
  if (!unrouted.empty()) {
    std::string list;
    for (size_t i = 0; i < unrouted.size() && i < 5; ++i) list += (i ? ", " : "") + unrouted[i];
    if (unrouted.size() > 5) list += " e mais " + std::to_string(unrouted.size() - 5);
    lines.push_back({check, Verdict::kAttention, "Categorias sem impressora: " + list,
                     "Em Configura\xe7\xf5"
                     "es > Categorias, escolha a impressora de cada uma"});
  }
  if (lines.empty())
    lines.push_back(
        {check, Verdict::kOk, "Categorias e produtos v\xe3o para impressoras cadastradas", ""});
  return lines;
}

CheckLines checkFiles(const Setup& setup) {
  CheckLines lines;
  for (const char* name :
       {config::kPrinterFile, config::kCategoryFile, config::kProductFile, config::kCardFile}) {
    try {
      config::readTableFile(config::appFile(setup.appDir, name));
    } catch (const std::exception& e) {
      lines.push_back({std::string("Arquivo ") + name, Verdict::kError,
                       "O arquivo " + std::string(name) + " est\xe1 danificado: " + errorText(e),
                       "Salve de novo em Configura\xe7\xf5"
                       "es (categorias e cart\xf5"
                       "es: \"Atualizar\"), "
                       "ou restaure uma c\xf3pia do arquivo"});
    }
  }
  if (lines.empty())
    lines.push_back({"Arquivos de configura\xe7\xe3o", Verdict::kOk,
                     "impressora, categoria, produto e cartao s\xe3o lidos sem erro", ""});

  // A name of its own for each run, so that two runs ("Repetir") never
  // meet on one file.
  static std::atomic<unsigned> runs{0};
  const std::string name = "diagnostico-" + std::to_string(setup.services.clock->utcSeconds()) +
                           "-" + std::to_string(++runs) + ".tmp";
  const std::string probe = config::appFile(setup.appDir, name);
  try {
    platform::writeFileReplacing(probe, "diagnostico");
    if (platform::deleteFile(probe))
      lines.push_back({"Pasta do programa", Verdict::kOk, "Aceita arquivos novos", ""});
    else
      lines.push_back({"Pasta do programa", Verdict::kAttention,
                       "Aceita arquivos novos, mas o arquivo de teste " + name +
                           " n\xe3o p\xf4" "de ser apagado",
                       "Apague " + probe +
                           " (outro programa, talvez o antiv\xedrus, o mant\xe9m aberto)"});
  } catch (const std::exception& e) {
    lines.push_back({"Pasta do programa", Verdict::kError,
                     "N\xe3o \xe9 poss\xedvel gravar na pasta: " + errorText(e),
                     "D\xea permiss\xe3o de escrita na pasta " + setup.appDir +
                         " ou abra a ferramenta como administrador"});
  }
  if (std::optional<uint64_t> free = platform::freeDiskSpace(setup.appDir))
    lines.push_back(diskSpaceLine(setup.appDir, *free));
  return lines;
}

CheckLine diskSpaceLine(const std::string& directory, uint64_t bytes) {
  const uint64_t mb = bytes / (1024 * 1024);
  if (bytes < kLowDiskBytes)
    return {"Espa\xe7o em disco", Verdict::kAttention,
            "Restam " + std::to_string(mb) + " MB no disco de " + directory,
            "Libere espa\xe7o: apague arquivos antigos ou esvazie a Lixeira"};
  return {"Espa\xe7o em disco", Verdict::kOk, std::to_string(mb) + " MB livres", ""};
}

CheckLines checkCloud(const Setup& setup, std::stop_token stop) {
  const std::string check = "Plataforma de pedidos";
  std::string token;
  try {
    token = config::readStartupSettings(setup.appDir).token;
  } catch (const std::exception&) {
  }
  if (token.empty())
    return {{check, Verdict::kError, "Nenhum login guardado",
             "Fa\xe7"
             "a login com o usu\xe1rio e a senha do restaurante"}};
  CheckLines lines;
  std::unique_ptr<net::HttpFetcher> client;
  const Steady::time_point start = Steady::now();
  try {
    client = setup.services.http->open(stop);
    json::TJSONObject reply(
        client->getText(cloud::categoriesUrl(setup.api.select(token), token), kCloudLimits));
    const long ms = millisecondsSince(start);
    if (reply.contains("success") && reply.boolOf("success")) {
      lines.push_back(
          {check, Verdict::kOk, "Login v\xe1lido; respondeu em " + std::to_string(ms) + " ms", ""});
    } else {
      const std::string message = reply.contains("message") ? reply.textOf("message") : "";
      lines.push_back({check, Verdict::kError, "O login foi recusado: " + message,
                       "Fa\xe7"
                       "a login novamente (apague o login em Configura\xe7\xf5"
                       "es ou o arquivo "
                       "quelta.dll e abra a ferramenta)"});
    }
  } catch (const net::HttpProtocolError& e) {
    if (e.status() == 401 || e.status() == 403)
      lines.push_back({check, Verdict::kError,
                       "O login expirou ou foi recusado (" + e.message() + ")",
                       "Fa\xe7"
                       "a login novamente"});
    else
      lines.push_back({check, Verdict::kError, "A plataforma respondeu com erro: " + e.message(),
                       "Tente de novo em alguns minutos"});
  } catch (const net::TlsError& e) {
    lines.push_back({check, Verdict::kError, "A conex\xe3o segura falhou: " + e.message(),
                     "Confira a data e a hora do computador"});
  } catch (const std::exception& e) {
    lines.push_back({check, Verdict::kError, "Sem resposta da plataforma: " + errorText(e),
                     "Confira a internet deste computador"});
  }
  if (client && !client->replyDate().empty())
    lines.push_back(clockLine(client->replyDate(), setup.services.clock->utcSeconds()));
  return lines;
}

CheckLines checkQueue(const Setup& setup) {
  const std::string check = "Fila do servi\xe7o";
  const std::string path = config::appFile(setup.appDir, service::kQueueFileName);
  if (!platform::fileExists(path)) return {{check, Verdict::kOk, "Nenhum pedido esperando", ""}};
  int jobs = 0;
  try {
    json::TJSONObject queue(config::readConfigFile(path));
    for (const std::string& name : queue.names()) {
      const json::TJSONObject& printer = queue.objectOf(name);
      if (printer.contains("fila")) jobs += printer.arrayOf("fila").count();
    }
  } catch (const std::exception& e) {
    return {{check, Verdict::kError, "A fila n\xe3o pode ser lida: " + errorText(e), kRestart}};
  }
  if (jobs == 0) return {{check, Verdict::kOk, "Nenhum pedido esperando", ""}};
  const std::string waiting =
      std::to_string(jobs) + (jobs == 1 ? " pedido espera" : " pedidos esperam");
  // The queue's jobs carry no time: the file's last change is when the
  // oldest of them was last seen moving.
  const std::optional<int64_t> changed = platform::fileModifiedUtc(path);
  const int64_t age = changed ? setup.services.clock->utcSeconds() - *changed : 0;
  if (age > kStuckQueueSeconds)
    return {
        {check, Verdict::kAttention, waiting + "; a fila n\xe3o anda h\xe1 " + minutesText(age),
         "Veja as linhas de impressora acima; resolvido o problema, use \"Reiniciar Servidor\""}};
  return {{check, Verdict::kOk, waiting + " (a fila est\xe1 andando)", ""}};
}

CheckLines checkVersion(const Setup& setup, std::stop_token stop) {
  const std::string check = "Vers\xe3o";
  const std::string mine = "Esta ferramenta: " + std::string(config::kVersion);
  if (!setup.updates.check)
    return {{check, Verdict::kOk, mine + "; nenhum endere\xe7o de atualiza\xe7\xe3o configurado", ""}};
  const std::string support = "Avise o suporte da Quelta: a atualiza\xe7\xe3o publicada n\xe3o "
                              "ser\xe1 instalada";
  try {
    // Read and checked as the update's own check does: only an offer the
    // tool would take is reported as one.
    std::unique_ptr<net::HttpFetcher> client = setup.services.http->open(stop);
    const update::Offer offer = update::readOffer(
        *client, setup.updates, [&] { return config::acceptedPublication(setup.appDir); },
        setup.services.clock->utcSeconds(), kCloudLimits);
    const std::string published = offer.publication.version;
    if (offer.kind == update::Offer::kNothing || published.empty())
      return {{check, Verdict::kOk, mine + "; nenhuma vers\xe3o publicada", ""}};
    if (offer.kind == update::Offer::kRefused)
      return {{check, Verdict::kError, mine + "; " + offer.refusal, support}};
    if (published == config::kVersion)
      return {{check, Verdict::kOk, mine + ", a publicada", ""}};
    return {{check, Verdict::kAttention, mine + "; publicada: " + published,
             "Feche e abra a ferramenta e responda Sim \xe0 pergunta de atualiza\xe7\xe3o"}};
  } catch (const quelta::Error& e) {
    if (e.className() == "EUpdateError")
      return {{check, Verdict::kError, mine + "; " + e.message(), support}};
    return {{check, Verdict::kAttention,
             mine + "; sem resposta do endere\xe7o de atualiza\xe7\xe3o: " + errorText(e),
             "Confira a internet deste computador"}};
  } catch (const std::exception& e) {
    return {{check, Verdict::kAttention,
             mine + "; sem resposta do endere\xe7o de atualiza\xe7\xe3o: " + errorText(e),
             "Confira a internet deste computador"}};
  }
}

const std::vector<Check>& allChecks() {
  static const std::vector<Check> checks = {
      {"Servi\xe7o de impress\xe3o", checkPrintService},
      {"Impressoras", checkPrinters},
      {"Direcionamento", [](const Setup& s, std::stop_token) { return checkRouting(s); }},
      {"Arquivos", [](const Setup& s, std::stop_token) { return checkFiles(s); }},
      {"Plataforma de pedidos", checkCloud},
      {"Fila do servi\xe7o", [](const Setup& s, std::stop_token) { return checkQueue(s); }},
      {"Vers\xe3o", checkVersion},
  };
  return checks;
}

CheckLine failedCheck(const std::string& name, const std::exception& error) {
  return {name, Verdict::kError, "A verifica\xe7\xe3o falhou: " + errorText(error),
          "Copie este relat\xf3rio e envie ao suporte"};
}

bool parseHttpDate(const std::string& text, int64_t& utcSeconds) {
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  char weekday[4] = {}, month[4] = {}, zone[4] = {};
  int day = 0, year = 0, hour = 0, minute = 0, second = 0;
  if (std::sscanf(text.c_str(), "%3s, %d %3s %d %d:%d:%d %3s", weekday, &day, month, &year, &hour,
                  &minute, &second, zone) != 8 ||
      std::string(zone) != "GMT")
    return false;
  for (unsigned m = 0; m < 12; ++m) {
    if (month != std::string(kMonths[m])) continue;
    if (day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60) return false;
    utcSeconds = daysFromCivil(year, m + 1, static_cast<unsigned>(day)) * 86400 + hour * 3600 +
                 minute * 60 + second;
    return true;
  }
  return false;
}

}  // namespace diagnosis
