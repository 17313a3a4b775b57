#include "print/views/preview_window.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "print/test_ticket.h"
#include "ui/prompts.h"

namespace print {
namespace {

const ui::FormSpec kForm{"TFormVisualizacao", "", 920, 540, ui::Frame::Dialog};

const ui::ControlSpec kControls[] = {
    {ui::Kind::Label, "lbPapel", "", "Papel", 8, 12, 34, 14},
    {ui::Kind::ComboList, "cbPapel", "", "", 44, 8, 80, 200},
    {ui::Kind::Label, "lbDestino", "", "", 136, 12, 776, 14},
    {ui::Kind::PaintBox, "pbTicket", "", "", 8, 36, 360, 464},
    {ui::Kind::Listing, "mmBytes", "", "", 376, 36, 536, 464},
    {ui::Kind::Label, "lbAviso", "", "", 8, 512, 816, 14},
    {ui::Kind::Button, "btnFechar", "", "Fechar", 837, 507, 75, 25},
};

// The strip's scale: printer dots per screen pixel at 96 DPI, and the blank
// paper around the text and at a cut, in dots.
constexpr double kPixelsPerDot = 0.6;
constexpr int kFeedDots = 24;
constexpr int kCutDots = 24;

int px(double value) { return static_cast<int>(std::lround(value)); }

int CALLBACK takeFixedPitchFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD type,
                                LPARAM found) {
  if ((font->lfPitchAndFamily & 3) != FIXED_PITCH || !(type & TRUETYPE_FONTTYPE)) return 1;
  *reinterpret_cast<std::string*>(found) = font->lfFaceName;
  return 0;
}

// The receipt printer's character cells and the columns of the bytes need
// a fixed-pitch face: Courier New, which every Windows has, else the first
// scalable one installed.
std::string fixedPitchFace(HWND window) {
  HDC dc = GetDC(window);
  LOGFONTA wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  std::string face;
  lstrcpyA(wanted.lfFaceName, "Courier New");
  EnumFontFamiliesExA(dc, &wanted, takeFixedPitchFace, reinterpret_cast<LPARAM>(&face), 0);
  if (face.empty()) {
    wanted.lfFaceName[0] = '\0';
    EnumFontFamiliesExA(dc, &wanted, takeFixedPitchFace, reinterpret_cast<LPARAM>(&face), 0);
  }
  ReleaseDC(window, dc);
  return face.empty() ? "Courier New" : face;
}

// GDI objects made for one paint and deleted with it.
class PaintTools {
 public:
  explicit PaintTools(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~PaintTools() {
    RestoreDC(dc_, saved_);
    for (HGDIOBJ object : made_) DeleteObject(object);
  }
  template <class T>
  T use(T object) {
    made_.push_back(object);
    SelectObject(dc_, object);
    return object;
  }
  void font(int height, int width, bool bold, bool underline, const char* face) {
    use(CreateFontA(std::max(height, 1), width, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline,
                    FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    ANTIALIASED_QUALITY, DEFAULT_PITCH, face));
  }

 private:
  HDC dc_;
  int saved_;
  std::vector<HGDIOBJ> made_;
};

void fill(HDC dc, const RECT& r, COLORREF colour, COLORREF border) {
  PaintTools tools(dc);
  tools.use(CreateSolidBrush(colour));
  tools.use(CreatePen(PS_SOLID, 1, border));
  Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

}  // namespace

PreviewWindow::PreviewWindow(HWND owner, const std::string& printerName, TicketPreview preview,
                             Paper paper)
    : preview_(std::move(preview)), paper_(paper) {
  create(kForm, kControls, owner);
  setCaption("Visualiza\xe7\xe3o - " + printerName);
  onChange("cbPapel", [this] { cbPapelChange(); });
  onClick("btnFechar", [this] { btnFecharClick(); });
  onPaint("pbTicket", [this](HDC dc, const RECT& area) { pbTicketPaint(dc, area); });
  setCancelButton("btnFechar");

  monoFace_ = fixedPitchFace(hwnd());
  HDC screen = GetDC(hwnd());
  fixedFont_ =
      CreateFontA(-MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE,
                  FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                  DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, monoFace_.c_str());
  ReleaseDC(hwnd(), screen);
  ui::Memo listing = memo("mmBytes");
  SendMessageA(listing.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(fixedFont_), FALSE);
  listing.setLines(previewListing(preview_));

  const bool onPaper = preview_.sink == TicketPreview::Sink::Share ||
                       preview_.sink == TicketPreview::Sink::EpsonLibrary;
  ui::ComboBox choice = combo("cbPapel");
  choice.setItems({paperSize(Paper::k58mm).caption, paperSize(Paper::k80mm).caption});
  choice.select(paper_ == Paper::k80mm ? 1 : 0);
  choice.show(onPaper);
  control("lbPapel").show(onPaper);
  strip_ = paperStrip(preview_, paper_);
  showNotes();
  centreOnScreen();
}

PreviewWindow::~PreviewWindow() {
  if (isOpen()) SendMessageA(memo("mmBytes").hwnd(), WM_SETFONT, 0, FALSE);
  if (fixedFont_) DeleteObject(fixedFont_);
}

void PreviewWindow::openModal(HWND owner, const json::TJSONObject& printer,
                              const std::string& title, const platform::Clock& clock,
                              platform::Printers& printers) {
  TicketPreview preview = previewTeste(printer, title, clock, printers);
  PreviewWindow window(owner, printer.textOf("name"), std::move(preview),
                       paperFor(ticketLayout(printer).paperWidth));
  ui::prompts().showModal(window);
}

void PreviewWindow::cbPapelChange() {
  paper_ = combo("cbPapel").selectedIndex() == 1 ? Paper::k80mm : Paper::k58mm;
  strip_ = paperStrip(preview_, paper_);
  showNotes();
  control("pbTicket").invalidate();
}

void PreviewWindow::btnFecharClick() { close(); }

void PreviewWindow::showNotes() {
  control("lbDestino").setText(previewDestination(preview_));
  std::string note = preview_.result;
  if (preview_.result == "OK") {
    note = preview_.sink == TicketPreview::Sink::WindowsPrinter ? "" : widthNote(strip_, paper_);
  }
  control("lbAviso").setText(note);
}

void PreviewWindow::pbTicketPaint(HDC dc, const RECT& area) {
  if (preview_.sink == TicketPreview::Sink::WindowsPrinter)
    paintPages(dc, area);
  else if (preview_.sink != TicketPreview::Sink::None)
    paintStrip(dc, area);
}

// The roll from the top of the box down, the printable width dotted, each
// line's characters in their cells, broken lines marked red in the left
// margin, cuts dashed.
void PreviewWindow::paintStrip(HDC dc, const RECT& area) const {
  const double dpi = GetDeviceCaps(dc, LOGPIXELSY) / 96.0;
  const PaperSize& size = paperSize(paper_);
  int contentDots = 2 * kFeedDots;
  for (const StripLine& line : strip_.lines) contentDots += line.cut ? kCutDots : line.height;
  const int width = area.right - area.left, height = area.bottom - area.top;
  const int markRoom = px(20 * dpi);
  const double scale = std::min({kPixelsPerDot * dpi, double(width - 2 * markRoom) / size.rollDots,
                                 double(height) / contentDots});
  if (scale <= 0) return;

  const int left = area.left + (width - px(size.rollDots * scale)) / 2;
  const int right = left + px(size.rollDots * scale);
  const double textLeft = left + (size.rollDots - size.printableDots) / 2.0 * scale;
  fill(dc, {left, area.top - 1, right, area.bottom + 1}, RGB(255, 255, 255), RGB(160, 160, 160));
  {
    PaintTools tools(dc);
    tools.use(CreatePen(PS_DOT, 1, RGB(215, 215, 215)));
    for (double x : {textLeft, textLeft + size.printableDots * scale}) {
      MoveToEx(dc, px(x), area.top, nullptr);
      LineTo(dc, px(x), area.bottom);
    }
  }

  SetBkMode(dc, TRANSPARENT);
  double y = area.top + kFeedDots * scale;
  for (const StripLine& line : strip_.lines) {
    if (line.cut) {
      const int middle = px(y + kCutDots * scale / 2);
      PaintTools tools(dc);
      tools.use(CreatePen(PS_DASH, 1, RGB(90, 90, 90)));
      MoveToEx(dc, left, middle, nullptr);
      LineTo(dc, right, middle);
      tools.font(px(13 * dpi), 0, false, false, "Arial");
      SetTextColor(dc, RGB(90, 90, 90));
      SetTextAlign(dc, TA_RIGHT | TA_BOTTOM);
      TextOutA(dc, right - px(4 * dpi), middle, "corte", 5);
      y += kCutDots * scale;
      continue;
    }
    if (line.wrapped) {
      const int top = px(y), bottom = px(y + line.height * scale);
      const int tip = left - px(3 * dpi), back = left - markRoom + px(4 * dpi);
      PaintTools tools(dc);
      tools.use(CreateSolidBrush(RGB(200, 0, 0)));
      tools.use(CreatePen(PS_SOLID, 1, RGB(200, 0, 0)));
      const POINT arrow[] = {
          {back, top + px(2 * dpi)}, {tip, (top + bottom) / 2}, {back, bottom - px(2 * dpi)}};
      Polygon(dc, arrow, 3);
    }
    double x = textLeft;
    for (const StripRun& run : line.runs) {
      const double cell = run.mode.width() * scale;
      const int top = px(y + (line.height - run.mode.height()) * scale);
      PaintTools tools(dc);
      tools.font(px(run.mode.height() * scale), px(cell), run.mode.emphasized, run.mode.underline,
                 "Courier New");
      SetTextColor(dc, RGB(0, 0, 0));
      std::vector<INT> advances(run.text.size());
      for (size_t i = 0; i < run.text.size(); ++i)
        advances[i] = px(x + (i + 1) * cell) - px(x + i * cell);
      ExtTextOutA(dc, px(x), top, 0, nullptr, run.text.data(), static_cast<UINT>(run.text.size()),
                  advances.data());
      x += run.text.size() * cell;
    }
    y += line.height * scale;
  }
}

// The pages side by side, scaled to fit the box, each text where the
// Windows printer's job would put it, in its size and weight.
void PreviewWindow::paintPages(HDC dc, const RECT& area) const {
  const platform::PageSize page = preview_.page;
  if (page.width <= 0 || page.height <= 0) return;
  const double dpi = GetDeviceCaps(dc, LOGPIXELSY) / 96.0;
  const int pages = std::max(preview_.pages, 1);
  const int gap = px(8 * dpi);
  const int width = area.right - area.left, height = area.bottom - area.top;
  const double scale = std::min(double(width - gap * (pages + 1)) / (double(page.width) * pages),
                                double(height - 2 * gap) / page.height);
  if (scale <= 0) return;
  std::vector<POINT> corners;
  for (int p = 0; p < pages; ++p) {
    const int left = area.left + gap + px(p * (page.width * scale + gap));
    corners.push_back({left, area.top + gap});
    fill(dc,
         {left, area.top + gap, left + px(page.width * scale),
          area.top + gap + px(page.height * scale)},
         RGB(255, 255, 255), RGB(160, 160, 160));
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  for (const CanvasText& text : preview_.texts) {
    if (text.page >= pages) continue;
    PaintTools tools(dc);
    // The face of the Windows printer's canvas.
    tools.font(px(text.height * scale), 0, text.bold, false, "Arial");
    TextOutA(dc, corners[text.page].x + px(text.x * scale),
             corners[text.page].y + px(text.y * scale), text.text.data(),
             static_cast<int>(text.text.size()));
  }
}

}  // namespace print
