// The daily log of the application directory: log\yyyy-mm-dd.txt, one line
// per entry, "time : message", shared with the print service.
#pragma once

#include <string>

#include "platform/clock.h"

namespace print {

// Adds one entry at the end of today's file, creating the log directory and
// the file when missing. A failure to read the file's end is recorded as
// the entry's failure line instead; a failure to write passes to the caller.
void saveLog(const std::string& directory, const std::string& message,
             const platform::Clock& clock = platform::systemClock());

// The file that saveLog writes for the given day.
std::string logFileName(const std::string& directory, const platform::LocalDateTime& day);

}  // namespace print
