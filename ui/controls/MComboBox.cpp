#include "ui/controls/MComboBox.h"

#include <cwchar>

#include "ui/controls/CEditWnd2.h"
#include "ui/core/MRender.h"
#include "ui/core/PaintManager.h"

namespace TESK {

namespace {

constexpr int kListExtra = 12;
constexpr int kTextInsetRight = 26;
// The face strip's fixed nine-slice borders: left, top, right (the arrow), bottom.
constexpr int kFaceBorders[4] = {6, 6, 32, 6};

// The text area in the coordinates of the edit window's parent: the screen for a layered
// window, whose edit is a popup of its own.
CRect EditPlace(PaintManager* manager, CRect rect) {
  if (manager && manager->IsLayered()) {
    POINT origin = {0, 0};
    ::ClientToScreen(manager->GetPaintWnd(), &origin);
    rect.OffsetRect(origin.x, origin.y);
  }
  return rect;
}

}  // namespace

MComboBox::MComboBox(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : ComboBoxBase(owner, id, rect, visible, enabled, kListExtra, kTextInsetRight),
      m_closeTime(0),
      m_bShowEdit(0),
      m_pEdit(nullptr),
      m_editBackColour(0xFBFBFB) {
  m_bDblClk = 1;  // a double click on the text opens the in-place edit
}

MComboBox::~MComboBox() {
  // The edit window's end deletes its object; it is told first that the combo is going.
  if (CEditWnd2* edit = m_pEdit) {
    edit->DetachCombo();
    m_pEdit = nullptr;
    if (!edit->DestroyWindow()) delete edit;
  }
}

LRESULT MComboBox::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  if (code == kDropDownClosedCode) {
    m_closeTime = ::GetTickCount();
  } else if (code == NOTIFY_CLICKED && id == kOwnReleaseId && wParam == 0 && lParam == 0 &&
             ::GetTickCount() - m_closeTime < kReopenDelayMs) {
    // The press that closed the drop-down was this release's own: it must not reopen it.
    DisposeDropDown(true);
    return 0;
  }
  return ComboBoxBase::OnMessage(id, code, wParam, lParam);
}

int MComboBox::OnControlLButtonDown(UINT keys, CPoint pt) {
  if (m_bEnabled && m_rect.PtInRect(pt)) HideEdit();
  return ComboBoxBase::OnControlLButtonDown(keys, pt);
}

int MComboBox::OnControlLButtonDblClk(UINT, CPoint pt) {
  if (m_bEnabled && CalcTextRect(1).PtInRect(pt)) ShowEdit();
  return 0;
}

int MComboBox::SetControlFocus(int focus) {
  if (!m_bEnabled) return 0;
  if (!focus) HideEdit();
  return 1;
}

void MComboBox::DrawControl(HDC& dc, CRect) {
  const auto drawFrame = [this](Gdiplus::Graphics& g, const CRect& cell, int index) {
    if (!m_pImage || m_nFrameWidth <= 0) return;
    MRender::DrawImageFrameMID(g, m_pImage, cell, m_nFrameWidth * index, 0, m_nFrameWidth, m_nFrameHeight,
                               kFaceBorders[0], kFaceBorders[1], kFaceBorders[2], kFaceBorders[3]);
  };
  DrawFace(dc, drawFrame, 0, m_rect.Width(), 0);
}

// ---- Text area and fonts ----

CRect MComboBox::CalcTextRect(int recompute) {
  if (m_rcText.IsRectEmpty() || recompute) {
    const int size = m_nFontWidth;
    const int lineHeight = size == 10 ? 14 : size == 12 ? 18 : size;
    const int top = m_rect.top + (m_rect.Height() - lineHeight) / 2;
    m_rcText = CRect(m_rect.left + 1, top, m_rect.right - 36, top + lineHeight);
  }
  return m_rcText;
}

COLORREF MComboBox::GetEditTextColor() const {
  const Gdiplus::Color colour(m_textColor);
  return RGB(colour.GetR(), colour.GetG(), colour.GetB());
}

HFONT MComboBox::GetDefaultFont() {
  if (m_editFont) return m_editFont.get();
  LOGFONTW font = {};
  ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
  // The face name keeps room for its terminator.
  std::wcsncpy(font.lfFaceName, m_strFontName.GetString(), LF_FACESIZE - 1);
  font.lfFaceName[LF_FACESIZE - 1] = L'\0';
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfHeight = -m_nFontWidth;
  if (m_nFontStyle & Gdiplus::FontStyleBold) font.lfWeight += FW_BOLD;
  if (m_nFontStyle & Gdiplus::FontStyleItalic) font.lfItalic = TRUE;
  if (m_nFontStyle & Gdiplus::FontStyleUnderline) font.lfUnderline = TRUE;
  m_editFont.reset(::CreateFontIndirectW(&font));
  return m_editFont.get();
}

// ---- In-place edit ----

void MComboBox::ShowEdit() {
  if (!m_bShowEdit || !m_bEnabled) return;
  if (!m_pEdit) {
    auto* edit = new CEditWnd2();
    if (!edit->ShowEdit(this)) {
      delete edit;  // no window was made, so no window's end deletes it
      return;
    }
    m_pEdit = edit;
  }
  const CRect place = EditPlace(m_pManager, CalcTextRect(1));
  m_pEdit->MoveWindow(&place, 1);
  const CString title = GetTitleLocked();
  m_pEdit->SetWindowTextW(title);
  m_pEdit->ShowWindow(SW_SHOW);
  m_pEdit->SendMessageW(EM_SETSEL, title.GetLength(), -1);
  m_pEdit->SetFocus();
  m_bFocused = 1;
  SendMessageW(NOTIFY_EDITBEGIN, 0, 0);
}

void MComboBox::HideEdit() {
  if (!m_bShowEdit || !m_bEnabled) return;
  m_bFocused = 0;
  if (!m_pEdit || !m_pEdit->IsWindowVisible()) return;
  CString text;
  m_pEdit->GetWindowTextW(text);
  if (text != GetTitleLocked()) {
    SetTitleLocked(text);
    Repaint(1);
  }
  m_pEdit->ShowWindow(SW_HIDE);
  SendMessageW(NOTIFY_EDITEND, 0, 0);
}

CString MComboBox::GetEditText() {
  if (m_pEdit && m_pEdit->IsWindowVisible()) {
    CString text;
    m_pEdit->GetWindowTextW(text);
    return text;
  }
  return GetTitleLocked();
}

void MComboBox::SetEditText(const wchar_t* text) {
  if (!text) return;
  if (GetTitleLocked() != text) SetTitleLocked(text);
}

void MComboBox::OnEditTextChange(const CString& text) {
  if (text == GetTitleLocked()) return;
  SetEditText(text);
  Repaint(1);
  SendMessageW(NOTIFY_TEXTCHANGED, 0, 0);
}

}  // namespace TESK
