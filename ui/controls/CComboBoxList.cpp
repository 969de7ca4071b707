#include "ui/controls/CComboBoxList.h"

#include <algorithm>

#include "ui/controls/CScrollHorizontal.h"
#include "ui/controls/CScrollVertical.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace {

constexpr INT kRowFormat = Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces;
constexpr LPARAM kClickedRowMark = 19;
constexpr int kWheelRows = 2;
constexpr int kFarTextGap = 18;
constexpr Gdiplus::ARGB kSelectedFrame = 0x37596EFF;

}  // namespace

CComboBoxList::CComboBoxList(MObject* owner, UINT id, CRect rect, int visible, int)
    : MPanel(owner, id, rect, visible),
      m_nHover(-1),
      m_nSelected(-1),
      m_nRowHeight(kRowHeight),
      m_nFirstVisible(-1),
      m_nLastVisible(-1),
      m_nFirstOffset(0),
      m_nRowAlignment(0) {}

CComboBoxList::~CComboBoxList() = default;

// ---- Items ----

int CComboBoxList::AddItem(const wchar_t* text, long data, const wchar_t* image, Gdiplus::Color colour) {
  auto item = std::make_unique<COMBO_ITEM>();
  item->text = text ? text : L"";
  item->image = image ? image : L"";
  item->colour = colour.GetValue();
  item->data = data;
  int count;
  {
    CriticalSectionLock lock(m_itemLock);
    m_items.push_back(std::move(item));
    count = static_cast<int>(m_items.size());
  }
  if (count >= 6) ApplyScrollRule();
  return count - 1;
}

int CComboBoxList::DelAllItems() {
  {
    CriticalSectionLock lock(m_itemLock);
    if (m_items.empty()) return 0;
    m_items.clear();
  }
  m_strTitle = L"";
  m_nHover = -1;
  m_nSelected = -1;
  RequestRepaint();
  return 0;
}

int CComboBoxList::GetItemCount() {
  CriticalSectionLock lock(m_itemLock);
  return static_cast<int>(m_items.size());
}

int CComboBoxList::GetListHeight() { return GetItemCount() * m_nRowHeight; }

CRect CComboBoxList::GetItemRect(int row) {
  CriticalSectionLock lock(m_itemLock);
  if (row < 0 || row >= static_cast<int>(m_items.size())) return CRect();
  return CRect(m_items[row]->hitRect);
}

// ---- Geometry and scrolling ----

void CComboBoxList::ApplyScrollRule() { FitBar(m_pScrollV, GetListHeight(), m_rect.Height()); }

void CComboBoxList::RequestRepaint() {
  if (m_bVisible && m_pParent) m_pParent->OnControlUpdate(m_rect, 1, this);
}

void CComboBoxList::SetControlRect(CRect rect) {
  if (rect == m_rect) return;
  m_rect = rect;
  PlaceBar(m_pScrollV, CRect(rect.right - m_nScrollThickness, rect.top, rect.right, rect.bottom));
  PlaceBar(m_pScrollH, CRect(rect.left, rect.bottom - m_nScrollThickness, rect.right, rect.bottom));
  ApplyScrollRule();
}

LRESULT CComboBoxList::OnMessage(UINT id, UINT code, WPARAM, LPARAM) {
  if (id == 1 && code == NOTIFY_CHANGING) RequestRepaint();
  return 1;
}

int CComboBoxList::OnControlScroll(int, UINT direction, CPoint) {
  if (GetListHeight() <= m_rect.Height()) return 0;
  if (m_pScrollV->ScrollRow(direction == 1 ? kWheelRows : -kWheelRows)) RequestRepaint();
  return 1;
}

void CComboBoxList::ComputeView(int& offset, int& first, int& last, int& firstOffset) const {
  const int rows = static_cast<int>(m_items.size());
  const int R = m_nRowHeight;
  const int h = m_rect.Height();
  const int range = m_pScrollV->GetScrollMaxRange();
  offset = 0;
  if (range > 0 && rows * R > h) {
    offset = static_cast<int>(static_cast<long long>(rows * R - h) * m_pScrollV->GetScrollCurrentPos() / range);
  }
  first = std::max(0, offset / R);
  last = std::max(0, std::min(rows - 1, (offset + h) / R));
  firstOffset = std::max(0, offset - first * R);
}

