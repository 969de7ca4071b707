#include "ui/core/MAirBladder.h"

#include <algorithm>

#include "ui/core/GdiHandles.h"
#include "ui/core/MRender.h"
#include "ui/core/Manager.h"
#include "ui/core/TeskModule.h"
#include "ui/core/WindowMessages.h"

namespace TESK {

namespace {

constexpr UINT kHideTimer = 10;
constexpr UINT kHideAfterMs = 5000;
constexpr int kNoAutoHideType = 4;
constexpr int kCentredMode = 4;
constexpr int kStickyMode = 5;
constexpr UINT kFontResource = 106;
constexpr float kFontPixels = 14.0f;
constexpr int kFormatFlags = 0x1800;  // no wrapping, trailing spaces measured

// The embedded font's collection lives for the process: families taken from it need it.
Gdiplus::PrivateFontCollection* g_embeddedFonts = nullptr;

}  // namespace

MAirBladder::MAirBladder()
    : m_anchor{0, 0},
      m_type(static_cast<AIRBLADDER_TYPE>(1)),
      m_mode(static_cast<AIRBLADDER_MODE>(3)),
      m_pFontFamily(nullptr),
      m_pFormat(new Gdiplus::StringFormat(kFormatFlags)),
      m_backMode(static_cast<enumBackMode>(1)),
      m_backBorder(18),
      m_lineCount(1) {
  m_pFormat->SetAlignment(Gdiplus::StringAlignmentNear);
  m_pFormat->SetLineAlignment(Gdiplus::StringAlignmentNear);
}

MAirBladder::~MAirBladder() {
  for (Picture* picture : {&m_background, &m_arrowTop, &m_arrowLeft, &m_arrowRight}) delete picture->image;
  delete m_pFontFamily;
  delete m_pFormat;
}

LRESULT MAirBladder::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  TranslateFocusMessage(*this, message);
  LRESULT result = 0;
  if (TranslateWindowMessage(*this, message, wParam, lParam, result)) return result;
  return MWindow::OnWindowMessage(message, wParam, lParam);
}

int MAirBladder::OnInitDialog() {
  LoadTempFont();
  return 1;
}

LONG MAirBladder::OnUserCloseWindow(UINT wParam, LONG lParam) {
  PostToSetHandle(m_hWnd, WM_CLOSE, wParam, lParam);
  return 1;
}

void MAirBladder::CloseWindow() { PostToSetHandle(m_hWnd, WM_CLOSE, 0, 0); }

int MAirBladder::OnCreate(CREATESTRUCTW*) {
  SetOwnerDrawnStyle(m_hWnd, true);
  return 1;
}

int MAirBladder::OnSize(UINT type, int, int) {
  if (type != SIZE_MINIMIZED) SetupRegion(type == SIZE_MAXIMIZED ? 0 : 3);
  CRect client;
  GetClientRect(&client);
  InvalidateRect(client, FALSE);
  return 1;
}

int MAirBladder::OnMouseMove(UINT, CPoint) { return 0; }
int MAirBladder::OnMouseLeave(UINT, LONG) { return 0; }
int MAirBladder::OnMouseHover(UINT, LONG) { return 0; }
int MAirBladder::OnMouseWheel(UINT, short, CPoint) { return 0; }
int MAirBladder::OnLButtonDown(UINT, CPoint) { return 0; }
int MAirBladder::OnLButtonUp(UINT, CPoint) { return 0; }
int MAirBladder::OnLButtonDblClk(UINT, CPoint) { return 0; }
int MAirBladder::OnRButtonDown(UINT, CPoint) { return 0; }
int MAirBladder::OnRButtonUp(UINT, CPoint) { return 0; }
int MAirBladder::OnRButtonDblClk(UINT, CPoint) { return 0; }
int MAirBladder::OnKeyDown(UINT, UINT, UINT) { return 0; }
int MAirBladder::OnNcHitTest(CPoint) { return 0; }
int MAirBladder::OnGetMinMaxInfo(MINMAXINFO*) { return 0; }
int MAirBladder::OnNcCalcSize(int, NCCALCSIZE_PARAMS*) { return 0; }
int MAirBladder::OnNcActivate(int) { return 1; }
int MAirBladder::OnSetFocus(MWindow*) { return 1; }

int MAirBladder::OnKillFocus(MWindow*) {
  if (m_mode != kStickyMode) ShowWindow(SW_HIDE);
  KillTimer(kHideTimer);
  return 1;
}

int MAirBladder::OnWindowPosChanging(WINDOWPOS*) { return 0; }
int MAirBladder::OnWindowPosChanged(WINDOWPOS*) { return 1; }

