// The update check and the self-update under Wine: the main window against
// the sandbox cloud's download server with the real service control manager
// and the print service stand-in, the real question dialog, and the whole
// swap run by the tool and the stand-in as built, with the script in Wine's
// command interpreter.
// psapi.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <psapi.h>
// clang-format on

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <cstring>
#include <functional>
#include <regex>
#include <thread>

#include "app/main_window.h"
#include "app/tests/app_fixture.h"
#include "cloud/endpoints.h"
#include "config/settings.h"
#include "config/version.h"
#include "net/http_client.h"
#include "platform/files.h"
#include "platform/service_manager.h"
#include "print/log_file.h"
#include "release/release_files.h"
#include "service/service_control.h"
#include "host/operation_names.h"
#include "tests/support/eventually.h"
#include "tests/support/operation_watch.h"
#include "tests/support/real_input.h"
#include "tests/support/signing_key.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wine_host.h"
#include "ui/prompts.h"
#include "update/update.h"
#include "zip/zip_writer.h"

namespace {

using wine_host::runAndWait;
using wine_host::windowsPath;

std::string readOr(const std::string& path) { return wine_host::readOr(path, "<missing>"); }

using Strings = std::vector<std::string>;
using zip::ZipWriter;

const std::string kService = "QueltaServicoImpressao";
const std::string kQuestion = update::kUpdateQuestion;
const std::string kToolCaption = std::string("Quelta Configura\xe7\xe3o - ") + config::kVersion;
// The COFF time stamp given to the "new" builds, so that a file or a running
// process shows which build it is.
constexpr uint32_t kNewStamp = 0x20140214;

std::string lower(std::string text) {
  CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

// ---- program images --------------------------------------------------------

size_t stampOffset(const std::string& image) {
  uint32_t pe = 0;
  std::memcpy(&pe, image.data() + 0x3c, 4);
  return pe + 8;  // "PE\0\0", machine, number of sections
}

uint32_t imageStamp(const std::string& image) {
  uint32_t stamp = 0;
  std::memcpy(&stamp, image.data() + stampOffset(image), 4);
  return stamp;
}

std::string withStamp(std::string image, uint32_t stamp) {
  std::memcpy(image.data() + stampOffset(image), &stamp, 4);
  return image;
}

struct RunningImage {
  std::string path;
  uint32_t stamp = 0;
};

// Which file a process runs and the time stamp of the image in its memory.
RunningImage runningImage(DWORD pid) {
  RunningImage image;
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return image;
  HMODULE module = nullptr;
  DWORD needed = 0;
  if (EnumProcessModules(process, &module, sizeof module, &needed) && module) {
    char path[MAX_PATH * 2];
    DWORD n = GetModuleFileNameExA(process, module, path, sizeof path);
    image.path.assign(path, n);
    std::string header(4096, '\0');
    SIZE_T got = 0;
    if (ReadProcessMemory(process, module, header.data(), header.size(), &got) && got > 0x40)
      image.stamp = imageStamp(header);
  }
  CloseHandle(process);
  return image;
}

// ---- the print service -----------------------------------------------------

int32_t serviceState() {
  return service::queryServiceState(platform::systemServiceManager(), kService);
}

DWORD servicePid() { return wine_host::runningServicePid(kService); }

// What the stand-in wrote to its daily logs, for the failure report.
std::string serviceLogOf(const std::string& appDir) {
  std::string text = wine_host::dayLogs(appDir);
  return text.empty() ? "(no service log)" : text;
}

// The stand-in installed from an application directory and started; removed
// again at the end, so every test starts from a computer without it.
class InstalledService {
 public:
  explicit InstalledService(const std::string& appDir) : program_(appDir + "\\queltaService.exe") {
    if (!platform::fileExists(program_))
      platform::writeFileReplacing(program_, platform::readFile(windowsPath(QUELTA_SERVICE_EXE)));
    runAndWait("\"" + program_ + "\" /UNINSTALL /SILENT");
    eventually([] { return serviceState() == -1; });
    installed_ = runAndWait("\"" + program_ + "\" /INSTALL /SILENT") == 0;
    service::startServiceIfNeeded(platform::systemServiceManager(), kService);
    running_ = eventually([] { return serviceState() == 4 && servicePid() != 0; });
  }
  ~InstalledService() {
    service::stopServiceAndWait(platform::systemServiceManager(), kService);
    runAndWait("\"" + program_ + "\" /UNINSTALL /SILENT");
    eventually([] { return serviceState() == -1; });
  }
  bool ready() const { return installed_ && running_; }

 private:
  std::string program_;
  bool installed_ = false;
  bool running_ = false;
};

// ---- the download server ---------------------------------------------------

// A publication that has not expired on any clock of the tests.
const std::string kValid = "2100-01-01T00:00:00Z";
constexpr int32_t kNumber = 8;

// The build's download host, taking the tests' publications: they are
// numbered from kNumber, far below the minute any program was built.
update::UpdateSource testedHost() {
  update::UpdateSource host = update::UpdateSource::downloadHost();
  host.floor = 0;
  return host;
}

// The sandbox's publisher key, which the tool as built trusts.
std::string sandboxPublisherKey() {
  return platform::readFile(windowsPath(QUELTA_SANDBOX_CERTS "/publisher.key"));
}

// What the download server serves, published as `make release` publishes,
// signed with `key`.
class DownloadServer {
 public:
  explicit DownloadServer(std::string key = sandboxPublisherKey())
      : dir_(windowsPath(QUELTA_UPDATE_FILES)), key_(std::move(key)) {
    platform::createDirectory(dir_);
    offer(config::kVersion);
    noArchive();
  }
  ~DownloadServer() {
    for (const char* name : {"version.json", "version.json.sig", "impressao.zip"})
      platform::deleteFile(file(name));
  }
  // The manifest and the signature served beside it (none when empty).
  void serve(const std::string& manifest, const std::string& signature) {
    platform::writeFileReplacing(file("version.json"), manifest);
    if (signature.empty()) {
      platform::deleteFile(file("version.json.sig"));
    } else {
      platform::writeFileReplacing(file("version.json.sig"), signature);
    }
  }
  void manifest(const std::string& text) { serve(text, sign(text)); }
  std::string sign(const std::string& text) const { return release::signManifest(text, key_); }
  // The version with the archive given last.
  void offer(const std::string& version) {
    version_ = version;
    manifest(release::releaseManifest(version, archive_, number_, kValid));
  }
  // Numbered as signed now, as a program run whole takes it: its floor is
  // the minute it was built.
  void signedNow() {
    number_ = static_cast<int32_t>(std::time(nullptr) / 60);
    offer(version_);
  }
  void archive(const std::string& bytes) {
    archive_ = bytes;
    archiveFile(bytes);
    offer(version_);
  }
  // The archive's file alone, whatever the manifest says.
  void archiveFile(const std::string& bytes) {
    platform::writeFileReplacing(file("impressao.zip"), bytes);
  }
  void noArchive() { platform::deleteFile(file("impressao.zip")); }

 private:
  std::string file(const std::string& name) const { return dir_ + "\\" + name; }
  std::string dir_;
  std::string key_;
  std::string version_;
  std::string archive_;
  int32_t number_ = kNumber;
};

// The requests the download server has had since the last call, as its
// control endpoint lists them ("download GET /impressao/version.json").
Strings downloadRequests() {
  std::string manifest = update::versionManifestUrl();
  std::string base = manifest.substr(0, manifest.find("/impressao/"));
  net::HttpClient http;
  std::string text = http.getText(base + "/__control/requests");
  http.getText(base + "/__control/reset");
  Strings lines;
  size_t start = 0, end;
  while ((end = text.find('\n', start)) != std::string::npos) {
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::vector<release::ReleaseFile> releaseFiles(const std::string& tool,
                                               const std::string& service) {
  return {{"libeay32.dll", "libeay32 da nova vers\xe3o"},
          {"queltaConfig.exe", tool},
          {"queltaService.exe", service},
          {"ssleay32.dll", "ssleay32 da nova vers\xe3o"},
          {"docs/LEIAME.txt", "Notas da vers\xe3o 9.9.99"}};
}

// The archive as `make release` makes it.
std::string releaseArchive(const std::string& tool, const std::string& service) {
  return release::releaseArchive(releaseFiles(tool, service));
}

// ---- windows of this and other processes -----------------------------------

std::string windowText(HWND hwnd) {
  char text[1024];
  int n = GetWindowTextA(hwnd, text, sizeof text);
  return std::string(text, n > 0 ? n : 0);
}

std::string className(HWND hwnd) {
  char name[256];
  int n = GetClassNameA(hwnd, name, sizeof name);
  return std::string(name, n > 0 ? n : 0);
}

struct WindowQuery {
  std::function<bool(HWND)> accept;
  std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND hwnd, LPARAM lp) {
  auto* query = reinterpret_cast<WindowQuery*>(lp);
  if (query->accept(hwnd)) query->found.push_back(hwnd);
  return TRUE;
}

// Visible top-level windows of a class and caption; of one process, or of
// any but `except`.
std::vector<HWND> windows(const std::string& cls, const std::string& caption, DWORD pid,
                          DWORD except = 0) {
  WindowQuery query;
  query.accept = [&](HWND hwnd) {
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (pid && owner != pid) return false;
    if (except && owner == except) return false;
    return IsWindowVisible(hwnd) && className(hwnd) == cls && windowText(hwnd) == caption;
  };
  EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

HWND waitForWindow(const std::string& cls, const std::string& caption, DWORD pid, DWORD except = 0,
                   int seconds = 60) {
  HWND found = nullptr;
  eventually(
      [&] {
        auto list = windows(cls, caption, pid, except);
        found = list.empty() ? nullptr : list.front();
        return found != nullptr;
      },
      seconds);
  return found;
}

DWORD processOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

// What the question shows, read from its window as any program could.
struct Question {
  std::string caption;
  std::string text;
  std::string yes;
  std::string no;
  bool yesIsDefault = false;
  bool hasIcon = false;
  int buttons = 0;
};

BOOL CALLBACK readChild(HWND child, LPARAM lp) {
  auto* q = reinterpret_cast<Question*>(lp);
  std::string cls = className(child);
  LONG style = GetWindowLongA(child, GWL_STYLE);
  if (cls == "Static" || cls == "STATIC") {
    if ((style & SS_TYPEMASK) == SS_ICON) {
      q->hasIcon = SendMessageA(child, STM_GETICON, 0, 0) != 0;
    } else {
      q->text = windowText(child);
    }
  } else if (cls == "Button" || cls == "BUTTON") {
    ++q->buttons;
  }
  return TRUE;
}

Question readQuestion(HWND dialog) {
  Question q;
  q.caption = windowText(dialog);
  EnumChildWindows(dialog, readChild, reinterpret_cast<LPARAM>(&q));
  HWND yes = GetDlgItem(dialog, IDYES);
  HWND no = GetDlgItem(dialog, IDNO);
  q.yes = windowText(yes);
  q.no = windowText(no);
  q.yesIsDefault = (GetWindowLongA(yes, GWL_STYLE) & 0x0f) == BS_DEFPUSHBUTTON;
  return q;
}

// The texts of the message boxes a process shows, for the failure report
// of a test that waited for something else.
std::string boxesOf(DWORD pid) {
  WindowQuery query;
  query.accept = [&](HWND hwnd) {
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    return owner == pid && IsWindowVisible(hwnd) && className(hwnd) == "#32770";
  };
  EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&query));
  std::string text;
  for (HWND box : query.found) text += "[" + windowText(box) + ": " + readQuestion(box).text + "] ";
  return text.empty() ? "no box" : text;
}

void expectTheUpdateQuestion(HWND dialog) {
  Question q = readQuestion(dialog);
  EXPECT_EQ(q.caption, "Confirm");
  EXPECT_EQ(q.text, kQuestion);
  EXPECT_EQ(q.yes, "&Yes");
  EXPECT_EQ(q.no, "&No");
  EXPECT_TRUE(q.yesIsDefault);
  EXPECT_TRUE(q.hasIcon);
  EXPECT_EQ(q.buttons, 2);
}

// A key pressed on the dialog, as the keyboard would deliver it to it.
void press(HWND dialog, WPARAM key) {
  PostMessageA(dialog, WM_KEYDOWN, key, 1);
  PostMessageA(dialog, WM_KEYUP, key, 0xc0000001);
}

// ---- the main window in this process ---------------------------------------

class UpdateCheck : public AppTest {
 protected:
  UpdateCheck() {
    // Published with a key of this test's own.
    connections.updates = testedHost();
    connections.updates.publisherKeys = release::publicKeyOf(key);
    // The update stops the print service that the test installed.
    services.serviceManager = &platform::systemServiceManager();
  }

  // Shows the window, which activates it; the check has ended when the
  // start-up hourglass has.
  void activate(app::MainWindow& window) {
    window.show();
    bool done = eventually(
        [this] {
          ui::pumpMessages();
          return !prompts.isBusy();
        },
        60);
    ASSERT_TRUE(done) << "the first activation's check did not end";
  }

  std::string path(const std::string& name) const { return dir.path() + "\\" + name; }

  const std::string key = signing_test::newPrivateKey();
  DownloadServer server{key};
  const Strings& launched = twins.process.launched;
  const int& ended = twins.process.ends;
};

TEST_F(UpdateCheck, TheBuiltInVersionAsksNothingSuccessFalseShowsNothingABadManifestShowsItsError) {
  // No print service is installed for this one: the twin stands in for it.
  services.serviceManager = &twins.serviceManager;
  // A window built to check nothing asks nothing.
  server.offer("9.9.99");
  downloadRequests();
  {
    app::MainWindow window(services, {connections.api, update::UpdateSource::none()});
    activate(window);
  }
  EXPECT_TRUE(downloadRequests().empty());

  server.offer(config::kVersion);
  {
    app::MainWindow window(services, connections);
    activate(window);
  }
  EXPECT_EQ(downloadRequests(), (Strings{"download GET /impressao/version.json",
                                         "download GET /impressao/version.json.sig"}));
  server.manifest(R"({"success":false,"versao":"9.9.99","message":"Fora do ar"})");
  {
    app::MainWindow window(services, connections);
    activate(window);
  }
  EXPECT_TRUE(prompts.shown.empty());

  // A manifest that is not JSON: the error box, and the hourglass ends all
  // the same.
  server.manifest("<html><body>Servi\xe7o em manuten\xe7\xe3o</body></html>");
  {
    app::MainWindow window(services, connections);
    activate(window);
  }
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].kind, "error");
  EXPECT_FALSE(platform::directoryExists(path("update")));
  EXPECT_TRUE(launched.empty());
}

// The check and the download on the worker: with the download host holding
// the manifest or its signature, or trickling the archive, the window
// answers, the progress box names the step (with the archive's bytes and
// percent, growing), and a cancel leaves no archive, no box shown and the
// print service untouched.
TEST_F(UpdateCheck, AHeldCheckOrATricklingDownloadLeavesTheWindowAnsweringAndCancelsCleanly) {
  services.serviceManager = &twins.serviceManager;
  struct Held {
    const char* control;  // the download host's scripted failure
    bool offer;           // a new version is offered and accepted
    const char* operation;
  };
  const Held kHeld[] = {
      {"kind=hang&path=/impressao/version.json&times=1", false, host::kCheckingForUpdates},
      {"kind=hang&path=/impressao/version.json.sig&times=1", false, host::kCheckingForUpdates},
      {"kind=trickle&n=2000&path=/impressao/impressao.zip", true, host::kDownloadingUpdate},
  };
  std::string manifest = update::versionManifestUrl();
  const std::string base = manifest.substr(0, manifest.find("/impressao/"));
  for (const Held& c : kHeld) {
    SCOPED_TRACE(c.control);
    // An archive of some size, so the trickle lasts.
    std::string padding;
    for (int i = 0; padding.size() < 300000; ++i) padding += std::to_string(i * 7919) + " ";
    server.archive(releaseArchive(padding, "serviço novo"));
    server.offer(c.offer ? "9.9.99" : config::kVersion);
    prompts.confirmAnswers = {true};
    prompts.shown.clear();
    twins.serviceManager.calls.clear();
    downloadRequests();
    net::HttpClient control;
    control.getText(base + "/__control/fail?" + c.control);

    app::MainWindow* window = nullptr;
    real_input::UiThread ui([&](const auto& ready) {
      app::MainWindow w(services, connections);
      window = &w;
      w.show();
      ready(w.hwnd());
      ui::runMessageLoop();
    });
    // Cancelled once the box shows the archive's bytes growing (or at once
    // for the check).
    std::vector<std::string> progress;
    const operation_watch::Watched watched = operation_watch::watchAndCancel(
        ui.hwnd(), window->control("lbTitle").hwnd(), !c.offer,
        [&](const std::vector<std::string>& labels) {
          if (labels.size() < 2 || labels[0] != c.operation) return false;
          if (!c.offer) return true;
          if (progress.empty() || progress.back() != labels[1]) progress.push_back(labels[1]);
          return progress.size() >= 3;
        });
    EXPECT_TRUE(watched.alwaysAnswered) << "the window did not answer within 1 s, " << watched.silence;
    ASSERT_TRUE(watched.boxOpened) << "no progress box";
    EXPECT_TRUE(watched.boxClosed) << "the progress box stayed open after the cancel";
    if (c.offer) {
      ASSERT_GE(progress.size(), 3u);
      const std::regex bytes(R"((\d+) KB de (\d+) KB \((\d+) %\))");
      std::smatch first, last;
      ASSERT_TRUE(std::regex_match(progress[1], first, bytes)) << progress[1];
      ASSERT_TRUE(std::regex_match(progress.back(), last, bytes)) << progress.back();
      EXPECT_LT(std::stoi(first[1]), std::stoi(last[1]));
      EXPECT_EQ(first[2], last[2]);
    }
    ASSERT_TRUE(ui.settles());
    EXPECT_EQ(prompts.texts("confirm"), c.offer ? Strings{kQuestion} : Strings{});
    EXPECT_EQ(prompts.shown.size(), c.offer ? 1u : 0u);
    EXPECT_FALSE(platform::fileExists(path("update\\impressao.zip")));
    for (const std::string& call : twins.serviceManager.calls) EXPECT_NE(call, "stop");
    EXPECT_TRUE(launched.empty());
    control.getText(base + "/__control/reset");
  }
}

TEST_F(UpdateCheck, NoChangesNothingLeavesTheServiceRunningAndIsNotAskedAgain) {
  InstalledService svc(dir.path());
  ASSERT_TRUE(svc.ready());
  DWORD pid = servicePid();
  std::string zip = releaseArchive("tool", "service");
  server.offer("9.9.99");
  server.archive(zip);

  prompts.confirmAnswers = {false};
  app::MainWindow window(services, connections);
  activate(window);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].kind, "confirm");
  EXPECT_EQ(prompts.shown[0].caption, "Confirm");
  EXPECT_EQ(prompts.shown[0].text, kQuestion);

  // Activated again (as after any box): no second question.
  SendMessageA(window.hwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
  ui::pumpMessages();
  EXPECT_EQ(prompts.shown.size(), 1u);

  EXPECT_FALSE(platform::directoryExists(path("update")));
  EXPECT_EQ(serviceState(), 4);
  EXPECT_EQ(servicePid(), pid);
  EXPECT_TRUE(launched.empty());
  EXPECT_EQ(ended, 0);
}

