#include "ui/keyboard/KeyStrokeCtrl2.h"

#include <algorithm>
#include <climits>

#include "ui/core/MRender.h"

namespace TESK {

namespace {

constexpr Gdiplus::ARGB kTrack = 0xFF687289;
constexpr Gdiplus::ARGB kFilled = 0xFF596EFF;
constexpr Gdiplus::ARGB kThumb = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kValueText = 0xFFA3ACB9;
constexpr double kBarLength = 410.0;
constexpr int kBarLeft = 20;
constexpr int kBarTop = 60;
constexpr int kBarHeight = 7;
constexpr float kBarRadius = 5.0f;
// The press area runs the bar's length, 20 px above it and 23 px below.
constexpr int kAreaTop = 40;
constexpr int kAreaBottom = 90;
constexpr int kThumbOffset = 3;
constexpr int kThumbTop = 55;
constexpr int kThumbSize = 17;
constexpr float kValueFontPx = 12.0f;
const Gdiplus::RectF kValueBox(430.0f, 50.0f, 70.0f, 30.0f);
constexpr int kPrecisionSteps = 200;
constexpr double kMmPerStep = 0.02;

CString Millimetres(int steps) {
  CString text;
  text.Format(L"%0.2fmm", steps * kMmPerStep);
  return text;
}

}  // namespace

KeyStrokeCtrl2::KeyStrokeCtrl2(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : KeyStrokeBase(owner, id, rect, visible, enabled, Axis::Horizontal) {
  InitPrecisionData();
}

KeyStrokeCtrl2::~KeyStrokeCtrl2() = default;

void KeyStrokeCtrl2::SetKeyStrokeInfo(int switchType, int travel) { SetTravel(switchType, travel / 2, kBarLength); }

void KeyStrokeCtrl2::GetDeadzoneValue(int& top, int& bottom) const {
  top = m_topDeadzone;
  const int deepest = TableLimit();
  bottom = deepest < 0 ? 0
                       : static_cast<int>(std::clamp<long long>(static_cast<long long>(deepest) - m_upperBound,
                                                                INT_MIN, INT_MAX));
}

void KeyStrokeCtrl2::SetSwitchName(CString first, CString second, CString third, CString fourth) {
  m_switchNames[0] = first;
  m_switchNames[1] = second;
  m_switchNames[2] = third;
  m_switchNames[3] = fourth;
}

void KeyStrokeCtrl2::InitPrecisionData() {
  for (int step = 1; step <= kPrecisionSteps; ++step) m_precision[step] = Millimetres(step);
}

void KeyStrokeCtrl2::RenderTravel(Gdiplus::Graphics& g, int, int) {
  m_pressArea = CRect(kBarLeft, kAreaTop, kBarLeft + SpanPixels(), kAreaBottom);
  m_pressArea.OffsetRect(m_rect.left, m_rect.top);

  MRender::DrawRoundRectange(g, static_cast<float>(kBarLeft), static_cast<float>(kBarTop),
                             static_cast<float>(kBarLength), static_cast<float>(kBarHeight), kBarRadius,
                             Gdiplus::Color(kTrack));
  // In double and bounded: the actuation is taken as the program gives it.
  const int filled = static_cast<int>(std::clamp(m_actuation * m_scale, -4 * kBarLength, 4 * kBarLength));
  if (filled > 0) {
    MRender::DrawRoundRectange(g, static_cast<float>(kBarLeft), static_cast<float>(kBarTop),
                               static_cast<float>(filled), static_cast<float>(kBarHeight), kBarRadius,
                               Gdiplus::Color(kFilled));
  }
  const Gdiplus::SolidBrush thumb{Gdiplus::Color(kThumb)};
  g.FillEllipse(&thumb, filled + kThumbOffset, kThumbTop, kThumbSize, kThumbSize);

  FallbackFontFamily fallback;
  const Gdiplus::Font font(fallback.Or(GetFontFamily(m_strFontName)), kValueFontPx, Gdiplus::FontStyleBold,
                           Gdiplus::UnitPixel);
  Gdiplus::StringFormat centred;
  SetFormatAlignment(centred, DT_CENTER, DT_VCENTER);
  const Gdiplus::SolidBrush text{Gdiplus::Color(kValueText)};
  const CString value = Millimetres(m_actuation);
  g.DrawString(value, value.GetLength(), &font, kValueBox, &centred, &text);
}

}  // namespace TESK
