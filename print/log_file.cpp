#include "print/log_file.h"

#include <fstream>

#include "platform/error.h"
#include "platform/files.h"

namespace print {
namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';  // the portable build runs its tests on POSIX paths
#endif

std::string logDirectory(const std::string& directory) { return directory + kSeparator + "log"; }

// Whether the file ends inside a line (its last byte is no line end). Only
// the last byte is read, so an entry costs the same however long the day's
// log has grown.
bool endsInsideLine(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) throw quelta::IOError("Cannot open file \"" + path + "\"");
  std::streamoff size = in.tellg();
  if (size <= 0) return false;
  in.seekg(size - 1);
  char last = 0;
  if (!in.get(last)) throw quelta::IOError("Cannot read file \"" + path + "\"");
  return last != '\n' && last != '\r';
}

}  // namespace

std::string logFileName(const std::string& directory, const platform::LocalDateTime& day) {
  return logDirectory(directory) + kSeparator + platform::isoDateText(day) + ".txt";
}

// The entry is appended, never merged into a rewritten copy of the file:
// the lines already there (also those the print service writes meanwhile)
// can never be lost, not even when the file cannot be read.
void saveLog(const std::string& directory, const std::string& message,
             const platform::Clock& clock) {
  std::string dir = logDirectory(directory);
  if (!platform::directoryExists(dir)) platform::createDirectory(dir);

  // One reading of the clock names the file and stamps the line, so an
  // entry made at midnight lands in the file of the day its time shows.
  platform::LocalDateTime now = clock.now();
  std::string path = logFileName(directory, now);
  std::string time = clock.longTimeText(now);

  std::string text;
  try {
    if (platform::fileExists(path) && endsInsideLine(path)) text = "\r\n";
    text += time + " : " + message + "\r\n";
  } catch (const quelta::Error& e) {
    text = time + " : Erro " + e.message() + "\r\n";
  }
  platform::appendToFile(path, text);
}

}  // namespace print
