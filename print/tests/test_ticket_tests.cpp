#include <gtest/gtest.h>

#include "print/test_ticket.h"
#include "tests/support/recording_services.h"
#include "tests/support/test_ticket_golden.h"

namespace {

using Lines = std::vector<std::string>;

const platform::LocalDateTime kNow{2026, 3, 7, 9, 5, 3};

json::TJSONObject printer(const std::string& text) { return json::TJSONObject(text); }

std::string blanks(int n) { return std::string(n, ' '); }

Lines texts(const json::TJSONArray& document) {
  Lines out;
  for (int i = 0; i < document.count(); ++i) out.push_back(document.objectAt(i).textOf("text"));
  return out;
}

}  // namespace

TEST(TestTicket, OutroPrinterOfFortyColumns) {
  json::TJSONObject caixa = printer(
      "{\"name\":\"Caixa\",\"tipo\":\"Generic Text\",\"tipoTexto\":\"Outro\","
      "\"tamanhoFolha\":\"40\",\"fonteTitulo\":\"12 Negrito\",\"fonteItem\":\"10\"}");
  print::TicketLayout layout = print::ticketLayout(caixa);
  EXPECT_EQ(layout.paperWidth, 40);
  EXPECT_EQ(layout.lineWidth, 48);
  EXPECT_EQ(layout.titleCentre, 24);

  auto document = print::testeDocument(caixa, layout, "QUELTA", platform::SettableClock(kNow));
  const Lines expected = golden::testTicketTexts(48, 21, "Caixa");
  ASSERT_EQ(texts(*document), expected);
  EXPECT_EQ(expected[3].size(), 48u);  // the date ends at column L
  EXPECT_EQ(expected[4].size(), 48u);
  EXPECT_EQ(expected[3].substr(0, 7 + 33), "Mesa: 0" + blanks(33));

  // The separators are the regional settings', not fixed ones.
  platform::SettableClock regionalClock(kNow);
  regionalClock.setSeparators('.', '-');
  auto regional = print::testeDocument(caixa, layout, "QUELTA", regionalClock);
  EXPECT_EQ(regional->objectAt(3).textOf("text"), "Mesa: 0" + blanks(33) + "07.03.26");
  EXPECT_EQ(regional->objectAt(4).textOf("text"), "Cartao: 0" + blanks(31) + "09-05-03");

  // Kinds and fonts: the headline and spacers have their own, the rest are
  // the printer's title (tipo 1) and item (tipo 2) lines.
  const int tipos[] = {0, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 1};
  const char* fontes[] = {"14 Negrito", "12", "12 Negrito", "12 Negrito", "12 Negrito",
                          "12 Negrito", "12", "10",         "10",         "10",
                          "10",         "10", "10",         "12"};
  for (int i = 0; i < 14; ++i) {
    EXPECT_EQ(document->objectAt(i).intOf("tipo"), tipos[i]) << i;
    EXPECT_EQ(document->objectAt(i).textOf("fonte"), fontes[i]) << i;
  }

  // Printed: the texts unchanged (family "Outro"), then the trailer.
  printtest::Recorders rec;
  platform::SettableClock clock(kNow);
  std::string result;
  print::printTeste(caixa, "QUELTA", result, rec.services(), clock);
  EXPECT_EQ(result, "OK");
  EXPECT_EQ(rec.share.record.opened, Lines{"\\\\127.0.0.1\\Caixa"});
  EXPECT_EQ(rec.share.record.bytes, golden::shareBytes(expected));
  EXPECT_EQ(rec.pauses, std::vector<int>{3000});
}

TEST(TestTicket, EpsonPrinterOfFortyColumns) {
  json::TJSONObject balcao = printer(
      "{\"name\":\"Balcao\",\"tipo\":\"EPSON DLL\",\"endereco\":\"USB\",\"tipoTexto\":\"Epson\","
      "\"tamanhoFolha\":\"40\",\"fonteTitulo\":\"10\",\"fonteItem\":\"10\"}");
  print::TicketLayout layout = print::ticketLayout(balcao);
  EXPECT_EQ(layout.lineWidth, 32);
  EXPECT_EQ(layout.titleCentre, 12);
  const Lines expected = golden::testTicketTexts(32, 9, "Balcao");
  EXPECT_EQ(expected[3], "Mesa: 0" + blanks(17) + "07/03/26");

  printtest::Recorders rec;
  platform::SettableClock clock(kNow);
  std::string result;
  print::printTeste(balcao, "QUELTA", result, rec.services(), clock);
  EXPECT_EQ(result, "OK");
  // Headline ESC ! 28, spacers and title lines ESC ! 29, items ESC ! 0C.
  const char modes[] = {0x28, 0x29, 0x29, 0x29, 0x29, 0x29, 0x29,
                        0x0C, 0x0C, 0x0C, 0x0C, 0x0C, 0x0C, 0x29};
  std::string text;
  for (int i = 0; i < 14; ++i) text += std::string("\x1b!") + modes[i] + expected[i] + "\n";
  ASSERT_EQ(rec.epson.names(), Lines({"FechaPorta", "IniciaPorta", "ImprimeTextoTag",
                                      "AcionaGuilhotina", "FechaPorta"}));
  EXPECT_EQ(rec.epson.calls[2].text, text);
}

