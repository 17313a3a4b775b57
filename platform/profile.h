// The settings file's profile functions. Each call opens the file afresh,
// reads or writes one value and releases it; nothing is cached, so a value
// the print service changed is seen at the next read.
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

}  // namespace platform
