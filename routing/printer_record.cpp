#include "routing/printer_record.h"

#include <stdexcept>
#include <type_traits>

#include "platform/text_locale.h"

namespace routing {

const std::vector<std::string>& tipoItems() {
  static const std::vector<std::string> items{kGenericText, kEpsonDll, kOutro};
  return items;
}

const std::vector<std::string>& tipoTextoItems() {
  static const std::vector<std::string> items{kOutro, "Epson",
                                              "Epson - Fonte M\xe9"
                                              "dia",
                                              "Epson - Fonte Grande"};
  return items;
}

const std::vector<std::string>& fonteItems() {
  static const std::vector<std::string> items{"10", "10 Negrito", "12", "12 Negrito",
                                              "14", "14 Negrito", "16", "16 Negrito",
                                              "18", "18  Negrito"};
  return items;
}

const std::vector<std::string>& simNaoItems() {
  static const std::vector<std::string> items{kSim, kNao};
  return items;
}

const std::vector<std::string>& guilhotinaItems() {
  static const std::vector<std::string> items{kCorte1, kCorte2, kNao};
  return items;
}

namespace {

using S = PrinterSettings;

// In the order the box stores them; a new record has its own order.
// clang-format off
const PrinterField kFields[] = {
    // member                    key                       control                 items            design   missing  newValue      newPosition
    {&S::tipo,                   "tipo",                   "cbImpTipo",            tipoItems,       nullptr, nullptr, kGenericText, 1},
    {&S::tipoTexto,              "tipoTexto",              "cbImpTexto",           tipoTextoItems,  kOutro,  nullptr, kOutro,       2},
    {&S::imprimeSeparado,        "imprimeSeparado",        "cbImpSepara",          simNaoItems,     kNao,    nullptr, kNao,         3},
    {&S::padrao,                 "padrao",                 "cbImpPadrao",          simNaoItems,     kNao,    nullptr, kNao,         7},
    {&S::fonteTitulo,            "fonteTitulo",            "cbImpTitulo",          fonteItems,      "10",    nullptr, "10",         4},
    {&S::fonteItem,              "fonteItem",              "cbImpItem",            fonteItems,      "12",    nullptr, "12",         5},
    {&S::endereco,               "endereco",               "edtEndereco",          nullptr,         nullptr, "",      "USB",        6},
    {&S::conferencia,            "conferencia",            "cbImpConferencia",     simNaoItems,     kNao,    kNao,    kNao,         8},
    {&S::fechamentoConta,        "fechamentoConta",        "cbImpFechamentoConta", simNaoItems,     kNao,    kNao,    kNao,         9},
    {&S::fechamentoContaDetalhe, "fechamentoContaDetalhe", "cbDetalheConta",       simNaoItems,     kNao,    kNao,    nullptr,      0},
    {&S::guilhotina,             "guilhotina",             "cbImpGuilhotina",      guilhotinaItems, nullptr, kCorte1, kCorte1,      10},
    {&S::tamanhoFolha,           "tamanhoFolha",           "edtImpTamanhoFolha",   nullptr,         nullptr, "40",    "40",         12},
    {&S::numeroEnterFinal,       "numeroEnterFinal",       "edtImpQtdEnter",       nullptr,         nullptr, "4",     "1",          11},
    {&S::imprimeSeparadoQtd,     "imprimeSeparadoQtd",     "cbImpSeparaQtd",       simNaoItems,     kNao,    kNao,    nullptr,      0},
    {&S::chamarGarcom,           "chamarGarcom",           "cbImpChamarGarcom",    simNaoItems,     kNao,    kNao,    nullptr,      0},
    {&S::trevio,                 "trevio",                 "cbImpTrevio",          simNaoItems,     kNao,    kNao,    nullptr,      0},
};
// clang-format on

template <class T>
constexpr bool kIsText = std::is_same_v<T, std::string>;

}  // namespace

std::span<const PrinterField> printerFields() { return kFields; }

const PrinterField& printerField(PrinterMember member) {
  for (const PrinterField& field : kFields) {
    if (field.member == member) return field;
  }
  throw std::logic_error("printer member without a field");
}

int exactItem(const std::vector<std::string>& items, const std::string& text) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == text) return static_cast<int>(i);
  }
  return -1;
}

int matchingItem(const std::vector<std::string>& items, const std::string& text) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (platform::sameTextIgnoreCase(items[i], text)) return static_cast<int>(i);
  }
  return -1;
}

int selectedItem(const PrinterSettings& settings, const PrinterField& field) {
  return std::visit(
      [&](auto member) {
        const auto& value = settings.*member;
        using T = std::decay_t<decltype(value)>;
        if constexpr (kIsText<T>) {
          return exactItem(field.items(), value);
        } else if constexpr (std::is_same_v<T, YesNo>) {
          return value ? (*value ? 0 : 1) : -1;
        } else {
          return static_cast<int>(value);
        }
      },
      field.member);
}

void selectItem(PrinterSettings& settings, const PrinterField& field, int index) {
  std::visit(
      [&](auto member) {
        auto& value = settings.*member;
        using T = std::decay_t<decltype(value)>;
        if constexpr (kIsText<T>) {
          value = index < 0 ? "" : field.items()[index];
        } else if constexpr (std::is_same_v<T, YesNo>) {
          value = index < 0 ? YesNo() : YesNo(index == 0);
        } else {
          value = static_cast<T>(index);
        }
      },
      field.member);
}

std::string fieldText(const PrinterSettings& settings, const PrinterField& field) {
  if (!field.items) return settings.*std::get<std::string PrinterSettings::*>(field.member);
  const int index = selectedItem(settings, field);
  return index < 0 ? "" : field.items()[index];
}

void setEditText(PrinterSettings& settings, const PrinterField& field, const std::string& text) {
  settings.*std::get<std::string PrinterSettings::*>(field.member) = text;
}

std::string memberText(const json::TJSONObject& printer, const PrinterField& field) {
  if (field.missing && !printer.contains(field.key)) return field.missing;
  return printer.textOf(field.key);
}

std::string memberText(const json::TJSONObject& printer, PrinterMember member) {
  return memberText(printer, printerField(member));
}

namespace {

int storedItem(const json::TJSONObject& printer, PrinterMember member) {
  const PrinterField& field = printerField(member);
  return exactItem(field.items(), memberText(printer, field));
}

}  // namespace

PrinterType printerType(const json::TJSONObject& printer) {
  const auto type = static_cast<PrinterType>(storedItem(printer, &S::tipo));
  return type == PrinterType::None ? PrinterType::Outro : type;
}

TextFamily textFamily(const json::TJSONObject& printer) {
  return static_cast<TextFamily>(storedItem(printer, &S::tipoTexto));
}

Cut cutOf(const json::TJSONObject& printer) {
  return static_cast<Cut>(storedItem(printer, &S::guilhotina));
}

}  // namespace routing
