#include "standins/service/service_install.h"

#include <windows.h>

#include "platform/files.h"
#include "standins/service/service_log.h"

namespace standin {
namespace {

void logFailure(const std::string& programPath, const std::string& what) {
  writeServiceLog(platform::directoryOf(programPath),
                  "Erro " + what + " (codigo " + std::to_string(GetLastError()) + ")");
}

// The manager splits an unquoted path at its blanks.
std::string quoted(const std::string& path) { return "\"" + path + "\""; }

}  // namespace

int installService(const std::string& programPath) {
  SC_HANDLE manager =
      OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT | SC_MANAGER_CREATE_SERVICE);
  if (!manager) {
    logFailure(programPath, "ao abrir o gerenciador de servicos");
    return 1;
  }
  int result = 0;
  const std::string binary = quoted(programPath);
  SC_HANDLE service =
      CreateServiceA(manager, kServiceName, kServiceDisplayName, SERVICE_QUERY_STATUS,
                     SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                     binary.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
  if (service) {
    writeServiceLog(platform::directoryOf(programPath), "Servico instalado: " + programPath);
  } else if (GetLastError() == ERROR_SERVICE_EXISTS) {
    service = OpenServiceA(manager, kServiceName, SERVICE_CHANGE_CONFIG);
    if (service && ChangeServiceConfigA(service, SERVICE_WIN32_OWN_PROCESS, SERVICE_NO_CHANGE,
                                        SERVICE_NO_CHANGE, binary.c_str(), nullptr, nullptr,
                                        nullptr, nullptr, nullptr, kServiceDisplayName)) {
      writeServiceLog(platform::directoryOf(programPath),
                      "Servico ja instalado, atualizado: " + programPath);
    } else {
      logFailure(programPath, "ao atualizar o servico instalado");
      result = 1;
    }
  } else {
    logFailure(programPath, "ao instalar o servico");
    result = 1;
  }
  if (service) CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return result;
}

int uninstallService(const std::string& programPath) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) {
    logFailure(programPath, "ao abrir o gerenciador de servicos");
    return 1;
  }
  SC_HANDLE service =
      OpenServiceA(manager, kServiceName, DELETE | SERVICE_STOP | SERVICE_QUERY_STATUS);
  if (!service) {
    bool absent = GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST;
    if (!absent) logFailure(programPath, "ao abrir o servico");
    CloseServiceHandle(manager);
    return absent ? 0 : 1;
  }
  SERVICE_STATUS status{};
  if (QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_STOPPED) {
    ControlService(service, SERVICE_CONTROL_STOP, &status);
    // A stopping service is given ten seconds.
    for (int i = 0; i < 100 && QueryServiceStatus(service, &status) &&
                    status.dwCurrentState != SERVICE_STOPPED;
         ++i)
      Sleep(100);
  }
  int result = 0;
  if (DeleteService(service)) {
    writeServiceLog(platform::directoryOf(programPath), "Servico removido");
  } else if (GetLastError() != ERROR_SERVICE_MARKED_FOR_DELETE) {
    logFailure(programPath, "ao remover o servico");
    result = 1;
  }
  CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return result;
}

}  // namespace standin
