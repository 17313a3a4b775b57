// POSIX stand-in of the file service, for the native tests of the portable
// core. Same contract as the Win32 implementation.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/error.h"
#include "platform/files.h"

namespace platform {
namespace {

[[noreturn]] void fail(const char* what, const std::string& path, int code) {
  throw quelta::IOError(std::string(what) + " \"" + path + "\". " + std::strerror(code));
}

void writeAll(int fd, const std::string& bytes, const std::string& path) {
  size_t done = 0;
  while (done < bytes.size()) {
    int code = fileStepFailure(FileStep::kWrite, path);
    ssize_t n = code ? -1 : ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) {
      if (!code) code = errno;
      ::close(fd);
      fail("Cannot write file", path, code);
    }
    done += static_cast<size_t>(n);
  }
}

}  // namespace

bool fileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool directoryExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void createDirectory(const std::string& path) {
  if (fileStepFailure(FileStep::kDirectory, path) == 0) ::mkdir(path.c_str(), 0777);
}

std::string readFile(const std::string& path) { return readFileEnd(path, SIZE_MAX); }

std::string readFileEnd(const std::string& path, size_t maxBytes) {
  if (int code = fileStepFailure(FileStep::kRead, path)) fail("Cannot open file", path, code);
  int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) fail("Cannot open file", path, errno);
  std::string bytes;
  struct stat st;
  if (::fstat(fd, &st) == 0) {
    auto size = static_cast<uint64_t>(st.st_size);
    if (size > maxBytes) ::lseek(fd, static_cast<off_t>(size - maxBytes), SEEK_SET);
    bytes.reserve(static_cast<size_t>(std::min<uint64_t>(size, maxBytes)));
  }
  char buffer[65536];
  // A file that grows while it is read still gives no more than asked.
  while (bytes.size() < maxBytes) {
    ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, maxBytes - bytes.size()));
    if (n < 0) {
      int code = errno;
      ::close(fd);
      fail("Cannot read file", path, code);
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return bytes;
}

void writeFileReplacing(const std::string& path, const std::string& bytes) {
  std::string temp = path + ".tmp" + std::to_string(::getpid());
  if (int code = fileStepFailure(FileStep::kCreate, path)) fail("Cannot create file", path, code);
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (fd < 0) fail("Cannot create file", path, errno);
  try {
    writeAll(fd, bytes, path);
  } catch (...) {
    ::unlink(temp.c_str());
    throw;
  }
  int code = fileStepFailure(FileStep::kFlush, path);
  if (code == 0 && ::fsync(fd) != 0) code = errno;
  if (::close(fd) != 0 && code == 0) code = errno;
  if (code != 0) {
    ::unlink(temp.c_str());
    fail("Cannot write file", path, code);
  }
  if (directoryExists(path)) {
    ::unlink(temp.c_str());
    fail("Cannot create file", path, EISDIR);
  }
  code = fileStepFailure(FileStep::kReplace, path);
  if (code == 0 && ::rename(temp.c_str(), path.c_str()) != 0) code = errno;
  if (code != 0) {
    ::unlink(temp.c_str());
    fail("Cannot create file", path, code);
  }
}

void appendToFile(const std::string& path, const std::string& bytes) {
  if (int code = fileStepFailure(FileStep::kAppend, path)) fail("Cannot open file", path, code);
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0666);
  if (fd < 0) fail("Cannot open file", path, errno);
  writeAll(fd, bytes, path);
  ::close(fd);
}

bool moveFileNoReplace(const std::string& from, const std::string& to) {
  if (fileStepFailure(FileStep::kReplace, to) != 0 || ::access(to.c_str(), F_OK) == 0) return false;
  return ::rename(from.c_str(), to.c_str()) == 0;
}

bool deleteFile(const std::string& path) {
  return fileStepFailure(FileStep::kRemove, path) == 0 && ::unlink(path.c_str()) == 0;
}

std::string directoryOf(const std::string& path) {
  size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::string programDirectory() {
  char buffer[4096];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
  return n > 0 ? directoryOf(std::string(buffer, static_cast<size_t>(n))) : std::string(".");
}

std::string documentsDirectory() {
  const char* home = std::getenv("HOME");
  return home ? home : "";
}

std::optional<uint64_t> freeDiskSpace(const std::string& directory) {
  struct statvfs disk {};
  if (::statvfs(directory.c_str(), &disk) != 0) return std::nullopt;
  return static_cast<uint64_t>(disk.f_bavail) * disk.f_frsize;
}

std::optional<int64_t> fileModifiedUtc(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return static_cast<int64_t>(info.st_mtime);
}

}  // namespace platform
