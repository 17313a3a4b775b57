#include <gtest/gtest.h>

#include "service/service_check.h"
#include "tests/support/fake_service_manager.h"

using Calls = std::vector<std::string>;
using F = FakeServiceManager;

namespace {

const std::string kAppDir = "C:\\Quelta App";
const std::string kInstaller = "\"C:\\Quelta App\\queltaService.exe\" /INSTALL /SILENT";

// A launcher that records into the manager's call list, so the order of
// launch and manager calls is visible.
service::Launcher recordingLauncher(F& f, bool starts = true) {
  return [&f, starts](const std::string& commandLine) {
    f.calls.push_back("launch " + commandLine);
    return starts;
  };
}

}  // namespace

TEST(CheckPrintService, RunningServiceIsLeftAlone) {
  F f;
  f.queries = {F::status(4)};
  service::checkPrintService(f, kAppDir, recordingLauncher(f));
  EXPECT_EQ(f.calls, (Calls{"openManager 1", "openService QueltaServicoImpressao 4", "query",
                            "close service", "close manager"}));
}

TEST(CheckPrintService, EveryOtherStateGetsAStartRequest) {
  for (int32_t state : {1, 2, 3, 5, 6, 7}) {
    F f;
    f.queries = {F::status(state)};
    service::checkPrintService(f, kAppDir, recordingLauncher(f));
    EXPECT_EQ(f.calls, (Calls{"openManager 1", "openService QueltaServicoImpressao 4", "query",
                              "close service", "close manager", "openManager 1",
                              "openService QueltaServicoImpressao 20", "query", "start",
                              "close service", "close manager"}))
        << state;
  }
}

TEST(CheckPrintService, MissingServiceIsInstalledThenStarted) {
  F f;
  bool launched = false;
  int looks = 0;
  // Registered on the third look after the launch.
  f.serviceExists = [&] { return launched && ++looks >= 3; };
  f.queries = {F::status(1)};
  service::checkPrintService(f, kAppDir, [&](const std::string& commandLine) {
    f.calls.push_back("launch " + commandLine);
    launched = true;
    return true;
  });
  EXPECT_EQ(f.calls, (Calls{"openManager 1", "openService QueltaServicoImpressao 4",
                            "close manager", "launch " + kInstaller,
                            // looks while the installer registers the service
                            "sleep 100", "openManager 1", "openService QueltaServicoImpressao 4",
                            "close manager", "sleep 100", "openManager 1",
                            "openService QueltaServicoImpressao 4", "close manager", "sleep 100",
                            "openManager 1", "openService QueltaServicoImpressao 4", "query",
                            "close service", "close manager",
                            // and the start
                            "openManager 1", "openService QueltaServicoImpressao 20", "query",
                            "start", "close service", "close manager"}));
}

TEST(CheckPrintService, InstallWaitIsBoundedAndOnlyForAMissingService) {
  // The installer never registers it: five seconds of looks, then the start
  // request, which finds nothing.
  F never;
  never.serviceExists = [] { return false; };
  service::checkPrintService(never, kAppDir, recordingLauncher(never));
  EXPECT_EQ(never.count("launch " + kInstaller), 1);
  EXPECT_EQ(never.slept, 5000u);
  EXPECT_EQ(never.sleeps, 50);
  EXPECT_EQ(never.calls[never.calls.size() - 2], "openService QueltaServicoImpressao 20");
  EXPECT_EQ(never.count("start"), 0);

  // No manager: the installer is launched and the start tried, no waiting.
  F noManager;
  noManager.managerOpens = false;
  service::checkPrintService(noManager, kAppDir, recordingLauncher(noManager));
  EXPECT_EQ(noManager.calls, (Calls{"openManager 1", "launch " + kInstaller, "openManager 1"}));

  // The status query failed: installer, then the start at once.
  F queryFails;
  queryFails.queries = {std::nullopt};
  service::checkPrintService(queryFails, kAppDir, recordingLauncher(queryFails));
  EXPECT_EQ(queryFails.sleeps, 0);
  EXPECT_EQ(queryFails.count("launch " + kInstaller), 1);
  EXPECT_EQ(queryFails.count("openService QueltaServicoImpressao 20"), 1);

  // The installer could not be launched: nothing to wait for.
  F noInstaller;
  noInstaller.serviceExists = [] { return false; };
  service::checkPrintService(noInstaller, kAppDir, recordingLauncher(noInstaller, false));
  EXPECT_EQ(noInstaller.sleeps, 0);
  EXPECT_EQ(noInstaller.count("openService QueltaServicoImpressao 20"), 1);
}

TEST(InstallerCommandLine, QuotesTheProgramPath) {
  EXPECT_EQ(service::installerCommandLine("C:\\Quelta"),
            "\"C:\\Quelta\\queltaService.exe\" /INSTALL /SILENT");
  EXPECT_EQ(service::installerCommandLine(kAppDir), kInstaller);
}

TEST(RestartPrintService, StopsThenStarts) {
  // A stopped service refuses the stop; no wait; the start follows.
  F stopped;
  stopped.stopAccepted = false;
  stopped.stopReport = F::status(1);
  stopped.queries = {F::status(1)};
  service::restartPrintService(stopped);
  EXPECT_EQ(stopped.calls, (Calls{"openManager 1", "openService QueltaServicoImpressao 36", "stop",
                                  "close service", "close manager", "openManager 1",
                                  "openService QueltaServicoImpressao 20", "query", "start",
                                  "close service", "close manager"}));

  F running;
  running.stopReport = F::status(3, 0, 200);
  running.queries = {F::status(3, 1, 200), F::status(1), F::status(1)};
  service::restartPrintService(running);
  EXPECT_EQ(running.calls, (Calls{"openManager 1", "openService QueltaServicoImpressao 36", "stop",
                                  "query", "sleep 200", "query", "close service", "close manager",
                                  "openManager 1", "openService QueltaServicoImpressao 20", "query",
                                  "start", "close service", "close manager"}));

  // A falling checkpoint ends the wait early; the start then finds the
  // service still stopping and asks for the start anyway.
  F falling;
  falling.stopReport = F::status(3);
  falling.queries = {F::status(3, 4, 100), F::status(3, 1, 100)};
  service::restartPrintService(falling);
  EXPECT_EQ(falling.count("query"), 3);
  EXPECT_EQ(falling.count("start"), 1);

  F notInstalled;
  notInstalled.serviceExists = [] { return false; };
  service::restartPrintService(notInstalled);
  EXPECT_EQ(notInstalled.calls,
            (Calls{"openManager 1", "openService QueltaServicoImpressao 36", "close manager",
                   "openManager 1", "openService QueltaServicoImpressao 20", "close manager"}));
}
