#include "diagnosis/printer_status.h"

#include <cctype>
#include <cstdio>

namespace diagnosis {
namespace {

// Bits of the answers, as ESC/POS numbers them.
constexpr unsigned kFixedMask = 0x93;     // bits 0, 1, 4 and 7...
constexpr unsigned kFixedValue = 0x12;    // ...are 0, 1, 1 and 0 in every answer
constexpr unsigned kOffline = 0x08;       // n = 1
constexpr unsigned kCoverOpen = 0x04;     // n = 2
constexpr unsigned kStoppedAtEnd = 0x20;  // n = 2: printing stopped at the paper's end
constexpr unsigned kError = 0x40;         // n = 2
constexpr unsigned kNearEnd = 0x0C;       // n = 4: the near-end sensor
constexpr unsigned kRollEnd = 0x60;       // n = 4: the roll-end sensor

bool number(const std::string& text, unsigned max, unsigned& value) {
  if (text.empty() || text.size() > 5) return false;
  value = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  return value <= max;
}

bool ipv4(const std::string& text) {
  size_t start = 0;
  for (int part = 0; part < 4; ++part) {
    const size_t dot = part < 3 ? text.find('.', start) : text.size();
    unsigned value = 0;
    if (dot == std::string::npos || dot - start > 3 ||
        !number(text.substr(start, dot - start), 255, value))
      return false;
    start = dot + 1;
  }
  return true;
}

}  // namespace

std::optional<platform::NetworkAddress> networkAddress(const std::string& endereco) {
  const size_t first = endereco.find_first_not_of(' ');
  if (first == std::string::npos) return std::nullopt;
  std::string text = endereco.substr(first, endereco.find_last_not_of(' ') - first + 1);
  std::string upper = text;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const char* prefix : {"TCP:", "IP:"})
    if (upper.rfind(prefix, 0) == 0) text.erase(0, std::string(prefix).size());
  platform::NetworkAddress address;
  const size_t colon = text.find(':');
  address.host = text.substr(0, colon);
  if (!ipv4(address.host)) return std::nullopt;
  if (colon != std::string::npos) {
    unsigned port = 0;
    if (!number(text.substr(colon + 1), 65535, port) || port == 0) return std::nullopt;
    address.port = static_cast<int>(port);
  }
  return address;
}

std::string hexBytes(const std::string& bytes) {
  std::string text;
  for (unsigned char byte : bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X", byte);
    text += (text.empty() ? "" : " ") + std::string(hex);
  }
  return text;
}

CheckLines statusLines(const std::string& check, const platform::NetworkAddress& address,
                       const platform::PrinterReply& reply) {
  const std::string asked = "Pedido de estado em " + platform::addressText(address);
  const std::string answer = "resposta (hexadecimal): " + hexBytes(reply.answer);
  if (reply.answer.size() < kStatusAnswerBytes) {
    // Refused or silent: off, unplugged, or busy with the print service's
    // own connection (many printers take one at a time). Not a fault as such.
    return {{check, Verdict::kAttention, "A impressora n\xe3o respondeu ao pedido de estado",
             "Se os pedidos saem, ignore (ela pode estar ocupada com o servi\xe7o); sen\xe3o, "
             "confira se est\xe1 ligada e no cabo de rede",
             asked + ": " + reply.failure + (reply.answer.empty() ? "" : "; " + answer)}};
  }
  const std::string detail = asked + ", " + answer;
  for (unsigned char byte : reply.answer)
    if ((byte & kFixedMask) != kFixedValue)
      return {{check, Verdict::kAttention,
               "Resposta inesperada ao pedido de estado: " + hexBytes(reply.answer),
               "Confira se a impressora est\xe1 no modo ESC/POS; se os pedidos saem, ignore",
               detail}};

  const unsigned printer = static_cast<unsigned char>(reply.answer[0]);
  const unsigned offline = static_cast<unsigned char>(reply.answer[1]);
  const unsigned paper = static_cast<unsigned char>(reply.answer[2]);
  const bool paperEnd = (offline & kStoppedAtEnd) || (paper & kRollEnd);
  CheckLines lines;
  if (offline & kCoverOpen)
    lines.push_back({check, Verdict::kError, "Tampa aberta: a impressora parou",
                     "Feche bem a tampa da impressora, at\xe9 o clique"});
  if (paperEnd)
    lines.push_back({check, Verdict::kError, "Sem papel: a bobina acabou",
                     "Coloque uma bobina nova e feche a tampa"});
  if (offline & kError)
    lines.push_back({check, Verdict::kError,
                     "A impressora est\xe1 em erro (guilhotina travada ou superaquecida)",
                     "Desligue a impressora, tire o papel preso na guilhotina, espere um minuto "
                     "e ligue de novo"});
  // A printer stopped by its cover, its paper or an error says offline too;
  // offline alone is the line of its own.
  if ((printer & kOffline) && lines.empty())
    lines.push_back({check, Verdict::kError, "A impressora est\xe1 offline",
                     "Confira a tampa e o papel; se continuar, desligue e ligue a impressora"});
  if ((paper & kNearEnd) && !paperEnd)
    lines.push_back({check, Verdict::kAttention, "O papel est\xe1 acabando",
                     "Deixe uma bobina nova por perto e troque quando acabar"});
  if (lines.empty())
    lines.push_back({check, Verdict::kOk, "Pronta: respondeu ao pedido de estado", ""});
  lines.front().detail = detail;
  return lines;
}

}  // namespace diagnosis