TEST_F(UpdateCheck, AFailedDownloadShowsItsMessageThenUpdatesFromTheArchiveLeftBefore) {
  InstalledService svc(dir.path());
  ASSERT_TRUE(svc.ready());
  platform::createDirectory(path("update"));
  const std::string earlier = releaseArchive("earlier tool", "earlier service");
  platform::writeFileReplacing(path("update\\impressao.zip"), earlier);
  server.offer("9.9.99");
  server.archive(earlier);  // the publication of the archive left before
  server.noArchive();       // the download gets a 404
  downloadRequests();

  prompts.confirmAnswers = {true};
  app::MainWindow window(services, connections);
  activate(window);

  EXPECT_EQ(downloadRequests(), (Strings{"download GET /impressao/version.json",
                                         "download GET /impressao/version.json.sig",
                                         "download GET /impressao/impressao.zip"}));
  EXPECT_EQ(prompts.texts("message"), Strings{"Erro no download da atualiza\xe7\xe3o."});
  EXPECT_TRUE(prompts.texts("error").empty()) << prompts.texts("error")[0];
  EXPECT_EQ(readOr(path("update\\queltaConfig.exe")), "earlier tool");
  EXPECT_EQ(readOr(path("update\\queltaService.exe")), "earlier service");
  EXPECT_EQ(readOr(path("update\\docs\\LEIAME.txt")), "Notas da vers\xe3o 9.9.99");
  EXPECT_EQ(readOr(path("update\\update.bat")), update::updateScriptText(dir.path()));
  EXPECT_EQ(launched, Strings{"\"" + dir.path() + "\\update\\update.bat\""});
  EXPECT_EQ(ended, 1);
  // Stopped and awaited before the files were unpacked.
  EXPECT_EQ(serviceState(), 1);
}

