#include "ui/keyboard/KeySwitchCtrl.h"

#include <iterator>

#include "ui/controls/SurfaceCell.h"
#include "ui/core/MObject.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace {

constexpr Gdiplus::ARGB kNameColour = 0xFFFFFFFF;
constexpr float kRadius = 4.0f;
constexpr int kButtonWidth = 170;
constexpr int kButtonHeight = 30;
constexpr int kHitLeft = 20;
constexpr int kHitHeight = 45;

struct SwitchButton {
  int left;
  Gdiplus::ARGB colour;
};
constexpr SwitchButton kButtons[] = {{20, 0xFF98E5E3}, {260, 0xFF30E27C}};

}  // namespace

KeySwitchCtrl::KeySwitchCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1), m_switchType(0), m_devType(0) {
  // The wheel's settling runs on the window's ticks once the program registers the picker.
  m_bRunTimer = 1;
}

KeySwitchCtrl::~KeySwitchCtrl() = default;

void KeySwitchCtrl::SetKeyStrokeInfo(int switchType, int) {
  m_switchType = switchType;
  RepaintIfVisible();
}

void KeySwitchCtrl::SetSwitchName(CString first, CString second, CString third, CString fourth) {
  m_names[0] = first;
  m_names[1] = second;
  m_names[2] = third;
  m_names[3] = fourth;
}

// ---- Input ----

int KeySwitchCtrl::ButtonAt(CPoint pt) const {
  pt.Offset(-m_rect.left, -m_rect.top);
  for (int row = 0; row < kNames; ++row) {
    if (m_rows[row].PtInRect(pt)) return row;
  }
  return -1;
}

int KeySwitchCtrl::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled || !m_rect.PtInRect(pt) || !m_hitArea.PtInRect(pt)) return 0;
  const int row = ButtonAt(pt);
  if (row >= 0) SendMessageW(NOTIFY_PARTCLICKED, 0, row);
  return 1;
}

int KeySwitchCtrl::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  if (!m_hitArea.PtInRect(pt)) {
    SendMessageW(NOTIFY_CLICKED, 0, 0);
    return 1;
  }
  const int row = ButtonAt(pt);
  if (row >= 0) SendMessageW(NOTIFY_PARTCLICKED, 0, row);
  return 1;
}

int KeySwitchCtrl::OnControlScroll(int, UINT, CPoint) {
  m_settle.Notch();
  return 1;
}

int KeySwitchCtrl::OnControlTimer() {
  if (!m_bVisible) return 0;
  return m_settle.Tick(*this) ? 1 : 0;
}

// ---- Drawing ----

void KeySwitchCtrl::DrawControl(HDC& dc, CRect) {
  DrawSurfaceCell(*this, dc, m_hCacheDC, [this](Gdiplus::Graphics& g, int, int) { RenderButtons(g); });
}

void KeySwitchCtrl::RenderButtons(Gdiplus::Graphics& g) {
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
  // The right edge is the control's right edge in window coordinates, taken as a control x.
  m_hitArea = CRect(kHitLeft, 0, m_rect.right, kHitHeight);
  m_hitArea.OffsetRect(m_rect.left, m_rect.top);

  FallbackFontFamily fallback;
  const Gdiplus::Font font(fallback.Or(GetFontFamily(m_strFontName)), static_cast<Gdiplus::REAL>(m_nFontWidth),
                           Gdiplus::FontStyleBold, Gdiplus::UnitPixel);
  Gdiplus::StringFormat centred;
  SetFormatAlignment(centred, DT_CENTER, DT_VCENTER);
  const Gdiplus::SolidBrush white{Gdiplus::Color(kNameColour)};
  for (int row = 0; row < static_cast<int>(std::size(kButtons)); ++row) {
    const SwitchButton& b = kButtons[row];
    const Gdiplus::RectF box(static_cast<float>(b.left), 0.0f, static_cast<float>(kButtonWidth),
                             static_cast<float>(kButtonHeight));
    MRender::DrawRoundRectange(g, box.X, box.Y, box.Width, box.Height, kRadius, Gdiplus::Color(b.colour));
    g.DrawString(m_names[row], m_names[row].GetLength(), &font, box, &centred, &white);
    m_rows[row] = CRect(b.left, 0, b.left + kButtonWidth, kButtonHeight);
  }
}

}  // namespace TESK
