#include "standins/cloud/sandbox.h"

#include <algorithm>

#include <httplib.h>

#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "config/version.h"
#include "platform/text_locale.h"
#include "release/release_files.h"
#include "standins/cloud/menu.h"
#include "update/publication.h"

namespace sandbox {
namespace {

constexpr char kJson[] = "application/json; charset=utf-8";
constexpr char kControl[] = "/__control/";
// A hung request gives up by itself after this, so a forgotten failure
// cannot hold the server's threads for ever.
constexpr auto kLongestHang = std::chrono::seconds(120);

std::string percentDecoded(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%' && i + 2 < text.size() &&
               std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
               std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::multimap<std::string, std::string> parseQuery(const std::string& query) {
  std::multimap<std::string, std::string> params;
  std::istringstream in(query);
  std::string item;
  while (std::getline(in, item, '&')) {
    if (item.empty()) continue;
    size_t eq = item.find('=');
    std::string name = eq == std::string::npos ? item : item.substr(0, eq);
    std::string value = eq == std::string::npos ? "" : item.substr(eq + 1);
    params.emplace(percentDecoded(name), percentDecoded(value));
  }
  return params;
}

bool readNumber(const std::string& text, int& number) {
  try {
    size_t used = 0;
    number = std::stoi(text, &used);
    return used == text.size();
  } catch (const std::exception&) {
    return false;
  }
}

std::string hex64(uint64_t value) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
  return text;
}

// Tokens are derived from the account, so that a token stored by the tool
// stays valid when the sandbox is started again. Only staging tokens carry
// "stage.", the mark by which the tool picks its endpoint.
std::string tokenFor(bool staging, const std::string& user) {
  uint64_t hash = 14695981039346656037ull;
  for (char c : std::string(staging ? "staging:" : "production:") + user) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  return (staging ? "loja.stage." : "prd.") + hex64(hash);
}

bool knownToken(bool staging, const std::string& token) {
  for (const Account& account : accounts()) {
    if (token == tokenFor(staging, account.user)) return true;
  }
  return false;
}

std::string refusal(const std::string& ansiMessage) {
  return "{\"success\":false,\"message\":" + jsonString(platform::ansiToUtf8(ansiMessage)) + "}";
}

bool readWholeFile(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream content;
  content << in.rdbuf();
  bytes = content.str();
  return true;
}

// "Sun, 06 Nov 1994 08:49:37 GMT", as HTTP dates are written.
std::string httpDate(int64_t utcSeconds) {
  const std::time_t when = static_cast<std::time_t>(utcSeconds);
  std::tm parts{};
  gmtime_r(&when, &parts);
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  char text[40];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d GMT", kDays[parts.tm_wday],
                parts.tm_mday, kMonths[parts.tm_mon], parts.tm_year + 1900, parts.tm_hour,
                parts.tm_min, parts.tm_sec);
  return text;
}

// The target without the hop counter the redirect chains add.
std::string withoutHop(const std::string& target) {
  size_t question = target.find('?');
  if (question == std::string::npos) return target;
  std::string path = target.substr(0, question);
  std::string query;
  std::istringstream in(target.substr(question + 1));
  std::string item;
  while (std::getline(in, item, '&')) {
    if (item.rfind("__hop=", 0) == 0) continue;
    query += (query.empty() ? "" : "&") + item;
  }
  return query.empty() ? path : path + "?" + query;
}

}  // namespace

bool parseFailure(const std::string& query, Failure& failure, std::string& error) {
  failure = Failure{};
  for (const auto& [name, value] : parseQuery(query)) {
    if (name == "kind") {
      failure.kind = value;
    } else if (name == "path") {
      failure.path = value;
    } else if (name == "message") {
      failure.message = value;
    } else if (name == "times" || name == "n" || name == "status") {
      int number;
      if (!readNumber(value, number)) {
        error = "not a number: " + name + "=" + value;
        return false;
      }
      (name == "times" ? failure.times : name == "n" ? failure.count : failure.status) = number;
    } else {
      error = "unknown parameter: " + name;
      return false;
    }
  }
  const char* kinds[] = {"success-false", "status", "redirects", "not-json", "hang", "trickle"};
  for (const char* kind : kinds) {
    if (failure.kind == kind) return true;
  }
  error = "unknown kind: \"" + failure.kind +
          "\" (success-false, status, redirects, not-json, hang, trickle)";
  return false;
}

