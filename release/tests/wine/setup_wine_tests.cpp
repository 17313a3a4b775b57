// The setup program under Wine, in a prefix of its own made fresh for the
// run: a silent install of an older release into a folder with an accent
// and a blank, the installed tool installing the print service (stand-in),
// the upgrade to this build over the restaurant's files with the service
// running, and the silent uninstall. The setups are made at build time by
// scripts/installer.sh (release/tests/wine/test_setups.sh): QUELTA_SETUPS
// holds old/ and new/, each with setup.exe, the programs it holds and a copy
// of its uninstaller.
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "config/version.h"
#include "platform/files.h"
#include "platform/service_manager.h"
#include "service/service_check.h"
#include "service/service_control.h"
#include "tests/support/eventually.h"
#include "tests/support/wine_host.h"

namespace {

using wine_host::readOr;
using wine_host::runAndWait;

const std::string kDir = "C:\\Quelta Impress\xe3o";
const std::string kProduct = "Quelta Configura\xe7\xe3o";
const char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QueltaConfiguracao";
const std::vector<std::string> kPrograms = {"queltaConfig.exe", "queltaService.exe",
                                            "libeay32.dll", "ssleay32.dll"};

std::string setupFile(const std::string& release, const std::string& name) {
  return wine_host::windowsPath(QUELTA_SETUPS "/" + release + "/" + name);
}
std::string installed(const std::string& name) { return kDir + "\\" + name; }

int32_t serviceState() {
  return service::queryServiceState(platform::systemServiceManager(),
                                    service::kPrintServiceName);
}

// The running service's process and the program its registration names.
std::pair<DWORD, std::string> runningService() {
  std::string program;
  const DWORD pid = wine_host::runningServicePid(service::kPrintServiceName, &program);
  return {pid, program};
}

// A value of the uninstall entry as text ("<none>" when missing).
std::string uninstallValue(const char* name) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return "<no entry>";
  char data[2048];
  DWORD size = sizeof data, type = 0;
  std::string value = "<none>";
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) ==
      ERROR_SUCCESS) {
    if (type == REG_DWORD) {
      value = "dword:" + std::to_string(*reinterpret_cast<DWORD*>(data));
    } else if (type == REG_SZ) {
      value.assign(data, size && data[size - 1] == '\0' ? size - 1 : size);
    }
  }
  RegCloseKey(key);
  return value;
}

std::string folder(int csidl) {
  char path[MAX_PATH];
  return SUCCEEDED(SHGetFolderPathA(nullptr, csidl, nullptr, 0, path)) ? path : "<none>";
}

// What a shortcut starts, and in which folder ("<none>" when it reads not).
std::string shortcutTarget(const std::string& lnk) {
  std::string target = "<none>";
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return target;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    std::wstring wide(MAX_PATH, L'\0');
    wide.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_ACP, 0, lnk.c_str(), -1, wide.data(), MAX_PATH)));
    char path[MAX_PATH] = "", dir[MAX_PATH] = "";
    if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) &&
        SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, 0)) &&
        SUCCEEDED(link->GetWorkingDirectory(dir, MAX_PATH)))
      target = std::string(path) + " in " + dir;
    file->Release();
  }
  link->Release();
  return target;
}

const std::vector<std::string> shortcuts() {
  return {folder(CSIDL_COMMON_PROGRAMS) + "\\" + kProduct + ".lnk",
          folder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\" + kProduct + ".lnk"};
}

// The entry's size: the program files the setup holds, each rounded up to
// whole KB, as Windows shows it.
std::string estimatedSize(const std::string& release) {
  size_t kb = 0;
  for (const std::string& name : kPrograms)
    kb += (platform::readFile(setupFile(release, "programs/" + name)).size() + 1023) / 1024;
  return "dword:" + std::to_string(kb);
}

// What the silent install of `release` leaves: the files of its setup in the
// folder, both shortcuts, every value of the uninstall entry.
void expectInstalled(const std::string& release, const std::string& version) {
  for (const std::string& name : kPrograms)
    EXPECT_TRUE(readOr(installed(name), "<missing>") ==
                platform::readFile(setupFile(release, "programs/" + name)))
        << name;
  EXPECT_TRUE(readOr(installed("desinstalar.exe"), "<missing>") ==
              platform::readFile(setupFile(release, "desinstalar.exe")));
  for (const std::string& lnk : shortcuts())
    EXPECT_EQ(shortcutTarget(lnk), installed("queltaConfig.exe") + " in " + kDir) << lnk;
  const std::string uninstaller = "\"" + installed("desinstalar.exe") + "\"";
  const std::vector<std::pair<const char*, std::string>> values = {
      {"DisplayName", kProduct},
      {"DisplayVersion", version},
      {"Publisher", "Quelta"},
      {"DisplayIcon", installed("queltaConfig.exe")},
      {"InstallLocation", kDir},
      {"UninstallString", uninstaller},
      {"QuietUninstallString", uninstaller + " /S"},
      {"EstimatedSize", estimatedSize(release)},
      {"NoModify", "dword:1"},
      {"NoRepair", "dword:1"}};
  for (const auto& [name, value] : values) EXPECT_EQ(uninstallValue(name), value) << name;
}

// The restaurant's files, each with bytes of its own.
const std::vector<std::pair<std::string, std::string>> kRestaurantFiles = {
    {"quelta.dll", "[CONFIG]\r\nnomeEmpresa=Cantina Dona Z\xe9lia\r\nreload=N\r\n"},
    {"impressora", "[{\"name\":\"Cozinha\",\"tipo\":\"Generic Text\"}]"},
    {"categoria", "[{\"id\":\"7\",\"nome\":\"Por\xe7\xf5" "es\",\"impressora\":\"Cozinha\"}]"},
    {"produto", "[{\"nome\":\"A\xe7" "a\xed 500 ml\",\"impressora\":\"Cozinha\"}]"},
    {"cartao", "[{\"id\":\"3\",\"nome\":\"Mesa 12\"}]"},
    {"fila", "{}"},
    {"log\\2024-03-01.txt", "11:02:03 : Teste Impresso Service: Cozinha\r\n"},
    {"diagnostico-20240301-110500.zip", std::string("PK\x05\x06", 4) + std::string(18, '\0')}};

}  // namespace

