// The test ticket as printed on 07/03/26 at 09:05:03, kept once for the
// tests of the ticket and of the window's test box.
#pragma once

#include <string>
#include <vector>

namespace golden {

// The fourteen texts of the ticket for a printer named `name`, lines of
// `lineWidth` columns and the headline after `headlineBlanks` blanks.
inline std::vector<std::string> testTicketTexts(int lineWidth, int headlineBlanks,
                                                const std::string& name) {
  const auto blanks = [](int n) { return std::string(n, ' '); };
  return {blanks(headlineBlanks) + "QUELTA",
          "",
          blanks((lineWidth - static_cast<int>(name.size())) / 2) + name,
          "Mesa: 0" + blanks(lineWidth - 15) + "07/03/26",
          "Cartao: 0" + blanks(lineWidth - 17) + "09:05:03",
          std::string(lineWidth, '_'),
          "",
          "ITEM 1 DESCRICAO",
          "   >> Opcional descricao das opcoes, Opcional descricao das opcoes",
          "------------------------",
          "ITEM 2 DESCRICAO",
          "   >> Opcional 1 descricao das opcoes",
          "   >> Opcional 2 descricao das opcoes",
          ""};
}

// What a "Generic Text" printer's share receives for those texts: each
// ended by CR LF, the ticket's empty lines, the cut with its NUL, a last
// CR LF.
inline std::string shareBytes(const std::vector<std::string>& texts) {
  std::string bytes;
  for (const std::string& line : texts) bytes += line + "\r\n";
  bytes += "\r\n\r\n\x1dVB";
  bytes += '\0';
  bytes += "\r\n";
  return bytes;
}

}  // namespace golden
