// The settings file's profile functions, with the rules of the Windows ones
// (GetPrivateProfileStringA, WritePrivateProfileStringA). Each call opens the
// file afresh, reads or writes one value and releases it; nothing is cached,
// so a value the print service changed is seen at the next read. A write
// replaces the whole file in one step (platform::writeFileReplacing).
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace platform {

// Section and key match without regard to letter case; a missing file,
// section or key gives `def`; a value is read up to 2047 characters; a value
// enclosed in a pair of single or double quotation marks loses them.
std::string readProfileString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& def);

// Several keys of one section from one reading of the file, each as
// readProfileString gives it, except that a file which exists but cannot be
// read raises IOError: for a window whose save writes back what it showed,
// which would otherwise store blanks over the values it could not read.
std::vector<std::string> readProfileStrings(const std::string& file, const std::string& section,
                                            const std::vector<std::string>& keys);

// Creates file, section and key as needed and replaces an existing value in
// place, every other line unchanged; the value is written verbatim. A write
// that fails raises quelta::Error "Unable to write to " + file.
void writeProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value);

// Several keys of one section in one write: the file then holds all of them
// or, when the write fails, none.
void writeProfileStrings(const std::string& file, const std::string& section,
                         const std::vector<std::pair<std::string, std::string>>& values);

}  // namespace platform
