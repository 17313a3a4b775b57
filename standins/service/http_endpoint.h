// The print service's local endpoint, plain HTTP on 127.0.0.1:7777, path
// "/": GET "?status", GET "?teste=<position>", POST of an order.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace standin {

class PrintService;

inline constexpr char kEndpointHost[] = "127.0.0.1";
inline constexpr int kEndpointPort = 7777;

class HttpEndpoint {
 public:
  HttpEndpoint(PrintService& service, std::string applicationDirectory);
  ~HttpEndpoint();

  // Serves on a thread of its own. A port that is taken is tried again
  // every half second until it is free or the endpoint stops.
  void start();
  // Stops serving and waits for the thread.
  void stop();

 private:
  void serve();

  PrintService& service_;
  const std::string dir_;
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::atomic<bool> finished_{false};
};

}  // namespace standin
