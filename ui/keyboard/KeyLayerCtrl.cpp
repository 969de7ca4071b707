#include "ui/keyboard/KeyLayerCtrl.h"

#include "ui/core/PaintManager.h"

namespace TESK {

namespace {

using Gdiplus::ARGB;
using Gdiplus::Color;

constexpr int kTabWidth = 120;   // horizontal tabs
constexpr int kTabHeight = 28;   // both layouts
constexpr ARGB kHighlight = 0xFF468EF7;
constexpr ARGB kHorizontalText = 0xFFFFFFFF;
constexpr ARGB kVerticalText = 0xFF808788;
// The underline of a highlighted horizontal tab and the side bar of a vertical one.
constexpr int kUnderlineInset = 30, kUnderlineTop = 26, kUnderlineWidth = 60, kUnderlineHeight = 2;
constexpr int kBarTop = 5, kBarWidth = 5, kBarHeight = 18;
constexpr int kVerticalTextInset = 15;
// No wrapping; trailing blanks are measured.
constexpr INT kTabFormat = Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces;

}  // namespace

KeyLayerCtrl::KeyLayerCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled, KEY_LAYER_CTRL_TYPE type)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1), m_type(type), m_hover(-1), m_select(0) {}

KeyLayerCtrl::~KeyLayerCtrl() = default;

void KeyLayerCtrl::RequestRepaint() {
  if (m_bVisible && m_pParent) m_pParent->OnControlUpdate(m_rect, 1, this);
}

int KeyLayerCtrl::AddKeyLayer(CString name, int id) {
  CriticalSectionLock lock(m_lock);
  m_tabs.push_back(std::make_unique<Tab>(Tab{id, name, CRect()}));
  return static_cast<int>(m_tabs.size()) - 1;
}

void KeyLayerCtrl::SetSelectKeyLayer(int id) {
  {
    CriticalSectionLock lock(m_lock);
    for (size_t i = 0; i < m_tabs.size(); ++i) {
      if (m_tabs[i]->id == id) {
        m_select = static_cast<int>(i);
        break;
      }
    }
  }
  RequestRepaint();
}

int KeyLayerCtrl::GetSelectKeyLayerID() {
  CriticalSectionLock lock(m_lock);
  if (m_select < 0 || m_select >= static_cast<int>(m_tabs.size())) return -1;
  return m_tabs[m_select]->id;
}

void KeyLayerCtrl::SetItemText(int index, CString name) {
  {
    CriticalSectionLock lock(m_lock);
    if (index < 0 || index >= static_cast<int>(m_tabs.size())) return;
    m_tabs[index]->name = name;
  }
  RequestRepaint();
}

int KeyLayerCtrl::GetItemCount() {
  CriticalSectionLock lock(m_lock);
  return static_cast<int>(m_tabs.size());
}

CString KeyLayerCtrl::GetItemText(int index) {
  CriticalSectionLock lock(m_lock);
  if (index < 0 || index >= static_cast<int>(m_tabs.size())) return CString();
  return m_tabs[index]->name;
}

int KeyLayerCtrl::GetItemID(int index) {
  CriticalSectionLock lock(m_lock);
  if (index < 0 || index >= static_cast<int>(m_tabs.size())) return -1;
  return m_tabs[index]->id;
}

void KeyLayerCtrl::ClearAllItems() {
  {
    CriticalSectionLock lock(m_lock);
    m_tabs.clear();
    m_hover = -1;
    m_select = 0;
  }
  RequestRepaint();
}

void KeyLayerCtrl::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_bCacheValid) {
    UpdateMemDC(dc, w, h);
    if (!m_hCacheDC) return;
    BitBlt(m_hCacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top, SRCCOPY);
    Gdiplus::Graphics g(m_hCacheDC);
    g.SetTextRenderingHint(m_textRenderingHint);
    CriticalSectionLock lock(m_lock);
    DrawTabs(g, w);
  }
  BitBlt(dc, m_rect.left, m_rect.top, w, h, m_hCacheDC, 0, 0, SRCCOPY);
}

