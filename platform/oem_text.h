// Text in the OEM code page, such as the entry names of a ZIP archive, as the
// program's 8-bit ANSI text. On Windows this is the system's own conversion
// (OemToCharBuffA); the portable stand-in converts code page 850, the OEM
// code page of Brazilian and Western European Windows, to Windows-1252.
#pragma once

#include <optional>
#include <string>

namespace platform {

// Same length as the input. Characters the ANSI code page lacks (box
// drawing, for instance) become the best fit Windows picks, or "?" in the
// portable stand-in.
std::string oemToAnsi(const std::string& oem);

// The other way, as the command interpreter needs the text of a script:
// nothing when a character has no exact place in the OEM code page, since a
// look-alike would name another file.
std::optional<std::string> ansiToOem(const std::string& ansi);

}  // namespace platform
