#include "ui/keyboard/CKeyTestCtrl.h"

#include "ui/controls/SurfaceCell.h"
#include "ui/core/MRender.h"
#include "ui/core/Manager.h"

namespace TESK {

namespace {

constexpr int kHeld = 255;
constexpr int kFadeStart = 251;
constexpr int kFadeStep = 5;
constexpr int kFadeEnd = 50;  // a label fading below this is removed

constexpr Gdiplus::ARGB kBackground = 0xFF393B50;
constexpr float kBackgroundRadius = 10.0f;
constexpr Gdiplus::ARGB kCellRgb = 0xE8E8E8;
constexpr float kNameSize = 12.0f;
// Cells of 36 px, 46 apart, from (10, 10); a cell that would start beyond the control's size
// less 36 wraps (across) or is not drawn (down).
constexpr int kCell = 36;
constexpr int kCellPitch = 46;
constexpr int kFirstCell = 10;

Gdiplus::ARGB WithAlpha(int alpha, Gdiplus::ARGB rgb) {
  return (static_cast<Gdiplus::ARGB>(alpha) << 24) + (rgb & 0x00FFFFFFu);
}

}  // namespace

CKeyTestCtrl::CKeyTestCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1) {
  m_bRunning = 1;  // lets the ticks fade the labels
}

CKeyTestCtrl::~CKeyTestCtrl() {
  CriticalSectionLock lock(m_labelLock);
  m_labels.clear();
}

// ---- Labels ----

void CKeyTestCtrl::AddKey(CString name, int key) {
  {
    CriticalSectionLock lock(m_labelLock);
    m_labels.push_back(KEY_LABEL_ITEM{name, key, kHeld, CRect()});
  }
  RepaintIfVisibleFromAnyThread();
}

void CKeyTestCtrl::RemoveKey(int key) {
  CriticalSectionLock lock(m_labelLock);
  for (KEY_LABEL_ITEM& label : m_labels) {
    if (label.key == key && label.alpha == kHeld) {
      label.alpha = kFadeStart;
      break;
    }
  }
}

void CKeyTestCtrl::ClearList() {
  {
    CriticalSectionLock lock(m_labelLock);
    m_labels.clear();
  }
  RepaintIfVisibleFromAnyThread();
}

std::vector<KEY_LABEL_ITEM> CKeyTestCtrl::GetLabels() {
  CriticalSectionLock lock(m_labelLock);
  return m_labels;
}

// A repaint is asked for whenever a label faded or went, so that the last one to go is also
// wiped from the screen; held labels alone change nothing.
int CKeyTestCtrl::OnControlTimer() {
  if (!m_bRunning || !m_bVisible) return 0;
  bool changed = false;
  {
    CriticalSectionLock lock(m_labelLock);
    for (auto it = m_labels.begin(); it != m_labels.end(); ++it) {
      if (it->alpha == kHeld) continue;
      changed = true;
      it->alpha -= kFadeStep;
      if (it->alpha < kFadeEnd) {
        m_labels.erase(it);
        break;
      }
    }
  }
  if (changed) RepaintIfVisibleFromAnyThread();
  return 1;
}

// ---- Drawing ----

void CKeyTestCtrl::DrawControl(HDC& dc, CRect) {
  DrawSurfaceCell(*this, dc, m_hCacheDC, [this](Gdiplus::Graphics& g, int, int) { RenderLabels(g); });
}

void CKeyTestCtrl::RenderLabels(Gdiplus::Graphics& g) {
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
  const int w = m_rect.Width(), h = m_rect.Height();
  MRender::DrawRoundRectange(g, 1, 1, static_cast<float>(w - 2), static_cast<float>(h - 2), kBackgroundRadius,
                             Gdiplus::Color(kBackground), 1.0f, Gdiplus::Color(kBackground));

  FallbackFontFamily fallback;
  const Gdiplus::Font font(fallback.Or(GetFontFamily(m_strFontName)), kNameSize, Gdiplus::FontStyleRegular,
                           Gdiplus::UnitPixel);
  Gdiplus::StringFormat format;
  SetFormatAlignment(format, DT_CENTER, DT_VCENTER);
  const Gdiplus::SolidBrush text{Gdiplus::Color(m_textColor)};

  CriticalSectionLock lock(m_labelLock);
  int x = kFirstCell, y = kFirstCell;
  for (auto it = m_labels.rbegin(); it != m_labels.rend(); ++it) {
    if (y > h - kCell) break;
    KEY_LABEL_ITEM& label = *it;
    label.rect = CRect(x, y, x + kCell, y + kCell);
    const Gdiplus::SolidBrush cell{Gdiplus::Color(WithAlpha(label.alpha, kCellRgb))};
    g.FillRectangle(&cell, x, y, kCell, kCell);
    const Gdiplus::Pen outline(Gdiplus::Color(WithAlpha(label.alpha, Manager::m_down_color)), 1.0f);
    g.DrawRectangle(&outline, x + 1, y + 1, kCell - 1, kCell - 1);
    if (!label.name.IsEmpty() && font.IsAvailable()) {
      const Gdiplus::RectF box(static_cast<float>(x), static_cast<float>(y), kCell, kCell);
      g.DrawString(label.name, label.name.GetLength(), &font, box, &format, &text);
    }
    x += kCellPitch;
    if (x > w - kCell) {
      x = kFirstCell;
      y += kCellPitch;
    }
  }
}

}  // namespace TESK
