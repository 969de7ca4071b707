#include "ui/controls/MEdit.h"

#include <algorithm>

#include "ui/controls/CEditWnd.h"
#include "ui/core/MRender.h"
#include "ui/core/Manager.h"
#include "ui/core/NativeEdit.h"
#include "ui/core/PaintManager.h"

namespace TESK {

namespace {

enum State { kNormal = 0, kHover = 1, kFocused = 2, kDisabled = 3 };
constexpr int kCells = 4;
constexpr COLORREF kGreyText = 0x808080;
constexpr UINT kCentredFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS;
constexpr UINT kMultiLineFormat = DT_VCENTER | DT_WORDBREAK | DT_EDITCONTROL;
constexpr UINT kLineFormat = DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS;
constexpr int kTextInset = 6;
constexpr int kIconInset = 9;

}  // namespace

MEdit::MEdit(MObject* owner, UINT id, CRect rect, const wchar_t* tip, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_strTip(tip),
      m_bPassword(0),
      m_bMultiLine(0),
      m_bReadOnly(0),
      m_bNumberOnly(0),
      m_bCharMessage(1),
      m_nLimitText(120),
      m_passwordChar(0xA1F1),
      m_editBackColor(0x222527),
      m_nState(kNormal),
      m_nFaceBorder(4),
      m_nIconFrameWidth(0),
      m_nIconHeight(0),
      m_nIconFrames(4),
      m_rcIcon{0, 0, 0, 0},
      m_rcText{0, 0, 0, 0},
      m_bFixedText(0),
      m_nIconState(0),
      m_pEditWnd(nullptr) {
  m_bTabStop = 1;
  m_textColor = 0xFE050505;
}

MEdit::~MEdit() {
  if (CEditWnd* edit = m_pEditWnd) {
    // The window's end deletes the edit object; it must not call back into this field.
    edit->ReleaseOwner();
    m_pEditWnd = nullptr;
    edit->DestroyWindow();
  }
}

void MEdit::Repaint(int rebuild) {
  if (m_bVisible && m_pParent) m_pParent->OnControlUpdate(m_rect, rebuild, this);
}

// ---- Text ----

void MEdit::SetControlTitle(const wchar_t* text) {
  if (!text || m_strTitle == text) return;
  m_strTitle = text;
  if (m_pEditWnd) m_pEditWnd->SetWindowTextW(text);
  Repaint(1);
}

CString MEdit::GetControlTitle() {
  HideEdit();
  return m_strTitle;
}

CString MEdit::GetEditText() {
  if (m_pEditWnd && m_pEditWnd->IsWindowVisible()) {
    CString text;
    m_pEditWnd->GetWindowTextW(text);
    return text;
  }
  return m_strTitle;
}

void MEdit::SetEditText(const wchar_t* text) {
  if (text && !(m_strTitle == text)) m_strTitle = text;
}

// ---- Appearance ----

int MEdit::SetIconImage(const wchar_t* file, int frames) {
  Gdiplus::Image* image = file ? MRender::LoadImageFromFile(GetSkinFolder() + file) : nullptr;
  if (!image) return 0;
  m_pIconImage.reset(image);
  // The frame width divides by the frame count.
  m_nIconFrames = std::max(1, frames);
  m_nIconFrameWidth = static_cast<int>(image->GetWidth()) / m_nIconFrames;
  m_nIconHeight = static_cast<int>(image->GetHeight());
  PlaceIcon();
  return 1;
}

void MEdit::PlaceIcon() {
  if (m_rect.IsRectEmpty()) return;
  const int top = m_rect.top + (m_rect.Height() - m_nIconHeight) / 2;
  m_rcIcon = RECT{m_rect.right - m_nIconFrameWidth - kIconInset, top, m_rect.right - kIconInset, top + m_nIconHeight};
}

bool MEdit::InIcon(CPoint pt) const { return m_pIconImage && ::PtInRect(&m_rcIcon, pt); }

void MEdit::SetTextRect(CRect rect) {
  m_rcText = rect;
  m_bFixedText = 1;
}

CRect MEdit::GetTextRect() { return m_bFixedText ? CRect(&m_rcText) : CalcTextRect(1); }

CRect MEdit::CalcTextRect(int recompute) {
  if (m_bFixedText || (!recompute && !::IsRectEmpty(&m_rcText))) return CRect(&m_rcText);
  const CRect r = m_rect;
  CRect text;
  if (m_bMultiLine) {
    text = CRect(r.left + kTextInset, r.top + 5, r.right - kTextInset, r.bottom - 5);
  } else {
    const int height = m_nFontWidth == 10 ? 14 : m_nFontWidth == 12 ? 18 : m_nFontWidth;
    const int top = r.top + (r.Height() - height) / 2;
    text = CRect(r.left + kTextInset, top, r.right - kTextInset, top + height);
  }
  if (m_pIconImage) text.right = r.right - kTextInset - m_nIconFrameWidth - kTextInset;
  m_rcText = text;
  return text;
}

void MEdit::SetEditFont(const wchar_t* face, int size, int bold, int underline, int italic) {
  m_editFont.reset(CreateStyledFont(face, -size, (bold ? 1 : 0) | (italic ? 2 : 0) | (underline ? 4 : 0)));
}

void MEdit::SetEditFont() { m_editFont.reset(CreateStyledFont(m_strFontName, -m_nFontWidth, m_nFontStyle)); }

HFONT MEdit::GetDefaultFont() {
  if (!m_editFont) SetEditFont();
  return m_editFont.get();
}

COLORREF MEdit::GetEditTextColor() const {
  return RGB((m_textColor >> 16) & 0xFF, (m_textColor >> 8) & 0xFF, m_textColor & 0xFF);
}

void MEdit::DrawCellText(HDC dc, int cell) {
  const bool titled = !m_strTitle.IsEmpty();
  if (!titled && m_strTip.IsEmpty()) return;
  CRect area = CalcTextRect(0);
  area.OffsetRect(cell * m_rect.Width() - m_rect.left, -m_rect.top);
  CString shown = m_strTip;
  COLORREF colour = kGreyText;
  if (titled) {
    shown = m_bPassword ? CString(m_passwordChar, m_strTitle.GetLength()) : m_strTitle;
    if (cell != kDisabled) colour = GetEditTextColor();
  }
  UINT format = kLineFormat;
  if (m_nAlignment == 1) {
    format = kCentredFormat;
  } else if (m_bMultiLine) {
    format = kMultiLineFormat;
  }
  MRender::DrawTextW(dc, area, shown, colour, GetDefaultFont(), format);
}

void MEdit::DrawControl(HDC& dc, CRect) {
  const int W = m_rect.Width(), H = m_rect.Height();
  if (W <= 0 || H <= 0) return;
  if (!m_bCacheValid) {
    UpdateMemDC(dc, kCells * W, H);
    if (!m_hCacheDC) return;
    Gdiplus::Graphics g(m_hCacheDC);
    for (int cell = 0; cell < kCells; ++cell) {
      ::BitBlt(m_hCacheDC, cell * W, 0, W, H, dc, m_rect.left, m_rect.top, SRCCOPY);
      if (m_pImage && m_nFrameWidth > 0) {
        MRender::DrawImageFrame(g, m_pImage, CRect(cell * W, 0, (cell + 1) * W, H), m_nFrameWidth * cell, 0,
                                m_nFrameWidth, m_nFrameHeight, m_nFaceBorder);
      }
    }
    g.Flush();
    for (int cell = 0; cell < kCells; ++cell) DrawCellText(m_hCacheDC, cell);
  }
  ::BitBlt(dc, m_rect.left, m_rect.top, W, H, m_hCacheDC, std::min(std::max(m_nState, 0), kCells - 1) * W, 0, SRCCOPY);
  if (m_pIconImage && m_nIconFrameWidth > 0) {
    // The icon is drawn over the cell at each paint, so its states need no rebuild.
    Gdiplus::Graphics g(dc);
    const CRect icon(&m_rcIcon);
    g.DrawImage(m_pIconImage.get(), Gdiplus::Rect(icon.left, icon.top, m_nIconFrameWidth, m_nIconHeight),
                m_nIconState * m_nIconFrameWidth, 0, m_nIconFrameWidth, m_nIconHeight, Gdiplus::UnitPixel);
  }
}

// ---- Editing ----

void MEdit::ShowEdit() {
  if (m_bReadOnly || !m_bEnabled) return;
  if (!m_pEditWnd) {
    auto* edit = new CEditWnd();
    edit->ShowEdit(this);
    if (!edit->GetSafeHwnd()) {
      // No window was made, so no window's end will delete the object.
      delete edit;
      return;
    }
    m_pEditWnd = edit;
  } else {
    CRect area = GetTextRect();
    PlaceEditWindow(m_pManager, area);
    m_pEditWnd->MoveWindow(&area, TRUE);
  }
  m_pEditWnd->SetWindowTextW(m_strTitle);
  m_pEditWnd->ShowWindow(SW_SHOW);
  m_pEditWnd->SendMessageW(EM_SETSEL, static_cast<WPARAM>(m_strTitle.GetLength()), -1);
  m_pEditWnd->SetFocus();
  m_bFocused = 1;
  SendMessageW(NOTIFY_EDITBEGIN, 0, 0);
}

void MEdit::HideEdit() {
  m_bFocused = 0;
  if (!m_pEditWnd || !m_pEditWnd->IsWindowVisible()) return;
  CString text;
  m_pEditWnd->GetWindowTextW(text);
  if (!(text == m_strTitle)) {
    m_strTitle = text;
    Repaint(1);
  }
  m_pEditWnd->ShowWindow(SW_HIDE);
  SendMessageW(NOTIFY_EDITEND, 0, 0);
}

int MEdit::IsEditFocused() {
  return m_pEditWnd && m_pEditWnd->IsWindowVisible() && ::GetFocus() == m_pEditWnd->GetSafeHwnd() ? 1 : 0;
}

HWND MEdit::GetEditHwnd() {
  return m_pEditWnd && m_pEditWnd->IsWindowVisible() ? m_pEditWnd->GetSafeHwnd() : nullptr;
}

// ---- Focus, state and input ----

int MEdit::SetControlFocus(int focus) {
  if (!m_bEnabled) return 0;
  const int old = m_nState;
  if (focus) {
    m_nState = kFocused;
    ShowEdit();
  } else {
    m_nState = kNormal;
    HideEdit();
  }
  if (m_nState == old) return 0;
  Repaint(1);
  return 1;
}

void MEdit::SetControlRect(CRect rect) {
  if (rect == m_rect) return;
  m_rect = rect;
  // A computed text area follows the rectangle at the next drawing.
  if (!m_bFixedText) m_rcText = RECT{0, 0, 0, 0};
  if (m_pIconImage) PlaceIcon();
}

void MEdit::SetControlEnabled(int enabled) {
  if (enabled == m_bEnabled) return;
  m_bEnabled = enabled;
  m_nState = enabled ? kNormal : kDisabled;
  Repaint(0);
}

int MEdit::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled || m_nState == kFocused) return 0;
  const bool inside = m_rect.PtInRect(pt);
  const int state = inside ? kHover : kNormal;
  const int iconState = inside && InIcon(pt) ? 1 : 0;
  if (state == m_nState && iconState == m_nIconState) return 0;
  m_nState = state;
  m_nIconState = iconState;
  Repaint(0);
  return 1;
}

