// The log screen's refresh on the real window: the caption from the print
// service's status reply (a server of the test's own on the service's
// port, or a scripted HTTP client), the day's log scrolled to its end, and
// the queue per printer.
#include "app/tests/service_endpoint.h"
// (first: httplib brings winsock2.h, which must precede windows.h)

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/main_window.h"
#include "app/tests/app_fixture.h"
#include "tests/support/eventually.h"
#include "tests/support/scripted_connector.h"

namespace {

using Lines = std::vector<std::string>;
using endpoint_test::FakeService;

const char kOnline[] = "Log do servidor (Online)";
const char kOffline[] = "Log do servidor (Offline)";
const std::string kSeparator(39, '-');

class LogScreen : public AppTest {
 protected:
  LogScreen() : clock({2026, 3, 7, 10, 0, 0}) {
    write("quelta.dll", "[CONFIG]\r\ntoken=abc\r\n");
    services.clock = &clock;
    platform::createDirectory(file("log"));
  }

  std::string dayFile() const { return file("log\\2026-03-07.txt"); }

  // The window's HTTP clients become scripted ones; the service is online.
  void scriptHttp() {
    services.http = &http;
    http.answer(status, "{\"success\":true}");
  }

  platform::SettableClock clock;
  net_test::ScriptedConnector http;
  const std::string status = service::kStatusUrl;
};

}  // namespace

TEST_F(LogScreen, CaptionFollowsTheServicesStatusReply) {
  auto service = std::make_unique<FakeService>();
  service->answer("{\"success\":false}", "");
  app::MainWindow window(services, connections);
  ASSERT_TRUE(window.control("gbLog").visible());
  EXPECT_EQ(window.control("Label1").text(), kOffline);
  EXPECT_EQ(service->targets("GET"), Lines{"/?status"});

  service->answer("{\"success\":true}", "");
  window.click("Button1");
  EXPECT_EQ(window.control("Label1").text(), kOnline);

  // The timer refreshes too, off the window's thread; a reply that is no
  // status is offline.
  service->answer("<html>ok</html>", "");
  window.fireTimers();
  EXPECT_TRUE(eventually([&] { return window.control("Label1").text() == kOffline; }, 20,
                         ui::pumpMessages));
  service->answer("{\"success\":true}", "");
  window.fireTimers();
  EXPECT_TRUE(
      eventually([&] { return window.control("Label1").text() == kOnline; }, 20, ui::pumpMessages));
  EXPECT_EQ(service->targets("GET").size(), 4u);

  // Nobody on the port.
  service.reset();
  window.click("Button1");
  EXPECT_EQ(window.control("Label1").text(), kOffline);
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(LogScreen, TheWindowsOwnTimerRefreshesTenSecondsAfterTheStart) {
  FakeService service;
  ASSERT_TRUE(service.listening());
  const auto created = std::chrono::steady_clock::now();
  app::MainWindow window(services, connections);
  ASSERT_EQ(window.control("Label1").text(), kOnline);

  // Nothing but the timer asks again; its tick comes as a message.
  service.answer("{\"success\":false}", "");
  ASSERT_TRUE(eventually([&] { return window.control("Label1").text() == kOffline; }, 120,
                         ui::pumpMessages))
      << "no refresh by the timer";
  const auto waited = std::chrono::steady_clock::now() - created;
  // The ten seconds as a lower bound only: load makes a tick late, and the
  // system clock's granularity at most a few milliseconds early.
  EXPECT_GE(waited, std::chrono::milliseconds(9950));
  EXPECT_EQ(service.targets("GET"), Lines({"/?status", "/?status"}));
}

TEST_F(LogScreen, TheWindowAnswersWhileTheTimersStatusQueryWaitsAndNewerNewsStays) {
  scriptHttp();
  app::MainWindow window(services, connections);
  ASSERT_EQ(window.control("Label1").text(), kOnline);

  // The service holds its status reply back; the timer's refresh waits for
  // it on the window's worker, and a second tick starts no second one.
  http.answer(status, "{\"success\":false}");
  http.hold(true);
  window.fireTimers();
  window.fireTimers();
  EXPECT_TRUE(window.logView().refreshRunning());
  ASSERT_TRUE(eventually([&] { return http.waiting() == 1; }));
  // The window answers another thread while that request is outstanding.
  std::atomic<bool> probed{false}, answered{false}, outstanding{false};
  std::thread probe([&, hwnd = window.hwnd()] {
    DWORD_PTR result = 0;
    answered = SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result) != 0;
    outstanding = http.waiting() == 1;
    probed = true;
  });
  eventually([&] { return probed.load(); }, 60, ui::pumpMessages);
  probe.join();
  EXPECT_TRUE(answered);
  EXPECT_TRUE(outstanding) << "the window answered only once the request had ended";

  // "Atualizar" meanwhile shows what the service says now; the older
  // answer the timer gets afterwards does not replace it.
  http.answer(status, "{\"success\":true}");
  http.hold(false);
  ASSERT_TRUE(window.logView().refreshRunning());
  window.click("Button1");
  EXPECT_EQ(window.control("Label1").text(), kOnline);
  http.release();
  EXPECT_TRUE(eventually([&] { return !window.logView().refreshRunning(); }, 20, ui::pumpMessages));
  ui::pumpMessages();
  EXPECT_EQ(window.control("Label1").text(), kOnline);
  EXPECT_EQ(http.calls(), Lines(3, "text " + status));

  // Once the older answer is out of the way, the timer's news shows.
  http.answer(status, "{\"success\":false}");
  window.fireTimers();
  EXPECT_TRUE(eventually([&] { return window.control("Label1").text() == kOffline; }, 20,
                         ui::pumpMessages));
}

