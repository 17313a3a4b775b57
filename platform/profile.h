// The settings file's profile functions. Each call opens the file afresh,
// reads or writes one value and releases it; nothing is cached, so a value
// the print service changed is seen at the next read. Each call is also a
// step of the file service's (FileSteps in platform/files.h): a test can make
// it fail, and the call then raises without touching the file.
#pragma once

#include <string>

namespace platform {

// Section and key match without regard to letter case; a missing file,
// section or key gives `def`; a value is read up to 2047 characters; a value
// enclosed in a pair of single or double quotation marks loses them.
std::string readProfileString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& def);

// Creates file, section and key as needed and replaces an existing value in
// place, every other line unchanged; the value is written verbatim. A write
// that fails raises quelta::Error "Unable to write to " + file.
void writeProfileString(const std::string& file, const std::string& section,
                        const std::string& key, const std::string& value);

// Removes the key, and its section when no key is left in it, so that a file
// returns to what it was before the key was first written; every other line
// unchanged. A removal that fails raises as a write does.
void removeProfileKey(const std::string& file, const std::string& section, const std::string& key);

}  // namespace platform
