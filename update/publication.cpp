#include "update/publication.h"

#include <openssl/err.h>
#include <openssl/pem.h>

#include <cctype>
#include <cstdio>

#include "update/openssl_handles.h"
#include "update/update_archive.h"

namespace update {
namespace {

constexpr size_t kEd25519SignatureSize = 64;

bool verifies(EVP_PKEY* key, const std::string& bytes, const std::string& signature) {
  if (EVP_PKEY_id(key) != EVP_PKEY_ED25519) return false;
  openssl::Context context(EVP_MD_CTX_new());
  // Ed25519 hashes inside the signature scheme: no digest of our own.
  return context && EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key) == 1 &&
         EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char*>(signature.data()),
                          signature.size(), reinterpret_cast<const unsigned char*>(bytes.data()),
                          bytes.size()) == 1;
}

// Days from 1970-01-01 to a date of the Gregorian calendar.
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

}  // namespace

bool signedByPublisher(const std::string& bytes, const std::string& signature,
                       std::string_view publicKeysPem) {
  if (signature.size() != kEd25519SignatureSize) return false;
  openssl::Bio pem = openssl::memoryBio(publicKeysPem.data(), publicKeysPem.size());
  bool valid = false;
  while (pem && !valid) {
    openssl::Key key(PEM_read_bio_PUBKEY(pem.get(), nullptr, nullptr, nullptr));
    if (!key) break;
    valid = verifies(key.get(), bytes, signature);
  }
  // The end of the keys and a failed check leave errors that the TLS of the
  // next request must not find.
  ERR_clear_error();
  return valid;
}

std::string sha256Hex(const std::string& bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr) != 1)
    throw quelta::Error("EUpdateError", "SHA-256 indispon\xedvel");
  static const char kHex[] = "0123456789abcdef";
  std::string text;
  for (unsigned int i = 0; i < length; ++i) {
    text += kHex[digest[i] >> 4];
    text += kHex[digest[i] & 15];
  }
  return text;
}

std::optional<int64_t> utcSeconds(const std::string& text) {
  static const char kForm[] = "dddd-dd-ddTdd:dd:ddZ";
  if (text.size() != sizeof kForm - 1) return std::nullopt;
  for (size_t i = 0; i < text.size(); ++i) {
    bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
    if (kForm[i] == 'd' ? !digit : text[i] != kForm[i]) return std::nullopt;
  }
  auto number = [&](size_t at, size_t length) { return std::stoll(text.substr(at, length)); };
  int64_t month = number(5, 2), day = number(8, 2);
  int64_t hour = number(11, 2), minute = number(14, 2), second = number(17, 2);
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59)
    return std::nullopt;
  return daysFromCivil(number(0, 4), month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

std::string utcText(int64_t seconds) {
  int64_t days = seconds / 86400, rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  // The inverse of daysFromCivil.
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t doe = days - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t day = doy - (153 * mp + 2) / 5 + 1;
  const int64_t month = mp < 10 ? mp + 3 : mp - 9;
  const int64_t year = yoe + era * 400 + (month <= 2);
  char text[96];
  std::snprintf(text, sizeof text, "%04lld-%02lld-%02lldT%02lld:%02lld:%02lldZ",
                static_cast<long long>(year), static_cast<long long>(month),
                static_cast<long long>(day), static_cast<long long>(rest / 3600),
                static_cast<long long>(rest / 60 % 60), static_cast<long long>(rest % 60));
  return text;
}

Publication readPublication(const json::TJSONObject& manifest) {
  Publication publication;
  publication.version = manifest.textOf("versao");
  publication.sha256 = manifest.textOf(kMemberSha256);
  publication.size = manifest.intOf(kMemberSize);
  publication.number = manifest.intOf(kMemberNumber);
  publication.expires = manifest.textOf(kMemberExpires);
  return publication;
}

void requirePublishedArchive(const std::string& archive, const Publication& publication) {
  const std::string prefix = "O arquivo de atualiza\xe7\xe3o n\xe3o \xe9 o publicado: ";
  if (publication.size < 0 || archive.size() != static_cast<size_t>(publication.size))
    throw ArchiveError(prefix + "tem " + std::to_string(archive.size()) +
                       " bytes, a publica\xe7\xe3o "
                       "assinada diz " +
                       std::to_string(publication.size));
  if (sha256Hex(archive) != publication.sha256)
    throw ArchiveError(prefix + "o SHA-256 difere do da publica\xe7\xe3o assinada");
}

}  // namespace update