int MEdit::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled || !m_rect.PtInRect(pt)) return 0;
  const int oldState = m_nState, oldIcon = m_nIconState;
  UINT code;
  if (InIcon(pt)) {
    m_nIconState = 2;
    HideEdit();
    code = NOTIFY_PARTCLICKED;
  } else {
    m_nState = kFocused;
    ShowEdit();
    code = NOTIFY_PRESSED;
  }
  const bool changed = m_nState != oldState || m_nIconState != oldIcon;
  if (changed) Repaint(0);
  SendMessageW(code, 0, 0);
  return changed ? 1 : 0;
}

int MEdit::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  const int oldState = m_nState, oldIcon = m_nIconState;
  bool iconReleased = false;
  if (m_rect.PtInRect(pt)) {
    if (InIcon(pt)) {
      m_nIconState = 1;
      HideEdit();
      iconReleased = true;
    } else {
      m_nIconState = 0;
    }
    m_nState = kHover;
  } else {
    m_nState = kNormal;
    m_nIconState = 0;
  }
  if (m_nState == oldState && m_nIconState == oldIcon) {
    if (iconReleased) SendMessageW(NOTIFY_ICONCLICKED, 0, 0);
    return 0;
  }
  Repaint(0);
  if (iconReleased) SendMessageW(NOTIFY_ICONCLICKED, 0, 0);
  if (oldState == kFocused) SendMessageW(NOTIFY_CLICKED, 0, 0);
  return 1;
}

int MEdit::OnControlKeyDown(UINT key, UINT count, UINT modifiers) {
  if (m_bFocused && key == VK_SPACE && modifiers == 0) {
    SendMessageW(NOTIFY_PRESSED, 0, 0);
    SendMessageW(NOTIFY_CLICKED, 0, 0);
    return 1;
  }
  return MControlFont::OnControlKeyDown(key, count, modifiers);
}

}  // namespace TESK
