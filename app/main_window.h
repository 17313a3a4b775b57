// The main window TForm1: the login, log and configuration screens, the
// start-up sequence, screen switching, and the views that declare the
// subsystems' controls and hold their handlers. The window is the views'
// host: its controls, state, prompts, services and operations, and the
// refills an action's outcome names, whichever view shows the list.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cloud/endpoints.h"
#include "cloud/views/catalog_view.h"
#include "cloud/views/login_view.h"
#include "host/view_host.h"
#include "print/views/test_view.h"
#include "routing/views/printer_view.h"
#include "routing/views/routing_view.h"
#include "service/views/log_view.h"
#include "ui/form.h"
#include "ui/prompts.h"
#include "update/update.h"

namespace app {

// Where the window's requests go: the cloud API, and the download host of
// the version check (or no check at all).
struct Connections {
  cloud::ApiEndpoints api;
  update::UpdateSource updates;
};

class MainWindow : public ui::Form {
 public:
  // Creates the window (hidden) and runs the start-up sequence.
  MainWindow(const platform::Services& services, const Connections& connections);
  // Stops the worker first: no job outlives the window.
  ~MainWindow() override;

  host::AppState& state() { return state_; }

  struct StartupStep {
    const char* name;
    std::function<void()> run;
  };
  // The names of the start-up steps that ran, in order.
  const std::vector<std::string>& completedSteps() const { return completedSteps_; }

  // Event handlers.
  void FormCreate();
  void FormActivate();
  void btnConfigImpClick();
  void btnConfigBackClick();
  void btnDiagnosticoClick();
  void btnRestartClick();
  void Timer1Timer();
  void lvProdutoEditing(bool* allowEdit);

  service::LogView& logView() { return *logView_; }
  print::TestView& testView() { return *testView_; }

 protected:
  void onDestroyed() override;

 private:
  void buildStartupSteps();
  void bindHandlers();

  // The version check of the first activation and, on "Yes", the update.
  void versionCheck();

  host::Prompts& prompts() { return ui::prompts(); }
  // What the views hand back: the lists an outcome names filled again,
  // whichever view shows them, then its message; the switch to the log
  // screen after the login.
  void apply(const host::Outcome& outcome);
  void showLogScreen();

  const platform::Services services_;
  const cloud::ApiEndpoints api_;
  const update::UpdateSource updates_;
  host::AppState state_;
  // Before the views, so it is there when they bind and still there while
  // they go.
  host::Worker worker_;
  // What can wait runs here, the window waiting for it.
  host::Operations operations_;
  // What the views are built against.
  host::ViewHost host_;
  std::vector<StartupStep> startupSteps_;
  std::vector<std::string> completedSteps_;
  bool activatedOnce_ = false;

  // The views, created once the controls exist; each binds the handlers of
  // its controls.
  std::optional<service::LogView> logView_;
  std::optional<print::TestView> testView_;
  std::optional<routing::PrinterView> printerView_;
  std::optional<routing::RoutingView> routingView_;
  std::optional<cloud::LoginView> loginView_;
  std::optional<cloud::CatalogView> catalogView_;
};

}  // namespace app
