// The sandbox cloud's restaurant: its accounts, its menu categories and its
// auxiliary cards, as the ordering platform would hold them. Texts here are
// Windows-1252 like the rest of the sources; the replies carry them as UTF-8.
#pragma once

#include <string>
#include <vector>

namespace sandbox {

struct Account {
  std::string user;  // as the tool sends it, 8-bit
  std::string password;
  std::string restaurant;
};

// The demo accounts (see README.md).
const std::vector<Account>& accounts();

// The JSON text (UTF-8) of the "data" array of the category reply: every
// category with `all`, the active ones otherwise. Staging adds a test
// category of its own, so the two endpoints can be told apart.
std::string categoriesJson(bool staging, bool all);

// The JSON text (UTF-8) of the "data" array of the card reply.
std::string cardsJson();

// A JSON string literal of UTF-8 text.
std::string jsonString(const std::string& utf8Text);

}  // namespace sandbox
