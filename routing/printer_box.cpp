#include "routing/printer_box.h"

namespace routing {
namespace {

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

}  // namespace

void applyTypeRule(PrinterBoxState& state) {
  state.showTipoTexto = state.tipo != PrinterType::Outro;
  state.showFontes = state.tipo == PrinterType::Outro;
  state.showEndereco = state.tipo == PrinterType::EpsonDll;
}

PrinterBoxState loadPrinterBox(const json::TJSONObject& record) {
  PrinterBoxState s;
  for (const PrinterField& field : printerFields()) {
    std::string text = memberText(record, field);
    if (!field.items) {
      setEditText(s, field, text);
      continue;
    }
    // Older files stored the cut as "Sim"; it is the first cut.
    if (field.member == PrinterMember(&PrinterSettings::guilhotina) && text == kSim) text = kCorte1;
    selectItem(s, field, matchingItem(field.items(), text));
  }
  s.padraoEnabled = s.padrao != true;
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

host::Outcome PrinterBox::open(const json::TJSONArray& printers, int selectedRow) {
  if (selectedRow < 0 || selectedRow >= printers.count()) return {kNoPrinterSelected};
  state = loadPrinterBox(printers.objectAt(selectedRow));
  return {};
}

host::Outcome PrinterBox::save(Tables& tables, int selectedRow, host::Prompts& prompts) const {
  json::TJSONArray& printers = *tables.printers;
  if (selectedRow < 0 || selectedRow >= printers.count()) return {kNoPrinterSelected};
  json::TJSONObject& selected = printers.objectAt(selectedRow);

  const PrinterField& padrao = printerField(&PrinterSettings::padrao);
  if (selected.textOf(padrao.key) != fieldText(state, padrao)) {
    passFlagOn(printers, selectedRow, padrao.key, false);
  }
  const PrinterField& conferencia = printerField(&PrinterSettings::conferencia);
  const bool hasConferencia = selected.contains(conferencia.key);
  if ((hasConferencia && selected.textOf(conferencia.key) != fieldText(state, conferencia)) ||
      (!hasConferencia && state.conferencia == true)) {
    passFlagOn(printers, selectedRow, conferencia.key, true);
  }
  for (YesNo PrinterSettings::*flag :
       {&PrinterSettings::fechamentoConta, &PrinterSettings::chamarGarcom}) {
    if (state.*flag == true) clearFlagEverywhere(printers, printerField(flag).key);
  }
  if (state.trevio == true) {
    // Turning the delivery platform on for a printer asks for its
    // credentials first.
    const char* trevio = printerField(&PrinterSettings::trevio).key;
    if (!selected.contains(trevio) || selected.textOf(trevio) == kNao) {
      prompts.openCredentials();
    }
    clearFlagEverywhere(printers, trevio);
  }

  for (const PrinterField& field : printerFields())
    selected.setText(field.key, fieldText(state, field));

  return {"", host::kRefillPrinterList};
}

void PrinterBox::switchEpsonLogOn(host::Prompts& prompts, platform::EpsonLibrary& epson,
                                  const std::string& appDir) const {
  if (state.tipo != PrinterType::EpsonDll) return;
  try {
    if (epson.IniciaPorta(state.endereco) == 0) {
      prompts.showMessage(kEpsonLogError1);
      return;
    }
    if (epson.Habilita_Log(1, epsonLogDirectory(appDir)) == 0) prompts.showMessage(kEpsonLogError2);
    if (epson.FechaPorta() == 0) prompts.showMessage(kEpsonLogError3);
  } catch (const platform::EpsonLibraryError& e) {
    // The record is already saved; a computer without the vendor's library
    // only learns that its log cannot be switched on.
    prompts.showMessage(e.message());
  }
}

}  // namespace routing
