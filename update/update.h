// The update check at the main window's first activation and the
// self-update (updateServer): the version manifest, the question, the
// archive, the stop of the print service, the unpacking into the work
// directory "update" and the script that swaps the new files in.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/operation.h"
#include "host/prompts.h"
#include "net/http_fetcher.h"
#include "platform/clock.h"
#include "platform/process.h"
#include "platform/service_manager.h"
#include "update/publication.h"
#include "update/update_archive.h"

namespace update {

inline constexpr char kUpdateQuestionCaption[] = "Confirm";
inline constexpr char kUpdateQuestion[] =
    "Nova vers\xe3o do Quelta Servidor de Impress\xe3o dispon\xedvel para download. "
    "Deseja atualizar agora?";
inline constexpr char kUpdateDownloadFailed[] = "Erro no download da atualiza\xe7\xe3o.";
inline constexpr char kUpdateArchiveMissing[] = "Arquivo de atualiza\xe7\xe3o n\xe3o encontrado.";
// A manifest that the publisher's key did not sign, or no signature at all.
inline constexpr char kUpdateSignatureRefused[] =
    "A atualiza\xe7\xe3o oferecida n\xe3o tem a assinatura da Quelta e foi recusada";
// A manifest or signature larger than any real one: read no further.
inline constexpr char kUpdateDamaged[] =
    "A atualiza\xe7\xe3o oferecida est\xe1 danificada e foi recusada";
inline constexpr int64_t kManifestMostBytes = 64 * 1024;
inline constexpr int64_t kSignatureMostBytes = 1024;
inline constexpr char kUpdateLaunchFailed[] =
    "N\xe3o foi poss\xedvel iniciar a atualiza\xe7\xe3o (update\\update.bat)";

// The work directory, its archive and script, below the application
// directory; and the four files the archive must hold at its root, in the
// order the script swaps them.
inline constexpr char kUpdateDirectory[] = "update";
inline constexpr char kUpdateArchive[] = "impressao.zip";
inline constexpr char kUpdateScript[] = "update.bat";
inline constexpr const char* kUpdatedFiles[] = {"libeay32.dll", "queltaConfig.exe",
                                                "queltaService.exe", "ssleay32.dll"};

// Where the version check asks (the download host's manifest, its
// signature beside it, and the archive) and whose signature it accepts.
// No check at all is a choice of its own (screenshots, and window tests that
// must not reach a download host), not an empty address.
struct UpdateSource {
  bool check;
  std::string manifestUrl;    // the download host's "/impressao/version.json"
  std::string archiveUrl;     // the download host's "/impressao/impressao.zip"
  std::string publisherKeys;  // PEM public keys, one or two
  // No publication numbered below this minute is taken, whatever the
  // settings say: a fresh install, or one whose accepted number cannot be
  // read, is not open to every older signed publication.
  int64_t floor = 0;

  // The host and the publisher's keys the build names
  // (QUELTA_DOWNLOAD_HOST, QUELTA_PUBLISHER_KEY_FILE and _NEXT_KEY_FILE),
  // with the minute the program was built as the floor.
  static UpdateSource downloadHost();
  static UpdateSource none() { return {false, "", "", ""}; }
};

// What the update works with. The main window fills it with its HTTP client,
// the prompts and the platform's services; tests with recording twins.
struct UpdateContext {
  net::HttpFetcher& http;
  // The question (true for Yes), the information boxes, the hourglass.
  host::Prompts& prompts;
  // The print service is stopped and waited for here.
  platform::ServiceManager& serviceManager;
  // The script starts here, hidden and not waited for; then the program
  // is told to end.
  platform::Process& process;
  // Today's date for the day log, and UTC for the manifest's expiry.
  const platform::Clock& clock;
  std::string appDir;          // the application directory
  std::string builtInVersion;  // the version this build is
  UpdateSource source;
  // The window's operation the update runs in, when it runs in one: the
  // download shows its bytes there, and a cancel before the print service
  // is stopped leaves everything as it was.
  host::Operation* operation = nullptr;
};

enum class VersionCheckOutcome {
  kNothingNew,  // "success" false, or the version on offer is the built-in one
  kRefused,     // expired, or older than a publication accepted before (day log)
  kDeclined,    // the user answered No
  kUpdated,     // the user answered Yes and updateServer ran
};

// The version check: the manifest and its signature, and the question when
// the manifest is signed by the publisher, has not expired, is not older
// than the highest publication accepted so far (which it then becomes) and
// names another version than the built-in one (compared byte for byte). A
// deliberate downgrade is a publication like any other. A manifest without
// the publisher's signature raises kUpdateSignatureRefused; an expired or
// older one is written to the day log and asks nothing. Errors of the
// requests and of the manifest's JSON run out; the client is disconnected
// in every case.
VersionCheckOutcome checkForUpdate(UpdateContext& context);

// What the download host offers, read and checked as the version check
// reads it (the manifest and its signature within their caps, the
// publisher's signature, the expiry, the publication number against the
// accepted one, the source's floor and the computer's clock), with nothing stored, logged or
// asked. The errors of the version check run out.
struct Offer {
  enum Kind { kNothing, kRefused, kPublished };
  Kind kind = kNothing;      // kNothing: "success" false
  Publication publication;   // kRefused and kPublished
  int64_t accepted = 0;      // the highest publication accepted so far
  std::string refusal;       // kRefused: why, as the day log says it
};
Offer readOffer(net::HttpFetcher& http, const UpdateSource& source,
                const std::function<int64_t()>& accepted, int64_t now,
                std::optional<net::Timeouts> limits = std::nullopt);

// The archive read and checked whole, as the update does before it stops
// the print service: every entry usable (readArchive) and the four program
// files at its root, matched as Windows names files. ArchiveError otherwise.
std::vector<ArchiveEntry> checkUpdateArchive(const std::string& zipBytes);

enum class UpdateOutcome {
  kNoArchive,  // "Arquivo de atualizacao nao encontrado." was shown
  kLaunched,   // the script runs and the program was told to end
};

// The update of a signed publication. The archive is fetched into
// update\impressao.zip (a failed download is reported and an archive left by
// an earlier run is used), compared with the publication's size and SHA-256,
// read and checked whole, and only then is the print service stopped and
// the archive unpacked. An archive that is not the published one or is
// unusable (ArchiveError), or a failed write, runs out; the program then
// keeps running with its old files, and a print service stopped for the
// swap is started again.
UpdateOutcome updateServer(UpdateContext& context, const Publication& publication);

// The download host's version manifest and update archive, both over
// HTTPS from the host the build names (QUELTA_DOWNLOAD_HOST).
std::string versionManifestUrl();
std::string updateArchiveUrl();

// The script's text for the application directory: a wait until the old
// tool's file can be replaced, then the swap, the new tool, and the removal
// of the work directory; every line ended by CR LF. In the OEM code page,
// which the command interpreter reads; a directory whose name that code
// page cannot spell raises the error below. updateServer builds the script
// before it stops the print service, so such a directory leaves the service
// running and the old files in place.
std::string updateScriptText(const std::string& appDir);
// That error's message.
std::string updateFolderUnreadable(const std::string& appDir);

// The command line that runs the script.
std::string updateScriptCommandLine(const std::string& appDir);

}  // namespace update