TEST_F(UpdateCheck, DamagedAndEscapingArchivesStopWithTheErrorBoxAndTouchNothing) {
  InstalledService svc(dir.path());
  ASSERT_TRUE(svc.ready());
  DWORD pid = servicePid();
  platform::writeFileReplacing(path("queltaConfig.exe"), "old tool");
  platform::writeFileReplacing(path("libeay32.dll"), "old libeay32");

  ZipWriter stored;
  for (const char* name : update::kUpdatedFiles)
    stored.add({name, std::string("new ") + name, false});
  std::string damaged = stored.bytes();
  damaged[stored.dataOffset(1) + 2] ^= 0x20;
  ZipWriter escaping;
  for (const release::ReleaseFile& file : releaseFiles("new tool", "new service"))
    escaping.add(file.name, file.bytes);
  escaping.add("..\\libeay32.dll", "planted");

  const std::string prefix = "O arquivo de atualiza\xe7\xe3o ";
  struct Case {
    std::string archive;
    std::string error;
  };
  for (const Case& c :
       {Case{damaged, prefix + "est\xe1 danificado: queltaConfig.exe."},
        Case{escaping.bytes(),
             prefix + "foi recusado, uma entrada fica fora da pasta: ..\\libeay32.dll."}}) {
    prompts.shown.clear();
    server.offer("9.9.99");
    server.archive(c.archive);
    prompts.confirmAnswers = {true};
    app::MainWindow window(services, connections);
    activate(window);

    EXPECT_EQ(prompts.texts("error"), Strings{c.error});
    EXPECT_EQ(readOr(path("queltaConfig.exe")), "old tool");
    EXPECT_EQ(readOr(path("libeay32.dll")), "old libeay32");
    EXPECT_FALSE(platform::fileExists(path("update\\update.bat")));
    EXPECT_FALSE(platform::fileExists(path("update\\queltaConfig.exe")));
    EXPECT_FALSE(platform::fileExists(path("update\\libeay32.dll")));
    // The archive was refused before the service was touched.
    EXPECT_EQ(servicePid(), pid);
    EXPECT_TRUE(launched.empty());
    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(prompts.isBusy());
  }
}

