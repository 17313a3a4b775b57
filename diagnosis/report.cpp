#include "diagnosis/report.h"

namespace diagnosis {

std::string summary(const CheckLines& lines, bool finished) {
  int counts[3] = {0, 0, 0};
  for (const CheckLine& line : lines) ++counts[static_cast<int>(line.verdict)];
  std::string text = std::to_string(counts[0]) + " OK, " + std::to_string(counts[1]) +
                     " Aten\xe7\xe3o, " + std::to_string(counts[2]) + " Erro";
  if (!finished) return text + " (verificando...)";
  if (counts[2] > 0) return text + ": resolva primeiro as linhas com Erro, de cima para baixo.";
  if (counts[1] > 0)
    return text + ": a impress\xe3o funciona, mas veja as linhas com Aten\xe7\xe3o.";
  return text + ": nada impede a impress\xe3o.";
}

std::string reportText(const CheckLines& lines, const std::string& heading,
                       const std::vector<std::string>& unanswered) {
  std::string text = heading + "\r\n\r\n";
  for (const CheckLine& line : lines) {
    text += std::string("[") + verdictText(line.verdict) + "] " + line.check + ": " + line.result +
            "\r\n";
    if (!line.action.empty()) text += "  O que fazer: " + line.action + "\r\n";
    if (!line.detail.empty()) text += "  Detalhe: " + line.detail + "\r\n";
  }
  for (const std::string& check : unanswered)
    text += "[Aguardando] " + check + ": a verifica\xe7\xe3o ainda n\xe3o respondeu\r\n";
  return text + "\r\n" + summary(lines, unanswered.empty()) + "\r\n";
}

}  // namespace diagnosis
