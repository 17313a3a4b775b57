#include "routing/views/printer_view.h"

#include <vector>

#include "routing/printer_table.h"
#include "ui/prompts.h"

namespace routing {
namespace {

// A drop-down list of the box and the field of the box state it shows.
struct BoxList {
  const char* name;
  std::string PrinterBoxState::*field;
  const std::vector<std::string>& (*items)();
  const char* designSelection;  // nullptr: no selection
};

const BoxList kBoxLists[] = {
    {"cbImpTipo", &PrinterBoxState::tipo, tipoItems, nullptr},
    {"cbImpTexto", &PrinterBoxState::tipoTexto, tipoTextoItems, kOutro},
    {"cbImpSepara", &PrinterBoxState::imprimeSeparado, simNaoItems, kNao},
    {"cbImpPadrao", &PrinterBoxState::padrao, simNaoItems, kNao},
    {"cbImpTitulo", &PrinterBoxState::fonteTitulo, fonteItems, "10"},
    {"cbImpItem", &PrinterBoxState::fonteItem, fonteItems, "12"},
    {"cbImpConferencia", &PrinterBoxState::conferencia, simNaoItems, kNao},
    {"cbImpFechamentoConta", &PrinterBoxState::fechamentoConta, simNaoItems, kNao},
    {"cbDetalheConta", &PrinterBoxState::fechamentoContaDetalhe, simNaoItems, kNao},
    {"cbImpGuilhotina", &PrinterBoxState::guilhotina, guilhotinaItems, nullptr},
    {"cbImpSeparaQtd", &PrinterBoxState::imprimeSeparadoQtd, simNaoItems, kNao},
    {"cbImpChamarGarcom", &PrinterBoxState::chamarGarcom, simNaoItems, kNao},
    {"cbImpTrevio", &PrinterBoxState::trevio, simNaoItems, kNao},
};

// An edit of the box and its field.
struct BoxEdit {
  const char* name;
  std::string PrinterBoxState::*field;
};

const BoxEdit kBoxEdits[] = {
    {"edtEndereco", &PrinterBoxState::endereco},
    {"edtImpTamanhoFolha", &PrinterBoxState::tamanhoFolha},
    {"edtImpQtdEnter", &PrinterBoxState::numeroEnterFinal},
};

// Selects the item with exactly this text; none (and so an empty text)
// when the list has no such item.
void selectByText(ui::ComboBox list, const std::string& text) {
  const std::vector<std::string> items = list.items();
  int index = -1;
  for (size_t i = 0; i < items.size() && !text.empty(); ++i) {
    if (items[i] == text) {
      index = static_cast<int>(i);
      break;
    }
  }
  list.select(index);
}

}  // namespace

PrinterView::PrinterView(host::ViewHost& host) : host_(host), window_(host.form()) {
  fillBoxLists();
  window_.onClick("btnPrinterAdd", [this] { btnPrinterAddClick(); });
  window_.onClick("btnPrinterRemove", [this] { btnPrinterRemoveClick(); });
  window_.onClick("btnImpConfig", [this] { btnImpConfigClick(); });
  window_.onChange("cbImpTipo", [this] { cbImpTipoChange(); });
  window_.onClick("btnImpSalvar", [this] { btnImpSalvarClick(); });
  window_.onClick("btnImpCancelar", [this] { btnImpCancelarClick(); });
}

void PrinterView::fillBoxLists() {
  for (const BoxList& entry : kBoxLists) {
    ui::ComboBox list = window_.combo(entry.name);
    list.setItems(entry.items());
    selectByText(list, entry.designSelection ? entry.designSelection : "");
  }
}

int PrinterView::selectedPrinter() const { return window_.list("lvImpressora").selectedIndex(); }

void PrinterView::btnPrinterAddClick() {
  std::string name;
  if (!ui::prompts().choosePrinter(&name)) return;
  host_.port().apply(addPrinter(host_.state().tables, name));
}

void PrinterView::btnPrinterRemoveClick() {
  host_.port().apply(removePrinter(host_.state().tables, selectedPrinter()));
}

void PrinterView::btnImpConfigClick() {
  const std::string message = box_.open(*host_.state().tables.printers, selectedPrinter());
  if (!message.empty()) {
    ui::prompts().showMessage(message);
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
  state.tipo = window_.combo("cbImpTipo").selectedText();
  applyTypeRule(state);
  showTypeControls(state);
}

void PrinterView::btnImpSalvarClick() {
  box_.state = boxStateFromControls();
  const std::string message = box_.save(host_.state().tables, selectedPrinter(), host_.port(),
                                        *host_.services().epson, host_.state().appDir);
  if (!message.empty()) {
    ui::prompts().showMessage(message);
    return;
  }
  window_.control("gbImpConfig").hide();
}

void PrinterView::btnImpCancelarClick() { window_.control("gbImpConfig").hide(); }

void PrinterView::showBoxState(const PrinterBoxState& state) {
  for (const BoxList& entry : kBoxLists)
    selectByText(window_.combo(entry.name), state.*entry.field);
  for (const BoxEdit& entry : kBoxEdits) window_.control(entry.name).setText(state.*entry.field);
  window_.control("cbImpPadrao").enable(state.padraoEnabled);
  showTypeControls(state);
}

PrinterBoxState PrinterView::boxStateFromControls() const {
  PrinterBoxState state = box_.state;
  for (const BoxList& entry : kBoxLists)
    state.*entry.field = window_.combo(entry.name).selectedText();
  for (const BoxEdit& entry : kBoxEdits) state.*entry.field = window_.control(entry.name).text();
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
