#include "ui/keyboard/KeyStrokeCtrl.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "ui/core/MObject.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace {

using Gdiplus::RectF;

constexpr Gdiplus::ARGB kAccent = 0xFF169FC1;  // the filled travel and the texts above it
constexpr Gdiplus::ARGB kColumn = 0xFFC6E1E5;
constexpr Gdiplus::ARGB kWhite = 0xFFFFFFFF;
constexpr float kColumnRadius = 6.0f;
constexpr int kColumnLeft = 240;
constexpr int kColumnTop = 50;
constexpr int kColumnWidth = 70;
constexpr double kColumnHeight = 200.0;
const RectF kTitleBox(225.0f, 10.0f, 100.0f, 20.0f);
const RectF kValueBox(225.0f, 30.0f, 100.0f, 20.0f);

// The legend: rows 30 px high at these tops, their plates 130 px wide from x 30, hit from x 0
// to 190; the area holds all four.
struct LegendRow {
  int top;
  Gdiplus::ARGB colour;
  const wchar_t* name;
};
constexpr LegendRow kLegend[KeyStrokeCtrl::kLegendRows] = {
    {80, 0xFF98E5E3, L"云岚轴"},
    {120, 0xFF30E27C, L"佳达隆磁玉轴"},
    {160, 0xFF414642, L"佳达隆磁白轴"},
    {200, 0xFFE78721, L"佳达隆磁橙轴"},
};
constexpr int kRowHeight = 30;
constexpr int kPlateLeft = 30;
constexpr int kPlateWidth = 130;
constexpr int kHitRight = 190;
constexpr float kPlateRadius = 4.0f;
const CRect kLegendArea(0, 80, kHitRight, 240);

// The legend row that marks a switch type.
int MarkedRow(int switchType) {
  switch (switchType) {
    case 2:
      return 1;
    case 1:
      return 2;
    case 0:
      return 3;
    default:
      return 0;
  }
}

CRect Moved(CRect r, const CRect& by) {
  r.OffsetRect(by.left, by.top);
  return r;
}

}  // namespace

KeyStrokeCtrl::KeyStrokeCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : KeyStrokeBase(owner, id, rect, visible, enabled, Axis::Vertical) {}

KeyStrokeCtrl::~KeyStrokeCtrl() = default;

void KeyStrokeCtrl::SetKeyStrokeInfo(int switchType, int travel) { SetTravel(switchType, travel, kColumnHeight); }

void KeyStrokeCtrl::GetDeadzoneValue(int& top, int& bottom) const {
  top = m_topDeadzone;
  bottom = static_cast<int>(std::clamp<long long>(static_cast<long long>(m_limit) - m_upperBound, INT_MIN, INT_MAX));
}

// ---- Input ----

int KeyStrokeCtrl::LegendRowAt(CPoint pt) const {
  for (int row = 0; row < kLegendRows; ++row) {
    if (m_legendRows[row].PtInRect(pt)) return row;
  }
  return -1;
}

int KeyStrokeCtrl::OnControlLButtonDown(UINT keys, CPoint pt) {
  if (!m_bEnabled || !m_rect.PtInRect(pt)) return 0;
  if (!m_legendArea.PtInRect(pt)) return KeyStrokeBase::OnControlLButtonDown(keys, pt);
  const int row = LegendRowAt(pt);
  if (row >= 0) SendMessageW(NOTIFY_PARTCLICKED, 0, row);
  return 1;
}

int KeyStrokeCtrl::OnControlLButtonUp(UINT keys, CPoint pt) {
  if (!m_bEnabled) return 0;
  if (!m_legendArea.PtInRect(pt)) return KeyStrokeBase::OnControlLButtonUp(keys, pt);
  m_dragging = false;
  const int row = LegendRowAt(pt);
  if (row >= 0) SendMessageW(NOTIFY_PARTCLICKED, 0, row);
  return 1;
}

// ---- Drawing ----

void KeyStrokeCtrl::RenderTravel(Gdiplus::Graphics& g, int, int) {
  // The column; its fill starts one step above the actuation point.
  const int columnHeight = SpanPixels();
  const CRect column(kColumnLeft, kColumnTop, kColumnLeft + kColumnWidth, kColumnTop + columnHeight);
  m_pressArea = Moved(column, m_rect);
  MRender::DrawRoundRectange(g, static_cast<float>(column.left), static_cast<float>(column.top),
                             static_cast<float>(kColumnWidth), static_cast<float>(columnHeight), kColumnRadius,
                             Gdiplus::Color(kColumn));
  // In double and bounded: the actuation is taken as the program gives it.
  const double filled =
      std::clamp((static_cast<double>(m_limit) - m_actuation + 1.0) * m_scale, 0.0, kColumnHeight * 4);
  if (filled > 1.0) {
    MRender::DrawRoundRectange(g, static_cast<float>(column.left), static_cast<float>(column.bottom - filled),
                               static_cast<float>(kColumnWidth), static_cast<float>(filled - 1.0), kColumnRadius,
                               Gdiplus::Color(kAccent));
  }

  // The title and the actuation in millimetres above the column.
  FallbackFontFamily fallback;
  const std::unique_ptr<Gdiplus::Font> font = CreateTitleFont(fallback);
  Gdiplus::StringFormat centred;
  SetFormatAlignment(centred, DT_CENTER, DT_VCENTER);
  const Gdiplus::SolidBrush accent{Gdiplus::Color(kAccent)};
  g.DrawString(m_strTitle, m_strTitle.GetLength(), font.get(), kTitleBox, &centred, &accent);
  CString value;
  value.Format(L"%0.1fmm", m_actuation / 50.0);
  g.DrawString(value, value.GetLength(), font.get(), kValueBox, &centred, &accent);

  DrawLegend(g);
}

void KeyStrokeCtrl::DrawLegend(Gdiplus::Graphics& g) {
  FallbackFontFamily fallback;
  const std::unique_ptr<Gdiplus::Font> font = CreateTitleFont(fallback);
  Gdiplus::StringFormat centred;
  SetFormatAlignment(centred, DT_CENTER, DT_VCENTER);
  const Gdiplus::SolidBrush white{Gdiplus::Color(kWhite)};
  m_legendArea = Moved(kLegendArea, m_rect);
  for (int row = 0; row < kLegendRows; ++row) {
    const LegendRow& r = kLegend[row];
    const RectF plate(static_cast<float>(kPlateLeft), static_cast<float>(r.top), static_cast<float>(kPlateWidth),
                      static_cast<float>(kRowHeight));
    MRender::DrawRoundRectange(g, plate.X, plate.Y, plate.Width, plate.Height, kPlateRadius, Gdiplus::Color(r.colour));
    g.DrawString(r.name, -1, font.get(), plate, &centred, &white);
    m_legendRows[row] = Moved(CRect(0, r.top, kHitRight, r.top + kRowHeight), m_rect);
  }

  // The current switch type's row gets a triangle on each side, pointing at it.
  const LegendRow& marked = kLegend[MarkedRow(m_switchType)];
  const Gdiplus::SolidBrush brush{Gdiplus::Color(marked.colour)};
  const int y = marked.top;
  const Gdiplus::Point left[] = {{5, y + 7}, {5, y + 23}, {21, y + 15}};
  const Gdiplus::Point right[] = {{186, y + 7}, {170, y + 15}, {186, y + 23}};
  g.FillPolygon(&brush, left, 3);
  g.FillPolygon(&brush, right, 3);
}

}  // namespace TESK
