#include "ui/keyboard/KeyboardCtrl.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "ui/core/MRender.h"
#include "ui/core/Manager.h"
#include "ui/core/PaintManager.h"
#include "ui/keyboard/SwitchTravel.h"

namespace TESK {

namespace {

using Gdiplus::ARGB;
using Gdiplus::Color;
using Gdiplus::RectF;

constexpr float kKeyRadius = 6.0f;
constexpr float kOutlineWidth = 2.0f;

// Outline and fill colours of the modes.
constexpr ARGB kOutlineNormal = 0xFF646464;
constexpr ARGB kOutlineHighlight = 0xFFDC4F2E;
constexpr ARGB kOutlineChecked = 0xFF00A1E3;  // performance mode
constexpr ARGB kCustomFillNormal = 0x00646464;
constexpr ARGB kCustomFillHighlight = 0x00DC4F2E;
constexpr ARGB kClearFill = 0x00E8E8E8;
constexpr ARGB kLightCaption = 0xFFDCDCDC;
constexpr ARGB kPerfValue = 0xFF01ECA2;
constexpr ARGB kTravelChecked = 0xFFE8E8E8;
constexpr ARGB kTravelNormal = 0xFFC8C8C8;
constexpr ARGB kCalibrated = 0xFF21A939;
constexpr ARGB kCalibrating = 0xFFFFD700;
constexpr ARGB kCalibPressed = 0xFFC8C8C8;
constexpr ARGB kCaptionWhite = 0xFFFFFFFF;
constexpr ARGB kCaptionShadow = 0xFF505050;

// The performance mode's switch dot, by switch type; other types are red.
constexpr struct {
  int switchType;
  ARGB colour;
} kSwitchDots[] = {{2, 0xFF30E27C}, {5, 0xFF98E5E3}};
constexpr ARGB kSwitchDotOther = 0xFFFF0000;

constexpr const wchar_t* kValueFamily = L"SourceHanSansCN-Light";
// The key tip: a pop-up window owned by the control's window.
constexpr DWORD kTipStyle = 0x96000080;

// Live and calibration travel count in fortieths of the full travel.
constexpr int kTravelSteps = 40;
// Positions below these are raised in the record when the performance mode draws them.
constexpr int kMinActuation = 5;
constexpr int kMinRapidTrigger = 1;
constexpr int kCalibratedProgress = 255;
constexpr int kPressedCalibTravel = 2;

// A held button starts the rubber band once the pointer is this far (in x or y) from the
// band's last corner; a band narrower or lower than the minimum selects nothing.
constexpr int kBandStartDistance = 20;
constexpr long long kBandMinimum = 6;

// How far a key's drawing rectangle may reach past the surface before it is cut: more than
// an outline and a corner, so every key that shows keeps its shape.
constexpr long long kDrawMargin = 64;

Color Opaque(COLORREF c) { return Color(255, GetRValue(c), GetGValue(c), GetBValue(c)); }

ARGB SwitchDotColour(int switchType) {
  for (const auto& dot : kSwitchDots) {
    if (dot.switchType == switchType) return dot.colour;
  }
  return kSwitchDotOther;
}

int Clamp(long long value, long long low, long long high) {
  return static_cast<int>(std::max(low, std::min(high, value)));
}

// A key's whole performance block, in the order the setters take it.
struct PerfBlock {
  int switchType, keyMode, actuation, rtPress, rtRelease, pressDeadzone, releaseDeadzone, deadzoneState;
  void WriteTo(KEY_INFO& key) const {
    key.switch_type = switchType;
    key.key_mode = keyMode;
    key.key_actuation = actuation;
    key.rt_press = rtPress;
    key.rt_release = rtRelease;
    key.press_deadzone = pressDeadzone;
    key.release_deadzone = releaseDeadzone;
    key.deadzone_state = deadzoneState;
  }
};

// The rapid-trigger rule: bits 4-7 of the key mode stay, the low nibble takes the mode.
int WithRapidTriggerMode(int keyMode, int mode) { return (keyMode & 0xF0) + mode; }

CString Millimetres(int steps) {
  CString text;
  text.Format(L"%0.2f", steps * 0.02);
  return text;
}

RectF Box(const CRect& r, int dx, int dy, int width, int height) {
  return RectF(static_cast<float>(r.left + dx), static_cast<float>(r.top + dy), static_cast<float>(width),
               static_cast<float>(height));
}

}  // namespace

KeyboardCtrl::KeyboardCtrl(MObject* owner, UINT id, CRect rect, int visible)
    : MPanel(owner, id, rect, visible),
      m_pickSlot(0),
      m_curKeyValue(0),
      m_selectKey(0),
      m_hoverIndex(-1),
      m_pressIndex(-1),
      m_mode(KBMODE_NONE),
      m_offsetX(6),
      m_offsetY(6),
      m_layoutWidth(0),
      m_layoutHeight(0),
      m_showActuation(0),
      m_frameSelect(0),
      m_bandActive(0),
      m_selectColor(0),
      m_keyboardColor(0xFFFFFFFF),
      m_tipsEnabled(false),
      m_advKeyType(-1),
      m_advSelectFlag(1),
      m_repaintQueued(false),
      m_centred(std::make_unique<Gdiplus::StringFormat>()),
      m_whiteBrush(std::make_unique<Gdiplus::SolidBrush>(Color(kCaptionWhite))),
      m_shadowBrush(std::make_unique<Gdiplus::SolidBrush>(Color(kCaptionShadow))) {
  m_centred->SetAlignment(Gdiplus::StringAlignmentCenter);
  m_centred->SetLineAlignment(Gdiplus::StringAlignmentCenter);
}

KeyboardCtrl::~KeyboardCtrl() {
  if (m_tips && m_tips->GetSafeHwnd() && ::IsWindow(m_tips->GetSafeHwnd())) m_tips->DestroyWindow();
  m_tips.reset();
  CriticalSectionLock lock(m_lock);
  m_items.clear();
}

void KeyboardCtrl::InitControl(PaintManager* manager) {
  MPanel::InitControl(manager);
  SetControlRect(m_rect);
}

// ---- Drawing ----

void KeyboardCtrl::DrawControl(HDC& dc, CRect) {
  using Renderer = void (KeyboardCtrl::*)(Gdiplus::Graphics&);
  static constexpr Renderer kRenderers[] = {
      &KeyboardCtrl::DrawNoneMode,      &KeyboardCtrl::DrawCustomMode, &KeyboardCtrl::DrawAdvKeyMode,
      &KeyboardCtrl::DrawLightMode,     &KeyboardCtrl::DrawUserLightMode, &KeyboardCtrl::DrawPerfMode,
      &KeyboardCtrl::DrawPerfCheckMode,
  };
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_bCacheValid) {
    // A stream of live samples asks for a repaint per sample; the pause bounds their rate.
    // Changes made from here on are not in this picture and queue a request of their own.
    m_repaintQueued = false;
    Sleep(1);
    UpdateMemDC(dc, w, h);
    if (!m_hCacheDC) return;
    // The window's picture under the control shows between the keys.
    BitBlt(m_hCacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top, SRCCOPY);
    Gdiplus::Graphics g(m_hCacheDC);
    g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    if (m_kbImage) g.DrawImage(m_kbImage.get(), 0, 0, w, h);
    const int slot = m_mode - KBMODE_NONE;
    if (slot >= 0 && slot < static_cast<int>(std::size(kRenderers))) (this->*kRenderers[slot])(g);
  }
  BitBlt(dc, m_rect.left, m_rect.top, w, h, m_hCacheDC, 0, 0, SRCCOPY);
  if (m_mode == KBMODE_LIGHT && m_bandActive) {
    // The band is drawn on the window, over the cached picture, in window coordinates.
    Gdiplus::Graphics g(dc);
    Gdiplus::Pen pen(Color(Manager::m_down_color), 2.0f);
    pen.SetDashStyle(Gdiplus::DashStyleDot);
    const int x = std::min(m_bandStart.x, m_bandEnd.x), y = std::min(m_bandStart.y, m_bandEnd.y);
    g.DrawRectangle(&pen, x, y, std::abs(m_bandStart.x - m_bandEnd.x), std::abs(m_bandStart.y - m_bandEnd.y));
  }
}

