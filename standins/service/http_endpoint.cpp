#include "standins/service/http_endpoint.h"

#include <httplib.h>

#include <chrono>

#include "standins/service/print_service.h"
#include "standins/service/service_log.h"

namespace standin {
namespace {

constexpr char kJson[] = "application/json";
// An order is a few kilobytes; anything far beyond is not one.
constexpr size_t kLargestRequest = 8 * 1024 * 1024;

}  // namespace

HttpEndpoint::HttpEndpoint(PrintService& service, std::string applicationDirectory)
    : service_(service),
      dir_(std::move(applicationDirectory)),
      server_(std::make_unique<httplib::Server>()) {
  server_->set_payload_max_length(kLargestRequest);
  server_->Get("/", [this](const httplib::Request& request, httplib::Response& response) {
    if (request.has_param("status")) {
      response.set_content(service_.statusReply(), kJson);
    } else if (request.has_param("teste")) {
      service_.reloadIfAsked();
      response.set_content(service_.testReply(request.get_param_value("teste")), kJson);
    } else {
      response.status = 400;
      response.set_content("{\"success\":false}", kJson);
    }
  });
  server_->Post("/", [this](const httplib::Request& request, httplib::Response& response) {
    service_.reloadIfAsked();
    bool ok = service_.receiveOrder(request.body);
    response.status = ok ? 200 : 400;
    response.set_content(ok ? "{\"success\":true}" : "{\"success\":false}", kJson);
  });
}

HttpEndpoint::~HttpEndpoint() { stop(); }

void HttpEndpoint::start() { thread_ = std::thread(&HttpEndpoint::serve, this); }

void HttpEndpoint::serve() {
  bool reported = false;
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stopping_) break;
    }
    if (server_->bind_to_port(kEndpointHost, kEndpointPort)) {
      writeServiceLog(dir_, "Servidor HTTP em http://127.0.0.1:7777");
      server_->listen_after_bind();
      break;
    }
    if (!reported) {
      writeServiceLog(dir_, "Erro: porta 7777 ocupada, nova tentativa a cada 0,5 s");
      reported = true;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait_for(lock, std::chrono::milliseconds(500), [this] { return stopping_; });
  }
  finished_ = true;
}

void HttpEndpoint::stop() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  // A stop request reaches the server only once it listens; between binding
  // and listening it would be lost, so wait for the listening to begin.
  while (!finished_) {
    if (server_->is_running()) {
      server_->stop();
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  thread_.join();
}

}  // namespace standin
