// Where the cloud API's requests go. The hosts are values of the build
// (QUELTA_API_PRODUCTION, QUELTA_API_STAGING); the default build points
// them at the sandbox cloud on this computer.
#pragma once

#include <string>

namespace cloud {

// The two bases of the cloud API, each a scheme and a host without path.
struct ApiEndpoints {
  std::string production;
  std::string staging;

  // The base for a request made while `token` is held: staging when the
  // token contains "stage." (letter case counts), production otherwise,
  // the empty token included.
  const std::string& select(const std::string& token) const;
};

ApiEndpoints builtInApiEndpoints();

}  // namespace cloud
