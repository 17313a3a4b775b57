// The four tables, each read from the first line of its own file.
#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/files.h"
#include "routing/tables.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(TableFiles, LenientPrinterFileIsLoadedAndWrittenBackInTheLibrarysForm) {
  TempDir dir;
  // Comments, single quotes, "=>", ";" and trailing separators, then a
  // second line that must not be looked at.
  platform::writeFileReplacing(
      dir.file("impressora"),
      "[ /* cozinha */ {name: 'Cozinha', \"padrao\" => 'Sim'; 'tipo':'Generic Text',"
      " numeroEnterFinal: 3,}, ]\r\nthis is not json");
  routing::Tables tables;
  EXPECT_TRUE(routing::readImpressora(tables, dir.path()));
  ASSERT_EQ(tables.printers->count(), 1);
  EXPECT_EQ(tables.printers->objectAt(0).textOf("NAME"), "Cozinha");

  routing::saveImpressora(tables, dir.path());
  EXPECT_EQ(
      platform::readFile(dir.file("impressora")),
      R"([{"name":"Cozinha","padrao":"Sim","tipo":"Generic\u0020Text","numeroEnterFinal":3}])");
}

TEST(TableFiles, AFirstLineThatIsNotAnArrayRaisesTheParserErrorAndKeepsTheTable) {
  TempDir dir;
  platform::writeFileReplacing(dir.file("categoria"), "{\"name\":\"Bebidas\"}\n");
  routing::Tables tables;
  tables.categories->addText("kept");
  json::TJSONArray* before = tables.categories.get();
  try {
    routing::readCategoria(tables, dir.path());
    FAIL() << "no error";
  } catch (const quelta::Error& e) {
    EXPECT_EQ(e.className(), "ParseException");
    EXPECT_EQ(e.message().rfind("A TJSONArray must start with \"[\"", 0), 0u) << e.message();
  }
  EXPECT_EQ(tables.categories.get(), before);
}

TEST(Tables, StartEmptyAndLoadEachTableFromItsOwnFile) {
  routing::Tables tables;
  EXPECT_EQ(tables.printers->count(), 0);
  EXPECT_EQ(tables.categories->count(), 0);
  EXPECT_EQ(tables.products->count(), 0);
  EXPECT_EQ(tables.cards, nullptr);

  TempDir dir;
  EXPECT_FALSE(routing::readImpressora(tables, dir.path()));
  EXPECT_FALSE(routing::readCategoria(tables, dir.path()));
  EXPECT_FALSE(routing::readProduto(tables, dir.path()));
  EXPECT_FALSE(routing::readCartao(tables, dir.path()));
  EXPECT_EQ(tables.cards, nullptr);

  platform::writeFileReplacing(dir.file("categoria"), "[{\"id\":7,\"name\":\"Bebidas\"}]");
  platform::writeFileReplacing(dir.file("produto"), "[{\"name\":\"Coca\"},{\"name\":\"Pastel\"}]");
  platform::writeFileReplacing(dir.file("cartao"), "[]");
  EXPECT_TRUE(routing::readCategoria(tables, dir.path()));
  EXPECT_TRUE(routing::readProduto(tables, dir.path()));
  EXPECT_TRUE(routing::readCartao(tables, dir.path()));
  EXPECT_EQ(tables.categories->objectAt(0).intOf("id"), 7);
  EXPECT_EQ(tables.products->count(), 2);
  ASSERT_NE(tables.cards, nullptr);
  EXPECT_EQ(tables.cards->count(), 0);
  EXPECT_EQ(tables.printers->count(), 0);
}

}  // namespace
