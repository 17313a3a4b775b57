#include "app/main_window.h"

#include "app/main_window_layout.h"
#include "app/title.h"
#include "config/settings.h"
#include "config/version.h"
#include "host/operation_names.h"
#include "diagnosis/views/diagnosis_window.h"
#include "service/service_check.h"

namespace app {

MainWindow::MainWindow(const platform::Services& services, const Connections& connections)
    : services_(services),
      api_(connections.api),
      updates_(connections.updates),
      // A lane for each load-test order in flight, one for the operation the
      // window waits for and one for everything else.
      worker_([this](host::Worker::Reply reply) { post(std::move(reply)); },
              service::TestWS::kMostInFlight + 2),
      operations_(*this, worker_, *services.http),
      host_{*this,
            state_,
            services_,
            operations_,
            worker_,
            [this](const host::Outcome& outcome) { apply(outcome); },
            [this] { showLogScreen(); }} {
  // The views' tables after the window's own, which hold their screens; the
  // test box's after the printer group it lies in.
  create(kMainFormSpec,
         {kMainControlTable, cloud::LoginView::controls(), service::LogView::controls(),
          cloud::CatalogView::controls(), routing::RoutingView::controls(),
          routing::PrinterView::controls(), print::TestView::controls()});
  host::ViewHost& host = host_;
  logView_.emplace(host);
  testView_.emplace(host);
  printerView_.emplace(host);
  routingView_.emplace(host);
  loginView_.emplace(host, connections.api);
  catalogView_.emplace(host, connections.api);
  bindHandlers();
  FormCreate();
}

void MainWindow::bindHandlers() {
  onClick("btnConfig", [this] { btnConfigImpClick(); });
  onClick("btnConfigBack", [this] { btnConfigBackClick(); });
  onClick("btnDiagnostico", [this] { btnDiagnosticoClick(); });
  onClick("btnRestart", [this] { btnRestartClick(); });
  for (const char* name : {"lvImpressora", "lvCategoria", "lvProduto"}) {
    onEditing(name, [this] {
      bool allow = true;
      lvProdutoEditing(&allow);
      return allow;
    });
  }
  onActivate([this] { FormActivate(); });
  onTimer(10000, [this] { Timer1Timer(); });
}

void MainWindow::buildStartupSteps() {
  startupSteps_ = {
      {"hourglass", [this] { prompts().setBusy(true); }},
      {"centre", [this] { centreOnScreen(); }},
      {"application directory", [this] { state_.appDir = config::applicationDirectory(); }},
      {"print-service check",
       [this] {
         operations_.run(host::kWaitingForService, [this](host::Operation&) {
           platform::Process& process = *services_.process;
           service::checkPrintService(*services_.serviceManager, state_.appDir,
                                      [&process](const std::string& commandLine) {
                                        return process.launchHidden(commandLine);
                                      });
         });
       }},
      {"printer table",
       [this] {
         if (routing::readImpressora(state_.tables, state_.appDir)) printerView_->loadImpressora();
       }},
      {"category table",
       [this] {
         if (routing::readCategoria(state_.tables, state_.appDir)) routingView_->loadCategoria();
       }},
      {"product table",
       [this] {
         if (routing::readProduto(state_.tables, state_.appDir)) routingView_->loadProduto();
       }},
      {"card table", [this] { routing::readCartao(state_.tables, state_.appDir); }},
      {"settings migration", [this] { config::migrateSettings(state_.appDir); }},
      {"settings read",
       [this] {
         config::StartupSettings s = config::readStartupSettings(state_.appDir);
         state_.token = s.token;
         state_.companyName = s.companyName;
       }},
      {"screen choice",
       [this] {
         bool loggedIn = !state_.token.empty();
         control("gbLogin").show(!loggedIn);
         control("gbLog").show(loggedIn);
         control("gbConfig").hide();
       }},
      {"caption", [this] { setCaption(std::string(kTitle) + " - " + config::kVersion); }},
      {"product printer choice", [this] { routingView_->loadProdutoImpressora(); }},
      {"log refresh", [this] { logView_->loadLog(); }},
  };
}

void MainWindow::FormCreate() {
  buildStartupSteps();
  completedSteps_.clear();
  // An error ends the sequence where it happened; the window then runs in
  // the state reached so far.
  guarded([this] {
    for (const StartupStep& step : startupSteps_) {
      step.run();
      completedSteps_.push_back(step.name);
    }
  });
}

void MainWindow::FormActivate() {
  // Once per start: closing the update question activates the window again,
  // and after "No" nothing more is asked.
  if (activatedOnce_) return;
  activatedOnce_ = true;
  // The start-up hourglass ends with the check, also when the check fails.
  struct EndHourglass {
    host::Prompts& prompts;
    ~EndHourglass() { prompts.setBusy(false); }
  } endHourglass{prompts()};
  versionCheck();
}

namespace {

// The update's process from the worker: the script starts from there, the
// program's end is the window's.
class WindowProcess : public platform::Process {
 public:
  WindowProcess(platform::Process& process, host::Operation& op) : process_(process), op_(op) {}
  bool launchHidden(const std::string& commandLine) override {
    return process_.launchHidden(commandLine);
  }
  void pause(int milliseconds) override { process_.pause(milliseconds); }
  void endProgram() override {
    op_.onWindow([process = &process_] { process->endProgram(); });
  }