struct SandboxCloud::Listener {
  std::unique_ptr<httplib::Server> server;
  std::thread thread;
};

SandboxCloud::SandboxCloud(Options options) : options_(std::move(options)) {
  // Valid for a year from the start, numbered with the minute of the start
  // as a publication signed then: above the floor of a program built before.
  const int64_t now = static_cast<int64_t>(std::time(nullptr));
  ownManifest_ = release::releaseManifest(config::kVersion, "", static_cast<int32_t>(now / 60),
                                          update::utcText(now + 365 * 86400));
  std::string key;
  if (!options_.publisherKeyFile.empty() && readWholeFile(options_.publisherKeyFile, key))
    ownSignature_ = release::signManifest(ownManifest_, key);
  for (const std::string& query : options_.failures) {
    Failure failure;
    std::string error;
    if (!parseFailure(query, failure, error)) throw std::runtime_error(error);
    failures_.push_back(failure);
  }
}

SandboxCloud::~SandboxCloud() { stop(); }

void SandboxCloud::start() {
  const int wanted[4] = {options_.productionPort, options_.stagingPort, options_.downloadPort,
                         options_.downloadHttpPort};
  const Role roles[4] = {Role::kProduction, Role::kStaging, Role::kDownload, Role::kDownloadHttp};
  for (int i = 0; i < 4; ++i) {
    auto listener = std::make_unique<Listener>();
    if (roles[i] == Role::kDownloadHttp) {
      listener->server = std::make_unique<httplib::Server>();
    } else {
      listener->server =
          std::make_unique<httplib::SSLServer>(options_.certFile.c_str(), options_.keyFile.c_str());
      if (!listener->server->is_valid()) {
        throw std::runtime_error("cannot use the certificate " + options_.certFile + " and key " +
                                 options_.keyFile + " (scripts/setup.sh makes them)");
      }
    }
    // Hung requests must not starve the others.
    listener->server->new_task_queue = [] { return new httplib::ThreadPool(16); };
    route(*listener->server, roles[i]);
    int port = wanted[i];
    if (port == 0) {
      port = listener->server->bind_to_any_port(options_.host);
    } else if (!listener->server->bind_to_port(options_.host, port)) {
      port = -1;
    }
    if (port <= 0) {
      throw std::runtime_error("cannot listen on " + options_.host + ":" +
                               std::to_string(wanted[i]));
    }
    ports_[i] = port;
    httplib::Server* server = listener->server.get();
    listener->thread = std::thread([server] { server->listen_after_bind(); });
    listeners_.push_back(std::move(listener));
  }
}

void SandboxCloud::stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    ++generation_;
  }
  released_.notify_all();
  for (auto& listener : listeners_) {
    listener->server->stop();
    if (listener->thread.joinable()) listener->thread.join();
  }
  listeners_.clear();
}

std::string SandboxCloud::url(const char* scheme, int port) const {
  return std::string(scheme) + "://" + options_.host + ":" + std::to_string(port);
}
std::string SandboxCloud::productionUrl() const { return url("https", ports_[0]); }
std::string SandboxCloud::stagingUrl() const { return url("https", ports_[1]); }
std::string SandboxCloud::downloadUrl() const { return url("https", ports_[2]); }
std::string SandboxCloud::downloadHttpUrl() const { return url("http", ports_[3]); }

void SandboxCloud::addFailure(const Failure& failure) {
  std::lock_guard<std::mutex> lock(mutex_);
  failures_.push_back(failure);
}

void SandboxCloud::setClockOffset(int seconds) {
  std::lock_guard<std::mutex> lock(mutex_);
  clockOffset_ = seconds;
}

void SandboxCloud::reset() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    failures_.clear();
    clockOffset_ = 0;
    requests_.clear();
    ++generation_;
  }
  released_.notify_all();
}

