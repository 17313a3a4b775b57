// The HTTP client against servers started inside the test: what goes on the
// wire, how replies come back, and the error each failure raises.
#include <gtest/gtest.h>

#include <cstdlib>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "net/http_client.h"
#include "net/tests/test_servers.h"

// Allocations on the thread that sets this above zero fail beyond that
// size, as a huge reply would in a 32-bit process.
thread_local size_t failAllocationsAbove = 0;

void* operator new(size_t size) {
  if (failAllocationsAbove > 0 && size > failAllocationsAbove) throw std::bad_alloc();
  if (void* block = std::malloc(size > 0 ? size : 1)) return block;
  throw std::bad_alloc();
}
// Not inlined: the compiler would pair their free() with the new at each call.
[[gnu::noinline]] void operator delete(void* block) noexcept { std::free(block); }
[[gnu::noinline]] void operator delete(void* block, size_t) noexcept { std::free(block); }

namespace net {
namespace {

using net_test::RawConnection;
using net_test::RawServer;
using net_test::TestServer;

// What a server saw of one request.
struct Seen {
  std::string method, version, target, body;
  httplib::Headers headers;
  int remotePort = 0;
};

class Recorder {
 public:
  void operator()(const httplib::Request& req) {
    std::lock_guard<std::mutex> lock(mutex_);
    seen_.push_back({req.method, req.version, req.target, req.body, req.headers, req.remote_port});
  }
  std::vector<Seen> seen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }

 private:
  std::mutex mutex_;
  std::vector<Seen> seen_;
};

std::string header(const Seen& seen, const std::string& name) {
  auto it = seen.headers.find(name);
  return it == seen.headers.end() ? "<absent>" : it->second;
}

// A raw reply with the given status line, headers and body; the
// connection closes after it.
RawServer::Handler replyWith(const std::string& statusLine, const std::string& headers,
                             const std::string& body) {
  return [=](RawConnection& c) {
    c.readHead();
    c.send(statusLine + "\r\n" + headers + "Content-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body);
  };
}

template <class E, class F>
E raised(F&& request) {
  try {
    request();
  } catch (const E& e) {
    return e;
  }
  throw std::runtime_error("the request did not fail as expected");
}

TEST(HttpClient, SendsTheProgramsHeadersOnGetAndPost) {
  Recorder recorder;
  TestServer server;
  server.routes().Get("/", [&](const httplib::Request& req, httplib::Response& res) {
    recorder(req);
    res.set_content("{}", "application/json");
  });
  server.routes().Post("/", [&](const httplib::Request& req, httplib::Response& res) {
    recorder(req);
    res.set_content("ok", "text/plain");
  });
  server.start();

  HttpClient client;
  EXPECT_EQ(client.getText(server.url("/")), "{}");
  EXPECT_EQ(client.post(server.url("/"), "{\"pedido\":1}", kRemoteTimeouts), "ok");

  auto seen = recorder.seen();
  ASSERT_EQ(seen.size(), 2u);
  for (const Seen& request : seen) {
    EXPECT_EQ(header(request, "Accept"),
              "application/json,text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8");
    EXPECT_EQ(header(request, "User-Agent"),
              "Mozilla/5.0 (Windows NT 6.1; WOW64; rv:12.0) Gecko/20100101 Firefox/12.0");
    EXPECT_EQ(header(request, "Content-Type"), "application/json; charset=utf-8");
    EXPECT_EQ(header(request, "Content-Encoding"), "utf-8");
    EXPECT_EQ(header(request, "Host"), "127.0.0.1:" + std::to_string(server.port()));
    EXPECT_EQ(header(request, "Expect"), "<absent>");
    EXPECT_EQ(header(request, "Accept-Encoding"), "<absent>");
  }
  EXPECT_EQ(seen[0].method, "GET");
  EXPECT_EQ(seen[0].version, "HTTP/1.1");
  EXPECT_EQ(header(seen[0], "Content-Length"), "<absent>");
  EXPECT_EQ(seen[0].body, "");

  // The load test's order post speaks HTTP/1.0 and carries its body.
  EXPECT_EQ(seen[1].method, "POST");
  EXPECT_EQ(seen[1].version, "HTTP/1.0");
  EXPECT_EQ(header(seen[1], "Content-Length"), "12");
  EXPECT_EQ(seen[1].body, "{\"pedido\":1}");
}

TEST(HttpClient, AUrlWithoutPathIsRequestedOnSlashWithItsQuery) {
  Recorder recorder;
  TestServer server;
  server.routes().Get("/", [&](const httplib::Request& req, httplib::Response& res) {
    recorder(req);
    res.set_content("online", "text/plain");
  });
  server.start();

  HttpClient client;
  EXPECT_EQ(client.getText("http://127.0.0.1:" + std::to_string(server.port()) + "?status"),
            "online");
  auto seen = recorder.seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].target, "/?status");
}

