// One line of the diagnosis: what was checked, how it stands, what it found
// and what to do about it, in words the restaurant's staff can act on.
#pragma once

#include <string>
#include <vector>

namespace diagnosis {

enum class Verdict { kOk, kAttention, kError };

// "OK", "Atenção", "Erro".
const char* verdictText(Verdict verdict);

struct CheckLine {
  std::string check;  // "Verificação"
  Verdict verdict = Verdict::kOk;
  std::string result;  // "Resultado"
  std::string action;  // "O que fazer"; empty when nothing is to be done
  // For support, in the report only: what was asked and answered.
  std::string detail = {};
  bool operator==(const CheckLine&) const = default;
};

using CheckLines = std::vector<CheckLine>;

}  // namespace diagnosis
