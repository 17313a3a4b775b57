#include "print/print_document.h"

#include "platform/error.h"

namespace print {

LineObject makeLinha(const std::string& text, int kind, const json::TJSONObject& printer) {
  std::string fonte = printer.textOf(kind == 0 ? "fonteTitulo" : "fonteItem");
  // Built member by member, never as pasted JSON text: quotes and
  // backslashes in the text (a network printer's name) stay as they are.
  LineObject line = json::make<json::TJSONObject>();
  line->setText("text", text);
  line->set("tipo", json::make<json::JSONInteger>(kind + 1));
  line->setText("fonte", fonte);
  return line;
}

std::string formatTexto(const std::string& text, int tipo, const json::TJSONObject& printer) {
  std::string family = printer.textOf("tipoTexto");
  if (family == "Outro") return text;

  // Mode bytes of ESC ! per family, for tipo 0, 1 and 2.
  static const struct {
    const char* family;
    unsigned char modes[3];
  } kModes[] = {
      {"Epson", {0x28, 0x29, 0x0C}},
      {"Epson - Fonte M\xe9"
       "dia",
       {0x28, 0x29, 0x29}},
      {"Epson - Fonte Grande", {0x28, 0x29, 0x28}},
  };
  // A kind or family no table row covers prints its text as it is.
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
