// sandbox-cloud: the cloud API and download server the tool's default build
// talks to. Runs until interrupted (Ctrl+C or SIGTERM).
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "standins/cloud/sandbox.h"

namespace {

const char kUsage[] =
    "usage: sandbox-cloud [--host ADDRESS] [--production-port N] [--staging-port N]\n"
    "                     [--download-port N] [--download-http-port N] [--certs DIR]\n"
    "                     [--files DIR] [--fail QUERY]...\n"
    "  Ports default to 8443, 8444, 8445 (HTTPS) and 8446 (HTTP); 0 takes a free port.\n"
    "  --certs names the directory with server.pem, server.key and publisher.key (default:\n"
    "  the set-up's).\n"
    "  --files names the directory whose version.json, version.json.sig and impressao.zip\n"
    "  are served.\n"
    "  --fail switches a failure on from the start, e.g. --fail "
    "'kind=status&status=401&path=/token'.\n"
    "  See standins/cloud/README.md.\n";

int portArgument(const char* text) {
  char* end = nullptr;
  long port = std::strtol(text, &end, 10);
  if (*text == '\0' || *end != '\0' || port < 0 || port > 65535) {
    std::fprintf(stderr, "sandbox-cloud: not a port: %s\n", text);
    std::exit(2);
  }
  return static_cast<int>(port);
}

}  // namespace

int main(int argc, char** argv) {
  sandbox::Options options;
  std::string certs = QUELTA_SANDBOX_CERTS;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (i + 1 >= argc) {
      std::fputs(kUsage, stderr);
      return 2;
    }
    const char* value = argv[++i];
    if (arg == "--host") {
      options.host = value;
    } else if (arg == "--production-port") {
      options.productionPort = portArgument(value);
    } else if (arg == "--staging-port") {
      options.stagingPort = portArgument(value);
    } else if (arg == "--download-port") {
      options.downloadPort = portArgument(value);
    } else if (arg == "--download-http-port") {
      options.downloadHttpPort = portArgument(value);
    } else if (arg == "--certs") {
      certs = value;
    } else if (arg == "--files") {
      options.filesDir = value;
    } else if (arg == "--fail") {
      options.failures.push_back(value);
    } else {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }
  options.certFile = certs + "/server.pem";
  options.keyFile = certs + "/server.key";
  options.publisherKeyFile = certs + "/publisher.key";

  // The server threads inherit a mask without the stop signals, so they
  // reach the main thread's sigwait below.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  try {
    sandbox::SandboxCloud cloud(options);
    cloud.start();
    std::printf("sandbox-cloud ready: production=%s staging=%s download=%s download-http=%s\n",
                cloud.productionUrl().c_str(), cloud.stagingUrl().c_str(),
                cloud.downloadUrl().c_str(), cloud.downloadHttpUrl().c_str());
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stopSignals, &signal);
    cloud.stop();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "sandbox-cloud: %s\n", e.what());
    return 1;
  }
  return 0;
}
