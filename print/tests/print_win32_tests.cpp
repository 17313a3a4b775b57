// The back-ends against the real Windows services under Wine: a file
// reached through a path with two consecutive backslashes, the Epson
// stand-in DLL loaded with LoadLibrary, and a GDI job to an installed
// printer (a CUPS queue that the test run sets up).
#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/epson_library.h"
#include "platform/files.h"
#include "platform/printers.h"
#include "print/log_file.h"
#include "print/print_document.h"
#include "print/print_documento.h"
#include "print/print_services.h"
#include "print/test_ticket.h"
#include "print/tests/printer_fixture.h"
#include "print/ticket_preview.h"
#include "tests/support/setup_missing.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wine_host.h"

namespace {

using printtest::Array;
using printtest::Object;
using printtest::printer;
using Names = std::vector<std::string>;
using wine_host::windowsPath;

void addLine(json::TJSONArray& doc, const std::string& text, int tipo, const std::string& fonte) {
  auto line = json::make<json::TJSONObject>();
  line->setText("text", text);
  line->set("tipo", json::makeInteger(tipo));
  line->setText("fonte", fonte);
  doc.add(std::move(line));
}

struct Services {
  std::vector<int> pauses;
  std::unique_ptr<platform::EpsonLibrary> epson;
  print::PrintServices get() {
    print::PrintServices s = print::printServices(platform::systemServices());
    if (epson) s.epson = epson.get();
    s.pause = [this](int ms) { pauses.push_back(ms); };
    return s;
  }
};

// ---- the daily log while another process holds the day file -----------

TEST(SaveLogLockedFile, AnUnreadableDayFileGetsTheFailureLineAndKeepsItsEntries) {
  TempDir dir;
  platform::SettableClock clock({2026, 7, 1, 10, 11, 12});
  print::saveLog(dir.path(), "primeira", clock);
  std::string day = print::logFileName(dir.path(), clock.now());

  // Like the print service in the middle of its own write: the file is
  // open for writing and shared for writing only, so it cannot be read.
  HANDLE held = CreateFileA(day.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  clock.set({2026, 7, 1, 10, 11, 13});
  print::saveLog(dir.path(), "segunda", clock);
  CloseHandle(held);

  std::string text = platform::readFile(day);
  EXPECT_EQ(
      text.rfind("10:11:12 : primeira\r\n10:11:13 : Erro Cannot open file \"" + day + "\"", 0), 0u)
      << text;
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");

  // Held without any sharing, nothing can be written: the error reaches the
  // caller and the file keeps what it had.
  held = CreateFileA(day.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_THROW(print::saveLog(dir.path(), "terceira", clock), quelta::IOError);
  CloseHandle(held);
  EXPECT_EQ(platform::readFile(day), text);
}

// ---- "Generic Text" to a real file --------------------------------------

// "\\?\C:\dir\file" holds two consecutive backslashes, so the back-end takes
// it as the full path, and Windows (Wine as well) opens it as that file.
TEST(GenericTextFile, ExactBytesReachTheFileNamedByAPathWithTwoBackslashes) {
  TempDir dir;
  std::string target = "\\\\?\\" + dir.file("caixa.prn");
  const std::string cut1("\x1d\x56\x42\x00\r\n", 6), cut2 = "\x1b\x6d\r\n";
  const std::string kinds = "T\xcdTULO\r\n";  // the same text as headline, title and item
  struct Case {
    const char* tipoTexto;
    const char* guilhotina;        // nullptr: key absent
    const char* numeroEnterFinal;  // nullptr: key absent
    bool lines;                    // false: an empty document
    std::string bytes;
  } cases[] = {
      {"Outro", nullptr, nullptr, true, kinds + kinds + kinds + "\r\n\r\n" + cut1},
      {"Epson", nullptr, nullptr, true,
       "\x1b!\x28" + kinds + "\x1b!\x29" + kinds + "\x1b!\x0c" + kinds + "\r\n\r\n" + cut1},
      {"Epson - Fonte M\xe9"
       "dia",
       "Corte 2", "2", true,
       "\x1b!\x28" + kinds + "\x1b!\x29" + kinds + "\x1b!\x29" + kinds + "\r\n\r\n\r\n" + cut2},
      {"Epson - Fonte Grande", "N\xe3o", nullptr, true,
       "\x1b!\x28" + kinds + "\x1b!\x29" + kinds + "\x1b!\x28" + kinds + "\r\n\r\n"},
      {"Outro", "Corte 1", "0", true, kinds + kinds + kinds + "\r\n" + cut1},
      {"Outro", nullptr, nullptr, false, "\r\n\r\n" + cut1},
      {"Epson", "Corte 2", "0", false, "\r\n" + cut2},
  };
  for (const Case& c : cases) {
    Object p = printer("Generic Text", target);
    p->setText("tipoTexto", c.tipoTexto);
    if (c.guilhotina) p->setText("guilhotina", c.guilhotina);
    if (c.numeroEnterFinal) p->setText("numeroEnterFinal", c.numeroEnterFinal);
    Array doc = json::make<json::TJSONArray>();
    if (c.lines) {
      for (int tipo : {0, 1, 2}) addLine(*doc, "T\xcdTULO", tipo, "");
    }
    Services s;
    std::string result;
    print::printDocumento(*p, *doc, result, s.get());
    EXPECT_EQ(result, "OK");
    EXPECT_EQ(s.pauses, std::vector<int>{3000});
    // The file is created anew for every job, never appended to.
    EXPECT_EQ(platform::readFile(dir.file("caixa.prn")), c.bytes)
        << c.tipoTexto << " / " << (c.guilhotina ? c.guilhotina : "-") << " / "
        << (c.numeroEnterFinal ? c.numeroEnterFinal : "-");
  }

  // A "numeroEnterFinal" that is no number fails the job before the share
  // is opened: the last ticket stays as it was.
  Object p = printer("Generic Text", target);
  p->setText("numeroEnterFinal", "x1");
  Array doc = json::make<json::TJSONArray>();
  addLine(*doc, "nada", 2, "");
  Services s;
  std::string result;
  print::printDocumento(*p, *doc, result, s.get());
  EXPECT_EQ(result, "Erro na impressao: EConvertError - 'x1' is not a valid floating point value");
  EXPECT_TRUE(s.pauses.empty());
  EXPECT_EQ(platform::readFile(dir.file("caixa.prn")), "\r\n" + cut2);
}

TEST(GenericTextFile, AShareThatCannotBeOpenedIsAnIOErrorNamingThePath) {
  TempDir dir;
  std::string target = "\\\\?\\" + dir.file("nao-existe") + "\\caixa.prn";
  Services s;
  std::string result;
  print::printDocumento(*printer("Generic Text", target), *json::make<json::TJSONArray>(), result,
                        s.get());
  EXPECT_EQ(result.rfind("Erro na impressao: EInOutError - Cannot open \"" + target + "\". ", 0),
            0u)
      << result;
  EXPECT_TRUE(s.pauses.empty());
}

// ---- the Epson stand-in DLL -------------------------------------------

struct Call {
  std::string function;
  std::vector<std::string> texts;
  std::vector<int> numbers;
  int answer = -1;
};

// A private copy of the stand-in, loaded for real from its own directory;
// its capture and control files live beside it.
class EpsonStandin {
 public:
  EpsonStandin() {
    dll_ = dir_.file("InterfaceEpsonNF.dll");
    EXPECT_TRUE(CopyFileA(windowsPath(QUELTA_EPSON_STANDIN).c_str(), dll_.c_str(), FALSE))
        << "stand-in DLL not found at " << QUELTA_EPSON_STANDIN;
  }

  std::unique_ptr<platform::EpsonLibrary> load() const { return platform::loadEpsonLibrary(dll_); }

  void failing(const std::string& functions) const {
    platform::writeFileReplacing(dir_.file("epson-control.txt"), functions);
  }

  std::vector<Call> calls() const {
    std::vector<Call> out;
    if (!platform::fileExists(dir_.file("epson-capture.txt"))) return out;
    std::string bytes = platform::readFile(dir_.file("epson-capture.txt"));
    size_t at = 0;
    while (at < bytes.size()) {
      size_t end = bytes.find('\n', at);
      std::istringstream header(bytes.substr(at, end - at));
      at = end + 1;
      Call call;
      header >> call.function;
      std::string word;
      std::vector<size_t> lengths;
      while (header >> word && word != "=") {
        if (word.rfind("s:", 0) == 0) lengths.push_back(std::stoul(word.substr(2)));
        if (word.rfind("i:", 0) == 0) call.numbers.push_back(std::stoi(word.substr(2)));
      }
      header >> call.answer;
      for (size_t length : lengths) {
        call.texts.push_back(bytes.substr(at, length));
        at += length + 1;
      }
      out.push_back(call);
    }
    return out;
  }

  static Names names(const std::vector<Call>& calls) {
    Names out;
    for (const Call& c : calls) out.push_back(c.function);
    return out;
  }

 private:
  TempDir dir_;
  std::string dll_;
};

TEST(EpsonStandinDll, CallOrderAndWholeLineChunksOfANineThousandCharacterTicket) {
  EpsonStandin standin;
  Services s;
  s.epson = standin.load();
  Object p = printer("EPSON DLL", "Epson TM-T20");
  p->setText("tipoTexto", "Epson");
  p->setText("endereco", "COM3");
  // 90 lines of 96 characters + 3 prefix bytes + LF: 9000 characters.
  Array doc = json::make<json::TJSONArray>();
  std::vector<std::string> pieces;
  for (int i = 0; i < 90; ++i) {
    std::string text = std::to_string(100 + i) + std::string(93, 'A' + i % 26);
    addLine(*doc, text, i % 3, "");
    pieces.push_back(print::formatTexto(text, i % 3, *p) + "\n");
  }
  std::string result;
  print::printDocumento(*p, *doc, result, s.get());
  EXPECT_EQ(result, "OK");
  EXPECT_EQ(s.pauses, std::vector<int>{3000});
  s.epson.reset();

  std::vector<Call> calls = standin.calls();
  ASSERT_EQ(EpsonStandin::names(calls),
            (Names{"FechaPorta", "IniciaPorta", "ImprimeTextoTag", "ImprimeTextoTag",
                   "ImprimeTextoTag", "AcionaGuilhotina", "FechaPorta"}));
  EXPECT_EQ(calls[1].texts, Names{"COM3"});
  EXPECT_EQ(calls[5].numbers, std::vector<int>{0});
  // 40 lines of 100 characters fit exactly: 40, 40 and 10 lines.
  std::string all;
  size_t next = 0;
  for (int c = 2; c <= 4; ++c) {
    ASSERT_EQ(calls[c].texts.size(), 1u);
    const std::string& chunk = calls[c].texts[0];
    EXPECT_EQ(calls[c].answer, 1);
    EXPECT_LE(chunk.size(), 4000u);
    std::string expected;
    for (size_t i = 0; i < (c < 4 ? 40u : 10u); ++i) expected += pieces[next++];
    EXPECT_TRUE(chunk == expected) << "chunk " << c - 1 << " differs";
  }
  EXPECT_EQ(next, pieces.size());
}

TEST(EpsonStandinDll, EachFailingFunctionGivesItsResultAndThePortThatDoesNotOpenStopsTheJob) {
  const std::string prefix = "Erro na impressao: ";
  struct Case {
    const char* failing;
    std::string result;
    Names calls;
  } cases[] = {
      {"IniciaPorta",
       prefix + "N\xe3o foi possivel conecar na porta da impressora",
       {"FechaPorta", "IniciaPorta"}},
      {"ImprimeTextoTag",
       prefix + "N\xe3o foi poss\xedvel imprimir o pedido",
       {"FechaPorta", "IniciaPorta", "ImprimeTextoTag", "AcionaGuilhotina", "FechaPorta"}},
      {"AcionaGuilhotina",
       prefix + "N\xe3o foi poss\xedvel assionar a guilhotina",
       {"FechaPorta", "IniciaPorta", "ImprimeTextoTag", "AcionaGuilhotina", "FechaPorta"}},
      {"FechaPorta",
       prefix + "N\xe3o foi poss\xedvel fechar a porta de comunica\xe7\xe3o",
       {"FechaPorta", "IniciaPorta", "ImprimeTextoTag", "AcionaGuilhotina", "FechaPorta"}},
  };
  for (const Case& c : cases) {
    EpsonStandin standin;
    standin.failing(std::string("  \r\n") + c.failing + "\r\n");
    Services s;
    s.epson = standin.load();
    Array doc = json::make<json::TJSONArray>();
    addLine(*doc, "Teste", 1, "");
    std::string result;
    print::printDocumento(*printer("EPSON DLL", "Epson"), *doc, result, s.get());
    s.epson.reset();
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(EpsonStandin::names(standin.calls()), c.calls) << c.failing;
    EXPECT_EQ(s.pauses, std::vector<int>{3000}) << c.failing;
  }
}

TEST(EpsonStandinDll, TheLogSwitchPassesItsArgumentsUnchanged) {
  EpsonStandin standin;
  {
    std::unique_ptr<platform::EpsonLibrary> epson = standin.load();
    EXPECT_EQ(epson->IniciaPorta("USB"), 1);
    EXPECT_EQ(epson->Habilita_Log(1, "C:\\\\Quelta\\\\log\\\\"), 1);
    EXPECT_EQ(epson->FechaPorta(), 1);
  }
  std::vector<Call> calls = standin.calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[1].function, "Habilita_Log");
  EXPECT_EQ(calls[1].numbers, std::vector<int>{1});
  EXPECT_EQ(calls[1].texts, Names{"C:\\\\Quelta\\\\log\\\\"});
}

TEST(EpsonStandinDll, AMissingLibraryOrFunctionIsAnErrorResultNamingTheLibrary) {
  TempDir dir;
  Services s;
  std::string missing = dir.file("InterfaceEpsonNF.dll");
  s.epson = platform::loadEpsonLibrary(missing);
  std::string result;
  print::printDocumento(*printer("EPSON DLL", "Epson"), *json::make<json::TJSONArray>(), result,
                        s.get());
  EXPECT_EQ(result.rfind("Erro na impressao: EDLLLoadError - N\xe3o foi poss\xedvel carregar a "
                         "biblioteca " +
                             missing + " (erro ",
                         0),
            0u)
      << result;
  EXPECT_TRUE(s.pauses.empty());

  s.epson = platform::loadEpsonLibrary("kernel32.dll");  // a library without the functions
  print::printDocumento(*printer("EPSON DLL", "Epson"), *json::make<json::TJSONArray>(), result,
                        s.get());
  EXPECT_EQ(result,
            "Erro na impressao: EDLLLoadError - A fun\xe7\xe3o FechaPorta n\xe3o existe na "
            "biblioteca kernel32.dll");
}

// ---- the preview holds what a print sends ------------------------------

TEST(TicketPreviewAgainstPrint, BytesOnTheShareAndChunksToTheLibraryAreTheSame) {
  const platform::SettableClock clock({2026, 3, 7, 9, 5, 3});
  struct Case {
    const char* tipo;
    const char* tipoTexto;
    const char* tamanhoFolha;      // nullptr: key absent
    const char* guilhotina;        // nullptr: key absent
    const char* numeroEnterFinal;  // nullptr: key absent
  } cases[] = {
      {"Generic Text", "Outro", "40", nullptr, nullptr},
      {"Generic Text", "Epson", "48", "Corte 2", "3"},
      {"Generic Text",
       "Epson - Fonte M\xe9"
       "dia",
       "32", "N\xe3o", "0"},
      {"Generic Text", "Epson - Fonte Grande", nullptr, "Corte 1", "2"},
      {"EPSON DLL", "Epson", "40", nullptr, nullptr},
      {"EPSON DLL", "Epson - Fonte Grande", "56", "N\xe3o", "5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.tipo) + " / " + c.tipoTexto);
    TempDir dir;
    const bool epson = std::string(c.tipo) == "EPSON DLL";
    Object p = printer(c.tipo, epson ? "Epson TM-T20" : "\\\\?\\" + dir.file("caixa.prn"));
    p->setText("tipoTexto", c.tipoTexto);
    p->setText("fonteTitulo", "12 Negrito");
    p->setText("fonteItem", "10");
    if (c.tamanhoFolha) p->setText("tamanhoFolha", c.tamanhoFolha);
    if (c.guilhotina) p->setText("guilhotina", c.guilhotina);
    if (c.numeroEnterFinal) p->setText("numeroEnterFinal", c.numeroEnterFinal);

    EpsonStandin standin;
    Services s;
    if (epson) s.epson = standin.load();
    std::string result;
    print::printTeste(*p, "Sabor da Terra", result, s.get(), clock);
    s.epson.reset();
    ASSERT_EQ(result, "OK");

    print::TicketPreview preview =
        print::previewTeste(*p, "Sabor da Terra", clock, platform::systemPrinters());
    EXPECT_EQ(preview.result, "OK");
    if (epson) {
      std::vector<print::LibraryCall> sent;
      for (const Call& call : standin.calls()) {
        sent.push_back({call.function, call.texts.empty() ? "" : call.texts[0],
                        call.numbers.empty() ? 0 : call.numbers[0]});
      }
      EXPECT_EQ(preview.library.size(), 5u);
      EXPECT_TRUE(preview.library == sent);
    } else {
      EXPECT_EQ(preview.target, p->textOf("name"));
      EXPECT_NE(preview.bytes.find("ITEM 2 DESCRICAO\r\n"), std::string::npos);
      EXPECT_TRUE(preview.bytes == platform::readFile(dir.file("caixa.prn")));
    }
  }
}

// ---- a GDI job on an installed printer ---------------------------------

std::string pageCountOf(const std::string& postscript) {
  size_t pages = 0;
  for (size_t at = postscript.find("%%Page: "); at != std::string::npos;
       at = postscript.find("%%Page: ", at + 1))
    ++pages;
  return std::to_string(pages);
}

// Waits for the queue's backend to hand over the job it was given.
std::string waitForJob(const std::string& file) {
  for (int i = 0; i < 300 && !platform::fileExists(file); ++i) Sleep(100);
  return platform::fileExists(file) ? platform::readFile(file) : std::string();
}

TEST(WindowsPrinterJob, PagesComeOutOfTheInstalledPrinterChosenByNameIgnoringCase) {
  const char* queue = std::getenv("QUELTA_CUPS_QUEUE");
  const char* output = std::getenv("QUELTA_CUPS_OUTPUT");
  if (!queue || !output) {
    QUELTA_SKIP_WITHOUT_SETUP(
        "needs the CUPS queue that ctest starts (QUELTA_CUPS_QUEUE, QUELTA_CUPS_OUTPUT)");
  }
  Names installed = platform::systemPrinters().installed();
  ASSERT_NE(std::find(installed.begin(), installed.end(), queue), installed.end())
      << "the CUPS queue is not among the installed printers";

  std::string file = windowsPath(output);
  platform::deleteFile(file);
  std::string name = queue;
  std::transform(name.begin(), name.end(), name.begin(), ::tolower);
  Object p = printer("Outro", name);
  p->setText("numeroEnterFinal", "3");
  Array doc = json::make<json::TJSONArray>();
  addLine(*doc, "PEDIDO 27", 0, "18  Negrito");
  addLine(*doc, "1x Feijoada completa", 2, "12");
  addLine(*doc, "\fSegunda p\xe1gina", 2, "12");
  Services s;
  std::string result;
  print::printDocumento(*p, *doc, result, s.get());
  EXPECT_EQ(result, "OK");
  EXPECT_EQ(s.pauses, std::vector<int>{3000});

  std::string job = waitForJob(file);
  ASSERT_FALSE(job.empty()) << "no job reached the printer";
  EXPECT_EQ(job.rfind("%!PS", 0), 0u) << job.substr(0, 40);
  EXPECT_EQ(pageCountOf(job), "2");  // the form feed began the second page
  EXPECT_NE(job.find("%%EOF"), std::string::npos);
}

}  // namespace

#endif  // _WIN32