void KeyboardCtrl::DrawNoneMode(Gdiplus::Graphics& g) { DrawColouredKeys(g, 12.0f); }

void KeyboardCtrl::DrawUserLightMode(Gdiplus::Graphics& g) { DrawColouredKeys(g, 10.0f); }

void KeyboardCtrl::DrawCustomMode(Gdiplus::Graphics& g) {
  DrawOutlinedKeys(g, true, kCustomFillNormal, kCustomFillHighlight);
}

void KeyboardCtrl::DrawAdvKeyMode(Gdiplus::Graphics& g) { DrawOutlinedKeys(g, false, kClearFill, kClearFill); }

void KeyboardCtrl::DrawColouredKeys(Gdiplus::Graphics& g, float fontSize) {
  const Gdiplus::Font font(FontFamilyOrDefault(m_strFontName), fontSize, m_nFontStyle, Gdiplus::UnitPixel);
  CriticalSectionLock lock(m_lock);
  for (const auto& item : m_items) {
    KEY_INFO& key = *item;
    const CRect r = KeyDrawRect(key);
    DrawRoundRectange(g, static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.Width()),
                      static_cast<float>(r.Height()), kKeyRadius, Opaque(key.color), 0.0f, Color());
    DrawTextAndIcon(g, font, &key, r);
    // Only the one-key kinds carry a badge in these modes.
    if (key.type >= ADVKEY_DKS && key.type <= ADVKEY_TGL) {
      DrawBadge(g, key.type - ADVKEY_DKS, r.left + (r.right - m_state1.frameWidth - r.left) / 2,
                r.top + (r.bottom - m_state1.frameHeight - r.top) / 2);
    }
  }
}

void KeyboardCtrl::DrawTextAndIcon(Gdiplus::Graphics& g, const Gdiplus::Font& font, KEY_INFO* key, const CRect& r) {
  if (!key) return;
  if (key->icon && !key->name.IsEmpty()) {
    // A caption with a shadow one pixel down and right, the icon below it.
    g.DrawString(key->name, key->name.GetLength(), &font, Box(r, 1, 1, r.Width(), r.Height() - 20), m_centred.get(),
                 m_shadowBrush.get());
    g.DrawString(key->name, key->name.GetLength(), &font, Box(r, 0, 0, r.Width(), r.Height() - 20), m_centred.get(),
                 m_whiteBrush.get());
    g.DrawImage(key->icon, r.left + (r.right - key->icon_width - r.left) / 2, r.bottom - 20, key->icon_width,
                key->icon_height);
  } else if (key->icon) {
    g.DrawImage(key->icon, r.left + (r.Width() - key->icon_width) / 2, r.top + (r.Height() - key->icon_height) / 2,
                key->icon_width, key->icon_height);
  } else {
    g.DrawString(key->name, key->name.GetLength(), &font, Box(r, 1, 5, r.Width(), 30), m_centred.get(),
                 m_whiteBrush.get());
  }
}

bool KeyboardCtrl::IsHighlighted(int index, const KEY_INFO& key, bool hoverHighlights) const {
  return index == m_pressIndex || (hoverHighlights && index == m_hoverIndex) || key.checked;
}

