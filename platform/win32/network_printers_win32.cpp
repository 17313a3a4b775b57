// winsock2.h must come before windows.h.
// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
// clang-format on

#include <algorithm>
#include <chrono>

#include "net/http_fetcher.h"
#include "platform/network_printers.h"

namespace platform {
namespace {

constexpr char kPortsKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\";
constexpr DWORD kRawProtocol = 1;  // 2 is LPR

std::optional<std::string> textValue(HKEY key, const char* name) {
  char text[256] = {};
  DWORD type = 0, size = sizeof text - 1;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return std::nullopt;
  return std::string(text, strnlen(text, size));
}

std::optional<DWORD> numberValue(HKEY key, const char* name) {
  DWORD value = 0, type = 0, size = sizeof value;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD)
    return std::nullopt;
  return value;
}

using Steady = std::chrono::steady_clock;

// One printer's side of the exchange.
struct Link {
  SOCKET socket = INVALID_SOCKET;
  enum { kConnecting, kReading, kDone } stage = kDone;
  PrinterReply reply;
};

std::string errorText(int code) {
  switch (code) {
    case WSAECONNREFUSED:
      return "conex\xe3o recusada";
    case WSAETIMEDOUT:
    case WSAEHOSTUNREACH:
    case WSAENETUNREACH:
      return "endere\xe7o inalcan\xe7\xe1vel";
    default:
      return "erro de rede " + std::to_string(code);
  }
}

void finish(Link& link, const std::string& failure) {
  if (link.socket != INVALID_SOCKET) closesocket(link.socket);
  link.socket = INVALID_SOCKET;
  link.stage = Link::kDone;
  link.reply.failure = failure;
}

// Starts a connection without waiting for it.
void open(Link& link, const NetworkAddress& address) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo* found = nullptr;
  // A name is looked up first; Windows answers it from its cache or the
  // local network's DNS server.
  if (getaddrinfo(address.host.c_str(), std::to_string(address.port).c_str(), &hints, &found) !=
          0 ||
      !found)
    return finish(link, "endere\xe7o desconhecido");
  link.socket = socket(found->ai_family, found->ai_socktype, found->ai_protocol);
  u_long nonBlocking = 1;
  if (link.socket == INVALID_SOCKET || ioctlsocket(link.socket, FIONBIO, &nonBlocking) != 0) {
    freeaddrinfo(found);
    return finish(link, errorText(WSAGetLastError()));
  }
  const int result = connect(link.socket, found->ai_addr, static_cast<int>(found->ai_addrlen));
  const int code = WSAGetLastError();
  freeaddrinfo(found);
  if (result != 0 && code != WSAEWOULDBLOCK) return finish(link, errorText(code));
  link.stage = Link::kConnecting;
}

class Win32NetworkPrinters : public NetworkPrinters {
 public:
  std::optional<NetworkAddress> rawPort(const std::string& portName) override {
    if (portName.empty() || portName.find('\\') != std::string::npos) return std::nullopt;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kPortsKey + portName).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
      return std::nullopt;
    NetworkAddress address;
    address.host = textValue(key, "HostName").value_or("");
    if (address.host.empty()) address.host = textValue(key, "IPAddress").value_or("");
    const std::optional<DWORD> port = numberValue(key, "PortNumber");
    const std::optional<DWORD> protocol = numberValue(key, "Protocol");
    RegCloseKey(key);
    if (address.host.empty() || protocol.value_or(kRawProtocol) != kRawProtocol)
      return std::nullopt;
    if (port && *port > 0 && *port < 65536) address.port = static_cast<int>(*port);
    return address;
  }

  std::vector<PrinterReply> exchange(const std::vector<NetworkAddress>& printers,
                                     const std::string& request, size_t answerBytes,
                                     const net::Timeouts& limits, std::stop_token stop) override {
    WSADATA data;
    const bool started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    std::vector<Link> links(printers.size());
    const Steady::time_point start = Steady::now();
    const Steady::time_point connectBy = start + std::chrono::milliseconds(limits.connectMs);
    const Steady::time_point endBy = start + std::chrono::milliseconds(limits.totalMs);
    for (size_t i = 0; i < printers.size(); ++i) {
      if (started)
        open(links[i], printers[i]);
      else
        finish(links[i], "a rede do Windows n\xe3o iniciou");
    }
    for (;;) {
      fd_set readable, writable, failed;
      FD_ZERO(&readable);
      FD_ZERO(&writable);
      FD_ZERO(&failed);
      bool waiting = false;
      const Steady::time_point now = Steady::now();
      for (Link& link : links) {
        if (link.stage == Link::kDone) continue;
        if (stop.stop_requested())
          finish(link, "cancelado");
        else if (now >= endBy)
          finish(link, "sem resposta em " + seconds(limits.totalMs));
        else if (link.stage == Link::kConnecting && now >= connectBy)
          finish(link, "sem conex\xe3o em " + seconds(limits.connectMs));
        if (link.stage == Link::kDone) continue;
        waiting = true;
        if (link.stage == Link::kConnecting) {
          FD_SET(link.socket, &writable);
          FD_SET(link.socket, &failed);  // Winsock's word for a refused connection
        } else {
          FD_SET(link.socket, &readable);
        }
      }
      if (!waiting) break;
      // Short slices, so a stop is seen at once.
      timeval slice{0, 50000};
      if (select(0, &readable, &writable, &failed, &slice) == SOCKET_ERROR) Sleep(50);
      for (Link& link : links) {
        if (link.stage == Link::kConnecting &&
            (FD_ISSET(link.socket, &writable) || FD_ISSET(link.socket, &failed))) {
          int code = 0, size = sizeof code;
          getsockopt(link.socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&code), &size);
          if (code != 0) {
            finish(link, errorText(code));
            continue;
          }
          link.reply.connected = true;
          // A few bytes to a new connection: the socket's buffer takes them
          // whole.
          if (send(link.socket, request.data(), static_cast<int>(request.size()), 0) !=
              static_cast<int>(request.size())) {
            finish(link, errorText(WSAGetLastError()));
            continue;
          }
          link.stage = answerBytes ? Link::kReading : Link::kDone;
          if (link.stage == Link::kDone) finish(link, "");
        } else if (link.stage == Link::kReading && FD_ISSET(link.socket, &readable)) {
          char bytes[64];
          const int wanted =
              static_cast<int>(std::min(sizeof bytes, answerBytes - link.reply.answer.size()));
          const int got = recv(link.socket, bytes, wanted, 0);
          if (got > 0) link.reply.answer.append(bytes, static_cast<size_t>(got));
          if (link.reply.answer.size() >= answerBytes)
            finish(link, "");
          else if (got == 0)
            finish(link, "a impressora fechou a conex\xe3o");
          else if (got < 0 && WSAGetLastError() != WSAEWOULDBLOCK)
            finish(link, errorText(WSAGetLastError()));
        }
      }
    }
    if (started) WSACleanup();
    std::vector<PrinterReply> replies;
    for (Link& link : links) replies.push_back(std::move(link.reply));
    return replies;
  }

 private:
  static std::string seconds(long ms) {
    return ms % 1000 ? std::to_string(ms / 1000) + "," + std::to_string(ms % 1000 / 100) + " s"
                     : std::to_string(ms / 1000) + " s";
  }
};

}  // namespace

NetworkPrinters& systemNetworkPrinters() {
  static Win32NetworkPrinters printers;
  return printers;
}

}  // namespace platform
