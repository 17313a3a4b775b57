#include "service/views/credentials_window.h"

#include "config/settings.h"
#include "platform/profile.h"
#include "ui/dpi.h"
#include "ui/prompts.h"

namespace service {
namespace {

// Outer size 304 x 237; the client area below is what remains inside the
// caption and borders of a dialog frame.
const ui::FormSpec kForm{"TForm3", "Trevano", 288, 199, ui::Frame::Dialog};

const ui::ControlSpec kControls[] = {
    {ui::Kind::Label, "lbTitle", "", "Informe os dados de acesso do Trevano ", 16, 12, 260, 16},
    {ui::Kind::Label, "lbAppID", "", "App ID", 40, 40, 201, 14},
    {ui::Kind::Edit, "edtAppID", "", "", 40, 56, 201, 21},
    {ui::Kind::Label, "lbPass", "", "Senha", 40, 88, 201, 14},
    {ui::Kind::PasswordEdit, "edtPass", "", "", 40, 104, 201, 21},
    {ui::Kind::Button, "btnLogin", "", "Salvar", 60, 146, 161, 25},
};

}  // namespace

CredentialsWindow::CredentialsWindow(HWND owner) {
  create(kForm, kControls, owner);
  // Keep the outer size exact whatever the frame metrics are.
  SetWindowPos(hwnd(), nullptr, 0, 0, ui::scaled(304), ui::scaled(237),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  onClick("btnLogin", [this] { btnLoginClick(); });
  setCancelButton("btnLogin");
  formCreate();
}

void CredentialsWindow::formCreate() {
  centreOnScreen();
  appDir_ = config::applicationDirectory();
  const std::string file = config::settingsFile(appDir_);
  std::vector<std::string> stored =
      platform::readProfileStrings(file, config::kSectionTrevano, {"appID", "pass"});
  control("edtAppID").setText(stored[0]);
  control("edtPass").setText(stored[1]);
  config::raiseReload(appDir_);
}

void CredentialsWindow::btnLoginClick() {
  const std::string file = config::settingsFile(appDir_);
  // Both or neither: a half-saved pair would log the service in with a new
  // app and an old password.
  platform::writeProfileStrings(
      file, config::kSectionTrevano,
      {{"appID", control("edtAppID").text()}, {"pass", control("edtPass").text()}});
  close();
}

void CredentialsWindow::openModal(HWND owner) {
  CredentialsWindow window(owner);
  ui::prompts().showModal(window);
}

}  // namespace service