 private:
  platform::Process& process_;
  host::Operation& op_;
};

}  // namespace

void MainWindow::versionCheck() {
  if (!updates_.check) return;
  operations_.run(host::kCheckingForUpdates, [this](host::Operation& op) {
    WindowProcess process(*services_.process, op);
    update::UpdateContext context{
        op.http(),     op.prompts(),     *services_.serviceManager, process, *services_.clock,
        state_.appDir, config::kVersion, updates_,                  &op};
    update::checkForUpdate(context);
  });
}

void MainWindow::btnConfigImpClick() {
  control("gbConfig").show();
  control("gbLog").hide();
}

void MainWindow::btnConfigBackClick() {
  control("gbLog").show();
  control("gbConfig").hide();
}

void MainWindow::btnDiagnosticoClick() {
  diagnosis::DiagnosisWindow::openModal(hwnd(), worker_,
                                        {state_.appDir, services_, api_, updates_});
}

// Stops the print service, waits for it to stop, then asks for the start.
// Shows nothing and leaves the cursor alone, as every service operation.
// The window answers meanwhile; no progress box, and the button cannot be
// pressed again until the restart has ended.
void MainWindow::btnRestartClick() {
  operations_.run("", [this](host::Operation&) {
    service::restartPrintService(*services_.serviceManager);
  });
}

// While an operation runs the tables may be in its hands: the refresh waits
// for the next tick.
void MainWindow::Timer1Timer() {
  if (!operations_.running()) logView_->refreshInBackground();
}

void MainWindow::lvProdutoEditing(bool* allowEdit) { *allowEdit = false; }

MainWindow::~MainWindow() { worker_.stop(); }

void MainWindow::onDestroyed() {
  // Closing cancels what the worker does and waits for it, before the
  // program's entry point returns.
  worker_.stop();
  PostQuitMessage(0);
}

void MainWindow::apply(const host::Outcome& outcome) {
  if (outcome.refills(host::kRefillPrinterList)) printerView_->loadImpressora();
  if (outcome.refills(host::kRefillCategoryList)) routingView_->loadCategoria();
  if (outcome.refills(host::kRefillProductList)) routingView_->loadProduto();
  if (outcome.refills(host::kRefillProductPrinterChoice)) routingView_->loadProdutoImpressora();
  if (!outcome.message.empty()) prompts().showMessage(outcome.message);
}

void MainWindow::showLogScreen() {
  control("gbLog").show();
  control("gbLogin").hide();
}

}  // namespace app
