// What the Windows tests need of the host around them: host paths as Wine
// shows them, running a program to its end, reading a file that may not be
// there, and today's date as the day log names it.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/error.h"
#include "platform/files.h"

namespace wine_host {

// A host path as Wine's drive Z: shows it.
inline std::string windowsPath(const std::string& hostPath) {
  std::string path = "Z:" + hostPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// Runs a command line without a window and waits (a minute at most); its
// exit code, or -1 when it could not be started. With `shareOutput` its
// output goes where this program's goes.
inline int runAndWait(const std::string& commandLine, bool shareOutput = false) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (shareOutput) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  }
  PROCESS_INFORMATION process{};
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, shareOutput, CREATE_NO_WINDOW,
                      nullptr, nullptr, &startup, &process))
    return -1;
  WaitForSingleObject(process.hProcess, 60000);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

// The file's bytes, or `missing` when it cannot be read.
inline std::string readOr(const std::string& path, const std::string& missing = "") {
  try {
    return platform::readFile(path);
  } catch (const quelta::Error&) {
    return missing;
  }
}

// Today's local date as "yyyy-mm-dd".
inline std::string today() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char text[16];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u", t.wYear, t.wMonth, t.wDay);
  return text;
}

}  // namespace wine_host
