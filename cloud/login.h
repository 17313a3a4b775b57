// The login: user name and password exchanged for a token, then the catalog
// download, and only once that has worked the token is stored.
#pragma once

#include <string>

#include "cloud/cloud_context.h"

namespace cloud {

// One value of the login query, byte by byte over the 8-bit text: letters,
// digits and * @ . _ - $ ! ' ( ) stay, a space becomes "+", every other
// byte becomes "%" and two upper-case hex digits (so an accented letter is
// sent as its single Windows-1252 byte: "\xe7" as %E7).
std::string encodeCredential(const std::string& text);

// The login request: the base, "/token?username=", the encoded user name,
// "&password=", the encoded password.
std::string loginUrl(const std::string& base, const std::string& user, const std::string& password);

enum class LoginOutcome {
  kRefused,        // "success" false: its message was shown
  kCatalogFailed,  // accepted, but the category download said no; token held in memory only
  kLoggedIn,       // token stored, log screen shown, cards requested
};

// What the login screen's "Acessar" does (btnLoginClick), with the fields'
// text exactly as typed. Errors of the request, of the reply's JSON, of the
// catalog download or of the token store run out to the caller; the HTTP
// client is disconnected whatever happened.
LoginOutcome login(CloudContext& context, const std::string& user, const std::string& password);

}  // namespace cloud
