// The system's text for a Win32 error code, and the I/O error the program
// raises for a file operation that failed with it.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

// Without the trailing line end and full stop, so it can be quoted.
std::string systemMessage(DWORD code);

// IOError: what + " \"" + path + "\". " + the system's text.
[[noreturn]] void failFile(const char* what, const std::string& path, DWORD code);

}  // namespace platform