TEST_F(UpdateCheck, OnlyTheSignedCurrentPublicationOfTheArchiveServedUpdates) {
  InstalledService svc(dir.path());
  ASSERT_TRUE(svc.ready());
  const DWORD pid = servicePid();
  platform::writeFileReplacing(path("queltaConfig.exe"), "old tool");
  config::storeAcceptedPublication(dir.path(), kNumber);
  const std::string log = print::logFileName(dir.path(), twins.clock.now());

  const std::string zip = releaseArchive("new tool", "new service");
  std::string flipped = zip;
  flipped[zip.size() / 2] ^= 1;
  const std::string valid = release::releaseManifest("9.9.99", zip, kNumber, kValid);
  std::string changed = valid;
  changed[changed.find("9.9.99")] = '8';
  const std::string older = release::releaseManifest("9.9.98", zip, kNumber - 1, kValid);
  // The twin clock stands at 2025-01-01T00:00:00Z.
  const std::string expired =
      release::releaseManifest("9.9.99", zip, kNumber + 1, "2025-01-01T00:00:00Z");
  const std::string unsigned_ = std::string(update::kUpdateSignatureRefused) + ".";
  const std::string archive = "O arquivo de atualiza\xe7\xe3o n\xe3o \xe9 o publicado: ";
  const std::string refused = "Atualiza\xe7\xe3o recusada: a publica\xe7\xe3o n\xba ";
  struct Case {
    std::string manifest, signature, archive, error, logged;
  };
  for (const Case& c : {
           Case{valid, "", zip, unsigned_, ""},
           Case{valid, release::signManifest(valid, signing_test::newPrivateKey()), zip, unsigned_,
                ""},
           Case{changed, server.sign(valid), zip, unsigned_, ""},
           Case{valid, server.sign(older), zip, unsigned_, ""},
           Case{valid, server.sign(valid), flipped,
                archive + "o SHA-256 difere do da "
                          "publica\xe7\xe3o assinada.",
                ""},
           Case{valid, server.sign(valid), zip + "x",
                archive + "tem mais de " + std::to_string(zip.size()) +
                    " bytes, a publica\xe7\xe3o assinada diz " + std::to_string(zip.size()) + ".",
                ""},
           Case{older, server.sign(older), zip, "",
                refused + "7 (vers\xe3o 9.9.98) \xe9 anterior \xe0 n\xba 8, j\xe1 aceita"},
           Case{expired, server.sign(expired), zip, "",
                refused + "9 (vers\xe3o 9.9.99) venceu em 2025-01-01T00:00:00Z"},
       }) {
    SCOPED_TRACE(c.manifest + " " + c.error + c.logged);
    prompts.shown.clear();
    platform::deleteFile(log);
    server.serve(c.manifest, c.signature);
    server.archiveFile(c.archive);
    // Only a publication of the archive served is asked about.
    prompts.confirmAnswers = {true};
    if (c.error.rfind(archive, 0) != 0) prompts.confirmAnswers.clear();
    app::MainWindow window(services, connections);
    activate(window);

    EXPECT_EQ(prompts.texts("error"), c.error.empty() ? Strings{} : Strings{c.error});
    EXPECT_EQ(readOr(log), c.logged.empty() ? "<missing>" : "00:00:00 : " + c.logged + "\r\n");
    EXPECT_EQ(readOr(path("queltaConfig.exe")), "old tool");
    EXPECT_FALSE(platform::fileExists(path("update\\update.bat")));
    EXPECT_FALSE(platform::fileExists(path("update\\queltaConfig.exe")));
    EXPECT_EQ(servicePid(), pid);
    EXPECT_TRUE(launched.empty());
  }
  EXPECT_EQ(config::acceptedPublication(dir.path()), kNumber);

  // The publication itself updates; so does a deliberate downgrade that the
  // publisher signs with a higher number, which becomes the highest.
  const std::string downgrade = releaseArchive("tool 2.0.1", "service 2.0.1");
  struct Update {
    std::string manifest, archive, tool;
  };
  for (const Update& u : {Update{valid, zip, "new tool"},
                          Update{release::releaseManifest("2.0.1", downgrade, kNumber + 1, kValid),
                                 downgrade, "tool 2.0.1"}}) {
    server.manifest(u.manifest);
    server.archiveFile(u.archive);
    prompts.confirmAnswers = {true};
    app::MainWindow window(services, connections);
    activate(window);
    EXPECT_EQ(readOr(path("update\\queltaConfig.exe")), u.tool);
  }
  EXPECT_EQ(launched.size(), 2u);
  EXPECT_EQ(ended, 2);
  EXPECT_EQ(serviceState(), 1);
  EXPECT_EQ(config::acceptedPublication(dir.path()), kNumber + 1);
}

