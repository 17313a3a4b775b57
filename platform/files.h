// Files of the application directory. Paths are 8-bit text in the ANSI code
// page, as the program holds them; on Windows they go to the ANSI calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

bool fileExists(const std::string& path);  // a file, not a directory
bool directoryExists(const std::string& path);

// Creates one directory level; a failure is not reported (callers that
// need the directory find out when they write into it).
void createDirectory(const std::string& path);

// The whole file as bytes; IOError naming the file when it cannot be read.
// The file is opened with read, write and delete sharing, so a file another
// process holds open for writing can still be read.
std::string readFile(const std::string& path);

// The file's last `maxBytes` bytes, or the whole file when it is no longer;
// opened and failing as readFile does.
std::string readFileEnd(const std::string& path, size_t maxBytes);

// Replaces the file's content in one step: the bytes go to a temporary file
// in the same directory, which then takes the file's place. A failure at
// any point leaves the previous file as it was, removes the temporary file
// and raises IOError naming the file. While another program (the print
// service reading it) holds the file open without delete sharing, the move
// is tried again for up to kReplaceWaitMs before it fails.
void writeFileReplacing(const std::string& path, const std::string& bytes);
inline constexpr int kReplaceWaitMs = 2000;
inline constexpr int kReplacePauseMs = 50;

// Appends bytes at the end of the file, creating it when missing; IOError
// naming the file on failure.
void appendToFile(const std::string& path, const std::string& bytes);

// Renames a file; never replaces an existing target. False when it failed.
bool moveFileNoReplace(const std::string& from, const std::string& to);

bool deleteFile(const std::string& path);

// The steps the file service takes on the disk. Each asks the installed
// FileSteps first, so a test can make any one of them fail as a broken or
// full disk would, and can stand in for the pauses between tries of a move.
// Removing a temporary file after a failure is the recovery, not a step.
enum class FileStep {
  kRead,
  kCreate,
  kWrite,
  kFlush,
  kReplace,
  kAppend,
  kDirectory,
  kRemove,
  kAttributes
};

class FileSteps {
 public:
  virtual ~FileSteps() = default;
  // The system's error code the step fails with instead of running; 0 runs it.
  virtual int failure(FileStep step, const std::string& path) = 0;
  virtual void pause(int milliseconds) = 0;
};

// Installs the steps' twin; nullptr gives the disk back. For tests.
void setFileSteps(FileSteps* steps);

// For the implementations: the twin's answer (0 without one), and the pause.
int fileStepFailure(FileStep step, const std::string& path);
void pauseBetweenTries(int milliseconds);

// The bytes free for this user on the disk that holds the directory;
// nullopt when the system does not say.
std::optional<uint64_t> freeDiskSpace(const std::string& directory);

// When the file was last written, in seconds since 1970-01-01 UTC; nullopt
// when there is no such file.
std::optional<int64_t> fileModifiedUtc(const std::string& path);

// The directory part of a path, without a trailing separator.
std::string directoryOf(const std::string& path);

// The directory of the running program, without a trailing separator.
std::string programDirectory();

// The person's Documents folder (where a file goes that the application
// directory cannot take); empty when the system names none.
std::string documentsDirectory();

}  // namespace platform
