// window_probe TOOL APPDIR [SECONDS] [INTERVAL_MS] [MODE]: starts the tool in its
// application directory, waits for its main window, then sends the window a
// message every INTERVAL_MS (50) for SECONDS (30) and reports the worst
// response and how long the window kept the sender waiting. Run under Wine
// by scripts/hang-probe.sh, with the other side hung. MODE:
//   servico      (default) the start-up ends first; the print service hangs
//   diagnostico  presses "Diagnóstico" and probes the diagnosis window while
//                its checks wait on that service
//   inicio       probes from the moment the window shows: the start-up's
//                version check waits on the download host
//   acessar      types the demo account and presses "Acessar": the login
//                waits on the cloud
//   download     answers "Yes" to the update's question: the download waits
//   teste        "Testar" through the print service for the first printer:
//                the test print waits on the hung service
//   configuracao "Testar" through the configuration for the first printer:
//                the ticket goes to its share, then the pause after the job
//   atualizar    "Atualizar" of the configuration screen: the categories wait
//                on the cloud
//   salvar       "Salvar" of the configuration screen while the probe holds
//                the category table open: each write is retried
//   reiniciar    "Reiniciar Servidor": the stop of the print service is
//                waited for
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

struct Child {
  const char* text;  // a caption, or a class when looking for the n-th one
  int nth = 0;
  HWND found = nullptr;
};