// ---- the real question dialog ----------------------------------------------

class RealQuestion : public ::testing::Test {
 protected:
  RealQuestion() { ui::setPrompts(nullptr); }

  // Asks with the program's own dialog while another thread reads it and
  // answers with `answer`.
  bool ask(const std::function<void(HWND)>& answer) {
    DWORD self = GetCurrentProcessId();
    std::thread user([&] {
      HWND dialog = waitForWindow("#32770", "Confirm", self, 0, 20);
      if (!dialog) return;
      expectTheUpdateQuestion(dialog);
      answer(dialog);
    });
    bool yes = ui::prompts().confirm(update::kUpdateQuestionCaption, kQuestion);
    user.join();
    EXPECT_TRUE(windows("#32770", "Confirm", self).empty());
    return yes;
  }
};

TEST_F(RealQuestion, YesIsTheDefaultAndEscOrTheCloseBoxAnswerNo) {
  EXPECT_TRUE(ask([](HWND dialog) { press(dialog, VK_RETURN); }));
  EXPECT_FALSE(ask([](HWND dialog) { press(dialog, VK_ESCAPE); }));
  EXPECT_FALSE(ask([](HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); }));
  EXPECT_FALSE(ask([](HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDNO)));
  }));
  EXPECT_TRUE(ask([](HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDYES)));
  }));
}

