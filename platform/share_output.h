// Printer shares reached as files: the raw byte stream of a text printer
// is written to its share path (\\computer\share) like to a new file.
#pragma once

#include <memory>
#include <string>

namespace platform {

// One open target. Destroying a channel that was not closed closes it
// without reporting errors: a job stopped by an error does not leave the
// share open.
class OutputChannel {
 public:
  virtual ~OutputChannel() = default;
  // IOError naming the target when the bytes cannot be written.
  virtual void write(const std::string& bytes) = 0;
  // Flushes and closes; IOError naming the target on failure.
  virtual void close() = 0;
};

class ShareOutput {
 public:
  virtual ~ShareOutput() = default;
  // Opens the target for writing as a new file (created or truncated);
  // IOError naming the target when it cannot be opened.
  virtual std::unique_ptr<OutputChannel> openNew(const std::string& path) = 0;
};

ShareOutput& systemShareOutput();

}  // namespace platform