TEST(HttpClient, FollowsFourteenRedirectsAndRefusesTheFifteenth) {
  Recorder recorder;
  TestServer server;
  // /chain/<left> redirects until nothing is left, then answers.
  server.routes().Get(R"(/chain/(\d+))", [&](const httplib::Request& req, httplib::Response& res) {
    recorder(req);
    int left = std::stoi(req.matches[1]);
    if (left == 0) {
      res.set_content("fim", "text/plain");
    } else {
      res.set_redirect("/chain/" + std::to_string(left - 1));
    }
  });
  server.start();

  HttpClient client;
  EXPECT_EQ(client.getText(server.url("/chain/14")), "fim");
  EXPECT_EQ(recorder.seen().size(), 15u);

  auto error = raised<HttpProtocolError>([&] { client.getText(server.url("/chain/15")); });
  EXPECT_EQ(error.className(), "EIdHTTPProtocolException");
  EXPECT_EQ(error.message(), "HTTP/1.1 302 Found");
  EXPECT_EQ(error.status(), 302);
  // The fifteenth redirect reply ends it: no sixteenth request.
  auto seen = recorder.seen();
  ASSERT_EQ(seen.size(), 30u);
  EXPECT_EQ(seen.back().target, "/chain/1");

  // The counter starts again with every call.
  EXPECT_EQ(client.getText(server.url("/chain/14")), "fim");
}

TEST(HttpClient, KeepsCookiesForTheRunAcrossRedirectsAndDisconnects) {
  Recorder recorder;
  TestServer server;
  server.routes().Get("/entrar", [&](const httplib::Request& req, httplib::Response& res) {
    recorder(req);
    res.set_header("Set-Cookie", "sessao=abc123; Path=/");
    res.set_redirect("/painel");
  });
  server.routes().Get("/painel", [&](const httplib::Request& req, httplib::Response& res) {
    recorder(req);
    res.set_content("painel", "text/plain");
  });
  server.start();

  HttpClient client;
  EXPECT_EQ(client.getText(server.url("/entrar")), "painel");
  client.disconnect();
  EXPECT_EQ(client.getText(server.url("/painel")), "painel");

  auto seen = recorder.seen();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(header(seen[0], "Cookie"), "<absent>");
  EXPECT_EQ(header(seen[1], "Cookie"), "sessao=abc123");
  EXPECT_EQ(header(seen[2], "Cookie"), "sessao=abc123");

  // Another client (a load-test worker's) has cookies of its own.
  HttpClient other;
  other.getText(server.url("/painel"));
  EXPECT_EQ(header(recorder.seen().back(), "Cookie"), "<absent>");
}

TEST(HttpClient, KeepsTheConnectionUntilDisconnected) {
  Recorder recorder;
  TestServer server;
  server.routes().Get("/", [&](const httplib::Request& req, httplib::Response& res) {
    recorder(req);
    res.set_content("ok", "text/plain");
  });
  server.start();

  HttpClient client;
  client.getText(server.url("/"));
  client.getText(server.url("/"));
  client.disconnect();
  client.getText(server.url("/"));
  auto seen = recorder.seen();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].remotePort, seen[1].remotePort);
  EXPECT_NE(seen[1].remotePort, seen[2].remotePort);
}

TEST(HttpClient, DecodesTextByTheDeclaredCharset) {
  const std::string aTildeUtf8 = "\xc3\xa3";
  struct Case {
    std::string headers;
    std::string text;
  };
  const Case cases[] = {
      {"Content-Type: application/json; charset=utf-8\r\n", "\xe3"},
      {"Content-Type: text/plain;charset=\"UTF-8\"\r\n", "\xe3"},
      {"Content-Type: application/json\r\n", aTildeUtf8},
      {"", aTildeUtf8},
      {"Content-Type: text/plain; charset=ISO-8859-1\r\n", aTildeUtf8},
      {"Content-Type: text/plain; charset=klingon\r\n", aTildeUtf8},
  };
  for (const Case& c : cases) {
    RawServer server(replyWith("HTTP/1.1 200 OK", c.headers, aTildeUtf8));
    HttpClient client;
    EXPECT_EQ(client.getText(server.url("/")), c.text) << c.headers;
    EXPECT_EQ(client.getStream(server.url("/")), aTildeUtf8) << c.headers;
  }

  // A byte-order mark does not end up before the text.
  RawServer bom(replyWith("HTTP/1.1 200 OK", "Content-Type: application/json; charset=utf-8\r\n",
                          "\xef\xbb\xbf{\"a\":\"\xc3\xa7\"}"));
  HttpClient client;
  EXPECT_EQ(client.getText(bom.url("/")), "{\"a\":\"\xe7\"}");
}