std::vector<std::string> SandboxCloud::requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void SandboxCloud::route(httplib::Server& server, Role role) {
  auto handler = [this, role](const httplib::Request& req, httplib::Response& res) {
    handle(role, req, res);
  };
  server.Get(".*", handler);
  server.Post(".*", handler);
}

void SandboxCloud::handle(Role role, const httplib::Request& req, httplib::Response& res) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    res.set_header("Date", httpDate(static_cast<int64_t>(std::time(nullptr)) + clockOffset_));
  }
  if (req.path.rfind(kControl, 0) == 0) {
    control(req, res);
    return;
  }
  static const char* const kNames[] = {"production", "staging", "download", "download-http"};
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(std::string(kNames[static_cast<int>(role)]) + " " + req.method + " " +
                        req.target);
  }
  int trickle = 0;
  if (applyFailure(req, res, trickle)) return;
  if (role == Role::kProduction || role == Role::kStaging) {
    answerApi(role, req, res);
  } else {
    answerDownload(req, res);
  }
  if (trickle > 0 && res.status < 300) trickleBody(res, trickle);  // -1: not set, a success
}

// The reply as it was, `bytes` every 100 ms: a slow line that never quite
// stalls. A reset or the end of the sandbox breaks the connection.
void SandboxCloud::trickleBody(httplib::Response& res, int bytes) {
  auto body = std::make_shared<std::string>(std::move(res.body));
  const std::string type = res.get_header_value("Content-Type");
  res.body.clear();
  int generation;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    generation = generation_;
  }
  res.set_content_provider(
      body->size(), type,
      [this, body, bytes, generation](size_t offset, size_t, httplib::DataSink& sink) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (released_.wait_for(lock, std::chrono::milliseconds(100),
                               [&] { return stopping_ || generation_ != generation; }))
          return false;
        lock.unlock();
        const size_t n = std::min(static_cast<size_t>(bytes), body->size() - offset);
        return sink.write(body->data() + offset, n);
      });
}

bool SandboxCloud::control(const httplib::Request& req, httplib::Response& res) {
  std::string command = req.path.substr(std::string(kControl).size());
  if (command == "reset") {
    reset();
    res.set_content("ok\n", "text/plain");
  } else if (command == "clock") {
    int offset = 0;
    if (!readNumber(req.get_param_value("offset"), offset)) {
      res.status = 400;
      res.set_content("offset=SECONDS\n", "text/plain");
    } else {
      setClockOffset(offset);
      res.set_content("ok\n", "text/plain");
    }
  } else if (command == "requests") {
    std::string text;
    for (const std::string& line : requests()) text += line + "\n";
    res.set_content(text, "text/plain");
  } else if (command == "fail") {
    size_t question = req.target.find('?');
    Failure failure;
    std::string error;
    if (!parseFailure(question == std::string::npos ? "" : req.target.substr(question + 1), failure,
                      error)) {
      res.status = 400;
      res.set_content(error + "\n", "text/plain");
    } else {
      addFailure(failure);
      res.set_content("ok\n", "text/plain");
    }
  } else {
    res.status = 404;
    res.set_content("control requests: fail, clock, reset, requests\n", "text/plain");
  }
  return true;
}

