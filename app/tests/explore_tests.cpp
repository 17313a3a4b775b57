// A random run of real mouse and keys over the main window and every window
// it opens, against the sandbox cloud: seeded, bounded in time and in
// actions. Boxes are answered at random; modal windows open for real. It
// fails when a window does not answer within 2 s outside an operation that
// shows the hourglass, when the main window ends, or when a table file no
// longer reads, and then prints the seed and the last actions.
//
//   QUELTA_EXPLORE_SECONDS (60), QUELTA_EXPLORE_SEED (1),
//   QUELTA_EXPLORE_ACTIONS (100000)
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <random>
#include <sstream>

#include "app/main_window.h"
#include "app/tests/sandbox_cloud.h"
#include "platform/error.h"
#include "routing/tables.h"
#include "service/views/credentials_window.h"
#include "tests/support/real_input.h"
#include "ui/cursor.h"
#include "ui/form.h"

namespace {

long setting(const char* name, long fallback) {
  const char* value = std::getenv(name);
  return value && *value ? std::strtol(value, nullptr, 10) : fallback;
}

// Every box answered at random; modal windows shown for real, so the run
// reaches them too.
class RandomPrompts final : public host::Prompts {
 public:
  explicit RandomPrompts(std::mt19937& random) : random_(random) { ui::setPrompts(this); }
  ~RandomPrompts() { ui::setPrompts(nullptr); }
  void showError(const std::string&) override {}
  void showMessage(const std::string&) override {}
  bool confirm(const std::string&, const std::string&) override { return pick(2) == 0; }
  bool choosePrinter(std::string* name) override {
    static const char* const kNames[] = {"COZINHA", "BAR", "\\\\SERVIDOR\\CAIXA"};
    const int i = pick(4);
    if (i == 3) return false;
    *name = kNames[i];
    return true;
  }
  void showModal(ui::Form& form) override { ui::runModal(form); }
  void openCredentials() override { service::CredentialsWindow::openModal(GetActiveWindow()); }
  void setBusy(bool busy) override { ui::setBusy(busy); }
  bool isBusy() const override { return ui::isBusy(); }
  int popupMenu(ui::Form&, const std::vector<std::string>& entries) override {
    return pick(static_cast<int>(entries.size()) + 1) - 1;
  }

 private:
  int pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
  std::mt19937& random_;
};

BOOL CALLBACK collectControl(HWND hwnd, LPARAM out) {
  if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
    reinterpret_cast<std::vector<HWND>*>(out)->push_back(hwnd);
  return TRUE;
}

std::string nameOf(HWND hwnd) {
  char text[40] = "", cls[32] = "";
  GetWindowTextA(hwnd, text, sizeof text);
  GetClassNameA(hwnd, cls, sizeof cls);
  return std::string(cls) + " \"" + text + "\"";
}

class Explore : public sandbox_test::SandboxAppTest {};

TEST_F(Explore, RandomMouseAndKeysNeverHangEndOrDamageTheProgram) {
  const long seconds = setting("QUELTA_EXPLORE_SECONDS", 60);
  const long seed = setting("QUELTA_EXPLORE_SEED", 1);
  const long maxActions = setting("QUELTA_EXPLORE_ACTIONS", 100000);
  std::mt19937 random(static_cast<unsigned>(seed));
  RandomPrompts randomPrompts(random);

  real_input::UiThread thread([&](const auto& ready) {
    app::MainWindow w(services, connections);
    w.control("edtUser").setText("demo@quelta.com.br");
    w.control("edtPass").setText("quelta123");
    w.show();
    ready(w.hwnd());
    ui::runMessageLoop();
  });
  const HWND main = thread.hwnd();
  const DWORD process = GetCurrentProcessId();

  static const WORD kKeys[] = {VK_TAB,  VK_RETURN, VK_ESCAPE, VK_SPACE, VK_UP,   VK_DOWN,
                               VK_LEFT, VK_RIGHT,  VK_HOME,   VK_END,   VK_BACK, VK_DELETE,
                               '1',     '7',       '0',       'A',      'Q',     'Z'};
  std::deque<std::string> last;
  std::string failure;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  long actions = 0;
  for (; actions < maxActions && std::chrono::steady_clock::now() < end && failure.empty();
       ++actions) {
    // The window in front, if it is one of ours; else the main window.
    HWND front = GetForegroundWindow();
    DWORD owner = 0;
    GetWindowThreadProcessId(front, &owner);
    if (!front || owner != process) {
      front = main;
      SetForegroundWindow(main);
    }
    std::string action;
    std::vector<HWND> controls;
    EnumChildWindows(front, collectControl, reinterpret_cast<LPARAM>(&controls));
    if (!controls.empty() && random() % 10 < 6) {
      HWND target = controls[random() % controls.size()];
      RECT r;
      GetWindowRect(target, &r);
      const int x = r.left + static_cast<int>(random() % std::max(1L, r.right - r.left));
      const int y = r.top + static_cast<int>(random() % std::max(1L, r.bottom - r.top));
      real_input::clickAt(x, y);
      action = "click " + nameOf(target);
    } else {
      const WORD key = kKeys[random() % std::size(kKeys)];
      const bool shift = random() % 4 == 0;
      real_input::press(key, shift);
      action = std::string(shift ? "shift+" : "") + "key " + std::to_string(key);
    }
    last.push_back(action);
    if (last.size() > 20) last.pop_front();

    // An operation under the hourglass may take its time; nothing else may.
    const auto busySince = std::chrono::steady_clock::now();
    while (!thread.settles(2000)) {
      if (!ui::isBusy()) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
        failure =
            "the window did not answer within 2 s (in front: " + nameOf(GetForegroundWindow()) +
            ", active " + nameOf(info.hwndActive) + " focus " + nameOf(info.hwndFocus) +
            " enabled " + std::to_string(IsWindowEnabled(main)) + " answers " +
            std::to_string(real_input::answers(main)) + ")";
        break;
      }
      if (std::chrono::steady_clock::now() - busySince > std::chrono::seconds(120)) {
        failure = "the hourglass has shown for over 2 minutes";
        break;
      }
    }
    if (failure.empty() && !IsWindow(main)) failure = "the main window has gone";
    if (failure.empty() && (actions % 25 == 0 || actions + 1 == maxActions)) {
      routing::Tables tables;
      try {
        routing::readImpressora(tables, dir.path());
        routing::readCategoria(tables, dir.path());
        routing::readProduto(tables, dir.path());
      } catch (const quelta::Error& e) {
        failure = "a table file no longer reads: " + e.message();
      }
    }
  }
  std::ostringstream report;
  report << "seed " << seed << ", " << actions << " actions";
  if (!failure.empty()) {
    report << ": " << failure << "\nthe last actions:";
    for (const std::string& a : last) report << "\n  " << a;
  }
  std::cout << "explore: " << report.str() << "\n";
  EXPECT_TRUE(failure.empty()) << report.str();
  EXPECT_GT(actions, 0);
}

}  // namespace
