#include "standins/service/service_log.h"

#include <windows.h>

#include <cstdio>
#include <mutex>

#include "platform/error.h"
#include "platform/files.h"

namespace standin {

void writeServiceLog(const std::string& applicationDirectory, const std::string& message) {
  static std::mutex mutex;
  std::lock_guard<std::mutex> lock(mutex);
  SYSTEMTIME now;
  GetLocalTime(&now);
  char date[16];
  std::snprintf(date, sizeof date, "%04u-%02u-%02u", now.wYear % 10000u, now.wMonth % 100u,
                now.wDay % 100u);
  // The user's long time format, as the tool writes its own entries.
  char time[64];
  if (GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &now, nullptr, time, sizeof time) == 0)
    std::snprintf(time, sizeof time, "%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);
  const std::string directory = applicationDirectory + "\\log";
  if (!platform::directoryExists(directory)) platform::createDirectory(directory);
  try {
    platform::appendToFile(directory + "\\" + date + ".txt",
                           std::string(time) + " : " + message + "\r\n");
  } catch (const quelta::Error&) {
    // Nowhere left to report it: the service never shows anything.
  }
}

}  // namespace standin
