// The update: which manifest asks, what the archive may hold, what lands in
// the work directory, the script's exact bytes, and the order of the calls
// to the HTTP client, the print service and the launcher.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>

#include "config/settings.h"
#include "config/version.h"
#include "platform/file_attributes.h"
#include "platform/files.h"
#include "platform/oem_text.h"
#include "platform/profile.h"
#include "print/log_file.h"
#include "release/release_files.h"
#include "tests/support/failure.h"
#include "tests/support/recording_services.h"
#include "tests/support/scripted_http.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/signing_key.h"
#include "tests/support/temp_dir.h"
#include "update/update.h"
#include "update/update_archive.h"
#include "zip/zip_writer.h"

namespace {

using net_test::ScriptedHttp;
using update::ArchiveEntry;
using update::ArchiveError;
using zip::ZipWriter;
using Strings = std::vector<std::string>;

const std::string kManifest = "https://downloads.test/impressao/version.json";
const std::string kArchive = "https://downloads.test/impressao/impressao.zip";

ZipWriter releaseArchive() {
  ZipWriter zip;
  zip.add("libeay32.dll", "new libeay")
      .add("queltaConfig.exe", "new tool")
      .add("queltaService.exe", "new service")
      .add("ssleay32.dll", "new ssleay");
  return zip;
}

TEST(UpdateArchive, EntryNamesStayBelowTheWorkDirectory) {
  EXPECT_EQ(update::relativeParts("queltaConfig.exe"), Strings{"queltaConfig.exe"});
  EXPECT_EQ(update::relativeParts("docs/leia me.txt"), (Strings{"docs", "leia me.txt"}));
  EXPECT_EQ(update::relativeParts("docs\\sub\\a.txt"), (Strings{"docs", "sub", "a.txt"}));
  EXPECT_EQ(update::relativeParts("./docs//a.txt"), (Strings{"docs", "a.txt"}));
  EXPECT_EQ(update::relativeParts("docs/"), Strings{"docs"});
  EXPECT_EQ(update::relativeParts("v1..2/a..b.txt"), (Strings{"v1..2", "a..b.txt"}));

  const std::string outside =
      "EZipException - O arquivo de atualiza\xe7\xe3o foi recusado, uma entrada fica fora da "
      "pasta: ";
  for (const char* name :
       {"..\\queltaConfig.exe", "../x", "docs/../../x", "docs\\..\\..\\x", "\\Windows\\x.dll",
        "/etc/passwd", "C:\\x.exe", "C:x.exe", "a.txt:stream", "docs/.. /x", "...", "./"}) {
    EXPECT_EQ(failureOf([&] { update::relativeParts(name); }), outside + name) << name;
  }
  EXPECT_EQ(failureOf([] { update::relativeParts(""); }),
            "EZipException - O arquivo de atualiza\xe7\xe3o foi recusado, uma entrada n\xe3o tem "
            "nome");

  // Names Windows cannot create; a character the code page lacks reads as "?".
  const std::string invalid =
      "EZipException - O arquivo de atualiza\xe7\xe3o foi recusado, uma entrada tem um nome que o "
      "Windows n\xe3o aceita: ";
  for (const char* name : {"a<b.txt",     "a>b",
                           "a\"b",        "a|b",
                           "a?b",         "docs/Servi??o.txt",
                           "a*b",         "a\tb",
                           "docs\x1f/x",  "CON",
                           "con.txt",     "Aux.dll",
                           "NUL",         "nul .txt",
                           "PRN.log.txt", "COM1",
                           "com9.log",    "LPT1",
                           "lpt9.txt",    "docs/CON/x.txt",
                           "leia-me.",    "leia-me ",
                           "docs./x",     "docs /x"}) {
    EXPECT_EQ(failureOf([&] { update::relativeParts(name); }), invalid + name) << name;
  }
  for (const char* name : {"COM10.txt", "console.txt", "LPT.txt", "auxiliar.dll", "nula",
                           "leia-me.txt", "a b/c d.txt", "Servi\xe7o.txt"}) {
    EXPECT_EQ(failureOf([&] { update::relativeParts(name); }), "no failure") << name;
  }
}

TEST(UpdateArchive, ReadsStoredAndDeflatedEntriesNamesAndAttributes) {
  std::string big(200000, 'x');
  for (size_t i = 0; i < big.size(); i += 7) big[i] = static_cast<char>('a' + i % 26);
  ZipWriter zip;
  zip.add("queltaConfig.exe", big);
  ZipWriter::Entry stored{"Leia-me.txt", "texto", false};
  zip.add(stored);
  zip.addDirectory("docs/");
  // c-cedilla and a-acute are the same bytes in code pages 437 and 850.
  zip.add("docs/Servi\x87o Unit\xa0rio.txt", "oem");
  ZipWriter::Entry utf8{"docs/Servi\xc3\xa7o.txt", "utf8"};
  utf8.flags = 0x0800;
  zip.add(utf8);
  ZipWriter::Entry dos{"ro.dll", "ro"};
  dos.external = 0x01 | 0x02 | 0x20;
  zip.add(dos);
  ZipWriter::Entry unixReadOnly{"unix.txt", "u"};
  unixReadOnly.madeBy = 0x0314;
  unixReadOnly.external = 0100444u << 16;
  zip.add(unixReadOnly);
  ZipWriter::Entry unixWritable{"unix-w.txt", "w"};
  unixWritable.madeBy = 0x0314;
  unixWritable.external = 0100644u << 16;
  zip.add(unixWritable);

  std::vector<ArchiveEntry> entries = update::readArchive(zip.bytes());
  ASSERT_EQ(entries.size(), 8u);
  EXPECT_EQ(entries[0].data, big);
  EXPECT_EQ(entries[1].data, "texto");
  EXPECT_TRUE(entries[2].directory);
  EXPECT_EQ(entries[2].parts, Strings{"docs"});
  EXPECT_EQ(entries[3].name, "docs/Servi\xe7o Unit\xe1rio.txt");
  EXPECT_EQ(entries[3].parts, (Strings{"docs", "Servi\xe7o Unit\xe1rio.txt"}));
  EXPECT_EQ(entries[4].name, "docs/Servi\xe7o.txt");
  EXPECT_EQ(entries[5].attributes, 0x23u);
  EXPECT_EQ(entries[6].attributes, 0x01u);
  EXPECT_EQ(entries[7].attributes, 0x00u);
  EXPECT_FALSE(entries[0].directory);
}

#ifndef _WIN32
TEST(UpdateArchive, NamesOutsideWindowsReadCodePage850) {
  EXPECT_EQ(platform::oemToAnsi("Configura\x87\xc6o \x80\xb5\xc7 \xc9\xb0"),
            "Configura\xe7\xe3o \xc7\xc1\xc3 ??");
}
#endif

TEST(UpdateArchive, DamagedEncryptedAndForeignArchivesAreRefused) {
  ZipWriter zip;
  zip.add("queltaConfig.exe", std::string(5000, 'a')).add("queltaService.exe", "svc");
  std::string bytes = zip.bytes();
  ASSERT_NO_THROW(update::readArchive(bytes));

  // A flipped byte in the stored data of the second entry: its checksum
  // fails.
  ZipWriter storedZip;
  ZipWriter::Entry a{"a.txt", "abcdef", false};
  ZipWriter::Entry b{"queltaService.exe", "0123456789", false};
  storedZip.add(a).add(b);
  std::string damaged = storedZip.bytes();
  damaged[storedZip.dataOffset(1) + 3] ^= 0x55;
  EXPECT_EQ(failureOf([&] { update::readArchive(damaged); }),
            "EZipException - O arquivo de atualiza\xe7\xe3o est\xe1 danificado: queltaService.exe");

  // Deflated data cut short.
  std::string cut = bytes;
  cut[zip.dataOffset(0)] ^= 0xff;
  cut[zip.dataOffset(0) + 1] ^= 0xff;
  EXPECT_EQ(failureOf([&] { update::readArchive(cut); }),
            "EZipException - O arquivo de atualiza\xe7\xe3o est\xe1 danificado: queltaConfig.exe");

  const std::string notZip =
      "EZipException - O arquivo de atualiza\xe7\xe3o n\xe3o \xe9 um arquivo ZIP v\xe1lido";
  EXPECT_EQ(failureOf([] { update::readArchive("<html>404 Not Found</html>"); }), notZip);
  EXPECT_EQ(failureOf([] { update::readArchive(""); }), notZip);
  EXPECT_EQ(failureOf([&] { update::readArchive(bytes.substr(0, bytes.size() - 30)); }), notZip);

  ZipWriter locked;
  ZipWriter::Entry secret{"queltaConfig.exe", "x", false};
  secret.flags = 0x0001;
  locked.add(secret);
  EXPECT_EQ(failureOf([&] { update::readArchive(locked.bytes()); }),
            "EZipException - O arquivo de atualiza\xe7\xe3o tem senha: queltaConfig.exe");
}

TEST(UpdateArchive, WritesBelowTheDirectoryReplacingReadOnlyFiles) {
  TempDir dir;
  platform::writeFileReplacing(dir.file("ro.dll"), "old");
  ASSERT_TRUE(platform::setFileAttributes(dir.file("ro.dll"), platform::kAttributeReadOnly));
  ZipWriter zip;
  zip.addDirectory("vazia/");
  ZipWriter::Entry ro{"ro.dll", "new"};
  ro.external = 0x01;
  zip.add(ro);
  zip.add("a/b/c.txt", "deep");
  ZipWriter::Entry hidden{"oculto.dat", "h"};
  hidden.external = 0x02 | 0x04 | 0x20;
  zip.add(hidden);
  update::writeEntries(update::readArchive(zip.bytes()), dir.path());
#ifdef _WIN32
  // Windows keeps hidden and system as well (Wine reports every file as
  // archived, so that bit is not compared).
  EXPECT_EQ(platform::fileAttributes(dir.file("oculto.dat")).value_or(0) & 0x07u, 0x06u);
  EXPECT_EQ(platform::fileAttributes(dir.file("ro.dll")).value_or(0) & 0x07u, 0x01u);
#endif

  EXPECT_TRUE(platform::directoryExists(update::pathBelow(dir.path(), {"vazia"})));
  EXPECT_EQ(platform::readFile(dir.file("ro.dll")), "new");
  EXPECT_EQ(platform::fileAttributes(dir.file("ro.dll")).value_or(0) & platform::kAttributeReadOnly,
            platform::kAttributeReadOnly);
  EXPECT_EQ(platform::readFile(update::pathBelow(dir.path(), {"a", "b", "c.txt"})), "deep");
  // Written again over its own read-only result, as a second run would.
  update::writeEntries(update::readArchive(zip.bytes()), dir.path());
  EXPECT_EQ(platform::readFile(dir.file("ro.dll")), "new");
}

TEST(UpdateEndpoints, ManifestAndArchiveComeOverHttpsFromTheOneDownloadHost) {
  const std::string manifest = update::versionManifestUrl();
  EXPECT_EQ(manifest.rfind("https://", 0), 0u) << manifest;
  EXPECT_EQ(manifest.substr(manifest.size() - 23), "/impressao/version.json");
  const std::string archive = update::updateArchiveUrl();
  EXPECT_EQ(archive.substr(0, archive.size() - 24), manifest.substr(0, manifest.size() - 23));
  EXPECT_EQ(archive.substr(archive.size() - 24), "/impressao/impressao.zip");
}

TEST(UpdateScript, TwelveLinesAfterTheWaitForTheOldToolWithTheDirectoryQuoted) {
  const std::string expected =
      "set quelta_espera=0\r\n"
      ":aguarda\r\n"
      "if not exist \"C:\\Quelta Servidor\\queltaConfig.exe\" goto atualiza\r\n"
      "type nul 2>>\"C:\\Quelta Servidor\\queltaConfig.exe\" "
      ">\"C:\\Quelta Servidor\\update\\queltaConfig.livre\"\r\n"
      "if exist \"C:\\Quelta Servidor\\update\\queltaConfig.livre\" goto atualiza\r\n"
      "set /a quelta_espera+=1\r\n"
      "if %quelta_espera% geq 30 goto atualiza\r\n"
      "ping -n 2 127.0.0.1 >nul\r\n"
      "goto aguarda\r\n"
      ":atualiza\r\n"
      "del \"C:\\Quelta Servidor\\libeay32.dll\"\r\n"
      "del \"C:\\Quelta Servidor\\queltaConfig.exe\"\r\n"
      "del \"C:\\Quelta Servidor\\queltaService.exe\"\r\n"
      "del \"C:\\Quelta Servidor\\ssleay32.dll\"\r\n"
      "move \"C:\\Quelta Servidor\\update\\libeay32.dll\" \"C:\\Quelta Servidor\\libeay32.dll\"\r\n"
      "move \"C:\\Quelta Servidor\\update\\queltaConfig.exe\" "
      "\"C:\\Quelta Servidor\\queltaConfig.exe\"\r\n"
      "move \"C:\\Quelta Servidor\\update\\queltaService.exe\" "
      "\"C:\\Quelta Servidor\\queltaService.exe\"\r\n"
      "move \"C:\\Quelta Servidor\\update\\ssleay32.dll\" \"C:\\Quelta Servidor\\ssleay32.dll\"\r\n"
      "call \"C:\\Quelta Servidor\\queltaConfig.exe\"\r\n"
      "del \"C:\\Quelta Servidor\\update\\impressao.zip\"\r\n"
      "start \"\" /b cmd /c ping -n 3 127.0.0.1 ^& rd \"C:\\Quelta Servidor\\update\" /S /Q\r\n"
      "del \"C:\\Quelta Servidor\\update\\update.bat\"\r\n"
      "rd \"C:\\Quelta Servidor\\update\" /S /Q\r\n";
  EXPECT_EQ(update::updateScriptText("C:\\Quelta Servidor"), expected);
  EXPECT_EQ(update::updateScriptCommandLine("C:\\Quelta Servidor"),
            "\"C:\\Quelta Servidor\\update\\update.bat\"");

  // "%" would start a variable inside the script.
  std::string percent = update::updateScriptText("C:\\Bar & Grill 100%");
  EXPECT_NE(percent.find("del \"C:\\Bar & Grill 100%%\\libeay32.dll\"\r\n"), std::string::npos);
  EXPECT_EQ(percent.find("100%\\"), std::string::npos);

  // The interpreter reads the script in the OEM code page, 850 here.
  std::string accented = update::updateScriptText("C:\\Quelta Impress\xe3o");
  EXPECT_NE(accented.find("call \"C:\\Quelta Impress\xc6o\\queltaConfig.exe\"\r\n"),
            std::string::npos);
  EXPECT_EQ(accented.find('\xe3'), std::string::npos);
}

class UpdateServer : public ::testing::Test {
 protected:
  UpdateServer() {
    twins.process.journal = &events;
    twins.serviceManager.onStop = [this] {
      events.push_back("stop service");
      EXPECT_TRUE(platform::fileExists(file("update", "impressao.zip")));
    };
  }