void MAirBladder::OnTimer(UINT id) {
  if (id != kHideTimer) return;
  KillTimer(kHideTimer);
  if (IsWindowVisible()) ShowWindow(SW_HIDE);
}

int MAirBladder::OnNcPaint() { return 0; }
int MAirBladder::OnClose() { return 1; }
int MAirBladder::PostNcDestroy() { return 0; }
int MAirBladder::OnDestroy() { return 0; }

int MAirBladder::Load(Picture& picture, Gdiplus::Image* loaded) {
  delete picture.image;
  picture = Picture();
  if (!loaded || loaded->GetLastStatus() != Gdiplus::Ok) {
    delete loaded;
    return 0;
  }
  picture.image = loaded;
  picture.width = static_cast<int>(loaded->GetWidth());
  picture.height = static_cast<int>(loaded->GetHeight());
  return 1;
}

int MAirBladder::LoadBKImage(CString file) {
  return Load(m_background, MRender::LoadImageFromFile(GetSkinFolder() + file));
}
int MAirBladder::LoadBKImage(UINT id, CString type) {
  return Load(m_background, MRender::LoadImageFromIDResource(id, type, Manager::m_hInstance));
}
int MAirBladder::LoadArrowLImage(CString file) {
  return Load(m_arrowLeft, MRender::LoadImageFromFile(GetSkinFolder() + file));
}
int MAirBladder::LoadArrowLImage(UINT id, CString type) {
  return Load(m_arrowLeft, MRender::LoadImageFromIDResource(id, type, Manager::m_hInstance));
}
int MAirBladder::LoadArrowRImage(CString file) {
  return Load(m_arrowRight, MRender::LoadImageFromFile(GetSkinFolder() + file));
}
int MAirBladder::LoadArrowRImage(UINT id, CString type) {
  return Load(m_arrowRight, MRender::LoadImageFromIDResource(id, type, Manager::m_hInstance));
}
int MAirBladder::LoadArrowTImage(CString file) {
  return Load(m_arrowTop, MRender::LoadImageFromFile(GetSkinFolder() + file));
}
int MAirBladder::LoadArrowTImage(UINT id, CString type) {
  return Load(m_arrowTop, MRender::LoadImageFromIDResource(id, type, Manager::m_hInstance));
}

void MAirBladder::SetBackMode(enumBackMode mode, int border) {
  m_backMode = mode;
  m_backBorder = border;
}

int MAirBladder::SetAirBladderMsg(const wchar_t* text, POINT anchor, AIRBLADDER_TYPE type, AIRBLADDER_MODE mode) {
  if (!text) return 0;
  if (m_text == text && m_anchor.x == anchor.x && m_anchor.y == anchor.y && m_type == type && m_mode == mode) return 1;
  m_pFormat->SetAlignment(Gdiplus::StringAlignmentNear);
  m_pFormat->SetLineAlignment(Gdiplus::StringAlignmentNear);
  m_text = text;
  m_anchor = anchor;
  m_type = type;
  m_mode = mode;
  AutoFit();
  if (m_type != kNoAutoHideType && IsLive()) SetTimer(kHideTimer, kHideAfterMs, nullptr);
  return 1;
}

CRect MAirBladder::FitRect(int mode, POINT anchor, int width, int textHeight) {
  const int x = anchor.x;
  const int y = anchor.y;
  const int w = width;
  const int t = textHeight;
  CRect rect;
  switch (mode) {
    case 1: rect = CRect(x, y, x + w + 40, y + t + 20); break;
    case 2: rect = CRect(x - w - 40, y - 27, x, y + t - 7); break;
    case 3: rect = CRect(x - 25, y, x + w + 15, y + t + 30); break;
    case 4: {
      const int left = x - (w + 30) / 2;
      rect = CRect(left, y - t - 20, left + w + 30, y);
      break;
    }
    case 5: rect = CRect(x, y - 10, x + w + 40, y + t - 45); break;
    default: return CRect();
  }
  // A text shorter than its mode assumes gives an empty window, never a negative one.
  rect.bottom = std::max(rect.bottom, rect.top);
  return rect;
}

int MAirBladder::LineHeight(Gdiplus::Font& font) const { return static_cast<int>(font.GetHeight(96.0f)); }

