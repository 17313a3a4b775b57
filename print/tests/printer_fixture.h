// A printer record as the print tests print on: a name, a type, the plain
// text type and the Epson port "USB".
#pragma once

#include <memory>
#include <string>

#include "json/json.h"

namespace printtest {

using Object = std::unique_ptr<json::TJSONObject, json::ValueDeleter>;
using Array = std::unique_ptr<json::TJSONArray, json::ValueDeleter>;

inline Object printer(const std::string& tipo, const std::string& name = "COZINHA") {
  Object p = json::make<json::TJSONObject>();
  p->setText("name", name);
  p->setText("tipo", tipo);
  p->setText("tipoTexto", "Outro");
  p->setText("endereco", "USB");
  return p;
}

}  // namespace printtest
