// The main window as a person uses it: real clicks and keys on the test
// display, the window on its own thread with the program's message loop,
// the focus read back after each step. Every step must be answered within
// a second; a window that stops answering fails the case.
#include <gtest/gtest.h>

#include <sstream>

#include "app/main_window.h"
#include "app/tests/sandbox_cloud.h"
#include "tests/support/real_input.h"
#include "ui/form.h"

namespace {

enum class Start { LoginScreen, LogScreen };

const std::string kNoAnswer = "the window did not answer within 1 s";

// Steps: "click NAME [X Y]" (X, Y from the control's top left; else its
// middle), "type TEXT", a key ("tab", "shift+tab", "enter", "esc", "home",
// "shift+end"), or "=NAME": the control that must hold the focus now.
struct Case {
  const char* name;
  Start start;
  std::vector<std::string> steps;
  const char* shown;   // a container shown at the end
  const char* hidden;  // a container hidden at the end
  const char* savedSize = nullptr;  // "Tam. Folha" of the first printer at the end
};

const Case kCases[] = {
    {"a key after Configurações by mouse", Start::LogScreen,
     {"click btnConfig", "type 7", "=btnConfigBack", "type a"}, "gbConfig", "gbLog"},
    {"a key after Testar Imp. and Cancelar by mouse", Start::LogScreen,
     {"click btnConfig", "click btnTest", "=cbTestImp", "click Button4", "=btnTest", "type 5"},
     "gbConfig", "gbTeste"},
    {"Voltar gives the focus back to Configurações", Start::LogScreen,
     {"click btnConfig", "click btnConfigBack", "=btnConfig", "type x"}, "gbLog", "gbConfig"},
    {"Tab goes round the log screen and leaves the read-only views", Start::LogScreen,
     {"=btnDiagnostico", "tab", "=Button1", "tab", "=btnConfig", "tab", "=Memo1", "tab", "=Memo2",
      "tab", "=btnDiagnostico", "shift+tab", "=Memo2", "shift+tab", "=Memo1"},
     "gbLog", "gbConfig"},
    {"Tab goes through the configuration screen in reading order", Start::LogScreen,
     {"click btnConfig", "=btnConfigBack", "tab", "=btnRestart", "tab", "=btnUpdate", "tab",
      "=btnConfigSave", "tab", "=PageControl1", "tab", "=lvCategoria", "tab", "=lvImpressora",
      "tab", "=btnPrinterAdd", "tab", "=btnPrinterRemove", "tab", "=btnImpConfig", "tab",
      "=btnTest", "tab", "=btnConfigBack"},
     "gbConfig", "gbLog"},
    {"the printer box keeps the keyboard and the mouse until Esc", Start::LogScreen,
     {"click btnConfig", "click btnPrinterAdd", "click lvImpressora 60 30", "click btnImpConfig",
      "=cbImpTipo", "shift+tab", "=btnImpCancelar", "tab", "=cbImpTipo", "click btnConfigBack",
      "=cbImpTipo", "click lvCategoria", "=cbImpTipo", "esc", "=btnImpConfig", "type q"},
     "gbConfig", "gbImpConfig"},
    {"Enter saves the printer box", Start::LogScreen,
     {"click btnConfig", "click btnPrinterAdd", "click lvImpressora 60 30", "click btnImpConfig",
      "click edtImpTamanhoFolha", "home", "shift+end", "type 33", "enter", "=btnImpConfig"},
     "gbConfig", "gbImpConfig", "33"},
    {"Esc closes the test box", Start::LogScreen,
     {"click btnConfig", "click btnTest", "=cbTestImp", "tab", "=cbTestTipo", "esc", "=btnTest"},
     "gbConfig", "gbTeste"},
    {"Enter on the login screen presses Acessar", Start::LoginScreen,
     {"=edtUser", "type demo@quelta.com.br", "tab", "=edtPass", "type quelta123", "enter",
      "=btnDiagnostico"},
     "gbLog", "gbLogin"},
};

class RealInput : public sandbox_test::SandboxAppTest {
 protected:
  // Carries out one step; false with `failure` set when it does not hold.
  bool step(real_input::UiThread& ui, app::MainWindow& w, const std::string& text,
            std::string& failure) {
    std::istringstream words(text);
    std::string verb, name;
    words >> verb;
    if (verb[0] == '=') {
      HWND want = w.control(verb.substr(1)).hwnd();
      if (ui.focus() == want) return true;
      failure = "the focus is not on " + verb.substr(1) + " but on " + nameOf(w, ui.focus());
      return false;
    }
    if (verb == "click") {
      int x = -1, y = -1;
      words >> name >> x >> y;
      HWND target = w.control(name).hwnd();
      if (x < 0) {
        real_input::click(target);
      } else {
        POINT p{x, y};
        ClientToScreen(target, &p);
        real_input::clickAt(p.x, p.y);
      }
    } else if (verb == "type") {
      std::string chars = text.substr(5);
      for (char c : chars) real_input::type(c);
    } else if (verb == "tab" || verb == "shift+tab") {
      real_input::press(VK_TAB, verb != "tab");
    } else if (verb == "enter" || verb == "esc" || verb == "home" || verb == "shift+end") {
      const WORD vk = verb == "enter" ? VK_RETURN : verb == "esc" ? VK_ESCAPE
                      : verb == "home" ? VK_HOME : VK_END;
      real_input::press(vk, verb == "shift+end");
    } else {
      failure = "no such step";
      return false;
    }
    if (ui.settles()) return true;
    failure = kNoAnswer;
    return false;
  }

