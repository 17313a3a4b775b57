// The main window TForm1: the login, log and configuration screens, the
// start-up sequence, screen switching and the handlers of every control.
// Handlers are named after their control and do their work directly; the
// decisions they make live in the subsystems' portable code.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "cloud/endpoints.h"
#include "net/http_client.h"
#include "platform/clock.h"
#include "platform/epson_library.h"
#include "platform/service_manager.h"
#include "print/print_documento.h"
#include "service/log_refresh.h"
#include "ui/form.h"

namespace app {

// The platform services the window reaches beyond itself. The program
// fills them with the real ones (production_environment.cpp); a test leaves
// empty what it does not use and puts recording fakes in the rest.
struct Environment {
  // Start-up step 4: makes sure the print service is installed and started.
  std::function<void(const std::string& appDir)> printServiceCheck;
  // "Reiniciar Servidor" stops and starts the print service here; without
  // a manager the button does nothing.
  platform::ServiceManager* serviceManager = nullptr;
  // Today's date and time for the log screen's day file and the test
  // ticket; without one, the computer's clock.
  const platform::Clock* clock = nullptr;
  // What a test ticket is printed through; without them, the computer's
  // printer shares, Epson library and Windows printers.
  std::optional<print::PrintServices> printServices;
  // The printer popup of the category list, opened at the mouse pointer:
  // the index of the chosen entry, -1 when dismissed. Without one, every
  // popup counts as dismissed.
  std::function<int(HWND owner, const std::vector<std::string>& entries)> popupMenu;
  // The Epson library whose log the printer box switches on; without one,
  // the box reports the library as missing.
  platform::EpsonLibrary* epson = nullptr;
  // The version check of the first activation asks the download host's
  // manifest and fetches its archive; without a manifest URL no check runs
  // (the start-up hourglass still ends).
  std::string updateManifestUrl;
  std::string updateArchiveUrl;
  // The self-update: starts the update script hidden, without waiting
  // (false when it could not start), and tells the program to end. Without
  // them the update stops with an error before the script would run.
  std::function<bool(const std::string& commandLine)> launchHidden;
  std::function<void()> endProgram;
  // Where the login and the catalog sync send their requests; without one,
  // the API endpoints the program was built with.
  std::optional<cloud::ApiEndpoints> apiEndpoints;
};

class MainWindow : public ui::Form {
 public:
  // Creates the window (hidden) and runs the start-up sequence.
  explicit MainWindow(Environment env = {});

  AppState& state() { return state_; }
  // IdHTTP1, the window's HTTP client (the log screen's status query and the
  // service test request).
  net::HttpClient& http() { return IdHTTP1; }
  const Environment& environment() const { return env_; }

  struct StartupStep {
    const char* name;
    std::function<void()> run;
  };
  // The start-up sequence in order, and the names of the steps that ran.
  const std::vector<StartupStep>& startupSteps() const { return startupSteps_; }
  const std::vector<std::string>& completedSteps() const { return completedSteps_; }

  // Event handlers.
  void FormCreate();
  void FormActivate();
  void btnConfigImpClick();
  void btnConfigBackClick();
  void Timer1Timer();
  void lvProdutoEditing(bool* allowEdit);

  // Refills of the lists from the tables.
  void loadImpressora();
  void loadCategoria();
  void loadProduto();
  void loadProdutoImpressora();
  // Refresh of the log screen, on the window's thread (start-up,
  // "Atualizar").
  void loadLog();
  // The timer's refresh: off the window's thread, shown once it is done;
  // false when the last one still runs.
  bool refreshLogInBackground();
  bool logRefreshRunning() const { return logRefresher_->running(); }

 protected:
  void onDestroyed() override;

 private:
  void buildStartupSteps();
  void setupControls();
  void bindHandlers();
  // Creates the subsystems' views (app/views.cpp), each of which binds the
  // handlers of its controls.
  void attachViews();
  // The version check of the first activation and the update it may lead
  // to (cloud/views/update_view.cpp).
  void versionCheck();
  // The log screen's background refresh (service/views/log_view.cpp).
  void bindLogRefresh();
  void showLogScreen(const service::LogScreen& screen);

  Environment env_;
  AppState state_;
  net::HttpClient IdHTTP1;
  std::vector<StartupStep> startupSteps_;
  std::vector<std::string> completedSteps_;
  bool activatedOnce_ = false;
  std::vector<std::shared_ptr<void>> views_;
  std::unique_ptr<service::LogRefresher> logRefresher_;
};

}  // namespace app
