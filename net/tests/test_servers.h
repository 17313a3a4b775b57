// Servers on 127.0.0.1 that the HTTP client tests start inside the test
// process, each on a port of its own: cpp-httplib servers (plain and TLS)
// for ordinary replies, and a raw socket server for replies the library
// would not send (a status line of our own wording, no Content-Type, a
// reply that never comes).
#pragma once

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

namespace net_test {

// The sandbox cloud's certificates, made by the set-up script.
inline std::string certFile(const std::string& name) {
  std::string path = std::string(QUELTA_TEST_CERTS) + "/" + name;
#ifdef _WIN32
  // Under Wine the host's file system is drive Z:.
  std::replace(path.begin(), path.end(), '/', '\\');
  path = "Z:" + path;
#endif
  return path;
}

// A cpp-httplib server answering on its own thread until destroyed.
class TestServer {
 public:
  // Plain HTTP.
  TestServer() : server_(std::make_unique<httplib::Server>()), scheme_("http") {}
  // HTTPS with the certificate and key of `certName` ("server" is the
  // sandbox's, "other-server" one from a CA nobody trusts).
  explicit TestServer(const std::string& certName)
      : server_(std::make_unique<httplib::SSLServer>(certFile(certName + ".pem").c_str(),
                                                     certFile(certName + ".key").c_str())),
        scheme_("https") {
    if (!server_->is_valid()) {
      throw std::runtime_error("no certificate " + certFile(certName + ".pem") +
                               " (scripts/setup.sh makes it)");
    }
  }
  ~TestServer() { stop(); }

  httplib::Server& routes() { return *server_; }

  void start() {
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) throw std::runtime_error("cannot bind a test server");
    thread_ = std::thread([this] { server_->listen_after_bind(); });
  }

  void stop() {
    if (thread_.joinable()) {
      server_->stop();
      thread_.join();
    }
  }

  int port() const { return port_; }
  std::string url(const std::string& pathAndQuery) const {
    return scheme_ + "://127.0.0.1:" + std::to_string(port_) + pathAndQuery;
  }

 private:
  std::unique_ptr<httplib::Server> server_;
  std::string scheme_;
  int port_ = 0;
  std::thread thread_;
};

#ifdef _WIN32
using RawSocket = SOCKET;
inline void closeRaw(RawSocket s) { closesocket(s); }
constexpr RawSocket kNoSocket = INVALID_SOCKET;
#else
using RawSocket = int;
inline void closeRaw(RawSocket s) { ::close(s); }
constexpr RawSocket kNoSocket = -1;
#endif

// One accepted connection of a RawServer.
class RawConnection {
 public:
  RawConnection(RawSocket socket, const std::atomic<bool>& stopping)
      : socket_(socket), stopping_(stopping) {}

  // The request line and headers, up to the empty line.
  std::string readHead() {
    std::string head;
    char c;
    while (head.find("\r\n\r\n") == std::string::npos) {
      int n = ::recv(socket_, &c, 1, 0);
      if (n <= 0) break;
      head += c;
    }
    return head;
  }

  // The next `count` bytes; fewer when the client goes first.
  std::string receive(size_t count) {
    std::string bytes;
    char c;
    while (bytes.size() < count && ::recv(socket_, &c, 1, 0) == 1) bytes += c;
    return bytes;
  }

  // False once the client has gone.
  bool send(const std::string& bytes) {
#ifdef _WIN32
    const int flags = 0;
#else
    const int flags = MSG_NOSIGNAL;  // a gone client is an answer, not a signal
#endif
    size_t done = 0;
    while (done < bytes.size()) {
      int n = ::send(socket_, bytes.data() + done, static_cast<int>(bytes.size() - done), flags);
      if (n <= 0) return false;
      done += static_cast<size_t>(n);
    }
    return true;
  }

  // Sends `bytes` one at a time, `every` apart, until the client goes or the
  // server is destroyed.
  void trickle(const std::string& bytes, std::chrono::milliseconds every) {
    for (char c : bytes) {
      if (stopping_ || !send(std::string(1, c))) return;
      std::this_thread::sleep_for(every);
    }
  }

  // Holds the connection open and silent until the server is destroyed.
  void stayQuiet() {
    while (!stopping_) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }

 private:
  RawSocket socket_;
  const std::atomic<bool>& stopping_;
};

// Accepts connections one after another and lets `handler` speak on each;
// the connection is closed when the handler returns.
class RawServer {
 public:
  using Handler = std::function<void(RawConnection&)>;

  explicit RawServer(Handler handler) : handler_(std::move(handler)) {
#ifdef _WIN32
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
#endif
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (listener_ == kNoSocket ||
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 8) != 0) {
      throw std::runtime_error("cannot start a raw test server");
    }
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { run(); });
  }

  ~RawServer() {
    stopping_ = true;
    thread_.join();
    closeRaw(listener_);
#ifdef _WIN32
    WSACleanup();
#endif
  }

  int port() const { return port_; }
  std::string url(const std::string& pathAndQuery) const {
    return "http://127.0.0.1:" + std::to_string(port_) + pathAndQuery;
  }
  int connections() const { return connections_; }

 private:
  void run() {
    while (!stopping_) {
      fd_set ready;
      FD_ZERO(&ready);
      FD_SET(listener_, &ready);
      timeval wait{0, 20000};
      if (::select(static_cast<int>(listener_) + 1, &ready, nullptr, nullptr, &wait) <= 0) continue;
      RawSocket client = ::accept(listener_, nullptr, nullptr);
      if (client == kNoSocket) continue;
      ++connections_;
      RawConnection connection(client, stopping_);
      handler_(connection);
      closeRaw(client);
    }
  }

  Handler handler_;
  RawSocket listener_ = kNoSocket;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  std::thread thread_;
};

}  // namespace net_test
