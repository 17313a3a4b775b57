// What the log screen shows: whether the print service answers, the day's
// log file and the jobs waiting in the service's queue file, one printer of
// the printer table after the other. The three are worked out separately,
// so a failure of one never keeps the others from showing.
#pragma once

#include <cstddef>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "json/json.h"
#include "net/http_fetcher.h"
#include "platform/clock.h"
#include "service/service_endpoint.h"

namespace service {

inline constexpr char kCaptionOnline[] = "Log do servidor (Online)";
inline constexpr char kCaptionOffline[] = "Log do servidor (Offline)";
inline constexpr char kQueueFileName[] = "fila";
inline constexpr char kQueueSeparator[] = "---------------------------------------";
inline constexpr char kReadErrorPrefix[] = "Erro ao ler log: ";

// Asks the service's endpoint for its status: "(Online)" only for a JSON
// object whose "success" is true; anything else, a failed request
// included, is "(Offline)". The client is disconnected afterwards.
std::string serviceStateCaption(net::HttpFetcher& http);

// The day's log file: application directory, "log", "yyyy-mm-dd.txt".
std::string dayLogPath(const std::string& appDir, const platform::LocalDateTime& day);

// The log view shows at most this much of the day's log, its end: a busy
// day writes a few hundred KB, and a view of hundreds of MB would hold the
// window for seconds and may not fit in memory at all.
inline constexpr size_t kDayLogViewLimit = 2 * 1024 * 1024;

// Log text as the view shows it: lines ended by CR LF, lone CR or lone LF,
// joined by CR LF (a line end at the very end opens no further line), and
// a NUL, which would end the window's text, as a blank. The text is
// consumed.
std::string logViewText(std::string text);

// The day's log as the view shows it (logViewText), or nothing when there
// is no file for the day yet (the view then keeps what it showed). Of a log
// longer than `limit` only the end is read, from the first line that begins
// within it. The file is read while the service may be writing it. Raises
// the read error.
std::optional<std::string> readDayLogView(const std::string& appDir,
                                          const platform::LocalDateTime& day,
                                          size_t limit = kDayLogViewLimit);

// The queue listing for the printers of the table, in table order: for
// each printer with waiting jobs "Fila para: <name>", then each job's line
// texts, each job followed by the 39-hyphen separator and an empty line.
// Empty when there is no queue file. Raises the read or JSON error.
std::vector<std::string> queueListing(const std::string& appDir, const json::TJSONArray& printers);

// As queueListing, but an error gives its single error line instead.
std::vector<std::string> queueView(const std::string& appDir, const json::TJSONArray& printers);

// "Erro ao ler log: <class name> - <message>".
std::string readErrorLine(const std::exception& error);

// What one refresh of the log screen shows: the caption, the text of the
// log view (nothing: the view keeps what it shows; a read error gives its
// error line) and the queue listing.
struct LogScreen {
  std::string caption;
  std::optional<std::string> log;
  std::vector<std::string> queue;
};

// The three steps of a refresh, in order, each standing alone.
LogScreen readLogScreen(net::HttpFetcher& http, const std::string& appDir,
                        const platform::LocalDateTime& day, const json::TJSONArray& printers);

}  // namespace service
