// A top-level window built from a table of controls, the way a form file
// describes one. The table names every control; handlers are bound to those
// names once, and the routing of WM_COMMAND, WM_NOTIFY and WM_TIMER to them
// lives here alone. An exception that leaves a handler is shown in the
// application's error box and the program goes on.
//
// A name that the table does not declare is a programming error that must
// not go unseen: binding, looking up or clicking it raises UnknownControl
// at once (at start-up for the bindings, so every test that builds the
// window finds a misspelt name).
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <map>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/form_spec.h"

namespace ui {

class UnknownControl : public std::logic_error {
 public:
  UnknownControl(const std::string& form, const std::string& name)
      : std::logic_error(form + " has no control \"" + name + "\"") {}
};

class DuplicateControl : public std::logic_error {
 public:
  DuplicateControl(const std::string& form, const std::string& name)
      : std::logic_error(form + " declares control \"" + name + "\" twice") {}
};

class Form {
 public:
  Form();
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Creates the window (hidden) and its controls. `owner` is the window a
  // modal form belongs to.
  void create(const FormSpec& spec, std::span<const ControlSpec> controls, HWND owner = nullptr) {
    create(spec, std::initializer_list<std::span<const ControlSpec>>{controls}, owner);
  }
  // The same from several tables, created one after the other, so a table
  // may place its controls in the containers of the tables before it: each
  // panel's owner declares its own. Tab goes in reading order across them.
  // A name declared twice raises DuplicateControl.
  void create(const FormSpec& spec, std::initializer_list<std::span<const ControlSpec>> tables,
              HWND owner = nullptr);
  HWND hwnd() const { return hwnd_; }
  // The tables the form was built from, in creation order (96-DPI sizes).
  std::span<const ControlSpec> controlSpecs() const { return specs_; }
  void show();
  void close();  // closes the window (a modal loop then returns)
  bool isOpen() const { return hwnd_ != nullptr && IsWindow(hwnd_); }

  Control control(const std::string& name) const;
  Memo memo(const std::string& name) const { return Memo(handle(name)); }
  ComboBox combo(const std::string& name) const { return ComboBox(handle(name)); }
  ListView list(const std::string& name) const { return ListView(handle(name)); }
  ProgressBar progressBar(const std::string& name) const { return ProgressBar(handle(name)); }

  // Handler binding.
  using Handler = std::function<void()>;
  void onClick(const std::string& name, Handler handler);
  void onChange(const std::string& name, Handler handler);
  void onSelectItem(const std::string& name, std::function<void(int row, bool selected)> handler);
  void onEditing(const std::string& name, std::function<bool()> allowEdit);
  void onTimer(int intervalMs, Handler handler);
  void onActivate(Handler handler) { activateHandler_ = std::move(handler); }
  // Runs `work` on the window's thread, called from any thread: it travels
  // inside a message posted to the window, so work done off the window's
  // thread brings its result along. Work still on its way when the window
  // goes is dropped unrun.
  void post(Handler work) { postTo(hwnd_, std::move(work)); }
  // The same for the form whose window is `window`, from a thread that
  // cannot know whether the form is still there: work for a window that has
  // gone is dropped.
  static void postTo(HWND window, Handler work);
  // Runs the work posted so far and not yet run, now.
  void runPostedWork();
  // Draws a paint box on `dc`; `area` is its client rectangle.
  using PaintHandler = std::function<void(HDC dc, const RECT& area)>;
  void onPaint(const std::string& name, PaintHandler handler);

  // Enter and Esc as a dialog has them. While the focus is inside `scope` (a
  // container of the table, or "" for the whole form), Enter presses the
  // default button and Esc the cancel button, each only while it can be seen
  // and used; the innermost scope that names a button for the key wins. Enter
  // on a focused button presses that button.
  struct Keys {
    std::string defaultButton, cancelButton;
  };
  void setKeys(const std::string& scope, Keys keys);
  void setCancelButton(const std::string& name) { setKeys("", {"", name}); }
  // A box: a container that opens over other controls of the form. While it
  // is shown it acts as a modal box within the form: the focus goes to its
  // first control, Tab goes round its controls alone, and a click elsewhere
  // in the form does nothing.
  void setBox(const std::string& container, Keys keys);

  // What a click or a selection change does, sent as the control sends it.
  void click(const std::string& name);
  void notifyChange(const std::string& name);
  void fireTimers();

  // One message of a message loop: the keys the form handles itself (Tab,
  // Enter, Esc), then the dialog manager, then the window. The focus is
  // repaired first, so the dialog manager never starts from a control that
  // cannot be seen or used (its search for a mnemonic loops forever there).
  static void dispatch(MSG& msg);

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
  const Entry& entry(const std::string& name) const;  // UnknownControl when undeclared
  HWND handle(const std::string& name) const;
  void createControl(const ControlSpec& spec, int id);  // control_factory.cpp
  void dispatchCommand(int id, int code);
  LRESULT dispatchNotify(NMHDR* header);
  void dispatchPaint(HWND box, HDC dc);
  void selectPage(HWND pageControl);
  void dropPostedWork();

  // Focus and keyboard (form_focus.cpp).
  struct Scope {
    Keys keys;
    bool box = false;
  };
  bool preTranslate(MSG& msg);
  bool ownsWindow(HWND hwnd) const { return hwnd == hwnd_ || IsChild(hwnd_, hwnd); }
  HWND controlOf(HWND hwnd) const;  // the table's control that holds `hwnd`
  HWND activeBox() const;
  HWND dialogScope() const { return activeBox() ? activeBox() : hwnd_; }
  bool takesFocus(HWND control, HWND leaving = nullptr) const;
  HWND nextTabStop(HWND from, bool backwards, HWND leaving = nullptr) const;
  void moveFocus(HWND preferred, HWND leaving = nullptr);
  void repairFocus();
  void containerShown(HWND container, bool shown);
  bool pressKey(UINT key);
  void press(HWND button);

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp);

  HWND hwnd_ = nullptr;
  std::string className_;
  HFONT font_ = nullptr;
  std::vector<ControlSpec> specs_;
  std::map<std::string, Entry> entries_;
  std::map<int, std::string> names_;
  std::map<HWND, std::vector<HWND>> pages_;  // page control -> its pages
  std::map<std::string, Handler> clicks_, changes_;
  std::map<std::string, std::function<void(int, bool)>> selects_;
  std::map<std::string, std::function<bool()>> editing_;
  std::map<UINT_PTR, Handler> timers_;
  std::map<std::string, PaintHandler> painters_;
  Handler activateHandler_;
  std::vector<HWND> tabOrder_;  // the focusable controls, in reading order
  std::map<HWND, Scope> scopes_;
  std::map<HWND, HWND> openers_;  // container -> the focus when it was shown
  std::vector<HWND> openBoxes_;   // in the order they opened
  HWND savedFocus_ = nullptr;     // the focus while the form is inactive
  HWND modalOwner_ = nullptr;     // the window runModal disabled
  friend void runModal(Form& form);
  bool activating_ = false;
};

// The application's own window (application_window.cpp), as a form-based
// Windows program has one: it holds the task bar button, captioned with the
// application title, while the main window's caption carries more (the
// version). Forms created while it exists belong to it; minimising the main
// window minimises it, which hides its forms, and restoring it from the task
// bar brings them back.
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

// The loops (message_loop.cpp).
//
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
