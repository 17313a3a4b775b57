#include <windows.h>

#include <algorithm>

#include "platform/error.h"
#include "platform/win32/system_error.h"
#include "platform/share_output.h"

namespace platform {
namespace {


// Bytes are collected and sent in blocks, so a ticket goes to a network
// share in a few writes instead of one per line.
class ShareChannel : public OutputChannel {
 public:
  ShareChannel(HANDLE h, std::string path) : h_(h), path_(std::move(path)) {}
  ~ShareChannel() override {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }

  void write(const std::string& bytes) override {
    pending_ += bytes;
    if (pending_.size() >= kBlock) flush();
  }

  void close() override {
    try {
      flush();
    } catch (...) {
      CloseHandle(h_);
      h_ = INVALID_HANDLE_VALUE;
      throw;
    }
    HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    if (!CloseHandle(h)) failFile("Cannot close", path_, GetLastError());
  }

 private:
  static constexpr size_t kBlock = 4096;

  void flush() {
    size_t done = 0;
    while (done < pending_.size()) {
      DWORD written = 0;
      DWORD chunk = static_cast<DWORD>(std::min<size_t>(pending_.size() - done, 1 << 20));
      if (!WriteFile(h_, pending_.data() + done, chunk, &written, nullptr) || written == 0)
        failFile("Cannot write to", path_, GetLastError());
      done += written;
    }
    pending_.clear();
  }

  HANDLE h_;
  std::string path_;
  std::string pending_;
};

class Win32ShareOutput : public ShareOutput {
 public:
  std::unique_ptr<OutputChannel> openNew(const std::string& path) override {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) failFile("Cannot open", path, GetLastError());
    return std::make_unique<ShareChannel>(h, path);
  }
};

}  // namespace

ShareOutput& systemShareOutput() {
  static Win32ShareOutput output;
  return output;
}

}  // namespace platform