void MAirBladder::AutoFit() {
  if (m_text.IsEmpty() || !m_pFontFamily) return;
  Gdiplus::Font font(m_pFontFamily, kFontPixels, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
  const int width = MRender::GetTextBounds(font, *m_pFormat, m_text).Width;
  const int lineHeight = LineHeight(font);
  const wchar_t* text = m_text.GetString();
  const int lines = 1 + static_cast<int>(std::count(text, text + m_text.GetLength(), L'\n'));
  if (lines == 1 || m_mode == kCentredMode) {
    m_pFormat->SetAlignment(Gdiplus::StringAlignmentCenter);
    m_pFormat->SetLineAlignment(Gdiplus::StringAlignmentCenter);
  }
  m_lineCount = m_mode == kStickyMode ? std::max(lines - 2, 0) : lines;
  const CRect rect = FitRect(m_mode, m_anchor, width, lines * lineHeight);
  if (IsLive()) {
    MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
    OnPaint();
  }
}

int MAirBladder::OnPaint() {
  if (!IsLive() || IsIconic()) return 1;
  CRect client;
  GetClientRect(&client);
  const int w = client.Width();
  const int h = client.Height();
  if (w <= 0 || h <= 0) return 1;
  HDC screen = ::GetDC(nullptr);
  BYTE* bits = nullptr;
  ScopedGdiObject<HBITMAP> surface(MRender::CreateARGB32Bitmap(screen, w, h, &bits));
  ScopedMemoryDC dc(screen);
  if (surface && dc) {
    ScopedSelect select(dc.get(), surface.get());
    SetBkMode(dc.get(), TRANSPARENT);
    {
      Gdiplus::Graphics g(dc.get());
      if (m_background.image) {
        MRender::DrawImageFrame(g, m_background.image, CRect(0, 0, w - 1, h - 1), 0, 0, m_background.width,
                                m_background.height, 6);
      }
      if (!m_text.IsEmpty() && m_pFontFamily) {
        Gdiplus::Font font(m_pFontFamily, kFontPixels, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
        const int lineHeight = LineHeight(font);
        g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
        Gdiplus::SolidBrush white(Gdiplus::Color(0xFFFFFFFF));
        const float textHeight = static_cast<float>(m_lineCount * lineHeight);
        const Gdiplus::RectF layout(8.0f, (h - textHeight) * 0.5f + m_lineCount - 1,
                                    static_cast<float>(std::max(w - 16, 0)), textHeight + 2.0f);
        g.DrawString(m_text, m_text.GetLength(), &font, layout, m_pFormat, &white);
      }
    }
    ModifyExStyle(0, WS_EX_LAYERED, 0);
    SIZE size = {w, h};
    POINT origin = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(m_hWnd, screen, nullptr, &size, dc.get(), &origin, 0, &blend, ULW_ALPHA);
  }
  ::ReleaseDC(nullptr, screen);
  // Painted through the layered window: nothing is left to validate by WM_PAINT.
  ::ValidateRect(m_hWnd, nullptr);
  return 1;
}

void MAirBladder::SetupRegion(int diameter) {
  CRect window;
  if (!GetWindowRect(&window)) return;
  HRGN region = CreateRoundRectRgn(0, 0, window.Width(), window.Height(), diameter, diameter);
  // The system owns the region from here on.
  SetWindowRgn(m_hWnd, region, TRUE);
}

void MAirBladder::LoadTempFont() {
  if (m_pFontFamily) return;
  if (!g_embeddedFonts) {
    HMODULE library = GetLibraryModule();
    HRSRC found = library ? FindResourceW(library, MAKEINTRESOURCEW(kFontResource), L"ttf") : nullptr;
    HGLOBAL loaded = found ? LoadResource(library, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data) {
      auto* fonts = new Gdiplus::PrivateFontCollection();
      if (fonts->AddMemoryFont(data, static_cast<INT>(SizeofResource(library, found))) == Gdiplus::Ok &&
          fonts->GetFamilyCount() > 0) {
        g_embeddedFonts = fonts;
      } else {
        delete fonts;
      }
    }
  }
  m_pFontFamily = TipFontFamily(g_embeddedFonts);
}

Gdiplus::FontFamily* MAirBladder::TipFontFamily(const Gdiplus::FontCollection* fonts) {
  if (fonts) {
    Gdiplus::FontFamily first;
    INT found = 0;
    if (fonts->GetFamilies(1, &first, &found) == Gdiplus::Ok && found == 1) return first.Clone();
  }
  // Without the embedded face the tip uses an installed sans-serif face.
  for (const wchar_t* face : {L"Tahoma", L"Arial", L"DejaVu Sans"}) {
    auto* installed = new Gdiplus::FontFamily(face);
    if (installed->GetLastStatus() == Gdiplus::Ok) return installed;
    delete installed;
  }
  return nullptr;
}

}  // namespace TESK