TEST(Setup, InstallsUpgradesAndUninstalls) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  ASSERT_EQ(serviceState(), service::kNoService) << "the prefix is not a fresh one";
  DWORD firstPid = 0;

  const std::vector<std::pair<const char*, std::function<void()>>> steps = {
      {"silent install of the older release", [] {
         ASSERT_EQ(runAndWait("\"" + setupFile("old", "setup.exe") + "\" /S /D=" + kDir), 0);
         expectInstalled("old", "1.0.0");
         EXPECT_EQ(serviceState(), service::kNoService);
       }},
      {"the installed tool installs and starts the print service", [&firstPid] {
         STARTUPINFOA startup{};
         startup.cb = sizeof startup;
         PROCESS_INFORMATION tool{};
         std::string line = "\"" + installed("queltaConfig.exe") + "\"";
         ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                    kDir.c_str(), &startup, &tool))
             << GetLastError();
         EXPECT_TRUE(eventually([] { return runningService().first != 0; }, 60));
         TerminateProcess(tool.hProcess, 0);
         WaitForSingleObject(tool.hProcess, 30000);
         CloseHandle(tool.hThread);
         CloseHandle(tool.hProcess);
         auto [pid, program] = runningService();
         firstPid = pid;
         EXPECT_EQ(program, "\"" + installed("queltaService.exe") + "\"");
         ASSERT_NE(pid, 0u);
       }},
      {"upgrade over the restaurant's files with the service running", [&firstPid] {
         platform::createDirectory(installed("log"));
         for (const auto& [name, bytes] : kRestaurantFiles)
           platform::writeFileReplacing(installed(name), bytes);
         // No /D: the upgrade finds the folder by the uninstall entry.
         ASSERT_EQ(runAndWait("\"" + setupFile("new", "setup.exe") + "\" /S"), 0);
         for (const auto& [name, bytes] : kRestaurantFiles)
           EXPECT_TRUE(readOr(installed(name), "<missing>") == bytes) << name;
         expectInstalled("new", config::kVersion);
         EXPECT_TRUE(eventually([] { return runningService().first != 0; }, 60));
         auto [pid, program] = runningService();
         EXPECT_NE(pid, firstPid) << "the service was not restarted";
         EXPECT_EQ(program, "\"" + installed("queltaService.exe") + "\"");
       }},
      {"silent uninstall", [] {
         ASSERT_EQ(runAndWait(uninstallValue("QuietUninstallString")), 0);
         // The uninstaller runs on from a copy of itself, which removes
         // the entry last.
         EXPECT_TRUE(eventually([] { return uninstallValue("DisplayName") == "<no entry>"; }, 120));
         EXPECT_EQ(serviceState(), service::kNoService);
         for (const std::string& name : kPrograms)
           EXPECT_FALSE(platform::fileExists(installed(name))) << name;
         EXPECT_FALSE(platform::fileExists(installed("desinstalar.exe")));
         for (const std::string& lnk : shortcuts()) EXPECT_FALSE(platform::fileExists(lnk)) << lnk;
         for (const auto& [name, bytes] : kRestaurantFiles)
           EXPECT_TRUE(readOr(installed(name), "<missing>") == bytes) << name;
       }}};
  for (const auto& [name, step] : steps) {
    SCOPED_TRACE(name);
    step();
    if (HasFailure()) break;  // each step builds on the one before
  }
  CoUninitialize();
}
