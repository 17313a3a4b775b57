// The main window TForm1: the login, log and configuration screens, the
// start-up sequence, screen switching and the handlers of every control.
// Handlers are named after their control and do their work directly; the
// decisions they make live in the subsystems' portable code.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "ui/form.h"

namespace app {

// The platform services start-up reaches beyond the window, replaceable by
// tests.
struct Environment {
  // Start-up step 4: makes sure the print service is installed and started.
  std::function<void(const std::string& appDir)> printServiceCheck;
};

class MainWindow : public ui::Form {
 public:
  // Creates the window (hidden) and runs the start-up sequence.
  explicit MainWindow(Environment env = {});

  AppState& state() { return state_; }

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
  // Refresh of the log screen.
  void loadLog();

 protected:
  void onDestroyed() override;

 private:
  void buildStartupSteps();
  void setupControls();
  void bindHandlers();

  Environment env_;
  AppState state_;
  std::vector<StartupStep> startupSteps_;
  std::vector<std::string> completedSteps_;
  bool activatedOnce_ = false;
};

}  // namespace app
