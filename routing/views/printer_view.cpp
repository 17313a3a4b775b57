#include "routing/views/printer_view.h"

#include "app/main_window.h"
#include "routing/printer_table.h"
#include "routing/views/outcome_view.h"
#include "service/views/credentials_window.h"
#include "ui/prompts.h"

namespace routing {
namespace {

// Stands in for the Epson library when the window was given none: every
// call fails the way a computer without the vendor's DLL does.
class MissingEpsonLibrary : public platform::EpsonLibrary {
 public:
  int IniciaPorta(const std::string&) override { missing(); }
  int ImprimeTextoTag(const std::string&) override { missing(); }
  int AcionaGuilhotina(int) override { missing(); }
  int FechaPorta() override { missing(); }
  int Habilita_Log(int, const std::string&) override { missing(); }

 private:
  [[noreturn]] static void missing() {
    throw platform::EpsonLibraryError(std::string("A biblioteca ") + platform::kEpsonLibraryName +
                                      " n\xe3o est\xe1 dispon\xedvel");
  }
};

}  // namespace

PrinterView::PrinterView(app::MainWindow& window) : window_(window) {
  fillBoxLists();
  window.onClick("btnPrinterAdd", [this] { btnPrinterAddClick(); });
  window.onClick("btnPrinterRemove", [this] { btnPrinterRemoveClick(); });
  window.onClick("btnImpConfig", [this] { btnImpConfigClick(); });
  window.onChange("cbImpTipo", [this] { cbImpTipoChange(); });
  window.onClick("btnImpSalvar", [this] { btnImpSalvarClick(); });
  window.onClick("btnImpCancelar", [this] { btnImpCancelarClick(); });
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
  if (!ui::prompts().choosePrinter(&name)) return;
  applyOutcome(window_, addPrinter(window_.state().tables, name));
}

void PrinterView::btnPrinterRemoveClick() {
  applyOutcome(window_, removePrinter(window_.state().tables, selectedPrinter()));
}

void PrinterView::btnImpConfigClick() {
  const std::string message = box_.open(*window_.state().tables.printers, selectedPrinter());
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
  const PrinterField& tipo = printerField(&PrinterSettings::tipo);
  selectItem(state, tipo, window_.combo(tipo.control).selectedIndex());
  applyTypeRule(state);
  showTypeControls(state);
}

void PrinterView::btnImpSalvarClick() {
  box_.state = boxStateFromControls();
  platform::EpsonLibrary* epson = window_.environment().epson;
  MissingEpsonLibrary missing;
  const std::string message = box_.save(window_.state().tables, selectedPrinter(), *this,
                                        epson ? *epson : missing, window_.state().appDir);
  if (!message.empty()) {
    ui::prompts().showMessage(message);
    return;
  }
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

void PrinterView::openCredentialsModal() { service::CredentialsWindow::openModal(window_.hwnd()); }

void PrinterView::loadImpressora() { window_.loadImpressora(); }

void PrinterView::showMessage(const std::string& text) { ui::prompts().showMessage(text); }

}  // namespace routing
