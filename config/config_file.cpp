#include "config/config_file.h"

#include "platform/files.h"

namespace config {

std::string appFile(const std::string& appDir, const std::string& name) {
#ifdef _WIN32
  return appDir + "\\" + name;
#else
  return appDir + "/" + name;
#endif
}

std::string firstLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    if (c == '\n' || c == '\x1a') break;
    if (c != '\r') line += c;
  }
  return line;
}

std::string readConfigFile(const std::string& path) { return firstLine(platform::readFile(path)); }

std::unique_ptr<json::TJSONArray> readTableFile(const std::string& path) {
  if (!platform::fileExists(path)) return std::make_unique<json::TJSONArray>();
  return std::make_unique<json::TJSONArray>(readConfigFile(path));
}

std::unique_ptr<json::TJSONArray> readOptionalTableFile(const std::string& path) {
  if (!platform::fileExists(path)) return nullptr;
  return std::make_unique<json::TJSONArray>(readConfigFile(path));
}

void writeTableFile(const std::string& path, const json::TJSONArray& table) {
  platform::writeFileReplacing(path, table.asText());
}

}  // namespace config
