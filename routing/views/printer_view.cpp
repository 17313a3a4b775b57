#include "routing/views/printer_view.h"

#include "routing/printer_table.h"

namespace routing {

PrinterView::PrinterView(host::ViewHost& host) : host_(host), window_(host.form()) {
  fillBoxLists();
  window_.onClick("btnPrinterAdd", [this] { btnPrinterAddClick(); });
  window_.onClick("btnPrinterRemove", [this] { btnPrinterRemoveClick(); });
  window_.onClick("btnImpConfig", [this] { btnImpConfigClick(); });
  window_.onChange("cbImpTipo", [this] { cbImpTipoChange(); });
  window_.onClick("btnImpSalvar", [this] { btnImpSalvarClick(); });
  window_.onClick("btnImpCancelar", [this] { btnImpCancelarClick(); });
  window_.setBox("gbImpConfig", {"btnImpSalvar", "btnImpCancelar"});
}

void PrinterView::fillBoxLists() {
  for (const PrinterField& field : printerFields()) {
    if (!field.items) continue;
    ui::ComboBox list = window_.combo(field.control);
    list.setItems(field.items());
    list.select(field.design ? exactItem(field.items(), field.design) : -1);
  }
}

int PrinterView::selectedPrinter() const { return window_.list("lvImpressora").selectedIndex(); }

void PrinterView::btnPrinterAddClick() {
  std::string name;
  if (!host_.prompts().choosePrinter(&name)) return;
  host_.apply(addPrinter(host_.state().tables, name));
}

void PrinterView::btnPrinterRemoveClick() {
  host_.apply(removePrinter(host_.state().tables, selectedPrinter()));
}

void PrinterView::btnImpConfigClick() {
  const host::Outcome opened = box_.open(*host_.state().tables.printers, selectedPrinter());
  if (!opened.message.empty()) {
    host_.apply(opened);
    return;
  }
  showBoxState(box_.state);
  ui::Control box = window_.control("gbImpConfig");
  box.bringToFront();
  box.setText(box_.state.caption);
  box.show();
}

void PrinterView::cbImpTipoChange() {
  PrinterBoxState state;
  const PrinterField& tipo = printerField(&PrinterSettings::tipo);
  selectItem(state, tipo, window_.combo(tipo.control).selectedIndex());
  applyTypeRule(state);
  showTypeControls(state);
}

void PrinterView::btnImpSalvarClick() {
  box_.state = boxStateFromControls();
  const host::Outcome saved = box_.save(host_.state().tables, selectedPrinter(), host_.prompts());
  host_.apply(saved);
  if (!saved.message.empty()) return;
  box_.switchEpsonLogOn(host_.prompts(), *host_.services().epson, host_.state().appDir);
  window_.control("gbImpConfig").hide();
}

void PrinterView::btnImpCancelarClick() { window_.control("gbImpConfig").hide(); }

void PrinterView::showBoxState(const PrinterBoxState& state) {
  for (const PrinterField& field : printerFields()) {
    if (field.items) {
      window_.combo(field.control).select(selectedItem(state, field));
    } else {
      window_.control(field.control).setText(fieldText(state, field));
    }
  }
  window_.control(printerField(&PrinterSettings::padrao).control).enable(state.padraoEnabled);
  showTypeControls(state);
}

PrinterBoxState PrinterView::boxStateFromControls() const {
  PrinterBoxState state = box_.state;
  for (const PrinterField& field : printerFields()) {
    if (field.items) {
      selectItem(state, field, window_.combo(field.control).selectedIndex());
    } else {
      setEditText(state, field, window_.control(field.control).text());
    }
  }
  return state;
}

void PrinterView::showTypeControls(const PrinterBoxState& state) {
  for (const char* name : {"lbTipoText", "cbImpTexto"})
    window_.control(name).show(state.showTipoTexto);
  for (const char* name : {"lbImpFonteTitulo", "cbImpTitulo", "lbImpFonteItem", "cbImpItem"})
    window_.control(name).show(state.showFontes);
  for (const char* name : {"lbEndereco", "edtEndereco"})
    window_.control(name).show(state.showEndereco);
}

void PrinterView::loadImpressora() {
  ui::ListView view = window_.list("lvImpressora");
  view.clear();
  for (const PrinterRow& row : printerRows(*host_.state().tables.printers))
    view.addRow({row.caption, row.tipo, row.padrao});
}

}  // namespace routing
