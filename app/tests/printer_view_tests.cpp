// The group "Impressoras" driven through the real window: the printer list,
// adding and removing printers, and the configuration box.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on
#include <gtest/gtest.h>

#include <algorithm>

#include "app/main_window.h"
#include "app/tests/app_fixture.h"
#include "platform/profile.h"

namespace {

const std::string kNao = "N\xe3o";

class PrinterView : public AppTest {
 protected:
  struct Row {
    std::string name, tipo, padrao;
    bool operator==(const Row&) const = default;
  };
  static std::vector<Row> rows(app::MainWindow& w) {
    ui::ListView list = w.list("lvImpressora");
    std::vector<Row> out;
    for (int i = 0; i < list.rowCount(); ++i)
      out.push_back({list.cell(i, 0), list.cell(i, 1), list.cell(i, 2)});
    return out;
  }
  static void choose(app::MainWindow& w, const char* combo, const std::string& item) {
    ui::ComboBox box = w.combo(combo);
    const std::vector<std::string> items = box.items();
    auto it = std::find(items.begin(), items.end(), item);
    ASSERT_NE(it, items.end()) << combo << " has no item " << item;
    box.select(static_cast<int>(it - items.begin()));
    w.notifyChange(combo);
  }
  static std::string text(app::MainWindow& w, const char* name) { return w.control(name).text(); }
  static bool shown(app::MainWindow& w, const char* name) { return w.control(name).visible(); }

