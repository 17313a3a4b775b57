// The ticket preview "Visualização - <printer>": the test ticket drawn as
// the printer would print it, from exactly what a print would send, beside
// the bytes (or library calls, or page texts) themselves. Nothing is
// printed, no pause, nothing logged.
#pragma once

#include <string>

#include "print/paper_strip.h"
#include "print/ticket_preview.h"
#include "ui/form.h"

namespace print {

class PreviewWindow : public ui::Form {
 public:
  PreviewWindow(HWND owner, const std::string& printerName, TicketPreview preview, Paper paper);
  ~PreviewWindow() override;

  // Makes the preview of `printer` and shows it modally over `owner`. The
  // ticket's layout errors run out to the caller before a window opens.
  static void openModal(HWND owner, const json::TJSONObject& printer, const std::string& title,
                        const platform::Clock& clock, platform::Printers& printers);

  void cbPapelChange();   // the strip on the other roll
  void btnFecharClick();  // also reached with Esc

 private:
  void pbTicketPaint(HDC dc, const RECT& area);
  void paintStrip(HDC dc, const RECT& area) const;
  void paintPages(HDC dc, const RECT& area) const;
  void showNotes();

  TicketPreview preview_;
  Paper paper_;
  PaperStrip strip_;
  std::string monoFace_;
  HFONT fixedFont_ = nullptr;
};

}  // namespace print
