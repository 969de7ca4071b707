#include "ui/keyboard/KeyTypeTab.h"

#include "ui/controls/SurfaceCell.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace {

constexpr int kDefaultCellSize = 60;
// Row: cells lie this far apart, and the current one has a bar under its middle.
constexpr int kRowGap = 30;
constexpr int kUnderlineWidth = 60;
constexpr int kUnderlineHeight = 5;
constexpr Gdiplus::ARGB kRowCurrent = 0xFF468EF7;  // text and underline
constexpr Gdiplus::ARGB kRowText = 0xFFFFFFFF;
// Column: the current cell lies on a light rounded plate; the text colour is the control's.
constexpr float kPlateRadius = 6.0f;
constexpr Gdiplus::ARGB kPlateOutline = 0xFF575757;
constexpr Gdiplus::ARGB kPlateFill = 0xFFE8E8E8;
constexpr Gdiplus::ARGB kColumnText = 0xFF808788;

Gdiplus::RectF ToRectF(const CRect& r) {
  return Gdiplus::RectF(static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.Width()),
                        static_cast<float>(r.Height()));
}

}  // namespace

KeyTypeTab::KeyTypeTab(MObject* owner, UINT id, CRect rect, int visible, int enabled, KEY_TYPE_TAB_TYPE type)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_type(type),
      m_nItemWidth(kDefaultCellSize),
      m_nItemHeight(kDefaultCellSize) {
  m_pointer.select = 0;
}

KeyTypeTab::~KeyTypeTab() {
  CriticalSectionLock lock(m_tabLock);
  m_tabs.clear();
}

// ---- Tabs ----

int KeyTypeTab::AddKeyType(CString name, int data) {
  CriticalSectionLock lock(m_tabLock);
  m_tabs.push_back(std::make_unique<Tab>(Tab{name, data, CRect()}));
  return static_cast<int>(m_tabs.size()) - 1;
}

void KeyTypeTab::SetSelectKeyType(int index) {
  m_pointer.select = index;
  RepaintIfVisible();
}

int KeyTypeTab::GetSelectItem() { return m_pointer.select; }

void KeyTypeTab::SetItemText(int index, CString name) {
  {
    CriticalSectionLock lock(m_tabLock);
    if (!PaintedItemPointer::Names(m_tabs, index)) return;
    m_tabs[index]->name = name;
  }
  RepaintIfVisible();
}

CString KeyTypeTab::GetItemText(int index) {
  CriticalSectionLock lock(m_tabLock);
  if (!PaintedItemPointer::Names(m_tabs, index)) return CString();
  return m_tabs[index]->name;
}

int KeyTypeTab::GetItemCount() {
  CriticalSectionLock lock(m_tabLock);
  return static_cast<int>(m_tabs.size());
}

void KeyTypeTab::SetItemWidthAndHeight(int width, int height) {
  m_nItemWidth = width;
  m_nItemHeight = height;
}

void KeyTypeTab::ClearAllItems() {
  {
    CriticalSectionLock lock(m_tabLock);
    m_tabs.clear();
  }
  m_pointer.hover = -1;
  m_pointer.select = 0;
  RepaintIfVisible();
}

void KeyTypeTab::SetKeyTypeTabType(KEY_TYPE_TAB_TYPE type) { m_type = type; }

// ---- Input ----

int KeyTypeTab::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  return m_pointer.Move(m_tabs, m_tabLock, m_rect, pt, [this] { RepaintIfVisible(); });
}

int KeyTypeTab::OnControlLButtonDown(UINT, CPoint) { return m_bEnabled ? 1 : 0; }

int KeyTypeTab::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  return m_pointer.Release(m_tabs, m_tabLock, m_rect, pt, [this] { RepaintIfVisible(); },
                           [this](int index) { SendMessageW(NOTIFY_CLICKED, static_cast<WPARAM>(index), 0); });
}

// ---- Drawing ----

void KeyTypeTab::DrawControl(HDC& dc, CRect) {
  DrawSurfaceCell(*this, dc, m_hCacheDC, [this](Gdiplus::Graphics& g, int, int) { RenderTabs(g); });
}

void KeyTypeTab::RenderTabs(Gdiplus::Graphics& g) {
  g.SetTextRenderingHint(m_textRenderingHint);
  FallbackFontFamily fallback;
  const std::unique_ptr<Gdiplus::Font> font = CreateTitleFont(fallback);
  Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
  SetFormatAlignment(format, DT_CENTER, DT_VCENTER);
  const int w = m_nItemWidth, h = m_nItemHeight;

  CriticalSectionLock lock(m_tabLock);
  for (size_t i = 0; i < m_tabs.size(); ++i) {
    Tab& tab = *m_tabs[i];
    const bool current = static_cast<int>(i) == m_pointer.select || static_cast<int>(i) == m_pointer.hover;
    Gdiplus::ARGB text = 0;
    if (m_type == KEY_TYPE_TAB_HORIZONTAL) {
      const int x = static_cast<int>(i) * (w + kRowGap);
      tab.rect = CRect(x, 0, x + w, h);
      if (current) {
        Gdiplus::SolidBrush bar{Gdiplus::Color(kRowCurrent)};
        g.FillRectangle(&bar, x + (w - kUnderlineWidth) / 2, h - 2, kUnderlineWidth, kUnderlineHeight);
      }
      text = current ? kRowCurrent : kRowText;
    } else if (m_type == KEY_TYPE_TAB_VERTICAL) {
      const int y = static_cast<int>(i) * h;
      tab.rect = CRect(0, y, w, y + h);
      if (current) {
        MRender::DrawRoundRectange(g, 1.0f, static_cast<float>(y + 1), static_cast<float>(w - 2),
                                   static_cast<float>(h - 2), kPlateRadius, Gdiplus::Color(kPlateOutline), 1.0f,
                                   Gdiplus::Color(kPlateFill));
      }
      text = current ? m_textColor : kColumnText;
    } else {
      // A strip of no known orientation shows nothing and offers nothing to the pointer.
      tab.rect = CRect();
      continue;
    }
    if (!font) continue;
    Gdiplus::SolidBrush brush{Gdiplus::Color(text)};
    g.DrawString(tab.name, tab.name.GetLength(), font.get(), ToRectF(tab.rect), &format, &brush);
  }
}

}  // namespace TESK
