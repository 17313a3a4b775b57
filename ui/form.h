// A top-level window built from a table of controls, the way a form file
// describes one. The table names every control; handlers are bound to those
// names once, and the routing of WM_COMMAND, WM_NOTIFY and WM_TIMER to them
// lives here alone. An exception that leaves a handler is shown in the
// application's error box and the program goes on.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "ui/controls.h"

namespace ui {

enum class Kind {
  Panel,        // framed container without caption
  Group,        // framed container with a caption
  Label,
  Button,
  Edit,
  PasswordEdit,
  Memo,         // read-only multi-line text with a vertical scroll bar
  Listing,      // a Memo whose lines never wrap: a horizontal scroll bar too
  ComboList,    // drop-down list; height is the dropped-down height
  ListView,     // report view, whole-row selection, headers not clickable
  PageControl,  // tabs; its pages are the Page entries naming it as parent
  Page,
  PaintBox,  // an area the form draws itself (onPaint)
};

// Positions and sizes are 96-DPI pixels; the form scales them to the screen.
struct ControlSpec {
  Kind kind;
  const char* name;
  const char* parent;  // "" for the form itself
  const char* caption;
  int x, y, width, height;
  bool visible = true;
};

struct FormSpec {
  const char* className;
  const char* caption;
  int clientWidth, clientHeight;
  DWORD style;
};

class Form {
 public:
  Form();
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Creates the window (hidden) and its controls. `owner` is the window a
  // modal form belongs to.
  void create(const FormSpec& spec, std::span<const ControlSpec> controls, HWND owner = nullptr);
  HWND hwnd() const { return hwnd_; }
  // The table the form was built from (96-DPI sizes).
  std::span<const ControlSpec> controlSpecs() const { return specs_; }
  void show();
  void close();  // closes the window (a modal loop then returns)
  bool isOpen() const { return hwnd_ != nullptr && IsWindow(hwnd_); }

  Control control(const std::string& name) const;
  Memo memo(const std::string& name) const { return Memo(handle(name)); }
  ComboBox combo(const std::string& name) const { return ComboBox(handle(name)); }
  ListView list(const std::string& name) const { return ListView(handle(name)); }

  // Handler binding.
  using Handler = std::function<void()>;
  void onClick(const std::string& name, Handler handler);
  void onChange(const std::string& name, Handler handler);
  void onSelectItem(const std::string& name, std::function<void(int row, bool selected)> handler);
  void onEditing(const std::string& name, std::function<bool()> allowEdit);
  void onTimer(int intervalMs, Handler handler);
  void onActivate(Handler handler) { activateHandler_ = std::move(handler); }
  // A handler for a message that another thread posts to the window
  // (PostMessage with the returned message id): work done off the window's
  // thread shows its result on it.
  UINT onPosted(Handler handler);
  // Draws a paint box on `dc`; `area` is its client rectangle.
  using PaintHandler = std::function<void(HDC dc, const RECT& area)>;
  void onPaint(const std::string& name, PaintHandler handler);
  void setCancelButton(const std::string& name) { cancelButton_ = name; }

  // What a click or a selection change does, sent as the control sends it.
  void click(const std::string& name);
  void notifyChange(const std::string& name);
  void fireTimers();

  // Runs a handler the way the window runs event handlers: an escaping
  // error ends up in the application's error box.
  static void guarded(const Handler& handler);

  void centreOnScreen();
  void setCaption(const std::string& caption);
  std::string caption() const;

 protected:
  virtual bool closeQuery() { return true; }
  virtual void onDestroyed() {}

 private:
  struct Entry {
    Kind kind;
    HWND hwnd;
    int id;
  };
  HWND handle(const std::string& name) const;
  void createControl(const ControlSpec& spec, int id);
  void dispatchCommand(int id, int code);
  LRESULT dispatchNotify(NMHDR* header);
  void dispatchPaint(HWND box, HDC dc);
  void selectPage(HWND pageControl);

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp);

  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  std::span<const ControlSpec> specs_;
  std::map<std::string, Entry> entries_;
  std::map<int, std::string> names_;
  std::map<HWND, std::vector<HWND>> pages_;  // page control -> its pages
  std::map<std::string, Handler> clicks_, changes_;
  std::map<std::string, std::function<void(int, bool)>> selects_;
  std::map<std::string, std::function<bool()>> editing_;
  std::map<UINT_PTR, Handler> timers_;
  std::map<UINT, Handler> posted_;
  std::map<std::string, PaintHandler> painters_;
  Handler activateHandler_;
  std::string cancelButton_;
  bool activating_ = false;
};

// The application's own window, as a form-based Windows program has one: it
// holds the task bar button, captioned with the application title, while
// the main window's caption carries more (the version). Forms created while
// it exists belong to it; minimising the main window minimises it, which
// hides its forms, and restoring it from the task bar brings them back.
class ApplicationWindow {
 public:
  ApplicationWindow();
  ~ApplicationWindow();
  ApplicationWindow(const ApplicationWindow&) = delete;
  ApplicationWindow& operator=(const ApplicationWindow&) = delete;
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

// The event loop of the program: runs until the main window closes. Tab and
// Esc work in every form (IsDialogMessage).
int runMessageLoop();
// Handles every message already queued (tests, and modal loops).
void pumpMessages();
// Runs a modal loop for `form` until it closes; its owner is disabled meanwhile.
void runModal(Form& form);

// Registers the window classes and initialises the common controls.
void initialise(HINSTANCE instance);

}  // namespace ui
