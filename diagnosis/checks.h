// The checks of the diagnosis, each a small function over the platform
// services and the application directory's files, so the services' twins
// drive them in tests. None prints, none changes a file the print service
// reads, none writes to the day log. A check that waits on the network or on
// the print service gives up within its own time limit, or at once when
// `stop` is requested.
#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "cloud/endpoints.h"
#include "diagnosis/check_line.h"
#include "net/http_fetcher.h"
#include "platform/services.h"
#include "update/update.h"

namespace diagnosis {

// What every check may look at; copied into each job, so a check shares
// nothing with the window.
struct Setup {
  std::string appDir;
  platform::Services services;
  cloud::ApiEndpoints api;
  update::UpdateSource updates = update::UpdateSource::none();
};

// The limits of the checks' requests: the whole run ends within 5 s even
// when a server accepts and never answers.
inline constexpr net::Timeouts kStatusLimits{1500, 2, 2500};
inline constexpr net::Timeouts kCloudLimits{2500, 3, 4000};

// Thresholds: the free space of the application directory's disk, the age
// of the oldest order or print job, the clock against the cloud's.
inline constexpr uint64_t kLowDiskBytes = 100ull * 1024 * 1024;
inline constexpr int64_t kStuckQueueSeconds = 2 * 60;
inline constexpr int64_t kClockSkewSeconds = 5 * 60;

CheckLines checkPrintService(const Setup& setup, std::stop_token stop);
// Each printer of the table: its Windows printer's state, or the Epson
// library; a printer reachable over the network is asked for its own
// state (printer_status.h), every one at once within kPrinterStatusLimits.
CheckLines checkPrinters(const Setup& setup, std::stop_token stop);
CheckLines checkRouting(const Setup& setup);
CheckLines checkFiles(const Setup& setup);
CheckLines checkCloud(const Setup& setup, std::stop_token stop);
CheckLines checkQueue(const Setup& setup);
// This tool's version and, when the build names a download host, the one
// published there (as its manifest says; the update itself checks the
// publisher's signature).
CheckLines checkVersion(const Setup& setup, std::stop_token stop);

struct Check {
  const char* name;  // shown while it runs
  std::function<CheckLines(const Setup&, std::stop_token)> run;
};

// Every check, in the order the list shows them.
const std::vector<Check>& allChecks();

// A check that raised, as its line (the check's own words, the error's).
CheckLine failedCheck(const std::string& name, const std::exception& error);

// Seconds since 1970 UTC of an HTTP date ("Sun, 06 Nov 1994 08:49:37 GMT");
// false when the text is not one.
bool parseHttpDate(const std::string& text, int64_t& utcSeconds);

// The free-space line for `bytes` free in `directory`.
CheckLine diskSpaceLine(const std::string& directory, uint64_t bytes);

}  // namespace diagnosis
