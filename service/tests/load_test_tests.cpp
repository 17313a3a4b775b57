#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

#include "service/load_test.h"
#include "service/service_endpoint.h"
#include "service/test_ws.h"

namespace {

using Ids = std::vector<std::string>;

const std::string kItem12 =
    "{\"qtd\":\"1\",\"category\":\"12\",\"title\":\"ITEM 01 DESCRICAO\","
    "\"attr\":[\"  >> Opcional Descricao\"]}";
const std::string kItem20 =
    "{\"qtd\":\"1\",\"category\":\"20\",\"title\":\"ITEM 01 DESCRICAO\","
    "\"attr\":[\"  >> Opcional Descricao\"]}";

}  // namespace

TEST(LoadTestOrders, OneCategoryPerDistinctPrinterInTableOrder) {
  // Three categories to the kitchen, one to the bar: the first of each.
  json::TJSONArray categories(
      "[{\"id\":12,\"name\":\"Pratos\",\"printer\":\"Cozinha\"},"
      "{\"id\":13,\"name\":\"Massas\",\"printer\":\"Cozinha\"},"
      "{\"id\":20,\"name\":\"Bebidas\",\"printer\":\"Bar\"},"
      "{\"id\":14,\"name\":\"Sobremesas\",\"printer\":\"Cozinha\"}]");
  const Ids ids = service::loadTestCategoryIds(categories);
  EXPECT_EQ(ids, Ids({"12", "20"}));

  EXPECT_EQ(service::loadTestOrder(1, ids),
            "{\"table\":1,\"card\":1,\"items\":[" + kItem12 + ", " + kItem20 + "]}");
  EXPECT_EQ(service::loadTestOrder(3, ids),
            "{\"table\":3,\"card\":3,\"items\":[" + kItem12 + ", " + kItem20 + "]}");
  EXPECT_EQ(service::loadTestOrder(7, {}), "{\"table\":7,\"card\":7,\"items\":[]}");

  // The printer text is compared exactly; an empty printer is a value too.
  json::TJSONArray cased(
      "[{\"id\":\"1\",\"printer\":\"Bar\"},{\"id\":\"2\",\"printer\":\"BAR\"},"
      "{\"id\":\"3\",\"printer\":\"\"},{\"id\":\"4\",\"printer\":\"\"}]");
  EXPECT_EQ(service::loadTestCategoryIds(cased), Ids({"1", "2", "3"}));

  // Every order is well-formed JSON, an odd id included.
  json::TJSONObject order(service::loadTestOrder(2, {"a\"b"}));
  EXPECT_EQ(order.arrayOf("items").objectAt(0).textOf("category"), "a\"b");
}

TEST(LoadTestOrders, ACategoryWithoutPrinterOrIdStopsTheTest) {
  for (const char* table :
       {"[{\"id\":1,\"printer\":\"Bar\"},{\"id\":2}]", "[{\"printer\":\"Bar\"}]"}) {
    try {
      service::loadTestCategoryIds(json::TJSONArray(table));
      ADD_FAILURE() << table;
    } catch (const quelta::Error& e) {
      EXPECT_EQ(e.className(), "NoSuchElementException") << table;
    }
  }
}

TEST(LoadTestOrders, QuantityIsAnInteger) {
  EXPECT_EQ(service::loadTestQuantity("3"), 3);
  EXPECT_EQ(service::loadTestQuantity("0"), 0);
  EXPECT_EQ(service::loadTestQuantity(" 10000"), 10000);
  for (const char* bad : {"", "abc", "1.5", "3 "}) {
    try {
      service::loadTestQuantity(bad);
      ADD_FAILURE() << bad;
    } catch (const quelta::Error& e) {
      EXPECT_EQ(quelta::describe(e),
                std::string("EConvertError - '") + bad + "' is not a valid integer value");
    }
  }
}

