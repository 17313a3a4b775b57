#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/profile.h"
#include "routing/config_save.h"
#include "routing/printer_table.h"
#include "routing/product_routing.h"
#include "tests/support/temp_dir.h"

namespace {

struct Saving {
  TempDir dir;
  routing::Tables tables;

  Saving() {
    routing::addPrinter(tables, "Caixa");
    tables.categories = std::make_unique<json::TJSONArray>(
        R"([{"id":1,"name":"Pizzas","printer":"Velha"},{"id":2,"name":"Bebidas"},)"
        R"({"id":3,"name":"pizzas"}])");
    routing::addProduct(tables, "Coca", "Caixa", "Sim");
  }
  void save(const std::vector<routing::CategoryRow>& rows) {
    routing::saveConfiguration(tables, rows, dir.path());
  }
  // The print service's signal: "reload" set to "S" in section "CONFIG".
  bool reloadRaised() const {
    return platform::readProfileString(dir.file("quelta.dll"), "config", "RELOAD", "") == "S";
  }
  std::string file(const char* name) { return platform::readFile(dir.file(name)); }
};

TEST(ConfigSave, WritesTheThreeFilesExactlyThenSignalsReload) {
  Saving s;
  s.save({{"Bebidas", "Bar"}, {"Pizzas", "Caixa"}, {"pizzas", ""}});
  EXPECT_EQ(
      s.file("categoria"),
      R"([{"id":1,"name":"Pizzas","printer":"Caixa"},{"id":2,"name":"Bebidas","printer":"Bar"},)"
      R"({"id":3,"name":"pizzas","printer":""}])");
  EXPECT_EQ(s.file("produto"),
            R"([{"codigo":"","name":"Coca","printer":"Caixa","imprimeSeparado":"Sim"}])");
  EXPECT_EQ(s.file("impressora"), s.tables.printers->asText());
  EXPECT_EQ(s.file("impressora").rfind(R"([{"name":"Caixa","tipo":)", 0), 0u);
  EXPECT_TRUE(s.reloadRaised());
  EXPECT_EQ(s.dir.entries(),
            (std::vector<std::string>{"categoria", "impressora", "produto", "quelta.dll"}));
}

TEST(ConfigSave, TheLastMatchingRowWinsAndUnmatchedRowsChangeNothing) {
  Saving s;
  s.tables.categories = std::make_unique<json::TJSONArray>(
      R"([{"name":"Lanches","printer":"A"},{"name":"Lanches"},{"name":"Doces","printer":"X"}])");
  s.save({{"Lanches", "Caixa"}, {"Lanches", "Bar"}, {"Saladas", "Caixa"}});
  EXPECT_EQ(s.file("categoria"),
            R"([{"name":"Lanches","printer":"Bar"},{"name":"Lanches","printer":"Bar"},)"
            R"({"name":"Doces","printer":"X"}])");
}

TEST(ConfigSave, AFileThatCannotBeWrittenStaysAndStopsTheSaveBeforeReload) {
  Saving s;
  platform::writeFileReplacing(s.dir.file("categoria"), "[\"old categories\"]");
  platform::writeFileReplacing(s.dir.file("impressora"), "[\"old printers\"]");
  platform::createDirectory(s.dir.file("produto"));  // a directory where the file should be
  try {
    s.save({{"Bebidas", "Bar"}});
    FAIL() << "no error";
  } catch (const quelta::IOError& e) {
    EXPECT_NE(e.message().find(s.dir.file("produto")), std::string::npos) << e.message();
  }
  // Written before the failure, kept after it, and no signal to the service.
  EXPECT_EQ(s.file("categoria").substr(0, 12), R"([{"id":1,"na)");
  EXPECT_TRUE(platform::directoryExists(s.dir.file("produto")));
  EXPECT_EQ(s.file("impressora"), "[\"old printers\"]");
  EXPECT_FALSE(s.reloadRaised());
  EXPECT_EQ(s.dir.entries(), (std::vector<std::string>{"categoria", "impressora", "produto"}));
}

TEST(ConfigSave, AFailingFirstFileWritesNothing) {
  Saving s;
  platform::createDirectory(s.dir.file("categoria"));
  EXPECT_THROW(s.save({}), quelta::IOError);
  EXPECT_EQ(s.dir.entries(), (std::vector<std::string>{"categoria"}));
  EXPECT_FALSE(s.reloadRaised());
}

TEST(ConfigSave, ACategoryWithoutNameStopsTheSaveBeforeAnythingChanges) {
  Saving s;
  s.tables.categories = std::make_unique<json::TJSONArray>(R"([{"name":"Pizzas"},{"id":9}])");
  EXPECT_THROW(s.save({{"Pizzas", "Caixa"}}), json::NoSuchElementException);
  EXPECT_FALSE(s.tables.categories->objectAt(0).contains("printer"));
  EXPECT_TRUE(s.dir.entries().empty());
  EXPECT_FALSE(s.reloadRaised());
}

}  // namespace