  std::string file(const std::string& a, const std::string& b = "") const {
    return b.empty() ? update::pathBelow(dir.path(), {a}) : update::pathBelow(dir.path(), {a, b});
  }

  // The publication of `archive` as the host serves it, signed.
  update::Publication offer(const std::string& version, const std::string& archive) {
    const update::Publication published{version, update::sha256Hex(archive),
                                        static_cast<int32_t>(archive.size()), 8,
                                        "2030-01-01T00:00:00Z"};
    const std::string manifest = release::releaseManifest(version, archive, 8, published.expires);
    http.answer(kManifest, manifest);
    http.answer(kManifest + ".sig", release::signManifest(manifest, key));
    http.answer(kArchive, archive);
    return published;
  }

  TempDir dir;
  ScriptedHttp http;
  Strings events;
  ScriptedPrompts port{events};
  printtest::Recorders twins;
  const std::string key = signing_test::newPrivateKey();
  update::UpdateContext context{http,
                                port,
                                twins.serviceManager,
                                twins.process,
                                twins.clock,
                                dir.path(),
                                config::kVersion,
                                {true, kManifest, kArchive, release::publicKeyOf(key)}};
};

TEST_F(UpdateServer, AnOfferedVersionAnsweredYesUnpacksWritesTheScriptLaunchesItAndEnds) {
  ZipWriter zip = releaseArchive();
  zip.add("docs/LEIAME.txt", "notas");
  std::string archive = zip.bytes();
  offer("9.9.99", archive);

  port.confirmAnswers = {true};
  EXPECT_EQ(update::checkForUpdate(context), update::VersionCheckOutcome::kUpdated);

  std::string commandLine = "launch \"" + dir.path() + "\\update\\update.bat\"";
  EXPECT_EQ(events, (Strings{"confirm Confirm " + std::string(update::kUpdateQuestion), "busy",
                             "stop service", "normal", commandLine, "end", "normal"}));
  EXPECT_EQ(http.calls, (Strings{"stream " + kManifest, "stream " + kManifest + ".sig",
                                 "stream " + kArchive, "disconnect", "disconnect"}));
  EXPECT_EQ(platform::readFile(file("update", "impressao.zip")), archive);
  EXPECT_EQ(platform::readFile(file("update", "queltaConfig.exe")), "new tool");
  EXPECT_EQ(platform::readFile(file("update", "queltaService.exe")), "new service");
  EXPECT_EQ(platform::readFile(file("update", "libeay32.dll")), "new libeay");
  EXPECT_EQ(platform::readFile(file("update", "ssleay32.dll")), "new ssleay");
  EXPECT_EQ(platform::readFile(update::pathBelow(dir.path(), {"update", "docs", "LEIAME.txt"})),
            "notas");
  EXPECT_EQ(platform::readFile(file("update", "update.bat")), update::updateScriptText(dir.path()));
  // The application directory itself is the script's to change; the
  // settings keep the publication accepted.
  EXPECT_EQ(dir.entries(), (Strings{"quelta.dll", "update"}));
  EXPECT_EQ(config::acceptedPublication(dir.path()), 8);
}

// A signed publication that has expired, is numbered for more than a day
// after the computer's clock, or is older than the one accepted asks
// nothing, says why in the day log and leaves the accepted number; one a
// day ahead is a clock a little off, and is taken.
TEST_F(UpdateServer, RefusedPublicationsAskNothingLogWhyAndKeepTheAcceptedNumber) {
  config::storeAcceptedPublication(dir.path(), 8);
  const int32_t minute = static_cast<int32_t>(twins.clock.utcSeconds() / 60);  // 2025-01-01
  const std::string refused = "Atualiza\xe7\xe3o recusada: a publica\xe7\xe3o n\xba ";
  const struct {
    int32_t number;
    const char* expires;
    std::string logged;
  } cases[] = {
      {minute + 24 * 60 + 1, "2030-01-01T00:00:00Z",
       refused + std::to_string(minute + 24 * 60 + 1) +
           " (vers\xe3o 9.9.99) \xe9 de mais de um dia depois do rel\xf3gio deste computador"},
      {2147483647, "2030-01-01T00:00:00Z",
       refused + "2147483647 (vers\xe3o 9.9.99) \xe9 de mais de um dia depois do rel\xf3gio deste "
                 "computador"},
      {7, "2030-01-01T00:00:00Z",
       refused + "7 (vers\xe3o 9.9.99) \xe9 anterior \xe0 n\xba 8, j\xe1 aceita"},
      {9, "2025-01-01T00:00:00Z", refused + "9 (vers\xe3o 9.9.99) venceu em 2025-01-01T00:00:00Z"},
  };
  const std::string log = print::logFileName(dir.path(), twins.clock.now());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.logged);
    platform::deleteFile(log);
    const std::string manifest = release::releaseManifest("9.9.99", "", c.number, c.expires);
    http.answer(kManifest, manifest);
    http.answer(kManifest + ".sig", release::signManifest(manifest, key));
    EXPECT_EQ(update::checkForUpdate(context), update::VersionCheckOutcome::kRefused);
    EXPECT_EQ(platform::readFile(log), "00:00:00 : " + c.logged + "\r\n");
    EXPECT_EQ(config::acceptedPublication(dir.path()), 8);
  }
  EXPECT_TRUE(events.empty());

  const std::string ahead = release::releaseManifest(config::kVersion, "", minute + 24 * 60,
                                                     "2030-01-01T00:00:00Z");
  http.answer(kManifest, ahead);
  http.answer(kManifest + ".sig", release::signManifest(ahead, key));
  EXPECT_EQ(update::checkForUpdate(context), update::VersionCheckOutcome::kNothingNew);
  EXPECT_EQ(config::acceptedPublication(dir.path()), minute + 24 * 60);
}

