// The vendor's library exists for Windows only; elsewhere every call
// reports it missing, the way a Windows computer without the DLL does.
#include "platform/epson_library.h"

namespace platform {
namespace {

class MissingEpsonLibrary : public EpsonLibrary {
 public:
  explicit MissingEpsonLibrary(std::string fileName) : fileName_(std::move(fileName)) {}
  int IniciaPorta(const std::string&) override { missing(); }
  int ImprimeTextoTag(const std::string&) override { missing(); }
  int AcionaGuilhotina(int) override { missing(); }
  int FechaPorta() override { missing(); }
  int Habilita_Log(int, const std::string&) override { missing(); }
  std::vector<std::string> missingFunctions() override { missing(); }

 private:
  [[noreturn]] void missing() const {
    throw EpsonLibraryError("N\xe3o foi poss\xedvel carregar a biblioteca " + fileName_);
  }
  std::string fileName_;
};

}  // namespace

EpsonLibrary& systemEpsonLibrary() {
  static MissingEpsonLibrary library(kEpsonLibraryName);
  return library;
}

std::unique_ptr<EpsonLibrary> loadEpsonLibrary(const std::string& fileName) {
  return std::make_unique<MissingEpsonLibrary>(fileName);
}

}  // namespace platform
