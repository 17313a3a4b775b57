#include "cloud/views/window_cloud_context.h"

#include "app/main_window.h"
#include "ui/prompts.h"

namespace cloud {

CloudContext windowCloudContext(app::MainWindow& window) {
  app::AppState& state = window.state();
  const std::optional<ApiEndpoints>& endpoints = window.environment().apiEndpoints;
  CloudView view;
  view.showMessage = [](const std::string& text) { ui::prompts().showMessage(text); };
  view.refillCategoryList = [&window] { window.loadCategoria(); };
  view.showLogScreen = [&window] {
    window.control("gbLog").show();
    window.control("gbLogin").hide();
  };
  view.storeToken = settingsTokenStore(state.appDir);
  return CloudContext{window.http(), endpoints ? *endpoints : builtInApiEndpoints(),
                      state.token,   state.tables,
                      state.appDir,  std::move(view)};
}

}  // namespace cloud
