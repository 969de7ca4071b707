#include "ui/keyboard/DPIControl.h"

#include <algorithm>

#include "ui/controls/ButtonGroup.h"
#include "ui/controls/CCheckButton.h"
#include "ui/controls/CColorButton.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace {

constexpr wchar_t kCheckStrip[] = L"btn_checkbox.png";
constexpr int kCheckFrames = 8;
constexpr int kColorFrames = 4;
// The two children's places, from the tile's edges.
constexpr int kCheckTop = 30;
constexpr int kCheckWidth = 24;
constexpr int kColorTop = 35;
constexpr int kColorWidth = 20;
constexpr int kColorBottom = 5;
// The level's picture, nine-slice, and the texts over it (cell coordinates).
constexpr int kPictureSide = 22;
constexpr int kPictureTop = 35;
constexpr int kPictureBottom = 5;
constexpr int kPictureBorder = 4;
constexpr int kTitleTop = 10;
constexpr int kTextHeight = 20;
constexpr int kSmallerFont = 2;
constexpr Gdiplus::ARGB kCheckedValue = 0xFECA5180;
constexpr int kCells = 2;

}  // namespace

DPIControl::DPIControl(MObject* owner, UINT id, CRect rect, int visible)
    : MPanel(owner, id, rect, visible),
      m_pCheckButton(nullptr),
      m_pColorButton(nullptr),
      m_nCheck(0),
      m_nDPIValue(500),
      m_color(255),
      m_strGroupName(L"DPIControl") {}

// The children go with the panel's lists.
DPIControl::~DPIControl() = default;

const wchar_t* DPIControl::GetClassNameW() const { return L"DPIControl"; }

void DPIControl::InitControl(PaintManager* manager) {
  MPanel::InitControl(manager);
  // A second engine reaches the children through the panel; they are made once.
  if (m_pCheckButton || m_pColorButton) return;
  m_pCheckButton = dynamic_cast<CCheckButton*>(CreateControl(L"CCheckButton", kCheckButtonId, CRect(), L"", 1, 1));
  if (m_pCheckButton) {
    m_pCheckButton->SetImage(kCheckStrip, kCheckFrames);
    m_pCheckButton->SetCheck(1);
  }
  m_pColorButton = dynamic_cast<CColorButton*>(CreateControl(L"CColorButton", kColorButtonId, CRect(), L"", 1, 1));
  if (m_pColorButton) {
    m_pColorButton->SetImage(kCheckStrip, kColorFrames);
    m_pColorButton->SetCheck(1);
  }
  SetControlRect(m_rect);
}

void DPIControl::SetControlRect(CRect rect) {
  if (m_pCheckButton) {
    m_pCheckButton->SetRect(CRect(rect.left, rect.top + kCheckTop, rect.left + kCheckWidth, rect.bottom));
  }
  if (m_pColorButton) {
    m_pColorButton->SetRect(
        CRect(rect.right - kColorWidth, rect.top + kColorTop, rect.right, rect.bottom - kColorBottom));
  }
  MPanel::SetControlRect(rect);
}

// ---- Values ----

void DPIControl::SetColor(COLORREF colour) {
  m_color = colour;
  if (m_pColorButton) m_pColorButton->SetColor(colour);
}

void DPIControl::SetDPIValue(int value) {
  if (value == m_nDPIValue) return;
  m_nDPIValue = value;
  UpdateControl(1, 0);
}

int DPIControl::SetCheck(int check) {
  if (check != m_nCheck) {
    m_nCheck = check;
    UpdateControl(0, 0);
  }
  return 1;
}

int DPIControl::ResetGroupCheck() { return ButtonGroup::Reset(*this, false); }

void DPIControl::ClearByGroup() {
  if (m_nCheck != 1) return;
  m_nCheck = 0;
  UpdateControl(0, 0);
}

// ---- Input ----

int DPIControl::OnControlMouseMove(UINT, CPoint) { return 0; }

int DPIControl::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled || !m_rect.PtInRect(pt)) return 0;
  m_nCheck = 1;
  ResetGroupCheck();
  UpdateControl(0, 0);
  return 1;
}

int DPIControl::OnControlLButtonUp(UINT, CPoint) { return 0; }

LRESULT DPIControl::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  if (id == kCheckButtonId) {
    SendMessageW(code, 0, 1);
  } else if (id == kColorButtonId) {
    SendMessageW(code, 0, 2);
  }
  return MPanel::OnMessage(id, code, wParam, lParam);
}

// ---- Drawing ----

void DPIControl::DrawControl(HDC& dc, CRect) {
  if (!GetUpdate()) {
    if (!PrepareCells(dc, kCells)) return;
    Gdiplus::Graphics g(m_hCacheDC);
    g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    for (int cell = 0; cell < kCells; ++cell) RenderCell(g, cell);
  }
  ShowCell(dc, std::max(0, std::min(kCells - 1, m_nCheck)));
}

void DPIControl::RenderCell(Gdiplus::Graphics& g, int cell) {
  const int width = m_rect.Width();
  const int height = m_rect.Height();
  const int x = cell * width;
  if (m_pImage && m_nFrameWidth > 0) {
    MRender::DrawImageFrame(g, m_pImage,
                            CRect(x + kPictureSide, kPictureTop, x + width - kPictureSide, height - kPictureBottom),
                            cell * m_nFrameWidth, 0, m_nFrameWidth, m_nFrameHeight, kPictureBorder);
  }
  if (m_strTitle.IsEmpty()) return;
  FallbackFontFamily fallback;
  const Gdiplus::Font font(fallback.Or(GetFontFamily(m_strFontName)),
                           static_cast<Gdiplus::REAL>(m_nFontWidth - kSmallerFont), m_nFontStyle, Gdiplus::UnitPixel);
  Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
  SetFormatAlignment(format, DT_CENTER, DT_VCENTER);
  const Gdiplus::SolidBrush ink{Gdiplus::Color(m_textColor)};
  const Gdiplus::SolidBrush checkedInk{Gdiplus::Color(kCheckedValue)};
  g.DrawString(m_strTitle, m_strTitle.GetLength(), &font,
               Gdiplus::RectF(static_cast<float>(x), static_cast<float>(kTitleTop), static_cast<float>(width),
                              static_cast<float>(kTextHeight)),
               &format, &ink);
  CString value;
  value.Format(L"%d", m_nDPIValue);
  g.DrawString(value, value.GetLength(), &font,
               Gdiplus::RectF(static_cast<float>(x + kPictureSide), static_cast<float>(kPictureTop),
                              static_cast<float>(width - 2 * kPictureSide), static_cast<float>(kTextHeight)),
               &format, cell == 1 ? &checkedInk : &ink);
}

}  // namespace TESK
