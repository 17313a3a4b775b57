// The delivery-platform credentials window "Trevano" (TForm3): shows the
// stored app identifier and password and stores what the user types. Its
// creation raises the print service's reload flag, so every start of the
// tool and every opening of the window does.
#pragma once

#include <string>

#include "ui/form.h"

namespace service {

class CredentialsWindow : public ui::Form {
 public:
  // Creates the window hidden; FormCreate runs here. Settings errors run
  // out to the caller.
  explicit CredentialsWindow(HWND owner = nullptr);

  // Opens a new window modally over `owner` and disposes it when closed.
  static void openModal(HWND owner);

  void btnLoginClick();  // "Salvar", also reached with Esc

 private:
  void formCreate();
  std::string appDir_;
};

}  // namespace service