  // Opens the box for a row, changes lists, saves it.
  void configure(app::MainWindow& w, int row,
                 const std::vector<std::pair<const char*, std::string>>& choices) {
    w.list("lvImpressora").select(row);
    w.click("btnImpConfig");
    ASSERT_TRUE(shown(w, "gbImpConfig"));
    for (const auto& [combo, item] : choices) choose(w, combo, item);
    w.click("btnImpSalvar");
  }
};

TEST_F(PrinterView, AddingPrintersFillsTheListAndTheProductPrinterChoice) {
  app::MainWindow w(services, connections);
  prompts.printerChoices = {std::string("COZINHA"), std::nullopt,
                            std::string("\\\\SERVIDOR\\BAR \"2\"")};
  w.click("btnPrinterAdd");
  w.click("btnPrinterAdd");  // cancelled: nothing added
  w.click("btnPrinterAdd");
  EXPECT_EQ(rows(w), (std::vector<Row>{{"COZINHA", "Generic Text", "Sim"},
                                       {"\\\\SERVIDOR\\BAR \"2\"", "Generic Text", kNao}}));
  EXPECT_EQ(w.combo("cbProdutoImpressora").items(),
            (std::vector<std::string>{"COZINHA", "\\\\SERVIDOR\\BAR \"2\""}));
  EXPECT_EQ(w.combo("cbProdutoImpressora").selectedText(), "COZINHA");
  // The list's look: column widths, rows 21 pixels high, whole-row
  // selection, selection kept visible, no in-place editing.
  HWND list = w.list("lvImpressora").hwnd();
  EXPECT_EQ(ListView_GetColumnWidth(list, 0), 210);
  EXPECT_EQ(ListView_GetColumnWidth(list, 1), 125);
  RECT row{};
  ASSERT_TRUE(ListView_GetItemRect(list, 0, &row, LVIR_BOUNDS));
  EXPECT_EQ(row.bottom - row.top, 21);
  EXPECT_TRUE(ListView_GetExtendedListViewStyle(list) & LVS_EX_FULLROWSELECT);
  const LONG style = GetWindowLongA(list, GWL_STYLE);
  EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
  EXPECT_TRUE(style & LVS_NOSORTHEADER);
  EXPECT_FALSE(style & LVS_EDITLABELS);
  // The same printer again is taken, as a further non-default printer.
  prompts.printerChoices = {std::string("COZINHA")};
  w.click("btnPrinterAdd");
  ASSERT_EQ(rows(w).size(), 3u);
  EXPECT_EQ(rows(w)[2], (Row{"COZINHA", "Generic Text", kNao}));
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_FALSE(platform::fileExists(file("impressora")));  // only "Salvar" writes it
}

TEST_F(PrinterView, RemoverAndConfigurarWithoutSelectionSayNoPrinterIsSelected) {
  write("impressora", R"([{"name":"CAIXA","padrao":"Sim"}])");
  app::MainWindow w(services, connections);
  w.click("btnPrinterRemove");
  w.click("btnImpConfig");
  EXPECT_EQ(prompts.texts("message"), (std::vector<std::string>{"Nenhuma impressora selecionada",
                                                                "Nenhuma impressora selecionada"}));
  EXPECT_FALSE(shown(w, "gbImpConfig"));
  EXPECT_EQ(w.state().tables.printers->count(), 1);
}

TEST_F(PrinterView, RemovingTheDefaultPassesItOnAndUnroutesItsCategories) {
  write("impressora", R"([{"name":"COZINHA","padrao":"Sim"},{"name":"BAR","padrao":"N\u00E3o"},)"
                      R"({"name":"CAIXA","padrao":"N\u00E3o"}])");
  write("categoria", R"([{"name":"Pizzas","printer":"COZINHA"},{"name":"Bebidas","printer":"BAR"},)"
                     R"({"name":"Lanches","printer":"cozinha"}])");
  write("produto",
        R"([{"codigo":"","name":"Calzone","printer":"COZINHA","imprimeSeparado":"Sim"}])");
  app::MainWindow w(services, connections);
  w.list("lvImpressora").select(0);
  w.click("btnPrinterRemove");

  EXPECT_EQ(rows(w),
            (std::vector<Row>{{"BAR", "Generic Text", "Sim"}, {"CAIXA", "Generic Text", kNao}}));
  ui::ListView categories = w.list("lvCategoria");
  ASSERT_EQ(categories.rowCount(), 3);
  EXPECT_EQ(categories.cell(0, 0), "Bebidas");
  EXPECT_EQ(categories.cell(0, 1), "BAR");
  EXPECT_EQ(categories.cell(1, 0), "Lanches");
  EXPECT_EQ(categories.cell(1, 1), "cozinha");  // the name is matched with its case
  EXPECT_EQ(categories.cell(2, 0), "Pizzas");
  EXPECT_EQ(categories.cell(2, 1), "");
  EXPECT_EQ(w.combo("cbProdutoImpressora").items(), (std::vector<std::string>{"BAR", "CAIXA"}));
  EXPECT_EQ(w.list("lvProduto").cell(0, 1), "COZINHA");  // products keep their printer

  // Removing the last printers leaves an empty table and empty lists.
  w.list("lvImpressora").select(1);
  w.click("btnPrinterRemove");
  w.list("lvImpressora").select(0);
  w.click("btnPrinterRemove");
  EXPECT_TRUE(rows(w).empty());
  EXPECT_EQ(w.combo("cbProdutoImpressora").count(), 0);
  EXPECT_EQ(w.combo("cbProdutoImpressora").text(), "");
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(PrinterView, TheBoxShowsTheRecordWithItsDefaultsAndTheTypeRule) {
  write("impressora",
        R"([{"name":"EPSON *(padrao)*","tipo":"epson dll","tipoTexto":"Epson - Fonte M\u00E9dia",)"
        R"("imprimeSeparado":"SIM","padrao":"Sim","fonteTitulo":"12 Negrito",)"
        R"("fonteItem":"18 Negrito","guilhotina":"Sim","endereco":"COM3"}])");
  app::MainWindow w(services, connections);
  // Design-time selections before any box was opened.
  EXPECT_EQ(w.combo("cbImpTipo").selectedIndex(), -1);
  EXPECT_EQ(w.combo("cbImpTexto").selectedText(), "Outro");
  EXPECT_EQ(w.combo("cbImpTitulo").selectedText(), "10");
  EXPECT_EQ(w.combo("cbImpItem").selectedText(), "12");
  EXPECT_EQ(w.combo("cbImpGuilhotina").selectedIndex(), -1);
  EXPECT_EQ(w.combo("cbImpTrevio").selectedText(), kNao);
  EXPECT_EQ(w.combo("cbImpItem").items().back(), "18  Negrito");

  w.list("lvImpressora").select(0);
  w.click("btnImpConfig");
  EXPECT_TRUE(shown(w, "gbImpConfig"));
  EXPECT_EQ(text(w, "gbImpConfig"), " EPSON ");
  EXPECT_EQ(text(w, "cbImpTipo"), "EPSON DLL");
  EXPECT_EQ(text(w, "cbImpTexto"),
            "Epson - Fonte M\xe9"
            "dia");
  EXPECT_EQ(text(w, "cbImpSepara"), "Sim");
  EXPECT_EQ(text(w, "cbImpPadrao"), "Sim");
  EXPECT_FALSE(w.control("cbImpPadrao").enabled());
  EXPECT_EQ(text(w, "cbImpTitulo"), "12 Negrito");
  // One blank where the item has two: no selection, empty text.
  EXPECT_EQ(w.combo("cbImpItem").selectedIndex(), -1);
  EXPECT_EQ(text(w, "cbImpItem"), "");
  EXPECT_EQ(text(w, "cbImpGuilhotina"), "Corte 1");
  EXPECT_EQ(text(w, "edtEndereco"), "COM3");
  EXPECT_EQ(text(w, "edtImpTamanhoFolha"), "40");
  EXPECT_EQ(text(w, "edtImpQtdEnter"), "4");
  for (const char* missing : {"cbImpConferencia", "cbImpFechamentoConta", "cbDetalheConta",
                              "cbImpSeparaQtd", "cbImpChamarGarcom", "cbImpTrevio"})
    EXPECT_EQ(text(w, missing), kNao) << missing;
  EXPECT_TRUE(shown(w, "lbTipoText") && shown(w, "cbImpTexto"));
  EXPECT_TRUE(shown(w, "lbEndereco") && shown(w, "edtEndereco"));
  EXPECT_FALSE(shown(w, "lbImpFonteTitulo") || shown(w, "cbImpTitulo") ||
               shown(w, "lbImpFonteItem") || shown(w, "cbImpItem"));

  choose(w, "cbImpTipo", "Outro");
  EXPECT_FALSE(shown(w, "lbTipoText") || shown(w, "cbImpTexto"));
  EXPECT_FALSE(shown(w, "lbEndereco") || shown(w, "edtEndereco"));
  EXPECT_TRUE(shown(w, "lbImpFonteTitulo") && shown(w, "cbImpTitulo") &&
              shown(w, "lbImpFonteItem") && shown(w, "cbImpItem"));
  choose(w, "cbImpTipo", "Generic Text");
  EXPECT_TRUE(shown(w, "cbImpTexto"));
  EXPECT_FALSE(shown(w, "edtEndereco") || shown(w, "cbImpTitulo"));

  // Cancel changes nothing.
  w.click("btnImpCancelar");
  EXPECT_FALSE(shown(w, "gbImpConfig"));
  EXPECT_EQ(w.state().tables.printers->objectAt(0).textOf("tipo"), "epson dll");
  EXPECT_FALSE(w.state().tables.printers->objectAt(0).contains("trevio"));
}

TEST_F(PrinterView, ARecordWithoutARequiredMemberCannotBeOpened) {
  write("impressora", R"([{"name":"BAR","tipo":"Generic Text","padrao":"Sim"}])");
  app::MainWindow w(services, connections);
  w.list("lvImpressora").select(0);
  w.click("btnImpConfig");
  ASSERT_EQ(prompts.texts("error").size(), 1u);
  EXPECT_NE(prompts.texts("error")[0].find("tipoTexto"), std::string::npos)
      << prompts.texts("error")[0];
  EXPECT_FALSE(shown(w, "gbImpConfig"));
}

TEST_F(PrinterView, SavingTheBoxMovesTheExclusiveFlagsAndStoresEveryControl) {
  app::MainWindow w(services, connections);
  prompts.printerChoices = {std::string("COZINHA"), std::string("BAR")};
  w.click("btnPrinterAdd");
  w.click("btnPrinterAdd");
  configure(
      w, 0,
      {{"cbImpConferencia", "Sim"}, {"cbImpFechamentoConta", "Sim"}, {"cbImpChamarGarcom", "Sim"}});
  EXPECT_FALSE(shown(w, "gbImpConfig"));
  EXPECT_EQ(w.list("lvImpressora").selectedIndex(), -1);

  configure(w, 1,
            {{"cbImpPadrao", "Sim"},
             {"cbImpConferencia", "Sim"},
             {"cbImpFechamentoConta", "Sim"},
             {"cbImpChamarGarcom", "Sim"}});
  EXPECT_EQ(rows(w),
            (std::vector<Row>{{"COZINHA", "Generic Text", kNao}, {"BAR", "Generic Text", "Sim"}}));
  const json::TJSONObject& cozinha = w.state().tables.printers->objectAt(0);
  for (const char* flag : {"padrao", "conferencia", "fechamentoConta", "chamarGarcom"})
    EXPECT_EQ(cozinha.textOf(flag), kNao) << flag;

  // Edits hold any text. Members new to the record are appended as they
  // are first stored: "chamarGarcom" by the flag pass, the rest by the save.
  w.list("lvImpressora").select(1);
  w.click("btnImpConfig");
  EXPECT_FALSE(w.control("cbImpPadrao").enabled());
  w.control("edtImpTamanhoFolha").setText("48 colunas");
  w.control("edtImpQtdEnter").setText("");
  choose(w, "cbImpGuilhotina", kNao);
  choose(w, "cbImpTexto", "Epson - Fonte Grande");
  w.click("btnImpSalvar");
  EXPECT_EQ(w.state().tables.printers->objectAt(1).asText(),
            R"({"name":"BAR","tipo":"Generic\u0020Text","tipoTexto":"Epson\u0020-\u0020Fonte)"
            R"(\u0020Grande","imprimeSeparado":"N\u00E3o","fonteTitulo":"10","fonteItem":"12",)"
            R"("endereco":"USB","padrao":"Sim","conferencia":"Sim","fechamentoConta":"Sim",)"
            R"("guilhotina":"N\u00E3o","numeroEnterFinal":"","tamanhoFolha":"48\u0020colunas",)"
            R"("chamarGarcom":"Sim","fechamentoContaDetalhe":"N\u00E3o",)"
            R"("imprimeSeparadoQtd":"N\u00E3o","trevio":"N\u00E3o"})");
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(prompts.modalCount, 0);
}

