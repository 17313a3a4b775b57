// What the log screen shows: whether the print service answers, the day's
// log file and the jobs waiting in the service's queue file, one printer of
// the printer table after the other. The three are worked out separately,
// so a failure of one never keeps the others from showing.
#pragma once

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "cloud/http_fetcher.h"
#include "json/json.h"
#include "platform/clock.h"

namespace service {

inline constexpr char kStatusUrl[] = "http://127.0.0.1:7777?status";
inline constexpr char kCaptionOnline[] = "Log do servidor (Online)";
inline constexpr char kCaptionOffline[] = "Log do servidor (Offline)";
inline constexpr char kQueueFileName[] = "fila";
inline constexpr char kQueueSeparator[] = "---------------------------------------";
inline constexpr char kReadErrorPrefix[] = "Erro ao ler log: ";

// Asks the service's endpoint for its status: "(Online)" only for a JSON
// object whose "success" is true; anything else, a failed request
// included, is "(Offline)". The client is disconnected afterwards.
std::string serviceStateCaption(cloud::HttpFetcher& http);

// The day's log file: application directory, "log", "yyyy-mm-dd.txt".
std::string dayLogPath(const std::string& appDir, const platform::LocalDateTime& day);

// Text split into lines at CR LF, lone CR or lone LF; a line end at the very
// end opens no further line.
std::vector<std::string> splitLines(const std::string& text);

// The lines of the day's log, or nothing when there is no file for the day
// yet (the view then keeps what it showed). The file is read while the
// service may be writing it. Raises the read error.
std::optional<std::vector<std::string>> readDayLog(const std::string& appDir,
                                                   const platform::LocalDateTime& day);

// The queue listing for the printers of the table, in table order: for
// each printer with waiting jobs "Fila para: <name>", then each job's line
// texts, each job followed by the 39-hyphen separator and an empty line.
// Empty when there is no queue file. Raises the read or JSON error.
std::vector<std::string> queueListing(const std::string& appDir, const json::TJSONArray& printers);

// As queueListing, but an error gives its single error line instead.
std::vector<std::string> queueView(const std::string& appDir, const json::TJSONArray& printers);

// "Erro ao ler log: <class name> - <message>".
std::string readErrorLine(const std::exception& error);

}  // namespace service
