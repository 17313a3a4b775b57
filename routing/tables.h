// The program's tables: printers, categories, products and the optional
// cards. The main window owns one instance for the whole run; an operation
// that rebuilds a table installs a new array, so readers take the table
// afresh each time they run.
#pragma once

#include <memory>
#include <string>

#include "json/json.h"

namespace routing {

struct Tables {
  // The three routing tables always exist, empty until their file is read;
  // so do they after a start-up cut short before their load ran.
  std::unique_ptr<json::TJSONArray> printers = std::make_unique<json::TJSONArray>();
  std::unique_ptr<json::TJSONArray> categories = std::make_unique<json::TJSONArray>();
  std::unique_ptr<json::TJSONArray> products = std::make_unique<json::TJSONArray>();
  // The card table exists only once its file was found or the catalog sync
  // filled it.
  std::unique_ptr<json::TJSONArray> cards;
};

// Start-up loads, each from the first line of its file in the application
// directory. They report whether the file was there, because the list of a
// table is filled only then. A first line that is not a JSON array raises
// the parser's error and the table keeps what it held.
bool readImpressora(Tables& tables, const std::string& appDir);
bool readCategoria(Tables& tables, const std::string& appDir);
bool readProduto(Tables& tables, const std::string& appDir);
bool readCartao(Tables& tables, const std::string& appDir);

// The table files, each written whole in one step (see writeTableFile).
void saveImpressora(const Tables& tables, const std::string& appDir);
void saveCategoria(const Tables& tables, const std::string& appDir);
void saveProduto(const Tables& tables, const std::string& appDir);

}  // namespace routing
