#include <windows.h>
// The shell's folder functions need the one above first.
#include <shlobj.h>

#include <algorithm>
#include <cstdint>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/win32/file_time.h"
#include "platform/win32/system_error.h"

namespace platform {
namespace {

void writeAll(HANDLE h, const std::string& bytes, const std::string& path) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
    DWORD written = 0;
    DWORD code = fileStepFailure(FileStep::kWrite, path);
    if (code == 0 && (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written == 0))
      code = GetLastError();
    if (code != 0) {
      CloseHandle(h);
      failFile("Cannot write file", path, code);
    }
    done += written;
  }
}

// The step's handle, or INVALID_HANDLE_VALUE with the error code set.
HANDLE openFile(FileStep step, const std::string& path, DWORD access, DWORD sharing,
                DWORD disposition) {
  if (DWORD code = fileStepFailure(step, path)) {
    SetLastError(code);
    return INVALID_HANDLE_VALUE;
  }
  return CreateFileA(path.c_str(), access, sharing, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

// 0, or the error code of the move.
DWORD replaceWith(const std::string& temp, const std::string& path) {
  if (DWORD code = fileStepFailure(FileStep::kReplace, path)) return code;
  if (MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return 0;
  return GetLastError();
}

}  // namespace

bool fileExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool directoryExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void createDirectory(const std::string& path) {
  if (fileStepFailure(FileStep::kDirectory, path) == 0) CreateDirectoryA(path.c_str(), nullptr);
}

std::string readFile(const std::string& path) { return readFileEnd(path, SIZE_MAX); }

std::string readFileEnd(const std::string& path, size_t maxBytes) {
  HANDLE h = openFile(FileStep::kRead, path, GENERIC_READ,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
  if (h == INVALID_HANDLE_VALUE) failFile("Cannot open file", path, GetLastError());
  std::string bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(h, &size)) {
    if (static_cast<uint64_t>(size.QuadPart) > maxBytes) {
      LARGE_INTEGER start{};
      start.QuadPart = size.QuadPart - static_cast<LONGLONG>(maxBytes);
      SetFilePointerEx(h, start, nullptr, FILE_BEGIN);
    }
    bytes.reserve(static_cast<size_t>(std::min<uint64_t>(size.QuadPart, maxBytes)));
  }
  char buffer[65536];
  // A file that grows while it is read still gives no more than asked.
  while (bytes.size() < maxBytes) {
    DWORD want = static_cast<DWORD>(std::min<size_t>(sizeof buffer, maxBytes - bytes.size()));
    DWORD got = 0;
    if (!ReadFile(h, buffer, want, &got, nullptr)) {
      DWORD code = GetLastError();
      CloseHandle(h);
      failFile("Cannot read file", path, code);
    }
    if (got == 0) break;
    bytes.append(buffer, got);
  }
  CloseHandle(h);
  return bytes;
}

void writeFileReplacing(const std::string& path, const std::string& bytes) {
  // A read-only file is refused as an in-place write would refuse it; a
  // rename over it would otherwise replace it on some systems. Both it and
  // a directory in the file's place fail as "access denied" at once, not
  // after the wait for a reader.
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    failFile("Cannot create file", path, ERROR_ACCESS_DENIED);
  // The temporary file lives beside the target so that the final move is a
  // rename within one volume.
  std::string temp = path + ".tmp" + std::to_string(GetCurrentProcessId());
  HANDLE h = openFile(FileStep::kCreate, temp, GENERIC_WRITE, 0, CREATE_ALWAYS);
  if (h == INVALID_HANDLE_VALUE) failFile("Cannot create file", path, GetLastError());
  try {
    writeAll(h, bytes, path);
  } catch (...) {
    DeleteFileA(temp.c_str());
    throw;
  }
  DWORD code = fileStepFailure(FileStep::kFlush, path);
  if (code == 0 && !FlushFileBuffers(h)) code = GetLastError();
  if (!CloseHandle(h) && code == 0) code = GetLastError();
  if (code != 0) {
    DeleteFileA(temp.c_str());
    failFile("Cannot write file", path, code);
  }
  // A reader that opened the file without delete sharing (most programs,
  // the print service among them) blocks the move until it closes the file.
  for (int waited = 0;; waited += kReplacePauseMs) {
    code = replaceWith(temp, path);
    if (code == 0) return;
    if ((code != ERROR_SHARING_VIOLATION && code != ERROR_ACCESS_DENIED) ||
        waited >= kReplaceWaitMs)
      break;
    pauseBetweenTries(kReplacePauseMs);
  }
  DeleteFileA(temp.c_str());
  failFile("Cannot create file", path, code);
}

void appendToFile(const std::string& path, const std::string& bytes) {
  HANDLE h = openFile(FileStep::kAppend, path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      OPEN_ALWAYS);
  if (h == INVALID_HANDLE_VALUE) failFile("Cannot open file", path, GetLastError());
  writeAll(h, bytes, path);
  CloseHandle(h);
}

bool moveFileNoReplace(const std::string& from, const std::string& to) {
  return fileStepFailure(FileStep::kReplace, to) == 0 && MoveFileA(from.c_str(), to.c_str()) != 0;
}

bool deleteFile(const std::string& path) {
  return fileStepFailure(FileStep::kRemove, path) == 0 && DeleteFileA(path.c_str()) != 0;
}

std::string directoryOf(const std::string& path) {
  size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::string programDirectory() {
  char buffer[MAX_PATH * 2];
  DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  return directoryOf(std::string(buffer, n));
}

std::string documentsDirectory() {
  char buffer[MAX_PATH];
  if (SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, buffer) != S_OK)
    return "";
  return buffer;
}

std::optional<uint64_t> freeDiskSpace(const std::string& directory) {
  ULARGE_INTEGER free{};
  if (!GetDiskFreeSpaceExA(directory.c_str(), &free, nullptr, nullptr)) return std::nullopt;
  return static_cast<uint64_t>(free.QuadPart);
}

std::optional<int64_t> fileModifiedUtc(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  return unixSeconds(data.ftLastWriteTime);
}

}  // namespace platform
