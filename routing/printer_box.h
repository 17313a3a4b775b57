// The printer configuration box gbImpConfig as a data object: the typed
// printer settings, filled from a printer record when the box opens, pushed
// into the controls by the view, read back from them and saved into the
// record, member by member as the printer record's field table lists them.
#pragma once

#include <string>

#include "host/outcome.h"
#include "host/prompts.h"
#include "json/json.h"
#include "platform/epson_library.h"
#include "routing/printer_record.h"
#include "routing/printer_table.h"

namespace routing {

inline constexpr char kEpsonLogError1[] = "Erro ao ativar log da DLL (1)";
inline constexpr char kEpsonLogError2[] = "Erro ao ativar log da DLL (2)";
inline constexpr char kEpsonLogError3[] = "Erro ao ativar log da DLL (3)";

// The box's content: the printer's settings as its controls show them.
struct PrinterBoxState : PrinterSettings {
  std::string caption;

  // The default printer's "Padrão" cannot be switched off in the box.
  bool padraoEnabled = true;

  // Which controls the type rule shows: lbTipoText with cbImpTexto; the two
  // font labels with cbImpTitulo and cbImpItem; lbEndereco with edtEndereco.
  bool showTipoTexto = true;
  bool showFontes = false;
  bool showEndereco = false;
};

// The type rule (cbImpTipoChange): shows the controls that belong to the
// selected type; hidden controls keep their values.
void applyTypeRule(PrinterBoxState& state);

// The box's content for a printer record ("Configurar"). A record without
// one of the required members raises the library's not-found error.
PrinterBoxState loadPrinterBox(const json::TJSONObject& record);

// The path given to Habilita_Log: the application directory with every
// backslash doubled, then "\\log\\" with doubled backslashes.
std::string epsonLogDirectory(const std::string& appDir);

class PrinterBox {
 public:
  PrinterBoxState state;

  // Opens the box for printer list row `selectedRow` (-1: none). The
  // outcome's message is shown instead when no printer is selected; the
  // state is left alone when the record cannot be read.
  host::Outcome open(const json::TJSONArray& printers, int selectedRow);

  // Saves `state` into the printer of row `selectedRow`, moving the
  // exclusive flags; turning the delivery platform on asks for its
  // credentials first. The outcome refills the printer list, or holds the
  // message shown instead when no printer is selected. An error leaves the
  // box open.
  host::Outcome save(Tables& tables, int selectedRow, host::Prompts& prompts) const;

  // After a save, once the printer list shows it: switches the Epson
  // library's log on for an "EPSON DLL" printer, reporting each refusal.
  void switchEpsonLogOn(host::Prompts& prompts, platform::EpsonLibrary& epson,
                        const std::string& appDir) const;
};

}  // namespace routing
