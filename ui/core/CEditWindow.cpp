#include "ui/core/CEditWindow.h"

#include "ui/core/MControlFont.h"

#include <cwchar>

namespace TESK {

CEditWindow::CEditWindow()
    : m_pOwner(nullptr),
      m_bActive(0),
      m_bBlink(0),
      m_bPassword(0),
      m_bReadOnly(0),
      m_bNumberOnly(0),
      m_nTextLimit(120),
      m_passwordChar(0xA1F1),
      m_backColor(0x897368),
      m_textColor(0x000AFB),
      m_ppOwnerPointer(nullptr) {}

CEditWindow::~CEditWindow() {}

const wchar_t* CEditWindow::GetWindowClassName() const { return kEditWindowClass; }

const wchar_t* CEditWindow::GetSuperClassName() const { return kEditSuperClass; }

void CEditWindow::ShowEdit(MControlFont* owner, CRect text) {
  m_pOwner = owner;
  if (!owner) return;
  if (text.IsRectEmpty()) {
    const CRect r = owner->GetRect();
    const int size = owner->GetFontWidth();
    text.left = r.left + 6;
    text.right = r.right - 6;
    text.top = r.top + (r.Height() - size - 2) / 2;
    text.bottom = text.top + size + 2;
  }
  UINT horizontal = 0, vertical = 0;
  owner->GetAlignment(horizontal, vertical);
  DWORD style = ES_AUTOHSCROLL;
  if (horizontal & 1) {
    style |= ES_CENTER;
  } else if (horizontal & 2) {
    style |= ES_RIGHT;
  }
  const CString title = owner->GetTitle();
  const NativeEditSetup setup = {GetEditFont(),  m_nTextLimit,          m_bPassword,   static_cast<wchar_t>(m_passwordChar),
                                 title,          owner->IsEnabled(),    m_bReadOnly,   m_bNumberOnly};
  if (!CreateNativeEdit(*this, owner->GetManager(), text, style, setup)) return;
  m_bActive = 1;
}

int CEditWindow::SetColor(COLORREF background, COLORREF text) {
  m_backColor = background;
  m_textColor = text;
  return 1;
}

void CEditWindow::ReleaseOwner() {
  m_pOwner = nullptr;
  m_ppOwnerPointer = nullptr;
}

HFONT CEditWindow::GetEditFont() {
  if (!m_font && m_pOwner) {
    m_font.reset(CreateStyledFont(m_pOwner->GetTextFont(), m_pOwner->GetFontWidth() + 6, m_pOwner->GetFontStyle()));
  }
  return m_font.get();
}

int CEditWindow::OnTextChange() {
  if (!m_bActive || !m_pOwner) return 0;
  CString text;
  GetWindowTextW(text);
  if (text == m_pOwner->GetTitle()) return 1;
  // SetTitle asks the owner's parent to redraw the owner; the report comes last, so an
  // owner's parent that reacts by deleting the owner leaves nothing to run on it.
  MControlFont* owner = m_pOwner;
  owner->SetTitle(text);
  if (MObject* parent = owner->GetParantObject()) {
    parent->OnBaseMessage(owner->GetControlID(), NOTIFY_TEXTCHANGED, 0, 0);
  }
  return 1;
}

LRESULT CEditWindow::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KILLFOCUS:
      DefWindowProcW(m_hWnd, message, wParam, lParam);
      break;
    case kReflectedCommand: {
      LRESULT result;
      if (PassReflectedCommand(*this, wParam, lParam, result)) OnTextChange();
      return result;
    }
    case kReflectedColorEdit:
    case kReflectedColorStatic:
      return m_brush.Answer(reinterpret_cast<HDC>(wParam), m_backColor, m_textColor);
    case WM_PRINT:
      if (m_pOwner && IsLayeredEngine(m_pOwner->GetManager())) return 0;
      break;
    case WM_TIMER:
      if (wParam == kBlinkTimer) {
        m_bBlink = !m_bBlink;
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        return 0;
      }
      break;
    default:
      break;
  }
  return MWindow::OnWindowMessage(message, wParam, lParam);
}

bool CEditWindow::OpenInPlace(CEditWindow*& slot, MControlFont* owner, CRect area, const wchar_t* text,
                              const InPlace& look) {
  if (slot) {
    PlaceEditWindow(owner->GetManager(), area);
    slot->MoveWindow(&area, TRUE);
  } else {
    auto* edit = new CEditWindow();
    edit->SetColor(look.background, RGB((look.text >> 16) & 0xFF, (look.text >> 8) & 0xFF, look.text & 0xFF));
    edit->SetNumberOnly(look.numberOnly);
    if (look.limit > 0) edit->SetLimitText(look.limit);
    edit->ShowEdit(owner, area);
    if (!edit->GetSafeHwnd()) {
      // No window was made, so no window's end will delete the object.
      delete edit;
      return false;
    }
    edit->SetOwnerPointer(&slot);
    slot = edit;
  }
  const int length = static_cast<int>(wcslen(text));
  slot->SetWindowTextW(text);
  slot->ShowWindow(SW_SHOW);
  slot->SendMessageW(EM_SETSEL, static_cast<WPARAM>(length), -1);
  slot->SetFocus();
  return true;
}

void CEditWindow::CloseInPlace(CEditWindow*& slot) {
  CEditWindow* edit = slot;
  if (!edit) return;
  // The window's end deletes the edit object; it must not call back into the owner.
  edit->ReleaseOwner();
  slot = nullptr;
  edit->DestroyWindow();
}

void CEditWindow::OnDestroyMessage(HWND) {
  if (m_pOwner && m_pOwner->IsVisible()) {
    if (MObject* parent = m_pOwner->GetParantObject()) parent->OnControlUpdate(m_pOwner->GetRect(), 1, m_pOwner);
  }
  m_brush.Reset();
  if (m_ppOwnerPointer) *m_ppOwnerPointer = nullptr;
  delete this;
}

}  // namespace TESK