void KeyboardCtrl::DrawOutlinedKeys(Gdiplus::Graphics& g, bool hoverHighlights, ARGB normalFill, ARGB highlightFill) {
  const Gdiplus::Font font(FontFamilyOrDefault(m_strFontName), 10.0f, m_nFontStyle, Gdiplus::UnitPixel);
  CriticalSectionLock lock(m_lock);
  for (size_t i = 0; i < m_items.size(); ++i) {
    const KEY_INFO& key = *m_items[i];
    const CRect r = KeyDrawRect(key);
    const bool lit = IsHighlighted(static_cast<int>(i), key, hoverHighlights);
    DrawRoundRectange(g, static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.Width()),
                      static_cast<float>(r.Height()), kKeyRadius, Color(lit ? highlightFill : normalFill),
                      kOutlineWidth, Color(lit ? kOutlineHighlight : kOutlineNormal));
    const bool advanced = IsAdvancedKeyType(key.type);
    const CString& caption = advanced ? key.desc : key.name;
    g.DrawString(caption, caption.GetLength(), &font, Box(r, 1, 5, r.Width(), 30), m_centred.get(),
                 m_whiteBrush.get());
    if (advanced) {
      DrawBadge(g, key.type - ADVKEY_DKS, r.left + (r.right - m_state1.frameWidth - r.left) / 2,
                r.bottom - m_state1.frameHeight - 2);
    }
  }
}

void KeyboardCtrl::DrawLightMode(Gdiplus::Graphics& g) {
  const Gdiplus::Font font(FontFamilyOrDefault(m_strFontName), 10.0f, m_nFontStyle, Gdiplus::UnitPixel);
  Gdiplus::SolidBrush caption{Color(kLightCaption)};
  CriticalSectionLock lock(m_lock);
  for (size_t i = 0; i < m_items.size(); ++i) {
    const KEY_INFO& key = *m_items[i];
    const CRect r = KeyDrawRect(key);
    const float x = static_cast<float>(r.left), y = static_cast<float>(r.top);
    const float w = static_cast<float>(r.Width()), h = static_cast<float>(r.Height());
    DrawRoundRectange(g, x, y, w, h, kKeyRadius, Opaque(key.color), kOutlineWidth, Color(kOutlineNormal));
    if (m_frameSelect && IsHighlighted(static_cast<int>(i), key, true)) {
      DrawRoundRectange(g, x, y, w, h, kKeyRadius, Opaque(key.color), kOutlineWidth, Color(kOutlineHighlight));
    }
    const CString& text = IsAdvancedKeyType(key.type) ? key.desc : key.name;
    g.DrawString(text, text.GetLength(), &font, Box(r, 1, 1, r.Width(), 20), m_centred.get(), &caption);
  }
}

void KeyboardCtrl::DrawPerfMode(Gdiplus::Graphics& g) {
  const Gdiplus::Font actuationFont(FontFamilyOrDefault(m_strFontName), 10.0f, m_nFontStyle, Gdiplus::UnitPixel);
  const Gdiplus::Font triggerFont(FontFamilyOrDefault(kValueFamily), 10.0f, m_nFontStyle, Gdiplus::UnitPixel);
  Gdiplus::SolidBrush value{Color(kPerfValue)};
  CriticalSectionLock lock(m_lock);
  for (const auto& item : m_items) {
    KEY_INFO& key = *item;
    const CRect r = KeyDrawRect(key);
    const float x = static_cast<float>(r.left), y = static_cast<float>(r.top);
    const float w = static_cast<float>(r.Width()), h = static_cast<float>(r.Height());
    const Color outline(key.checked ? kOutlineChecked : kOutlineNormal);
    DrawRoundRectange(g, x, y, w, h, kKeyRadius, Color(kClearFill), kOutlineWidth, outline);
    // The record keeps what the worker sent; the bar never leaves the key.
    const int travel = Clamp(key.live_travel, 0, kTravelSteps);
    if (travel > 0) {
      DrawRoundRectange(g, x, y, w, static_cast<float>(r.Height() * travel / kTravelSteps), kKeyRadius,
                        Color(key.checked ? kTravelChecked : kTravelNormal), kOutlineWidth, outline);
    }
    if (key.key_actuation < kMinActuation) key.key_actuation = kMinActuation;
    const CString actuation = Millimetres(key.key_actuation);
    g.DrawString(actuation, actuation.GetLength(), &actuationFont, Box(r, 1, 6, r.Width(), 16), m_centred.get(),
                 &value);
    if (key.key_mode & 0x0F) {
      if (key.rt_press < kMinRapidTrigger) key.rt_press = kMinRapidTrigger;
      if (key.rt_release < kMinRapidTrigger) key.rt_release = kMinRapidTrigger;
      const int half = r.Width() / 2;
      const CString press = Millimetres(key.rt_press), release = Millimetres(key.rt_release);
      g.DrawString(press, press.GetLength(), &triggerFont, Box(r, 1, 25, half, 16), m_centred.get(), &value);
      g.DrawString(release, release.GetLength(), &triggerFont, Box(r, 1 + half, 25, half, 16), m_centred.get(),
                   &value);
    }
    Gdiplus::SolidBrush dot{Color(SwitchDotColour(key.switch_type))};
    g.FillEllipse(&dot, r.left + r.Width() / 2 - 1, r.bottom - 12, 8, 8);
  }
}

void KeyboardCtrl::DrawPerfCheckMode(Gdiplus::Graphics& g) {
  const Gdiplus::Font font(FontFamilyOrDefault(m_strFontName), 12.0f, m_nFontStyle, Gdiplus::UnitPixel);
  CriticalSectionLock lock(m_lock);
  for (const auto& item : m_items) {
    const KEY_INFO& key = *item;
    const CRect r = KeyDrawRect(key);
    const float x = static_cast<float>(r.left), y = static_cast<float>(r.top);
    const float w = static_cast<float>(r.Width()), h = static_cast<float>(r.Height());
    ARGB fill = kClearFill;
    if (key.calib_progress >= kCalibratedProgress) {
      fill = kCalibrated;
    } else if (key.calib_progress > 0) {
      fill = kCalibrating;
    }
    DrawRoundRectange(g, x, y, w, h, kKeyRadius, Color(fill), kOutlineWidth, Color(kOutlineNormal));
    if (key.calib_travel > kPressedCalibTravel) {
      DrawRoundRectange(g, x, y, w, h, kKeyRadius, Color(kCalibPressed), kOutlineWidth, Color(kOutlineNormal));
    }
    g.DrawString(key.name, key.name.GetLength(), &font, Box(r, 1, 1, r.Width(), 15), m_centred.get(),
                 m_whiteBrush.get());
  }
}

