#include "service/views/credentials_window.h"

#include "config/settings.h"
#include "platform/error.h"
#include "platform/files.h"
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
  // The profile functions read a file they cannot open as blanks, which
  // Salvar (and Esc) would then store over the real credentials: an existing
  // file that cannot be read is an error instead.
  if (platform::fileExists(file)) platform::readFile(file);
  control("edtAppID")
      .setText(platform::readProfileString(file, config::kSectionTrevano, "appID", ""));
  control("edtPass").setText(
      platform::readProfileString(file, config::kSectionTrevano, "pass", ""));
  config::raiseReload(appDir_);
}

void CredentialsWindow::btnLoginClick() {
  const std::string file = config::settingsFile(appDir_);
  const char kNone[] = "\n";  // no stored value holds a line break
  const std::string oldAppID =
      platform::readProfileString(file, config::kSectionTrevano, "appID", kNone);
  platform::writeProfileString(file, config::kSectionTrevano, "appID", control("edtAppID").text());
  try {
    platform::writeProfileString(file, config::kSectionTrevano, "pass", control("edtPass").text());
  } catch (const quelta::Error&) {
    // A new app with the old password would log the service in with neither:
    // the app goes back as it was, if the file still takes a write.
    try {
      if (oldAppID == kNone)
        platform::removeProfileKey(file, config::kSectionTrevano, "appID");
      else
        platform::writeProfileString(file, config::kSectionTrevano, "appID", oldAppID);
    } catch (const quelta::Error&) {
    }
    throw;
  }
  close();
}

void CredentialsWindow::openModal(HWND owner) {
  CredentialsWindow window(owner);
  ui::prompts().showModal(window);
}

}  // namespace service
