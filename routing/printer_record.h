// The printer record: the members of a printer in the printer file, typed,
// and one table that gives each its key, its control in the configuration
// box, its items and its defaults. Loading and saving the box, its binding
// to the controls, a new printer's record and the back-ends' choices all
// read that table.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "json/json.h"

namespace routing {

inline constexpr char kSim[] = "Sim";
inline constexpr char kNao[] = "N\xe3o";
inline constexpr char kGenericText[] = "Generic Text";
inline constexpr char kEpsonDll[] = "EPSON DLL";
inline constexpr char kOutro[] = "Outro";
inline constexpr char kCorte1[] = "Corte 1";
inline constexpr char kCorte2[] = "Corte 2";

// Item lists of the box's drop-down lists, in their order.
const std::vector<std::string>& tipoItems();        // cbImpTipo
const std::vector<std::string>& tipoTextoItems();   // cbImpTexto
const std::vector<std::string>& fonteItems();       // cbImpTitulo, cbImpItem
const std::vector<std::string>& simNaoItems();      // every "Sim"/"Não" list
const std::vector<std::string>& guilhotinaItems();  // cbImpGuilhotina

// A drop-down member's value is the index of its item; None: no item.
enum class PrinterType { None = -1, GenericText, EpsonDll, Outro };
enum class TextFamily { None = -1, Outro, Epson, EpsonMedia, EpsonGrande };
enum class Cut { None = -1, Corte1, Corte2, Nao };
// "Sim" true, "Não" false; empty when the list has neither selected.
using YesNo = std::optional<bool>;

// The members the configuration box edits. Fonts are their item texts ("" for
// none); the numbers are the texts of their edits, not validated.
struct PrinterSettings {
  PrinterType tipo = PrinterType::None;
  TextFamily tipoTexto = TextFamily::None;
  YesNo imprimeSeparado, padrao;
  std::string fonteTitulo, fonteItem, endereco;
  YesNo conferencia, fechamentoConta, fechamentoContaDetalhe;
  Cut guilhotina = Cut::None;
  std::string tamanhoFolha, numeroEnterFinal;
  YesNo imprimeSeparadoQtd, chamarGarcom, trevio;
};

using PrinterMember = std::variant<std::string PrinterSettings::*, YesNo PrinterSettings::*,
                                   PrinterType PrinterSettings::*, TextFamily PrinterSettings::*,
                                   Cut PrinterSettings::*>;

struct PrinterField {
  PrinterMember member;
  const char* key;      // in the printer file, matched without regard to case
  const char* control;  // in the configuration box
  // A drop-down list's items; null for an edit.
  const std::vector<std::string>& (*items)();
  const char* design;    // the list's design-time selection; null: none
  const char* missing;   // shown for a record without the member; null: required
  const char* newValue;  // in a newly added printer's record; null: absent
  int newPosition;       // its place there, after "name"
};

// Every member, in the order the box stores them.
std::span<const PrinterField> printerFields();
const PrinterField& printerField(PrinterMember member);

// The index of the item equal to `text`, exactly or without regard to case
// (the locale's rule); -1 when none is.
int exactItem(const std::vector<std::string>& items, const std::string& text);
int matchingItem(const std::vector<std::string>& items, const std::string& text);

// A drop-down member's item index (-1: none), and the text a member shows
// and is stored as: an edit's text, a list's item, "" for none.
int selectedItem(const PrinterSettings& settings, const PrinterField& field);
void selectItem(PrinterSettings& settings, const PrinterField& field, int index);
std::string fieldText(const PrinterSettings& settings, const PrinterField& field);
void setEditText(PrinterSettings& settings, const PrinterField& field, const std::string& text);

// A stored member's text; the table's `missing` when the record lacks it,
// and for a required member the library's not-found error.
std::string memberText(const json::TJSONObject& printer, const PrinterField& field);
std::string memberText(const json::TJSONObject& printer, PrinterMember member);

// The back-ends' choices, from the stored text compared exactly (letter case
// counts). A missing "tipo" or "tipoTexto" raises the not-found error.
// Any "tipo" but the first two items drives the Windows printer (Outro).
PrinterType printerType(const json::TJSONObject& printer);
// None for a text that is no item.
TextFamily textFamily(const json::TJSONObject& printer);
// Corte1 without the member; None for a text that is no item ("Sim" too).
Cut cutOf(const json::TJSONObject& printer);

}  // namespace routing
