#include "cloud/views/login_view.h"

#include "cloud/login.h"
#include "cloud/views/window_cloud_context.h"
#include "ui/cursor.h"

namespace cloud {

LoginView::LoginView(host::ViewHost& host, ApiEndpoints endpoints)
    : host_(host), endpoints_(std::move(endpoints)) {
  host.form().onClick("btnLogin", [this] { btnLoginClick(); });
  host.form().setKeys("gbLogin", {"btnLogin", ""});
}

void LoginView::btnLoginClick() {
  ui::BusyCursor busy;
  CloudContext context = windowCloudContext(host_, endpoints_);
  // The fields go out exactly as typed: the server judges empty or padded
  // values like any other.
  login(context, host_.form().control("edtUser").text(), host_.form().control("edtPass").text());
}

}  // namespace cloud
