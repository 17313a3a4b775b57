#include "cloud/endpoints.h"

#ifndef QUELTA_API_PRODUCTION
#error "the build defines QUELTA_API_PRODUCTION, QUELTA_API_STAGING and the download hosts"
#endif

namespace cloud {

const std::string& ApiEndpoints::select(const std::string& token) const {
  return token.find("stage.") != std::string::npos ? staging : production;
}

ApiEndpoints builtInApiEndpoints() { return {QUELTA_API_PRODUCTION, QUELTA_API_STAGING}; }

std::string versionManifestUrl() {
  return std::string("https://") + QUELTA_DOWNLOAD_HOST + "/impressao/version.json";
}

// The archive holds the programs the update runs next, so it comes from the
// same host as the manifest, over verified HTTPS like every other request.
std::string updateArchiveUrl() {
  return std::string("https://") + QUELTA_DOWNLOAD_HOST + "/impressao/impressao.zip";
}

}  // namespace cloud