void KeyboardCtrl::DrawRoundRectange(Gdiplus::Graphics& g, float x, float y, float w, float h, float radius,
                                     Color fill, float penWidth, Color pen) {
  MRender::DrawRoundRectange(g, x, y, w, h, radius, pen, penWidth, fill);
}

void KeyboardCtrl::DrawRectange(Gdiplus::Graphics& g, float x, float y, float w, float h, Color frame, Color fill,
                                bool corner, int barHeight) {
  Gdiplus::SolidBrush fillBrush(fill);
  g.FillRectangle(&fillBrush, x, y, w, h);
  if (barHeight > 0) {
    Gdiplus::SolidBrush bar{Color(kTravelNormal)};
    g.FillRectangle(&bar, x, y, w, static_cast<float>(barHeight));
  }
  Gdiplus::Pen pen(frame, 1.0f);
  g.DrawRectangle(&pen, x + 1, y + 1, w - 1, h - 1);
  if (corner) {
    const Gdiplus::PointF triangle[] = {{x + w - 10, y + 1}, {x + w, y + 1}, {x + w, y + 10}};
    Gdiplus::SolidBrush frameBrush(frame);
    g.FillPolygon(&frameBrush, triangle, 3);
  }
}

void KeyboardCtrl::DrawBadge(Gdiplus::Graphics& g, int cell, int x, int y) {
  const Strip& strip = m_state1;
  if (!strip.image || strip.frameWidth <= 0 || cell < 0) return;
  // A strip of five cells has none for the sixth kind: that badge is left out rather than
  // read from outside the picture.
  if (static_cast<long long>(cell + 1) * strip.frameWidth > static_cast<long long>(strip.image->GetWidth())) return;
  g.DrawImage(strip.image.get(), Gdiplus::Rect(x, y, strip.frameWidth, strip.frameHeight), cell * strip.frameWidth, 0,
              strip.frameWidth, strip.frameHeight, Gdiplus::UnitPixel);
}

const Gdiplus::FontFamily* KeyboardCtrl::FontFamilyOrDefault(const wchar_t* name) {
  return m_fallbackFamily.Or(m_pManager ? m_pManager->FindTempFont(name) : nullptr);
}

CRect KeyboardCtrl::KeyDrawRect(const KEY_INFO& key) const {
  const long long w = m_rect.Width(), h = m_rect.Height();
  const long long dx = m_offsetX, dy = m_offsetY;
  return CRect(Clamp(key.rect.left + dx, -kDrawMargin, w + kDrawMargin),
               Clamp(key.rect.top + dy, -kDrawMargin, h + kDrawMargin),
               Clamp(key.rect.right + dx, -kDrawMargin, w + kDrawMargin),
               Clamp(key.rect.bottom + dy, -kDrawMargin, h + kDrawMargin));
}

// ---- Geometry and hit testing ----

void KeyboardCtrl::SetControlRect(CRect rect) {
  MPanel::SetControlRect(rect);
  if (m_layoutWidth != 0 && m_layoutHeight != 0) CenterLayout();
  RequestRepaint();
}

void KeyboardCtrl::CenterLayout() {
  if (m_rect.IsRectEmpty()) return;
  m_offsetX = (m_rect.Width() - m_layoutWidth) / 2;
  m_offsetY = (m_rect.Height() - m_layoutHeight) / 2;
}

void KeyboardCtrl::SetWidthAndHeight(int width, int height) {
  m_layoutWidth = width;
  m_layoutHeight = height;
  CenterLayout();
}

bool KeyboardCtrl::KeyContains(const KEY_INFO& key, CPoint pt) const {
  const long long x = static_cast<long long>(pt.x) - m_rect.left - m_offsetX;
  const long long y = static_cast<long long>(pt.y) - m_rect.top - m_offsetY;
  return x >= key.rect.left && x < key.rect.right && y >= key.rect.top && y < key.rect.bottom;
}

int KeyboardCtrl::KeyIndexAt(CPoint pt) {
  for (size_t i = 0; i < m_items.size(); ++i) {
    if (KeyContains(*m_items[i], pt)) return static_cast<int>(i);
  }
  return -1;
}

KeyboardCtrl::HoverMove KeyboardCtrl::TrackHover(CPoint pt) {
  int hover = -1;
  if (m_rect.PtInRect(pt)) {
    CriticalSectionLock lock(m_lock);
    if (m_hoverIndex >= 0 && m_hoverIndex < static_cast<int>(m_items.size()) &&
        KeyContains(*m_items[m_hoverIndex], pt)) {
      return HoverMove::Kept;
    }
    hover = KeyIndexAt(pt);
  }
  if (hover == m_hoverIndex) return HoverMove::Same;
  m_hoverIndex = hover;
  return HoverMove::Changed;
}

void KeyboardCtrl::DragMove(CPoint pt) {
  if (!m_bEnabled) return;
  if (TrackHover(pt) == HoverMove::Changed) RequestRepaint();
}

int KeyboardCtrl::GetKeyCodeByPoint(CPoint pt) {
  int code = 0;
  {
    CriticalSectionLock lock(m_lock);
    const int index = KeyIndexAt(pt);
    if (index >= 0) code = m_items[index]->key_code;
  }
  RequestRepaint();
  return code;
}

// ---- Mouse ----

int KeyboardCtrl::OnControlTimer() {
  m_bRunning = 1;
  return m_bVisible;
}

