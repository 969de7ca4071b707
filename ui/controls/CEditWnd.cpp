#include "ui/controls/CEditWnd.h"

#include "ui/controls/MEdit.h"

namespace TESK {

CEditWnd::CEditWnd() : m_pOwner(nullptr), m_bShown(0) {}

CEditWnd::~CEditWnd() {}

const wchar_t* CEditWnd::GetWindowClassName() const { return kEditWindowClass; }

const wchar_t* CEditWnd::GetSuperClassName() const { return kEditSuperClass; }

void CEditWnd::ShowEdit(MEdit* field) {
  m_pOwner = field;
  if (!field) return;
  CRect rect = field->GetTextRect();
  if (rect.IsRectEmpty()) {
    const CRect r = field->GetRect();
    const int size = field->GetFontWidth();
    rect = CRect(r.left + 6, r.top, r.right - 6, r.bottom);
    if (field->IsMultLineMode()) {
      rect.DeflateRect(0, 6);
    } else {
      rect.top = r.top + (r.Height() - size - 2) / 2 + 1;
      rect.bottom = rect.top + size + 2;
    }
  }
  DWORD style = field->IsMultLineMode() ? (ES_MULTILINE | ES_AUTOVSCROLL) : ES_AUTOHSCROLL;
  UINT horizontal = 0, vertical = 0;
  field->GetAlignment(horizontal, vertical);
  if (horizontal & 1) {
    style |= ES_CENTER;
  } else if (horizontal & 2) {
    style |= ES_RIGHT;
  }
  const CString title = field->GetTitleEx();
  const NativeEditSetup setup = {field->GetDefaultFont(), field->GetLimitText(),   field->IsPassWordMode(),
                                 field->GetPassWordChar(), title,                  field->IsEnabled(),
                                 field->IsReadOnly(),      field->IsNumberOnly()};
  if (CreateNativeEdit(*this, field->GetManager(), rect, style, setup)) m_bShown = 1;
}

void CEditWnd::OnTextChange() {
  if (!m_bShown || !m_pOwner) return;
  CString text;
  GetWindowTextW(text);
  if (text == m_pOwner->GetTitleEx()) return;
  MEdit* field = m_pOwner;
  field->SetEditText(text);
  field->UpdateControl(1, 0);
  field->SendMessageW(NOTIFY_TEXTCHANGED, 0, 0);
}

// Reports go out last in each case: their receiver may end the field, and with it this window.
LRESULT CEditWnd::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KILLFOCUS: {
      MEdit* field = m_pOwner;
      DefWindowProcW(m_hWnd, message, wParam, lParam);
      const LRESULT result = MWindow::OnWindowMessage(message, wParam, lParam);
      if (field) field->SendMessageW(NOTIFY_EDITEND, 0, 0);
      return result;
    }
    case WM_CHAR:
      if (m_pOwner && !m_pOwner->GetCharMessage()) return 1;
      break;
    case kReflectedCommand: {
      LRESULT result;
      if (PassReflectedCommand(*this, wParam, lParam, result)) OnTextChange();
      return result;
    }
    case kReflectedColorEdit:
    case kReflectedColorStatic:
      if (!m_pOwner) return 0;
      return m_brush.Answer(reinterpret_cast<HDC>(wParam), m_pOwner->GetEditBKColor(), m_pOwner->GetEditTextColor());
    case WM_PRINT:
      if (m_pOwner && IsLayeredEngine(m_pOwner->GetManager())) return 0;
      break;
    default:
      break;
  }
  return MWindow::OnWindowMessage(message, wParam, lParam);
}

void CEditWnd::OnDestroyMessage(HWND) {
  if (MEdit* field = m_pOwner) {
    field->UpdateControl(1, 0);
    field->SetEditWindow(nullptr);
  }
  m_brush.Reset();
  delete this;
}

}  // namespace TESK
