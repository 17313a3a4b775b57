#include <gtest/gtest.h>

#include "service/service_control.h"
#include "tests/support/fake_service_manager.h"

using Calls = std::vector<std::string>;
using F = FakeServiceManager;

namespace {
const std::string kName = "QueltaServicoImpressao";
}

TEST(QueryServiceState, ResultsRightsAndCloses) {
  F running;
  running.queries = {F::status(4)};
  EXPECT_EQ(service::queryServiceState(running, kName), 4);
  EXPECT_EQ(running.calls, (Calls{"openManager 1", "openService QueltaServicoImpressao 4", "query",
                                  "close service", "close manager"}));

  F noManager;
  noManager.managerOpens = false;
  EXPECT_EQ(service::queryServiceState(noManager, kName), -2);
  EXPECT_EQ(noManager.calls, (Calls{"openManager 1"}));

  F notInstalled;
  notInstalled.serviceExists = [] { return false; };
  EXPECT_EQ(service::queryServiceState(notInstalled, kName), -1);
  EXPECT_EQ(notInstalled.calls,
            (Calls{"openManager 1", "openService QueltaServicoImpressao 4", "close manager"}));

  F queryFails;
  queryFails.queries = {std::nullopt};
  EXPECT_EQ(service::queryServiceState(queryFails, kName), 0);
  EXPECT_EQ(queryFails.calls, (Calls{"openManager 1", "openService QueltaServicoImpressao 4",
                                     "query", "close service", "close manager"}));

  for (int32_t state : {1, 2, 3, 5, 6, 7}) {
    F f;
    f.queries = {F::status(state)};
    EXPECT_EQ(service::queryServiceState(f, kName), state);
  }
}

TEST(StartServiceIfNeeded, StartsEveryStateButRunning) {
  F running;
  running.queries = {F::status(4)};
  EXPECT_EQ(service::startServiceIfNeeded(running, kName), 4);
  EXPECT_EQ(running.calls, (Calls{"openManager 1", "openService QueltaServicoImpressao 20", "query",
                                  "close service", "close manager"}));

  for (int32_t state : {1, 2, 3, 5, 6, 7}) {
    F f;
    f.queries = {F::status(state)};
    EXPECT_EQ(service::startServiceIfNeeded(f, kName), state) << state;
    EXPECT_EQ(f.calls, (Calls{"openManager 1", "openService QueltaServicoImpressao 20", "query",
                              "start", "close service", "close manager"}))
        << state;
  }

  // A refused start does not change the result: it is the state found.
  F refused;
  refused.queries = {F::status(7)};
  refused.startAccepted = false;
  EXPECT_EQ(service::startServiceIfNeeded(refused, kName), 7);
  EXPECT_EQ(refused.count("start"), 1);
}

TEST(StartServiceIfNeeded, StartsNothingWithoutAState) {
  F notInstalled;
  notInstalled.serviceExists = [] { return false; };
  EXPECT_EQ(service::startServiceIfNeeded(notInstalled, kName), -1);
  EXPECT_EQ(notInstalled.calls,
            (Calls{"openManager 1", "openService QueltaServicoImpressao 20", "close manager"}));

  F noManager;
  noManager.managerOpens = false;
  EXPECT_EQ(service::startServiceIfNeeded(noManager, kName), -2);
  EXPECT_EQ(noManager.calls, (Calls{"openManager 1"}));

  F queryFails;
  queryFails.queries = {std::nullopt};
  EXPECT_EQ(service::startServiceIfNeeded(queryFails, kName), 0);
  EXPECT_EQ(queryFails.count("start"), 0);
  EXPECT_EQ(queryFails.calls.back(), "close manager");
}

TEST(StopServiceAndWait, WaitsForTheStopWithTheReportedHints) {
  F f;
  f.stopReport = F::status(3, 0, 0);
  f.queries = {F::status(3, 1, 200), F::status(3, 2, 300), F::status(1, 0, 0)};
  EXPECT_TRUE(service::stopServiceAndWait(f, kName));
  EXPECT_EQ(f.calls,
            (Calls{"openManager 1", "openService QueltaServicoImpressao 36", "stop", "query",
                   "sleep 200", "query", "sleep 300", "query", "close service", "close manager"}));
}