int KeyboardCtrl::OnControlMouseMove(UINT keys, CPoint pt) {
  if (!m_bEnabled) return 0;
  if (m_frameSelect && (keys & (MK_LBUTTON | MK_RBUTTON))) {
    if (m_rect.PtInRect(pt) &&
        (std::abs(pt.x - m_bandEnd.x) > kBandStartDistance || std::abs(pt.y - m_bandEnd.y) > kBandStartDistance)) {
      m_bandEnd = pt;
      m_bandActive = 1;
      SelectByBand();
      RequestRepaint();
    }
    return 1;
  }
  const HoverMove move = TrackHover(pt);
  if (move == HoverMove::Kept) return 1;
  if (move == HoverMove::Changed && !m_bRunning) {
    RequestRepaint();
    return 1;
  }
  return 0;
}

void KeyboardCtrl::SelectByBand() {
  const long long left = std::min(m_bandStart.x, m_bandEnd.x), top = std::min(m_bandStart.y, m_bandEnd.y);
  const long long right = left + std::abs(m_bandStart.x - m_bandEnd.x);
  const long long bottom = top + std::abs(m_bandStart.y - m_bandEnd.y);
  const bool empty = right - left < kBandMinimum || bottom - top < kBandMinimum;
  const long long dx = static_cast<long long>(m_rect.left) + m_offsetX;
  const long long dy = static_cast<long long>(m_rect.top) + m_offsetY;
  CriticalSectionLock lock(m_lock);
  for (const auto& item : m_items) {
    const CRect& r = item->rect;
    const bool touches = !empty && r.left + dx < right && left < r.right + dx && r.top + dy < bottom &&
                         top < r.bottom + dy;
    item->checked = touches ? 1 : 0;
  }
}

int KeyboardCtrl::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  const int before = m_pressIndex;
  if (m_bandActive) {
    m_bandActive = 0;
    RequestRepaint();
  }
  // A plain click starts a new selection; Ctrl keeps the checks and picks as they are.
  if (!m_frameSelect && GetAsyncKeyState(VK_CONTROL) == 0 && m_mode != KBMODE_ADVKEY) ResetAllItemCheck(0);
  if (!m_rect.PtInRect(pt)) {
    ClearBand();
  } else {
    m_bandStart = m_bandEnd = pt;
    m_pressIndex = m_hoverIndex;
    m_curKeyValue = 0;
    int code = 0;
    bool pressed = false;
    {
      CriticalSectionLock lock(m_lock);
      if (m_pressIndex >= 0 && m_pressIndex < static_cast<int>(m_items.size())) {
        KEY_INFO& key = *m_items[m_pressIndex];
        pressed = true;
        code = key.key_code;
        m_curKeyValue = code;
        if (m_frameSelect) {
          key.checked = key.checked ? 0 : 1;
          key.color = key.color != 0 ? 0 : m_selectColor;
        } else if (m_mode == KBMODE_ADVKEY) {
          ApplyPickRules(key);
        }
      } else {
        m_pressIndex = -1;
      }
    }
    SendMessageW(NOTIFY_PRESSED, static_cast<WPARAM>(pressed ? m_pressIndex : -1), static_cast<LPARAM>(code));
  }
  if (m_pressIndex != before || m_frameSelect) RequestRepaint();
  return 1;
}

void KeyboardCtrl::ApplyPickRules(KEY_INFO& key) {
  const int type = m_advKeyType;
  const bool oneKeyType = type >= ADVKEY_DKS && type <= ADVKEY_TGL;
  const bool twoKeyType = type >= ADVKEY_RS && type <= ADVKEY_OKS;
  if (!m_advSelectFlag) {
    m_pressIndex = -1;
  } else if (IsAdvancedKeyType(key.type)) {
    // A key that already carries an advanced key joins only a pick without a type.
    if (oneKeyType || twoKeyType) {
      m_pressIndex = -1;
    } else {
      m_advPicks.emplace_back(0, key.key_code);
      key.checked = 1;
    }
  } else if (oneKeyType) {
    ResetAllItemCheck(0);
    m_advPicks.emplace_back(0, key.key_code);
    key.checked = 1;
  } else if (!twoKeyType) {
    m_pressIndex = -1;
  } else if (key.checked) {
    key.checked = 0;
    // A key checked by the program without a pick of its own frees no slot: the next slot
    // stays as it was (storing the -1 the removal answers would refuse every later pick).
    const bool picked = std::any_of(m_advPicks.begin(), m_advPicks.end(),
                                    [&](const std::pair<int, int>& p) { return p.second == key.key_code; });
    const int freed = DeleteSelectItem(key.key_code);
    if (picked) m_pickSlot = freed;
    m_pressIndex = -1;
  } else if (m_pickSlot == 0) {
    m_advPicks.emplace_back(0, key.key_code);
    key.checked = 1;
    m_pickSlot = 1;
  } else if (m_pickSlot == 1 && m_advPicks.size() < 2) {
    m_advPicks.emplace_back(1, key.key_code);
    key.checked = 1;
  } else {
    m_pressIndex = -1;
  }
}

int KeyboardCtrl::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  if (m_bandActive) {
    ClearBand();
    RequestRepaint();
  }
  if (m_rect.PtInRect(pt)) {
    if (m_pressIndex == -1) m_curKeyValue = -1;
    SendMessageW(NOTIFY_CLICKED, static_cast<WPARAM>(m_pressIndex), 0);
  }
  return 1;
}

int KeyboardCtrl::OnControlRButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled || !m_frameSelect) return 0;
  if (m_rect.PtInRect(pt)) {
    m_bandStart = pt;
  } else {
    ClearBand();
  }
  return 1;
}