// A fresh install, or one whose accepted number does not read, takes no
// publication older than the program: the build's minute is the floor.
TEST_F(UpdateServer, NoPublicationOlderThanTheProgramIsTakenWhateverTheSettingsSay) {
  const int64_t built = update::UpdateSource::downloadHost().floor;
  EXPECT_GT(built, 29000000);  // 2025-02-20: the build's minute, not none
  EXPECT_LE(built, static_cast<int64_t>(std::time(nullptr)) / 60);

  const int32_t floor = static_cast<int32_t>(twins.clock.utcSeconds() / 60) - 60;
  context.source.floor = floor;
  const std::string log = print::logFileName(dir.path(), twins.clock.now());
  const std::string older = release::releaseManifest("9.9.99", "", floor - 1, "2030-01-01T00:00:00Z");
  for (const char* stored : {"", "x12"}) {
    SCOPED_TRACE(stored);
    platform::writeProfileString(config::settingsFile(dir.path()), config::kSectionConfig,
                                 "publicacaoAceita", stored);
    platform::deleteFile(log);
    http.answer(kManifest, older);
    http.answer(kManifest + ".sig", release::signManifest(older, key));
    EXPECT_EQ(update::checkForUpdate(context), update::VersionCheckOutcome::kRefused);
    EXPECT_EQ(platform::readFile(log),
              "00:00:00 : Atualiza\xe7\xe3o recusada: a publica\xe7\xe3o n\xba " +
                  std::to_string(floor - 1) +
                  " (vers\xe3o 9.9.99) \xe9 anterior a esta vers\xe3o do programa, de "
                  "2024-12-31T23:00:00Z\r\n");
  }
  const std::string current =
      release::releaseManifest(config::kVersion, "", floor, "2030-01-01T00:00:00Z");
  http.answer(kManifest, current);
  http.answer(kManifest + ".sig", release::signManifest(current, key));
  EXPECT_EQ(update::checkForUpdate(context), update::VersionCheckOutcome::kNothingNew);
  EXPECT_EQ(config::acceptedPublication(dir.path()), floor);
  EXPECT_TRUE(events.empty());
}

