#include "tests/support/temp_dir.h"

#include <algorithm>
#include <filesystem>
#include <random>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::random_device rd;
  fs::path base = fs::temp_directory_path();
  for (;;) {
    fs::path candidate = base / ("quelta-test-" + std::to_string(rd()));
    std::error_code ec;
    if (fs::create_directory(candidate, ec)) {
      path_ = candidate.string();
      break;
    }
  }
#ifdef _WIN32
  // The program names files with backslashes; so do the tests.
  std::replace(path_.begin(), path_.end(), '/', '\\');
#endif
}

TempDir::~TempDir() {
  std::error_code ec;
  // Read-only files left by a test must not keep the directory alive.
  for (auto& entry : fs::recursive_directory_iterator(path_, ec)) {
    fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(path_, ec);
}

std::string TempDir::file(const std::string& name) const {
#ifdef _WIN32
  return path_ + "\\" + name;
#else
  return path_ + "/" + name;
#endif
}

std::vector<std::string> TempDir::entries() const {
  std::vector<std::string> names;
  for (auto& entry : fs::directory_iterator(path_)) {
#ifdef _WIN32
    // In the program's ANSI text, as it names them (the library's narrow
    // names are UTF-8).
    std::wstring wide = entry.path().filename().wstring();
    std::string name(wide.size() * 2, '\0');
    int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), name.data(),
                                static_cast<int>(name.size()), nullptr, nullptr);
    name.resize(n > 0 ? static_cast<size_t>(n) : 0);
    names.push_back(name);
#else
    names.push_back(entry.path().filename().string());
#endif
  }
  std::sort(names.begin(), names.end());
  return names;
}
