#include <gtest/gtest.h>

#include "platform/files.h"
#include "routing/printer_table.h"
#include "routing/tables.h"
#include "tests/support/temp_dir.h"

namespace {

using host::kRefillCategoryList;
using host::kRefillPrinterList;
using host::kRefillProductList;
using host::kRefillProductPrinterChoice;

std::string padraoOf(const routing::Tables& t, int i) {
  return t.printers->objectAt(i).textOf("padrao");
}

routing::Tables threePrinters() {
  routing::Tables t;
  routing::addPrinter(t, "Caixa");
  routing::addPrinter(t, "Cozinha");
  routing::addPrinter(t, "Bar");
  return t;
}

TEST(AddPrinter, FirstPrinterIsTheDefaultWithTheNewRecordsMembersInOrder) {
  routing::Tables t;
  host::Outcome out = routing::addPrinter(t, "EPSON TM-T20");
  EXPECT_EQ(out.message, "");
  EXPECT_EQ(out.refill, kRefillPrinterList | kRefillProductPrinterChoice);
  EXPECT_EQ(t.printers->asText(),
            R"([{"name":"EPSON\u0020TM-T20","tipo":"Generic\u0020Text","tipoTexto":"Outro",)"
            R"("imprimeSeparado":"N\u00E3o","fonteTitulo":"10","fonteItem":"12","endereco":"USB",)"
            R"("padrao":"Sim","conferencia":"N\u00E3o","fechamentoConta":"N\u00E3o",)"
            R"("guilhotina":"Corte\u00201","numeroEnterFinal":"1","tamanhoFolha":"40"}])");

  routing::addPrinter(t, "Cozinha");
  routing::addPrinter(t, "Cozinha");  // the same printer twice is accepted
  ASSERT_EQ(t.printers->count(), 3);
  EXPECT_EQ(padraoOf(t, 1), "N\xe3o");
  EXPECT_EQ(padraoOf(t, 2), "N\xe3o");
}

TEST(AddPrinter, NamesWithBackslashesAndQuotesAreStoredAndShownExactly) {
  const std::string name = "\\\\SERVIDOR\\Cozinha \"Fria\"";
  routing::Tables t;
  routing::addPrinter(t, name);
  EXPECT_EQ(routing::printerRows(*t.printers)[0].caption, name);

  TempDir dir;
  routing::saveImpressora(t, dir.path());
  EXPECT_EQ(platform::readFile(dir.file("impressora"))
                .rfind(R"([{"name":"\\\\SERVIDOR\\Cozinha\u0020\"Fria\"","tipo")", 0),
            0u);
  routing::Tables again;
  routing::readImpressora(again, dir.path());
  EXPECT_EQ(again.printers->objectAt(0).textOf("name"), name);
}

TEST(PrinterRows, ShowTableOrderWithDefaultsForMissingTypeAndDefaultFlag) {
  json::TJSONArray printers(
      R"([{"name":"Zeta","tipo":"Outro","padrao":"Sim"},{"NAME":"alfa"},{"name":"Meio","PADRAO":"N\u00e3o"}])");
  auto rows = routing::printerRows(printers);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].caption, "Zeta");
  EXPECT_EQ(rows[0].tipo, "Outro");
  EXPECT_EQ(rows[0].padrao, "Sim");
  EXPECT_EQ(rows[1].caption, "alfa");
  EXPECT_EQ(rows[1].tipo, "Generic Text");
  EXPECT_EQ(rows[1].padrao, "N\xe3o");
  EXPECT_EQ(rows[2].caption, "Meio");

  json::TJSONArray nameless(R"([{"tipo":"Outro"}])");
  EXPECT_THROW(routing::printerRows(nameless), json::NoSuchElementException);
}

TEST(DefaultMark, EveryOccurrenceIsRemovedInAnyLetterCase) {
  EXPECT_EQ(routing::withoutDefaultMark("Caixa *(Padrao)*"), "Caixa");
  EXPECT_EQ(routing::withoutDefaultMark("Caixa *(PADRAO)* 2 *(padrao)*"), "Caixa 2");
  EXPECT_EQ(routing::withoutDefaultMark("Caixa*(Padrao)*"), "Caixa*(Padrao)*");
  EXPECT_EQ(routing::withoutDefaultMark("Bar & Cozinha"), "Bar & Cozinha");
}