// A host that sends more than any manifest or signature is, or more than the
// signed archive: read no further, the error of a damaged publication or of
// the archive, nothing accepted, written or stopped.
TEST_F(UpdateServer, OversizeBodiesAreRefusedBeforeAnythingIsWrittenOrStopped) {
  const std::string archive = releaseArchive().bytes();
  offer("9.9.99", archive);
  const std::string manifest = release::releaseManifest("9.9.99", archive, 8, "2030-01-01T00:00:00Z");
  const std::string damaged = "EUpdateError - " + std::string(update::kUpdateDamaged);
  http.answer(kManifest, manifest + std::string(update::kManifestMostBytes, ' '));
  EXPECT_EQ(failureOf([&] { update::checkForUpdate(context); }), damaged);
  http.answer(kManifest, manifest);
  http.answer(kManifest + ".sig", std::string(update::kSignatureMostBytes + 1, 's'));
  EXPECT_EQ(failureOf([&] { update::checkForUpdate(context); }), damaged);
  EXPECT_EQ(config::acceptedPublication(dir.path()), 0);

  offer("9.9.99", archive);
  http.answer(kArchive, archive + "x");
  port.confirmAnswers = {true};
  EXPECT_EQ(failureOf([&] { update::checkForUpdate(context); }),
            "EZipException - O arquivo de atualiza\xe7\xe3o n\xe3o \xe9 o publicado: tem mais de " +
                std::to_string(archive.size()) + " bytes, a publica\xe7\xe3o assinada diz " +
                std::to_string(archive.size()));
  EXPECT_FALSE(platform::fileExists(file("update", "impressao.zip")));
  EXPECT_EQ(events, (Strings{"confirm Confirm " + std::string(update::kUpdateQuestion), "busy",
                             "normal"}));
}