TEST_F(PrinterView, TrevanoAsksForTheCredentialsOnlyWhenItIsSwitchedOn) {
  write("impressora",
        R"([{"name":"COZINHA","tipo":"Generic Text","tipoTexto":"Outro","imprimeSeparado":"Sim",)"
        R"("padrao":"Sim","fonteTitulo":"10","fonteItem":"12"},)"
        R"({"name":"BAR","tipo":"Generic Text","tipoTexto":"Outro","imprimeSeparado":"Sim",)"
        R"("padrao":"N\u00E3o","fonteTitulo":"10","fonteItem":"12","trevio":"N\u00E3o"}])");
  app::MainWindow w(services, connections);
  prompts.modalScripts.push_back([](ui::Form& credentials) {
    EXPECT_EQ(credentials.caption(), "Trevano");
    credentials.control("edtAppID").setText("app-42");
    credentials.control("edtPass").setText("s3nha");
    credentials.click("btnLogin");
  });
  configure(w, 0, {{"cbImpTrevio", "Sim"}});
  EXPECT_EQ(prompts.modalCount, 1);
  EXPECT_EQ(platform::readProfileString(file("quelta.dll"), "TREVANO", "appID", ""), "app-42");
  EXPECT_EQ(platform::readProfileString(file("quelta.dll"), "TREVANO", "pass", ""), "s3nha");
  EXPECT_EQ(w.state().tables.printers->objectAt(0).textOf("trevio"), "Sim");

  // Already on: saved again without a window.
  configure(w, 0, {});
  EXPECT_EQ(prompts.modalCount, 1);

  // Moved to BAR, whose "trevio" is "Não": the window opens again (closed
  // unsaved this time), and COZINHA loses the flag.
  prompts.modalScripts.push_back([](ui::Form&) {});
  configure(w, 1, {{"cbImpTrevio", "Sim"}});
  EXPECT_EQ(prompts.modalCount, 2);
  EXPECT_EQ(w.state().tables.printers->objectAt(0).textOf("trevio"), kNao);
  EXPECT_EQ(w.state().tables.printers->objectAt(1).textOf("trevio"), "Sim");
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(PrinterView, AnEpsonPrinterSwitchesTheLibraryLogOnAndReportsEachFailure) {
  std::vector<std::string> epsonCalls;
  twins.epson.journal = &epsonCalls;
  app::MainWindow w(services, connections);
  prompts.printerChoices = {std::string("EPSON TM-T20")};
  w.click("btnPrinterAdd");

  // Not an Epson printer: the library is left alone.
  configure(w, 0, {});
  EXPECT_TRUE(epsonCalls.empty());

  std::string logDir;
  for (char c : dir.path()) logDir += c == '\\' ? std::string("\\\\") : std::string(1, c);
  logDir += "\\\\log\\\\";

  w.list("lvImpressora").select(0);
  w.click("btnImpConfig");
  choose(w, "cbImpTipo", "EPSON DLL");
  EXPECT_TRUE(shown(w, "edtEndereco"));
  w.control("edtEndereco").setText("ESC/POS:USB001");
  w.click("btnImpSalvar");
  EXPECT_EQ(epsonCalls, (std::vector<std::string>{"IniciaPorta ESC/POS:USB001",
                                                  "Habilita_Log 1 " + logDir, "FechaPorta"}));
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(w.list("lvImpressora").cell(0, 1), "EPSON DLL");

  epsonCalls.clear();
  twins.epson.failing = {"IniciaPorta"};
  configure(w, 0, {});
  EXPECT_EQ(epsonCalls, (std::vector<std::string>{"IniciaPorta ESC/POS:USB001"}));
  EXPECT_EQ(prompts.texts("message"), (std::vector<std::string>{"Erro ao ativar log da DLL (1)"}));
  EXPECT_FALSE(shown(w, "gbImpConfig"));  // the record was saved before

  prompts.shown.clear();
  twins.epson.failing = {"Habilita_Log", "FechaPorta"};
  configure(w, 0, {});
  EXPECT_EQ(prompts.texts("message"), (std::vector<std::string>{"Erro ao ativar log da DLL (2)",
                                                                "Erro ao ativar log da DLL (3)"}));
}

TEST_F(PrinterView, WithoutTheEpsonLibraryTheSaveStillStoresTheRecord) {
  // The library bound as the program binds it, from a file that is not there.
  std::unique_ptr<platform::EpsonLibrary> missing =
      platform::loadEpsonLibrary(file(platform::kEpsonLibraryName));
  services.epson = missing.get();
  app::MainWindow w(services, connections);
  prompts.printerChoices = {std::string("EPSON")};
  w.click("btnPrinterAdd");
  configure(w, 0, {{"cbImpTipo", "EPSON DLL"}});
  EXPECT_EQ(w.state().tables.printers->objectAt(0).textOf("tipo"), "EPSON DLL");
  EXPECT_FALSE(shown(w, "gbImpConfig"));
  ASSERT_EQ(prompts.texts("message").size(), 1u);
  EXPECT_NE(prompts.texts("message")[0].find("InterfaceEpsonNF.dll"), std::string::npos);
  EXPECT_TRUE(prompts.texts("error").empty());
}

}  // namespace
