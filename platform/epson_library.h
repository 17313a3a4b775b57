// The Epson printer library InterfaceEpsonNF.dll, a 32-bit vendor DLL
// loaded by name at run time. Every function answers 0 for failure and
// anything else for success; nothing more of the answer is interpreted.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/error.h"

namespace platform {

// The library or one of its functions cannot be found. Raised instead of
// crashing, so a computer without the vendor's DLL still runs the program
// and gets a readable print result.
class EpsonLibraryError : public quelta::Error {
 public:
  explicit EpsonLibraryError(const std::string& message)
      : quelta::Error("EDLLLoadError", message) {}
};

class EpsonLibrary {
 public:
  virtual ~EpsonLibrary() = default;
  virtual int IniciaPorta(const std::string& port) = 0;
  virtual int ImprimeTextoTag(const std::string& text) = 0;
  virtual int AcionaGuilhotina(int mode) = 0;
  virtual int FechaPorta() = 0;
  virtual int Habilita_Log(int enable, const std::string& directory) = 0;
  // The functions above that the library lacks, found without calling any
  // (no port is opened); EpsonLibraryError when it cannot be loaded.
  virtual std::vector<std::string> missingFunctions() = 0;
};

// The five functions the print calls, by their exported names.
inline constexpr const char* kEpsonFunctions[] = {"IniciaPorta", "ImprimeTextoTag",
                                                  "AcionaGuilhotina", "FechaPorta",
                                                  "Habilita_Log"};

inline constexpr const char* kEpsonLibraryName = "InterfaceEpsonNF.dll";

// The library the program uses: InterfaceEpsonNF.dll, searched for the usual
// Windows way (the program's directory first). It is loaded on the first
// call and stays loaded, because its port is one resource for the whole
// process. A missing library or function raises EpsonLibraryError on the
// call that needs it.
EpsonLibrary& systemEpsonLibrary();

// The same binding for a library file named explicitly.
std::unique_ptr<EpsonLibrary> loadEpsonLibrary(const std::string& fileName);

}  // namespace platform