// ---- Mouse ----

int CComboBoxList::OnControlMouseMove(UINT, CPoint pt) {
  int hover = -1;
  {
    CriticalSectionLock lock(m_itemLock);
    const int rows = static_cast<int>(m_items.size());
    if (rows == 0) return 0;
    if (m_rect.PtInRect(pt)) {
      if (m_nHover >= 0 && m_nHover < rows && ::PtInRect(&m_items[m_nHover]->hitRect, pt)) return 1;
      for (int i = std::max(0, m_nFirstVisible); m_nFirstVisible >= 0 && i <= m_nLastVisible && i < rows; ++i) {
        if (::PtInRect(&m_items[i]->hitRect, pt)) {
          hover = i;
          break;
        }
      }
    }
  }
  if (hover != m_nHover) {
    m_nHover = hover;
    RequestRepaint();
  }
  return 1;
}

int CComboBoxList::OnControlLButtonDown(UINT, CPoint) {
  if (GetItemCount() == 0) return 0;
  if (m_nSelected != m_nHover) {
    m_nSelected = m_nHover;
    RequestRepaint();
  }
  return 0;
}

int CComboBoxList::OnControlLButtonUp(UINT, CPoint) {
  if (m_nSelected != -1) SendMessageW(NOTIFY_CLICKED, m_nSelected, kClickedRowMark);
  return 0;
}

// ---- Drawing ----

void CComboBoxList::DrawControl(HDC& dc, CRect) {
  const int R = m_nRowHeight;
  const int h = m_rect.Height();
  const int w = m_rect.Width() - (m_pScrollV->IsVisible() ? m_nScrollThickness : 0);
  if (w <= 0 || h <= 0) return;
  CriticalSectionLock lock(m_itemLock);
  int offset, first, last, firstOffset;
  ComputeView(offset, first, last, firstOffset);
  m_nDerivedValue1 = offset;
  m_nFirstVisible = first;
  m_nLastVisible = last;
  m_nFirstOffset = firstOffset;
  if (!m_bCacheValid) {
    const int surfaceHeight = std::max(h, R * (last - first + 1));
    UpdateMemDC(dc, w, surfaceHeight);
    if (!m_hCacheDC) return;
    RECT all = {0, 0, w, surfaceHeight};
    MRender::FillSolidRect(m_hCacheDC, &all, RGB(255, 255, 255));
    ::BitBlt(m_hCacheDC, 0, firstOffset, w, h, dc, m_rect.left, m_rect.top, SRCCOPY);
    const int rows = static_cast<int>(m_items.size());
    // Far, centre or near by the list's alignment; other values keep the last one.
    if (m_nAlignment <= 2) m_nRowAlignment = m_nAlignment;
    Gdiplus::Graphics g(m_hCacheDC);
    for (int i = first; i <= last && i < rows; ++i) {
      const int J = i - first;
      COMBO_ITEM& item = *m_items[i];
      item.hitRect = {m_rect.left, m_rect.top + J * R - firstOffset, m_rect.right - m_nScrollThickness,
                      m_rect.top + (J + 1) * R - firstOffset};
      const auto fx = 1.0f, fy = static_cast<float>(J * R + 2), fw = static_cast<float>(w - 2),
                 fh = static_cast<float>(R - 1);
      if (i == m_nSelected) {
        MRender::DrawRectange(g, fx, fy, fw, fh, Gdiplus::Color(kSelectedFrame), Gdiplus::Color(kSelectedFill));
      } else if (i == m_nHover) {
        MRender::DrawRectange(g, fx, fy, fw, fh, Gdiplus::Color(kHoverFill), Gdiplus::Color(kHoverFill));
      }
      const int textWidth = m_nRowAlignment == 2 ? w - kFarTextGap : w;
      const Gdiplus::RectF layout(0.0f, static_cast<float>(J * R), static_cast<float>(textWidth), static_cast<float>(R));
      DrawTitleText(g, item.text, layout, kRowFormat, m_textRenderingHint, m_nRowAlignment, DT_VCENTER, kRowTextColour);
    }
  }
  ::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_hCacheDC, 0, firstOffset, SRCCOPY);
}

}  // namespace TESK