TEST_F(UpdateServer, TheBuiltInVersionOrSuccessFalseAsksNothingAndNoAnswersNo) {
  const std::string version = config::kVersion;
  offer(version, "");
  EXPECT_EQ(update::checkForUpdate(context), update::VersionCheckOutcome::kNothingNew);
  const std::string off = R"({"success":false,"versao":"9.9.99"})";
  http.answer(kManifest, off);
  http.answer(kManifest + ".sig", release::signManifest(off, key));
  EXPECT_EQ(update::checkForUpdate(context), update::VersionCheckOutcome::kNothingNew);
  EXPECT_TRUE(events.empty());

  // Older, newer or merely different text: each asks.
  for (const std::string& offered :
       {std::string("2.0.12"), std::string("9.9.99"), version + " ", "V" + version}) {
    events.clear();
    port.confirmAnswers = {false};
    offer(offered, "");
    EXPECT_EQ(update::checkForUpdate(context), update::VersionCheckOutcome::kDeclined) << offered;
    EXPECT_EQ(events.size(), 1u) << offered;
  }
  // Nothing was downloaded; each check disconnected.
  for (const std::string& call : http.calls) EXPECT_NE(call, "stream " + kArchive);
  EXPECT_EQ(http.calls.back(), "disconnect");
  EXPECT_EQ(dir.entries(), Strings{"quelta.dll"});
}