  static std::string nameOf(app::MainWindow& w, HWND hwnd) {
    for (const ui::ControlSpec& c : w.controlSpecs())
      if (w.control(c.name).hwnd() == hwnd) return c.name;
    return hwnd == w.hwnd() ? "the window itself" : hwnd ? "a window of no name" : "nothing";
  }
};

TEST_F(RealInput, EachCaseEndsWithTheFocusAndScreenExpectedAndTheWindowAnswering) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    write("quelta.dll", c.start == Start::LogScreen ? "[CONFIG]\r\ntoken=abc\r\n" : "");
    DeleteFileA(file("impressora").c_str());
    prompts.shown.clear();
    prompts.printerChoices = {std::string("COZINHA")};
    app::MainWindow* window = nullptr;
    auto thread = std::make_unique<real_input::UiThread>([&](const auto& ready) {
      app::MainWindow w(services, connections);
      window = &w;
      w.show();
      ready(w.hwnd());
      ui::runMessageLoop();
    });
    app::MainWindow& w = *window;
    std::string failure;
    if (!thread->settles()) failure = kNoAnswer;
    std::string trail;  // each step and the focus after it
    for (size_t i = 0; i < c.steps.size() && failure.empty(); ++i) {
      if (!step(*thread, w, c.steps[i], failure)) failure = "at \"" + c.steps[i] + "\": " + failure;
      trail += "\n  " + c.steps[i] + " -> " + nameOf(w, thread->focus());
    }
    EXPECT_EQ(failure, "") << trail;
    if (failure.empty()) {
      EXPECT_TRUE(IsWindowVisible(w.control(c.shown).hwnd())) << c.shown;
      EXPECT_FALSE(IsWindowVisible(w.control(c.hidden).hwnd())) << c.hidden;
    }
    if (c.savedSize && failure.empty()) {
      EXPECT_EQ(w.state().tables.printers->objectAt(0).textOf("tamanhoFolha"), c.savedSize);
    }
    // A window that hangs is left to the process; the cases after it would
    // meet its thread.
    const bool hung = !real_input::answers(w.hwnd());
    thread.reset();
    if (hung) return;
  }
  EXPECT_TRUE(prompts.texts("error").empty()) << prompts.texts("error")[0];
}

}  // namespace
