// What the publisher vouches for: the manifest's members of our own beside
// "success" and "versao" (the archive's SHA-256 and size, a publication
// number that grows with every publication, an expiry in UTC), and the
// publisher's Ed25519 signature over the manifest's exact bytes, served
// beside it as "version.json.sig". Whoever controls the download host, its
// name or a certificate for it can serve anything; only what the
// publisher's key signed is installed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "json/json.h"

namespace update {

inline constexpr char kSignatureSuffix[] = ".sig";

inline constexpr char kMemberSha256[] = "sha256";
inline constexpr char kMemberSize[] = "tamanho";
inline constexpr char kMemberNumber[] = "publicacao";
inline constexpr char kMemberExpires[] = "expira";

struct Publication {
  std::string version;
  std::string sha256;  // of the archive, in lower-case hexadecimal
  int32_t size = 0;    // of the archive, in bytes
  int32_t number = 0;
  std::string expires;  // "yyyy-mm-ddThh:mm:ssZ"
};

// The public keys (PEM) of the publisher this build trusts: the current
// one, and the next one while the publisher moves to it.
std::string_view builtInPublisherKeys();

// Whether `signature` is an Ed25519 signature of `bytes` by one of the
// public keys in `publicKeysPem` (one or more PEM blocks).
bool signedByPublisher(const std::string& bytes, const std::string& signature,
                       std::string_view publicKeysPem);

// The SHA-256 of the bytes in lower-case hexadecimal.
std::string sha256Hex(const std::string& bytes);

// Seconds since 1970-01-01 UTC of "yyyy-mm-ddThh:mm:ssZ", nothing for any
// other text; and back.
std::optional<int64_t> utcSeconds(const std::string& text);
std::string utcText(int64_t seconds);

// The members of a manifest that offers a version; the JSON library's
// error when one is missing or of another type.
Publication readPublication(const json::TJSONObject& manifest);

// The downloaded archive is the one the publisher signed for: its size
// and then its SHA-256; an ArchiveError otherwise.
void requirePublishedArchive(const std::string& archive, const Publication& publication);

}  // namespace update
