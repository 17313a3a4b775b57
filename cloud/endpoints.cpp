#include "cloud/endpoints.h"

#ifndef QUELTA_API_PRODUCTION
#error "the build defines QUELTA_API_PRODUCTION and QUELTA_API_STAGING"
#endif

namespace cloud {

const std::string& ApiEndpoints::select(const std::string& token) const {
  return token.find("stage.") != std::string::npos ? staging : production;
}

ApiEndpoints builtInApiEndpoints() { return {QUELTA_API_PRODUCTION, QUELTA_API_STAGING}; }

}  // namespace cloud