TEST_F(LogScreen, ClosingTheWindowCutsOffTheTimersStalledRequest) {
  scriptHttp();
  {
    app::MainWindow window(services, connections);
    http.hold(true);
    window.fireTimers();
    ASSERT_TRUE(eventually([&] { return http.waiting() == 1; }));
  }
  // Only the window's stop ends a held request before it is released: the
  // window is gone, and so is the request, cut off rather than answered.
  EXPECT_EQ(http.waiting(), 0);
  EXPECT_EQ(http.calls(), Lines({"text " + status, "text " + status, "cancelled " + status}));
}

TEST_F(LogScreen, DayLogIsShownWholeAndScrolledToItsEnd) {
  Lines expected;
  std::string text;
  const char* ends[] = {"\r\n", "\n", "\r"};
  for (int i = 0; i < 300; ++i) {
    expected.push_back("10:00:00 : Pedido recebido " + std::to_string(i));
    text += expected.back() + ends[i % 3];
  }
  write("log\\2026-03-07.txt", text);
  app::MainWindow window(services, connections);
  ui::Memo log = window.memo("Memo1");
  EXPECT_EQ(log.lines(), expected);
  const int scrolled = log.firstVisibleLine();
  EXPECT_GT(scrolled, 250);

  // The user scrolls up; the next refresh brings the end back into view.
  log.lineScroll(-1000);
  EXPECT_EQ(log.firstVisibleLine(), 0);
  window.click("Button1");
  EXPECT_EQ(log.firstVisibleLine(), scrolled);

  // The service writing the file at that moment does not stop the view.
  HANDLE held = CreateFileA(dayFile().c_str(), GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  window.click("Button1");
  EXPECT_EQ(log.lines(), expected);
  CloseHandle(held);

  // A file nobody may read: the error line alone.
  HANDLE locked = CreateFileA(dayFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  window.click("Button1");
  Lines shown = log.lines();
  CloseHandle(locked);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].rfind("Erro ao ler log: EInOutError - ", 0), 0u) << shown[0];

  // Just after midnight, before the new day's file exists, the view keeps
  // what it showed.
  window.click("Button1");
  EXPECT_EQ(log.lines(), expected);
  clock.set({2026, 3, 8, 0, 0, 5});
  window.click("Button1");
  EXPECT_EQ(log.lines(), expected);
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(LogScreen, QueueIsListedInPrinterTableOrder) {
  write("impressora",
        "[{\"name\":\"Cozinha\",\"tipo\":\"Generic Text\",\"padrao\":\"Sim\"},"
        "{\"name\":\"Caixa\",\"tipo\":\"Outro\",\"padrao\":\"N\xe3o\"},"
        "{\"name\":\"Bar\",\"tipo\":\"Outro\",\"padrao\":\"N\xe3o\"}]");
  write("fila",
        "{\"Bar\":{\"fila\":[[{\"text\":\"Mesa: 3\",\"tipo\":1,\"fonte\":\"10\"},"
        "{\"text\":\"1 Chopp\",\"tipo\":2,\"fonte\":\"10\"}]]},"
        "\"Terraco\":{\"fila\":[[{\"text\":\"x\"}]]},\"Caixa\":{\"fila\":[]},"
        "\"Cozinha\":{\"fila\":[[{\"text\":\"Mesa: 1\"},{\"text\":\"2 Feijoada\"}],"
        "[{\"text\":\"Mesa: 2\"}]]}}");
  app::MainWindow window(services, connections);
  EXPECT_EQ(window.memo("Memo2").lines(),
            Lines({"Fila para: Cozinha", "Mesa: 1", "2 Feijoada", kSeparator, "", "Mesa: 2",
                   kSeparator, "", "Fila para: Bar", "Mesa: 3", "1 Chopp", kSeparator, ""}));

  // A first line that is no object: the error line alone.
  write("fila", "\r\n{\"Bar\":{\"fila\":[]}}");
  window.click("Button1");
  Lines shown = window.memo("Memo2").lines();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].rfind("Erro ao ler log: ParseException - A TJSONObject must begin with", 0),
            0u)
      << shown[0];

  // No queue file: an empty view.
  platform::deleteFile(file("fila"));
  window.click("Button1");
  EXPECT_TRUE(window.memo("Memo2").lines().empty());
  EXPECT_TRUE(prompts.shown.empty());
}