TEST_F(UpdateServer, AManifestThatFailsRunsOutAndStillDisconnects) {
  const std::string noSuccess = R"({"versao":"9.9.99"})";
  http.answer(kManifest, noSuccess);
  http.answer(kManifest + ".sig", release::signManifest(noSuccess, key));
  EXPECT_NE(failureOf([&] { update::checkForUpdate(context); }), "no failure");
  http.fail(kManifest, [] { throw quelta::Error("EIdSocketError", "Socket Error # 10061"); });
  EXPECT_EQ(failureOf([&] { update::checkForUpdate(context); }),
            "EIdSocketError - Socket Error # 10061");
  EXPECT_EQ(http.calls, (Strings{"stream " + kManifest, "stream " + kManifest + ".sig",
                                 "disconnect", "stream " + kManifest, "disconnect"}));
  EXPECT_TRUE(events.empty());
}

TEST_F(UpdateServer, AFailedDownloadUsesAnArchiveLeftByAnEarlierRun) {
  platform::createDirectory(file("update"));
  const std::string left = releaseArchive().bytes();
  platform::writeFileReplacing(file("update", "impressao.zip"), left);
  const update::Publication published = offer("9.9.99", left);
  http.fail(kArchive, [] { throw quelta::Error("EIdHTTPProtocolException", "HTTP/1.1 404"); });

  EXPECT_EQ(update::updateServer(context, published), update::UpdateOutcome::kLaunched);
  EXPECT_EQ(events[0], "busy");
  EXPECT_EQ(events[1], "message Erro no download da atualiza\xe7\xe3o.");
  EXPECT_EQ(events[2], "stop service");
  EXPECT_EQ(events.back(), "normal");
  EXPECT_EQ(platform::readFile(file("update", "queltaConfig.exe")), "new tool");
}

