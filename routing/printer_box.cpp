#include "routing/printer_box.h"

#include "platform/text_locale.h"

namespace routing {
namespace {

std::string optionalText(const json::TJSONObject& record, const char* name,
                         const std::string& missing) {
  return record.contains(name) ? record.textOf(name) : missing;
}

std::string optionalItem(const json::TJSONObject& record, const char* name,
                         const std::vector<std::string>& items, const std::string& missing) {
  return record.contains(name) ? matchItem(items, record.textOf(name)) : missing;
}

// The rule of the exclusive flags, over all printers (or only those that
// have the member): another printer's "Sim" becomes "Não", the selected
// printer's "Não" becomes "Sim". A printer without the member, when all are
// visited, stops the pass there with the library's not-found error.
void passFlagOn(json::TJSONArray& printers, int selectedRow, const char* name, bool onlyHolders) {
  for (int i = 0; i < printers.count(); ++i) {
    json::TJSONObject& printer = printers.objectAt(i);
    if (onlyHolders && !printer.contains(name)) continue;
    const std::string value = printer.textOf(name);
    if (i != selectedRow && value == kSim) {
      printer.setText(name, kNao);
    } else if (i == selectedRow && value == kNao) {
      printer.setText(name, kSim);
    }
  }
}

void clearFlagEverywhere(json::TJSONArray& printers, const char* name) {
  for (int i = 0; i < printers.count(); ++i) printers.objectAt(i).setText(name, kNao);
}

void switchEpsonLogOn(const PrinterBoxState& state, host::WindowPort& window,
                      platform::EpsonLibrary& epson, const std::string& appDir) {
  try {
    if (epson.IniciaPorta(state.endereco) == 0) {
      window.showMessage(kEpsonLogError1);
      return;
    }
    if (epson.Habilita_Log(1, epsonLogDirectory(appDir)) == 0) window.showMessage(kEpsonLogError2);
    if (epson.FechaPorta() == 0) window.showMessage(kEpsonLogError3);
  } catch (const platform::EpsonLibraryError& e) {
    // The record is already saved; a computer without the vendor's library
    // only learns that its log cannot be switched on.
    window.showMessage(e.message());
  }
}

}  // namespace

const std::vector<std::string>& tipoItems() {
  static const std::vector<std::string> items{kGenericText, kEpsonDll, kOutro};
  return items;
}

const std::vector<std::string>& tipoTextoItems() {
  static const std::vector<std::string> items{kOutro, "Epson",
                                              "Epson - Fonte M\xe9"
                                              "dia",
                                              "Epson - Fonte Grande"};
  return items;
}

const std::vector<std::string>& fonteItems() {
  static const std::vector<std::string> items{"10", "10 Negrito", "12", "12 Negrito",
                                              "14", "14 Negrito", "16", "16 Negrito",
                                              "18", "18  Negrito"};
  return items;
}

const std::vector<std::string>& simNaoItems() {
  static const std::vector<std::string> items{kSim, kNao};
  return items;
}

const std::vector<std::string>& guilhotinaItems() {
  static const std::vector<std::string> items{"Corte 1", "Corte 2", kNao};
  return items;
}

std::string matchItem(const std::vector<std::string>& items, const std::string& value) {
  for (const std::string& item : items) {
    if (platform::sameTextIgnoreCase(item, value)) return item;
  }
  return "";
}

void applyTypeRule(PrinterBoxState& state) {
  const bool outro = state.tipo == kOutro;
  state.showTipoTexto = !outro;
  state.showFontes = outro;
  state.showEndereco = state.tipo == kEpsonDll;
}

PrinterBoxState loadPrinterBox(const json::TJSONObject& record) {
  PrinterBoxState s;
  s.tipo = matchItem(tipoItems(), record.textOf("tipo"));
  s.tipoTexto = matchItem(tipoTextoItems(), record.textOf("tipoTexto"));
  s.imprimeSeparado = matchItem(simNaoItems(), record.textOf("imprimeSeparado"));
  s.padrao = matchItem(simNaoItems(), record.textOf("padrao"));
  s.fonteTitulo = matchItem(fonteItems(), record.textOf("fonteTitulo"));
  s.fonteItem = matchItem(fonteItems(), record.textOf("fonteItem"));

  s.endereco = optionalText(record, "endereco", "");
  s.tamanhoFolha = optionalText(record, "tamanhoFolha", "40");
  s.conferencia = optionalItem(record, "conferencia", simNaoItems(), kNao);
  s.fechamentoConta = optionalItem(record, "fechamentoConta", simNaoItems(), kNao);
  s.fechamentoContaDetalhe = optionalItem(record, "fechamentoContaDetalhe", simNaoItems(), kNao);
  // Older files stored the cut as "Sim"; it is the first cut.
  if (!record.contains("guilhotina") || record.textOf("guilhotina") == kSim) {
    s.guilhotina = "Corte 1";
  } else {
    s.guilhotina = matchItem(guilhotinaItems(), record.textOf("guilhotina"));
  }
  s.numeroEnterFinal = optionalText(record, "numeroEnterFinal", "4");
  s.imprimeSeparadoQtd = optionalItem(record, "imprimeSeparadoQtd", simNaoItems(), kNao);
  s.chamarGarcom = optionalItem(record, "chamarGarcom", simNaoItems(), kNao);
  s.trevio = optionalItem(record, "trevio", simNaoItems(), kNao);

  s.padraoEnabled = s.padrao != kSim;
  applyTypeRule(s);
  s.caption = " " + withoutDefaultMark(record.textOf("name")) + " ";
  return s;
}

std::string epsonLogDirectory(const std::string& appDir) {
  std::string path;
  for (char c : appDir) {
    path += c;
    if (c == '\\') path += '\\';
  }
  return path + "\\\\log\\\\";
}

std::string PrinterBox::open(const json::TJSONArray& printers, int selectedRow) {
  if (selectedRow < 0 || selectedRow >= printers.count()) return kNoPrinterSelected;
  state = loadPrinterBox(printers.objectAt(selectedRow));
  return "";
}

std::string PrinterBox::save(Tables& tables, int selectedRow, host::WindowPort& window,
                             platform::EpsonLibrary& epson, const std::string& appDir) const {
  json::TJSONArray& printers = *tables.printers;
  if (selectedRow < 0 || selectedRow >= printers.count()) return kNoPrinterSelected;
  json::TJSONObject& selected = printers.objectAt(selectedRow);

  if (selected.textOf("padrao") != state.padrao) {
    passFlagOn(printers, selectedRow, "padrao", false);
  }
  const bool hasConferencia = selected.contains("conferencia");
  if ((hasConferencia && selected.textOf("conferencia") != state.conferencia) ||
      (!hasConferencia && state.conferencia == kSim)) {
    passFlagOn(printers, selectedRow, "conferencia", true);
  }
  if (state.fechamentoConta == kSim) clearFlagEverywhere(printers, "fechamentoConta");
  if (state.chamarGarcom == kSim) clearFlagEverywhere(printers, "chamarGarcom");
  if (state.trevio == kSim) {
    // Turning the delivery platform on for a printer asks for its
    // credentials first.
    if (!selected.contains("trevio") || selected.textOf("trevio") == kNao) {
      window.openCredentials();
    }
    clearFlagEverywhere(printers, "trevio");
  }

  selected.setText("tipo", state.tipo)
      .setText("tipoTexto", state.tipoTexto)
      .setText("imprimeSeparado", state.imprimeSeparado)
      .setText("padrao", state.padrao)
      .setText("fonteTitulo", state.fonteTitulo)
      .setText("fonteItem", state.fonteItem)
      .setText("endereco", state.endereco)
      .setText("conferencia", state.conferencia)
      .setText("fechamentoConta", state.fechamentoConta)
      .setText("fechamentoContaDetalhe", state.fechamentoContaDetalhe)
      .setText("guilhotina", state.guilhotina)
      .setText("tamanhoFolha", state.tamanhoFolha)
      .setText("numeroEnterFinal", state.numeroEnterFinal)
      .setText("imprimeSeparadoQtd", state.imprimeSeparadoQtd)
      .setText("chamarGarcom", state.chamarGarcom)
      .setText("trevio", state.trevio);

  window.refill(host::kRefillPrinterList);
  if (state.tipo == kEpsonDll) switchEpsonLogOn(state, window, epson, appDir);
  return "";
}

}  // namespace routing
