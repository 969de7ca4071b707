// PaintManager: painting, repaint requests, the caret and the message overlay.
#include "ui/core/GdiHandles.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/HandlerScope.h"
#include "ui/core/MControl.h"
#include "ui/core/MControlFont.h"
#include "ui/core/MRender.h"
#include "ui/core/Manager.h"
#include "ui/core/PaintManager.h"

namespace TESK {

namespace {

Gdiplus::Color Opaque(COLORREF c) { return Gdiplus::Color(255, GetRValue(c), GetGValue(c), GetBValue(c)); }

// The pixels of a 32-bpp DIB section, for the alpha passes of a layered window.
class DibPixels {
public:
  explicit DibPixels(HBITMAP dib) {
    DIBSECTION section = {};
    if (GetObjectW(dib, sizeof(section), &section) == sizeof(section) && section.dsBm.bmBitsPixel == 32 &&
        section.dsBm.bmBits) {
      m_bits = static_cast<DWORD*>(section.dsBm.bmBits);
      m_width = section.dsBm.bmWidth;
      m_height = section.dsBm.bmHeight;
      m_topDown = section.dsBmih.biHeight < 0;
    }
  }
  explicit operator bool() const { return m_bits != nullptr; }
  // Applies f to every pixel of area (clipped to the bitmap).
  template <typename F>
  void ForEach(const CRect& area, F f) {
    GdiFlush();
    CRect clip;
    if (!clip.IntersectRect(&area, CRect(0, 0, m_width, m_height))) return;
    for (int y = clip.top; y < clip.bottom; ++y) {
      DWORD* row = m_bits + static_cast<size_t>(m_topDown ? y : m_height - 1 - y) * m_width;
      for (int x = clip.left; x < clip.right; ++x) f(row[x]);
    }
  }

private:
  DWORD* m_bits = nullptr;
  int m_width = 0;
  int m_height = 0;
  bool m_topDown = false;
};

}  // namespace

void PaintManager::SetBackMode(enumBackMode mode, int border) {
  m_backMode = mode;
  m_backBorder = border;
}

int PaintManager::LoadBKImage(CString file) {
  delete m_pBkImage;
  m_pBkImage = MRender::LoadImageFromFile(GetSkinFolder() + file);
  m_bkImageWidth = m_pBkImage ? static_cast<int>(m_pBkImage->GetWidth()) : 0;
  m_bkImageHeight = m_pBkImage ? static_cast<int>(m_pBkImage->GetHeight()) : 0;
  return m_pBkImage ? 1 : 0;
}

int PaintManager::LoadBKImage(UINT id, CString type) {
  delete m_pBkImage;
  m_pBkImage = MRender::LoadImageFromIDResource(id, type, Manager::GetInstance());
  if (m_pBkImage && m_pBkImage->GetLastStatus() != Gdiplus::Ok) {
    delete m_pBkImage;
    m_pBkImage = nullptr;
  }
  m_bkImageWidth = m_pBkImage ? static_cast<int>(m_pBkImage->GetWidth()) : 0;
  m_bkImageHeight = m_pBkImage ? static_cast<int>(m_pBkImage->GetHeight()) : 0;
  return m_pBkImage ? 1 : 0;
}

void PaintManager::InvalidateArea(const CRect& rect) { InvalidateRect(rect, FALSE); }

// ---- Repaint requests ----

LRESULT PaintManager::OnControlUpdate(CRect rect, int redraw, MControl* control) {
  if (!control) return 0;
  if (!IsWindowThread()) {
    // A tick: the timer thread holds the tick lock and its control's locks, so the walk over
    // the lists (which takes the list locks) is left to the window's thread, which applies
    // the queued requests before it paints. Invalidation itself is safe from any thread.
    {
      CriticalSectionLock lock(m_pendingLock);
      m_pendingUpdates.push_back(PendingUpdate{rect, redraw, control});
    }
    InvalidateArea(rect);
    return 0;
  }
  ApplyUpdate(rect, redraw, control);
  return 0;
}

void PaintManager::ApplyUpdate(CRect rect, int redraw, MControl* control) {
  CRect dirty = rect;
  if (redraw) control->SetUpdate(0, m_backColor);
  if (m_bInitialized) {
    // Areas, then controls, as one sequence: everything after the control that overlaps
    // the changed rectangle lies above it and is re-rendered too.
    bool met = false;
    for (const std::vector<MControl*>& list :
         {CopyUnderLock(m_areas, m_areaLock), CopyUnderLock(m_controls, m_controlLock)}) {
      for (MControl* other : list) {
        if (!other || other->IsRemoved()) continue;
        if (!met) {
          met = other == control;
          continue;
        }
        const CRect bounds = other->GetRect();
        CRect overlap;
        if (other->IsVisible() && overlap.IntersectRect(&bounds, &rect)) {
          dirty.UnionRect(&dirty, &bounds);
          other->SetUpdate(0, m_backColor);
        }
      }
    }
  }
  InvalidateArea(dirty);
}

void PaintManager::ApplyPendingUpdates() {
  std::vector<PendingUpdate> pending;
  {
    CriticalSectionLock lock(m_pendingLock);
    pending.swap(m_pendingUpdates);
  }
  for (const PendingUpdate& update : pending) ApplyUpdate(update.rect, update.redraw, update.control);
}

// ---- Painting ----

int PaintManager::OnPaint() {
  if (!HasWindow()) return 0;
  if (::IsIconic(m_hWnd)) {
    // Nothing shows, but the update region must go: left in place it brings the next
    // WM_PAINT at once, without end.
    ::ValidateRect(m_hWnd, nullptr);
    return 1;
  }
  ApplyPendingUpdates();
  CRect update;
  if (!::GetUpdateRect(m_hWnd, &update, FALSE)) return 0;
  CRect client;
  ::GetClientRect(m_hWnd, &client);
  PAINTSTRUCT ps;
  HDC paintDC = ::BeginPaint(m_hWnd, &ps);
  HDC windowDC = ::GetDC(m_hWnd);
  {
    ScopedMemoryDC memory(windowDC);
    ScopedGdiObject<HBITMAP> dib(MRender::CreateARGB32Bitmap(windowDC, client.Width(), client.Height(), nullptr));
    if (memory && dib) {
      ScopedSelect select(memory.get(), dib.get());
      ComposeWindow(memory.get(), dib.get(), client, update);
      if (m_bLayered) {
        const LONG_PTR exStyle = GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
        if (!(exStyle & WS_EX_LAYERED)) SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        SIZE size = {client.Width(), client.Height()};
        POINT source = {0, 0};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::UpdateLayeredWindow(m_hWnd, windowDC, nullptr, &size, memory.get(), &source, 0, &blend, ULW_ALPHA);
      } else {
        ::BitBlt(paintDC, update.left, update.top, update.Width(), update.Height(), memory.get(), update.left,
                 update.top, SRCCOPY);
      }
    }
  }
  ::ReleaseDC(m_hWnd, windowDC);
  ::EndPaint(m_hWnd, &ps);
  return 1;
}

void PaintManager::ComposeWindow(HDC dc, HBITMAP dib, CRect client, CRect update) {
  const int saved = SaveDC(dc);
  DibPixels pixels(dib);
  if (m_bLayered && pixels) pixels.ForEach(update, [](DWORD& p) { p = 0; });
  {
    Gdiplus::Graphics g(dc);
    if (m_pBkImage) {
      DrawBackImage(g, client);
    } else {
      // Only the update rectangle is shown, so only its part of the two fills is drawn
      // (cutting the rectangles is far cheaper than a clip region on some GDI+ builds).
      const CRect inner(client.left + 1, client.top + 1, client.right - 1, client.bottom - 1);
      const struct {
        CRect area;
        COLORREF colour;
      } fills[] = {{client, m_frameColor}, {inner, m_backColor}};
      for (const auto& fill : fills) {
        CRect part;
        if (!part.IntersectRect(&fill.area, &update)) continue;
        Gdiplus::SolidBrush brush(Opaque(fill.colour));
        g.FillRectangle(&brush, static_cast<INT>(part.left), static_cast<INT>(part.top), part.Width(), part.Height());
      }
    }
  }
  const CRect drawn = m_bLayered ? client : update;
  DrawControl(dc, drawn);
  DrawCaret(dc, drawn);
  if (m_bLayered && pixels) {
    // GDI draws without alpha: what it drew on the transparent ground becomes opaque.
    pixels.ForEach(update, [](DWORD& p) {
      if ((p & 0xFF000000) == 0 && (p & 0x00FFFFFF) != 0) p |= 0xFF000000;
    });
  }
  if (m_overlayAlpha > 10 && !m_overlayText.IsEmpty()) {
    Gdiplus::Graphics g(dc);
    DrawOverlay(g);
  }
  RestoreDC(dc, saved);
}

void PaintManager::DrawBackImage(Gdiplus::Graphics& g, CRect client) {
  if (!m_pBkImage) return;
  if (m_backMode == BACK_MODE_IMAGE) {
    g.DrawImage(m_pBkImage, Gdiplus::Rect(client.left, client.top, m_bkImageWidth, m_bkImageHeight), 0, 0,
                m_bkImageWidth, m_bkImageHeight, Gdiplus::UnitPixel);
  } else if (m_backMode == BACK_MODE_FRAME) {
    MRender::DrawImageFrame(g, m_pBkImage, client, 0, 0, m_bkImageWidth, m_bkImageHeight, m_backBorder);
  }
}

void PaintManager::DrawControl(HDC& dc, CRect rect) {
  HandlerScope scope;
  for (MControl* area : CopyUnderLock(m_areas, m_areaLock)) {
    if (area && !area->IsRemoved()) area->Draw(dc, rect);
  }
  for (MControl* control : CopyUnderLock(m_controls, m_controlLock)) {
    if (control && !control->IsRemoved()) control->Draw(dc, rect);
  }
}

// ---- Overlay ----

void PaintManager::DrawOverlay(Gdiplus::Graphics& g) {
  const int a = m_overlayAlpha;
  const int L = m_overlayRect.left, T = m_overlayRect.top, R = m_overlayRect.right, B = m_overlayRect.bottom;
  Gdiplus::SolidBrush outer(Gdiplus::Color(static_cast<BYTE>(a), 0xB4, 0xB4, 0xB4));
  Gdiplus::SolidBrush inner(Gdiplus::Color(static_cast<BYTE>(a), 0xD2, 0xD2, 0xD2));
  g.FillRectangle(&outer, L, T, R - L, B - T);
  g.FillRectangle(&inner, L + 2, T + 2, R - L - 4, B - T - 4);

  // A missing overlay face falls back to the system's sans-serif face.
  FallbackFontFamily fallback;
  Gdiplus::Font font(fallback.Or(FindTempFont(m_overlayFontName)), 16, Gdiplus::FontStyleRegular,
                     Gdiplus::UnitPixel);
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
  Gdiplus::StringFormat format;
  format.SetAlignment(Gdiplus::StringAlignmentCenter);
  format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  Gdiplus::SolidBrush text(Gdiplus::Color(static_cast<BYTE>(a), 0x05, 0x05, 0x05));
  const float width = static_cast<float>(R - L - 10);
  if (m_overlayProgress <= 0) {
    g.DrawString(m_overlayText, m_overlayText.GetLength(), &font,
                 Gdiplus::RectF(static_cast<float>(L + 5), static_cast<float>(T + 5), width, 50), &format, &text);
    return;
  }
  g.DrawString(m_overlayText, m_overlayText.GetLength(), &font,
               Gdiplus::RectF(static_cast<float>(L + 5), static_cast<float>(T + 5), width, 30), &format, &text);
  Gdiplus::Pen line(Gdiplus::Color(0xC8C8C8C8), 1);
  g.DrawLine(&line, L + 10, B - 15, R - 20, B - 15);
  Gdiplus::SolidBrush bar(Gdiplus::Color(0xFEFFE100));
  g.FillRectangle(&bar, L + 10, B - 16, m_overlayProgress * (R - L - 20) / 100, 3);
}

void PaintManager::SetMessage(CString text, CRect rect, MsgLevel level) {
  if (HasWindow()) {
    ::KillTimer(m_hWnd, kMessageHoldTimer);
    ::KillTimer(m_hWnd, kOverlayFadeTimer);
  }
  m_overlayAlpha = 255;
  m_overlayText = text;
  m_overlayLevel = level;
  m_overlayProgress = 0;
  m_overlayRect = rect;
  InvalidateArea(m_overlayRect);
  if (HasWindow()) ::SetTimer(m_hWnd, kMessageHoldTimer, 2000, nullptr);
}

void PaintManager::SetProgress(int percent, CString text, CRect rect) {
  if (percent == m_overlayTarget) return;
  if (percent < 5 && HasWindow()) ::KillTimer(m_hWnd, kOverlayFadeTimer);
  m_overlayAlpha = 255;
  m_overlayText = text;
  m_overlayTarget = percent;
  if (rect.IsRectEmpty()) {
    CRect client;
    GetClientRect(client);
    rect.SetRect(client.left, client.bottom - 60, client.right, client.bottom - 2);
  }
  m_overlayRect = rect;
  if (m_overlayTarget - m_overlayProgress > 5) {
    if (HasWindow()) ::SetTimer(m_hWnd, kProgressTimer, 10, nullptr);
    return;
  }
  m_overlayProgress = m_overlayTarget;
  InvalidateArea(m_overlayRect);
  if (m_overlayProgress >= 100 && HasWindow()) ::SetTimer(m_hWnd, kOverlayFadeTimer, 50, nullptr);
}

void PaintManager::OnOverlayTimer(UINT id) {
  if (!HasWindow()) return;
  if (id == kMessageHoldTimer) {
    ::KillTimer(m_hWnd, kMessageHoldTimer);
    ::SetTimer(m_hWnd, kOverlayFadeTimer, 50, nullptr);
  } else if (id == kOverlayFadeTimer) {
    m_overlayAlpha -= 10;
    InvalidateArea(m_overlayRect);
    if (m_overlayAlpha < 20) {
      m_overlayAlpha = 0;
      m_overlayProgress = 0;
      ::KillTimer(m_hWnd, kOverlayFadeTimer);
      Invalidate();
    }
  } else if (id == kProgressTimer) {
    // Steps of 2 that stop exactly on the target, also when it is odd.
    m_overlayProgress += 2;
    if (m_overlayProgress >= m_overlayTarget) {
      m_overlayProgress = m_overlayTarget;
      ::KillTimer(m_hWnd, kProgressTimer);
    }
    InvalidateArea(m_overlayRect);
    if (m_overlayProgress >= 100) ::SetTimer(m_hWnd, kOverlayFadeTimer, 50, nullptr);
  }
}

// ---- Caret ----

int PaintManager::CreateCaret(HBITMAP bitmap, int width, int height) {
  if (HasWindow()) ::CreateCaret(m_hWnd, bitmap, width, height);
  m_caretRect.SetRect(m_caretRect.left, m_caretRect.top, m_caretRect.left + width, m_caretRect.top + height);
  return 1;
}

int PaintManager::SetCaretPos(MControlFont* owner, int x, int y) {
  if (!::SetCaretPos(x, y)) return 0;
  const CRect old = m_caretRect;
  m_caretRect.MoveToXY(x, y);
  m_pCaretOwner = owner;
  InvalidateArea(old);
  InvalidateArea(m_caretRect);
  return 1;
}

int PaintManager::ShowCaret(int show) {
  if (show == m_bCaretShown) return 1;
  m_bCaretShown = show;
  if (show) {
    if (HasWindow()) ::SetTimer(m_hWnd, kCaretTimer, GetCaretBlinkTime(), nullptr);
    if (!m_bCaretOn) {
      InvalidateArea(m_caretRect);
      m_bCaretOn = 1;
    }
  } else {
    if (HasWindow()) ::KillTimer(m_hWnd, kCaretTimer);
    if (m_bCaretOn) InvalidateArea(m_caretRect);
    m_bCaretOn = 0;
  }
  return 1;
}

void PaintManager::OnCaretTimer() {
  InvalidateArea(m_caretRect);
  m_bCaretOn = !m_bCaretOn;
}

void PaintManager::DrawCaret(HDC dc, const CRect& rect) {
  if (!m_pCaretOwner) return;
  // The caret stops blinking and vanishes when its edit or the window loses the focus.
  if (!m_pCaretOwner->IsFocused() || ::GetFocus() != m_hWnd) {
    if (HasWindow()) ::KillTimer(m_hWnd, kCaretTimer);
    if (m_bCaretOn) InvalidateArea(m_caretRect);
    m_bCaretOn = 0;
    return;
  }
  CRect part;
  if (!m_bCaretOn || !m_bCaretShown || !part.IntersectRect(&m_caretRect, &rect)) return;
  Gdiplus::Graphics g(dc);
  Gdiplus::SolidBrush brush(Gdiplus::Color((m_pCaretOwner->GetTextColor() & 0x00FFFFFF) | 0xFE000000));
  g.FillRectangle(&brush, static_cast<INT>(part.left), static_cast<INT>(part.top), part.Width(), part.Height());
}

}  // namespace TESK
