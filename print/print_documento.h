// printDocumento of QueltaUtil: prints one print document on one printer
// record and answers with a result text, "OK" or "Erro na impressao: ...".
#pragma once

#include <functional>
#include <string>

#include "json/json.h"
#include "platform/epson_library.h"
#include "platform/printers.h"
#include "platform/share_output.h"

namespace print {

// What a print job reaches outside the program: the program's platform
// services (print_services.h); tests put recorders here.
struct PrintServices {
  platform::ShareOutput* share;
  platform::EpsonLibrary* epson;
  platform::Printers* printers;
  std::function<void(int milliseconds)> pause;
};

// The printer's "tipo" chooses the back-end: "Generic Text" (raw bytes to
// the printer's share), "EPSON DLL" (the Epson library) or anything else
// (the Windows printer's canvas). A finished job, also one the Epson library
// reported failed, is followed by a pause of 3000 ms; a job stopped by an
// error is not. Errors never leave this routine: they become the result
// "Erro na impressao: <class name> - <message>". The document is checked
// whole before anything is sent, so a bad line never leaves half a ticket,
// and an output channel opened by a job is always closed again.
void printDocumento(const json::TJSONObject& printer, const json::TJSONArray& document,
                    std::string& result, const PrintServices& services);

// Where a "Generic Text" printer's bytes go: a name holding two consecutive
// backslashes is a full path already, any other is a share of this computer.
std::string shareTarget(const std::string& name);

// The printer's "numeroEnterFinal" when it has one, else 1.
int trailingEmptyLines(const json::TJSONObject& printer);

inline constexpr int kPauseAfterJob = 3000;
inline constexpr int kEpsonChunkLimit = 4000;

}  // namespace print
