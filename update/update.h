// The update check at the main window's first activation and the
// self-update (updateServer): the version manifest, the question, the
// archive, the stop of the print service, the unpacking into the work
// directory "update" and the script that swaps the new files in.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "net/http_fetcher.h"
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

// What the update works with. The main window fills it with its HTTP client
// and the platform's services; tests fill it with recording fakes.
struct UpdateContext {
  net::HttpFetcher& http;
  std::string appDir;          // the application directory
  std::string builtInVersion;  // the version this build is
  std::string manifestUrl;     // the download host's "/impressao/version.json"
  std::string archiveUrl;      // the download host's "/impressao/impressao.zip"

  // The window: the Yes/No question (true for Yes), an information box, the
  // hourglass.
  std::function<bool(const std::string& caption, const std::string& text)> confirm;
  std::function<void(const std::string& text)> showMessage;
  std::function<void(bool busy)> setBusy;
  // The platform: stops the print service and waits for it; starts a
  // command line hidden without waiting (false when it did not start);
  // tells the program to end once the current event has been handled.
  std::function<void()> stopPrintService;
  std::function<bool(const std::string& commandLine)> launch;
  std::function<void()> endProgram;
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
// runs out; the program then keeps running with its old files.
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
