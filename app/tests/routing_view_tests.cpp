// The pages "Categorias" and "Produtos" and the configuration save, driven
// through the real window; the files are compared byte for byte.
#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "app/main_window.h"
#include "app/tests/app_fixture.h"
#include "ui/popup_menu.h"

namespace {

const std::string kNao = "N\xe3o";

class RoutingView : public AppTest {
 protected:
  // Every row of a list with the texts of its columns.
  static std::vector<std::vector<std::string>> rowsOf(app::MainWindow& w, const char* name) {
    static const std::map<std::string, int> columns{
        {"lvImpressora", 3}, {"lvCategoria", 2}, {"lvProduto", 3}};
    ui::ListView list = w.list(name);
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < list.rowCount(); ++i) {
      rows.emplace_back();
      for (int c = 0; c < columns.at(name); ++c) rows.back().push_back(list.cell(i, c));
    }
    return rows;
  }

  void addProduct(app::MainWindow& w, const std::string& name, int printer, int separado) {
    w.control("edtProdutoNome").setText(name);
    w.combo("cbProdutoImpressora").select(printer);
    w.combo("cbProdutoSeparado").select(separado);
    w.click("btnProdutoAdicionar");
  }

  std::vector<std::vector<std::string>>& popups = prompts.popups;
  std::deque<int>& popupAnswers = prompts.popupAnswers;
};

using Rows = std::vector<std::vector<std::string>>;

