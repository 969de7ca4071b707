#include "ui/core/MTipWindow.h"

#include "ui/core/GdiHandles.h"
#include "ui/core/MRender.h"
#include "ui/core/TeskModule.h"
#include "ui/core/WindowMessages.h"

namespace TESK {

namespace {

constexpr UINT kHideTimer = 10;
constexpr UINT kFontResource = 106;
constexpr int kFormatFlags = 0x1800;  // no wrapping, trailing spaces measured

// The embedded font's collection lives for the process: families taken from it need it.
Gdiplus::PrivateFontCollection* g_embeddedFonts = nullptr;

}  // namespace

MTipWindow::MTipWindow(Gdiplus::StringAlignment alignment, Gdiplus::StringAlignment lineAlignment)
    : m_pFormat(new Gdiplus::StringFormat(kFormatFlags)), m_backMode(static_cast<enumBackMode>(1)), m_backBorder(18) {
  m_pFormat->SetAlignment(alignment);
  m_pFormat->SetLineAlignment(lineAlignment);
}

MTipWindow::~MTipWindow() {
  delete m_pFormat;
}

LRESULT MTipWindow::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  TranslateFocusMessage(*this, message);
  LRESULT answer = 0;
  if (TranslateWindowMessage(*this, message, wParam, lParam, answer)) return answer;
  return MWindow::OnWindowMessage(message, wParam, lParam);
}

LONG MTipWindow::OnUserCloseWindow(UINT wParam, LONG lParam) {
  PostToSetHandle(m_hWnd, WM_CLOSE, wParam, lParam);
  return 1;
}

void MTipWindow::CloseWindow() { PostToSetHandle(m_hWnd, WM_CLOSE, 0, 0); }

int MTipWindow::OnCreate(CREATESTRUCTW*) {
  SetOwnerDrawnStyle(m_hWnd, true);
  return 1;
}

int MTipWindow::OnSize(UINT type, int, int) {
  if (type != SIZE_MINIMIZED) SetupRegion(type == SIZE_MAXIMIZED ? 0 : 3);
  CRect client;
  GetClientRect(&client);
  InvalidateRect(client, FALSE);
  return 1;
}

int MTipWindow::OnMouseMove(UINT, CPoint) { return 0; }
int MTipWindow::OnMouseLeave(UINT, LONG) { return 0; }
int MTipWindow::OnMouseHover(UINT, LONG) { return 0; }
int MTipWindow::OnMouseWheel(UINT, short, CPoint) { return 0; }
int MTipWindow::OnLButtonDown(UINT, CPoint) { return 0; }
int MTipWindow::OnLButtonUp(UINT, CPoint) { return 0; }
int MTipWindow::OnLButtonDblClk(UINT, CPoint) { return 0; }
int MTipWindow::OnRButtonDown(UINT, CPoint) { return 0; }
int MTipWindow::OnRButtonUp(UINT, CPoint) { return 0; }
int MTipWindow::OnRButtonDblClk(UINT, CPoint) { return 0; }
int MTipWindow::OnKeyDown(UINT, UINT, UINT) { return 0; }
int MTipWindow::OnNcHitTest(CPoint) { return 0; }
int MTipWindow::OnGetMinMaxInfo(MINMAXINFO*) { return 0; }
int MTipWindow::OnNcCalcSize(int, NCCALCSIZE_PARAMS*) { return 0; }
int MTipWindow::OnNcActivate(int) { return 1; }
int MTipWindow::OnSetFocus(MWindow*) { return 1; }
int MTipWindow::OnKillFocus(MWindow*) { return HideOnFocusLoss(false); }
int MTipWindow::OnWindowPosChanging(WINDOWPOS*) { return 0; }
int MTipWindow::OnWindowPosChanged(WINDOWPOS*) { return 1; }
int MTipWindow::OnPaint() { return 1; }

void MTipWindow::OnTimer(UINT id) {
  if (id != kHideTimer) return;
  KillTimer(kHideTimer);
  if (IsWindowVisible()) ShowWindow(SW_HIDE);
}

int MTipWindow::OnNcPaint() { return 0; }
int MTipWindow::OnClose() { return 1; }
int MTipWindow::PostNcDestroy() { return 0; }
int MTipWindow::OnDestroy() { return 0; }

int MTipWindow::HideOnFocusLoss(bool keepShown) {
  if (!keepShown) ShowWindow(SW_HIDE);
  KillTimer(kHideTimer);
  return 1;
}

// ---- Pictures ----

int MTipWindow::LoadBKImage(CString file) { return m_background.LoadSkin(file); }
int MTipWindow::LoadBKImage(UINT resourceId, CString type) { return m_background.LoadResource(resourceId, type); }

void MTipWindow::SetBackMode(enumBackMode mode, int border) {
  m_backMode = mode;
  m_backBorder = border;
}

// ---- Fonts ----

Gdiplus::FontFamily* MTipWindow::NewEmbeddedFontFamily() {
  if (!g_embeddedFonts) {
    HMODULE library = GetLibraryModule();
    HRSRC found = library ? FindResourceW(library, MAKEINTRESOURCEW(kFontResource), L"ttf") : nullptr;
    HGLOBAL loaded = found ? ::LoadResource(library, found) : nullptr;
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
  return TipFontFamily(g_embeddedFonts);
}

Gdiplus::FontFamily* MTipWindow::TipFontFamily(const Gdiplus::FontCollection* fonts) {
  if (fonts) {
    Gdiplus::FontFamily first;
    INT found = 0;
    if (fonts->GetFamilies(1, &first, &found) == Gdiplus::Ok && found == 1) return first.Clone();
  }
  // Without the embedded face the tips use the library's fall-back face.
  FallbackFontFamily fallback;
  const Gdiplus::FontFamily* face = fallback.Or(nullptr);
  return face ? face->Clone() : nullptr;
}

// ---- Window shape and painting ----

void MTipWindow::SetupRegion(int diameter) {
  CRect window;
  if (!GetWindowRect(&window)) return;
  HRGN region = CreateRoundRectRgn(0, 0, window.Width(), window.Height(), diameter, diameter);
  // The system owns the region from here on.
  SetWindowRgn(m_hWnd, region, TRUE);
}

void MTipWindow::PaintClient(const std::function<void(HDC dc, int width, int height)>& compose, bool layered) {
  if (!IsLive() || IsIconic()) return;
  CRect client;
  GetClientRect(&client);
  const int w = client.Width();
  const int h = client.Height();
  if (w <= 0 || h <= 0) return;
  HDC target = ::GetDC(layered ? nullptr : m_hWnd);
  BYTE* bits = nullptr;
  ScopedGdiObject<HBITMAP> surface(MRender::CreateARGB32Bitmap(target, w, h, &bits));
  ScopedMemoryDC dc(target);
  if (surface && dc) {
    ScopedSelect select(dc.get(), surface.get());
    compose(dc.get(), w, h);
    if (layered) {
      ModifyExStyle(0, WS_EX_LAYERED, 0);
      SIZE size = {w, h};
      POINT origin = {0, 0};
      BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
      UpdateLayeredWindow(m_hWnd, target, nullptr, &size, dc.get(), &origin, 0, &blend, ULW_ALPHA);
    } else {
      ::BitBlt(target, 0, 0, w, h, dc.get(), 0, 0, SRCCOPY);
    }
  }
  ::ReleaseDC(layered ? nullptr : m_hWnd, target);
  // The whole client area is painted: nothing is left to validate by WM_PAINT.
  ::ValidateRect(m_hWnd, nullptr);
}

}  // namespace TESK
