// Every action that writes, run once for each step of the disk it takes with
// that step failing (alone, and with every step after it): each file is then
// its old bytes or its new bytes, no temporary file is left, and the person
// saw an error. The settings file is written one profile call at a time, so
// there each state between two calls of the action counts as well.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "app/tests/app_fixture.h"
#include "cloud/catalog_sync.h"
#include "cloud/login.h"
#include "config/config_file.h"
#include "config/version.h"
#include "print/log_file.h"
#include "routing/config_save.h"
#include "routing/printer_box.h"
#include "routing/printer_table.h"
#include "service/views/credentials_window.h"
#include "tests/support/disk_twin.h"
#include "tests/support/scripted_http.h"
#include "tests/support/scripted_prompts.h"
#include "update/publication.h"
#include "update/update.h"
#include "zip/zip_writer.h"

namespace {

using Files = std::map<std::string, std::string>;  // relative path: bytes

const char kMissing[] = "<no file>";
const std::string kArchive = "https://downloads.test/impressao/impressao.zip";

void collect(const std::string& dir, const std::string& prefix, Files& files) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      collect(dir + "\\" + name, prefix + name + "\\", files);
    else
      files[prefix + name] = platform::readFile(dir + "\\" + name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

Files filesBelow(const std::string& dir) {
  Files files;
  collect(dir, "", files);
  return files;
}

std::string bytesOf(const Files& files, const std::string& name) {
  auto it = files.find(name);
  return it == files.end() ? kMissing : it->second;
}

// What an action works with: the program's state in memory, the twins of the
// cloud, the window and the platform, all over one application directory.
struct ActionRun {
  explicit ActionRun(const std::string& appDir) : dir(appDir) {
    twins.serviceManager.onStop = [this] {
      twins.serviceManager.queries = {FakeServiceManager::status(platform::kServiceStopped)};
    };
  }
  std::string dir;
  routing::Tables tables;
  std::string token = "loja.77";
  net_test::ScriptedHttp http;
  ScriptedPrompts port;
  printtest::Recorders twins;
  std::unique_ptr<service::CredentialsWindow> credentials;  // open before the action
  cloud::CloudContext cloud{http,  port,   {"https://api.test", "https://stage.test"},
                            token, tables, dir};
  update::UpdateContext update{http,        port, twins.serviceManager, twins.process,
                               twins.clock, dir,  config::kVersion,     {true, "", kArchive, ""}};
};

struct Action {
  const char* name;
  std::function<void(ActionRun&)> before;  // on the real disk
  std::function<void(ActionRun&)> act;     // as the window runs it
};

void tablesOnDisk(ActionRun& r) {
  routing::addPrinter(r.tables, "Caixa");
  r.tables.categories =
      std::make_unique<json::TJSONArray>(R"([{"id":1,"name":"Lanches","printer":"Caixa"}])");
  routing::saveConfiguration(r.tables, {}, r.dir);
  platform::writeFileReplacing(config::appFile(r.dir, config::kSettingsFile),
                               "[CONFIG]\r\ntoken=loja.77\r\nreload=N\r\n");
  platform::writeFileReplacing(config::appFile(r.dir, config::kCardFile), "[{\"id\":9}]");
}

void catalogAnswers(ActionRun& r, const std::string& token) {
  r.http.answer("https://api.test/categorias?token=" + token + "&all=1",
                R"({"success":true,"data":[{"id":1,"name":"Lanches"},{"id":2,"name":"Doces"}]})");
  r.http.answer("https://api.test/configuracoes/cartoes-auxiliares?token=" + token,
                R"({"success":true,"data":[{"id":101}]})");
}

const Action kActions[] = {
    {"configuration save", tablesOnDisk,
     [](ActionRun& r) {
       routing::saveConfiguration(r.tables, {{"Lanches", "Bar"}}, r.dir);
     }},
    {"printer box, then save", tablesOnDisk,
     [](ActionRun& r) {
       routing::PrinterBox box;
       box.open(*r.tables.printers, 0);
       box.state.tamanhoFolha = "48";
       box.save(r.tables, 0, r.port);
       box.switchEpsonLogOn(r.port, r.twins.epson, r.dir);
       routing::saveConfiguration(r.tables, {}, r.dir);
     }},
    {"catalog sync", tablesOnDisk,
     [](ActionRun& r) {
       catalogAnswers(r, r.token);
       cloud::updateCatalog(r.cloud);
     }},
    {"login", tablesOnDisk,
     [](ActionRun& r) {
       r.http.answer("https://api.test/token?username=demo&password=quelta123",
                     R"({"success":true,"data":{"token":"loja.88"}})");
       catalogAnswers(r, "loja.88");
       cloud::login(r.cloud, "demo", "quelta123");
     }},
    {"credentials window",
     [](ActionRun& r) {
       tablesOnDisk(r);
       r.credentials = std::make_unique<service::CredentialsWindow>();
     },
     [](ActionRun& r) {
       r.credentials->control("edtAppID").setText("loja-42");
       r.credentials->control("edtPass").setText("s3nh@");
       r.credentials->btnLoginClick();
     }},
    // Every start raises the reload flag through the credentials window.
    {"start-up", tablesOnDisk, [](ActionRun&) { service::CredentialsWindow window; }},
    {"log append",
     [](ActionRun& r) { print::saveLog(r.dir, "Teste Impresso Config: Caixa", r.twins.clock); },
     [](ActionRun& r) {
       print::saveLog(r.dir, "Config: Erro na impressao: sem papel", r.twins.clock);
     }},
    {"update download and unpacking", [](ActionRun&) {},
     [](ActionRun& r) {
       zip::ZipWriter writer;
       writer.add("libeay32.dll", "libeay novo")
           .add("queltaConfig.exe", "ferramenta nova")
           .add("queltaService.exe", "servico novo")
           .add("ssleay32.dll", "ssleay novo")
           .add("docs/LEIAME.txt", "leia");
       const std::string archive = writer.bytes();
       r.http.answer(kArchive, archive);
       update::Publication published{"2.1.0", update::sha256Hex(archive),
                                     static_cast<int32_t>(archive.size()), 1,
                                     "2099-01-01T00:00:00Z"};
       update::updateServer(r.update, published);
     }},
};

// Keeps the settings file's bytes as each step on it begins.
struct SettingsStates : DiskTwin {
  explicit SettingsStates(const std::string& dir)
      : file(config::appFile(dir, config::kSettingsFile)) {}
  std::string file;
  std::set<std::string> seen;
  int failure(platform::FileStep step, const std::string& path) override {
    if (path == file) {
      std::ifstream in(path, std::ios::binary);
      std::ostringstream bytes;
      if (in) bytes << in.rdbuf();
      seen.insert(in.is_open() ? bytes.str() : kMissing);
    }
    return DiskTwin::failure(step, path);
  }
};

using IoErrorSweep = AppTest;

TEST_F(IoErrorSweep, EveryFileIsOldOrNewNoTemporaryIsLeftAndAnErrorShows) {
  int injected = 0;
  for (const Action& action : kActions) {
    Files old, clean;
    std::set<std::string> betweenCalls;
    {
      TempDir cleanDir;
      config::setApplicationDirectory(cleanDir.path());
      ActionRun r(cleanDir.path());
      action.before(r);
      old = filesBelow(cleanDir.path());
      SettingsStates disk(cleanDir.path());
      ui::Form::guarded([&] { action.act(r); });
      clean = filesBelow(cleanDir.path());
      betweenCalls = disk.seen;
      ASSERT_TRUE(prompts.texts("error").empty())
          << action.name << ": " << prompts.texts("error")[0];
      ASSERT_NE(old, clean) << action.name << " wrote nothing";
    }
    for (bool persistent : {false, true}) {
      for (int n = 1;; ++n) {
        SCOPED_TRACE(std::string(action.name) + (persistent ? ", every step from " : ", step ") +
                     std::to_string(n));
        TempDir runDir;
        config::setApplicationDirectory(runDir.path());
        prompts.shown.clear();
        ActionRun r(runDir.path());
        action.before(r);
        int failures = 0;
        {
          DiskTwin disk;
          disk.failAt = n;
          disk.persistent = persistent;
          ui::Form::guarded([&] { action.act(r); });
          failures = disk.failures;
        }
        if (failures == 0) break;  // the action took fewer steps: done
        ++injected;
        Files now = filesBelow(runDir.path());
        Files every = old;
        every.insert(clean.begin(), clean.end());
        every.insert(now.begin(), now.end());
        for (const auto& [name, bytes] : every) {
          std::string seen = bytesOf(now, name);
          EXPECT_TRUE(seen == bytesOf(old, name) || seen == bytesOf(clean, name) ||
                      (name == config::kSettingsFile && betweenCalls.count(seen)))
              << name << " holds " << seen;
        }
        std::vector<std::string> shown = prompts.texts("error");
        for (const std::string& m : r.port.messages())
          if (m == update::kUpdateDownloadFailed || m == update::kUpdateArchiveMissing)
            shown.push_back(m);
        EXPECT_FALSE(shown.empty()) << "no error was shown";
        EXPECT_TRUE(r.twins.process.launched.empty()) << "the update went on";
        auto& calls = r.twins.serviceManager.calls;
        auto stop = std::find(calls.begin(), calls.end(), "stop");
        EXPECT_TRUE(stop == calls.end() || std::find(stop, calls.end(), "start") != calls.end())
            << "the print service was left stopped";
      }
    }
  }
  std::printf("[ sweep    ] %d runs with injected failures over %zu actions\n", injected,
              std::size(kActions));
}

}  // namespace
