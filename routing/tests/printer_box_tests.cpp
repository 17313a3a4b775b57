#include <gtest/gtest.h>

#include <functional>

#include "routing/printer_box.h"
#include "tests/support/recording_services.h"
#include "tests/support/scripted_prompts.h"

namespace {

using routing::PrinterBox;
using routing::PrinterBoxState;
using routing::PrinterType;

const std::string kNao = "N\xe3o";

// What a save leads to as the printer view does it: the prompts' calls, the
// printer list's refill the outcome names, then the Epson library's calls,
// in one journal.
void saveAsTheViewDoes(const PrinterBox& box, routing::Tables& tables, int row,
                       ScriptedPrompts& port, printtest::RecordingEpson& epson) {
  const host::Outcome saved = box.save(tables, row, port);
  ASSERT_EQ(saved.message, "");
  if (saved.refills(host::kRefillPrinterList)) port.journal.push_back("loadImpressora");
  box.switchEpsonLogOn(port, epson, "C:\\Quelta");
}

struct Fixture {
  routing::Tables tables;
  ScriptedPrompts port;
  printtest::RecordingEpson epson;
  PrinterBox box;

  explicit Fixture(const std::string& printers) {
    epson.journal = &port.journal;
    tables.printers = std::make_unique<json::TJSONArray>(printers);
  }
  std::string text(int row, const char* name) {
    return tables.printers->objectAt(row).textOf(name);
  }
  // Opens row `row`, lets `edit` change the controls and saves.
  void edit(int row, const std::function<void(PrinterBoxState&)>& change) {
    ASSERT_EQ(box.open(*tables.printers, row).message, "");
    change(box.state);
    saveAsTheViewDoes(box, tables, row, port, epson);
  }
};

const char kTwoPrinters[] =
    R"([{"name":"A","tipo":"Generic Text","tipoTexto":"Outro","imprimeSeparado":"N\u00e3o",)"
    R"("padrao":"Sim","fonteTitulo":"10","fonteItem":"12","conferencia":"Sim",)"
    R"("fechamentoConta":"Sim","chamarGarcom":"Sim","trevio":"Sim"},)"
    R"({"name":"B","tipo":"Generic Text","tipoTexto":"Outro","imprimeSeparado":"N\u00e3o",)"
    R"("padrao":"N\u00e3o","fonteTitulo":"10","fonteItem":"12"}])";

TEST(PrinterBoxItems, ListsHoldTheExactTexts) {
  EXPECT_EQ(routing::tipoItems(), (std::vector<std::string>{"Generic Text", "EPSON DLL", "Outro"}));
  EXPECT_EQ(routing::tipoTextoItems(), (std::vector<std::string>{"Outro", "Epson",
                                                                 "Epson - Fonte M\xe9"
                                                                 "dia",
                                                                 "Epson - Fonte Grande"}));
  EXPECT_EQ(routing::fonteItems(),
            (std::vector<std::string>{"10", "10 Negrito", "12", "12 Negrito", "14", "14 Negrito",
                                      "16", "16 Negrito", "18", "18  Negrito"}));
  EXPECT_EQ(routing::simNaoItems(), (std::vector<std::string>{"Sim", kNao}));
  EXPECT_EQ(routing::guilhotinaItems(), (std::vector<std::string>{"Corte 1", "Corte 2", kNao}));
}

TEST(PrinterBoxOpen, MatchesItemsIgnoringCaseAndShowsTheDefaultsOfMissingMembers) {
  json::TJSONObject record(
      R"({"name":"Caixa *(padrao)*","tipo":"epson dll","tipoTexto":"EPSON - FONTE GRANDE",)"
      R"("imprimeSeparado":"SIM","padrao":"Sim","fonteTitulo":"14 negrito","fonteItem":"18 Negrito"})");
  PrinterBoxState s = routing::loadPrinterBox(record);
  EXPECT_EQ(s.caption, " Caixa ");
  EXPECT_EQ(s.tipo, PrinterType::EpsonDll);
  EXPECT_EQ(s.tipoTexto, routing::TextFamily::EpsonGrande);
  EXPECT_EQ(s.imprimeSeparado, true);
  EXPECT_EQ(s.padrao, true);
  EXPECT_FALSE(s.padraoEnabled);
  EXPECT_EQ(s.fonteTitulo, "14 Negrito");
  EXPECT_EQ(s.fonteItem, "");  // one blank where the item has two
  EXPECT_EQ(s.endereco, "");
  EXPECT_EQ(s.tamanhoFolha, "40");
  EXPECT_EQ(s.conferencia, false);
  EXPECT_EQ(s.fechamentoConta, false);
  EXPECT_EQ(s.fechamentoContaDetalhe, false);
  EXPECT_EQ(s.guilhotina, routing::Cut::Corte1);
  EXPECT_EQ(s.numeroEnterFinal, "4");
  EXPECT_EQ(s.imprimeSeparadoQtd, false);
  EXPECT_EQ(s.chamarGarcom, false);
  EXPECT_EQ(s.trevio, false);
}

TEST(PrinterBoxOpen, StoredValuesOfOptionalMembersAreShown) {
  json::TJSONObject record(
      R"({"name":"B","tipo":"Outro","tipoTexto":"Outro","imprimeSeparado":"N\u00c3O",)"
      R"("padrao":"n\u00e3o","fonteTitulo":"10","fonteItem":"12","endereco":"COM2",)"
      R"("tamanhoFolha":"48","conferencia":"sim","fechamentoConta":"Sim",)"
      R"("fechamentoContaDetalhe":"Sim","guilhotina":"corte 2","numeroEnterFinal":"0",)"
      R"("imprimeSeparadoQtd":"Sim","chamarGarcom":"Sim","trevio":"Talvez"})");
  PrinterBoxState s = routing::loadPrinterBox(record);
  EXPECT_EQ(s.imprimeSeparado, false);
  EXPECT_EQ(s.padrao, false);
  EXPECT_TRUE(s.padraoEnabled);
  EXPECT_EQ(s.endereco, "COM2");
  EXPECT_EQ(s.tamanhoFolha, "48");
  EXPECT_EQ(s.conferencia, true);
  EXPECT_EQ(s.fechamentoContaDetalhe, true);
  EXPECT_EQ(s.guilhotina, routing::Cut::Corte2);
  EXPECT_EQ(s.numeroEnterFinal, "0");
  EXPECT_EQ(s.imprimeSeparadoQtd, true);
  EXPECT_EQ(s.chamarGarcom, true);
  EXPECT_EQ(s.trevio, std::nullopt);  // no item matches
  EXPECT_TRUE(s.showFontes);
  EXPECT_FALSE(s.showTipoTexto);
  EXPECT_FALSE(s.showEndereco);
}

TEST(PrinterBoxOpen, WithoutSelectionOrARequiredMemberNothingChanges) {
  json::TJSONArray printers(
      R"([{"name":"A","tipo":"Outro","tipoTexto":"Outro","imprimeSeparado":"Sim","padrao":"Sim",)"
      R"("fonteTitulo":"10"}])");
  PrinterBox box;
  box.state.caption = "before";
  EXPECT_EQ(box.open(printers, -1).message, "Nenhuma impressora selecionada");
  EXPECT_EQ(box.open(printers, 1).message, "Nenhuma impressora selecionada");
  try {
    box.open(printers, 0);
    FAIL() << "no error";
  } catch (const json::NoSuchElementException& e) {
    EXPECT_EQ(e.message(), "TJSONObject[\"fonteItem\"] not found.");
  }
  EXPECT_EQ(box.state.caption, "before");
}

TEST(PrinterBoxTypeRule, ShowsTheControlsOfTheSelectedType) {
  PrinterBoxState s;
  for (PrinterType tipo : {PrinterType::GenericText, PrinterType::None}) {
    s.tipo = tipo;
    routing::applyTypeRule(s);
    EXPECT_TRUE(s.showTipoTexto);
    EXPECT_FALSE(s.showFontes);
    EXPECT_FALSE(s.showEndereco);
  }
  s.tipo = PrinterType::EpsonDll;
  routing::applyTypeRule(s);
  EXPECT_TRUE(s.showTipoTexto);
  EXPECT_FALSE(s.showFontes);
  EXPECT_TRUE(s.showEndereco);
  s.tipo = PrinterType::Outro;
  s.endereco = "USB";
  routing::applyTypeRule(s);
  EXPECT_FALSE(s.showTipoTexto);
  EXPECT_TRUE(s.showFontes);
  EXPECT_FALSE(s.showEndereco);
  EXPECT_EQ(s.endereco, "USB");  // hidden controls keep their values
}

TEST(PrinterBoxSave, StoresEveryControlAppendingNewMembersInTheirOrder) {
  routing::Tables tables;
  routing::addPrinter(tables, "Cozinha");
  ScriptedPrompts port;
  printtest::RecordingEpson epson;
  PrinterBox box;
  ASSERT_EQ(box.open(*tables.printers, 0).message, "");
  box.state.fonteItem = "18  Negrito";
  box.state.tamanhoFolha = "48 colunas";  // edits are not validated
  box.state.guilhotina = routing::Cut::None;
  saveAsTheViewDoes(box, tables, 0, port, epson);
  EXPECT_EQ(
      tables.printers->asText(),
      R"([{"name":"Cozinha","tipo":"Generic\u0020Text","tipoTexto":"Outro",)"
      R"("imprimeSeparado":"N\u00E3o","fonteTitulo":"10","fonteItem":"18\u0020\u0020Negrito",)"
      R"("endereco":"USB","padrao":"Sim","conferencia":"N\u00E3o","fechamentoConta":"N\u00E3o",)"
      R"("guilhotina":"","numeroEnterFinal":"1","tamanhoFolha":"48\u0020colunas",)"
      R"("fechamentoContaDetalhe":"N\u00E3o","imprimeSeparadoQtd":"N\u00E3o",)"
      R"("chamarGarcom":"N\u00E3o","trevio":"N\u00E3o"}])");
  EXPECT_EQ(port.journal, (std::vector<std::string>{"loadImpressora"}));
}

TEST(PrinterBoxSave, OldValuesComeBackInTheirCurrentForm) {
  Fixture f(R"([{"name":"A","tipo":"Generic Text","tipoTexto":"Outro","imprimeSeparado":"sim",)"
            R"("padrao":"Sim","fonteTitulo":"10","fonteItem":"18 Negrito","guilhotina":"Sim"}])");
  f.edit(0, [](PrinterBoxState&) {});
  EXPECT_EQ(f.text(0, "guilhotina"), "Corte 1");
  EXPECT_EQ(f.text(0, "numeroEnterFinal"), "4");
  EXPECT_EQ(f.text(0, "fonteItem"), "");
  EXPECT_EQ(f.text(0, "imprimeSeparado"), "Sim");
}

TEST(PrinterBoxSave, MemberNamesInOtherLetterCaseAreUpdatedInPlace) {
  Fixture f(R"([{"NAME":"A","Tipo":"Outro","TIPOTEXTO":"Outro","imprimeseparado":"Sim",)"
            R"("Padrao":"Sim","FonteTitulo":"10","fonteitem":"12","TamanhoFolha":"32"}])");
  f.edit(0, [](PrinterBoxState& s) {
    s.tipo = PrinterType::GenericText;
    s.tamanhoFolha = "42";
  });
  EXPECT_EQ(
      f.tables.printers->asText(),
      R"([{"NAME":"A","Tipo":"Generic\u0020Text","TIPOTEXTO":"Outro","imprimeseparado":"Sim",)"
      R"("Padrao":"Sim","FonteTitulo":"10","fonteitem":"12","TamanhoFolha":"42",)"
      R"("endereco":"","conferencia":"N\u00E3o","fechamentoConta":"N\u00E3o",)"
      R"("fechamentoContaDetalhe":"N\u00E3o","guilhotina":"Corte\u00201",)"
      R"("numeroEnterFinal":"4","imprimeSeparadoQtd":"N\u00E3o","chamarGarcom":"N\u00E3o",)"
      R"("trevio":"N\u00E3o"}])");
}

TEST(PrinterBoxSave, ExclusiveFlagsMoveToTheSavedPrinter) {
  Fixture f(kTwoPrinters);
  f.edit(1, [](PrinterBoxState& s) {
    EXPECT_TRUE(s.padraoEnabled);
    s.padrao = true;
    s.conferencia = true;
    s.fechamentoConta = true;
    s.chamarGarcom = true;
    s.trevio = true;
  });
  for (const char* flag : {"padrao", "conferencia", "fechamentoConta", "chamarGarcom", "trevio"}) {
    EXPECT_EQ(f.text(0, flag), kNao) << flag;
    EXPECT_EQ(f.text(1, flag), "Sim") << flag;
  }
}

TEST(PrinterBoxSave, EachFlagMovesOnItsOwn) {
  for (const char* flag : {"conferencia", "fechamentoConta", "chamarGarcom", "trevio"}) {
    Fixture f(kTwoPrinters);
    f.edit(1, [&](PrinterBoxState& s) {
      if (std::string(flag) == "conferencia") s.conferencia = true;
      if (std::string(flag) == "fechamentoConta") s.fechamentoConta = true;
      if (std::string(flag) == "chamarGarcom") s.chamarGarcom = true;
      if (std::string(flag) == "trevio") s.trevio = true;
    });
    EXPECT_EQ(f.text(0, flag), kNao) << flag;
    EXPECT_EQ(f.text(1, flag), "Sim") << flag;
    EXPECT_EQ(f.text(0, "padrao"), "Sim") << flag;
    EXPECT_EQ(f.text(1, "padrao"), kNao) << flag;
    for (const char* other : {"conferencia", "fechamentoConta", "chamarGarcom", "trevio"}) {
      if (std::string(other) != flag) {
        EXPECT_EQ(f.text(0, other), "Sim") << flag << " " << other;
      }
    }
  }
}

TEST(PrinterBoxSave, ConferenciaSwitchedOffOnItsHolderIsOffEverywhere) {
  Fixture f(
      R"([{"name":"A","tipo":"Outro","tipoTexto":"Outro","imprimeSeparado":"Sim","padrao":"Sim",)"
      R"("fonteTitulo":"10","fonteItem":"12","conferencia":"Sim"},)"
      R"({"name":"B","tipo":"Outro","tipoTexto":"Outro","imprimeSeparado":"Sim","padrao":"N\u00e3o",)"
      R"("fonteTitulo":"10","fonteItem":"12","conferencia":"Sim"},{"name":"C","tipo":"Outro",)"
      R"("tipoTexto":"Outro","imprimeSeparado":"Sim","padrao":"N\u00e3o","fonteTitulo":"10","fonteItem":"12"}])");
  f.edit(1, [](PrinterBoxState& s) { s.conferencia = false; });
  EXPECT_EQ(f.text(0, "conferencia"), kNao);
  EXPECT_EQ(f.text(1, "conferencia"), kNao);
  // A printer without the member is left without it.
  EXPECT_FALSE(f.tables.printers->objectAt(2).contains("conferencia"));
}

TEST(PrinterBoxSave, CredentialsWindowOpensFirstOnlyWhenTrevanoWasOffOrMissing) {
  {
    Fixture f(kTwoPrinters);  // B has no "trevio"
    std::string seenOnA;
    f.port.onEntry = [&](const std::string& entry) {
      if (entry == "credentials") seenOnA = f.text(0, "trevio");
    };
    f.edit(1, [](PrinterBoxState& s) { s.trevio = true; });
    EXPECT_EQ(f.port.journal, (std::vector<std::string>{"credentials", "loadImpressora"}));
    EXPECT_EQ(seenOnA, "Sim");  // the window comes before the flag moves
  }
  {
    Fixture f(kTwoPrinters);
    f.tables.printers->objectAt(1).setText("trevio", kNao);
    f.edit(1, [](PrinterBoxState& s) { s.trevio = true; });
    EXPECT_EQ(f.port.journal, (std::vector<std::string>{"credentials", "loadImpressora"}));
  }
  {
    Fixture f(kTwoPrinters);  // A already has "Sim"
    f.edit(0, [](PrinterBoxState& s) { s.trevio = true; });
    EXPECT_EQ(f.port.journal, (std::vector<std::string>{"loadImpressora"}));
    EXPECT_EQ(f.text(0, "trevio"), "Sim");
  }
  {
    Fixture f(kTwoPrinters);
    f.edit(1, [](PrinterBoxState& s) { s.trevio = false; });
    EXPECT_EQ(f.port.journal, (std::vector<std::string>{"loadImpressora"}));
    EXPECT_EQ(f.text(0, "trevio"), "Sim");
  }
}

TEST(PrinterBoxSave, APrinterWithoutPadraoStopsTheDefaultPassWhereItStands) {
  Fixture f(
      R"([{"name":"A","padrao":"Sim"},{"name":"B"},{"name":"C","tipo":"Outro","tipoTexto":"Outro",)"
      R"("imprimeSeparado":"Sim","padrao":"N\u00e3o","fonteTitulo":"10","fonteItem":"12"}])");
  ASSERT_EQ(f.box.open(*f.tables.printers, 2).message, "");
  f.box.state.padrao = true;
  f.box.state.tamanhoFolha = "80";
  EXPECT_THROW(f.box.save(f.tables, 2, f.port), json::NoSuchElementException);
  EXPECT_EQ(f.text(0, "padrao"), kNao);  // visited before the failure
  EXPECT_EQ(f.text(2, "padrao"), kNao);
  EXPECT_FALSE(f.tables.printers->objectAt(2).contains("tamanhoFolha"));
  EXPECT_TRUE(f.port.journal.empty());
}

TEST(PrinterBoxSave, WithoutSelectionNothingIsSaved) {
  Fixture f(kTwoPrinters);
  const std::string before = f.tables.printers->asText();
  const host::Outcome saved = f.box.save(f.tables, -1, f.port);
  EXPECT_EQ(saved.message, "Nenhuma impressora selecionada");
  EXPECT_EQ(saved.refill, host::kRefillNothing);
  EXPECT_EQ(f.tables.printers->asText(), before);
  EXPECT_TRUE(f.port.journal.empty());
}

TEST(PrinterBoxSave, AnEpsonPrinterSwitchesTheLibrarysLogOnAfterTheListIsRefilled) {
  EXPECT_EQ(routing::epsonLogDirectory("C:\\Program Files\\Quelta"),
            "C:\\\\Program Files\\\\Quelta\\\\log\\\\");
  EXPECT_EQ(routing::epsonLogDirectory(""), "\\\\log\\\\");
  {
    Fixture f(kTwoPrinters);
    f.edit(0, [](PrinterBoxState& s) {
      s.tipo = PrinterType::EpsonDll;
      s.endereco = "USB";
    });
    EXPECT_EQ(f.port.journal,
              (std::vector<std::string>{"loadImpressora", "IniciaPorta USB",
                                        "Habilita_Log 1 C:\\\\Quelta\\\\log\\\\", "FechaPorta"}));
  }
  {
    Fixture f(kTwoPrinters);
    f.epson.failing = {"IniciaPorta"};
    f.edit(0, [](PrinterBoxState& s) {
      s.tipo = PrinterType::EpsonDll;
      s.endereco = "COM3";
    });
    EXPECT_EQ(f.port.journal, (std::vector<std::string>{"loadImpressora", "IniciaPorta COM3",
                                                        "message Erro ao ativar log da DLL (1)"}));
    EXPECT_EQ(f.text(0, "tipo"), "EPSON DLL");  // stored before the message
  }
  {
    Fixture f(kTwoPrinters);
    f.epson.failing = {"Habilita_Log", "FechaPorta"};
    f.edit(0, [](PrinterBoxState& s) {
      s.tipo = PrinterType::EpsonDll;
      s.endereco = "";
    });
    EXPECT_EQ(f.port.journal,
              (std::vector<std::string>{"loadImpressora", "IniciaPorta ",
                                        "Habilita_Log 1 C:\\\\Quelta\\\\log\\\\",
                                        "message Erro ao ativar log da DLL (2)", "FechaPorta",
                                        "message Erro ao ativar log da DLL (3)"}));
  }
  {
    Fixture f(kTwoPrinters);
    f.edit(0, [](PrinterBoxState& s) { s.tipo = PrinterType::Outro; });
    EXPECT_EQ(f.port.journal, (std::vector<std::string>{"loadImpressora"}));
  }
  {
    Fixture f(kTwoPrinters);
    f.epson.missing = "IniciaPorta";
    f.edit(0, [](PrinterBoxState& s) { s.tipo = PrinterType::EpsonDll; });
    EXPECT_EQ(f.port.journal,
              (std::vector<std::string>{"loadImpressora",
                                        "message A fun\xe7\xe3o IniciaPorta n\xe3o existe"}));
  }
}

}  // namespace
