// A cloud operation (login, catalog sync) as the window runs it: on the
// worker, over the operation's own client and carried prompts, the window
// waiting. The lists of the tables it replaced are filled again also when a
// later step fails or the person cancels: the categories that came are in
// the list all the same, so "Salvar" never writes a stale list.
#pragma once

#include <functional>

#include "cloud/cloud_context.h"
#include "host/view_host.h"

namespace cloud {

void runCloudOperation(host::ViewHost& host, const char* name, const ApiEndpoints& endpoints,
                       const std::function<void(CloudContext&, host::Operation&)>& step);

}  // namespace cloud
