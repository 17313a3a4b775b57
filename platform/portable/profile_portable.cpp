// A minimal INI reader and writer with the profile functions' rules, so the
// portable core's native tests can read back what they stored.
#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/profile.h"

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

std::vector<std::string> linesToWrite(const std::string& file) {
  try {
    return lines(file);
  } catch (const quelta::Error&) {
    throw quelta::Error("EIniFileException", "Unable to write to " + file);
  }
}

void store(const std::string& file, const std::vector<std::string>& all) {
  std::string text;
  for (const std::string& line : all) text += line + "\r\n";
  try {
    writeFileReplacing(file, text);
  } catch (const quelta::Error&) {
    throw quelta::Error("EIniFileException", "Unable to write to " + file);
  }
}

}  // namespace

std::string readProfileString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& def) {
  std::string current, k, v;
  bool inSection = false;
  for (const std::string& line : lines(file)) {
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

void writeProfileString(const std::string& file, const std::string& section,
                        const std::string& key, const std::string& value) {
  std::vector<std::string> all = linesToWrite(file);
  std::string current, k, v;
  bool inSection = false, done = false;
  size_t sectionEnd = std::string::npos;
  for (size_t i = 0; i < all.size() && !done; ++i) {
    if (isSection(all[i], &current)) {
      if (inSection) break;
      inSection = lower(current) == lower(section);
      if (inSection) sectionEnd = i + 1;
    } else if (inSection) {
      if (isKey(all[i], &k, &v) && lower(k) == lower(key)) {
        all[i] = k + "=" + value;
        done = true;
      } else if (!trim(all[i]).empty()) {
        sectionEnd = i + 1;
      }
    }
  }
  if (!done) {
    if (sectionEnd == std::string::npos) {
      all.push_back("[" + section + "]");
      sectionEnd = all.size();
    }
    all.insert(all.begin() + static_cast<long>(sectionEnd), key + "=" + value);
  }
  store(file, all);
}

void removeProfileKey(const std::string& file, const std::string& section, const std::string& key) {
  std::vector<std::string> all = linesToWrite(file);
  std::string current, k, v;
  size_t header = std::string::npos, keys = 0;
  bool removed = false;
  size_t i = 0;
  for (; i < all.size(); ++i) {
    if (isSection(all[i], &current)) {
      if (header != std::string::npos) break;
      if (lower(current) == lower(section)) header = i;
    } else if (header != std::string::npos && isKey(all[i], &k, &v)) {
      if (lower(k) == lower(key)) {
        all.erase(all.begin() + static_cast<long>(i--));
        removed = true;
      } else {
        ++keys;
      }
    }
  }
  if (header == std::string::npos) return;
  if (keys == 0)
    all.erase(all.begin() + static_cast<long>(header), all.begin() + static_cast<long>(i));
  if (removed || keys == 0) store(file, all);
}

}  // namespace platform
