#include "cloud/views/login_view.h"

#include "cloud/login.h"
#include "cloud/views/cloud_operation.h"
#include "host/operation_names.h"

namespace cloud {
namespace {

using ui::Kind;

// clang-format off
const ui::ControlSpec kControls[] = {
    {Kind::Label, "lbTitle", "gbLogin", "Bem vindo ao quelta servidor de impress\xe3o", 120, 150, 300, 16},
    {Kind::Label, "lbUser", "gbLogin", "Usu\xe1rio", 140, 200, 250, 14},
    {Kind::Edit, "edtUser", "gbLogin", "", 140, 216, 250, 21},
    {Kind::Label, "lbPass", "gbLogin", "Senha", 140, 248, 250, 14},
    {Kind::PasswordEdit, "edtPass", "gbLogin", "", 140, 264, 250, 21},
    {Kind::Button, "btnLogin", "gbLogin", "Acessar", 140, 300, 250, 30},
};
// clang-format on

}  // namespace

std::span<const ui::ControlSpec> LoginView::controls() { return kControls; }

LoginView::LoginView(host::ViewHost& host, ApiEndpoints endpoints)
    : host_(host),
      endpoints_(std::move(endpoints)),
      user_(host.form.control("edtUser")),
      password_(host.form.control("edtPass")) {
  host.form.onClick("btnLogin", [this] { btnLoginClick(); });
  host.form.setKeys("gbLogin", {"btnLogin", ""});
}

void LoginView::btnLoginClick() {
  // The fields go out exactly as typed: the server judges empty or padded
  // values like any other.
  const std::string user = user_.text(), password = password_.text();
  runCloudOperation(host_, host::kLoggingIn, endpoints_,
                    [&](CloudContext& context, host::Operation& op) {
                      context.showLogScreen = [&op, this] {
                        op.onWindow([this] { host_.showLogScreen(); });
                      };
                      login(context, user, password);
                    });
}

}  // namespace cloud