TEST_F(RealQuestion, IsAskedOncePerStartNotAgainWhileOpenNorAfterNo) {
  TempDir appDir;
  config::setApplicationDirectory(appDir.path());
  DownloadServer server;
  server.offer("9.9.99");
  printtest::Recorders twins;
  platform::Services services = twins.all();
  services.http = &net::systemHttp();
  app::MainWindow window(services, {cloud::builtInApiEndpoints(), testedHost()});
  DWORD self = GetCurrentProcessId();
  int questionsWhileOpen = -1;
  bool activationHandled = false;
  std::string unexpected;
  downloadRequests();
  std::thread user([&] {
    HWND dialog = waitForWindow("#32770", "Confirm", self, 0, 30);
    if (!dialog) {
      // An error box instead of the question would wait for ever.
      unexpected = boxesOf(self);
      for (HWND box : windows("#32770", "Quelta Configura\xe7\xe3o", self)) press(box, VK_RETURN);
      return;
    }
    // The window is activated again while its question is open. The check
    // runs within the activation, so once the window has handled it a
    // second question would be open already (and the activation would not
    // return before it closed).
    DWORD_PTR result = 0;
    activationHandled = SendMessageTimeoutA(window.hwnd(), WM_ACTIVATE, WA_ACTIVE, 0, SMTO_NORMAL,
                                            30000, &result) != 0;
    std::vector<HWND> open = windows("#32770", "Confirm", self);
    questionsWhileOpen = static_cast<int>(open.size());
    for (HWND box : open) press(box, VK_ESCAPE);
  });
  window.show();
  eventually(
      [] {
        ui::pumpMessages();
        return !ui::prompts().isBusy();
      },
      40);
  user.join();
  EXPECT_EQ(unexpected, "");
  EXPECT_TRUE(activationHandled);
  EXPECT_EQ(questionsWhileOpen, 1);
  EXPECT_FALSE(ui::prompts().isBusy());

  // After "No": activation asks nothing more. A question would be asked
  // within the activation, after a request for the manifest; a watcher
  // answers one, so that the activation ends either way.
  std::atomic<bool> activated{false}, askedAgain{false};
  std::thread watcher([&] {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!activated && std::chrono::steady_clock::now() < end) {
      for (HWND box : windows("#32770", "Confirm", self)) {
        askedAgain = true;
        press(box, VK_ESCAPE);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  SendMessageA(window.hwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
  activated = true;
  watcher.join();
  EXPECT_FALSE(askedAgain);
  EXPECT_EQ(downloadRequests(), (Strings{"download GET /impressao/version.json",
                                         "download GET /impressao/version.json.sig"}))
      << "the manifest is asked for once, with its signature";
  EXPECT_FALSE(platform::directoryExists(appDir.path() + "\\update"));
  config::setApplicationDirectory("");
}

// ---- the whole update, as the user sees it ---------------------------------

class Process {
 public:
  bool start(const std::string& program, const std::string& directory) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string line = "\"" + program + "\"";
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &info_))
      return false;
    CloseHandle(info_.hThread);
    return true;
  }
  bool attach(DWORD pid) {
    info_.hProcess =
        OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    info_.dwProcessId = pid;
    return info_.hProcess != nullptr;
  }
  bool waitForExit(int seconds) {
    return info_.hProcess &&
           WaitForSingleObject(info_.hProcess, static_cast<DWORD>(seconds) * 1000) == WAIT_OBJECT_0;
  }
  DWORD pid() const { return info_.dwProcessId; }
  DWORD exitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }
  ~Process() {
    if (info_.hProcess) {
      if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(info_.hProcess, 1);
      CloseHandle(info_.hProcess);
    }
  }

 private:
  PROCESS_INFORMATION info_{};
};

