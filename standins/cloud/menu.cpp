#include "standins/cloud/menu.h"

#include <cstdio>

#include "platform/text_locale.h"

namespace sandbox {
namespace {

struct Category {
  int id;
  const char* name;  // Windows-1252
  const char* description;
  bool active;
};

// The menu of "Restaurante Sabor da Terra", a family restaurant with a bar,
// pizzas at night and deliveries. Ids are the platform's, not in order.
// clang-format off
const Category kCategories[] = {
    {3101, "Entradas", "Para come\xe7" "ar bem", true},
    {3102, "Por\xe7\xf5" "es", "Para dividir na mesa", true},
    {3103, "Petiscos de Boteco", "Bolinhos, torresmo e afins", true},
    {3104, "Saladas", "Folhas e legumes da esta\xe7\xe3o", true},
    {3105, "Sopas e Caldos", "Servidos de segunda a sexta", true},
    {3106, "Pratos Executivos", "Almo\xe7o de segunda a sexta", true},
    {3107, "Feijoada", "S\xe1" "bados e quartas", true},
    {3108, "Carnes na Brasa", "Picanha, fraldinha e cupim", true},
    {3109, "Aves", "Frango e galeto", true},
    {3110, "Peixes e Frutos do Mar", "Moquecas, peixadas e camar\xf5" "es", true},
    {3111, "Comida Mineira", "Tutu, lingui\xe7" "a e couve", true},
    {3112, "Comida Nordestina", "Bai\xe3o de dois e carne de sol", true},
    {3113, "Massas", "Massas frescas da casa", true},
    {3114, "Risotos", "Arb\xf3rio italiano", true},
    {3115, "Guarni\xe7\xf5" "es", "Arroz, farofa, vinagrete", true},
    {3116, "Pizzas Salgadas", "Massa fina, forno a lenha", true},
    {3117, "Pizzas Doces", "Chocolate, banana, Romeu e Julieta", true},
    {3118, "Esfihas", "Abertas e fechadas", true},
    {3119, "Lanches", "P\xe3o de brioche da casa", true},
    {3120, "Past\xe9is", "Feira todo dia", true},
    {3121, "Salgados", "Coxinha, kibe, empada", true},
    {3122, "Tapiocas e Crepes", "Doces e salgados", true},
    {3123, "Espetinhos", "Na brasa", true},
    {3124, "Vegetariano & Vegano", "Sem carne, com sabor", true},
    {3125, "Card\xe1pio Kids", "Para os pequenos", true},
    {3126, "Sobremesas", "Pudim, mousse e petit g\xe2teau", true},
    {3127, "A\xe7" "a\xed", "Tigelas de 300 e 500 ml", true},
    {3128, "Sorvetes", "Duas bolas", true},
    {3129, "Bebidas sem \xc1lcool", "\xc1gua, refrigerantes e t\xf4nicas", true},
    {3130, "Sucos Naturais", "Laranja, lim\xe3o, maracuj\xe1", true},
    {3131, "Cervejas", "Long necks e garrafas 600 ml", true},
    {3132, "Chope", "Pilsen e IPA", true},
    {3133, "Caipirinhas", "Cacha\xe7" "a, vodka ou saqu\xea", true},
    {3134, "Drinks", "Cl\xe1ssicos e autorais", true},
    {3135, "Vinhos Tintos", "Ta\xe7" "a ou garrafa", true},
    {3136, "Vinhos Brancos e Ros\xe9s", "Ta\xe7" "a ou garrafa", true},
    {3137, "Doses", "Cacha\xe7" "as artesanais e destilados", true},
    {3138, "Caf\xe9s", "Espresso, coado e cappuccino", true},
    {3139, "Ch\xe1s", "Quentes e gelados", true},
    {3140, "Combos Delivery", "S\xf3 no aplicativo", true},
    {3141, "Pratos de Natal", "Dezembro", false},
    {3142, "Festa Junina", "Junho e julho", false},
};
// clang-format on

struct Card {
  int id;
  const char* code;
  const char* description;  // Windows-1252
  const char* kind;
  bool active;
};

// clang-format off
const Card kFixedCards[] = {
    {7001, "BAL", "Balc\xe3o", "balcao", true},
    {7002, "DLV", "Delivery pr\xf3prio", "delivery", true},
    {7003, "RET", "Retirada no local", "retirada", true},
    {7004, "IFD", "Pedidos do aplicativo", "delivery", true},
    {7005, "FUN", "Refei\xe7\xe3o de funcion\xe1rio", "interno", false},
};
// clang-format on

constexpr int kComandas = 25;

std::string boolText(bool value) { return value ? "true" : "false"; }

}  // namespace

std::string jsonString(const std::string& utf8Text) {
  std::string out = "\"";
  for (char c : utf8Text) {
    unsigned byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      out += escape;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

const std::vector<Account>& accounts() {
  static const std::vector<Account> list = {
      {"demo@quelta.com.br", "quelta123", "Restaurante Sabor da Terra"},
      // Accented user name and a password that needs encoding in a query.
      {"jo\xe3o silva", "p\xe3o&caf\xe9=1", "Lanchonete do Jo\xe3o"},
  };
  return list;
}

std::string categoriesJson(bool staging, bool all) {
  std::string out = "[";
  int order = 0;
  auto add = [&](int id, const std::string& name, const std::string& description, bool active) {
    if (!active && !all) return;
    if (out.size() > 1) out += ",";
    ++order;
    out += "{\"id\":" + std::to_string(id) + ",\"name\":" + jsonString(platform::ansiToUtf8(name)) +
           ",\"descricao\":" + jsonString(platform::ansiToUtf8(description)) + ",\"ativo\":" + boolText(active) +
           ",\"ordem\":" + std::to_string(order) + "}";
  };
  for (const Category& c : kCategories) add(c.id, c.name, c.description, c.active);
  if (staging) add(9901, "Teste Homologa\xe7\xe3o", "S\xf3 no ambiente de testes", true);
  return out + "]";
}

std::string cardsJson() {
  std::string out = "[";
  auto add = [&](int id, const std::string& code, const std::string& description,
                 const std::string& kind, bool active) {
    if (out.size() > 1) out += ",";
    out += "{\"id\":" + std::to_string(id) + ",\"codigo\":" + jsonString(code) +
           ",\"descricao\":" + jsonString(platform::ansiToUtf8(description)) + ",\"tipo\":" + jsonString(kind) +
           ",\"ativo\":" + boolText(active) + "}";
  };
  for (const Card& c : kFixedCards) add(c.id, c.code, c.description, c.kind, c.active);
  for (int n = 1; n <= kComandas; ++n) {
    char code[16];
    std::snprintf(code, sizeof code, "CMD-%03d", n);
    add(7100 + n, code, "Comanda " + std::to_string(n), "comanda", true);
  }
  return out + "]";
}

}  // namespace sandbox
