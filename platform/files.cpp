#include "platform/files.h"

#include <chrono>
#include <thread>

namespace platform {
namespace {
FileSteps* installed = nullptr;
}

void setFileSteps(FileSteps* steps) { installed = steps; }

int fileStepFailure(FileStep step, const std::string& path) {
  return installed ? installed->failure(step, path) : 0;
}

void pauseBetweenTries(int milliseconds) {
  if (installed)
    installed->pause(milliseconds);
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace platform