TEST_F(UpdateServer, NoArchiveAtAllEndsWithItsMessageAndTheServiceUntouched) {
  http.fail(kArchive, [] { throw quelta::Error("EIdSocketError", "Connection refused"); });
  EXPECT_EQ(update::updateServer(context, {}), update::UpdateOutcome::kNoArchive);
  EXPECT_EQ(events, (Strings{"busy", "message Erro no download da atualiza\xe7\xe3o.",
                             "message Arquivo de atualiza\xe7\xe3o n\xe3o encontrado.", "normal"}));
  EXPECT_EQ(http.calls, (Strings{"stream " + kArchive, "disconnect"}));
}

TEST_F(UpdateServer, UnusableArchivesStopBeforeTheServiceAndWriteNothing) {
  ZipWriter escaping = releaseArchive();
  escaping.add("..\\queltaConfig.exe", "planted");
  ZipWriter incomplete;
  incomplete.add("libeay32.dll", "l").add("queltaConfig.exe", "c").add("ssleay32.dll", "s");
  ZipWriter storedRelease;
  for (const char* name : update::kUpdatedFiles) storedRelease.add({name, "data", false});
  std::string damaged = storedRelease.bytes();
  damaged[storedRelease.dataOffset(2)] ^= 1;

  // A release with one more entry, or the entry changed.
  auto releaseWith = [](ZipWriter::Entry entry) { return releaseArchive().add(entry).bytes(); };
  ZipWriter::Entry shortStream{"docs/leia.txt", "hello world"};
  shortStream.declaredCrc = 0xDEADBEEF;
  shortStream.declaredSize = 1000;
  ZipWriter::Entry longerThanDeclared{"docs/leia.txt", std::string(1 << 20, 'z')};
  longerThanDeclared.declaredSize = 1000;
  ZipWriter::Entry otherCrc{"docs/leia.txt", "hello world", false};
  otherCrc.declaredCrc = 0x12345678;
  ZipWriter::Entry declaredHuge{"docs/grande.bin", "x"};
  declaredHuge.declaredSize = static_cast<uint32_t>(update::kLargestEntry + 1);
  ZipWriter tooMuchInAll = releaseArchive();
  for (int i = 0; i < 3; ++i) {
    ZipWriter::Entry part{"parte" + std::to_string(i) + ".bin", "x"};
    part.declaredSize = static_cast<uint32_t>(update::kLargestEntry);
    tooMuchInAll.add(part);
  }
  ZipWriter tooMany = releaseArchive();
  for (uint64_t i = 0; i < update::kMostEntries; ++i) tooMany.add("d/" + std::to_string(i), "");
  ZipWriter::Entry utf8Name{"docs/\xe4\xb8\xad.txt", "x"};
  utf8Name.flags = 0x0800;
  ZipWriter clash = releaseArchive();
  clash.add("docs", "a file").add("Docs/leia.txt", "in a directory");

  struct Case {
    std::string archive;
    std::string error;
  };
  const std::string prefix = "EZipException - O arquivo de atualiza\xe7\xe3o ";
  for (const Case& c : {
           Case{escaping.bytes(),
                prefix + "foi recusado, uma entrada fica fora da pasta: ..\\queltaConfig.exe"},
           Case{damaged, prefix + "est\xe1 danificado: queltaService.exe"},
           Case{incomplete.bytes(), prefix + "n\xe3o cont\xe9m queltaService.exe"},
           Case{"not a zip", prefix + "n\xe3o \xe9 um arquivo ZIP v\xe1lido"},
           Case{releaseWith(shortStream), prefix + "est\xe1 danificado: docs/leia.txt"},
           Case{releaseWith(longerThanDeclared), prefix + "est\xe1 danificado: docs/leia.txt"},
           Case{releaseWith(otherCrc), prefix + "est\xe1 danificado: docs/leia.txt"},
           Case{releaseWith(declaredHuge),
                prefix + "foi recusado, \xe9 grande demais: docs/grande.bin"},
           Case{tooMuchInAll.bytes(), prefix + "foi recusado, \xe9 grande demais: parte1.bin"},
           Case{tooMany.bytes(), prefix + "foi recusado, tem entradas demais"},
           Case{clash.bytes(),
                prefix + "foi recusado, um arquivo e uma pasta t\xeam o mesmo nome: Docs/leia.txt"},
           Case{releaseWith({"docs/LPT1.txt", "x"}),
                prefix + "foi recusado, uma entrada tem um nome que o Windows n\xe3o aceita: "
                         "docs/LPT1.txt"},
           // A character the code page lacks reads as "?".
           Case{releaseWith(utf8Name),
                prefix + "foi recusado, uma entrada tem um nome que o Windows n\xe3o aceita: "
                         "docs/?.txt"},
       }) {
    TempDir app;
    platform::writeFileReplacing(update::pathBelow(app.path(), {"queltaConfig.exe"}), "old tool");
    context.appDir = app.path();
    const update::Publication published = offer("9.9.99", c.archive);
    events.clear();
    EXPECT_EQ(failureOf([&] { update::updateServer(context, published); }), c.error);
    EXPECT_EQ(events, (Strings{"busy", "normal"}));
    // The downloaded archive is all there is: no entry, no script.
    EXPECT_EQ(app.entries(), (Strings{"queltaConfig.exe", "update"}));
    EXPECT_EQ(platform::readFile(update::pathBelow(app.path(), {"queltaConfig.exe"})), "old tool");
    EXPECT_FALSE(platform::fileExists(update::pathBelow(app.path(), {"update", "update.bat"})));
    EXPECT_FALSE(
        platform::fileExists(update::pathBelow(app.path(), {"update", "queltaConfig.exe"})));
  }
}