int KeyboardCtrl::OnControlRButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  if (m_bandActive) {
    ClearBand();
    SendMessageW(NOTIFY_FRAMESELECTED, 0, 0);
    RequestRepaint();
    return 1;
  }
  if (!m_rect.PtInRect(pt)) return 1;
  const int before = m_pressIndex;
  m_pressIndex = m_hoverIndex;
  int code = 0;
  {
    CriticalSectionLock lock(m_lock);
    if (m_pressIndex >= 0 && m_pressIndex < static_cast<int>(m_items.size())) {
      code = m_items[m_pressIndex]->key_code;
    } else {
      m_pressIndex = -1;
    }
  }
  m_curKeyValue = code;
  m_selectKey = code;
  SendMessageW(NOTIFY_RCLICKED, static_cast<WPARAM>(m_pressIndex), static_cast<LPARAM>(code));
  if (m_pressIndex != before) RequestRepaint();
  return 1;
}

// The keyboard takes no keys of its own: only the hot key, as every control.
int KeyboardCtrl::OnControlKeyDown(UINT key, UINT count, UINT modifiers) {
  return MControl::OnControlKeyDown(key, count, modifiers);
}

void KeyboardCtrl::ClearBand() {
  m_bandActive = 0;
  m_bandStart = CPoint();
  m_bandEnd = CPoint();
}

// ---- Repaint requests and record access ----

void KeyboardCtrl::RequestRepaint() {
  if (!m_bVisible) return;
  if (m_pManager && !m_pManager->IsWindowThread()) {
    // The worker may hold m_lock; the owner chain would take panels' child locks, which a
    // paint holds while it waits for m_lock. The engine queues the request instead.
    if (!m_repaintQueued.exchange(true)) m_pManager->OnControlUpdate(m_rect, 1, this);
    return;
  }
  if (m_pParent) m_pParent->OnControlUpdate(m_rect, 1, this);
}

KEY_INFO* KeyboardCtrl::FindKey(int keyCode) {
  for (const auto& item : m_items) {
    if (item->key_code == keyCode) return item.get();
  }
  return nullptr;
}

template <typename F>
bool KeyboardCtrl::ChangeKey(int keyCode, F change) {
  CriticalSectionLock lock(m_lock);
  KEY_INFO* key = FindKey(keyCode);
  if (!key) return false;
  change(*key);
  return true;
}

template <typename F>
void KeyboardCtrl::ChangeAll(F change) {
  CriticalSectionLock lock(m_lock);
  for (const auto& item : m_items) change(*item);
}

template <typename F>
void KeyboardCtrl::ChangeChecked(F change) {
  CriticalSectionLock lock(m_lock);
  for (const auto& item : m_items) {
    if (item->checked) change(*item);
  }
}

// ---- Building ----

std::unique_ptr<Gdiplus::Image> KeyboardCtrl::LoadSkin(const CString& file) {
  return std::unique_ptr<Gdiplus::Image>(MRender::LoadImageFromFile(GetSkinFolder() + file));
}

void KeyboardCtrl::LoadStrip(Strip& strip, const CString& file, int frames) {
  strip.image = LoadSkin(file);
  strip.frameWidth = strip.image ? static_cast<int>(strip.image->GetWidth()) / frames : 0;
  strip.frameHeight = strip.image ? static_cast<int>(strip.image->GetHeight()) : 0;
}

int KeyboardCtrl::AddKeyItem(CString name, CString desc, int keyCode, CRect rect, CString icon, int color) {
  auto key = std::make_unique<KEY_INFO>();
  key->key_code = keyCode;
  key->name = name;
  key->desc = desc;
  key->rect = rect;
  key->color = static_cast<COLORREF>(color);
  if (!icon.IsEmpty()) {
    key->icon = LoadSkin(icon).release();
    if (key->icon) {
      key->icon_width = static_cast<int>(key->icon->GetWidth());
      key->icon_height = static_cast<int>(key->icon->GetHeight());
    }
  }
  CriticalSectionLock lock(m_lock);
  key->index = static_cast<int>(m_items.size());
  m_items.push_back(std::move(key));
  return static_cast<int>(m_items.size()) - 1;
}

void KeyboardCtrl::ClearItem() {
  CriticalSectionLock lock(m_lock);
  m_items.clear();
  m_hoverIndex = -1;
  m_pressIndex = -1;
}

std::vector<KEY_INFO*> KeyboardCtrl::GetKeyItems() {
  CriticalSectionLock lock(m_lock);
  std::vector<KEY_INFO*> keys;
  keys.reserve(m_items.size());
  for (const auto& item : m_items) keys.push_back(item.get());
  return keys;
}

void KeyboardCtrl::SetKeyboardImage(CString file) { m_kbImage = LoadSkin(file); }

void KeyboardCtrl::SetKeyState1Image(CString file) { LoadStrip(m_state1, file, 5); }

void KeyboardCtrl::SetKeyState2Image(CString file) { LoadStrip(m_state2, file, 3); }

void KeyboardCtrl::SetKeyState3Image(CString file) { LoadStrip(m_state3, file, 2); }

void KeyboardCtrl::SetKeyboardColor(COLORREF color) { m_keyboardColor = Opaque(color).GetValue(); }

void KeyboardCtrl::SetShowActuation(int show) {
  m_showActuation = show;
  RequestRepaint();
}

void KeyboardCtrl::InitPrecisionData() {
  for (int step = 1; step <= 200; ++step) m_precision[step] = Millimetres(step);
}

// ---- Key texts and tips ----

void KeyboardCtrl::SetKeyItemInfo(int keyCode, CString name, int type, CString tip) {
  ChangeKey(keyCode, [&](KEY_INFO& key) {
    key.name = name;
    key.type = type;
    key.tip_text = tip;
  });
}

void KeyboardCtrl::SetKeyDesc(int keyCode, CString text) {
  ChangeKey(keyCode, [&](KEY_INFO& key) {
    key.name = text;
    key.desc = text;
  });
}

void KeyboardCtrl::SetTipKey(int keyCode, CString text, CString value) {
  ChangeKey(keyCode, [&](KEY_INFO& key) {
    key.tip_text = text;
    key.tip_value = value;
  });
}