TEST(TestWS, EveryOrderOfABurstIsSentOnceByABoundedPool) {
  std::mutex mutex;
  std::multiset<std::string> received;
  std::atomic<int> inFlight{0}, mostInFlight{0};
  {
    service::TestWS workers(
        [&](const std::string& order) {
          int now = ++inFlight;
          int seen = mostInFlight;
          while (now > seen && !mostInFlight.compare_exchange_weak(seen, now)) {
          }
          std::this_thread::sleep_for(std::chrono::microseconds(200));
          --inFlight;
          std::lock_guard<std::mutex> lock(mutex);
          received.insert(order);
        },
        8);
    workers.sendBurst({"12"}, 500);
    workers.sendBurst({}, 0);
    workers.sendBurst({}, -3);
    workers.sendBurst({"7"}, 20);
    workers.waitIdle();
    EXPECT_EQ(workers.sent(), 520u);
    EXPECT_LE(workers.mostWorkersSeen(), 8);
    EXPECT_GE(workers.mostWorkersSeen(), 1);
  }
  EXPECT_LE(mostInFlight.load(), 8);
  ASSERT_EQ(received.size(), 520u);
  for (int n = 1; n <= 500; ++n)
    EXPECT_EQ(received.count(service::loadTestOrder(n, {"12"})), 1u) << n;
  for (int n = 1; n <= 20; ++n)
    EXPECT_EQ(received.count(service::loadTestOrder(n, {"7"})), 1u) << n;
}

TEST(TestWS, ABurstReturnsAtOnceWhateverItsSize) {
  // The sender is held until the burst has been handed over: sendBurst must
  // not wait for a single order, and only the bounded number of workers
  // start.
  std::mutex mutex;
  std::condition_variable opened;
  bool open = false;
  std::atomic<int> sent{0};
  service::TestWS workers([&](const std::string&) {
    std::unique_lock<std::mutex> lock(mutex);
    opened.wait(lock, [&] { return open; });
    ++sent;
  });
  workers.sendBurst({"1", "2"}, 10000);
  EXPECT_EQ(sent.load(), 0);
  EXPECT_EQ(workers.mostWorkersSeen(), service::TestWS::kMostInFlight);
  {
    std::lock_guard<std::mutex> lock(mutex);
    open = true;
  }
  opened.notify_all();
  workers.waitIdle();
  EXPECT_EQ(sent.load(), 10000);
  EXPECT_EQ(workers.sent(), 10000u);
}

TEST(TestWS, TheWorkerPostsOverHttp10WithTheLoadTestHeaders) {
  httplib::Server server;
  std::mutex mutex;
  std::vector<std::string> seen;
  server.Post("/", [&](const httplib::Request& request, httplib::Response& response) {
    std::lock_guard<std::mutex> lock(mutex);
    seen.push_back(request.version + "|" + request.get_header_value("Accept") + "|" +
                   request.get_header_value("User-Agent") + "|" +
                   request.get_header_value("Content-Type") + "|" +
                   request.get_header_value("Content-Encoding") + "|" + request.body);
    response.set_content("{\"success\":true}", "application/json");
  });
  int port = server.bind_to_any_port("127.0.0.1");
  ASSERT_GT(port, 0);
  // Bound means listening: the post below waits in the queue until the
  // server thread takes it.
  std::thread serving([&] { server.listen_after_bind(); });

  const std::string url = "http://127.0.0.1:" + std::to_string(port);
  service::postLoadTestOrder("{\"title\":\"Caf\xe9\"}", url);
  // A server that is not there: the failure is swallowed.
  server.stop();
  serving.join();
  service::postLoadTestOrder("{}", url);

  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0],
            "HTTP/1.0|application/json,text/html,application/xhtml+xml,application/xml;q=0.9,*/"
            "*;q=0.8|Mozilla/5.0 (Windows NT 6.1; WOW64; rv:12.0) Gecko/20100101 Firefox/12.0|"
            "application/json; charset=utf-8|utf-8|{\"title\":\"Caf\xc3\xa9\"}");
}
