#include "ui/controls/CEditWnd2.h"

#include "ui/controls/MComboBox.h"
#include "ui/core/PaintManager.h"

namespace TESK {

namespace {

// The engine reflects its window's WM_COMMAND and colour messages to the child that sent them.
constexpr UINT kReflected = 0x2000;
constexpr COLORREF kSystemColours = 0xFFFFFFFF;

}  // namespace

CEditWnd2::CEditWnd2() : m_pCombo(nullptr), m_bShown(0) {}

CEditWnd2::~CEditWnd2() = default;

const wchar_t* CEditWnd2::GetWindowClassName() const { return L"CEditWnd2"; }

const wchar_t* CEditWnd2::GetSuperClassName() const { return L"Edit"; }

bool CEditWnd2::ShowEdit(MComboBox* combo) {
  if (!combo) return false;
  m_pCombo = combo;
  PaintManager* manager = combo->GetManager();
  HWND parent = manager ? manager->GetPaintWnd() : nullptr;
  CRect rect = combo->CalcTextRect(1);
  if (rect.IsRectEmpty()) {
    const CRect control = combo->GetRect();
    const int size = combo->GetFontWidth();
    rect = CRect(control.left + 6, 0, control.right - 6, 0);
    rect.top = control.top + (control.Height() - size - 2) / 2 + 1;
    rect.bottom = rect.top + size + 2;
  }
  DWORD style = WS_CHILD | ES_AUTOHSCROLL;
  if (manager && manager->IsLayered()) {
    POINT origin = {0, 0};
    ::ClientToScreen(parent, &origin);
    rect.OffsetRect(origin.x, origin.y);
    style = WS_POPUP | WS_VISIBLE | ES_AUTOHSCROLL;
  }
  UINT h, v;
  combo->GetAlignment(h, v);
  if (h & 1) {
    style |= ES_CENTER;
  } else if (h & 2) {
    style |= ES_RIGHT;
  }
  if (!Create(parent, L"", style, 0, rect)) return false;
  SendMessageW(WM_SETFONT, reinterpret_cast<WPARAM>(combo->GetDefaultFont()), 0);
  SendMessageW(EM_LIMITTEXT, kTextLimit, 0);
  SetWindowTextW(combo->GetTitleEx());
  SendMessageW(EM_SETMODIFY, 0, 0);
  SendMessageW(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  EnableWindow(combo->IsEnabled());
  ShowWindow(SW_SHOWNOACTIVATE);
  SetFocus();
  SendMessageW(EM_SETSEL, 0, -1);
  m_bShown = 1;
  return true;
}

void CEditWnd2::OnTextChange() {
  if (!m_bShown || !m_pCombo) return;
  CString text;
  GetWindowTextW(text);
  m_pCombo->OnEditTextChange(text);
}

LRESULT CEditWnd2::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KILLFOCUS:
      ::DefWindowProcW(m_hWnd, message, wParam, lParam);
      break;
    case kReflected + WM_COMMAND:
      if (HIWORD(wParam) == EN_CHANGE) {
        OnTextChange();
      } else if (HIWORD(wParam) == EN_UPDATE) {
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
      }
      break;
    case kReflected + WM_CTLCOLOREDIT:
    case kReflected + WM_CTLCOLORSTATIC: {
      if (!m_pCombo || m_pCombo->GetEditBKColor() == kSystemColours) return 0;
      HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, m_pCombo->GetEditTextColor());
      if (!m_backBrush) m_backBrush.reset(::CreateSolidBrush(m_pCombo->GetEditBKColor()));
      return reinterpret_cast<LRESULT>(m_backBrush.get());
    }
    case WM_PRINT:
      if (m_pCombo && m_pCombo->GetManager() && m_pCombo->GetManager()->IsLayered()) return 0;
      break;
    default:
      break;
  }
  return MWindow::OnWindowMessage(message, wParam, lParam);
}

// The window's end: the combo redraws its title and forgets this object, which goes.
void CEditWnd2::OnDestroyMessage(HWND) {
  if (m_pCombo) {
    m_pCombo->SetEditWindow(nullptr);
    m_pCombo->UpdateControl(1, 0);
  }
  delete this;
}

}  // namespace TESK
