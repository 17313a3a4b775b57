#include "print/print_document.h"

#include "platform/error.h"
#include "routing/printer_record.h"

namespace print {

LineObject makeLine(const std::string& text, int tipo, const std::string& fonte) {
  // Built member by member, never as pasted JSON text: quotes and
  // backslashes in the text (a network printer's name) stay as they are.
  LineObject line = json::make<json::TJSONObject>();
  line->setText("text", text);
  line->set("tipo", json::make<json::JSONInteger>(tipo));
  line->setText("fonte", fonte);
  return line;
}

LineObject makeLinha(const std::string& text, int kind, const json::TJSONObject& printer) {
  using routing::PrinterSettings;
  const std::string fonte = routing::memberText(
      printer, kind == 0 ? &PrinterSettings::fonteTitulo : &PrinterSettings::fonteItem);
  return makeLine(text, kind + 1, fonte);
}

std::string formatTexto(const std::string& text, int tipo, const json::TJSONObject& printer) {
  using routing::TextFamily;
  const TextFamily family = routing::textFamily(printer);
  // Mode bytes of ESC ! per family, for tipo 0, 1 and 2.
  static const struct {
    TextFamily family;
    unsigned char modes[3];
  } kModes[] = {
      {TextFamily::Epson, {0x28, 0x29, 0x0C}},
      {TextFamily::EpsonMedia, {0x28, 0x29, 0x29}},
      {TextFamily::EpsonGrande, {0x28, 0x29, 0x28}},
  };
  // "Outro", and a kind or family no table row covers, print the text as it is.
  if (tipo < 0 || tipo > 2) return text;
  for (const auto& row : kModes) {
    if (family == row.family) {
      std::string bytes = "\x1b!";
      bytes += static_cast<char>(row.modes[tipo]);
      return bytes + text;
    }
  }
  return text;
}

Fonte parseFonte(const std::string& spec) {
  std::string digits = spec.substr(0, 2);
  size_t i = digits.find_first_not_of(' ');  // leading blanks are allowed, as in every integer
  if (i == std::string::npos) i = digits.size();
  bool negative = false;
  if (i < digits.size() && (digits[i] == '+' || digits[i] == '-')) negative = digits[i++] == '-';
  if (i == digits.size())
    throw quelta::ConvertError("'" + digits + "' is not a valid integer value");
  int size = 0;
  for (; i < digits.size(); ++i) {
    if (digits[i] < '0' || digits[i] > '9')
      throw quelta::ConvertError("'" + digits + "' is not a valid integer value");
    size = size * 10 + (digits[i] - '0');
  }
  return {negative ? -size : size, spec.find("Negrito") != std::string::npos};
}

}  // namespace print
