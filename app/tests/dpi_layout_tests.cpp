// The windows on a scaled screen. At 96 DPI every control has the rectangle
// of its table; at 120 and 144 DPI (125 % and 150 %) the same layout is
// proportionally larger, no caption is clipped and every control lies inside
// its window. The system DPI is read once per process, so each DPI is
// checked by a child run of this program, started after the prefix's
// LogPixels value has been set.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "app/main_window.h"
#include "app/tests/app_fixture.h"
#include "app/title.h"
#include "print/views/preview_window.h"
#include "service/views/credentials_window.h"
#include "tests/support/wine_host.h"
#include "ui/dpi.h"
#include "ui/prompts.h"
#include "update/update.h"

namespace {

const char kDpiVariable[] = "QUELTA_LAYOUT_DPI";

// ---- the parent: one child run per DPI ---------------------------------------

// HKCU\Control Panel\Desktop\LogPixels for the processes started meanwhile;
// put back as it was afterwards.
class LogPixels {
 public:
  explicit LogPixels(DWORD dpi) {
    RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0,
                    KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
    DWORD size = sizeof old_;
    had_ = RegQueryValueExA(key_, "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old_),
                            &size) == ERROR_SUCCESS;
    RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                   sizeof dpi);
  }
  ~LogPixels() {
    if (had_) {
      RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_),
                     sizeof old_);
    } else {
      RegDeleteValueA(key_, "LogPixels");
    }
    RegCloseKey(key_);
  }

 private:
  HKEY key_ = nullptr;
  DWORD old_ = 0;
  bool had_ = false;
};

struct ChildRun {
  int code = -1;
  int casesRun = 0;  // cases that ran to their end, neither skipped nor filtered out
};

// Runs this program's check of the windows at `dpi`; its exit code and,
// from its report, how many cases it ran: an exit code of 0 alone is also
// what a filter matching nothing gives.
ChildRun runCheckAt(int dpi, const std::string& report) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, sizeof self);
  DeleteFileA(report.c_str());
  SetEnvironmentVariableA(kDpiVariable, std::to_string(dpi).c_str());
  // The child's report goes to its own file, not over this program's.
  char own[1024] = "";
  const bool hadOwn = GetEnvironmentVariableA("GTEST_OUTPUT", own, sizeof own) > 0;
  SetEnvironmentVariableA("GTEST_OUTPUT", ("xml:" + report).c_str());
  ChildRun run;
  run.code = wine_host::runAndWait(
      std::string("\"") + self + "\" --gtest_filter=DpiLayout.WindowsAtThisDpi", true);
  SetEnvironmentVariableA("GTEST_OUTPUT", hadOwn ? own : nullptr);
  SetEnvironmentVariableA(kDpiVariable, nullptr);
  const std::string text = wine_host::readOr(report);
  for (size_t at = text.find("result=\"completed\""); at != std::string::npos;
       at = text.find("result=\"completed\"", at + 1))
    ++run.casesRun;
  return run;
}

using DpiLayout = AppTest;

TEST_F(DpiLayout, EveryWindowScalesWithTheSystemDpi) {
  for (int dpi : {96, 120, 144}) {
    LogPixels setting(static_cast<DWORD>(dpi));
    ChildRun run = runCheckAt(dpi, file("dpi-" + std::to_string(dpi) + ".xml"));
    EXPECT_EQ(run.code, 0) << "the windows at " << dpi << " DPI (failures above)";
    EXPECT_EQ(run.casesRun, 1) << "the check at " << dpi << " DPI did not run";
  }
}

// ---- the child: the windows at the DPI it was started with -------------------

int scaledBy(int pixels, int dpi) { return MulDiv(pixels, dpi, 96); }

std::string textOf(HWND hwnd) {
  char text[512];
  int n = GetWindowTextA(hwnd, text, sizeof text);
  return std::string(text, n > 0 ? static_cast<size_t>(n) : 0);
}

std::string classOf(HWND hwnd) {
  char name[64];
  int n = GetClassNameA(hwnd, name, sizeof name);
  return std::string(name, n > 0 ? static_cast<size_t>(n) : 0);
}