TEST_F(RoutingView, ConfigureRouteAndSaveWritesTheThreeFilesExactly) {
  write("quelta.dll", "[CONFIG]\r\ntoken=abc.def\r\n");
  write("categoria",
        R"([{"id":12,"name":"Pizzas Salgadas","printer":""},{"id":7,"name":"Bebidas"},)"
        R"({"id":3,"name":"Sobremesas","printer":"COZINHA","ordem":2}])");
  app::MainWindow w(services, connections);
  w.click("btnConfig");
  ASSERT_TRUE(w.control("gbConfig").visible());

  prompts.printerChoices = {std::string("COZINHA"), std::string("\\\\CAIXA-PC\\BAR")};
  w.click("btnPrinterAdd");
  w.click("btnPrinterAdd");

  // The second printer becomes the default and the "Conferência" printer,
  // and prints with the canvas in a bold item font.
  w.list("lvImpressora").select(1);
  w.click("btnImpConfig");
  EXPECT_EQ(w.control("gbImpConfig").text(), " \\\\CAIXA-PC\\BAR ");
  EXPECT_TRUE(w.control("cbImpPadrao").enabled());
  w.combo("cbImpPadrao").select(0);
  w.notifyChange("cbImpPadrao");
  w.combo("cbImpConferencia").select(0);
  w.notifyChange("cbImpConferencia");
  w.combo("cbImpTipo").select(2);
  w.notifyChange("cbImpTipo");
  w.combo("cbImpItem").select(5);
  w.notifyChange("cbImpItem");
  w.click("btnImpSalvar");
  EXPECT_FALSE(w.control("gbImpConfig").visible());
  EXPECT_EQ(rowsOf(w, "lvImpressora"),
            (Rows{{"COZINHA", "Generic Text", kNao}, {"\\\\CAIXA-PC\\BAR", "Outro", "Sim"}}));

  // Categories, sorted by name; "Bebidas" goes to the bar through the
  // popup, which offers the printers in list order.
  EXPECT_EQ(rowsOf(w, "lvCategoria"),
            (Rows{{"Bebidas", ""}, {"Pizzas Salgadas", ""}, {"Sobremesas", "COZINHA"}}));
  popupAnswers = {1};
  w.list("lvCategoria").select(0);
  EXPECT_EQ(popups, (Rows{{"COZINHA", "\\\\CAIXA-PC\\BAR"}}));
  EXPECT_EQ(w.list("lvCategoria").cell(0, 1), "\\\\CAIXA-PC\\BAR");
  // A dismissed popup changes nothing.
  popupAnswers = {-1};
  w.list("lvCategoria").select(2);
  EXPECT_EQ(w.list("lvCategoria").cell(2, 1), "COZINHA");
  EXPECT_EQ(popups.size(), 2u);
  // The pick waits in the list; the table changes only with "Salvar".
  EXPECT_FALSE(w.state().tables.categories->objectAt(1).contains("printer"));

  // Products: two routes kept, one added and removed again.
  addProduct(w, "Coca-Cola 2L", 1, 0);
  addProduct(w, "Pastel \"Especial\" \\ Queijo", 0, 1);
  addProduct(w, "Suco de Laranja", 1, 1);
  EXPECT_EQ(w.control("edtProdutoNome").text(), "Suco de Laranja");
  EXPECT_EQ(rowsOf(w, "lvProduto"), (Rows{{"Coca-Cola 2L", "\\\\CAIXA-PC\\BAR", "Sim"},
                                          {"Pastel \"Especial\" \\ Queijo", "COZINHA", kNao},
                                          {"Suco de Laranja", "\\\\CAIXA-PC\\BAR", kNao}}));
  w.list("lvProduto").select(2);
  w.click("btnProdutoRemover");
  EXPECT_EQ(w.list("lvProduto").rowCount(), 2);

  w.click("btnConfigSave");
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_TRUE(w.control("gbConfig").visible());
  EXPECT_EQ(read("impressora"),
            R"([{"name":"COZINHA","tipo":"Generic\u0020Text","tipoTexto":"Outro",)"
            R"("imprimeSeparado":"N\u00E3o","fonteTitulo":"10","fonteItem":"12","endereco":"USB",)"
            R"("padrao":"N\u00E3o","conferencia":"N\u00E3o","fechamentoConta":"N\u00E3o",)"
            R"("guilhotina":"Corte\u00201","numeroEnterFinal":"1","tamanhoFolha":"40"},)"
            R"({"name":"\\\\CAIXA-PC\\BAR","tipo":"Outro","tipoTexto":"Outro",)"
            R"("imprimeSeparado":"N\u00E3o","fonteTitulo":"10","fonteItem":"14\u0020Negrito",)"
            R"("endereco":"USB","padrao":"Sim","conferencia":"Sim","fechamentoConta":"N\u00E3o",)"
            R"("guilhotina":"Corte\u00201","numeroEnterFinal":"1","tamanhoFolha":"40",)"
            R"("fechamentoContaDetalhe":"N\u00E3o","imprimeSeparadoQtd":"N\u00E3o",)"
            R"("chamarGarcom":"N\u00E3o","trevio":"N\u00E3o"}])");
  EXPECT_EQ(read("categoria"), R"([{"id":12,"name":"Pizzas\u0020Salgadas","printer":""},)"
                               R"({"id":7,"name":"Bebidas","printer":"\\\\CAIXA-PC\\BAR"},)"
                               R"({"id":3,"name":"Sobremesas","printer":"COZINHA","ordem":2}])");
  EXPECT_EQ(read("produto"),
            R"([{"codigo":"","name":"Coca-Cola\u00202L","printer":"\\\\CAIXA-PC\\BAR",)"
            R"("imprimeSeparado":"Sim"},{"codigo":"","name":"Pastel\u0020\"Especial\"\u0020\\)"
            R"(\u0020Queijo","printer":"COZINHA","imprimeSeparado":"N\u00E3o"}])");
  EXPECT_EQ(read("quelta.dll"), "[CONFIG]\r\ntoken=abc.def\r\nreload=S\r\n");
  EXPECT_EQ(dir.entries(),
            (std::vector<std::string>{"categoria", "impressora", "produto", "quelta.dll"}));
}

TEST_F(RoutingView, AHandWrittenPrinterFileIsWrittenBackInTheLibrarysForm) {
  write("impressora",
        "[ /* impressoras da casa */ {'name' => 'COZINHA', Tipo = 'Generic Text'; "
        "tipoTexto: Outro, 'imprimeSeparado': 'N\xe3o', \"Padrao\":'Sim', fonteTitulo: '10',"
        "fonteItem : '12'; 'endereco'=>'USB',}, ]\r\n[{\"name\":\"lixo\"}]");
  write("categoria", "[{'name':'Bebidas','printer':'COZINHA',},]\x1a[{\"name\":\"lixo\"}]");
  app::MainWindow w(services, connections);
  EXPECT_EQ(rowsOf(w, "lvImpressora"), (Rows{{"COZINHA", "Generic Text", "Sim"}}));
  EXPECT_EQ(rowsOf(w, "lvCategoria"), (Rows{{"Bebidas", "COZINHA"}}));
  w.click("btnConfigSave");
  EXPECT_TRUE(prompts.shown.empty());
  // The second line of the file was never part of the table.
  EXPECT_EQ(read("impressora"),
            R"([{"name":"COZINHA","Tipo":"Generic\u0020Text","tipoTexto":"Outro",)"
            R"("imprimeSeparado":"N\u00E3o","Padrao":"Sim","fonteTitulo":"10","fonteItem":"12",)"
            R"("endereco":"USB"}])");
  EXPECT_EQ(read("categoria"), R"([{"name":"Bebidas","printer":"COZINHA"}])");
  EXPECT_EQ(read("produto"), "[]");
}

