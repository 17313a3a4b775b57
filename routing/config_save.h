// The configuration save ("Salvar" of the configuration screen): the
// printers picked in the category list go into the category records, the
// category, product and printer files are written, and the print service is
// told to reload them.
#pragma once

#include <string>
#include <vector>

#include "routing/category_routing.h"
#include "routing/tables.h"

namespace routing {

// Copies the list's "Impressora" texts into the "printer" of the category
// records whose "name" equals the row caption (case-sensitive; when several
// rows match, the last in list order wins). A category without "name"
// raises the library's not-found error before any record changes.
void copyCategoryAssignments(json::TJSONArray& categories, const std::vector<CategoryRow>& rows);

// The whole save, in order: assignments, the files categoria, produto and
// impressora, then the print service's reload signal in the settings file.
// Each file replaces the old one in one step; a file that cannot be written
// stays as it was and ends the save with an error naming it, before the
// files after it and the "reload" key.
void saveConfiguration(Tables& tables, const std::vector<CategoryRow>& categoryRows,
                       const std::string& appDir);

}  // namespace routing
