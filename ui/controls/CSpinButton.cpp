#include "ui/controls/CSpinButton.h"

#include <climits>
#include <cwctype>

#include "ui/controls/CTxtWinHost.h"

namespace TESK {

namespace {

constexpr UINT kUpId = 30;
constexpr UINT kDownId = 31;
constexpr int kButtonZone = 15;  // the buttons' strip at the right edge
constexpr int kButtonInset = 4;
constexpr Gdiplus::ARGB kSpinTextColour = 0xFE050505;

// Creates one of the field's buttons with its four-frame strip.
MControl* AddButton(MPanel& field, UINT id, const wchar_t* image) {
  MControl* button = field.CreateControl(L"CImageButton", id, CRect(), L"", 1, 1);
  if (auto* face = dynamic_cast<MControlFont*>(button)) face->SetImage(image, 4);
  return button;
}

// The strip size of a button, (0, 0) for a missing one.
CSize ButtonSize(MControl* button) {
  auto* face = dynamic_cast<MControlFont*>(button);
  return face ? face->GetImageSize() : CSize(0, 0);
}

}  // namespace

int ParseSpinValue(const wchar_t* text) {
  if (!text) return 0;
  while (std::iswspace(*text)) ++text;
  bool negative = false;
  if (*text == L'+' || *text == L'-') negative = *text++ == L'-';
  long long value = 0;
  for (; *text >= L'0' && *text <= L'9'; ++text) {
    value = value * 10 + (*text - L'0');
    // Beyond an int the value saturates; further digits change nothing.
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

CSpinButton::CSpinButton(MObject* owner, UINT id, CRect rect, int visible, int)
    : MRichEdit(owner, id, rect, L"", visible, 1),
      m_nCurValue(0),
      m_nMinValue(0),
      m_nMaxValue(100),
      m_pUpButton(nullptr),
      m_pDownButton(nullptr) {
  m_textColor = kSpinTextColour;
  m_lWinStyle = WS_HSCROLL | ES_NUMBER | ES_AUTOHSCROLL;
}

void CSpinButton::InitControl(PaintManager* manager) {
  MRichEdit::InitControl(manager);
  if (!m_pUpButton) m_pUpButton = AddButton(*this, kUpId, L"img_spin_up.png");
  if (!m_pDownButton) m_pDownButton = AddButton(*this, kDownId, L"img_spin_down.png");
  SetControlRect(m_rect);
}

void CSpinButton::SetControlRect(CRect rect) {
  m_rect = rect;
  if (!m_pHost) return;
  // The scroll bars are not placed: the field is one line of digits.
  m_pHost->SetClientRect(CentreTextArea(rect, kButtonZone));
  const int mid = rect.top + rect.Height() / 2;
  if (m_pUpButton) {
    const CSize size = ButtonSize(m_pUpButton);
    m_pUpButton->SetRect(CRect(rect.right - size.cx - kButtonInset, mid - size.cy - 1, rect.right - kButtonInset,
                               mid - 1));
  }
  if (m_pDownButton) {
    const CSize size = ButtonSize(m_pDownButton);
    m_pDownButton->SetRect(CRect(rect.right - size.cx - kButtonInset, mid + 1, rect.right - kButtonInset,
                                 mid + size.cy + 1));
  }
}

void CSpinButton::DrawControl(HDC& dc, CRect update) {
  DrawStateCells(dc, m_rect.Width() - kButtonZone, TipLayout::None);
  DrawEngineText(dc, update);
}

void CSpinButton::SetControlEnabled(int enabled) {
  m_bEnabled = enabled;
  for (MControl* button : {m_pUpButton, m_pDownButton}) {
    if (!button || button->IsEnabled() == enabled) continue;
    button->SetControlEnabled(enabled);
    if (button->IsVisible()) OnControlUpdate(button->GetRect(), 1, button);
  }
}

void CSpinButton::SetCurValue(int value) {
  if (value == m_nCurValue) return;
  m_nCurValue = value;
  CString text;
  text.Format(L"%d", value);
  m_strTitle = text;
  ClearGDIFont();
  SetControlTitle(text);
  Repaint(1);
}

LRESULT CSpinButton::OnMessage(UINT id, UINT code, WPARAM, LPARAM) {
  if (code != NOTIFY_CLICKED || (id != kUpId && id != kDownId)) return 0;
  // Stepped in 64 bits, so that a range ending at an int's limit wraps instead of overflowing.
  long long next = static_cast<long long>(m_nCurValue) + (id == kUpId ? 1 : -1);
  if (id == kUpId && next > m_nMaxValue) next = m_nMinValue;
  if (id == kDownId && next < m_nMinValue) next = m_nMaxValue;
  SetCurValue(static_cast<int>(next));
  SendMessageW(NOTIFY_VALUECHANGED, 0, 0);
  return 1;
}

void CSpinButton::OnTxNotify(DWORD code, void*) {
  if (code != EN_CHANGE) return;
  const CString text = GetTitle();
  const int typed = ParseSpinValue(text.IsEmpty() ? L"0" : text.GetString());
  int value = typed;
  if (value > m_nMaxValue) value = m_nMaxValue;
  if (value < m_nMinValue) value = m_nMinValue;
  if (value == m_nCurValue && value != typed) {
    // Typed beyond the range while the value sits at its end: the text must show the value.
    CString shown;
    shown.Format(L"%d", value);
    SetControlTitle(shown);
    return;
  }
  SetCurValue(value);
}

}  // namespace TESK
