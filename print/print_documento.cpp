#include "print/print_documento.h"

#include <vector>

#include "platform/error.h"
#include "platform/text_locale.h"
#include "print/print_document.h"
#include "print/text_device.h"
#include "routing/printer_record.h"

namespace print {
namespace {

using routing::PrinterSettings;

const char* const kFailurePrefix = "Erro na impressao: ";

// ---- "Generic Text": raw bytes to the printer's share -------------------

void printGenericText(const json::TJSONObject& printer, const json::TJSONArray& document,
                      platform::ShareOutput& share, std::string& result) {
  std::string target = shareTarget(printer.textOf("name"));
  std::string bytes;
  for (int i = 0; i < document.count(); ++i) {
    const json::TJSONObject& line = document.objectAt(i);
    std::string text = line.textOf("text");
    bytes += formatTexto(text, line.intOf("tipo"), printer) + "\r\n";
  }
  bytes += "\r\n";
  for (int n = trailingEmptyLines(printer); n > 0; --n) bytes += "\r\n";
  const routing::Cut cut = routing::cutOf(printer);
  if (cut == routing::Cut::Corte1) {
    bytes += std::string("\x1d\x56\x42\x00", 4) + "\r\n";
  } else if (cut == routing::Cut::Corte2) {
    bytes += "\x1b\x6d\r\n";
  }

  std::unique_ptr<platform::OutputChannel> channel = share.openNew(target);
  channel->write(bytes);
  channel->close();
  result = "OK";
}

// ---- "EPSON DLL": the Epson library ------------------------------------

void printEpson(const json::TJSONObject& printer, const json::TJSONArray& document,
                platform::EpsonLibrary& epson, std::string& result) {
  std::string port = printer.textOf(routing::printerField(&PrinterSettings::endereco).key);
  std::vector<std::string> pieces;
  for (int i = 0; i < document.count(); ++i) {
    const json::TJSONObject& line = document.objectAt(i);
    std::string text = line.textOf("text");
    pieces.push_back(formatTexto(text, line.intOf("tipo"), printer) + "\n");
  }

  epson.FechaPorta();  // a port left open by an earlier job; its answer does not matter
  result = "OK";
  if (epson.IniciaPorta(port) == 0) {
    result = std::string(kFailurePrefix) + "N\xe3o foi possivel conecar na porta da impressora";
    return;
  }
  const std::string printFailed =
      std::string(kFailurePrefix) + "N\xe3o foi poss\xedvel imprimir o pedido";
  try {
    // Whole lines go out together, up to the library's limit per call.
    std::string pending;
    for (const std::string& piece : pieces) {
      if (pending.size() + piece.size() <= kEpsonChunkLimit) {
        pending += piece;
      } else {
        if (epson.ImprimeTextoTag(pending) == 0) result = printFailed;
        pending = piece;
      }
    }
    if (epson.ImprimeTextoTag(pending) == 0) result = printFailed;
    if (epson.AcionaGuilhotina(0) == 0)
      result = std::string(kFailurePrefix) + "N\xe3o foi poss\xedvel assionar a guilhotina";
  } catch (...) {
    try {
      epson.FechaPorta();
    } catch (...) {
    }
    throw;
  }
  if (epson.FechaPorta() == 0)
    result =
        std::string(kFailurePrefix) + "N\xe3o foi poss\xedvel fechar a porta de comunica\xe7\xe3o";
}

// ---- any other type: the Windows printer's canvas ----------------------

struct CanvasLine {
  Fonte fonte;
  std::string text;
};

// The installed printer of that name, letter case ignored as the system
// compares names; the default printer when none has it.
std::string choosePrinter(const std::string& name, platform::Printers& printers) {
  for (const std::string& installed : printers.installed()) {
    if (platform::sameTextIgnoreCase(installed, name)) return installed;
  }
  std::string fallback = printers.defaultPrinter();
  if (fallback.empty()) {
    throw quelta::Error("EPrinter", "Impressora \"" + name +
                                        "\" n\xe3o instalada e nenhuma impressora padr\xe3o "
                                        "definida");
  }
  return fallback;
}

void printWindows(const json::TJSONObject& printer, const json::TJSONArray& document,
                  platform::Printers& printers, std::string& result) {
  std::string name = printer.textOf("name");
  std::vector<CanvasLine> lines;
  for (int i = 0; i < document.count(); ++i) {
    const json::TJSONObject& line = document.objectAt(i);
    Fonte fonte = parseFonte(line.textOf("fonte"));
    lines.push_back({fonte, line.textOf("text")});
  }
  int extra = trailingEmptyLines(printer);

  std::unique_ptr<platform::PrinterCanvas> canvas =
      printers.openCanvas(choosePrinter(name, printers));
  try {
    canvas->beginDoc("Quelta Configura\xe7\xe3o");
    TextDevice device(*canvas);
    for (const CanvasLine& line : lines) {
      canvas->setFont(line.fonte.size, line.fonte.bold);
      device.writeLine(line.text);
    }
    for (int n = extra; n > 0; --n) device.lineEnd();
    canvas->endDoc();
  } catch (...) {
    canvas->abort();
    throw;
  }
  result = "OK";
}

}  // namespace

std::string shareTarget(const std::string& name) {
  if (name.find("\\\\") != std::string::npos) return name;
  return "\\\\127.0.0.1\\" + name;
}

int trailingEmptyLines(const json::TJSONObject& printer) {
  const char* key = routing::printerField(&PrinterSettings::numeroEnterFinal).key;
  return printer.contains(key) ? printer.intOf(key) : 1;
}

void printDocumento(const json::TJSONObject& printer, const json::TJSONArray& document,
                    std::string& result, const PrintServices& services) {
  result = "ERRO DESCONHECIDO";
  try {
    const routing::PrinterType tipo = routing::printerType(printer);
    if (tipo == routing::PrinterType::GenericText) {
      printGenericText(printer, document, *services.share, result);
    } else if (tipo == routing::PrinterType::EpsonDll) {
      printEpson(printer, document, *services.epson, result);
    } else {
      printWindows(printer, document, *services.printers, result);
    }
  } catch (const quelta::Error& e) {
    result = kFailurePrefix + quelta::describe(e);
    return;
  } catch (const std::exception& e) {
    result = std::string(kFailurePrefix) + "Exception - " + e.what();
    return;
  }
  if (services.pause) services.pause(kPauseAfterJob);
}

}  // namespace print
