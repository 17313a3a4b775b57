// Certificate authorities trusted besides the Windows certificate store:
// the PEM text of the build's extra CA file (the sandbox cloud's own CA in
// the default build), built into the program so that no file beside it can
// go missing or be swapped. Empty when the build names none.
#pragma once

#include <string_view>

namespace net {

std::string_view extraCaCertificates();

}  // namespace net