TEST(StopServiceAndWait, EndsAtOnceWhenThereIsNothingToStop) {
  F notInstalled;
  notInstalled.serviceExists = [] { return false; };
  EXPECT_FALSE(service::stopServiceAndWait(notInstalled, kName));
  EXPECT_EQ(notInstalled.calls,
            (Calls{"openManager 1", "openService QueltaServicoImpressao 36", "close manager"}));

  F noManager;
  noManager.managerOpens = false;
  EXPECT_FALSE(service::stopServiceAndWait(noManager, kName));
  EXPECT_EQ(noManager.calls, (Calls{"openManager 1"}));

  // A stopped service refuses the stop: no status query, no wait. The
  // manager's report that comes with the refusal is the last state read.
  F stopped;
  stopped.stopAccepted = false;
  stopped.stopReport = F::status(1);
  stopped.queries = {F::status(1)};
  EXPECT_TRUE(service::stopServiceAndWait(stopped, kName));
  EXPECT_EQ(stopped.calls, (Calls{"openManager 1", "openService QueltaServicoImpressao 36", "stop",
                                  "close service", "close manager"}));

  F refusedSilently;
  refusedSilently.stopAccepted = false;
  refusedSilently.queries = {F::status(4)};
  EXPECT_FALSE(service::stopServiceAndWait(refusedSilently, kName));
  EXPECT_EQ(refusedSilently.count("query"), 0);
  EXPECT_EQ(refusedSilently.sleeps, 0);

  // The stop was accepted but the status cannot be read: no wait, and the
  // answer comes from the stop control's own report.
  F queryFails;
  queryFails.stopReport = F::status(3, 1, 500);
  queryFails.queries = {std::nullopt};
  EXPECT_FALSE(service::stopServiceAndWait(queryFails, kName));
  EXPECT_EQ(queryFails.sleeps, 0);
  EXPECT_EQ(queryFails.calls.back(), "close manager");
}

TEST(StopServiceAndWait, StopsWaitingWhenTheCheckpointFallsOrTheQueryFails) {
  F falling;
  falling.stopReport = F::status(3);
  falling.queries = {F::status(3, 5, 100), F::status(3, 2, 100), F::status(1)};
  EXPECT_FALSE(service::stopServiceAndWait(falling, kName));
  EXPECT_EQ(falling.count("query"), 2);
  EXPECT_EQ(falling.sleeps, 1);

  // The same checkpoint again keeps the wait going.
  F steady;
  steady.stopReport = F::status(3);
  steady.queries = {F::status(3, 5, 100), F::status(3, 5, 100), F::status(1)};
  EXPECT_TRUE(service::stopServiceAndWait(steady, kName));
  EXPECT_EQ(steady.count("query"), 3);

  F lost;
  lost.stopReport = F::status(3);
  lost.queries = {F::status(3, 1, 100), std::nullopt};
  EXPECT_FALSE(service::stopServiceAndWait(lost, kName));
  EXPECT_EQ(lost.count("query"), 2);
  EXPECT_EQ(lost.calls, (Calls{"openManager 1", "openService QueltaServicoImpressao 36", "stop",
                               "query", "sleep 100", "query", "close service", "close manager"}));
}

TEST(StopServiceAndWait, PausesAtLeast100MsAndGivesUpAfterAMinute) {
  // A wait hint of 0 still pauses; a service stuck in "stopping" with a
  // steady checkpoint is given up on after 60 seconds in all.
  F stuck;
  stuck.stopReport = F::status(3);
  stuck.queries = {F::status(3, 1, 0)};
  EXPECT_FALSE(service::stopServiceAndWait(stuck, kName));
  EXPECT_EQ(stuck.slept, 60000u);
  EXPECT_EQ(stuck.sleeps, 600);
  EXPECT_EQ(stuck.count("sleep 100"), 600);
  EXPECT_EQ(stuck.calls.back(), "close manager");

  // Long hints are honoured but cut at the limit.
  F slow;
  slow.stopReport = F::status(3);
  slow.queries = {F::status(3, 1, 45000), F::status(3, 2, 45000)};
  EXPECT_FALSE(service::stopServiceAndWait(slow, kName));
  EXPECT_EQ(slow.calls, (Calls{"openManager 1", "openService QueltaServicoImpressao 36", "stop",
                               "query", "sleep 45000", "query", "sleep 15000", "query",
                               "close service", "close manager"}));

  // A service that stops on the very last poll is still seen stopped.
  F late;
  late.stopReport = F::status(3);
  late.queries = {F::status(3, 1, 30000), F::status(3, 2, 30000), F::status(1)};
  EXPECT_TRUE(service::stopServiceAndWait(late, kName));
  EXPECT_EQ(late.slept, 60000u);
}