bool SandboxCloud::applyFailure(const httplib::Request& req, httplib::Response& res,
                                int& trickle) {
  Failure failure;
  int hop = 0;
  if (req.has_param("__hop")) readNumber(req.get_param_value("__hop"), hop);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    bool found = false;
    for (auto it = failures_.begin(); it != failures_.end(); ++it) {
      if (req.path.rfind(it->path, 0) != 0) continue;
      // A redirect chain under way goes on whatever else is scripted.
      if (hop > 0 && it->kind != "redirects") continue;
      failure = *it;
      found = true;
      if (hop == 0 && it->times > 0 && --it->times == 0) failures_.erase(it);
      break;
    }
    if (!found) return false;
  }

  if (failure.kind == "trickle") {
    trickle = failure.count;
    return false;
  }
  if (failure.kind == "success-false") {
    std::string message =
        failure.message.empty() ? platform::ansiToUtf8("Falha simulada pelo servidor de testes.") : failure.message;
    res.set_content("{\"success\":false,\"message\":" + jsonString(message) + "}", kJson);
  } else if (failure.kind == "status") {
    res.status = failure.status;
    std::string message = failure.message.empty() ? platform::ansiToUtf8("N\xe3o autorizado.") : failure.message;
    res.set_content("{\"success\":false,\"message\":" + jsonString(message) + "}", kJson);
  } else if (failure.kind == "redirects") {
    if (hop >= failure.count) return false;  // the chain has ended: the real answer
    std::string target = withoutHop(req.target);
    target += (target.find('?') == std::string::npos ? "?" : "&");
    res.set_redirect(target + "__hop=" + std::to_string(hop + 1));
  } else if (failure.kind == "not-json") {
    res.status = 200;
    res.set_content(platform::ansiToUtf8("<html><body><h1>Servi\xe7o em manuten\xe7\xe3o</h1></body></html>"),
                    "text/html; charset=utf-8");
  } else if (failure.kind == "hang") {
    std::unique_lock<std::mutex> lock(mutex_);
    int generation = generation_;
    released_.wait_for(lock, kLongestHang, [&] { return stopping_ || generation_ != generation; });
    res.status = 503;
  }
  return true;
}

void SandboxCloud::answerApi(Role role, const httplib::Request& req, httplib::Response& res) {
  bool staging = role == Role::kStaging;
  if (req.path == "/token") {
    std::string user = req.get_param_value("username");
    std::string password = req.get_param_value("password");
    for (const Account& account : accounts()) {
      if (account.user == user && account.password == password) {
        res.set_content(
            "{\"success\":true,\"data\":{\"token\":" + jsonString(tokenFor(staging, user)) +
                ",\"restaurante\":" + jsonString(platform::ansiToUtf8(account.restaurant)) + "}}",
            kJson);
        return;
      }
    }
    res.set_content(refusal("Usu\xe1rio ou senha inv\xe1lidos."), kJson);
    return;
  }
  bool categories = req.path == "/categorias";
  bool cards = req.path == "/configuracoes/cartoes-auxiliares";
  if (!categories && !cards) {
    res.status = 404;
    res.set_content(refusal("Recurso n\xe3o encontrado."), kJson);
    return;
  }
  if (!knownToken(staging, req.get_param_value("token"))) {
    res.set_content(refusal("Token inv\xe1lido ou expirado. Fa\xe7"
                            "a login novamente."),
                    kJson);
    return;
  }
  std::string data =
      categories ? categoriesJson(staging, req.get_param_value("all") == "1") : cardsJson();
  res.set_content("{\"success\":true,\"data\":" + data + "}", kJson);
}

void SandboxCloud::answerDownload(const httplib::Request& req, httplib::Response& res) {
  std::string name;
  const char* type = "application/octet-stream";
  if (req.path == "/impressao/version.json") {
    name = "version.json";
    type = kJson;
  } else if (req.path == "/impressao/version.json.sig") {
    name = "version.json.sig";
  } else if (req.path == "/impressao/impressao.zip") {
    name = "impressao.zip";
    type = "application/zip";
  } else {
    res.status = 404;
    res.set_content("not found\n", "text/plain");
    return;
  }
  std::string bytes;
  auto served = [&](const std::string& file) {
    return !options_.filesDir.empty() && readWholeFile(options_.filesDir + "/" + file, bytes);
  };
  // Without a manifest of its own the sandbox offers the tool's own
  // version, signed: nothing to update.
  const bool own = name != "impressao.zip" && !served("version.json");
  if (own && name == "version.json") {
    res.set_content(ownManifest_, kJson);
  } else if (own && !ownSignature_.empty()) {
    res.set_content(ownSignature_, type);
  } else if (!own && served(name)) {
    res.set_content(bytes, type);
  } else {
    res.status = 404;
    res.set_content("not found\n", "text/plain");
  }
}

}  // namespace sandbox
