// What a view of the main window is built against: the window's controls
// by name, with its handlers bound to them; the program state; the port to
// the window; the platform services; the window's HTTP client. The main
// window implements it, and so the views never see the window's class.
#pragma once

#include "host/app_state.h"
#include "host/window_port.h"
#include "net/http_client.h"
#include "platform/services.h"
#include "ui/form.h"

namespace host {

class ViewHost {
 public:
  virtual ui::Form& form() = 0;
  virtual AppState& state() = 0;
  virtual WindowPort& port() = 0;
  virtual const platform::Services& services() const = 0;
  // IdHTTP1, the window's HTTP client.
  virtual net::HttpClient& http() = 0;

 protected:
  ~ViewHost() = default;
};

}  // namespace host
