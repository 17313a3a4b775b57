#include "release/release_files.h"

#include <openssl/err.h>
#include <openssl/pem.h>

#include "json/json.h"
#include "zip/zip_writer.h"
#include "update/openssl_handles.h"
#include "update/update.h"

namespace release {
namespace {

namespace openssl = update::openssl;

quelta::Error releaseError(const std::string& message) {
  ERR_clear_error();
  return quelta::Error("EReleaseError", message);
}

openssl::Key privateKey(const std::string& pem) {
  openssl::Bio bio = openssl::memoryBio(pem.data(), pem.size());
  openssl::Key key(bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr) : nullptr);
  if (!key || EVP_PKEY_id(key.get()) != EVP_PKEY_ED25519)
    throw releaseError("the key is not an Ed25519 private key in PEM");
  return key;
}

}  // namespace

std::string releaseArchive(const std::vector<ReleaseFile>& files) {
  zip::ZipWriter zip;
  for (const ReleaseFile& file : files) zip.add(file.name, file.bytes);
  std::string bytes = zip.bytes();
  update::checkUpdateArchive(bytes);
  return bytes;
}

std::string releaseManifest(const std::string& version, const std::string& archive, int32_t number,
                            const std::string& expires) {
  json::TJSONObject manifest;
  manifest.append("success", json::trueValue());
  manifest.append("versao", json::makeString(version));
  manifest.append(update::kMemberSha256, json::makeString(update::sha256Hex(archive)));
  manifest.append(update::kMemberSize, json::makeInteger(static_cast<int32_t>(archive.size())));
  manifest.append(update::kMemberNumber, json::makeInteger(number));
  manifest.append(update::kMemberExpires, json::makeString(expires));
  return manifest.asText();
}

std::string signManifest(const std::string& manifest, const std::string& privateKeyPem) {
  openssl::Key key = privateKey(privateKeyPem);
  openssl::Context context(EVP_MD_CTX_new());
  std::string signature(64, '\0');
  size_t length = signature.size();
  if (!context || EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1 ||
      EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &length,
                     reinterpret_cast<const unsigned char*>(manifest.data()), manifest.size()) != 1)
    throw releaseError("the manifest could not be signed");
  signature.resize(length);
  if (!update::signedByPublisher(manifest, signature, publicKeyOf(privateKeyPem)))
    throw releaseError("the signature does not verify");
  return signature;
}

std::string publicKeyOf(const std::string& privateKeyPem) {
  openssl::Key key = privateKey(privateKeyPem);
  openssl::Bio out(BIO_new(BIO_s_mem()));
  if (!out || PEM_write_bio_PUBKEY(out.get(), key.get()) != 1)
    throw releaseError("the public key could not be written");
  char* data = nullptr;
  long length = BIO_get_mem_data(out.get(), &data);
  return std::string(data, static_cast<size_t>(length));
}

}  // namespace release