// The extent of `text` in the control's font, wrapped at `width` when given.
SIZE textExtent(HWND control, const std::string& text, UINT format, int width = 0) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  RECT r{0, 0, width, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
            format | DT_CALCRECT | (width ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

RECT boundsInParent(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The captions of a tab control's tabs or a header's columns (Item, with its
// text flag) fit their items, `margin` pixels besides, and every item lies
// inside the control.
template <class Item>
void expectItemsFit(HWND control, UINT countMsg, UINT itemMsg, UINT textFlag, UINT rectMsg,
                    const char* what, int margin) {
  RECT own;
  GetClientRect(control, &own);
  int count = static_cast<int>(SendMessageA(control, countMsg, 0, 0));
  for (int i = 0; i < count; ++i) {
    char caption[64] = "";
    Item item{};
    item.mask = textFlag;
    item.pszText = caption;
    item.cchTextMax = sizeof caption;
    SendMessageA(control, itemMsg, i, reinterpret_cast<LPARAM>(&item));
    RECT r;
    SendMessageA(control, rectMsg, i, reinterpret_cast<LPARAM>(&r));
    SIZE need = textExtent(control, caption, 0);
    EXPECT_LE(need.cx + margin, r.right - r.left) << what << " \"" << caption << "\"";
    EXPECT_LE(need.cy, r.bottom - r.top) << what << " \"" << caption << "\"";
    EXPECT_LE(r.right, own.right) << what << " \"" << caption << "\" lies outside";
  }
}

// Every caption fits its control and every control lies inside its parent.
void expectNothingClipped(HWND window) {
  struct Walk {
    static BOOL CALLBACK visit(HWND child, LPARAM) {
      const std::string cls = classOf(child), text = textOf(child);
      RECT parent, own, r = boundsInParent(child);
      GetClientRect(GetParent(child), &parent);
      GetClientRect(child, &own);
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= parent.right && r.bottom <= parent.bottom)
          << cls << " \"" << text << "\" lies outside its parent";
      const LONG style = GetWindowLongA(child, GWL_STYLE);
      if (_stricmp(cls.c_str(), "Button") == 0 && !text.empty()) {
        // The frame and the focus rectangle take some pixels on each side.
        SIZE need = textExtent(child, text, 0);
        EXPECT_LE(need.cx + 8, own.right) << "button \"" << text << "\"";
        EXPECT_LE(need.cy + 4, own.bottom) << "button \"" << text << "\"";
      } else if (_stricmp(cls.c_str(), "Static") == 0 && !text.empty() &&
                 (style & SS_TYPEMASK) == SS_LEFT) {
        // Wrapped at its width, as the label draws it; a caption of one line
        // that wraps has not fitted.
        SIZE need = textExtent(child, text, DT_NOPREFIX, own.right);
        SIZE line = textExtent(child, text, DT_NOPREFIX);
        EXPECT_TRUE(need.cx <= own.right && need.cy <= own.bottom)
            << "label \"" << text << "\" needs " << line.cx << " x " << line.cy << " in "
            << own.right << " x " << own.bottom;
      } else if (cls == WC_TABCONTROLA) {
        expectItemsFit<TCITEMA>(child, TCM_GETITEMCOUNT, TCM_GETITEMA, TCIF_TEXT, TCM_GETITEMRECT,
                                "tab", 0);
      } else if (cls == WC_LISTVIEWA) {
        // The header keeps a margin on each side of a column's caption.
        HWND header = reinterpret_cast<HWND>(SendMessageA(child, LVM_GETHEADER, 0, 0));
        expectItemsFit<HDITEMA>(header, HDM_GETITEMCOUNT, HDM_GETITEMA, HDI_TEXT, HDM_GETITEMRECT,
                                "column", 12);
      }
      return TRUE;
    }
  };
  EnumChildWindows(window, Walk::visit, 0);
}

// Every control of the form's table at its place, scaled; a drop-down
// list's height is the dropped-down one, which it does not show.
void expectTheTableScaled(const ui::Form& form, int dpi) {
  for (const ui::ControlSpec& spec : form.controlSpecs()) {
    if (spec.kind == ui::Kind::Page) continue;  // the page control's display area
    RECT r = form.control(spec.name).bounds();
    EXPECT_EQ(r.left, scaledBy(spec.x, dpi)) << spec.name;
    EXPECT_EQ(r.top, scaledBy(spec.y, dpi)) << spec.name;
    EXPECT_EQ(r.right - r.left, scaledBy(spec.width, dpi)) << spec.name;
    if (spec.kind != ui::Kind::ComboList) {
      EXPECT_EQ(r.bottom - r.top, scaledBy(spec.height, dpi)) << spec.name;
    }
  }
}

// Opens a box with `open` while another thread checks it and closes it.
void checkBoxWhileOpen(const std::string& caption, const std::function<void()>& open) {
  bool seen = false;
  std::thread user([&] {
    HWND box = nullptr;
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!box && std::chrono::steady_clock::now() < end) {
      box = FindWindowA("#32770", caption.c_str());
      if (!box) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!box) return;
    seen = true;
    expectNothingClipped(box);
    PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageA(box, WM_KEYUP, VK_ESCAPE, 0xc0000001);
  });
  open();
  user.join();
  EXPECT_TRUE(seen) << "no box \"" << caption << "\"";
}

class WindowsAtThisDpi : public DpiLayout {
  void TestBody() override;
};

// Only a child run started by EveryWindowScalesWithTheSystemDpi has the
// case, so no other run lists it as skipped.
const bool kChildCaseRegistered =
    std::getenv(kDpiVariable) &&
    testing::RegisterTest("DpiLayout", "WindowsAtThisDpi", nullptr, nullptr, __FILE__, __LINE__,
                          []() -> DpiLayout* { return new WindowsAtThisDpi; });

void WindowsAtThisDpi::TestBody() {
  SetProcessDPIAware();  // as the tool's manifest declares it
  const int dpi = std::atoi(std::getenv(kDpiVariable));
  ASSERT_EQ(ui::systemDpi(), dpi);

  app::MainWindow window(services, connections);
  RECT client;
  GetClientRect(window.hwnd(), &client);
  EXPECT_EQ(client.right, scaledBy(546, dpi));
  EXPECT_EQ(client.bottom, scaledBy(577, dpi));
  expectTheTableScaled(window, dpi);
  ui::ListView printers = window.list("lvImpressora");
  printers.addRow({"Cozinha", "Generic Text", "Sim"});
  RECT row{LVIR_BOUNDS, 0, 0, 0};
  SendMessageA(printers.hwnd(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  EXPECT_EQ(row.bottom - row.top, scaledBy(21, dpi));
  HWND header = reinterpret_cast<HWND>(SendMessageA(printers.hwnd(), LVM_GETHEADER, 0, 0));
  RECT column;
  SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&column));
  EXPECT_EQ(column.right - column.left, scaledBy(210, dpi));
  expectNothingClipped(window.hwnd());

  service::CredentialsWindow credentials;
  RECT outer;
  GetWindowRect(credentials.hwnd(), &outer);
  EXPECT_EQ(outer.right - outer.left, scaledBy(304, dpi));
  EXPECT_EQ(outer.bottom - outer.top, scaledBy(237, dpi));
  expectTheTableScaled(credentials, dpi);
  expectNothingClipped(credentials.hwnd());

  // The ticket preview; each line of its hex dump (offset, 16 bytes, their
  // characters) fits the listing's width whole.
  print::TicketPreview ticket;
  ticket.sink = print::TicketPreview::Sink::Share;
  ticket.target = "\\\\127.0.0.1\\COZINHA";
  for (int byte = 0; byte < 1024; ++byte) ticket.bytes += static_cast<char>(byte);
  print::PreviewWindow preview(window.hwnd(), "COZINHA", ticket, print::Paper::k80mm);
  expectTheTableScaled(preview, dpi);
  expectNothingClipped(preview.hwnd());
  HWND listing = preview.memo("mmBytes").hwnd();
  RECT lines;
  SendMessageA(listing, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&lines));
  for (const std::string& line : print::hexDump(ticket.bytes))
    ASSERT_LE(textExtent(listing, line, DT_NOPREFIX).cx, lines.right - lines.left) << line;

  // The update question and the error box, as the program shows them.
  ui::setPrompts(nullptr);
  checkBoxWhileOpen("Confirm", [] { ui::prompts().confirm("Confirm", update::kUpdateQuestion); });
  checkBoxWhileOpen(app::kTitle, [] {
    ui::prompts().showError("Arquivo de atualiza\xe7\xe3o n\xe3o encontrado.");
  });
  ui::setPrompts(&prompts);
}

}  // namespace
