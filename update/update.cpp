#include "update/update.h"

#include <vector>

#include "config/settings.h"
#include "host/operation_names.h"
#include "json/json.h"
#include "net/disconnect_guard.h"
#include "net/http_client.h"
#include "platform/files.h"
#include "platform/oem_text.h"
#include "platform/text_locale.h"
#include "print/log_file.h"
#include "service/service_check.h"
#include "service/service_control.h"
#include "update/update_archive.h"

namespace update {
namespace {

// The script probes the old tool's file through this one: it is created only
// when the tool's file could be opened for writing, which a running program's
// file cannot.
const char kToolFreeMark[] = "queltaConfig.livre";

// The script tries for about this many seconds, one try a second, for the
// old tool to have ended; after that it goes on regardless.
const int kToolWaitTries = 30;

const char kCrLf[] = "\r\n";

constexpr int64_t kMinutesPerDay = 24 * 60;

std::vector<std::string> parts(std::initializer_list<const char*> names) {
  return std::vector<std::string>(names.begin(), names.end());
}

// A path as the command interpreter reads it inside a script, where "%"
// starts a variable: doubled, it stands for itself.
std::string scriptPath(const std::string& path) {
  std::string text;
  for (char c : path) {
    text += c;
    if (c == '%') text += '%';
  }
  return text;
}

// Fails on an archive that would remove one of the four program files
// without bringing its replacement: the script deletes all four.
void requireProgramFiles(const std::vector<ArchiveEntry>& entries) {
  for (const char* name : kUpdatedFiles) {
    bool found = false;
    // Matched as Windows names files, without regard to letter case.
    for (const ArchiveEntry& entry : entries)
      found |= !entry.directory && entry.parts.size() == 1 &&
               platform::lowerCase(entry.parts[0]) == platform::lowerCase(name);
    if (!found)
      throw ArchiveError(std::string("O arquivo de atualiza\xe7\xe3o n\xe3o cont\xe9m ") + name);
  }
}

// A body read up to `most` bytes and no further: the request stops the
// moment it passes them, raising what `tooLong` raises, so a host that
// sends without end fills neither memory nor disk. `received` is told the
// bytes as they come.
std::string boundedStream(net::HttpFetcher& http, const std::string& url, int64_t most,
                          const std::function<void()>& tooLong,
                          const std::function<void(int64_t)>& received = {},
                          std::optional<net::Timeouts> limits = std::nullopt) {
  struct Unwatch {
    net::HttpFetcher& http;
    ~Unwatch() { http.watchBody(nullptr); }
  } unwatch{http};
  http.watchBody([&](int64_t bytes) {
    if (bytes > most) tooLong();
    if (received) received(bytes);
  });
  std::string bytes = limits ? http.getStream(url, *limits) : http.getStream(url);
  // A client that tells no one as the bytes come still gets here.
  if (static_cast<int64_t>(bytes.size()) > most) tooLong();
  return bytes;
}

[[noreturn]] void damaged() { throw quelta::Error("EUpdateError", kUpdateDamaged); }

// The manifest's signature; none at all (the host answers with an error
// status) is refused as a wrong one.
std::string signatureOf(net::HttpFetcher& http, const UpdateSource& source,
                        std::optional<net::Timeouts> limits) {
  try {
    return boundedStream(http, source.manifestUrl + kSignatureSuffix, kSignatureMostBytes, damaged,
                         {}, limits);
  } catch (const net::HttpProtocolError&) {
    return "";
  }
}

// Why a signed publication is not offered, for the day log: it has expired
// (a host holding restaurants on an old release), it is numbered for more
// than a day after this computer's clock (publication numbers are the
// minutes since 1970 at signing: one from the future, once stored, would
// lock every real publication out), or it is older than one accepted before
// or than the program itself (a host replaying it). Empty when it may be
// offered.
std::string refusalOf(const Publication& publication, int64_t accepted, int64_t floor,
                      int64_t now) {
  const std::string prefix = "Atualiza\xe7\xe3o recusada: a publica\xe7\xe3o n\xba " +
                             std::to_string(publication.number) + " (vers\xe3o " +
                             publication.version + ") ";
  std::optional<int64_t> expires = utcSeconds(publication.expires);
  if (!expires || *expires <= now) return prefix + "venceu em " + publication.expires;
  if (publication.number > now / 60 + kMinutesPerDay)
    return prefix + "\xe9 de mais de um dia depois do rel\xf3gio deste computador";
  if (publication.number < accepted)
    return prefix + "\xe9 anterior \xe0 n\xba " + std::to_string(accepted) + ", j\xe1 aceita";
  if (publication.number < floor)
    return prefix + "\xe9 anterior a esta vers\xe3o do programa, de " + utcText(floor * 60);
  return "";
}

}  // namespace

Offer readOffer(net::HttpFetcher& http, const UpdateSource& source,
                const std::function<int64_t()>& accepted, int64_t now,
                std::optional<net::Timeouts> limits) {
  // The signature covers the bytes as served, before any decoding.
  const std::string bytes =
      boundedStream(http, source.manifestUrl, kManifestMostBytes, damaged, {}, limits);
  if (!signedByPublisher(bytes, signatureOf(http, source, limits), source.publisherKeys))
    throw quelta::Error("EUpdateError", kUpdateSignatureRefused);
  json::TJSONObject manifest(net::utf8ToAnsiText(bytes));
  Offer offer;
  if (!manifest.boolOf("success")) return offer;
  offer.publication = readPublication(manifest);
  offer.accepted = accepted();
  offer.refusal = refusalOf(offer.publication, offer.accepted, source.floor, now);
  offer.kind = offer.refusal.empty() ? Offer::kPublished : Offer::kRefused;
  return offer;
}

VersionCheckOutcome checkForUpdate(UpdateContext& context) {
  net::DisconnectGuard disconnect(context.http);
  const Offer offer = readOffer(
      context.http, context.source, [&] { return config::acceptedPublication(context.appDir); },
      context.clock.utcSeconds());
  if (offer.kind == Offer::kNothing) return VersionCheckOutcome::kNothingNew;
  if (offer.kind == Offer::kRefused) {
    print::saveLog(context.appDir, offer.refusal, context.clock);
    return VersionCheckOutcome::kRefused;
  }
  const Publication& publication = offer.publication;
  if (publication.number > offer.accepted)
    config::storeAcceptedPublication(context.appDir, publication.number);

  if (publication.version == context.builtInVersion) return VersionCheckOutcome::kNothingNew;
  if (!context.prompts.confirm(kUpdateQuestionCaption, kUpdateQuestion))
    return VersionCheckOutcome::kDeclined;
  updateServer(context, publication);
  return VersionCheckOutcome::kUpdated;
}

std::vector<ArchiveEntry> checkUpdateArchive(const std::string& zipBytes) {
  std::vector<ArchiveEntry> entries = readArchive(zipBytes);
  requireProgramFiles(entries);
  return entries;
}

UpdateOutcome updateServer(UpdateContext& context, const Publication& publication) {
  // The hourglass for as long as the update runs, and off once the script
  // is about to start.
  host::Busy busy(context.prompts);
  std::string workDir = pathBelow(context.appDir, parts({kUpdateDirectory}));
  std::string archivePath = pathBelow(workDir, parts({kUpdateArchive}));

  host::Operation* op = context.operation;
  if (op) op->setName(host::kDownloadingUpdate);
  try {
    if (!platform::directoryExists(workDir)) platform::createDirectory(workDir);
    // Its signed size is known: the bytes show as they arrive, and not one
    // more than it is read.
    const int64_t size = publication.size;
    std::string bytes = boundedStream(
        context.http, context.source.archiveUrl, size,
        [size] {
          throw ArchiveError("O arquivo de atualiza\xe7\xe3o n\xe3o \xe9 o publicado: tem mais de " +
                             std::to_string(size) +
                             " bytes, a publica\xe7\xe3o assinada diz " + std::to_string(size));
        },
        [op, size](int64_t received) {
          if (op) op->progress(received, size);
        });
    platform::writeFileReplacing(archivePath, bytes);
  } catch (const net::Cancelled&) {
    context.http.disconnect();
    throw;
  } catch (const ArchiveError&) {
    context.http.disconnect();
    throw;
  } catch (const std::exception&) {
    // An archive that an earlier run left behind is used instead.
    context.prompts.showMessage(kUpdateDownloadFailed);
  }
  context.http.disconnect();

  if (!platform::fileExists(archivePath)) {
    context.prompts.showMessage(kUpdateArchiveMissing);
    return UpdateOutcome::kNoArchive;
  }

  // Everything that can be wrong with the archive shows before the print
  // service is stopped, so a bad archive never leaves the restaurant
  // without printing; an archive the publisher did not sign for, also one
  // an earlier run left, is never even unpacked.
  const std::string archive = platform::readFile(archivePath);
  requirePublishedArchive(archive, publication);
  std::vector<ArchiveEntry> entries = checkUpdateArchive(archive);
  const std::string script = updateScriptText(context.appDir);

  // The last moment a cancel leaves everything as it was.
  if (op) op->checkCancelled();
  service::stopServiceAndWait(context.serviceManager, service::kPrintServiceName);
  try {
    // Cancelled while the service stopped: it runs again, the old files stay.
    if (op) op->checkCancelled();
    writeEntries(entries, workDir);
    std::string freeMark = pathBelow(workDir, parts({kToolFreeMark}));
    if (platform::fileExists(freeMark) && !platform::deleteFile(freeMark))
      throw quelta::IOError("Cannot delete file \"" + freeMark + "\"");
    platform::writeFileReplacing(pathBelow(workDir, parts({kUpdateScript})), script);
  } catch (...) {
    // The old files are all still in place: the restaurant goes on printing
    // with them rather than without a print service.
    service::startServiceIfNeeded(context.serviceManager, service::kPrintServiceName);
    throw;
  }

  busy.end();
  if (!context.process.launchHidden(updateScriptCommandLine(context.appDir)))
    throw quelta::Error("EOSError", kUpdateLaunchFailed);
  context.process.endProgram();
  return UpdateOutcome::kLaunched;
}

UpdateSource UpdateSource::downloadHost() {
  return {true, versionManifestUrl(), updateArchiveUrl(), std::string(builtInPublisherKeys()),
          QUELTA_BUILD_MINUTE};
}

std::string versionManifestUrl() {
  return std::string("https://") + QUELTA_DOWNLOAD_HOST + "/impressao/version.json";
}

// The archive holds the programs the update runs next, so it comes from the
// same host as the manifest, over verified HTTPS like every other request.
std::string updateArchiveUrl() {
  return std::string("https://") + QUELTA_DOWNLOAD_HOST + "/impressao/impressao.zip";
}

std::string updateScriptText(const std::string& appDir) {
  const std::string d = scriptPath(appDir);
  const std::string tool = "\"" + d + "\\queltaConfig.exe\"";
  const std::string work = "\"" + d + "\\update\"";
  std::vector<std::string> lines = {
      // The old tool is still ending when the script starts; its file can
      // be replaced only once it has.
      "set quelta_espera=0",
      ":aguarda",
      "if not exist " + tool + " goto atualiza",
      "type nul 2>>" + tool + " >\"" + d + "\\update\\" + kToolFreeMark + "\"",
      "if exist \"" + d + "\\update\\" + kToolFreeMark + "\" goto atualiza",
      "set /a quelta_espera+=1",
      "if %quelta_espera% geq " + std::to_string(kToolWaitTries) + " goto atualiza",
      "ping -n 2 127.0.0.1 >nul",
      "goto aguarda",
      ":atualiza",
  };
  for (const char* name : kUpdatedFiles) lines.push_back("del \"" + d + "\\" + name + "\"");
  for (const char* name : kUpdatedFiles)
    lines.push_back("move \"" + d + "\\update\\" + name + "\" \"" + d + "\\" + name + "\"");
  lines.push_back("call " + tool);
  lines.push_back("del \"" + d + "\\update\\impressao.zip\"");
  // The interpreter holds its script while it runs, so the work directory
  // that holds the script can only go once the interpreter has ended: a
  // second one, started now, removes it a moment later.
  lines.push_back("start \"\" /b cmd /c ping -n 3 127.0.0.1 ^& rd " + work + " /S /Q");
  lines.push_back("del \"" + d + "\\update\\update.bat\"");
  lines.push_back("rd " + work + " /S /Q");

  std::string text;
  for (const std::string& line : lines) text += line + kCrLf;
  // The interpreter reads a script in the OEM code page (850 on a Brazilian
  // Windows), not in the program's ANSI one: written as ANSI, an accented
  // folder name would name no file, and the swap would miss every file
  // after the print service had been stopped.
  std::optional<std::string> oem = platform::ansiToOem(text);
  if (!oem) throw quelta::Error("EUpdateError", updateFolderUnreadable(appDir));
  return *oem;
}

std::string updateFolderUnreadable(const std::string& appDir) {
  return "A pasta \"" + appDir +
         "\" tem no nome caracteres que o prompt de comando n\xe3o l\xea; a atualiza\xe7\xe3o "
         "n\xe3o foi feita";
}

std::string updateScriptCommandLine(const std::string& appDir) {
  return "\"" + appDir + "\\update\\" + kUpdateScript + "\"";
}

}  // namespace update
