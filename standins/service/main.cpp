// queltaService.exe, the stand-in for the print service: a real Windows
// service that does what the tool relies on.
//
//   queltaService.exe /INSTALL /SILENT    register the service, then exit
//   queltaService.exe /UNINSTALL /SILENT  stop and remove it, then exit
//   (started by the service control manager)  serve until stopped
//
// The application directory is the directory of this program. Nothing is
// ever shown: errors go to the daily log.
#include <windows.h>

#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "platform/files.h"
#include "standins/service/http_endpoint.h"
#include "standins/service/print_service.h"
#include "standins/service/service_install.h"
#include "standins/service/service_log.h"

namespace {

// Stopping takes three steps, each reported with the next checkpoint and
// this wait hint, and each lasting at least that long, so the tool's wait
// sees a service that stops the way real ones do.
constexpr DWORD kStopStepMs = 200;
constexpr DWORD kTableCheckEveryMs = 1000;
constexpr DWORD kFlushEveryMs = 200;

std::string g_programPath;
std::string g_directory;
SERVICE_STATUS_HANDLE g_statusHandle = nullptr;
std::mutex g_statusMutex;
DWORD g_state = SERVICE_STOPPED;
HANDLE g_stopEvent = nullptr;

void report(DWORD state, DWORD checkpoint, DWORD waitHint) {
  std::lock_guard<std::mutex> lock(g_statusMutex);
  SERVICE_STATUS status{};
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = state;
  status.dwControlsAccepted =
      state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
  status.dwWin32ExitCode = NO_ERROR;
  status.dwCheckPoint = checkpoint;
  status.dwWaitHint = waitHint;
  g_state = state;
  SetServiceStatus(g_statusHandle, &status);
}

DWORD WINAPI control(DWORD code, DWORD, LPVOID, LPVOID) {
  switch (code) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN: {
      {
        std::lock_guard<std::mutex> lock(g_statusMutex);
        if (g_state != SERVICE_RUNNING) return NO_ERROR;
      }
      report(SERVICE_STOP_PENDING, 1, kStopStepMs);
      SetEvent(g_stopEvent);
      return NO_ERROR;
    }
    case SERVICE_CONTROL_INTERROGATE:
      return NO_ERROR;
    default:
      return ERROR_CALL_NOT_IMPLEMENTED;
  }
}

// Pads a stop step to its announced length.
void finishStep(ULONGLONG startedAt) {
  ULONGLONG spent = GetTickCount64() - startedAt;
  if (spent < kStopStepMs) Sleep(static_cast<DWORD>(kStopStepMs - spent));
}

void WINAPI serviceMain(DWORD, LPSTR*) {
  g_statusHandle = RegisterServiceCtrlHandlerExA(standin::kServiceName, control, nullptr);
  if (!g_statusHandle) {
    standin::writeServiceLog(g_directory, "Erro ao registrar o controle do servico (codigo " +
                                              std::to_string(GetLastError()) + ")");
    return;
  }
  g_stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  report(SERVICE_START_PENDING, 1, 3000);
  {
    standin::PrintService service(g_directory);
    service.start();
    standin::HttpEndpoint endpoint(service, g_directory);
    endpoint.start();
    // Queue writes and the look at "reload" happen here, off the request
    // threads.
    std::thread housekeeping([&service] {
      DWORD sinceCheck = 0;
      while (WaitForSingleObject(g_stopEvent, kFlushEveryMs) == WAIT_TIMEOUT) {
        service.flush();
        sinceCheck += kFlushEveryMs;
        if (sinceCheck >= kTableCheckEveryMs) {
          service.reloadIfAsked();
          sinceCheck = 0;
        }
      }
    });
    report(SERVICE_RUNNING, 0, 0);
    standin::writeServiceLog(g_directory, "Servico iniciado");

    WaitForSingleObject(g_stopEvent, INFINITE);
    ULONGLONG step = GetTickCount64();
    endpoint.stop();
    finishStep(step);

    report(SERVICE_STOP_PENDING, 2, kStopStepMs);
    step = GetTickCount64();
    housekeeping.join();
    service.flush();
    finishStep(step);

    report(SERVICE_STOP_PENDING, 3, kStopStepMs);
    step = GetTickCount64();
    standin::writeServiceLog(g_directory, "Servico parado (" +
                                              std::to_string(service.ordersReceived()) +
                                              " pedidos recebidos no total)");
    finishStep(step);
  }
  CloseHandle(g_stopEvent);
  report(SERVICE_STOPPED, 0, 0);
}

bool hasSwitch(int argc, char** argv, const char* name) {
  for (int i = 1; i < argc; ++i)
    if (lstrcmpiA(argv[i], name) == 0) return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  char path[MAX_PATH * 2];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  g_programPath.assign(path, n);
  g_directory = platform::directoryOf(g_programPath);

  if (hasSwitch(argc, argv, "/INSTALL")) return standin::installService(g_programPath);
  if (hasSwitch(argc, argv, "/UNINSTALL")) return standin::uninstallService(g_programPath);

  char name[64];
  lstrcpynA(name, standin::kServiceName, sizeof name);
  SERVICE_TABLE_ENTRYA table[] = {{name, serviceMain}, {nullptr, nullptr}};
  if (!StartServiceCtrlDispatcherA(table)) {
    standin::writeServiceLog(g_directory,
                             "queltaService.exe e um servico: instale com /INSTALL /SILENT "
                             "(codigo " +
                                 std::to_string(GetLastError()) + ")");
    return 1;
  }
  return 0;
}
