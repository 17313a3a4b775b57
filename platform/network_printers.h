// Receipt printers on the network: where Windows sends a printer's raw
// bytes, and one short exchange of bytes with such printers. The diagnosis
// uses it to ask a printer for its real-time status.
#pragma once

#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace net {
struct Timeouts;
}

namespace platform {

// The port a network receipt printer takes raw bytes on.
inline constexpr int kRawPrinterPort = 9100;

struct NetworkAddress {
  std::string host;  // a name or an IPv4 address
  int port = kRawPrinterPort;
  bool operator==(const NetworkAddress&) const = default;
};

// "192.168.0.50:9100".
inline std::string addressText(const NetworkAddress& address) {
  return address.host + ":" + std::to_string(address.port);
}

// What came of one exchange.
struct PrinterReply {
  bool connected = false;  // the printer took the connection
  std::string answer;      // the bytes it sent back, at most those asked for
  std::string failure;     // why the exchange ended short; empty when all came
};

class NetworkPrinters {
 public:
  virtual ~NetworkPrinters() = default;
  // The address of a Windows printer port of the Standard TCP/IP monitor
  // that sends raw bytes; nullopt for any other port (USB, LPR, a file, a
  // port of another monitor).
  virtual std::optional<NetworkAddress> rawPort(const std::string& portName) = 0;
  // One connection to each printer, all at once: sends `request`, reads until
  // `answerBytes` bytes have come, closes. Connecting gives up after
  // limits.connectMs, the whole exchange after limits.totalMs, and every one
  // at once when `stop` is requested. One reply per printer, in their order.
  virtual std::vector<PrinterReply> exchange(const std::vector<NetworkAddress>& printers,
                                             const std::string& request, size_t answerBytes,
                                             const net::Timeouts& limits, std::stop_token stop) = 0;
};

// Windows' port configuration in the registry, and Winsock.
NetworkPrinters& systemNetworkPrinters();

}  // namespace platform