void KeyLayerCtrl::DrawTabs(Gdiplus::Graphics& g, int width) {
  const bool horizontal = m_type == KEY_LAYER_HORIZONTAL;
  if (!horizontal && m_type != KEY_LAYER_VERTICAL) return;
  const Gdiplus::Font font(m_fallbackFamily.Or(m_pManager ? m_pManager->FindTempFont(m_strFontName) : nullptr),
                           static_cast<Gdiplus::REAL>(m_nFontWidth), m_nFontStyle, Gdiplus::UnitPixel);
  Gdiplus::StringFormat format(kTabFormat);
  format.SetAlignment(horizontal ? Gdiplus::StringAlignmentCenter : Gdiplus::StringAlignmentNear);
  format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  for (size_t i = 0; i < m_tabs.size(); ++i) {
    Tab& tab = *m_tabs[i];
    const int n = static_cast<int>(i);
    const bool lit = n == m_select || n == m_hover;
    tab.rect = horizontal ? CRect(kTabWidth * n, 0, kTabWidth * n + kTabWidth, kTabHeight)
                          : CRect(0, kTabHeight * n, width, kTabHeight * n + kTabHeight);
    const CRect& r = tab.rect;
    if (horizontal) {
      Gdiplus::SolidBrush text{Color(lit ? kHighlight : kHorizontalText)};
      const Gdiplus::RectF box(static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.Width()),
                               static_cast<float>(kTabHeight));
      g.DrawString(tab.name, tab.name.GetLength(), &font, box, &format, &text);
      if (lit) g.FillRectangle(&text, r.left + kUnderlineInset, kUnderlineTop, kUnderlineWidth, kUnderlineHeight);
    } else {
      Gdiplus::SolidBrush text{Color(lit ? m_textColor : kVerticalText)};
      const Gdiplus::RectF box(static_cast<float>(r.left + kVerticalTextInset), static_cast<float>(r.top),
                               static_cast<float>(r.Width() - kVerticalTextInset), static_cast<float>(kTabHeight));
      g.DrawString(tab.name, tab.name.GetLength(), &font, box, &format, &text);
      if (lit) g.FillRectangle(&text, 0, r.top + kBarTop, kBarWidth, kBarHeight);
    }
  }
}

bool KeyLayerCtrl::TabContains(int index, CPoint pt) const {
  if (index < 0 || index >= static_cast<int>(m_tabs.size())) return false;
  CRect r = m_tabs[index]->rect;
  r.OffsetRect(m_rect.left, m_rect.top);
  return r.PtInRect(pt);
}

int KeyLayerCtrl::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  int hover = -1;
  {
    CriticalSectionLock lock(m_lock);
    if (TabContains(m_hover, pt)) return 0;
    for (int i = 0; i < static_cast<int>(m_tabs.size()); ++i) {
      if (TabContains(i, pt)) {
        hover = i;
        break;
      }
    }
  }
  if (hover == m_hover) return 0;
  m_hover = hover;
  RequestRepaint();
  return 1;
}

int KeyLayerCtrl::OnControlLButtonDown(UINT, CPoint) { return m_bEnabled ? 1 : 0; }

int KeyLayerCtrl::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  const int before = m_select;
  bool clicked = false;
  int id = 0;
  {
    CriticalSectionLock lock(m_lock);
    if (m_rect.PtInRect(pt) && m_hover >= 0 && m_hover < static_cast<int>(m_tabs.size())) {
      m_select = m_hover;
      clicked = TabContains(m_hover, pt);
      id = m_tabs[m_select]->id;
    }
  }
  if (clicked) SendMessageW(NOTIFY_CLICKED, static_cast<WPARAM>(m_select), static_cast<LPARAM>(id));
  if (m_select == before) return 0;
  RequestRepaint();
  return 1;
}

}  // namespace TESK
