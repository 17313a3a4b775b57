// The configuration-file read shared by every table file and by the print
// service's queue file, and the reading and writing of whole table files.
#pragma once

#include <memory>
#include <string>

#include "json/json.h"

namespace config {

// Names of the files beside the program.
inline constexpr char kPrinterFile[] = "impressora";
inline constexpr char kCategoryFile[] = "categoria";
inline constexpr char kProductFile[] = "produto";
inline constexpr char kCardFile[] = "cartao";
inline constexpr char kSettingsFile[] = "quelta.dll";

// A file of the application directory: the directory, the separator, the name.
std::string appFile(const std::string& appDir, const std::string& name);

// The first line of a text: it ends at the first line feed or at a
// character 26 (the old end-of-file mark); carriage returns are dropped.
std::string firstLine(const std::string& text);

// The first line of the file; IOError naming the file when it cannot be read.
std::string readConfigFile(const std::string& path);

// A table file: its first line read as one JSON array (the parser's error
// runs out unchanged). A missing file gives an empty table.
std::unique_ptr<json::TJSONArray> readTableFile(const std::string& path);

// As readTableFile, but a missing file gives no table at all (the card
// table exists only once its file has been seen).
std::unique_ptr<json::TJSONArray> readOptionalTableFile(const std::string& path);

// Writes the table's JSON text without a line terminator. The bytes replace
// the old file in one step, so a failed write leaves the previous file as
// it was; the error names the file.
void writeTableFile(const std::string& path, const json::TJSONArray& table);

}  // namespace config
