// The file service's twin of the disk: it counts every step the file
// service takes and makes the Nth fail (only that one, or that one and every
// step after it), answers replacing moves as "busy" for a while, and keeps
// the pauses between tries instead of waiting. Installed for its lifetime.
#pragma once

#include <vector>

#include "platform/files.h"

#ifdef _WIN32
#include <windows.h>
inline constexpr int kDiskIoError = ERROR_IO_DEVICE;
inline constexpr int kSharingViolation = ERROR_SHARING_VIOLATION;
#else
#include <cerrno>
inline constexpr int kDiskIoError = EIO;
inline constexpr int kSharingViolation = EBUSY;
#endif

class DiskTwin : public platform::FileSteps {
 public:
  DiskTwin() { platform::setFileSteps(this); }
  ~DiskTwin() override { platform::setFileSteps(nullptr); }
  DiskTwin(const DiskTwin&) = delete;
  DiskTwin& operator=(const DiskTwin&) = delete;

  int failAt = 0;           // the step (from 1) that fails; 0: none
  bool persistent = false;  // every step after it fails as well
  int busyMoves = 0;        // moves answered with busyCode first; -1: all
  int busyCode = kSharingViolation;

  int steps = 0;            // steps taken, failed ones included
  int failures = 0;         // steps made to fail
  std::vector<int> pauses;  // milliseconds, in order

  int failure(platform::FileStep step, const std::string&) override {
    ++steps;
    if (step == platform::FileStep::kReplace && busyMoves != 0) {
      if (busyMoves > 0) --busyMoves;
      return busyCode;
    }
    if (failAt && (steps == failAt || (persistent && steps > failAt))) {
      ++failures;
      return kDiskIoError;
    }
    return 0;
  }
  void pause(int milliseconds) override { pauses.push_back(milliseconds); }
};
