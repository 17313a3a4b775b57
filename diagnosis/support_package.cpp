#include "diagnosis/support_package.h"

#include <cctype>
#include <cstdio>

#include "config/config_file.h"
#include "diagnosis/calendar.h"
#include "platform/files.h"
#include "service/log_viewer.h"
#include "zip/zip_writer.h"

namespace diagnosis {
namespace {

constexpr int kDayLogs = 3;
constexpr int kDaysBack = 31;

std::string printersText(platform::Printers& printers) {
  std::string text;
  for (const platform::SpoolerPrinter& p : printers.spooler()) {
    text += p.name;
    if (!p.shareName.empty()) text += "; compartilhada como " + p.shareName;
    if (p.paused) text += "; pausada";
    if (p.offline) text += "; offline";
    if (p.paperOut) text += "; sem papel";
    if (p.error) text += "; com erro";
    text += "; " + std::to_string(p.jobs) + " na fila\r\n";
  }
  return text.empty() ? "Nenhuma impressora instalada no Windows\r\n" : text;
}

}  // namespace

std::string packageName(const platform::LocalDateTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "diagnostico-%04d%02d%02d-%02d%02d%02d.zip", t.year % 10000,
                t.month % 100, t.day % 100, t.hour % 100, t.minute % 100, t.second % 100);
  return text;
}

namespace {

// The secrets a settings file holds: the cloud's token, the delivery
// platform's password and app ID (section TREVANO), as the profile
// functions match key names, without regard to letter case.
bool secretKey(std::string name) {
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name == "token" || name == "pass" || name == "appid";
}

}  // namespace

std::string maskedSettings(const std::string& text) {
  std::string out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    size_t key = line.find_first_not_of(" \t");
    size_t eq = line.find('=');
    if (key != std::string::npos && eq != std::string::npos) {
      std::string name = line.substr(key, eq - key);
      while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
      if (secretKey(name)) {
        const bool cr = !line.empty() && line.back() == '\r';
        const std::string value = line.substr(eq + 1, line.size() - eq - 1 - (cr ? 1 : 0));
        const bool set = value.find_first_not_of(" \t") != std::string::npos;
        line = line.substr(0, eq + 1) + (set ? "(definida)" : "(n\xe3o definida)") + (cr ? "\r" : "");
      }
    }
    out += line;
    if (end < text.size()) out += '\n';
    start = end + 1;
  }
  return out;
}

std::vector<PackageEntry> packageEntries(const std::string& appDir, const std::string& report,
                                         const platform::Services& services) {
  std::vector<PackageEntry> entries{{"relatorio.txt", report}};
  auto add = [&](const std::string& name, const std::string& path) {
    if (!platform::fileExists(path)) return;
    try {
      entries.push_back({name, platform::readFile(path)});
    } catch (const std::exception& e) {
      entries.push_back({name + ".erro.txt", e.what()});
    }
  };
  for (const char* name :
       {config::kPrinterFile, config::kCategoryFile, config::kProductFile, config::kCardFile})
    add(name, config::appFile(appDir, name));

  const platform::LocalDateTime now = services.clock->now();
  const int64_t today =
      daysFromCivil(now.year, static_cast<unsigned>(now.month), static_cast<unsigned>(now.day));
  int logs = 0;
  for (int back = 0; back < kDaysBack && logs < kDayLogs; ++back) {
    const platform::LocalDateTime day = civilFromDays(today - back);
    const std::string path = service::dayLogPath(appDir, day);
    if (!platform::fileExists(path)) continue;
    add("log/" + platform::isoDateText(day) + ".txt", path);
    ++logs;
  }

  const std::string settings = config::appFile(appDir, config::kSettingsFile);
  if (platform::fileExists(settings)) {
    try {
      entries.push_back({config::kSettingsFile, maskedSettings(platform::readFile(settings))});
    } catch (const std::exception& e) {
      entries.push_back({std::string(config::kSettingsFile) + ".erro.txt", e.what()});
    }
  }
  entries.push_back({"impressoras-windows.txt", printersText(*services.printers)});
  return entries;
}

std::string writeSupportPackage(const std::string& appDir, const std::string& report,
                                const platform::Services& services) {
  zip::ZipWriter archive;
  for (const PackageEntry& entry : packageEntries(appDir, report, services))
    archive.add(entry.name, entry.bytes);
  const std::string name = packageName(services.clock->now());
  const std::string path = config::appFile(appDir, name);
  try {
    platform::writeFileReplacing(path, archive.bytes());
    return path;
  } catch (const quelta::IOError&) {
    // A folder that cannot be written to (the very fault support may be
    // asked about): the person's Documents folder takes the package.
    const std::string documents = platform::documentsDirectory();
    if (documents.empty()) throw;
    const std::string elsewhere = config::appFile(documents, name);
    platform::writeFileReplacing(elsewhere, archive.bytes());
    return elsewhere;
  }
}

}  // namespace diagnosis
