// The update check at the main window's first activation and the
// self-update (updateServer): the version manifest, the question, the
// archive, the stop of the print service, the unpacking into the work
// directory "update" and the script that swaps the new files in.
#pragma once

#include <string>
#include <vector>

#include "host/window_port.h"
#include "net/http_fetcher.h"
#include "platform/process.h"
#include "platform/service_manager.h"
#include "update/update_archive.h"

namespace update {

inline constexpr char kUpdateQuestionCaption[] = "Confirm";
inline constexpr char kUpdateQuestion[] =
    "Nova vers\xe3o do Quelta Servidor de Impress\xe3o dispon\xedvel para download. "
    "Deseja atualizar agora?";
inline constexpr char kUpdateDownloadFailed[] = "Erro no download da atualiza\xe7\xe3o.";
inline constexpr char kUpdateArchiveMissing[] = "Arquivo de atualiza\xe7\xe3o n\xe3o encontrado.";
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

// Where the version check asks: the download host's manifest and archive.
// No check at all is a choice of its own (screenshots, and window tests that
// must not reach a download host), not an empty address.
struct UpdateSource {
  bool check;
  std::string manifestUrl;  // the download host's "/impressao/version.json"
  std::string archiveUrl;   // the download host's "/impressao/impressao.zip"

  // The host the build names (QUELTA_DOWNLOAD_HOST).
  static UpdateSource downloadHost();
  static UpdateSource none() { return {false, "", ""}; }
};

// What the update works with. The main window fills it with its HTTP client,
// itself and the platform's services; tests with recording twins.
struct UpdateContext {
  net::HttpFetcher& http;
  // The question (true for Yes), the information boxes, the hourglass.
  host::WindowPort& window;
  // The print service is stopped and waited for here.
  platform::ServiceManager& serviceManager;
  // The script starts here, hidden and not waited for; then the program
  // is told to end.
  platform::Process& process;
  std::string appDir;          // the application directory
  std::string builtInVersion;  // the version this build is
  UpdateSource source;
};

enum class VersionCheckOutcome {
  kNothingNew,  // "success" false, or the version on offer is the built-in one
  kDeclined,    // the user answered No
  kUpdated,     // the user answered Yes and updateServer ran
};

// The version check: the manifest, and the question when it names another
// version than the built-in one (compared byte for byte). Errors of the
// request and of the manifest's JSON run out; the client is disconnected
// in every case.
VersionCheckOutcome checkForUpdate(UpdateContext& context);

// The archive read and checked whole, as the update does before it stops
// the print service: every entry usable (readArchive) and the four program
// files at its root, matched as Windows names files. ArchiveError otherwise.
std::vector<ArchiveEntry> checkUpdateArchive(const std::string& zipBytes);

enum class UpdateOutcome {
  kNoArchive,  // "Arquivo de atualizacao nao encontrado." was shown
  kLaunched,   // the script runs and the program was told to end
};

// The update. The archive is fetched into update\impressao.zip (a failed
// download is reported and an archive left by an earlier run is used), read
// and checked whole, and only then is the print service stopped and the
// archive unpacked. An unusable archive (ArchiveError) or a failed write
// runs out; the program then keeps running with its old files, and a print
// service stopped for the swap is started again.
UpdateOutcome updateServer(UpdateContext& context);

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
