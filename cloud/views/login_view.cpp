#include "cloud/views/login_view.h"

#include "app/main_window.h"
#include "cloud/login.h"
#include "cloud/views/window_cloud_context.h"
#include "ui/cursor.h"

namespace cloud {

LoginView::LoginView(app::MainWindow& window) : window_(window) {
  window.onClick("btnLogin", [this] { btnLoginClick(); });
}

void LoginView::btnLoginClick() {
  ui::BusyCursor busy;
  CloudContext context = windowCloudContext(window_);
  // The fields go out exactly as typed: the server judges empty or padded
  // values like any other.
  login(context, window_.control("edtUser").text(), window_.control("edtPass").text());
}

}  // namespace cloud
