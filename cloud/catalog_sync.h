// The catalog sync: the restaurant's categories and auxiliary cards
// downloaded with the held token into the category and card tables and
// their files, keeping the printer assigned to each category.
#pragma once

#include <string>

#include "cloud/cloud_context.h"
#include "json/json.h"

namespace cloud {

// "/categorias?token=" + token + "&all=1" and
// "/configuracoes/cartoes-auxiliares?token=" + token after the base; the
// token goes in as held.
std::string categoriesUrl(const std::string& base, const std::string& token);
std::string cardsUrl(const std::string& base, const std::string& token);

// Carries "printer" from the saved records to the downloaded ones with the
// same integer "id". Every pair is compared, so among saved records that
// share an id the last one with a "printer" decides; nothing else of the
// saved records is kept. The JSON library's error (a record without a
// readable "id") runs out with `downloaded` partly merged.
void mergePrinters(const json::TJSONArray& saved, json::TJSONArray& downloaded);

// Downloads the categories, merges the printers in, writes the category
// file, installs the result as the category table and names the category
// list in the context's refill. False when the reply said "success" false
// (its message was shown). Any error, a failed file write included, runs out with the table
// and its file as they were: memory and file never disagree.
bool getCategoria(CloudContext& context);

// Downloads the cards; the reply's "data" is written to the card file and
// becomes the card table. False when the reply said "success" false. As
// for the categories, an error leaves table and file as they were.
bool getCartao(CloudContext& context);

// Writes the card table to the card file "cartao": its JSON text, no line
// end.
void saveCartao(const routing::Tables& tables, const std::string& appDir);

// What the configuration screen's "Atualizar" does (btnUpdateClick): the
// categories, then the cards only if the categories succeeded. True when
// both did.
bool updateCatalog(CloudContext& context);

}  // namespace cloud
