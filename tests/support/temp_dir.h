// A fresh directory per test, removed with everything in it at the end.
// Paths use the platform's separator, as the program builds them.
#pragma once

#include <string>
#include <vector>

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const;
  // Names directly inside the directory, sorted.
  std::vector<std::string> entries() const;

 private:
  std::string path_;
};
