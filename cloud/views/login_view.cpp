#include "cloud/views/login_view.h"

#include "cloud/login.h"

namespace cloud {

LoginView::LoginView(host::ViewHost& host, ApiEndpoints endpoints)
    : host_(host), endpoints_(std::move(endpoints)) {
  host.form().onClick("btnLogin", [this] { btnLoginClick(); });
  host.form().setKeys("gbLogin", {"btnLogin", ""});
}

void LoginView::btnLoginClick() {
  host::Busy busy(host_.prompts());
  host::AppState& state = host_.state();
  CloudContext context{host_.http(), host_.prompts(), endpoints_,
                       state.token,  state.tables,    state.appDir};
  context.showLogScreen = [this] { host_.showLogScreen(); };
  try {
    // The fields go out exactly as typed: the server judges empty or padded
    // values like any other.
    login(context, host_.form().control("edtUser").text(), host_.form().control("edtPass").text());
  } catch (...) {
    // Categories that came before the error are in the list all the same.
    host_.apply({"", context.refill});
    throw;
  }
  host_.apply({"", context.refill});
}

}  // namespace cloud
