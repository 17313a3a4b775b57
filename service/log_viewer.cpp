#include "service/log_viewer.h"

#include <new>

#include "cloud/disconnect_guard.h"
#include "platform/error.h"
#include "platform/files.h"
#include "print/log_file.h"
#include "routing/config_file.h"

namespace service {

std::string serviceStateCaption(cloud::HttpFetcher& http) {
  cloud::DisconnectGuard disconnect(http);
  try {
    json::TJSONObject reply(http.getText(kStatusUrl));
    return reply.boolOf("success") ? kCaptionOnline : kCaptionOffline;
  } catch (const std::exception&) {
    // No connection, an error status, a reply that is no status: all mean
    // the service is not there to print.
    return kCaptionOffline;
  }
}

std::string dayLogPath(const std::string& appDir, const platform::LocalDateTime& day) {
  // The very file the print service and the test prints write.
  return print::logFileName(appDir, day);
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    char c = text[i];
    if (c != '\r' && c != '\n') continue;
    lines.emplace_back(text, start, i - start);
    if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < n) lines.emplace_back(text, start, n - start);
  return lines;
}

std::optional<std::vector<std::string>> readDayLog(const std::string& appDir,
                                                   const platform::LocalDateTime& day) {
  const std::string path = dayLogPath(appDir, day);
  if (!platform::fileExists(path)) return std::nullopt;
  // readFile shares reading, writing and deleting: the service may hold the
  // file open for its next entry at any moment.
  return splitLines(platform::readFile(path));
}

std::vector<std::string> queueListing(const std::string& appDir, const json::TJSONArray& printers) {
  std::vector<std::string> lines;
  const std::string path = routing::appFile(appDir, kQueueFileName);
  if (!platform::fileExists(path)) return lines;
  json::TJSONObject queue(routing::readConfigFile(path));
  for (int p = 0; p < printers.count(); ++p) {
    const std::string name = printers.objectAt(p).textOf("name");
    if (!queue.contains(name)) continue;
    const json::TJSONArray& jobs = queue.objectOf(name).arrayOf("fila");
    if (jobs.count() <= 0) continue;
    lines.push_back("Fila para: " + name);
    for (int j = 0; j < jobs.count(); ++j) {
      const json::TJSONArray& job = jobs.arrayAt(j);
      for (int l = 0; l < job.count(); ++l) lines.push_back(job.objectAt(l).textOf("text"));
      lines.push_back(kQueueSeparator);
      lines.emplace_back();
    }
  }
  return lines;
}

std::vector<std::string> queueView(const std::string& appDir, const json::TJSONArray& printers) {
  try {
    return queueListing(appDir, printers);
  } catch (const std::exception& e) {
    // What was listed before the error is dropped: half a queue would look
    // like a whole one.
    return {readErrorLine(e)};
  }
}

std::string readErrorLine(const std::exception& error) {
  if (auto* e = dynamic_cast<const quelta::Error*>(&error))
    return kReadErrorPrefix + quelta::describe(*e);
  if (dynamic_cast<const std::bad_alloc*>(&error))
    return std::string(kReadErrorPrefix) + "EOutOfMemory - Out of memory";
  return std::string(kReadErrorPrefix) + "Exception - " + error.what();
}

}  // namespace service
