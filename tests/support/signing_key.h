// Throwaway publisher keys for the tests of signed publications, made the
// way `openssl genpkey -algorithm ed25519` makes them.
#pragma once

#include <openssl/evp.h>
#include <openssl/pem.h>

#include <string>

#include "update/openssl_handles.h"

namespace signing_test {

// A new Ed25519 private key in PEM.
inline std::string newPrivateKey() {
  update::openssl::Key key(EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519"));
  update::openssl::Bio out(BIO_new(BIO_s_mem()));
  PEM_write_bio_PrivateKey(out.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr);
  char* data = nullptr;
  long length = BIO_get_mem_data(out.get(), &data);
  return std::string(data, static_cast<size_t>(length));
}

}  // namespace signing_test
