// What the Windows tests need of the host around them: host paths as Wine
// shows them, running a program to its end, reading a file that may not be
// there, and the day logs a program wrote.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/files.h"

namespace wine_host {

// A host path as Wine's drive Z: shows it, in the ANSI code page the
// program's calls take: the host spells names in UTF-8, so a checkout
// below a folder with accents in its name is still found.
inline std::string windowsPath(const std::string& hostPath) {
  std::string path = "Z:" + hostPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(),
                                 static_cast<int>(path.size()), nullptr, 0);
  if (wide <= 0) return path;  // not UTF-8: taken as it is
  std::wstring text(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), text.data(), wide);
  int ansi = WideCharToMultiByte(CP_ACP, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string converted(static_cast<size_t>(ansi), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), wide, converted.data(), ansi, nullptr, nullptr);
  return converted;
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

// The process of the service `name` while it runs, 0 otherwise; and, when
// `program` is given, the command line its registration names.
inline DWORD runningServicePid(const std::string& name, std::string* program = nullptr) {
  DWORD pid = 0;
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) return 0;
  SC_HANDLE svc = OpenServiceA(manager, name.c_str(), SERVICE_QUERY_STATUS | SERVICE_QUERY_CONFIG);
  if (svc) {
    SERVICE_STATUS_PROCESS status{};
    DWORD needed = 0;
    if (QueryServiceStatusEx(svc, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                             sizeof status, &needed) &&
        status.dwCurrentState == SERVICE_RUNNING)
      pid = status.dwProcessId;
    std::vector<BYTE> buffer(8192);
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
    if (program && QueryServiceConfigA(svc, config, static_cast<DWORD>(buffer.size()), &needed))
      *program = config->lpBinaryPathName;
    CloseServiceHandle(svc);
  }
  CloseServiceHandle(manager);
  return pid;
}

// The file's bytes, or `missing` when it cannot be read.
inline std::string readOr(const std::string& path, const std::string& missing = "") {
  try {
    return platform::readFile(path);
  } catch (const quelta::Error&) {
    return missing;
  }
}

// Every day log in `appDir`\log, oldest first: a service that runs across
// midnight writes into two, and the day the code under test used is the
// name of the file it wrote. Empty when there is none.
inline std::string dayLogs(const std::string& appDir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((appDir + "\\log\\*.txt").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return "";
  do {
    names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());  // yyyy-mm-dd.txt
  std::string text;
  for (const std::string& name : names) text += readOr(appDir + "\\log\\" + name);
  return text;
}

}  // namespace wine_host
