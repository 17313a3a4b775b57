// Makes the README's pictures: opens the main window in a fixture
// application directory, brings up the screen to show, and saves the
// window's client area as a bitmap. "preview" shows the ticket preview of
// the fixture's first printer on the 80 mm roll instead.
//
//   screenshots.exe <fixture directory> <login|log|config|preview|diagnosis|progress> <output.bmp>
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/main_window.h"
#include "app/title.h"
#include "config/settings.h"
#include "diagnosis/views/diagnosis_window.h"
#include "host/operation_names.h"
#include "print/views/preview_window.h"
#include "tests/support/recording_services.h"
#include "ui/form.h"
#include "ui/progress_box.h"
#include "ui/prompts.h"

namespace {

// The client area as the window draws it; with `onScreen`, as the screen
// shows it, the windows over it included.
bool saveClientArea(HWND hwnd, const std::string& path, bool onScreen = false) {
  RECT r;
  GetClientRect(hwnd, &r);
  int w = r.right, h = r.bottom;
  if (w <= 0 || h <= 0 || w > 4096 || h > 4096) return false;
  POINT origin{0, 0};
  if (onScreen) ClientToScreen(hwnd, &origin);
  HDC source = GetDC(onScreen ? nullptr : hwnd);
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateCompatibleBitmap(source, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, source, origin.x, origin.y, SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = w;
  info.biHeight = h;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  int stride = ((w * 3 + 3) / 4) * 4;
  std::string pixels(static_cast<size_t>(stride) * h, '\0');
  GetDIBits(memory, bitmap, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(onScreen ? nullptr : hwnd, source);

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::fwrite(&file, sizeof file, 1, f);
  std::fwrite(&info, sizeof info, 1, f);
  std::fwrite(pixels.data(), 1, pixels.size(), f);
  return std::fclose(f) == 0;
}

void settle(int ms) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  while (GetTickCount() < end) {
    ui::pumpMessages();
    Sleep(20);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: screenshots <fixture dir> <login|log|config|preview|diagnosis> <out.bmp>\n");
    return 2;
  }
  ui::initialise(GetModuleHandleA(nullptr));
  ui::setApplicationTitle(app::kTitle);
  config::setApplicationDirectory(argv[1]);
  // The computer's clock; nothing else of it is touched, no service, printer
  // or download host.
  printtest::Recorders twins;
  platform::Services services = twins.all();
  services.clock = &platform::systemClock();
  services.http = &net::systemHttp();
  app::MainWindow window(services, {cloud::builtInApiEndpoints(), update::UpdateSource::none()});
  window.show();
  settle(500);
  std::string screen = argv[2];
  if (screen == "config") window.btnConfigImpClick();
  if (screen == "log") window.btnConfigBackClick();
  if (screen == "preview") {
    const json::TJSONObject& printer = window.state().tables.printers->objectAt(0);
    const platform::SettableClock noon({2026, 3, 7, 12, 30, 0});
    print::PreviewWindow preview(
        window.hwnd(), printer.textOf("name"),
        print::previewTeste(printer, window.state().companyName, noon, platform::systemPrinters()),
        print::Paper::k80mm);
    preview.show();
    SetForegroundWindow(preview.hwnd());
    settle(1000);
    return saveClientArea(preview.hwnd(), argv[3]) ? 0 : 1;
  }
  if (screen == "diagnosis") {
    // The fixture's printers as Windows would report them: the kitchen's on
    // a raw network port, its roll at the end as it answers; the bar's paused.
    twins.printers.list = {"Cozinha", "Bar"};
    platform::SpoolerPrinter kitchen, bar;
    kitchen.name = "Cozinha";
    kitchen.shareName = "Cozinha";
    kitchen.portName = "IP_192.168.0.50";
    bar.name = "Bar";
    bar.shareName = "BAR";
    bar.paused = true;
    twins.printers.states = {kitchen, bar};
    twins.network.ports[kitchen.portName] = {"192.168.0.50", platform::kRawPrinterPort};
    twins.network.answers["192.168.0.50:9100"] = "\x16\x32\x72";
    // The checks run on a worker the main window owns, as in the program.
    host::Worker worker([&window](host::Worker::Reply reply) { window.post(std::move(reply)); },
                        8);
    diagnosis::DiagnosisWindow diagnosisWindow(
        window.hwnd(), worker, {window.state().appDir, services, cloud::builtInApiEndpoints()});
    diagnosisWindow.show();
    SetForegroundWindow(diagnosisWindow.hwnd());
    for (int i = 0; i < 100 && !diagnosisWindow.finished(); ++i) settle(100);
    settle(500);
    const bool saved = saveClientArea(diagnosisWindow.hwnd(), argv[3]);
    worker.stop();
    return saved ? 0 : 1;
  }
  SetForegroundWindow(window.hwnd());
  settle(1000);
  if (screen == "progress") {
    // The update's download as it shows after a second: its bytes and
    // percent, and "Cancelar".
    ui::ProgressBox box(window.hwnd(), host::kDownloadingUpdate, [] {});
    box.showProgress(host::kDownloadingUpdate, 1310720, 3565158);
    box.show();
    SetForegroundWindow(box.hwnd());
    settle(1000);
    return saveClientArea(window.hwnd(), argv[3], true) ? 0 : 1;
  }
  return saveClientArea(window.hwnd(), argv[3]) ? 0 : 1;
}
