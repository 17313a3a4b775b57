// window_probe TOOL APPDIR [SECONDS] [INTERVAL_MS] [diagnostico]: starts the tool in its
// application directory, waits for its main window and the end of its
// start-up, then sends the window a message every INTERVAL_MS (50) for
// SECONDS (30) and reports the worst response and how long the window kept
// the sender waiting. Run under Wine by scripts/hang-probe.sh, with a print
// service that never answers. With "diagnostico" it presses the log
// screen's "Diagnóstico" first and probes the diagnosis window while its
// checks wait on that service.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

struct Found {
  DWORD pid;
  HWND window;
  const char* className = "TForm1";
};

BOOL CALLBACK findButton(HWND hwnd, LPARAM lp) {
  char text[64];
  if (GetWindowTextA(hwnd, text, sizeof text) && lstrcmpA(text, "Diagn\xf3stico") == 0) {
    *reinterpret_cast<HWND*>(lp) = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK findMainWindow(HWND hwnd, LPARAM lp) {
  auto* found = reinterpret_cast<Found*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char name[64];
  if (pid == found->pid && GetClassNameA(hwnd, name, sizeof name) &&
      lstrcmpA(name, found->className) == 0 && IsWindowVisible(hwnd)) {
    found->window = hwnd;
    return FALSE;
  }
  return TRUE;
}

double millisecondsSince(const LARGE_INTEGER& start, const LARGE_INTEGER& frequency) {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: window_probe TOOL APPDIR [SECONDS] [INTERVAL_MS] [diagnostico]\n");
    return 2;
  }
  const double seconds = argc > 3 ? std::atof(argv[3]) : 30;
  const DWORD interval = argc > 4 ? static_cast<DWORD>(std::atoi(argv[4])) : 50;

  char commandLine[1024];
  std::snprintf(commandLine, sizeof commandLine, "\"%s\"", argv[1]);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION tool{};
  if (!CreateProcessA(argv[1], commandLine, nullptr, nullptr, FALSE, 0, nullptr, argv[2], &startup,
                      &tool)) {
    std::fprintf(stderr, "cannot start %s (%lu)\n", argv[1], GetLastError());
    return 1;
  }
  Found found{tool.dwProcessId, nullptr};
  for (int i = 0; i < 600 && !found.window; ++i) {
    Sleep(100);
    EnumWindows(findMainWindow, reinterpret_cast<LPARAM>(&found));
  }
  int status = 0;
  if (!found.window) {
    std::fprintf(stderr, "the tool's window did not appear\n");
    status = 1;
  } else {
    // The start-up's own refresh and version check end first.
    DWORD_PTR result = 0;
    SendMessageTimeoutA(found.window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
    Sleep(1000);
    if (argc > 5 && lstrcmpA(argv[5], "diagnostico") == 0) {
      HWND button = nullptr;
      EnumChildWindows(found.window, findButton, reinterpret_cast<LPARAM>(&button));
      // Posted: the click opens a modal window, whose loop the probe then meets.
      if (button) PostMessageA(button, BM_CLICK, 0, 0);
      Found diagnosis{tool.dwProcessId, nullptr, "TFormDiagnostico"};
      for (int i = 0; i < 100 && !diagnosis.window; ++i) {
        Sleep(20);
        EnumWindows(findMainWindow, reinterpret_cast<LPARAM>(&diagnosis));
      }
      if (!diagnosis.window) {
        std::fprintf(stderr, "the diagnosis window did not appear\n");
        status = 1;
      } else {
        std::printf("probing the diagnosis window while its checks run\n");
        found.window = diagnosis.window;
      }
    }

    LARGE_INTEGER frequency, begin;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    double worst = 0, waited = 0;
    int probes = 0, slow = 0;
    while (millisecondsSince(begin, frequency) < seconds * 1000) {
      LARGE_INTEGER sent;
      QueryPerformanceCounter(&sent);
      if (!SendMessageTimeoutA(found.window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result)) {
        std::fprintf(stderr, "the window is gone\n");
        status = 1;
        break;
      }
      const double took = millisecondsSince(sent, frequency);
      worst = std::max(worst, took);
      if (took > 100) waited += took, ++slow;
      ++probes;
      Sleep(interval);
    }
    std::printf(
        "%d probes over %.0f s: worst response %.0f ms; %d responses over 100 ms, %.1f s "
        "waited on them\n",
        probes, seconds, worst, slow, waited / 1000);
  }
  PostMessageA(found.window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(tool.hProcess, 15000) == WAIT_TIMEOUT) TerminateProcess(tool.hProcess, 1);
  CloseHandle(tool.hProcess);
  CloseHandle(tool.hThread);
  return status;
}
