#include <windows.h>

#include "platform/epson_library.h"

namespace platform {
namespace {

using IniciaPortaFn = int(__stdcall*)(const char*);
using ImprimeTextoTagFn = int(__stdcall*)(const char*);
using AcionaGuilhotinaFn = int(__stdcall*)(int);
using FechaPortaFn = int(__stdcall*)();
using HabilitaLogFn = int(__stdcall*)(int, const char*);

// Loads the DLL on the first call. A failed load is tried again on the next
// call, so a library copied in later is found without restarting.
class Win32EpsonLibrary : public EpsonLibrary {
 public:
  explicit Win32EpsonLibrary(std::string fileName) : fileName_(std::move(fileName)) {}
  ~Win32EpsonLibrary() override {
    if (module_) FreeLibrary(module_);
  }

  int IniciaPorta(const std::string& port) override {
    return function<IniciaPortaFn>("IniciaPorta")(port.c_str());
  }
  int ImprimeTextoTag(const std::string& text) override {
    return function<ImprimeTextoTagFn>("ImprimeTextoTag")(text.c_str());
  }
  int AcionaGuilhotina(int mode) override {
    return function<AcionaGuilhotinaFn>("AcionaGuilhotina")(mode);
  }
  int FechaPorta() override { return function<FechaPortaFn>("FechaPorta")(); }
  int Habilita_Log(int enable, const std::string& directory) override {
    return function<HabilitaLogFn>("Habilita_Log")(enable, directory.c_str());
  }

  std::vector<std::string> missingFunctions() override {
    // A handle of its own, let go at once: the print's handle (and the port
    // it may hold) is left alone, and the library is only looked at.
    HMODULE module = LoadLibraryA(fileName_.c_str());
    if (!module) throw loadError();
    std::vector<std::string> missing;
    for (const char* name : kEpsonFunctions) {
      if (!GetProcAddress(module, name)) missing.push_back(name);
    }
    FreeLibrary(module);
    return missing;
  }

 private:
  template <class Fn>
  Fn function(const char* name) {
    if (!module_) {
      module_ = LoadLibraryA(fileName_.c_str());
      if (!module_) throw loadError();
    }
    FARPROC address = GetProcAddress(module_, name);
    if (!address) {
      throw EpsonLibraryError(std::string("A fun\xe7\xe3o ") + name +
                              " n\xe3o existe na biblioteca " + fileName_);
    }
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(address));
  }

  EpsonLibraryError loadError() const {
    return EpsonLibraryError("N\xe3o foi poss\xedvel carregar a biblioteca " + fileName_ +
                             " (erro " + std::to_string(GetLastError()) + ")");
  }

  std::string fileName_;
  HMODULE module_ = nullptr;
};

}  // namespace

EpsonLibrary& systemEpsonLibrary() {
  // Never unloaded: the library may hold its port open until the process ends.
  static EpsonLibrary* library = new Win32EpsonLibrary(kEpsonLibraryName);
  return *library;
}

std::unique_ptr<EpsonLibrary> loadEpsonLibrary(const std::string& fileName) {
  return std::make_unique<Win32EpsonLibrary>(fileName);
}

}  // namespace platform
