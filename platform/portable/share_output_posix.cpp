// POSIX stand-in of the share output: the path is an ordinary file.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/error.h"
#include "platform/share_output.h"

namespace platform {
namespace {

[[noreturn]] void fail(const char* what, const std::string& path, int code) {
  throw quelta::IOError(std::string(what) + " \"" + path + "\". " + std::strerror(code));
}

class FileChannel : public OutputChannel {
 public:
  FileChannel(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~FileChannel() override {
    if (fd_ >= 0) ::close(fd_);
  }

  void write(const std::string& bytes) override {
    size_t done = 0;
    while (done < bytes.size()) {
      ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n <= 0) fail("Cannot write to", path_, errno);
      done += static_cast<size_t>(n);
    }
  }

  void close() override {
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fail("Cannot close", path_, errno);
  }

 private:
  int fd_;
  std::string path_;
};

class PosixShareOutput : public ShareOutput {
 public:
  std::unique_ptr<OutputChannel> openNew(const std::string& path) override {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) fail("Cannot open", path, errno);
    return std::make_unique<FileChannel>(fd, path);
  }
};

}  // namespace

ShareOutput& systemShareOutput() {
  static PosixShareOutput output;
  return output;
}

}  // namespace platform