TEST(HttpClient, ReadsABodyThatEndsWhenTheServerCloses) {
  RawServer server([](RawConnection& c) {
    c.readHead();
    c.send("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nsem tamanho declarado");
  });
  HttpClient client;
  EXPECT_EQ(client.getText(server.url("/")), "sem tamanho declarado");
}

TEST(HttpClient, AnErrorStatusRaisesItsStatusLineAndHidesTheBody) {
  RawServer unauthorized(replyWith("HTTP/1.1 401 Unauthorized",
                                   "Content-Type: application/json; charset=utf-8\r\n",
                                   "{\"success\":false,\"message\":\"Token inv\xc3\xa1lido\"}"));
  HttpClient client;
  auto error = raised<HttpProtocolError>([&] { client.getText(unauthorized.url("/token")); });
  EXPECT_EQ(error.className(), "EIdHTTPProtocolException");
  EXPECT_EQ(error.message(), "HTTP/1.1 401 Unauthorized");
  EXPECT_EQ(error.status(), 401);

  // The status line is the server's own, reason phrase and all.
  RawServer notFound(replyWith("HTTP/1.1 404 Nao Encontrado", "", "pagina"));
  EXPECT_EQ(raised<HttpProtocolError>([&] { client.getStream(notFound.url("/x")); }).message(),
            "HTTP/1.1 404 Nao Encontrado");

  // A redirect status without a Location is not followed: an error too.
  RawServer nowhere(replyWith("HTTP/1.1 302 Found", "", ""));
  EXPECT_EQ(raised<HttpProtocolError>([&] { client.getText(nowhere.url("/")); }).message(),
            "HTTP/1.1 302 Found");
}

