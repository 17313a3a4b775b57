// What a printer's status answers mean (the fake printer of the Windows
// tests gives the common ones), which "endereco" is a network address, and
// the report's raw answer.
#include <gtest/gtest.h>

#include "diagnosis/printer_status.h"
#include "diagnosis/report.h"

namespace {

using diagnosis::CheckLine;

std::string lineText(const CheckLine& line) {
  return std::string(diagnosis::verdictText(line.verdict)) + " | " + line.result +
         (line.detail.empty() ? "" : " | " + line.detail);
}

TEST(PrinterStatus, AnswersGiveTheirLines) {
  const platform::NetworkAddress at{"10.0.0.7", 9100};
  const struct {
    platform::PrinterReply reply;
    std::vector<std::string> lines;
  } cases[] = {
      // Stopped by its cover and its paper: offline is no line of its own.
      {{true, "\x1e\x36\x72", ""},
       {"Erro | Tampa aberta: a impressora parou | Pedido de estado em 10.0.0.7:9100, resposta "
        "(hexadecimal): 1E 36 72",
        "Erro | Sem papel: a bobina acabou"}},
      {{true, "\x1e\x52\x1e", ""},
       {"Erro | A impressora est\xe1 em erro (guilhotina travada ou superaquecida) | Pedido de "
        "estado em 10.0.0.7:9100, resposta (hexadecimal): 1E 52 1E",
        "Aten\xe7\xe3o | O papel est\xe1 acabando"}},
      {{true, "\x16", "sem resposta em 2 s"},
       {"Aten\xe7\xe3o | A impressora n\xe3o respondeu ao pedido de estado | Pedido de estado em "
        "10.0.0.7:9100: sem resposta em 2 s; resposta (hexadecimal): 16"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines;
    for (const CheckLine& line : diagnosis::statusLines("Impressora CAIXA", at, c.reply))
      lines.push_back(lineText(line));
    EXPECT_EQ(c.lines, lines);
  }
  const diagnosis::CheckLines one =
      diagnosis::statusLines("Impressora CAIXA", at, {true, "\x16\x12\x12", ""});
  EXPECT_NE(std::string::npos,
            diagnosis::reportText(one, "Diagn\xf3stico")
                .find("[OK] Impressora CAIXA: Pronta: respondeu ao pedido de estado\r\n  Detalhe: "
                      "Pedido de estado em 10.0.0.7:9100, resposta (hexadecimal): 16 12 12\r\n"));
}

TEST(PrinterStatus, AnEpsonAddressIsAskedOnlyWhenItIsOnTheNetwork) {
  const struct {
    const char* endereco;
    std::optional<platform::NetworkAddress> address;
  } cases[] = {
      {"192.168.0.50", platform::NetworkAddress{"192.168.0.50", 9100}},
      {" TCP:10.0.0.7:9101 ", platform::NetworkAddress{"10.0.0.7", 9101}},
      {"ip:10.0.0.7", platform::NetworkAddress{"10.0.0.7", 9100}},
      {"USB", std::nullopt},
      {"COM1", std::nullopt},
      {"", std::nullopt},
      {"192.168.0.256", std::nullopt},
      {"192.168.0", std::nullopt},
      {"10.0.0.7:0", std::nullopt},
      {"10.0.0.7:70000", std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.address, diagnosis::networkAddress(c.endereco)) << c.endereco;
}

}  // namespace