void KeyboardCtrl::ResetTipKey() {
  ChangeAll([](KEY_INFO& key) {
    key.tip_text.Empty();
    key.tip_value.Empty();
  });
}

void KeyboardCtrl::SetTips(KEY_INFO* key, CRect keyRect, bool show) {
  if (!m_tipsEnabled) return;
  if (!m_tips) {
    m_tips = std::make_unique<CKeyboardTips>();
    HWND owner = m_pManager ? m_pManager->GetPaintWnd() : nullptr;
    m_tips->Create(owner, L"KeyboardTip Window", kTipStyle, 0, CRect());
    m_tips->LoadBKImage(L"img_tip_bk.png");
  }
  if (!m_tips->GetSafeHwnd()) return;
  if (!show) {
    m_tips->ShowWindow(SW_HIDE);
    return;
  }
  if (!key) return;  // nothing to show
  POINT anchor = {keyRect.left + (keyRect.right - keyRect.left) / 2, keyRect.top};
  if (m_pManager && m_pManager->GetPaintWnd()) ::ClientToScreen(m_pManager->GetPaintWnd(), &anchor);
  {
    CriticalSectionLock lock(m_lock);
    if (!key->tip_text.IsEmpty() || !key->tip_value.IsEmpty()) {
      m_tips->SetAirBladderMsg(key->desc, key->tip_text, key->tip_value, anchor);
    } else {
      m_tips->SetAirBladderMsg(key->desc, L"Keyboard", key->desc, anchor);
    }
  }
  m_tips->ShowWindow(SW_SHOW);
}

// ---- Colours and selection ----

void KeyboardCtrl::SetKeyColor(int keyCode, COLORREF color) {
  ChangeKey(keyCode, [&](KEY_INFO& key) { key.color = color; });
}

void KeyboardCtrl::ResetAllItemsColor(COLORREF color) {
  ChangeAll([&](KEY_INFO& key) { key.color = color; });
  RequestRepaint();
}

void KeyboardCtrl::SetLightModeColor(int flag, COLORREF color) {
  if (flag != 0) return;
  ResetAllItemsColor(color);
}

void KeyboardCtrl::SetAllSelectColor(COLORREF color) {
  {
    CriticalSectionLock lock(m_lock);
    for (size_t i = 0; i < m_items.size(); ++i) {
      if (static_cast<int>(i) == m_pressIndex || m_items[i]->checked) m_items[i]->color = color;
    }
    m_selectColor = color;
  }
  RequestRepaint();
}

void KeyboardCtrl::SetKeyCheck(int keyCode, int check) {
  ChangeKey(keyCode, [&](KEY_INFO& key) { key.checked = check; });
}

void KeyboardCtrl::ResetAllItemCheck() {
  ChangeAll([](KEY_INFO& key) { key.checked = 0; });
  m_pressIndex = -1;
  RequestRepaint();
}

void KeyboardCtrl::ResetAllItemCheck(int check) {
  ChangeAll([&](KEY_INFO& key) { key.checked = check; });
  m_pressIndex = -1;
  m_advPicks.clear();
  m_pickSlot = 0;
  RequestRepaint();
}

void KeyboardCtrl::InvertSelectItem() {
  ChangeAll([](KEY_INFO& key) { key.checked = key.checked ? 0 : 1; });
  m_pressIndex = -1;
  RequestRepaint();
}

int KeyboardCtrl::GetCheckItemCount() {
  CriticalSectionLock lock(m_lock);
  return static_cast<int>(
      std::count_if(m_items.begin(), m_items.end(), [](const auto& item) { return item->checked != 0; }));
}

int KeyboardCtrl::GetSelectKey() {
  {
    CriticalSectionLock lock(m_lock);
    for (const auto& item : m_items) {
      if (item->checked) {
        m_selectKey = item->key_code;
        break;
      }
    }
  }
  return m_selectKey >= 1 && m_selectKey <= 255 ? m_selectKey : -1;
}

void KeyboardCtrl::SetCurrentKeyValue(int value) {
  m_curKeyValue = value;
  if (value != -1) return;
  m_pressIndex = -1;
  RequestRepaint();
}

int KeyboardCtrl::GetCurrentKeyValue() {
  if (m_mode != KBMODE_ADVKEY) return m_curKeyValue;
  auto pack = [](int low, int high) {
    return static_cast<int>((static_cast<DWORD>(low) & 0xFFFF) | ((static_cast<DWORD>(high) & 0xFFFF) << 16));
  };
  if (m_advPicks.size() == 1) {
    const auto& [slot, code] = m_advPicks[0];
    return slot == 0 ? pack(code, 0) : pack(0, code);
  }
  if (m_advPicks.size() == 2) {
    const int first = m_advPicks[0].second, second = m_advPicks[1].second;
    return m_advPicks[0].first == 0 ? pack(first, second) : pack(second, first);
  }
  return 0;
}

int KeyboardCtrl::DeleteSelectItem(int keyCode) {
  const auto pick = std::find_if(m_advPicks.begin(), m_advPicks.end(),
                                 [&](const std::pair<int, int>& p) { return p.second == keyCode; });
  if (pick == m_advPicks.end()) return m_advPicks.empty() ? 0 : -1;
  const int slot = pick->first;
  const bool only = m_advPicks.size() == 1;
  m_advPicks.erase(pick);
  return only ? 0 : slot;
}

void KeyboardCtrl::ClearSelectItem() {
  m_advPicks.clear();
  m_pickSlot = 0;
}

// ---- Performance block ----

void KeyboardCtrl::SetKeyPerfInfo(int keyCode, int switchType, int keyMode, int actuation, int rtPress,
                                  int rtRelease, int pressDeadzone, int releaseDeadzone, int deadzoneState) {
  const PerfBlock block{switchType, keyMode, actuation, rtPress, rtRelease, pressDeadzone, releaseDeadzone, deadzoneState};
  const bool found = ChangeKey(keyCode, [&](KEY_INFO& key) { block.WriteTo(key); });
  if (found) RequestRepaint();
}

