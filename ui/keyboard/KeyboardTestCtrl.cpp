#include "ui/keyboard/KeyboardTestCtrl.h"

#include "ui/controls/SurfaceCell.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace {

constexpr Gdiplus::ARGB kReleased = 0xFFE74250;  // state 1
constexpr Gdiplus::ARGB kHeld = 0xFF21A939;      // state 2
constexpr Gdiplus::ARGB kUntouched = 0xFFE8E8E8;
constexpr Gdiplus::ARGB kOutline = 0xFF646464;
constexpr Gdiplus::ARGB kBand = 0xFFC8C8C8;
constexpr float kOutlineWidth = 2.0f;
// The rounded frame around the layout: 30 px wider on each side, 3 px inside the control.
constexpr int kFrameMargin = 30;
constexpr int kFrameInset = 3;
constexpr float kFrameRadius = 20.0f;
constexpr float kNameSize = 10.0f;
constexpr int kNameTop = 5;  // the name's box starts this far down the key
constexpr int kCornerMark = 10;

Gdiplus::ARGB StateColour(int state) { return state == 1 ? kReleased : state == 2 ? kHeld : kUntouched; }

}  // namespace

KeyboardTestCtrl::KeyboardTestCtrl(MObject* owner, UINT id, CRect rect, int visible)
    : MPanel(owner, id, rect, visible), m_offset(6, 6), m_nLayoutWidth(0), m_nLayoutHeight(0) {}

KeyboardTestCtrl::~KeyboardTestCtrl() {
  CriticalSectionLock lock(m_keyLock);
  m_keys.clear();
}

void KeyboardTestCtrl::InitControl(PaintManager* manager) {
  MPanel::InitControl(manager);
  SetControlRect(m_rect);
}

void KeyboardTestCtrl::SetControlRect(CRect rect) {
  m_rect = rect;
  if (m_nLayoutWidth != 0 && m_nLayoutHeight != 0) CentreLayout();
  RepaintIfVisible();
}

// ---- Keys ----

int KeyboardTestCtrl::AddKeyItem(CString name, int keyCode, CString image, CRect rect) {
  auto key = std::make_unique<TEST_KEY_ITEM>();
  key->keyCode = keyCode;
  key->name = name;
  key->picture.Load(image);
  key->rect = rect;
  CriticalSectionLock lock(m_keyLock);
  key->index = static_cast<int>(m_keys.size());
  m_keys.push_back(std::move(key));
  return m_keys.back()->index;
}

void KeyboardTestCtrl::SetWidthAndHeight(int width, int height) {
  m_nLayoutWidth = width;
  m_nLayoutHeight = height;
  CentreLayout();
}

void KeyboardTestCtrl::CentreLayout() {
  if (m_rect.IsRectEmpty()) return;
  m_offset = CPoint((m_rect.Width() - m_nLayoutWidth) / 2, (m_rect.Height() - m_nLayoutHeight) / 2);
}

void KeyboardTestCtrl::SetKeyState(int keyCode, int state) {
  {
    CriticalSectionLock lock(m_keyLock);
    for (const auto& key : m_keys) {
      if (key->keyCode == keyCode) {
        key->state = state;
        break;
      }
    }
  }
  RepaintIfVisible();
}

void KeyboardTestCtrl::ResetKeyState() {
  {
    CriticalSectionLock lock(m_keyLock);
    for (const auto& key : m_keys) key->state = 0;
  }
  RepaintIfVisible();
}

void KeyboardTestCtrl::ClearItem() {
  {
    CriticalSectionLock lock(m_keyLock);
    m_keys.clear();
  }
  RepaintIfVisible();
}

CRect KeyboardTestCtrl::GetRealRect(const CRect& key) const {
  CRect moved = key;
  moved.OffsetRect(m_offset.x, m_offset.y);
  return moved;
}

// ---- Drawing ----

void KeyboardTestCtrl::DrawControl(HDC& dc, CRect) {
  DrawSurfaceCell(*this, dc, m_hCacheDC, [this](Gdiplus::Graphics& g, int, int) { RenderKeys(g); });
}

void KeyboardTestCtrl::RenderKeys(Gdiplus::Graphics& g) {
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
  const int w = m_rect.Width(), h = m_rect.Height();
  MRender::DrawRoundRectange(g, static_cast<float>((w - m_nLayoutWidth - 2 * kFrameMargin) / 2),
                             static_cast<float>(kFrameInset), static_cast<float>(m_nLayoutWidth + 2 * kFrameMargin),
                             static_cast<float>(h - 2 * kFrameInset), kFrameRadius, Gdiplus::Color(kOutline),
                             kOutlineWidth, Gdiplus::Color(0));

  FallbackFontFamily fallback;
  const Gdiplus::Font font(fallback.Or(GetFontFamily(m_strFontName)), kNameSize, m_nFontStyle, Gdiplus::UnitPixel);
  Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
  SetFormatAlignment(format, DT_CENTER, DT_VCENTER);
  const Gdiplus::SolidBrush text{Gdiplus::Color(m_textColor)};
  const Gdiplus::Pen outline(Gdiplus::Color(kOutline), kOutlineWidth);

  CriticalSectionLock lock(m_keyLock);
  for (const auto& key : m_keys) {
    const CRect r = GetRealRect(key->rect);
    const Gdiplus::SolidBrush fill{Gdiplus::Color(StateColour(key->state))};
    g.FillRectangle(&fill, r.left, r.top, r.Width(), r.Height());
    g.DrawRectangle(&outline, r.left + 2, r.top + 2, r.Width() - 2, r.Height() - 2);
    if (key->picture.image) {
      g.DrawImage(key->picture.image.get(), r.left + (r.Width() - key->picture.width) / 2,
                  r.top + (r.Height() - key->picture.height) / 2, key->picture.width, key->picture.height);
    } else if (!key->name.IsEmpty() && font.IsAvailable()) {
      const Gdiplus::RectF box(static_cast<float>(r.left + 1), static_cast<float>(r.top + kNameTop),
                               static_cast<float>(r.Width()), static_cast<float>(r.Height()));
      g.DrawString(key->name, key->name.GetLength(), &font, box, &format, &text);
    }
  }
}

void KeyboardTestCtrl::DrawRectange(Gdiplus::Graphics& g, float x, float y, float w, float h, Gdiplus::Color frame,
                                    Gdiplus::Color fill, bool corner, int barHeight) {
  const Gdiplus::SolidBrush inside(fill);
  g.FillRectangle(&inside, x, y, w, h);
  if (barHeight > 0) {
    const Gdiplus::SolidBrush band{Gdiplus::Color(kBand)};
    g.FillRectangle(&band, x, y, w, static_cast<float>(barHeight));
  }
  const Gdiplus::Pen pen(frame, kOutlineWidth);
  g.DrawRectangle(&pen, x + 2, y + 2, w - 2, h - 2);
  if (!corner) return;
  const Gdiplus::PointF mark[] = {{x + w - kCornerMark, y + 1}, {x + w, y + 1}, {x + w, y + kCornerMark}};
  const Gdiplus::SolidBrush markBrush(frame);
  g.FillPolygon(&markBrush, mark, 3);
}

}  // namespace TESK
