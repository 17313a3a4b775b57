// OpenSSL's objects owned by std::unique_ptr, for the signature's check
// here and its making in release/.
#pragma once

#include <openssl/bio.h>
#include <openssl/evp.h>

#include <memory>

namespace update::openssl {

struct FreeKey {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct FreeContext {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
struct FreeBio {
  void operator()(BIO* bio) const { BIO_free(bio); }
};

using Key = std::unique_ptr<EVP_PKEY, FreeKey>;
using Context = std::unique_ptr<EVP_MD_CTX, FreeContext>;
using Bio = std::unique_ptr<BIO, FreeBio>;

// A read-only BIO over the text.
inline Bio memoryBio(const char* data, size_t size) {
  return Bio(BIO_new_mem_buf(data, static_cast<int>(size)));
}

}  // namespace update::openssl