TEST_F(RoutingView, AFileThatCannotBeReplacedStaysAndTheSaveStopsThere) {
  write("impressora", R"([{"name":"BAR","padrao":"Sim"}])");
  write("categoria", R"([{"name":"Bebidas"}])");
  platform::createDirectory(file("produto"));
  app::MainWindow w(services, connections);
  w.click("btnConfigSave");
  ASSERT_EQ(prompts.texts("error").size(), 1u);
  const std::string error = prompts.texts("error")[0];
  EXPECT_NE(error.find(file("produto")), std::string::npos) << error;
  EXPECT_EQ(error.back(), '.');
  EXPECT_EQ(read("categoria"), R"([{"name":"Bebidas","printer":""}])");  // written before
  EXPECT_TRUE(platform::directoryExists(file("produto")));
  EXPECT_EQ(read("impressora"), R"([{"name":"BAR","padrao":"Sim"}])");  // not reached
  EXPECT_FALSE(platform::fileExists(file("quelta.dll")));               // no reload signal
  EXPECT_EQ(dir.entries(), (std::vector<std::string>{"categoria", "impressora", "produto"}));
}

TEST_F(RoutingView, APrinterFileHeldOpenKeepsItsBytesAndNoReloadIsSignalled) {
  const std::string old = R"([{"name":"BAR","padrao":"Sim"}])";
  write("impressora", old);
  app::MainWindow w(services, connections);
  prompts.printerChoices = {std::string("COZINHA")};
  w.click("btnPrinterAdd");
  // Another program reads the file and lets nobody replace it meanwhile.
  HANDLE reader = CreateFileA(file("impressora").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  w.click("btnConfigSave");
  CloseHandle(reader);
  ASSERT_EQ(prompts.texts("error").size(), 1u);
  EXPECT_NE(prompts.texts("error")[0].find(file("impressora")), std::string::npos)
      << prompts.texts("error")[0];
  EXPECT_EQ(read("impressora"), old);
  EXPECT_EQ(read("categoria"), "[]");
  EXPECT_EQ(read("produto"), "[]");
  EXPECT_FALSE(platform::fileExists(file("quelta.dll")));
  // No temporary file is left behind.
  EXPECT_EQ(dir.entries(), (std::vector<std::string>{"categoria", "impressora", "produto"}));
}

TEST_F(RoutingView, ThePopupOpensOnANewSelectionOnlyAndOffersTheNamesVerbatim) {
  write("impressora", R"([{"name":"COZINHA *(Padrao)*","padrao":"Sim"},)"
                      R"({"name":"Bar & Grill *(PADRAO)* 2","padrao":"N\u00E3o"}])");
  write("categoria", R"([{"name":"Pizzas"},{"name":"Bebidas"},{"name":"bebidas"}])");
  app::MainWindow w(services, connections);
  ui::ListView categories = w.list("lvCategoria");
  // The locale's order puts the lower-case name first among equals.
  EXPECT_EQ(rowsOf(w, "lvCategoria"), (Rows{{"bebidas", ""}, {"Bebidas", ""}, {"Pizzas", ""}}));

  popupAnswers = {1};
  categories.select(1);
  EXPECT_EQ(popups, (Rows{{"COZINHA", "Bar & Grill 2"}}));
  EXPECT_EQ(categories.cell(1, 1), "Bar & Grill 2");
  categories.select(1);  // already selected: no popup
  EXPECT_EQ(popups.size(), 1u);
  popupAnswers = {0};
  categories.select(0);
  EXPECT_EQ(popups.size(), 2u);
  EXPECT_EQ(categories.cell(0, 1), "COZINHA");

  // Removing a printer refills the list from the table: pending picks go.
  w.list("lvImpressora").select(1);
  w.click("btnPrinterRemove");
  EXPECT_EQ(rowsOf(w, "lvCategoria"), (Rows{{"bebidas", ""}, {"Bebidas", ""}, {"Pizzas", ""}}));

  // A menu would underline the letter after "&"; doubled, it shows as is.
  EXPECT_EQ(ui::popupMenuText("Bar & Grill && Co"), "Bar && Grill &&&& Co");
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(RoutingView, WithoutPrintersThePopupIsReplacedByAMessage) {
  write("categoria", R"([{"name":"Pizzas"}])");
  app::MainWindow w(services, connections);
  w.list("lvCategoria").select(0);
  EXPECT_TRUE(popups.empty());
  EXPECT_EQ(prompts.texts("message"), (std::vector<std::string>{"Nenhuma impressora adicionada"}));
  EXPECT_EQ(w.list("lvCategoria").cell(0, 1), "");
}

TEST_F(RoutingView, ProductRoutesAreRemovedByNameAndNeedASelection) {
  write("produto",
        R"([{"codigo":"","name":"Pastel","printer":"A","imprimeSeparado":"Sim"},)"
        R"({"codigo":"9","name":"pastel"},{"codigo":"","name":"Pastel","printer":"B"}])");
  app::MainWindow w(services, connections);
  w.click("btnProdutoRemover");
  EXPECT_EQ(prompts.texts("message"), (std::vector<std::string>{"Nenhum produto selecionad0"}));

  EXPECT_EQ(rowsOf(w, "lvProduto"),
            (Rows{{"pastel", "", ""}, {"Pastel", "A", "Sim"}, {"Pastel", "B", ""}}));
  w.list("lvProduto").select(2);
  w.click("btnProdutoRemover");
  EXPECT_EQ(rowsOf(w, "lvProduto"), (Rows{{"pastel", "", ""}}));

  // No printer yet: the route is stored with an empty printer.
  addProduct(w, "", -1, 1);
  EXPECT_EQ(w.state().tables.products->asText(),
            R"([{"codigo":"9","name":"pastel"},)"
            R"({"codigo":"","name":"","printer":"","imprimeSeparado":"N\u00E3o"}])");
}

// The real popup: a timer acts on the open menu the way a user would. It
// looks on every tick until the menu is open, and ends a menu that does not
// open or does not close with a failure rather than waiting for ever.
std::vector<std::string> menuTexts;
WPARAM menuKey = 0;
bool menuActedOn = false;
int menuTicks = 0;
constexpr int kMenuTicks = 400;  // of 50 ms

void CALLBACK actOnMenu(HWND, UINT, UINT_PTR, DWORD) {
  if (++menuTicks == kMenuTicks) {
    ADD_FAILURE() << (menuActedOn ? "the menu did not close" : "no menu opened");
    EndMenu();
  }
  HWND menuWindow = FindWindowA("#32768", nullptr);
  if (menuActedOn || menuTicks >= kMenuTicks || !menuWindow || !IsWindowVisible(menuWindow)) return;
  menuActedOn = true;
  HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
  for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
    char text[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    menuTexts.push_back(text);
  }
  if (menuKey == 0) {
    EndMenu();
    return;
  }
  PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menuWindow, WM_KEYDOWN, menuKey, 0);
}

// The popup's answer, with `key` pressed on it after two steps down (0:
// dismissed).
int popupAnswer(HWND owner, const std::vector<std::string>& entries, WPARAM key) {
  menuTexts.clear();
  menuKey = key;
  menuActedOn = false;
  menuTicks = 0;
  UINT_PTR timer = SetTimer(nullptr, 0, 50, actOnMenu);
  int chosen = ui::trackPopupMenuAtCursor(owner, entries);
  KillTimer(nullptr, timer);
  return chosen;
}

TEST_F(RoutingView, TheRealPopupReturnsTheChosenEntryOrNothing) {
  app::MainWindow w(services, connections);
  w.show();
  SetForegroundWindow(w.hwnd());
  ui::pumpMessages();

  EXPECT_EQ(popupAnswer(w.hwnd(), {"COZINHA", "Bar & Grill"}, 0), -1);
  EXPECT_EQ(menuTexts, (std::vector<std::string>{"COZINHA", "Bar && Grill"}));

  EXPECT_EQ(popupAnswer(w.hwnd(), {"COZINHA", "Bar & Grill", "CAIXA"}, VK_RETURN), 1);
  EXPECT_EQ(menuTexts.size(), 3u);
}

}  // namespace
