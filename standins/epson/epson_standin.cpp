// Stand-in for the vendor's Epson printer library InterfaceEpsonNF.dll.
//
// Every call is appended to "epson-capture.txt" beside the DLL: one header
// line "<function> <arguments> = <answer>", where an integer argument reads
// "i:<value>" and a text argument "s:<length>", followed by the raw bytes of
// each text argument and a line feed. So what the program asked to print
// can be checked byte for byte.
//
// "epson-control.txt" beside the DLL lists function names, one per line;
// a listed function answers 0 (failure). The file is read on every call.
//
// Like the real library, printing and cutting need an open port.
#include <windows.h>

#include <string>
#include <vector>

namespace {

HMODULE g_module = nullptr;
bool g_portOpen = false;
std::string g_logDirectory;  // set by Habilita_Log

std::string besideDll(const char* name) {
  char path[MAX_PATH * 2];
  DWORD n = GetModuleFileNameA(g_module, path, sizeof path);
  std::string dir(path, n);
  size_t cut = dir.find_last_of("\\/");
  dir = cut == std::string::npos ? std::string() : dir.substr(0, cut + 1);
  return dir + name;
}

std::string readAll(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(h);
  return bytes;
}

void appendAll(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
}

bool toldToFail(const char* function) {
  std::string control = readAll(besideDll("epson-control.txt"));
  size_t start = 0;
  while (start < control.size()) {
    size_t end = control.find_first_of("\r\n", start);
    if (end == std::string::npos) end = control.size();
    std::string line = control.substr(start, end - start);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
    if (line == function) return true;
    start = end + 1;
  }
  return false;
}

struct Argument {
  bool isText;
  int number;
  std::string text;
};

Argument number(int value) { return {false, value, {}}; }
Argument text(const char* value) { return {true, 0, value ? value : ""}; }

int record(const char* function, const std::vector<Argument>& arguments, int answer) {
  if (toldToFail(function)) answer = 0;
  std::string entry = function;
  std::string payload;
  for (const Argument& a : arguments) {
    if (a.isText) {
      entry += " s:" + std::to_string(a.text.size());
      payload += a.text + "\n";
    } else {
      entry += " i:" + std::to_string(a.number);
    }
  }
  entry += " = " + std::to_string(answer) + "\n" + payload;
  appendAll(besideDll("epson-capture.txt"), entry);
  if (!g_logDirectory.empty()) {
    appendAll(g_logDirectory + "InterfaceEpsonNF.log",
              std::string(function) + " = " + std::to_string(answer) + "\r\n");
  }
  return answer;
}

}  // namespace

extern "C" {

__declspec(dllexport) int __stdcall IniciaPorta(const char* port) {
  int answer = record("IniciaPorta", {text(port)}, 1);
  if (answer != 0) g_portOpen = true;
  return answer;
}

__declspec(dllexport) int __stdcall ImprimeTextoTag(const char* data) {
  return record("ImprimeTextoTag", {text(data)}, g_portOpen ? 1 : 0);
}

__declspec(dllexport) int __stdcall AcionaGuilhotina(int mode) {
  return record("AcionaGuilhotina", {number(mode)}, g_portOpen ? 1 : 0);
}

__declspec(dllexport) int __stdcall FechaPorta() {
  int answer = record("FechaPorta", {}, 1);
  if (answer != 0) g_portOpen = false;
  return answer;
}

__declspec(dllexport) int __stdcall Habilita_Log(int enable, const char* directory) {
  int answer = record("Habilita_Log", {number(enable), text(directory)}, 1);
  if (answer != 0) g_logDirectory = enable ? std::string(directory ? directory : "") : "";
  return answer;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_module = instance;
  return TRUE;
}

}  // extern "C"