BOOL CALLBACK findChild(HWND hwnd, LPARAM lp) {
  auto* child = reinterpret_cast<Child*>(lp);
  char text[64], name[64];
  // A caption names the control the person sees (hidden panels repeat some).
  if (IsWindowVisible(hwnd) && GetWindowTextA(hwnd, text, sizeof text) &&
      lstrcmpA(text, child->text) == 0) {
    child->found = hwnd;
    return FALSE;
  }
  if (GetClassNameA(hwnd, name, sizeof name) && lstrcmpiA(name, child->text) == 0 &&
      child->nth-- == 0) {
    child->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND childOf(HWND window, const char* text, int nth = 0) {
  Child child{text, nth};
  EnumChildWindows(window, findChild, reinterpret_cast<LPARAM>(&child));
  return child.found;
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

// The visible window of a class of the process, once it shows; null when it
// has not within `seconds`.
HWND waitForWindow(DWORD pid, const char* className, int seconds) {
  Found found{pid, nullptr, className};
  EnumWindows(findMainWindow, reinterpret_cast<LPARAM>(&found));
  for (int i = 0; i < seconds * 20 && !found.window; ++i) {
    Sleep(50);
    EnumWindows(findMainWindow, reinterpret_cast<LPARAM>(&found));
  }
  return found.window;
}

// A click on a button as its window gets it, sent so it has been handled.
void press(HWND window, const char* caption) {
  if (HWND button = childOf(window, caption)) SendMessageA(button, BM_CLICK, 0, 0);
}

// The configuration's test box, "Testar" pressed with the kind of test `via`
// (0 the configuration, 1 the print service) for the first printer. Posted:
// the test waits, and the probe meets the window meanwhile.
void testPrint(HWND window, int via) {
  press(window, "Configura\xe7\xf5" "es");
  press(window, "Testar Imp.");
  HWND test = childOf(window, "Testar");
  // The test box's second drop-down list is the kind of test.
  if (HWND kind = test ? childOf(GetParent(test), "ComboBox", 1) : nullptr) {
    SendMessageA(kind, CB_SETCURSEL, via, 0);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(kind), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(kind));
  }
  if (test) PostMessageA(test, BM_CLICK, 0, 0);
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
    std::fprintf(stderr, "usage: window_probe TOOL APPDIR [SECONDS] [INTERVAL_MS] [MODE]\n");
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
  Found found{tool.dwProcessId, waitForWindow(tool.dwProcessId, "TForm1", 60)};
  int status = 0;
  if (!found.window) {
    std::fprintf(stderr, "the tool's window did not appear\n");
    status = 1;
  } else {
    const char* mode = argc > 5 ? argv[5] : "servico";
    DWORD_PTR result = 0;
    if (lstrcmpA(mode, "inicio") != 0) {
      // The start-up's own refresh and version check end first.
      SendMessageTimeoutA(found.window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
      Sleep(1000);
    }
    if (lstrcmpA(mode, "diagnostico") == 0) {
      // Posted: the click opens a modal window, whose loop the probe then meets.
      if (HWND button = childOf(found.window, "Diagn\xf3stico")) PostMessageA(button, BM_CLICK, 0, 0);
      if (HWND diagnosis = waitForWindow(tool.dwProcessId, "TFormDiagnostico", 2)) {
        std::printf("probing the diagnosis window while its checks run\n");
        found.window = diagnosis;
      } else {
        std::fprintf(stderr, "the diagnosis window did not appear\n");
        status = 1;
      }
    } else if (lstrcmpA(mode, "acessar") == 0) {
      SendMessageA(childOf(found.window, "Edit", 0), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>("demo@quelta.com.br"));
      SendMessageA(childOf(found.window, "Edit", 1), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>("quelta123"));
      if (HWND button = childOf(found.window, "Acessar")) PostMessageA(button, BM_CLICK, 0, 0);
      std::printf("probing the window while the login waits on the cloud\n");
    } else if (lstrcmpA(mode, "teste") == 0) {
      testPrint(found.window, 1);
      std::printf("probing the window while the test print waits on the print service\n");
    } else if (lstrcmpA(mode, "configuracao") == 0) {
      testPrint(found.window, 0);
      std::printf("probing the window while the test print goes to the share and pauses\n");
    } else if (lstrcmpA(mode, "atualizar") == 0) {
      press(found.window, "Configura\xe7\xf5" "es");
      if (HWND button = childOf(found.window, "Atualizar")) PostMessageA(button, BM_CLICK, 0, 0);
      std::printf("probing the window while the categories wait on the cloud\n");
    } else if (lstrcmpA(mode, "reiniciar") == 0) {
      press(found.window, "Configura\xe7\xf5" "es");
      if (HWND button = childOf(found.window, "Reiniciar Servidor"))
        PostMessageA(button, BM_CLICK, 0, 0);
      std::printf("probing the window while the print service restarts\n");
    } else if (lstrcmpA(mode, "salvar") == 0) {
      char table[MAX_PATH];
      std::snprintf(table, sizeof table, "%s\\categoria", argv[2]);
      // Held open, shared with nobody, for the whole probe.
      CreateFileA(table, GENERIC_READ, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
      press(found.window, "Configura\xe7\xf5" "es");
      if (HWND button = childOf(found.window, "Salvar")) PostMessageA(button, BM_CLICK, 0, 0);
      std::printf("probing the window while the tables wait on a file held open\n");
    } else if (lstrcmpA(mode, "download") == 0) {
      // The question comes once the manifest has been read.
      if (HWND question = waitForWindow(tool.dwProcessId, "#32770", 30)) {
        PostMessageA(question, WM_COMMAND, IDYES, 0);
        // Under Wine on a display without a window manager, closing a
        // dialog holds its thread for 2 s (Wine waits for a manager to
        // confirm it is gone): the probe begins once that is over.
        while (IsWindow(question)) Sleep(20);
        Sleep(2500);
        std::printf("probing the window while the update's download waits\n");
      } else {
        std::fprintf(stderr, "the update's question did not appear\n");
        status = 1;
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
      DWORD_PTR result = 0;
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
    // A box the tool shows at the end (the operation's message or error).
    if (HWND box = waitForWindow(tool.dwProcessId, "#32770", 0)) {
      char text[256] = "";
      if (HWND label = childOf(box, "Static", 1)) GetWindowTextA(label, text, sizeof text);
      std::printf("a box is open: %s\n", text);
    }
    // What the window was waiting for at the end, as its progress box says.
    if (HWND box = waitForWindow(tool.dwProcessId, "TFormProgresso", 0)) {
      char text[128] = "";
      if (HWND label = childOf(box, "Static", 0)) GetWindowTextA(label, text, sizeof text);
      std::printf("the progress box is open: %s\n", text);
    }
  }
  PostMessageA(found.window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(tool.hProcess, 15000) == WAIT_TIMEOUT) TerminateProcess(tool.hProcess, 1);
  CloseHandle(tool.hProcess);
  CloseHandle(tool.hThread);
  return status;
}