TEST(SelfUpdate, YesReplacesToolServiceAndLibrariesAndTheNewServiceRuns) {
  TempDir temp;
  // Where the restaurant installs the tool: accents and blanks, which the
  // script must name in the interpreter's code page.
  const std::string appDir = temp.file("Quelta Impress\xe3o");
  ASSERT_TRUE(CreateDirectoryA(appDir.c_str(), nullptr));
  auto file = [&](const std::string& name) { return appDir + "\\" + name; };

  const std::string oldTool = platform::readFile(windowsPath(QUELTA_CONFIG_EXE));
  const std::string oldService = platform::readFile(windowsPath(QUELTA_SERVICE_EXE));
  const std::string newTool = withStamp(oldTool, kNewStamp);
  const std::string newService = withStamp(oldService, kNewStamp);
  ASSERT_NE(imageStamp(oldTool), kNewStamp);
  ASSERT_NE(imageStamp(oldService), kNewStamp);
  platform::writeFileReplacing(file("queltaConfig.exe"), oldTool);
  platform::writeFileReplacing(file("queltaService.exe"), oldService);
  platform::writeFileReplacing(file("libeay32.dll"), "libeay32 da vers\xe3o antiga");
  platform::writeFileReplacing(file("ssleay32.dll"), "ssleay32 da vers\xe3o antiga");

  DownloadServer server;
  server.offer("9.9.99");
  server.archive(releaseArchive(newTool, newService));
  server.signedNow();
  InstalledService svc(appDir);
  ASSERT_TRUE(svc.ready());
  DWORD oldServicePid = servicePid();
  EXPECT_EQ(runningImage(oldServicePid).stamp, imageStamp(oldService));

  // The old tool asks; Enter answers its default, Yes.
  Process oldToolProcess;
  ASSERT_TRUE(oldToolProcess.start(file("queltaConfig.exe"), appDir));
  HWND question = waitForWindow("#32770", "Confirm", oldToolProcess.pid());
  ASSERT_TRUE(question) << "the old tool did not ask: " << boxesOf(oldToolProcess.pid());
  expectTheUpdateQuestion(question);
  press(question, VK_RETURN);
  ASSERT_TRUE(oldToolProcess.waitForExit(120)) << "the old tool did not end";

  // The script swaps the files and starts the new tool, which starts the
  // stopped service from the new file and, offered 9.9.99 again, asks.
  HWND again = waitForWindow("#32770", "Confirm", 0, oldToolProcess.pid(), 120);
  ASSERT_TRUE(again) << "the new tool did not start; service log:\n" << serviceLogOf(appDir);
  Process newToolProcess;
  ASSERT_TRUE(newToolProcess.attach(processOf(again)));
  RunningImage newToolImage = runningImage(newToolProcess.pid());
  EXPECT_EQ(lower(newToolImage.path), lower(file("queltaConfig.exe")));
  EXPECT_EQ(newToolImage.stamp, kNewStamp);
  expectTheUpdateQuestion(again);

  EXPECT_TRUE(readOr(file("queltaConfig.exe")) == newTool) << "queltaConfig.exe is not the new one";
  EXPECT_TRUE(readOr(file("queltaService.exe")) == newService) << "queltaService.exe is not new";
  EXPECT_EQ(readOr(file("libeay32.dll")), "libeay32 da nova vers\xe3o");
  EXPECT_EQ(readOr(file("ssleay32.dll")), "ssleay32 da nova vers\xe3o");
  ASSERT_TRUE(eventually([] { return serviceState() == 4 && servicePid() != 0; }));
  RunningImage serviceImage = runningImage(servicePid());
  EXPECT_NE(servicePid(), oldServicePid);
  EXPECT_EQ(lower(serviceImage.path), lower(file("queltaService.exe")));
  EXPECT_EQ(serviceImage.stamp, kNewStamp);
  // The script waits for the new tool before it cleans up.
  EXPECT_TRUE(platform::fileExists(file("update\\docs\\LEIAME.txt")));

  // No, with Esc: the new tool runs on without asking again.
  downloadRequests();
  press(again, VK_ESCAPE);
  EXPECT_TRUE(eventually([&] { return !IsWindow(again); }, 10));
  HWND toolWindow = waitForWindow("TForm1", kToolCaption, newToolProcess.pid(), 0, 10);
  ASSERT_TRUE(toolWindow);
  EXPECT_TRUE(platform::directoryExists(file("update")));

  // The old tool had ended before the script started the new one, which
  // therefore runs; a second start now only brings that one to the front.
  SetForegroundWindow(GetDesktopWindow());
  Process second;
  ASSERT_TRUE(second.start(file("queltaConfig.exe"), appDir));
  EXPECT_TRUE(second.waitForExit(20)) << "a second tool runs";
  EXPECT_EQ(second.exitCode(), 0u);
  EXPECT_EQ(windows("TForm1", kToolCaption, 0).size(), 1u);
  EXPECT_EQ(GetForegroundWindow(), toolWindow);

  // Closing the new tool lets the script remove the work directory. A tool
  // that ends has handled every activation; asking again would have needed
  // the manifest again (and an open question would keep it from ending).
  PostMessageA(toolWindow, WM_CLOSE, 0, 0);
  ASSERT_TRUE(newToolProcess.waitForExit(30)) << boxesOf(newToolProcess.pid());
  EXPECT_TRUE(downloadRequests().empty()) << "the new tool asked again";
  EXPECT_TRUE(eventually([&] { return !platform::directoryExists(file("update")); }, 30))
      << "the work directory is still there";
  Strings left = temp.entries();
  EXPECT_EQ(left, Strings{"Quelta Impress\xe3o"});
  EXPECT_TRUE(readOr(file("queltaConfig.exe")) == newTool);
  EXPECT_EQ(serviceState(), 4);
  if (HasFailure()) ADD_FAILURE() << "service log:\n" << serviceLogOf(appDir);
}

// Windows starts a program only when its manifest names the processor it was
// built for, in its own identity and in the common controls it asks for;
// Wine does not check, so the test reads the manifest of the tool as built.
TEST(ToolImage, TheManifestNamesTheProcessorTheToolWasBuiltFor) {
  HMODULE image = LoadLibraryExA(windowsPath(QUELTA_CONFIG_EXE).c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(image);
  HRSRC found = FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
  ASSERT_TRUE(found);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(image, found))),
                             SizeofResource(image, found));
  FreeLibrary(image);
  const std::regex named("processorArchitecture=\"([^\"]*)\"");
  Strings architectures;
  for (auto it = std::sregex_iterator(manifest.begin(), manifest.end(), named);
       it != std::sregex_iterator(); ++it)
    architectures.push_back((*it)[1]);
  const std::string built = sizeof(void*) == 8 ? "amd64" : "X86";
  EXPECT_EQ(architectures, Strings({built, built}));
}

}  // namespace
