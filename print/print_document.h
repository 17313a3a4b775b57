// Print documents: a TJSONArray of line objects {"text", "tipo", "fonte"},
// printed in order. "tipo" is the line kind (0 headline, 1 title class,
// 2 item class); "fonte" the font spec of the Windows-printer back-end.
#pragma once

#include <string>

#include "json/json.h"

namespace print {

using LineObject = std::unique_ptr<json::TJSONObject, json::ValueDeleter>;

// A line with its text, its "tipo" as stored and its font spec.
LineObject makeLine(const std::string& text, int tipo, const std::string& fonte);

// A new line for `printer`: kind 0 gives a title-class line (tipo 1) in the
// printer's "fonteTitulo", any other kind an item-class line (tipo 2) in its
// "fonteItem". The text is stored exactly as given.
LineObject makeLinha(const std::string& text, int kind, const json::TJSONObject& printer);

// The bytes of one line for a text printer: the text behind the ESC ! mode
// of the printer's "tipoTexto" for the line's kind.
std::string formatTexto(const std::string& text, int tipo, const json::TJSONObject& printer);

struct Fonte {
  int size = 0;
  bool bold = false;
};

// "12 Negrito" -> 12, bold. The size is the font spec's first two characters;
// ConvertError "'xx' is not a valid integer value" when they are no number.
Fonte parseFonte(const std::string& spec);

}  // namespace print
