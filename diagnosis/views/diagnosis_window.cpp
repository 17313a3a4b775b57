#include "diagnosis/views/diagnosis_window.h"

#include "config/version.h"
#include "diagnosis/report.h"
#include "diagnosis/support_package.h"
#include "host/operation_names.h"
#include "ui/clipboard.h"
#include "ui/prompts.h"

namespace diagnosis {
namespace {

const ui::FormSpec kForm{"TFormDiagnostico", "Diagn\xf3stico - Quelta Configura\xe7\xe3o", 720, 416,
                         ui::Frame::Dialog};

const ui::ControlSpec kControls[] = {
    {ui::Kind::ListView, "lvDiagnostico", "", "", 8, 8, 704, 336},
    {ui::Kind::Label, "lbResumo", "", "", 8, 352, 704, 14},
    {ui::Kind::Button, "btnRepetir", "", "Repetir", 8, 380, 90, 25},
    {ui::Kind::Button, "btnCopiar", "", "Copiar", 104, 380, 90, 25},
    {ui::Kind::Button, "btnSalvarPacote", "", "Salvar pacote", 200, 380, 100, 25},
    {ui::Kind::Button, "btnFechar", "", "Fechar", 637, 380, 75, 25},
};

constexpr char kRunning[] = "Verificando...";

}  // namespace

DiagnosisWindow::DiagnosisWindow(HWND owner, host::Worker& worker, Setup setup)
    : worker_(worker),
      setup_(std::move(setup)),
      operations_(*this, worker, *setup_.services.http),
      self_(std::make_shared<DiagnosisWindow*>(this)) {
  create(kForm, kControls, owner);
  ui::ListView list = this->list("lvDiagnostico");
  list.addColumn("Verifica\xe7\xe3o", 170);
  list.addColumn("Resultado", 260);
  list.addColumn("O que fazer", 270);
  onClick("btnRepetir", [this] { btnRepetirClick(); });
  onClick("btnCopiar", [this] { btnCopiarClick(); });
  onClick("btnSalvarPacote", [this] { btnSalvarPacoteClick(); });
  onClick("btnFechar", [this] { btnFecharClick(); });
  setCancelButton("btnFechar");
  centreOnScreen();
  btnRepetirClick();
}

DiagnosisWindow::~DiagnosisWindow() { *self_ = nullptr; }

void DiagnosisWindow::openModal(HWND owner, host::Worker& worker, const Setup& setup) {
  DiagnosisWindow window(owner, worker, setup);
  ui::prompts().showModal(window);
}

void DiagnosisWindow::btnRepetirClick() {
  const std::vector<Check>& checks = allChecks();
  const int run = ++run_;
  results_.assign(checks.size(), std::nullopt);
  showResults();
  std::weak_ptr<DiagnosisWindow*> window = self_;
  const HWND to = hwnd();
  for (size_t i = 0; i < checks.size(); ++i) {
    const Check& check = checks[i];
    // Each job works on its own copy of the set-up; its reply goes to this
    // window's queue and finds the window through `window`; a reply of an
    // earlier run is dropped.
    worker_.post([setup = setup_, &check, i, run, window, to](std::stop_token stop) {
      CheckLines lines;
      try {
        lines = check.run(setup, stop);
      } catch (const std::exception& e) {
        lines = {failedCheck(check.name, e)};
      }
      ui::Form::postTo(to, [window, i, run, lines = std::move(lines)] {
        std::shared_ptr<DiagnosisWindow*> self = window.lock();
        if (!self || !*self || (*self)->run_ != run) return;
        (*self)->results_[i] = lines;
        (*self)->showResults();
      });
      return host::Worker::Reply();
    });
  }
}

bool DiagnosisWindow::finished() const {
  for (const auto& result : results_)
    if (!result) return false;
  return true;
}

CheckLines DiagnosisWindow::lines() const {
  CheckLines all;
  for (const auto& result : results_)
    if (result) all.insert(all.end(), result->begin(), result->end());
  return all;
}

std::string DiagnosisWindow::report() const {
  const platform::LocalDateTime t = setup_.services.clock->now();
  // A report made before every check has answered says which have not.
  std::vector<std::string> unanswered;
  for (size_t i = 0; i < results_.size(); ++i)
    if (!results_[i]) unanswered.push_back(allChecks()[i].name);
  return reportText(lines(),
                    "Diagn\xf3stico - Quelta Configura\xe7\xe3o " + std::string(config::kVersion) +
                        " - " + platform::isoDateText(t) + " " +
                        setup_.services.clock->longTimeText(t) + " - " + setup_.appDir,
                    unanswered);
}

void DiagnosisWindow::showResults() {
  ui::ListView list = this->list("lvDiagnostico");
  list.clear();
  const std::vector<Check>& checks = allChecks();
  for (size_t i = 0; i < results_.size(); ++i) {
    if (!results_[i]) {
      list.addRow({checks[i].name, kRunning, ""});
      continue;
    }
    for (const CheckLine& line : *results_[i])
      list.addRow(
          {line.check, std::string(verdictText(line.verdict)) + ": " + line.result, line.action});
  }
  control("lbResumo").setText(summary(lines(), finished()));
}

void DiagnosisWindow::btnCopiarClick() {
  if (!ui::copyToClipboard(hwnd(), report()))
    ui::prompts().showError(
        "A \xe1rea de transfer\xeancia est\xe1 ocupada por outro programa; tente de novo");
}

void DiagnosisWindow::btnSalvarPacoteClick() {
  const std::string text = report();
  std::string path;
  operations_.run(host::kSaving, [&](host::Operation&) {
    path = writeSupportPackage(setup_.appDir, text, setup_.services);
  });
  ui::prompts().showMessage("Pacote de diagn\xf3stico salvo em " + path +
                            "\nEnvie este arquivo ao suporte.");
}

void DiagnosisWindow::btnFecharClick() { close(); }

}  // namespace diagnosis