TEST(RemovePrinter, TheDefaultRolePassesToTheFirstRemainingPrinter) {
  routing::Tables t = threePrinters();
  host::Outcome out = routing::removePrinter(t, 0);
  EXPECT_EQ(out.message, "");
  EXPECT_EQ(out.refill, kRefillPrinterList | kRefillCategoryList | kRefillProductPrinterChoice);
  ASSERT_EQ(t.printers->count(), 2);
  EXPECT_EQ(t.printers->objectAt(0).textOf("name"), "Cozinha");
  EXPECT_EQ(padraoOf(t, 0), "Sim");
  EXPECT_EQ(padraoOf(t, 1), "N\xe3o");
}

TEST(RemovePrinter, NonDefaultLeavesTheDefaultAndTheLastLeavesAnEmptyTable) {
  routing::Tables t = threePrinters();
  routing::removePrinter(t, 2);
  ASSERT_EQ(t.printers->count(), 2);
  EXPECT_EQ(padraoOf(t, 0), "Sim");
  EXPECT_EQ(padraoOf(t, 1), "N\xe3o");
  routing::removePrinter(t, 1);
  routing::removePrinter(t, 0);
  EXPECT_EQ(t.printers->asText(), "[]");
  // The next printer added is the default again.
  routing::addPrinter(t, "Nova");
  EXPECT_EQ(padraoOf(t, 0), "Sim");
}

TEST(RemovePrinter, ClearsCategoriesRoutedToItButNotProducts) {
  routing::Tables t = threePrinters();
  t.categories = std::make_unique<json::TJSONArray>(
      R"([{"id":1,"name":"Pizzas","printer":"Cozinha"},{"id":2,"name":"Bebidas","printer":"Bar"},)"
      R"({"id":3,"name":"Massas","printer":"cozinha"},{"id":4,"name":"Doces"}])");
  t.products = std::make_unique<json::TJSONArray>(
      R"([{"codigo":"","name":"Pastel","printer":"Cozinha","imprimeSeparado":"Sim"}])");
  const std::string productsBefore = t.products->asText();

  routing::removePrinter(t, 1);
  EXPECT_EQ(t.categories->asText(),
            R"([{"id":1,"name":"Pizzas","printer":""},{"id":2,"name":"Bebidas","printer":"Bar"},)"
            R"({"id":3,"name":"Massas","printer":"cozinha"},{"id":4,"name":"Doces"}])");
  EXPECT_EQ(t.products->asText(), productsBefore);
}

TEST(RemovePrinter, WithoutSelectionOrWithoutPadraoNothingChanges) {
  routing::Tables t = threePrinters();
  const std::string before = t.printers->asText();
  host::Outcome out = routing::removePrinter(t, -1);
  EXPECT_EQ(out.message, "Nenhuma impressora selecionada");
  EXPECT_EQ(out.refill, 0u);
  EXPECT_EQ(routing::removePrinter(t, 3).message, "Nenhuma impressora selecionada");
  EXPECT_EQ(t.printers->asText(), before);

  t.printers = std::make_unique<json::TJSONArray>(R"([{"name":"A","padrao":"Sim"},{"name":"B"}])");
  t.categories = std::make_unique<json::TJSONArray>(R"([{"name":"Pizzas","printer":"B"}])");
  json::TJSONArray* table = t.printers.get();
  try {
    routing::removePrinter(t, 1);
    FAIL() << "no error";
  } catch (const json::NoSuchElementException& e) {
    EXPECT_EQ(e.message(), "TJSONObject[\"padrao\"] not found.");
  }
  EXPECT_EQ(t.printers.get(), table);
  EXPECT_EQ(t.printers->count(), 2);
  EXPECT_EQ(t.categories->objectAt(0).textOf("printer"), "B");
}

TEST(RemovePrinter, KeepsEveryOtherMemberOfTheRemainingRecordsByteForByte) {
  routing::Tables t;
  // Members of all kinds, a euro sign (0x80) and a repeated name survive the
  // rebuild of the table unchanged.
  t.printers = std::make_unique<json::TJSONArray>(
      "[{\"name\":\"A\",\"padrao\":\"Sim\"},"
      "{\"name\":\"B \x80\",\"padrao\":\"N\xe3o\",\"n\":12,\"d\":1.5,\"b\":true,\"z\":null,"
      "\"o\":{\"x\":[1,,\"y\"]},\"N\":2},null]");
  routing::removePrinter(t, 0);
  EXPECT_EQ(t.printers->count(), 2);
  EXPECT_EQ(t.printers->objectAt(0).textOf("name"), "B \x80");
  EXPECT_EQ(t.printers->asText(),
            R"([{"name":"B\u0020\u0080","padrao":"Sim","n":12,"d":"1.50","b":true,"z":null,)"
            R"("o":{"x":[1,null,"y"]},"N":12},null])");
}

}  // namespace
