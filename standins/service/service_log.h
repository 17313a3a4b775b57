// The print service's entries in the daily log that the tool's log screen
// shows: "log\yyyy-mm-dd.txt" in the application directory, one line per
// entry, "time : message" ended by CR LF. Each entry is appended and the
// file closed again at once, so the tool can read it between entries.
#pragma once

#include <string>

namespace standin {

void writeServiceLog(const std::string& applicationDirectory, const std::string& message);

}  // namespace standin
