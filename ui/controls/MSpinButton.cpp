#include "ui/controls/MSpinButton.h"

#include <climits>
#include <cstdio>
#include <cwchar>

#include "ui/controls/PictureShow.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace {

constexpr UINT kUpId = 30;
constexpr UINT kDownId = 31;
constexpr int kCells = 4;
constexpr int kFaceBorder = 6;
constexpr int kButtonInset = 4;
constexpr Gdiplus::ARGB kFocusBar = 0xFE3399FF;
constexpr Gdiplus::ARGB kDisabledText = 0xFF808080;
constexpr INT kTextFormat = Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces;

// Decimal text to int, saturating: a number past int's range counts as its nearest end.
int ParseSaturated(const wchar_t* text) {
  const bool negative = *text == L'-';
  if (negative) ++text;
  long long value = 0;
  for (; *text >= L'0' && *text <= L'9'; ++text) {
    value = value * 10 + (*text - L'0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

MControlFont* AsFont(MControl* control) { return dynamic_cast<MControlFont*>(control); }

}  // namespace

MSpinButton::MSpinButton(MObject* owner, UINT id, CRect rect, int visible, int)
    : MPanel(owner, id, rect, visible),
      m_nState(0),
      m_nCurValue(0),
      m_nMinValue(1),
      m_nMaxValue(100),
      m_nLimitLength(3),
      m_pUpButton(nullptr),
      m_pDownButton(nullptr) {
  m_textColor = 0xFE050505;
}

void MSpinButton::InitControl(PaintManager* manager) {
  MPanel::InitControl(manager);
  m_pUpButton = AsFont(CreateControl(L"CImageButton", kUpId, CRect(), L"", 1, 1));
  if (m_pUpButton) m_pUpButton->SetImage(L"img_spin_up.png", 4);
  m_pDownButton = AsFont(CreateControl(L"CImageButton", kDownId, CRect(), L"", 1, 1));
  if (m_pDownButton) m_pDownButton->SetImage(L"img_spin_down.png", 4);
  SetControlRect(m_rect);
}

void MSpinButton::SetControlRect(CRect rect) {
  MPanel::SetControlRect(rect);
  const int mid = rect.top + (rect.bottom - rect.top) / 2;
  if (m_pUpButton) {
    const CSize size = m_pUpButton->GetImageSize();
    m_pUpButton->SetRect(CRect(rect.right - size.cx - kButtonInset, mid - size.cy, rect.right - kButtonInset, mid));
  }
  if (m_pDownButton) {
    const CSize size = m_pDownButton->GetImageSize();
    m_pDownButton->SetRect(CRect(rect.right - size.cx - kButtonInset, mid, rect.right - kButtonInset, mid + size.cy));
  }
}

void MSpinButton::SetCurValue(int value) {
  if (value == m_nCurValue) return;
  m_nCurValue = value;
  UpdateControl(1, 0);
}

void MSpinButton::TakeValue(int value) {
  const bool changed = value != m_nCurValue;
  m_nCurValue = value;
  if (changed) UpdateControl(1, 0);
  SendMessageW(NOTIFY_VALUECHANGED, 0, 0);
}

void MSpinButton::StepUp() {
  const int v = m_nCurValue == INT_MAX ? m_nMinValue : m_nCurValue + 1;
  TakeValue(v > m_nMaxValue ? m_nMinValue : v);
}

void MSpinButton::StepDown() {
  const int v = m_nCurValue == INT_MIN ? m_nMaxValue : m_nCurValue - 1;
  TakeValue(v < m_nMinValue ? m_nMaxValue : v);
}

void MSpinButton::CalcValue(int digit) {
  wchar_t text[32];
  swprintf(text, 32, L"%d%d", m_nCurValue, digit);
  int value = static_cast<int>(wcslen(text)) > m_nLimitLength ? digit : ParseSaturated(text);
  if (value > m_nMaxValue) {
    value = m_nMinValue;
  } else if (value < m_nMinValue) {
    value = m_nMaxValue;
  }
  TakeValue(value);
}

// Negative values and single digits clear to 0; longer values lose their last digit.
void MSpinButton::Backspace() {
  int value = 0;
  if (m_nCurValue > 9) {
    wchar_t text[32];
    swprintf(text, 32, L"%d", m_nCurValue);
    text[wcslen(text) - 1] = L'\0';
    value = ParseSaturated(text);
  }
  if (value != m_nCurValue) TakeValue(value);
}

LRESULT MSpinButton::OnMessage(UINT id, UINT code, WPARAM, LPARAM) {
  if (code != NOTIFY_CLICKED) return 0;
  if (id == kUpId) {
    StepUp();
    return 1;
  }
  if (id == kDownId) {
    StepDown();
    return 1;
  }
  return 0;
}

int MSpinButton::OnControlKeyDown(UINT key, UINT, UINT) {
  if (!IsFocused()) return 0;
  if (key >= '0' && key <= '9') {
    CalcValue(static_cast<int>(key - '0'));
  } else if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) {
    CalcValue(static_cast<int>(key - VK_NUMPAD0));
  } else if (key == VK_UP || key == VK_ADD) {
    StepUp();
  } else if (key == VK_DOWN || key == VK_SUBTRACT) {
    StepDown();
  } else if (key == VK_BACK) {
    Backspace();
  } else if (key != VK_LEFT && key != VK_RIGHT) {
    return 0;
  }
  return 1;
}

int MSpinButton::SetControlFocus(int focus) {
  if (!m_bEnabled) return 0;
  if (focus == m_bFocused) return 1;
  m_bFocused = focus;
  UpdateControl(1, 0);
  return 1;
}

void MSpinButton::SetControlEnabled(int enabled) {
  if (m_pUpButton) m_pUpButton->SetEnabled(enabled);
  if (m_pDownButton) m_pDownButton->SetEnabled(enabled);
  if (enabled == m_bEnabled) return;
  m_bEnabled = enabled;
  m_nState = enabled ? 0 : 3;
  UpdateControl(0, 0);
}

int MSpinButton::SetState(int state) {
  if (state == m_nState) return 0;
  m_nState = state;
  UpdateControl(0, 0);
  return 1;
}

int MSpinButton::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled || m_nState == 2) return 0;
  return SetState(m_rect.PtInRect(pt) ? 1 : 0);
}

