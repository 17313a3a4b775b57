// The window "Diagnóstico - Quelta Configuração": every check of the
// diagnosis runs on the main window's worker, and its lines fill the list as
// it finishes, so the window answers while a check waits on a hung service.
// "Repetir" runs them again, "Copiar" puts the report on the clipboard,
// "Salvar pacote" writes the support package, Esc or "Fechar" closes.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "diagnosis/checks.h"
#include "host/operations.h"
#include "host/worker.h"
#include "ui/form.h"

namespace diagnosis {

class DiagnosisWindow : public ui::Form {
 public:
  // Creates the window (hidden) and starts the checks.
  DiagnosisWindow(HWND owner, host::Worker& worker, Setup setup);
  ~DiagnosisWindow() override;

  // Opens a new window modally over `owner`, disposed once closed.
  static void openModal(HWND owner, host::Worker& worker, const Setup& setup);

  void btnRepetirClick();
  void btnCopiarClick();
  void btnSalvarPacoteClick();
  void btnFecharClick();  // also reached with Esc

  // Every check has reported.
  bool finished() const;
  CheckLines lines() const;  // those reported so far, in the checks' order
  std::string report() const;

 private:
  void showResults();

  host::Worker& worker_;
  const Setup setup_;
  // "Salvar pacote" writes on the worker, this window waiting.
  host::Operations operations_;
  // One entry per check; empty while it runs.
  std::vector<std::optional<CheckLines>> results_;
  int run_ = 0;
  // Replies that arrive after the window went find this gone.
  std::shared_ptr<DiagnosisWindow*> self_;
};

}  // namespace diagnosis
