#include "service/log_viewer.h"

#include <new>

#include "config/config_file.h"
#include "net/disconnect_guard.h"
#include "platform/error.h"
#include "platform/files.h"
#include "print/log_file.h"

namespace service {

std::string serviceStateCaption(net::HttpFetcher& http) {
  net::DisconnectGuard disconnect(http);
  try {
    json::TJSONObject reply(http.getText(kStatusUrl, kServiceTimeouts));
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

std::string logViewText(std::string text) {
  // Lone CRs and LFs become CR LF, so the text can only grow: it is built
  // once, at its final size.
  size_t grown = 0;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n')
      ++i;
    else if (text[i] == '\r' || text[i] == '\n')
      ++grown;
  }
  if (grown == 0) {
    for (char& c : text)
      if (c == '\0') c = ' ';
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
      text.resize(text.size() - 2);
    return text;
  }
  std::string shown;
  shown.reserve(n + grown);
  for (size_t i = 0; i < n; ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
      if (i + 1 < n) shown += "\r\n";
    } else {
      shown += c == '\0' ? ' ' : c;
    }
  }
  return shown;
}

std::optional<std::string> readDayLogView(const std::string& appDir,
                                          const platform::LocalDateTime& day, size_t limit) {
  const std::string path = dayLogPath(appDir, day);
  if (!platform::fileExists(path)) return std::nullopt;
  // readFileEnd shares reading, writing and deleting: the service may hold
  // the file open for its next entry at any moment. One byte more than the
  // limit tells whether the part read begins at a line start.
  std::string text = platform::readFileEnd(path, limit + 1);
  if (text.size() > limit) {
    size_t end = text.find_first_of("\r\n");
    if (end == std::string::npos) {
      text.erase(0, 1);
    } else {
      if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
      text.erase(0, end + 1);
    }
  }
  return logViewText(std::move(text));
}

std::vector<std::string> queueListing(const std::string& appDir, const json::TJSONArray& printers) {
  std::vector<std::string> lines;
  const std::string path = config::appFile(appDir, kQueueFileName);
  if (!platform::fileExists(path)) return lines;
  json::TJSONObject queue(config::readConfigFile(path));
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

LogScreen readLogScreen(net::HttpFetcher& http, const std::string& appDir,
                        const platform::LocalDateTime& day, const json::TJSONArray& printers) {
  LogScreen screen;
  screen.caption = serviceStateCaption(http);
  try {
    screen.log = readDayLogView(appDir, day);
  } catch (const std::exception& e) {
    screen.log = readErrorLine(e);
  }
  screen.queue = queueView(appDir, printers);
  return screen;
}

std::string readErrorLine(const std::exception& error) {
  if (auto* e = dynamic_cast<const quelta::Error*>(&error))
    return kReadErrorPrefix + quelta::describe(*e);
  if (dynamic_cast<const std::bad_alloc*>(&error))
    return std::string(kReadErrorPrefix) + "EOutOfMemory - Out of memory";
  return std::string(kReadErrorPrefix) + "Exception - " + error.what();
}

}  // namespace service