int MSpinButton::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled || !m_rect.PtInRect(pt)) return 0;
  return SetState(2);
}

int MSpinButton::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  return SetState(m_rect.PtInRect(pt) ? 1 : 0);
}

// Four cells (normal, hover, pressed, disabled) side by side, each the face's frame with the
// value; the focus shows as a bar behind the text.
void MSpinButton::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_bCacheValid) {
    UpdateMemDC(dc, kCells * w, h);
    if (!m_hCacheDC) return;
    wchar_t text[16];
    swprintf(text, 16, L"%d", m_nCurValue);
    m_strTitle = text;
    Gdiplus::Graphics g(m_hCacheDC);
    for (int i = 0; i < kCells; ++i) {
      const int x = i * w;
      ::BitBlt(m_hCacheDC, x, 0, w, h, dc, m_rect.left, m_rect.top, SRCCOPY);
      if (m_pImage) {
        MRender::DrawImageFrame(g, m_pImage, CRect(x, 0, x + w, h), m_nFrameWidth * i, 0, m_nFrameWidth,
                                m_nFrameHeight, kFaceBorder);
      }
      if (m_bFocused) {
        Gdiplus::SolidBrush bar{Gdiplus::Color(kFocusBar)};
        g.FillRectangle(&bar, x + 5, h / 2 - 7, w - 28, 14);
      }
      const Gdiplus::RectF box(static_cast<float>(x + 4), 0.0f, static_cast<float>(w - 18), static_cast<float>(h));
      DrawTitleText(g, text, box, kTextFormat, m_textRenderingHint, DT_LEFT, DT_VCENTER,
                    i < kCells - 1 ? m_textColor : kDisabledText);
    }
  }
  ::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_hCacheDC, m_nState * w, 0, SRCCOPY);
}

}  // namespace TESK
