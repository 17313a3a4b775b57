// The settings file's reader and writer, with the profile functions' rules.
// The file is shared with the print service, so a write goes through the
// file service like every table: the whole file replaced in one step (never
// half-written, as an in-place rewrite can be), and retried while the service
// holds it open.
#include "platform/profile.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/error.h"
#include "platform/files.h"

namespace platform {
namespace {

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::string trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

std::vector<std::string> lines(const std::string& path) {
  std::vector<std::string> out;
  if (!fileExists(path)) return out;
  std::string text = readFile(path), line;
  for (char c : text) {
    if (c == '\n') {
      out.push_back(line);
      line.clear();
    } else if (c != '\r') {
      line += c;
    }
  }
  if (!line.empty()) out.push_back(line);
  return out;
}

bool isSection(const std::string& line, std::string* name) {
  std::string t = trim(line);
  if (t.size() < 2 || t.front() != '[') return false;
  size_t close = t.find(']');
  if (close == std::string::npos) return false;
  *name = trim(t.substr(1, close - 1));
  return true;
}

bool isKey(const std::string& line, std::string* key, std::string* value) {
  size_t eq = line.find('=');
  if (eq == std::string::npos) return false;
  *key = trim(line.substr(0, eq));
  *value = trim(line.substr(eq + 1));
  return true;
}

}  // namespace

namespace {

std::string valueIn(const std::vector<std::string>& all, const std::string& section,
                    const std::string& key, const std::string& def) {
  std::string current, k, v;
  bool inSection = false;
  for (const std::string& line : all) {
    if (isSection(line, &current)) {
      inSection = lower(current) == lower(section);
    } else if (inSection && isKey(line, &k, &v) && lower(k) == lower(key)) {
      if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
      return v.substr(0, 2047);
    }
  }
  return def.substr(0, 2047);
}

}  // namespace

std::string readProfileString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& def) {
  std::vector<std::string> all;
  try {
    all = lines(file);
  } catch (const quelta::Error&) {
    // An unreadable file reads as all defaults.
  }
  return valueIn(all, section, key, def);
}

std::vector<std::string> readProfileStrings(const std::string& file, const std::string& section,
                                            const std::vector<std::string>& keys) {
  std::vector<std::string> all = lines(file);
  std::vector<std::string> values;
  for (const std::string& key : keys) values.push_back(valueIn(all, section, key, ""));
  return values;
}

namespace {

// Sets the key in the file's lines: in place when it exists, else at the end
// of its section, which is added at the end when missing.
void setKey(std::vector<std::string>& all, const std::string& section, const std::string& key,
            const std::string& value) {
  std::string current, k, v;
  bool inSection = false;
  size_t sectionEnd = std::string::npos;
  for (size_t i = 0; i < all.size(); ++i) {
    if (isSection(all[i], &current)) {
      if (inSection) break;
      inSection = lower(current) == lower(section);
      if (inSection) sectionEnd = i + 1;
    } else if (inSection) {
      if (isKey(all[i], &k, &v) && lower(k) == lower(key)) {
        all[i] = k + "=" + value;
        return;
      }
      if (!trim(all[i]).empty()) sectionEnd = i + 1;
    }
  }
  if (sectionEnd == std::string::npos) {
    all.push_back("[" + section + "]");
    sectionEnd = all.size();
  }
  all.insert(all.begin() + static_cast<long>(sectionEnd), key + "=" + value);
}

}  // namespace

void writeProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value) {
  writeProfileStrings(file, section, {{key, value}});
}

void writeProfileStrings(const std::string& file, const std::string& section,
                         const std::vector<std::pair<std::string, std::string>>& values) {
  try {
    std::vector<std::string> all = lines(file);
    for (const auto& [key, value] : values) setKey(all, section, key, value);
    std::string text;
    for (const std::string& line : all) text += line + "\r\n";
    writeFileReplacing(file, text);
  } catch (const quelta::Error&) {
    throw quelta::Error("EIniFileException", "Unable to write to " + file);
  }
}

}  // namespace platform
