#include "host/operations.h"

#include <exception>
#include <memory>
#include <optional>

#include "net/http_client.h"
#include "ui/progress_box.h"
#include "ui/prompts.h"

namespace host {
namespace {

// The progress box opens once an operation has lasted this long; its bar
// follows the operation at every tick.
constexpr DWORD kBoxAfterMs = 1000;
constexpr DWORD kTickMs = 100;

// What the window and the worker share about one operation.
struct Shared {
  Shared() : gone(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~Shared() { CloseHandle(gone); }
  Shared(const Shared&) = delete;
  Shared& operator=(const Shared&) = delete;

  // Set once the job has left the worker: run to its end, or dropped unrun
  // by a worker that stops. Until then the window does not return from
  // run(), since the job refers to what the view holds.
  HANDLE gone;
  std::stop_source cancel;
  std::optional<Operation> operation;
  // The progress box while it is open (window's thread only).
  ui::ProgressBox* box = nullptr;
  // Written by the worker before `gone` is set.
  bool ran = false;
  std::exception_ptr error;
};

// Sets the event when the last copy of the job goes.
struct GoneSignal {
  std::shared_ptr<Shared> shared;
  ~GoneSignal() {
    if (shared) SetEvent(shared->gone);
  }
};

// The person's clicks and keys meant for the waiting window or one of its
// controls. The frame's own (moving the window, its close box) still work.
bool inputFor(HWND window, const MSG& msg) {
  const bool input = (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) ||
                     (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST);
  return input && window && (msg.hwnd == window || IsChild(window, msg.hwnd));
}

}  // namespace

Operations::Operations(ui::Form& window, Worker& worker, net::HttpConnector& connector)
    : window_(window), worker_(worker), connector_(connector) {}

void Operations::run(const std::string& name, const std::function<void(Operation&)>& job) {
  auto shared = std::make_shared<Shared>();
  // What the operation asks the person is shown on the window's thread; the
  // progress box steps aside meanwhile. Work of a cancelled operation may
  // still come after run() has returned: it finds the operation gone.
  std::weak_ptr<Shared> weak = shared;
  shared->operation.emplace(
      shared->cancel.get_token(), ui::prompts(), connector_,
      [this, weak](std::function<void()> work, bool asks) {
        window_.post([weak, asks, work = std::move(work)] {
          std::shared_ptr<Shared> shared = weak.lock();
          ui::ProgressBox* box = shared && asks ? shared->box : nullptr;
          HWND shown = box && IsWindowVisible(box->hwnd()) ? box->hwnd() : nullptr;
          if (shown) ShowWindow(shown, SW_HIDE);
          work();
          if (shown && IsWindow(shown)) ShowWindow(shown, SW_SHOWNOACTIVATE);
        });
      },
      name);
  auto signal = std::make_shared<GoneSignal>();
  signal->shared = shared;
  worker_.post([shared, signal, &job](std::stop_token workerStop) -> Worker::Reply {
    // The window closing stops the worker, and so the operation.
    std::stop_callback closing(workerStop, [&shared] { shared->cancel.request_stop(); });
    try {
      job(*shared->operation);
    } catch (...) {
      shared->error = std::current_exception();
    }
    shared->ran = true;
    return {};
  });
  signal.reset();

  if (depth_++ == 0 && window_.hwnd())
    SetPropA(window_.hwnd(), kWaitingProperty, reinterpret_cast<HANDLE>(1));
  std::unique_ptr<ui::ProgressBox> owned;
  const DWORD start = GetTickCount();
  bool quit = false;
  WPARAM quitCode = 0;
  while (MsgWaitForMultipleObjects(1, &shared->gone, FALSE, kTickMs, QS_ALLINPUT) !=
         WAIT_OBJECT_0) {
    MSG msg;
    while (!quit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit = true;
        quitCode = msg.wParam;
      } else if (inputFor(window_.hwnd(), msg)) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) shared->cancel.request_stop();
      } else {
        ui::Form::dispatch(msg);
      }
    }
    if (quit) {
      // The program ends: the operation with it, before the window goes on.
      shared->cancel.request_stop();
      WaitForSingleObject(shared->gone, INFINITE);
      break;
    }
    if (!owned && !name.empty() && GetTickCount() - start >= kBoxAfterMs && window_.isOpen()) {
      owned = std::make_unique<ui::ProgressBox>(window_.hwnd(), name,
                                                [shared] { shared->cancel.request_stop(); });
      shared->box = owned.get();
      // Over the window, which keeps the activation: Esc there cancels, and
      // a second start of the tool still finds the window in front.
      ShowWindow(owned->hwnd(), SW_SHOWNOACTIVATE);
    }
    if (owned) {
      const Operation::Progress progress = shared->operation->currentProgress();
      owned->showProgress(shared->operation->name(), progress.done, progress.total);
    }
  }
  // What the operation left for the window's thread without waiting (the
  // hourglass given back) is done before the view goes on.
  window_.runPostedWork();
  shared->box = nullptr;
  if (owned && GetActiveWindow() == owned->hwnd() && window_.isOpen())
    SetActiveWindow(window_.hwnd());
  owned.reset();
  if (--depth_ == 0 && window_.hwnd()) RemovePropA(window_.hwnd(), kWaitingProperty);
  if (quit) PostQuitMessage(static_cast<int>(quitCode));
  if (shared->error) std::rethrow_exception(shared->error);
  if (!shared->ran) throw net::Cancelled();
}

}  // namespace host
