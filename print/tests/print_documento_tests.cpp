#include <gtest/gtest.h>

#include "print/print_document.h"
#include "print/print_documento.h"
#include "print/tests/printer_fixture.h"
#include "tests/support/recording_services.h"

namespace {

using printtest::EpsonCall;
using printtest::Recorders;
using Log = std::vector<std::string>;

const std::string kCut1 = std::string("\x1d\x56\x42\x00", 4) + "\r\n";
const std::string kCut2 = "\x1b\x6d\r\n";

using printtest::Array;
using printtest::Object;
using printtest::printer;

void addLine(json::TJSONArray& doc, const std::string& text, int tipo,
             const std::string& fonte = "12") {
  auto line = json::make<json::TJSONObject>();
  line->setText("text", text);
  line->set("tipo", json::makeInteger(tipo));
  line->setText("fonte", fonte);
  doc.add(std::move(line));
}

Array twoLines() {
  Array doc = json::make<json::TJSONArray>();
  addLine(*doc, "MESA 4", 0, "14 Negrito");
  addLine(*doc, "1x Feijoada", 2, "12");
  return doc;
}

// ---- "Generic Text" ----------------------------------------------------

TEST(GenericText, DefaultsGiveTheLinesTwoEmptyLinesAndTheMode1CutToTheLocalShare) {
  Recorders r;
  std::string result;
  print::printDocumento(*printer("Generic Text"), *twoLines(), result, r.services());
  EXPECT_EQ(result, "OK");
  EXPECT_EQ(r.share.record.opened, Log{"\\\\127.0.0.1\\COZINHA"});
  EXPECT_EQ(r.share.record.bytes, "MESA 4\r\n1x Feijoada\r\n\r\n\r\n" + kCut1);
  EXPECT_TRUE(r.share.record.closed);
  EXPECT_EQ(r.pauses, std::vector<int>{3000});
}

TEST(GenericText, ANameWithTwoBackslashesIsThePathItselfAndModesPrefixEveryLine) {
  Recorders r;
  Object p = printer("Generic Text", "\\\\SERVIDOR\\CAIXA");
  p->setText("tipoTexto", "Epson");
  std::string result;
  print::printDocumento(*p, *twoLines(), result, r.services());
  EXPECT_EQ(result, "OK");
  EXPECT_EQ(r.share.record.opened, Log{"\\\\SERVIDOR\\CAIXA"});
  EXPECT_EQ(r.share.record.bytes,
            "\x1b!\x28MESA 4\r\n\x1b!\x0c"
            "1x Feijoada\r\n\r\n\r\n" +
                kCut1);
  // One backslash is not enough: the name is a share name then.
  EXPECT_EQ(print::shareTarget("SERVIDOR\\CAIXA"), "\\\\127.0.0.1\\SERVIDOR\\CAIXA");
}

TEST(GenericText, CutModesAndTrailingEmptyLines) {
  struct Case {
    const char* guilhotina;        // nullptr: key absent
    const char* numeroEnterFinal;  // nullptr: key absent
    std::string trailer;
  } cases[] = {
      {nullptr, nullptr, "\r\n\r\n" + kCut1},
      {"Corte 1", "1", "\r\n\r\n" + kCut1},
      {"Corte 2", nullptr, "\r\n\r\n" + kCut2},
      {"N\xe3o", nullptr, "\r\n\r\n"},
      {"Sim", nullptr, "\r\n\r\n"},
      {"corte 2", nullptr, "\r\n\r\n"},
      {nullptr, "0", "\r\n" + kCut1},
      {nullptr, "-3", "\r\n" + kCut1},
      {"Corte 2", "4", "\r\n\r\n\r\n\r\n\r\n" + kCut2},
      {nullptr, "2.6", "\r\n\r\n\r\n\r\n" + kCut1},  // numbers as text are rounded
  };
  for (const Case& c : cases) {
    Recorders r;
    Object p = printer("Generic Text");
    if (c.guilhotina) p->setText("guilhotina", c.guilhotina);
    if (c.numeroEnterFinal) p->setText("numeroEnterFinal", c.numeroEnterFinal);
    json::TJSONArray doc;
    addLine(doc, "X", 2);
    std::string result;
    print::printDocumento(*p, doc, result, r.services());
    EXPECT_EQ(result, "OK");
    EXPECT_EQ(r.share.record.bytes, "X\r\n" + c.trailer)
        << (c.guilhotina ? c.guilhotina : "-") << " / "
        << (c.numeroEnterFinal ? c.numeroEnterFinal : "-");
  }

  Recorders r;  // an empty document: the trailer alone
  std::string result;
  print::printDocumento(*printer("Generic Text"), *json::make<json::TJSONArray>(), result,
                        r.services());
  EXPECT_EQ(result, "OK");
  EXPECT_EQ(r.share.record.bytes, "\r\n\r\n" + kCut1);
}

TEST(GenericText, BadRecordsAndLinesFailWholeBeforeAnythingIsSent) {
  {
    Recorders r;
    Object p = printer("Generic Text");
    p->setText("numeroEnterFinal", "dois");
    std::string result;
    print::printDocumento(*p, *twoLines(), result, r.services());
    EXPECT_EQ(result.rfind("Erro na impressao: EConvertError - ", 0), 0u) << result;
    EXPECT_TRUE(r.share.record.opened.empty());
    EXPECT_TRUE(r.pauses.empty());
  }
  {
    Recorders r;
    Array doc = twoLines();
    auto bad = json::make<json::TJSONObject>();
    bad->set("tipo", json::makeInteger(2));
    doc->add(std::move(bad));
    std::string result;
    print::printDocumento(*printer("Generic Text"), *doc, result, r.services());
    EXPECT_EQ(result,
              "Erro na impressao: NoSuchElementException - TJSONObject[\"text\"] not found.");
    EXPECT_TRUE(r.share.record.opened.empty());
    EXPECT_TRUE(r.pauses.empty());
  }
  {
    Recorders r;
    Object p = json::make<json::TJSONObject>();
    p->setText("name", "COZINHA");
    std::string result;
    print::printDocumento(*p, *twoLines(), result, r.services());
    EXPECT_EQ(result,
              "Erro na impressao: NoSuchElementException - TJSONObject[\"tipo\"] not found.");
  }
}

TEST(GenericText, ShareErrorsBecomeTheResultAndTheShareIsClosed) {
  Recorders r;
  r.share.record.failOpen = true;
  std::string result;
  print::printDocumento(*printer("Generic Text"), *twoLines(), result, r.services());
  EXPECT_EQ(result,
            "Erro na impressao: EInOutError - Cannot open \"\\\\127.0.0.1\\COZINHA\". Network path "
            "not found");
  EXPECT_TRUE(r.pauses.empty());

  Recorders w;
  w.share.record.failWrite = true;
  print::printDocumento(*printer("Generic Text"), *twoLines(), result, w.services());
  EXPECT_EQ(result, "Erro na impressao: EInOutError - Cannot write to share");
  EXPECT_TRUE(w.share.record.released);
  EXPECT_TRUE(w.pauses.empty());
}

// ---- "EPSON DLL" -------------------------------------------------------

// The call order and chunking of a long ticket are checked against the
// stand-in DLL itself (print_win32_tests); here the limits.
TEST(EpsonDll, ChunksReachExactly4000AndAnOversizedLineGoesAloneAfterAnEmptyCall) {
  for (auto [second, chunks] : {std::pair{1999u, 1u}, {2000u, 2u}}) {
    Recorders r;
    json::TJSONArray doc;
    addLine(doc, std::string(1999, 'a'), 2);  // 2000 with its LF
    addLine(doc, std::string(second, 'b'), 2);
    std::string result;
    print::printDocumento(*printer("EPSON DLL"), doc, result, r.services());
    EXPECT_EQ(r.epson.calls.size(), 4 + chunks) << second;
  }

  Recorders r;
  json::TJSONArray doc;
  addLine(doc, std::string(4500, 'x'), 2);
  addLine(doc, "fim", 2);
  std::string result;
  print::printDocumento(*printer("EPSON DLL"), doc, result, r.services());
  EXPECT_EQ(result, "OK");
  ASSERT_EQ(r.epson.calls.size(), 7u);
  EXPECT_EQ(r.epson.calls[2], (EpsonCall{"ImprimeTextoTag", "", 0}));
  EXPECT_TRUE(r.epson.calls[3].text == std::string(4500, 'x') + "\n");
  EXPECT_EQ(r.epson.calls[4].text, "fim\n");

  Recorders e;
  print::printDocumento(*printer("EPSON DLL"), *json::make<json::TJSONArray>(), result,
                        e.services());
  EXPECT_EQ(result, "OK");
  EXPECT_EQ(e.epson.calls, (std::vector<EpsonCall>{{"FechaPorta", "", 0},
                                                   {"IniciaPorta", "USB", 0},
                                                   {"ImprimeTextoTag", "", 0},
                                                   {"AcionaGuilhotina", "", 0},
                                                   {"FechaPorta", "", 0}}));
}

TEST(EpsonDll, FailedCallsGiveTheirTextsAndTheJobGoesOn) {
  const std::string prefix = "Erro na impressao: ";
  struct Case {
    std::set<std::string> failing;
    std::string result;
    size_t calls;
  } cases[] = {
      {{"IniciaPorta"}, prefix + "N\xe3o foi possivel conecar na porta da impressora", 2},
      {{"ImprimeTextoTag"}, prefix + "N\xe3o foi poss\xedvel imprimir o pedido", 5},
      {{"AcionaGuilhotina"}, prefix + "N\xe3o foi poss\xedvel assionar a guilhotina", 5},
      {{"FechaPorta"}, prefix + "N\xe3o foi poss\xedvel fechar a porta de comunica\xe7\xe3o", 5},
      {{"ImprimeTextoTag", "AcionaGuilhotina"},
       prefix + "N\xe3o foi poss\xedvel assionar a guilhotina",
       5},
  };
  for (const Case& c : cases) {
    Recorders r;
    r.epson.failing = c.failing;
    std::string result;
    print::printDocumento(*printer("EPSON DLL"), *twoLines(), result, r.services());
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(r.epson.calls.size(), c.calls) << c.result;
    EXPECT_EQ(r.pauses, std::vector<int>{3000}) << c.result;  // a reported failure still pauses
  }
}

TEST(EpsonDll, AMissingLibraryFunctionIsAnErrorAndAnOpenPortIsClosedAgain) {
  Recorders r;
  r.epson.missing = "FechaPorta";
  std::string result;
  print::printDocumento(*printer("EPSON DLL"), *twoLines(), result, r.services());
  EXPECT_EQ(result, "Erro na impressao: EDLLLoadError - A fun\xe7\xe3o FechaPorta n\xe3o existe");
  EXPECT_TRUE(r.epson.calls.empty());
  EXPECT_TRUE(r.pauses.empty());

  Recorders m;
  m.epson.missing = "AcionaGuilhotina";
  print::printDocumento(*printer("EPSON DLL"), *twoLines(), result, m.services());
  EXPECT_EQ(result,
            "Erro na impressao: EDLLLoadError - A fun\xe7\xe3o AcionaGuilhotina n\xe3o existe");
  EXPECT_EQ(m.epson.names(), (Log{"FechaPorta", "IniciaPorta", "ImprimeTextoTag", "FechaPorta"}));

  Recorders n;  // a record without "endereco" fails before the library is called
  Object p = printer("EPSON DLL");
  p->take("endereco");
  print::printDocumento(*p, *twoLines(), result, n.services());
  EXPECT_EQ(result,
            "Erro na impressao: NoSuchElementException - TJSONObject[\"endereco\"] not found.");
  EXPECT_TRUE(n.epson.calls.empty());
}

// ---- Windows printers ----------------------------------------------------

TEST(WindowsPrinter, PrintsEachLineInItsFontOnThePrinterNamedIgnoringCase) {
  Recorders r;
  r.printers.list = {"HP LaserJet", "Caixa T\xc9RMICA"};
  r.printers.defaultName = "HP LaserJet";
  json::TJSONArray doc;
  addLine(doc, "PEDIDO", 0, "18  Negrito");
  addLine(doc, "1x Suco", 2, "12");
  std::string result;
  print::printDocumento(*printer("Outro", "caixa t\xe9rmica"), doc, result, r.services());
  EXPECT_EQ(result, "OK");
  EXPECT_EQ(r.printers.opened, Log{"Caixa T\xc9RMICA"});
  EXPECT_EQ(r.printers.log, (Log{"begin Quelta Configura\xe7\xe3o", "font 18 bold",
                                 "text 0 0 PEDIDO", "font 12 plain", "text 0 38 1x Suco", "end"}));
  EXPECT_EQ(r.pauses, std::vector<int>{3000});
  // The other back-ends take only their exact "tipo".
  for (const char* tipo : {"generic text", "Epson DLL", "Matricial"}) {
    Recorders other;
    other.printers.list = r.printers.list;
    print::printDocumento(*printer(tipo, "caixa t\xe9rmica"), doc, result, other.services());
    EXPECT_EQ(other.printers.opened, Log{"Caixa T\xc9RMICA"}) << tipo;
  }
}

TEST(WindowsPrinter, AnUnknownNameGoesToTheDefaultPrinterAndTrailingLinesFeedThePage) {
  Recorders r;
  r.printers.list = {"HP LaserJet", "Caixa"};
  r.printers.defaultName = "HP LaserJet";
  r.printers.page = {400, 100};  // 22-unit lines; empty lines 20 units
  Object p = printer("Outro", "Cozinha 2");
  json::TJSONArray doc;
  addLine(doc, "A", 2, "10");
  std::string result;
  print::printDocumento(*p, doc, result, r.services());  // one trailing line by default
  EXPECT_EQ(result, "OK");
  EXPECT_EQ(r.printers.opened, Log{"HP LaserJet"});
  EXPECT_EQ(r.printers.log,
            (Log{"begin Quelta Configura\xe7\xe3o", "font 10 plain", "text 0 0 A", "end"}));

  // Two trailing lines bring the position within two line heights of the
  // bottom (22 + 20 + 20 = 62): the page turns.
  r.printers.log.clear();
  p->setText("numeroEnterFinal", "2");
  print::printDocumento(*p, doc, result, r.services());
  EXPECT_EQ(r.printers.log,
            (Log{"begin Quelta Configura\xe7\xe3o", "font 10 plain", "text 0 0 A", "page", "end"}));
}

TEST(WindowsPrinter, ErrorsAbortTheJobOrStopItBeforeItStarts) {
  Recorders r;
  r.printers.list = {"Caixa"};
  r.printers.failOn = "quebra";
  json::TJSONArray doc;
  addLine(doc, "ok", 2, "10");
  addLine(doc, "quebra", 2, "10");
  std::string result;
  print::printDocumento(*printer("Outro", "Caixa"), doc, result, r.services());
  EXPECT_EQ(result, "Erro na impressao: EPrinter - Printer jammed");
  EXPECT_EQ(r.printers.log, (Log{"begin Quelta Configura\xe7\xe3o", "font 10 plain", "text 0 0 ok",
                                 "font 10 plain", "abort"}));
  EXPECT_TRUE(r.pauses.empty());

  Recorders f;  // a bad font spec: no job is opened at all
  f.printers.list = {"Caixa"};
  json::TJSONArray bad;
  addLine(bad, "ok", 2, "Negrito 12");
  print::printDocumento(*printer("Outro", "Caixa"), bad, result, f.services());
  EXPECT_EQ(result, "Erro na impressao: EConvertError - 'Ne' is not a valid integer value");
  EXPECT_TRUE(f.printers.opened.empty());

  Recorders n;  // nothing installed and no default printer
  print::printDocumento(*printer("Outro", "Caixa"), doc, result, n.services());
  EXPECT_EQ(result,
            "Erro na impressao: EPrinter - Impressora \"Caixa\" n\xe3o instalada e nenhuma "
            "impressora padr\xe3o definida");
}

}  // namespace
