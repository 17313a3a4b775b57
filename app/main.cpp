// Program entry: one tool per user logged on, the application and its
// prompts, the main window (whose creation runs the start-up sequence) with
// the computer's own services and the build's hosts, the hidden credentials
// window, the event loop.
#include <windows.h>

#include "app/main_window.h"
#include "app/main_window_layout.h"
#include "app/single_instance.h"
#include "app/title.h"
#include "service/views/credentials_window.h"
#include "ui/form.h"
#include "ui/prompts.h"

namespace {

// The window prompts, with the credentials window over the window in front.
class ProgramPrompts final : public ui::WindowPrompts {
 public:
  void openCredentials() override { service::CredentialsWindow::openModal(GetActiveWindow()); }
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  app::SingleInstance running;
  if (!running.first()) {
    // The window of another user's tool is not on this desktop.
    if (running.elsewhere())
      MessageBoxA(nullptr, app::kRunningElsewhere, app::kTitle, MB_OK | MB_ICONINFORMATION);
    else
      app::SingleInstance::bringToFront(app::kMainFormSpec.className);
    return 0;
  }
  ui::initialise(instance);
  ui::setApplicationTitle(app::kTitle);
  ProgramPrompts prompts;
  ui::setPrompts(&prompts);
  // The task bar shows the application title, not the window's caption.
  ui::ApplicationWindow application;

  app::MainWindow mainWindow(platform::systemServices(),
                             {cloud::builtInApiEndpoints(), update::UpdateSource::downloadHost()});
  // Its creation reads the credentials and raises the reload flag, so every
  // start of the tool does.
  std::unique_ptr<service::CredentialsWindow> credentials;
  ui::Form::guarded([&] { credentials = std::make_unique<service::CredentialsWindow>(); });

  mainWindow.show();
  return ui::runMessageLoop();
}
