#include "routing/views/printer_view.h"

#include "host/operation_names.h"
#include "routing/printer_table.h"

namespace routing {
namespace {

using ui::Kind;

// clang-format off
const ui::ControlSpec kControls[] = {
    {Kind::Group, "gbImpressoras", "gbConfig", "Impressoras", 8, 348, 513, 189},
    {Kind::ListView, "lvImpressora", "gbImpressoras", "", 8, 18, 497, 128},
    {Kind::Button, "btnPrinterAdd", "gbImpressoras", "Adicionar", 8, 152, 90, 25},
    {Kind::Button, "btnPrinterRemove", "gbImpressoras", "Remover", 104, 152, 90, 25},
    {Kind::Button, "btnImpConfig", "gbImpressoras", "Configurar", 200, 152, 90, 25},

    // The printer configuration box, over the list and its buttons.
    {Kind::Group, "gbImpConfig", "gbImpressoras", "", 8, 18, 497, 161, false},
    {Kind::Label, "lbImpTipo", "gbImpConfig", "Tipo", 8, 18, 100, 14},
    {Kind::ComboList, "cbImpTipo", "gbImpConfig", "", 8, 32, 100, 200},
    {Kind::Label, "lbTipoText", "gbImpConfig", "Tipo", 114, 18, 140, 14},
    {Kind::ComboList, "cbImpTexto", "gbImpConfig", "", 114, 32, 140, 200},
    {Kind::Label, "lbImpFonteTitulo", "gbImpConfig", "Fonte Titulo", 114, 18, 68, 14},
    {Kind::ComboList, "cbImpTitulo", "gbImpConfig", "", 114, 32, 68, 200},
    {Kind::Label, "lbImpFonteItem", "gbImpConfig", "Fonte Item", 186, 18, 68, 14},
    {Kind::ComboList, "cbImpItem", "gbImpConfig", "", 186, 32, 68, 200},
    {Kind::Label, "lbTamanhoFolha", "gbImpConfig", "Tam. Folha", 260, 18, 64, 14},
    {Kind::Edit, "edtImpTamanhoFolha", "gbImpConfig", "", 260, 32, 60, 21},
    {Kind::Label, "lbEndereco", "gbImpConfig", "Endere\xe7o", 326, 18, 160, 14},
    {Kind::Edit, "edtEndereco", "gbImpConfig", "", 326, 32, 160, 21},
    {Kind::Label, "lbImpSepara", "gbImpConfig", "Separa Itens", 8, 60, 76, 14},
    {Kind::ComboList, "cbImpSepara", "gbImpConfig", "", 8, 74, 76, 100},
    {Kind::Label, "lbImpPadrao", "gbImpConfig", "Padr\xe3o", 90, 60, 76, 14},
    {Kind::ComboList, "cbImpPadrao", "gbImpConfig", "", 90, 74, 76, 100},
    {Kind::Label, "lbImpConferencia", "gbImpConfig", "Confer\xeancia", 172, 60, 76, 14},
    {Kind::ComboList, "cbImpConferencia", "gbImpConfig", "", 172, 74, 76, 100},
    {Kind::Label, "lbImpFechamentoConta", "gbImpConfig", "Fecha Conta", 254, 60, 76, 14},
    {Kind::ComboList, "cbImpFechamentoConta", "gbImpConfig", "", 254, 74, 76, 100},
    {Kind::Label, "lbImpGuilhotina", "gbImpConfig", "Guilhotina", 336, 60, 76, 14},
    {Kind::ComboList, "cbImpGuilhotina", "gbImpConfig", "", 336, 74, 76, 100},
    {Kind::Label, "lbImpQtdEnter", "gbImpConfig", "Qtd Enter Fim", 418, 60, 78, 14},
    {Kind::Edit, "edtImpQtdEnter", "gbImpConfig", "", 418, 74, 70, 21},
    {Kind::Label, "lbImpSeparaQtd", "gbImpConfig", "Sep. Qtd Itens", 8, 104, 80, 14},
    {Kind::ComboList, "cbImpSeparaQtd", "gbImpConfig", "", 8, 118, 76, 100},
    {Kind::Label, "lbImpChamarGarcom", "gbImpConfig", "Chama Gar\xe7om", 90, 104, 90, 14},
    {Kind::ComboList, "cbImpChamarGarcom", "gbImpConfig", "", 90, 118, 76, 100},
    {Kind::Label, "lbImpTrevio", "gbImpConfig", "Trevano", 182, 104, 70, 14},
    {Kind::ComboList, "cbImpTrevio", "gbImpConfig", "", 182, 118, 70, 100},
    {Kind::Label, "lbDetalheConta", "gbImpConfig", "Detalhe da Conta", 254, 104, 100, 14},
    {Kind::ComboList, "cbDetalheConta", "gbImpConfig", "", 254, 118, 76, 100},
    {Kind::Button, "btnImpSalvar", "gbImpConfig", "Salvar", 330, 130, 75, 25},
    {Kind::Button, "btnImpCancelar", "gbImpConfig", "Cancelar", 412, 130, 75, 25},
};
// clang-format on

}  // namespace

std::span<const ui::ControlSpec> PrinterView::controls() { return kControls; }

PrinterView::PrinterView(host::ViewHost& host)
    : host_(host),
      window_(host.form),
      printers_(window_.list("lvImpressora")),
      configBox_(window_.control("gbImpConfig")),
      textType_{window_.control("lbTipoText"), window_.control("cbImpTexto")},
      fonts_{window_.control("lbImpFonteTitulo"), window_.control("cbImpTitulo"),
             window_.control("lbImpFonteItem"), window_.control("cbImpItem")},
      address_{window_.control("lbEndereco"), window_.control("edtEndereco")} {
  printers_.addColumn("Impressora", 210);
  printers_.addColumn("Tipo", 125);
  printers_.addColumn("Padr\xe3o", 140);
  printers_.setRowHeight(21);
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

int PrinterView::selectedPrinter() const { return printers_.selectedIndex(); }

void PrinterView::btnPrinterAddClick() {
  std::string name;
  if (!host_.prompts().choosePrinter(&name)) return;
  host_.apply(addPrinter(host_.state.tables, name));
}

void PrinterView::btnPrinterRemoveClick() {
  host_.apply(removePrinter(host_.state.tables, selectedPrinter()));
}

void PrinterView::btnImpConfigClick() {
  const host::Outcome opened = box_.open(*host_.state.tables.printers, selectedPrinter());
  if (!opened.message.empty()) {
    host_.apply(opened);
    return;
  }
  showBoxState(box_.state);
  configBox_.bringToFront();
  configBox_.setText(box_.state.caption);
  configBox_.show();
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
  const host::Outcome saved = box_.save(host_.state.tables, selectedPrinter(), host_.prompts());
  host_.apply(saved);
  if (!saved.message.empty()) return;
  // The vendor's library may take its time with its port.
  host_.operations.run(host::kSaving, [this](host::Operation& op) {
    box_.switchEpsonLogOn(op.prompts(), *host_.services.epson, host_.state.appDir);
  });
  configBox_.hide();
}

void PrinterView::btnImpCancelarClick() { configBox_.hide(); }

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
  for (ui::Control& control : textType_) control.show(state.showTipoTexto);
  for (ui::Control& control : fonts_) control.show(state.showFontes);
  for (ui::Control& control : address_) control.show(state.showEndereco);
}

void PrinterView::loadImpressora() {
  printers_.clear();
  for (const PrinterRow& row : printerRows(*host_.state.tables.printers))
    printers_.addRow({row.caption, row.tipo, row.padrao});
}

}  // namespace routing
