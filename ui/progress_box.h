// The progress box of an operation that lasts: a small framed box over the
// window that waits for it, with the operation's name, a bar and
// "Cancelar" (Esc on the window too). It never takes the activation: the
// window keeps the keyboard. The bar shows how far a
// download of known size is, with its bytes and percent, and keeps moving
// otherwise.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "ui/form.h"

namespace ui {

class ProgressBox : public Form {
 public:
  // Created hidden, owned by `owner`; `cancel` runs on "Cancelar".
  ProgressBox(HWND owner, const std::string& name, std::function<void()> cancel);

  // The operation's name now, and `done` bytes of `total`; a total below 0
  // is not known.
  void showProgress(const std::string& name, int64_t done, int64_t total);
  void btnCancelarClick();

 protected:
  bool closeQuery() override;

 private:
  std::function<void()> cancel_;
  bool cancelling_ = false;
};

// "1,2 MB de 3,4 MB (35 %)"; empty when the total is not known.
std::string progressText(int64_t done, int64_t total);

}  // namespace ui