TEST(UpdateArchive, TheProgramFilesAreFoundWhateverTheirLetterCase) {
  ZipWriter zip;
  zip.add("LIBEAY32.DLL", "l")
      .add("QueltaConfig.exe", "c")
      .add("queltaservice.EXE", "s")
      .add("ssleay32.dll", "s");
  EXPECT_EQ(update::checkUpdateArchive(zip.bytes()).size(), 4u);
}

TEST_F(UpdateServer, AFolderTheScriptCannotNameIsRefusedBeforeTheServiceStops) {
  // The euro sign has no place in code page 850.
  const std::string app = update::pathBelow(dir.path(), {"Caf\xe9 \x80 1"});
  platform::createDirectory(app);
  context.appDir = app;
  const update::Publication published = offer("9.9.99", releaseArchive().bytes());
  EXPECT_EQ(failureOf([&] { update::updateServer(context, published); }),
            "EUpdateError - A pasta \"" + app +
                "\" tem no nome caracteres que o prompt de comando n\xe3o l\xea; a "
                "atualiza\xe7\xe3o n\xe3o foi feita");
  EXPECT_EQ(events, (Strings{"busy", "normal"}));
  EXPECT_FALSE(platform::fileExists(update::pathBelow(app, {"update", "update.bat"})));
  EXPECT_FALSE(platform::fileExists(update::pathBelow(app, {"update", "queltaConfig.exe"})));
}

TEST_F(UpdateServer, AScriptThatCannotBeStartedKeepsTheProgramRunning) {
  const update::Publication published = offer("9.9.99", releaseArchive().bytes());
  platform::createDirectory(file("update"));
  platform::writeFileReplacing(file("update", "queltaConfig.livre"), "");
  twins.process.launches = false;
  EXPECT_EQ(failureOf([&] { update::updateServer(context, published); }),
            "EOSError - N\xe3o foi poss\xedvel iniciar a atualiza\xe7\xe3o (update\\update.bat)");
  EXPECT_EQ(std::count(events.begin(), events.end(), "end"), 0);
  // A probe mark left by an earlier run would let the script go on while
  // the old tool still runs.
  EXPECT_FALSE(platform::fileExists(file("update", "queltaConfig.livre")));
  EXPECT_TRUE(platform::fileExists(file("update", "update.bat")));
}

}  // namespace
