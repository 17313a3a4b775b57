// Launching another program: the print service's installer and the update
// script run beside the tool, with no window and without being waited for.
#pragma once

#include <string>

namespace platform {

// Starts the command line with its window hidden and returns at once. False
// when the program could not be started.
bool launchHidden(const std::string& commandLine);

}  // namespace platform