TEST(TestTicket, WidthsFromThePrinterRecord) {
  // No paper width: 40. Other families: the Epson widths apply to all three
  // Epson families, the "Outro" centre only to "Outro".
  auto layoutOf = [](const std::string& text) { return print::ticketLayout(printer(text)); };
  print::TicketLayout l = layoutOf("{\"tipoTexto\":\"Outro\"}");
  EXPECT_EQ(l.paperWidth, 40);
  EXPECT_EQ(l.lineWidth, 48);
  l = layoutOf("{\"tipoTexto\":\"Epson - Fonte Grande\",\"tamanhoFolha\":\"48\"}");
  EXPECT_EQ(l.lineWidth, 40);
  EXPECT_EQ(l.titleCentre, 16);
  l = layoutOf(
      "{\"tipoTexto\":\"Epson - Fonte M\xe9"
      "dia\",\"tamanhoFolha\":\"32\"}");
  EXPECT_EQ(l.lineWidth, 24);
  l = layoutOf("{\"tipoTexto\":\"epson\",\"tamanhoFolha\":\"40\"}");  // not an Epson family
  EXPECT_EQ(l.lineWidth, 48);
  EXPECT_EQ(l.titleCentre, 12);
  l = layoutOf("{\"tipoTexto\":\"Outro\",\"tamanhoFolha\":45}");  // a number, odd
  EXPECT_EQ(l.lineWidth, 53);
  EXPECT_EQ(l.titleCentre, 26);
}

TEST(TestTicket, LayoutErrorsLeaveThePrintUnattempted) {
  printtest::Recorders rec;
  platform::SettableClock clock(kNow);
  std::string result = "unchanged";
  try {
    print::printTeste(
        printer("{\"name\":\"A\",\"tipoTexto\":\"Outro\",\"tamanhoFolha\":\"40 cm\"}"), "QUELTA",
        result, rec.services(), clock);
    ADD_FAILURE() << "no error";
  } catch (const quelta::Error& e) {
    EXPECT_EQ(quelta::describe(e), "EConvertError - '40 cm' is not a valid integer value");
  }
  try {
    print::printTeste(printer("{\"name\":\"A\",\"tipo\":\"Generic Text\"}"), "QUELTA", result,
                      rec.services(), clock);
    ADD_FAILURE() << "no error";
  } catch (const quelta::Error& e) {
    EXPECT_EQ(e.className(), "NoSuchElementException");
  }
  EXPECT_EQ(result, "unchanged");
  EXPECT_TRUE(rec.share.record.opened.empty());
  EXPECT_TRUE(rec.pauses.empty());
}

TEST(TestTicket, ATicketThatCannotBeBuiltIsAResultNotAnError) {
  printtest::Recorders rec;
  platform::SettableClock clock(kNow);
  std::string result;
  print::printTeste(printer("{\"name\":\"A\",\"tipo\":\"Generic Text\",\"tipoTexto\":\"Outro\","
                            "\"fonteTitulo\":\"10\"}"),
                    "QUELTA", result, rec.services(), clock);
  EXPECT_EQ(result.rfind("Erro na impressao: NoSuchElementException - TJSONObject[", 0), 0u)
      << result;
  EXPECT_NE(result.find("fonteItem"), std::string::npos) << result;
  EXPECT_TRUE(rec.share.record.opened.empty());
}

TEST(TestTicket, LongNamesAndTitlesGetNoBlanksAndStayAsTheyAre) {
  json::TJSONObject shared = printer(
      "{\"name\":\"\\\\\\\\SERVIDOR\\\\IMPRESSORA DA COZINHA PRINCIPAL\",\"tipoTexto\":\"Epson\","
      "\"tamanhoFolha\":\"40\",\"fonteTitulo\":\"10\",\"fonteItem\":\"10\"}");
  const std::string title = "Restaurante \"Sabor\" da Vov\xf3 e Filhos Ltda";
  platform::SettableClock clock({2026, 12, 31, 23, 59, 58});
  auto document = print::testeDocument(shared, print::ticketLayout(shared), title, clock);
  EXPECT_EQ(document->objectAt(0).textOf("text"), title);
  EXPECT_EQ(document->objectAt(2).textOf("text"), "\\\\SERVIDOR\\IMPRESSORA DA COZINHA PRINCIPAL");
  EXPECT_EQ(document->objectAt(3).textOf("text"), "Mesa: 0" + blanks(17) + "31/12/26");
  EXPECT_EQ(document->objectAt(4).textOf("text"), "Cartao: 0" + blanks(15) + "23:59:58");
}