void KeyboardCtrl::GetKeyPerfInfo(int keyCode, int& switchType, int& keyMode, int& actuation, int& rtPress,
                                  int& rtRelease, int& pressDeadzone, int& releaseDeadzone, int& deadzoneState) {
  ChangeKey(keyCode, [&](KEY_INFO& key) {
    switchType = key.switch_type;
    keyMode = key.key_mode;
    actuation = key.key_actuation;
    rtPress = key.rt_press;
    rtRelease = key.rt_release;
    pressDeadzone = key.press_deadzone;
    releaseDeadzone = key.release_deadzone;
    deadzoneState = key.deadzone_state;
  });
}

void KeyboardCtrl::SetKeyPerfInfo(int switchType, int keyMode, int actuation, int rtPress, int rtRelease,
                                  int pressDeadzone, int releaseDeadzone, int deadzoneState) {
  const PerfBlock block{switchType, keyMode, actuation, rtPress, rtRelease, pressDeadzone, releaseDeadzone, deadzoneState};
  ChangeChecked([&](KEY_INFO& key) { block.WriteTo(key); });
  RequestRepaint();
}

void KeyboardCtrl::SetKeyPerfInfo(int mode, int actuation, int rtPress, int rtRelease, int pressDeadzone,
                                  int releaseDeadzone, int deadzoneState) {
  ChangeAll([&](KEY_INFO& key) {
    key.key_mode = WithRapidTriggerMode(key.key_mode, mode);
    key.key_actuation = actuation;
    key.rt_press = rtPress;
    key.rt_release = rtRelease;
    key.press_deadzone = pressDeadzone;
    key.release_deadzone = releaseDeadzone;
    key.deadzone_state = deadzoneState;
  });
  RequestRepaint();
}

void KeyboardCtrl::SetKeyPerfInfo(int keyCode, int mode, int actuation, int rtPress, int rtRelease, int rtFlag) {
  ChangeAll([&](KEY_INFO& key) {
    if (key.key_code != keyCode) return;
    key.key_actuation = actuation;
    if (rtFlag) {
      key.key_mode = WithRapidTriggerMode(key.key_mode, mode);
      key.rt_press = rtPress;
      key.rt_release = rtRelease;
    } else {
      key.key_mode = mode;
    }
  });
  RequestRepaint();
}

void KeyboardCtrl::SetKeyPerfInfo(int keyMode, int actuation, int rtPress, int rtRelease) {
  ChangeAll([&](KEY_INFO& key) {
    key.key_mode = keyMode;
    key.key_actuation = actuation;
    key.rt_press = rtPress;
    key.rt_release = rtRelease;
  });
  RequestRepaint();
}

void KeyboardCtrl::SetKeyActuation(int actuation) {
  ChangeChecked([&](KEY_INFO& key) { key.key_actuation = actuation; });
  RequestRepaint();
}

void KeyboardCtrl::SetKeyRapidTrigger(int mode, int press, int release) {
  ChangeChecked([&](KEY_INFO& key) {
    key.key_mode = WithRapidTriggerMode(key.key_mode, mode);
    key.rt_press = press;
    key.rt_release = release;
  });
  RequestRepaint();
}

void KeyboardCtrl::SetBottomrapidtrigger(int state, int release) {
  ChangeAll([&](KEY_INFO& key) {
    key.deadzone_state = state;
    key.release_deadzone = release;
  });
  RequestRepaint();
}

void KeyboardCtrl::SetDeadZoneState(int state) {
  ChangeChecked([&](KEY_INFO& key) { key.deadzone_state = state; });
  RequestRepaint();
}

void KeyboardCtrl::SetDeadZoneValue(int press, int release, int state) {
  ChangeChecked([&](KEY_INFO& key) {
    // A switch type without a travel entry has no deepest position to keep to.
    const int travel = SwitchTravel(key.switch_type);
    if (travel >= 0) {
      const int deepest = travel / 2 - release;
      if (key.key_actuation < press) {
        key.key_actuation = press;
      } else if (key.key_actuation > deepest) {
        key.key_actuation = deepest;
      }
    }
    key.deadzone_state = state;
    key.press_deadzone = press;
    key.release_deadzone = release;
  });
  RequestRepaint();
}

void KeyboardCtrl::SetKeySwitchType(int type) {
  ChangeChecked([&](KEY_INFO& key) { key.switch_type = type; });
  RequestRepaint();
}

void KeyboardCtrl::SetKeyPerfSwitchType(int type) {
  ChangeAll([&](KEY_INFO& key) { key.switch_type = type; });
  RequestRepaint();
}

int KeyboardCtrl::GetKeySwicthType() {
  const KEY_INFO* first = nullptr;
  CriticalSectionLock lock(m_lock);
  for (const auto& item : m_items) {
    if (!item->checked) continue;
    if (!first) {
      first = item.get();
    } else if (item->switch_type != first->switch_type) {
      return -2;
    }
  }
  return first ? first->switch_type : -1;
}

// ---- Live samples ----

void KeyboardCtrl::SetKeyActuation(int keyCode, int travel) {
  if (ChangeKey(keyCode, [&](KEY_INFO& key) { key.live_travel = travel; })) RequestRepaint();
}

void KeyboardCtrl::SetKeyCalibration(int keyCode, int travel, int progress, int info, int peak) {
  const bool found = ChangeKey(keyCode, [&](KEY_INFO& key) {
    key.calib_travel = travel;
    key.calib_progress = progress;
    key.calib_info = info;
    key.calib_peak = std::max(key.calib_peak, peak);
  });
  if (found) RequestRepaint();
}

void KeyboardCtrl::ResetKeyCalibration() {
  ChangeAll([](KEY_INFO& key) {
    key.calib_travel = 0;
    key.calib_progress = 0;
    key.calib_info = 0;
    key.calib_peak = 0;
  });
  RequestRepaint();
}

}  // namespace TESK