TEST(HttpClient, GivesUpOnAServerThatNeverAnswers) {
  RawServer silent([](RawConnection& c) {
    c.readHead();
    c.stayQuiet();
  });
  HttpClient client(Timeouts{2000, 1});
  auto start = std::chrono::steady_clock::now();
  auto error = raised<ReadTimeout>([&] { client.getText(silent.url("/?status")); });
  EXPECT_EQ(error.className(), "EIdReadTimeout");
  EXPECT_EQ(error.message(), "Read timed out.");
  EXPECT_EQ(error.boxText(), "O servidor n\xe3o respondeu em 1 s.\nRead timed out.");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(HttpClient, ATricklingServerEndsAtTheRequestsTotalLimit) {
  // A byte every 100 ms never stalls the connection, and the body would take
  // ten minutes: only the total limit ends the request.
  RawServer trickling([](RawConnection& c) {
    c.readHead();
    c.send("HTTP/1.1 200 OK\r\nContent-Length: 6000\r\n\r\n");
    c.trickle(std::string(6000, 'x'), std::chrono::milliseconds(100));
  });
  HttpClient client(Timeouts{2000, 5, 1500});
  auto error = raised<ReadTimeout>([&] { client.getText(trickling.url("/?status")); });
  EXPECT_EQ(error.message(), "Read timed out.");
  EXPECT_EQ(error.boxText(), "O servidor n\xe3o respondeu em 2 s.\nRead timed out.");
}

// The error box of each failed request: what failed in plain Portuguese,
// the network layer's text below it for support.
TEST(HttpClient, EachFailureTellsThePersonWhatFailedAboveTheNetworkLayersText) {
  const std::pair<std::string, std::string> cases[] = {
      {SocketError("Failed to connect to 127.0.0.1 port 8443 after 1 ms: Couldn't connect to server").boxText(),
       "Sem conex\xe3o com o servidor: a internet n\xe3o est\xe1 dispon\xedvel ou o servidor "
       "recusou a conex\xe3o.\nFailed to connect to 127.0.0.1 port 8443 after 1 ms: Couldn't "
       "connect to server"},
      {ConnectTimeout(15).boxText(), "O servidor n\xe3o respondeu em 15 s.\nConnect timed out."},
      {TlsError("SSL certificate problem: certificate has expired").boxText(),
       "A conex\xe3o segura com o servidor falhou: o certificado do servidor n\xe3o \xe9 "
       "v\xe1lido ou o rel\xf3gio do computador est\xe1 errado.\nSSL certificate problem: "
       "certificate has expired"},
      {HttpProtocolError(503, "HTTP/1.1 503 Service Unavailable").boxText(),
       "O servidor respondeu com o erro 503.\nHTTP/1.1 503 Service Unavailable"},
      {RequestError("URL using bad/illegal format or missing URL").boxText(),
       "URL using bad/illegal format or missing URL"},
  };
  for (const auto& [box, expected] : cases) EXPECT_EQ(box, expected);
}

// A watcher of the body that raises ends the request there, the rest of an
// endless body unread.
TEST(HttpClient, AWatcherThatRaisesEndsTheRequestMidBody) {
  RawServer endless([](RawConnection& c) {
    c.readHead();
    c.send("HTTP/1.1 200 OK\r\nContent-Length: 100000000\r\n\r\n");
    const std::string chunk(65536, 'x');
    for (int sent = 0; sent < 1500 && c.send(chunk); ++sent) {
    }
  });
  HttpClient client(Timeouts{2000, 5});
  int64_t seen = 0;
  client.watchBody([&](int64_t received) {
    seen = received;
    if (received > 100000) throw RequestError("too long");
  });
  auto error = raised<RequestError>([&] { client.getStream(endless.url("/")); });
  EXPECT_EQ(error.message(), "too long");
  EXPECT_LT(seen, 10000000);
}

TEST(HttpClient, AStopEndsAStalledRequestAsCancelled) {
  std::atomic<bool> accepted{false};
  RawServer silent([&](RawConnection& c) {
    c.readHead();
    accepted = true;
    c.stayQuiet();
  });
  std::stop_source stop;
  HttpClient client(Timeouts{2000, 600, 600000}, stop.get_token());
  std::thread closer([&] {
    while (!accepted) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    stop.request_stop();
  });
  // No limit comes near: the stop alone ends it.
  auto error = raised<Cancelled>([&] { client.getText(silent.url("/?status")); });
  closer.join();
  EXPECT_EQ(quelta::describe(error), "EAbort - Operation aborted");
  // A client whose owner has gone asks nothing more.
  raised<Cancelled>([&] { client.getText(silent.url("/?status")); });
}

TEST(HttpClient, ANetworkFailureRaisesTheNetworkLayersText) {
  int closedPort;
  {
    RawServer gone([](RawConnection&) {});
    closedPort = gone.port();
  }
  HttpClient client;
  auto error = raised<SocketError>(
      [&] { client.getText("http://127.0.0.1:" + std::to_string(closedPort) + "/"); });
  EXPECT_EQ(error.className(), "EIdSocketError");
  EXPECT_NE(error.message().find(std::to_string(closedPort)), std::string::npos) << error.message();

  // The server closes the connection without a reply.
  RawServer hangUp([](RawConnection& c) { c.readHead(); });
  EXPECT_EQ(raised<SocketError>([&] { client.getText(hangUp.url("/")); }).className(),
            "EIdSocketError");

  EXPECT_EQ(raised<RequestError>([&] { client.getText("ftp://127.0.0.1/x"); }).className(),
            "EIdException");
}

TEST(HttpClient, HttpsTrustsTheBuildsCaAndRefusesAnyOther) {
  TestServer sandbox("server");
  sandbox.routes().Get("/categorias", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("{\"success\":true,\"data\":[]}", "application/json; charset=utf-8");
  });
  sandbox.start();
  HttpClient client;
  EXPECT_EQ(client.getText(sandbox.url("/categorias?token=x&all=1")),
            "{\"success\":true,\"data\":[]}");

  TestServer impostor("other-server");
  impostor.routes().Get("/token", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("{\"success\":true}", "application/json");
  });
  impostor.start();
  auto error = raised<TlsError>([&] { client.getText(impostor.url("/token")); });
  EXPECT_EQ(error.className(), "EIdOSSLConnectError");
  EXPECT_NE(error.message().find("certificate"), std::string::npos) << error.message();

  // A redirect from HTTPS to plain HTTP is not followed; HTTP to HTTPS is.
  Recorder plainSeen;
  TestServer plain;
  plain.routes().Get(".*", [&](const httplib::Request& req, httplib::Response& res) {
    plainSeen(req);
    if (req.path == "/up") res.set_redirect(sandbox.url("/categorias"));
  });
  plain.start();
  sandbox.routes().Get("/down", [&](const httplib::Request&, httplib::Response& res) {
    res.set_redirect(plain.url("/impressao/impressao.zip"));
  });
  EXPECT_EQ(raised<RequestError>([&] { client.getStream(sandbox.url("/down")); }).className(),
            "EIdException");
  EXPECT_EQ(client.getText(plain.url("/up")), "{\"success\":true,\"data\":[]}");
  ASSERT_EQ(plainSeen.seen().size(), 1u);
  EXPECT_EQ(plainSeen.seen()[0].target, "/up");
}

TEST(HttpClient, AFailureInsideLibcurlsCallbackEndsTheRequestAndTheClientGoesOn) {
  TestServer server;
  server.routes().Get("/big", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(std::string(1 << 20, 'x'), "application/octet-stream");
  });
  server.start();
  HttpClient client;
  failAllocationsAbove = 256 * 1024;
  EXPECT_THROW(client.getStream(server.url("/big")), std::bad_alloc);
  failAllocationsAbove = 0;
  EXPECT_EQ(client.getStream(server.url("/big")).size(), size_t{1} << 20);
}

}  // namespace
}  // namespace net
