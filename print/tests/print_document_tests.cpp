#include <gtest/gtest.h>

#include "platform/error.h"
#include "print/print_document.h"

namespace {

using Object = std::unique_ptr<json::TJSONObject, json::ValueDeleter>;

Object printerWith(const std::string& tipoTexto) {
  Object printer = json::make<json::TJSONObject>();
  printer->setText("name", "COZINHA");
  printer->setText("tipoTexto", tipoTexto);
  printer->setText("fonteTitulo", "16 Negrito");
  printer->setText("fonteItem", "10");
  return printer;
}

std::string esc(char mode) { return std::string("\x1b!") + mode; }

TEST(FormatTexto, EveryTextModeGivesItsEscBangPrefixPerLineKind) {
  const std::string t = "2x X-Burguer";
  EXPECT_EQ(print::formatTexto(t, 0, *printerWith("Epson")), esc('\x28') + t);
  EXPECT_EQ(print::formatTexto(t, 1, *printerWith("Epson")), esc('\x29') + t);
  EXPECT_EQ(print::formatTexto(t, 2, *printerWith("Epson")), esc('\x0c') + t);
  const std::string medium =
      "Epson - Fonte M\xe9"
      "dia";
  EXPECT_EQ(print::formatTexto(t, 0, *printerWith(medium)), esc('\x28') + t);
  EXPECT_EQ(print::formatTexto(t, 1, *printerWith(medium)), esc('\x29') + t);
  EXPECT_EQ(print::formatTexto(t, 2, *printerWith(medium)), esc('\x29') + t);
  EXPECT_EQ(print::formatTexto(t, 0, *printerWith("Epson - Fonte Grande")), esc('\x28') + t);
  EXPECT_EQ(print::formatTexto(t, 1, *printerWith("Epson - Fonte Grande")), esc('\x29') + t);
  EXPECT_EQ(print::formatTexto(t, 2, *printerWith("Epson - Fonte Grande")), esc('\x28') + t);
  for (int tipo : {0, 1, 2, 7, -1})
    EXPECT_EQ(print::formatTexto(t, tipo, *printerWith("Outro")), t);
}

TEST(FormatTexto, UnknownKindsAndFamiliesPrintTheTextAloneAndAMissingFamilyFails) {
  EXPECT_EQ(print::formatTexto("abc", 3, *printerWith("Epson")), "abc");
  EXPECT_EQ(print::formatTexto("abc", -1, *printerWith("Epson - Fonte Grande")), "abc");
  EXPECT_EQ(print::formatTexto("abc", 1, *printerWith("epson")), "abc");  // case counts
  EXPECT_EQ(print::formatTexto("", 0, *printerWith("Epson")), esc('\x28'));
  json::TJSONObject bare;
  try {
    print::formatTexto("abc", 0, bare);
    FAIL() << "no error";
  } catch (const quelta::Error& e) {
    EXPECT_EQ(quelta::describe(e),
              "NoSuchElementException - TJSONObject[\"tipoTexto\"] not found.");
  }
}

TEST(MakeLinha, TitleAndItemLinesTakeThePrintersFontsAndKeepTheTextExactly) {
  Object printer = printerWith("Epson");
  print::LineObject title = print::makeLinha("PEDIDO 12", 0, *printer);
  EXPECT_EQ(title->names(), (std::vector<std::string>{"text", "tipo", "fonte"}));
  EXPECT_EQ(title->textOf("text"), "PEDIDO 12");
  EXPECT_EQ(title->intOf("tipo"), 1);
  EXPECT_EQ(title->textOf("fonte"), "16 Negrito");

  // A network printer's name and a quoted word survive unchanged.
  const std::string odd = "\\\\SERVIDOR\\CAIXA \"balc\xe3o\"";
  print::LineObject item = print::makeLinha(odd, 1, *printer);
  EXPECT_EQ(item->textOf("text"), odd);
  EXPECT_EQ(item->intOf("tipo"), 2);
  EXPECT_EQ(item->textOf("fonte"), "10");

  json::TJSONArray document;
  document.add(std::move(item));
  EXPECT_EQ(document.objectAt(0).textOf("text"), odd);

  json::TJSONObject noFonts;
  noFonts.setText("tipoTexto", "Outro");
  try {
    print::makeLinha("x", 1, noFonts);
    FAIL() << "no error";
  } catch (const quelta::Error& e) {
    EXPECT_EQ(quelta::describe(e),
              "NoSuchElementException - TJSONObject[\"fonteItem\"] not found.");
  }
}

TEST(ParseFonte, SizeFromTheFirstTwoCharactersAndBoldFromTheWordNegrito) {
  struct Case {
    const char* spec;
    int size;
    bool bold;
  } cases[] = {{"10", 10, false},
               {"10 Negrito", 10, true},
               {"12", 12, false},
               {"18  Negrito", 18, true},
               {"14 negrito", 14, false},
               {"8", 8, false},
               {"16 Italico Negrito", 16, true}};
  for (const Case& c : cases) {
    print::Fonte f = print::parseFonte(c.spec);
    EXPECT_EQ(f.size, c.size) << c.spec;
    EXPECT_EQ(f.bold, c.bold) << c.spec;
  }
  for (auto [spec, shown] : {std::pair{"Negrito 12", "Ne"}, {"8 Negrito", "8 "}, {"", ""}}) {
    try {
      print::parseFonte(spec);
      ADD_FAILURE() << "no error for " << spec;
    } catch (const quelta::ConvertError& e) {
      EXPECT_EQ(quelta::describe(e),
                std::string("EConvertError - '") + shown + "' is not a valid integer value");
    }
  }
}

}  // namespace
