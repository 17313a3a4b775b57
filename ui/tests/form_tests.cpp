// The control layer: forms built from tables, handler routing, the error
// box convention for escaping errors, and Esc on the cancel button.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/error.h"
#include "tests/support/scripted_window_prompts.h"
#include "ui/form.h"

namespace {

const ui::FormSpec kSpec{"TTestForm", "Teste", 300, 200, ui::Frame::Main};

const ui::ControlSpec kControls[] = {
    {ui::Kind::Panel, "pnl", "", "", 0, 0, 300, 200},
    {ui::Kind::Button, "btnOk", "pnl", "OK", 8, 8, 75, 25},
    {ui::Kind::Button, "btnFail", "pnl", "Falha", 90, 8, 75, 25},
    {ui::Kind::Button, "btnCancel", "pnl", "Cancelar", 170, 8, 75, 25},
    {ui::Kind::ComboList, "cbTipo", "pnl", "", 8, 40, 120, 200},
    {ui::Kind::ListView, "lvRows", "pnl", "", 8, 70, 280, 100},
    {ui::Kind::Edit, "edtNome", "pnl", "", 140, 40, 100, 21},
};

class TestForm : public ui::Form {
 public:
  TestForm() { create(kSpec, kControls); }
};

TEST(Form, HandlersAreReachedByNameAndEscapingErrorsEndInTheErrorBox) {
  ScriptedWindowPrompts prompts;
  TestForm form;
  int clicks = 0;
  form.onClick("btnOk", [&] { ++clicks; });
  form.onClick("btnFail", [] { throw quelta::IOError("Cannot open file \"x\". Access denied"); });
  form.click("btnOk");
  form.click("btnOk");
  EXPECT_EQ(clicks, 2);
  form.click("btnFail");
  EXPECT_EQ(prompts.texts("error"),
            std::vector<std::string>{"Cannot open file \"x\". Access denied."});
  // The program goes on: later events still arrive.
  form.click("btnOk");
  EXPECT_EQ(clicks, 3);
}

TEST(Form, ANameTheTableDoesNotDeclareFailsAtOnce) {
  ScriptedWindowPrompts prompts;
  TestForm form;
  const std::function<void()> uses[] = {
      [&] { form.onClick("btnOK", [] {}); },
      [&] { form.onChange("cbtipo", [] {}); },
      [&] { form.onSelectItem("lvRow", [](int, bool) {}); },
      [&] { form.control("edtName"); },
      [&] { form.click("btnOK"); },
      [&] { form.notifyChange("cbTipos"); },
  };
  for (const auto& use : uses) {
    try {
      use();
      ADD_FAILURE() << "an undeclared name went unnoticed";
    } catch (const ui::UnknownControl& e) {
      EXPECT_EQ(std::string(e.what()).rfind("TTestForm has no control \"", 0), 0u) << e.what();
    }
  }
  EXPECT_TRUE(prompts.texts("error").empty());
}

TEST(Form, ALaterTableFillsAnEarlierOnesContainerButNeverRedeclaresAName) {
  ScriptedPrompts prompts;
  const ui::ControlSpec more[] = {{ui::Kind::Button, "btnMore", "pnl", "Mais", 8, 176, 75, 20}};
  ui::Form form;
  form.create(kSpec, {kControls, more});
  EXPECT_EQ(GetParent(form.control("btnMore").hwnd()), form.control("pnl").hwnd());
  EXPECT_EQ(form.controlSpecs().size(), std::size(kControls) + 1);

  const ui::ControlSpec again[] = {{ui::Kind::Button, "btnOk", "pnl", "OK", 8, 176, 75, 20}};
  ui::Form twice;
  try {
    twice.create(kSpec, {kControls, again});
    ADD_FAILURE() << "a name declared twice went unnoticed";
  } catch (const ui::DuplicateControl& e) {
    EXPECT_STREQ(e.what(), "TTestForm declares control \"btnOk\" twice");
  }
}

TEST(Form, ComboAndListNotificationsArriveAsTheControlsSendThem) {
  ScriptedWindowPrompts prompts;
  TestForm form;
  ui::ComboBox tipo = form.combo("cbTipo");
  tipo.setItems({"Generic Text", "EPSON DLL", "Outro"});
  std::vector<std::string> changes;
  form.onChange("cbTipo", [&] { changes.push_back(form.combo("cbTipo").selectedText()); });
  tipo.select(1);
  EXPECT_TRUE(changes.empty());  // setting the selection does not notify
  form.notifyChange("cbTipo");
  EXPECT_EQ(changes, std::vector<std::string>{"EPSON DLL"});
  EXPECT_EQ(tipo.selectedIndex(), 1);
  tipo.select(-1);
  EXPECT_EQ(tipo.selectedText(), "");

  ui::ListView rows = form.list("lvRows");
  rows.addColumn("Categoria", 140);
  rows.addColumn("Impressora", 120);
  rows.addRow({"Bebidas", "BAR"});
  rows.addRow({"Lanches", ""});
  std::vector<std::pair<int, bool>> selections;
  form.onSelectItem("lvRows", [&](int row, bool selected) {
    selections.push_back({row, selected});
  });
  rows.select(1);
  rows.select(0);
  EXPECT_EQ(selections, (std::vector<std::pair<int, bool>>{{1, true}, {1, false}, {0, true}}));
  EXPECT_EQ(rows.selectedIndex(), 0);
  rows.setCell(1, 1, "COZINHA");
  EXPECT_EQ(rows.cell(1, 1), "COZINHA");
  EXPECT_EQ(rows.cell(0, 0), "Bebidas");
  EXPECT_EQ(rows.rowCount(), 2);
}

TEST(Form, EscPressesTheCancelButtonOnlyWhileItCanBeSeen) {
  ScriptedWindowPrompts prompts;
  TestForm form;
  form.show();
  int cancels = 0;
  form.onClick("btnCancel", [&] { ++cancels; });
  form.setCancelButton("btnCancel");
  auto pressEsc = [&] {
    HWND edit = form.control("edtNome").hwnd();
    SetFocus(edit);
    PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(edit, WM_KEYUP, VK_ESCAPE, 0);
    ui::pumpMessages();
  };
  pressEsc();
  EXPECT_EQ(cancels, 1);
  form.control("btnCancel").hide();
  pressEsc();
  EXPECT_EQ(cancels, 1);
}

TEST(Form, MemoLinesRoundTripWithCrLf) {
  TestForm form;
  HWND memoWindow =
      CreateWindowExA(0, "EDIT", "", WS_CHILD | ES_MULTILINE | ES_READONLY | WS_VSCROLL, 0, 0, 200,
                      60, form.hwnd(), nullptr, nullptr, nullptr);
  ui::Memo memo(memoWindow);
  memo.setLines({"10:00:01 : Teste", "", "fim"});
  EXPECT_EQ(memo.text(), "10:00:01 : Teste\r\n\r\nfim");
  EXPECT_EQ(memo.lines(), (std::vector<std::string>{"10:00:01 : Teste", "", "fim"}));
  memo.addLine("mais");
  EXPECT_EQ(memo.lineCount(), 4);
  memo.clear();
  memo.addLine("primeira");
  EXPECT_EQ(memo.text(), "primeira");
}

}  // namespace
