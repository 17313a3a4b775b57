// A receipt printer's own word on its state: the real-time status requests
// of ESC/POS (DLE EOT n), sent over the network, and what their answers mean
// as lines of the diagnosis. The spooler knows none of it for a printer on a
// text driver: paper out, cover open, offline.
#pragma once

#include <optional>
#include <string>

#include "diagnosis/check_line.h"
#include "net/http_fetcher.h"
#include "platform/network_printers.h"

namespace diagnosis {

// DLE EOT 1 (the printer), 2 (why it stopped), 4 (the roll's sensors):
// requests a printer answers at once, between or during jobs, and which
// neither print, feed nor cut. One byte answers each.
inline const std::string kStatusRequest{"\x10\x04\x01\x10\x04\x02\x10\x04\x04", 9};
inline constexpr size_t kStatusAnswerBytes = 3;

// Connecting gives up after 1 s, the whole exchange after 2 s.
inline constexpr net::Timeouts kPrinterStatusLimits{1000, 2, 2000};

// The network address in an "EPSON DLL" printer's "endereco": an IPv4
// address with or without ":port" (9100), also after "TCP:" or "IP:";
// nullopt for "USB", "COM1" and anything else.
std::optional<platform::NetworkAddress> networkAddress(const std::string& endereco);

// "16 12 12".
std::string hexBytes(const std::string& bytes);

// The lines, under `check`, of a printer at `address` that replied `reply`
// to kStatusRequest. The first carries the raw answer as its detail.
CheckLines statusLines(const std::string& check, const platform::NetworkAddress& address,
                       const platform::PrinterReply& reply);

}  // namespace diagnosis
