#include "ui/progress_box.h"

#include <cstdio>

#include "ui/prompts.h"

namespace ui {
namespace {

const FormSpec kForm{"TFormProgresso", "", 320, 108, Frame::Popup};

// A framed panel holds the rest, so the box stands out over the window.
const ControlSpec kControls[] = {
    {Kind::Panel, "pnProgresso", "", "", 0, 0, 320, 108},
    {Kind::Label, "lbOperacao", "pnProgresso", "", 12, 12, 296, 14},
    {Kind::ProgressBar, "pbProgresso", "pnProgresso", "", 12, 34, 296, 16},
    {Kind::Label, "lbProgresso", "pnProgresso", "", 12, 58, 210, 14},
    {Kind::Button, "btnCancelar", "pnProgresso", "Cancelar", 233, 74, 75, 25},
};

// Bytes as a person reads them: kilobytes below a megabyte, else megabytes
// with one decimal, a comma before it.
std::string sizeText(int64_t bytes) {
  char text[32];
  if (bytes < 1024 * 1024) {
    std::snprintf(text, sizeof text, "%lld KB", static_cast<long long>((bytes + 1023) / 1024));
  } else {
    const long long tenths = bytes * 10 / (1024 * 1024);
    std::snprintf(text, sizeof text, "%lld,%lld MB", tenths / 10, tenths % 10);
  }
  return text;
}

}  // namespace

ProgressBox::ProgressBox(HWND owner, const std::string& name, std::function<void()> cancel)
    : cancel_(std::move(cancel)) {
  // A popup: a click on "Cancelar" leaves the activation with the waiting
  // window, whose keys (Esc) the wait watches.
  create(kForm, kControls, owner);
  setCaption(applicationTitle());
  control("lbOperacao").setText(name);
  progressBar("pbProgresso").setMoving();
  onClick("btnCancelar", [this] { btnCancelarClick(); });
  setCancelButton("btnCancelar");
  // Over the middle of the window that waits.
  RECT o, r;
  GetWindowRect(owner, &o);
  GetWindowRect(hwnd(), &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  SetWindowPos(hwnd(), nullptr, (o.left + o.right - w) / 2, (o.top + o.bottom - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ProgressBox::showProgress(const std::string& name, int64_t done, int64_t total) {
  if (cancelling_) return;
  Control caption = control("lbOperacao");
  if (caption.text() != name) caption.setText(name);
  Control label = control("lbProgresso");
  if (total <= 0) {
    progressBar("pbProgresso").setMoving();
    if (!label.text().empty()) label.setText("");
    return;
  }
  if (done > total) done = total;
  progressBar("pbProgresso").setPosition(static_cast<int>(done * 1000 / total));
  const std::string text = progressText(done, total);
  if (label.text() != text) label.setText(text);
}

void ProgressBox::btnCancelarClick() {
  if (cancelling_) return;
  cancelling_ = true;
  control("btnCancelar").enable(false);
  control("lbProgresso").setText("Cancelando\x85");
  if (cancel_) cancel_();
}

bool ProgressBox::closeQuery() {
  btnCancelarClick();
  return false;  // it goes when the operation has ended
}

std::string progressText(int64_t done, int64_t total) {
  if (total <= 0) return "";
  if (done > total) done = total;
  return sizeText(done) + " de " + sizeText(total) + " (" + std::to_string(done * 100 / total) +
         " %)";
}

}  // namespace ui
