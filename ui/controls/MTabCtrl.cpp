#include "ui/controls/MTabCtrl.h"

#include <algorithm>
#include <cwchar>

#include "ui/controls/MTabLayout.h"
#include "ui/core/GdiHandles.h"
#include "ui/core/MRender.h"
#include "ui/core/Manager.h"
#include "ui/core/PaintManager.h"

namespace TESK {

namespace {

constexpr UINT kSlideTimerKey = 100;
constexpr UINT kSlideTimerMs = 30;
constexpr int kDefaultFrames = 3;

// Caption colours of the normal and highlighted cells, and the vertical highlight.
constexpr Gdiplus::ARGB kHorizontalText = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kHorizontalHighlightText = 0xFF468EF7;
constexpr Gdiplus::ARGB kVerticalText = 0xFFA3ACB9;
constexpr Gdiplus::ARGB kVerticalHighlightText = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kVerticalHighlight = 0xFF596EE1;

// Icon and caption offsets from a tab's left edge.
constexpr int kIconLeft = 10;
constexpr int kHorizontalTextLeft = 40;
constexpr int kVerticalTextLeft = 50;

// No wrapping; trailing blanks are measured.
constexpr INT kCaptionFormat = Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces;

int RectWidth(const RECT& r) { return r.right - r.left; }
int RectHeight(const RECT& r) { return r.bottom - r.top; }

// The tab size rule: the requested size while every tab gets at least that much, else the
// share each tab gets, but never below a positive minimum.
int FitItemSize(int requested, int minimum, int space, int count) {
  if (minimum <= 0) return requested;
  const int avail = space / count;
  int size = avail >= requested ? requested : avail;
  if (avail < minimum) size = minimum;
  return size;
}

}  // namespace

MTabCtrl::MTabCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_tabType(TAB_TYPE_HORIZONTAL),
      m_nItemWidth(0),
      m_nReqWidth(0),
      m_nMinWidth(0),
      m_nStripHeight(0),
      m_nItemHeight(0),
      m_nReqHeight(0),
      m_nMinHeight(0),
      m_nStripWidth(0),
      m_nHover(-1),
      m_nSelect(-1),
      m_bAnimate(0),
      m_nPrevious(-1),
      m_nSlideSteps(10),
      m_nOffsetX(0),
      m_nOffsetY(0),
      m_nLeftPadding(0),
      m_nRightPadding(0),
      m_nTopPadding(0),
      m_nBottomPadding(0),
      m_bTooltipEnabled(1),
      m_nLastTooltip(-1),
      m_bMouseDown(0) {
  m_nAlignment = 1;
  m_nVAlignment = 4;
  m_nFrameCount = kDefaultFrames;
}

MTabCtrl::~MTabCtrl() {
  for (auto& item : m_items) delete item->image;
}

LRESULT MTabCtrl::OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  return OnMessage(id, code, wParam, lParam);
}

void MTabCtrl::DrawControl(HDC& dc, CRect dirty) {
  if (m_tabType == TAB_TYPE_HORIZONTAL) {
    DrawControlHorizontal(dc, dirty);
  } else if (m_tabType == TAB_TYPE_VERTICAL) {
    DrawControlVertical(dc, dirty);
  }
}

int MTabCtrl::DrawSubControls(HDC& dc, CRect dirty) {
  if (!m_bRunning) return MControl::DrawSubControls(dc, dirty);
  TabItemInfo* from = Item(m_nPrevious);
  TabItemInfo* to = Item(m_nSelect);
  MControl* outgoing = from ? from->page : nullptr;
  MControl* incoming = to ? to->page : nullptr;
  if (!outgoing || !incoming) return 0;

  // Both pages are drawn at their places into copies of the window surface, then the
  // visible parts of each are copied side by side, shifted by the slide offset.
  const int cx = m_rect.right, cy = m_rect.bottom;
  ScopedMemoryDC outDC(dc), inDC(dc);
  ScopedGdiObject<HBITMAP> outBitmap(CreateCompatibleBitmap(dc, cx, cy));
  ScopedGdiObject<HBITMAP> inBitmap(CreateCompatibleBitmap(dc, cx, cy));
  if (!outDC || !inDC || !outBitmap || !inBitmap) return 0;
  ScopedSelect outSelect(outDC.get(), outBitmap.get());
  ScopedSelect inSelect(inDC.get(), inBitmap.get());
  const int W = m_rect.Width(), H = m_rect.Height();
  BitBlt(outDC.get(), m_rect.left, m_rect.top, W, H, dc, m_rect.left, m_rect.top, SRCCOPY);
  BitBlt(inDC.get(), m_rect.left, m_rect.top, W, H, dc, m_rect.left, m_rect.top, SRCCOPY);

  const CRect all(0, 0, cx, cy);
  HDC target = outDC.get();
  outgoing->SetControlVisible(1);
  incoming->SetControlVisible(0);
  outgoing->Draw(target, all);
  target = inDC.get();
  outgoing->SetControlVisible(0);
  incoming->SetControlVisible(1);
  incoming->Draw(target, all);

  const CRect page = incoming->GetRect();
  if (m_tabType == TAB_TYPE_VERTICAL) {
    const int Y = m_rect.top;
    const int g = std::max(-H, std::min(H, m_nOffsetY));
    const int x0 = page.left, w = m_rect.right - page.left;
    if (g > 0) {
      BitBlt(dc, x0, Y, w, H - g, outDC.get(), x0, Y + g, SRCCOPY);
      BitBlt(dc, x0, Y + H - g, w, g, inDC.get(), x0, Y, SRCCOPY);
    } else {
      BitBlt(dc, x0, Y - g, w, H + g, outDC.get(), x0, Y, SRCCOPY);
      BitBlt(dc, x0, Y, w, -g, inDC.get(), x0, Y + H + g, SRCCOPY);
    }
  } else {
    const int X = m_rect.left;
    const int g = std::max(-W, std::min(W, m_nOffsetX));
    const int y0 = page.top, h = m_rect.bottom - page.top;
    if (g > 0) {
      BitBlt(dc, X, y0, W - g, h, outDC.get(), X + g, y0, SRCCOPY);
      BitBlt(dc, X + W - g, y0, g, h, inDC.get(), X, y0, SRCCOPY);
    } else {
      BitBlt(dc, X - g, y0, W + g, h, outDC.get(), X, y0, SRCCOPY);
      BitBlt(dc, X, y0, -g, h, inDC.get(), X + W + g, y0, SRCCOPY);
    }
  }
  return 1;
}

int MTabCtrl::OnCheckMouseResponse(UINT, CPoint pt) {
  CRect strip = m_rect;
  if (m_tabType == TAB_TYPE_VERTICAL) {
    strip.right = strip.left + m_nStripWidth;
  } else {
    strip.bottom = strip.top + m_nStripHeight;
  }
  // Below (or beside) the strip lies the page area, which the control takes; within the
  // strip only the tabs do, so a click on its empty part reaches the window.
  if (!strip.PtInRect(pt)) return 1;
  for (const auto& item : m_items) {
    if (item->visible && ::PtInRect(&item->itemRect, pt)) return 1;
  }
  return 0;
}

LRESULT MTabCtrl::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  return m_pParent ? m_pParent->OnBaseMessage(id, code, wParam, lParam) : 0;
}

void MTabCtrl::SetControlRect(CRect rect) {
  m_rect = rect;
  ApplySizeRule(0);
  RefreshItems();
}

void MTabCtrl::SetControlVisible(int visible) {
  m_bVisible = visible;
  SetTabCtrlVisible(visible);
}

void MTabCtrl::SetControlWndVisible(int) {}

int MTabCtrl::OnControlTimer() {
  if (!m_bRunning || !Item(m_nPrevious)) {
    StopSlideTimer();
    return 0;
  }
  const bool vertical = m_tabType == TAB_TYPE_VERTICAL;
  const int size = vertical ? m_rect.Height() : m_rect.Width();
  // At least a pixel per tick, so that a control narrower than the step count still ends
  // its slide.
  const int step = std::max(1, size / std::max(1, m_nSlideSteps));
  int& offset = vertical ? m_nOffsetY : m_nOffsetX;
  if (m_nPrevious < m_nSelect) {
    offset += step;
    if (offset >= size) m_bRunning = 0;
  } else {
    offset -= step;
    if (size + offset <= 0) m_bRunning = 0;
  }
  // The timer runs only while the pages slide: the pages' children tick on the
  // multimedia thread, and a window timer left running would tick them here as well.
  if (!m_bRunning) StopSlideTimer();
  UpdateControl(m_updateRect, 0, 0);
  return 1;
}

void MTabCtrl::StopSlideTimer() {
  if (m_pManager) m_pManager->KillTimer(this, kSlideTimerKey);
}

int MTabCtrl::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  const int before = m_nHover;
  if (m_rect.PtInRect(pt)) {
    TabItemInfo* hovered = Item(m_nHover);
    if (hovered && ::PtInRect(&hovered->itemRect, pt)) {
      SetTooltip(hovered->text, CRect(hovered->itemRect));
      if (m_bTooltipEnabled) {
        if (hovered->tooltip) {
          SetTabTooltip(m_nHover, hovered->text);
        } else if (hovered->page && hovered->page->GetTooltip().IsEmpty()) {
          SetTabTooltip(m_nHover, CString());
        }
      }
      return 0;
    }
    if (m_nHover != -1) {
      m_nHover = -1;
      SetAirBladderInfo(CRect(), CString());
    }
    ClearTooltip();
    for (size_t i = 0; i < m_items.size(); ++i) {
      if (::PtInRect(&m_items[i]->itemRect, pt)) {
        m_nHover = static_cast<int>(i);
        break;
      }
    }
  } else {
    m_nHover = -1;
    m_nLastTooltip = -1;
    ClearTooltip();
  }
  if (m_nHover == before) return 0;
  UpdateControl(0, 0);
  return 1;
}

int MTabCtrl::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  m_bMouseDown = 1;
  TabItemInfo* hovered = Item(m_nHover);
  if (!hovered || !::PtInRect(&hovered->itemRect, pt)) return 0;
  SetSelectItem(m_nHover);
  UpdateControl(0, 0);
  return 1;
}

int MTabCtrl::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled || pt.x <= 0 || pt.y <= 0) return 0;
  m_bMouseDown = 0;
  UpdateControl(0, 0);
  return 0;
}

int MTabCtrl::OnControlScroll(int rows, UINT direction, CPoint pt) {
  TabItemInfo* selected = Item(m_nSelect);
  if (!selected || !selected->page || !::PtInRect(&selected->itemRect, pt)) return 0;
  return selected->page->OnScroll(rows, direction, pt);
}

int MTabCtrl::OnControlKeyDown(UINT key, UINT count, UINT modifiers) {
  TabItemInfo* selected = Item(m_nSelect);
  if (!selected || !selected->page) return 0;
  return selected->page->OnKeyDown(key, count, modifiers);
}

int MTabCtrl::OnControlKeyUp(UINT, UINT, UINT) { return 0; }

int MTabCtrl::InsertItem(UINT id, const wchar_t* text, const wchar_t* image, MControl* page, int frames, int width) {
  TabItemInfo item = {};
  item.visible = 1;
  item.id = id;
  item.text = text;
  item.frameCount = frames == -1 ? kDefaultFrames : frames;
  item.page = page;
  if (image && *image) item.image = MRender::LoadImageFromFile(GetSkinFolder() + image);
  if (item.image) {
    item.imageHeight = static_cast<int>(item.image->GetHeight());
    // A count below one would divide by zero; such a strip counts as one frame wide.
    item.frameWidth = static_cast<int>(item.image->GetWidth()) / std::max(1, item.frameCount);
  }
  const int tabWidth = width ? width : item.frameWidth;
  item.itemRect = CRect(m_rect.left, m_rect.top, m_rect.left + tabWidth, m_rect.bottom);
  InsertItem(-1, item);
  return 1;
}

void MTabCtrl::InsertItem(int index, TabItemInfo& item) {
  if (!m_items.empty()) m_separators.push_back(RECT{0, 0, 0, 0});
  const size_t at = (index < 0 || static_cast<size_t>(index) > m_items.size()) ? m_items.size() : index;
  m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(at), std::make_unique<TabItemInfo>(item));
  PlaceItems(false);
  ApplySizeRule(1);
  UpdateControl(1, 0);
}

void MTabCtrl::DeleteItem(int index) {
  TabItemInfo* item = Item(index);
  if (!item) return;
  // Deletes the page only when this control created it (CreatePanel).
  RemoveControl(item->page);
  delete item->image;
  m_items.erase(m_items.begin() + index);
  // The tabs after the deleted one move down a place; the selection and the slide's old tab
  // follow them, so the strip keeps marking the tab whose page is shown. A slide from the
  // deleted tab has no old page left and stops.
  if (index < m_nSelect) --m_nSelect;
  if (index < m_nPrevious) {
    --m_nPrevious;
  } else if (index == m_nPrevious) {
    m_nPrevious = -1;
  }
  m_nHover = -1;
  ApplySizeRule(0);
  RefreshItems();
}

int MTabCtrl::SetSelectItem(int index) {
  if (index == m_nSelect || !Item(index)) return m_nSelect;
  const int previous = m_nSelect;
  m_nPrevious = previous;
  m_nSelect = index;
  m_nHover = -1;
  ShowPages(true);
  if (m_bAnimate) {
    m_nOffsetX = 0;
    m_nOffsetY = 0;
    m_bRunning = 1;
    if (m_pManager) m_pManager->SetTimer(this, kSlideTimerKey, kSlideTimerMs);
  }
  UpdateControl(0, 0);
  // The owner hears of it last, when the strip's state is final: its handler may select
  // again or delete the strip.
  SendMessageW(NOTIFY_PRESSED, static_cast<WPARAM>(index), 0);
  return previous;
}

TabItemInfo* MTabCtrl::GetItemInfo(int index) { return Item(index); }

UINT MTabCtrl::GetItemID(int index) {
  TabItemInfo* item = Item(index);
  return item ? item->id : 0;
}

int MTabCtrl::GetItemVisible(int index) {
  TabItemInfo* item = Item(index);
  return item ? item->visible : 0;
}

BOOL MTabCtrl::SetItemText(int index, CString text) {
  TabItemInfo* item = Item(index);
  if (!item) return FALSE;
  item->text = text;
  return TRUE;
}

void MTabCtrl::SetItemVisible(int index, int visible) {
  TabItemInfo* item = Item(index);
  if (!item) return;
  item->visible = visible;
  RefreshItems();
}

void MTabCtrl::SetItemWidth(int width, int minWidth, int refresh) {
  m_nReqWidth = width;
  m_nMinWidth = minWidth;
  FitItems(m_nItemWidth, width, minWidth, m_rect.right - m_nRightPadding - m_nLeftPadding - m_rect.left, refresh);
}

void MTabCtrl::SetItemHeight(int height, int minHeight, int refresh) {
  m_nReqHeight = height;
  m_nMinHeight = minHeight;
  FitItems(m_nItemHeight, height, minHeight, m_rect.bottom - m_nBottomPadding - m_nTopPadding - m_rect.top, refresh);
}

void MTabCtrl::FitItems(int& itemSize, int requested, int minimum, int space, int refresh) {
  if (m_items.empty()) return;
  const int size = FitItemSize(requested, minimum, space, GetItemCount());
  if (size == itemSize) return;
  itemSize = size;
  if (refresh) RefreshItems();
}

void MTabCtrl::RefreshItems() {
  PlaceItems(true);
  if (m_nSelect >= GetItemCount()) {
    m_nSelect = -1;
    for (int i = GetItemCount() - 1; i >= 0; --i) {
      if (m_items[i]->visible) {
        m_nSelect = i;
        break;
      }
    }
  }
  if (m_nHover >= GetItemCount()) m_nHover = -1;
  // A hidden strip keeps every page hidden; laying it out again must not show one.
  ShowPages(m_bVisible != 0);
  UpdateControl(1, 0);
}

void MTabCtrl::SetTabCtrlVisible(int visible) { ShowPages(visible != 0); }

int MTabCtrl::PtInTabButton(CPoint pt, TabItemInfo& item) {
  CRect button(item.buttonRect);
  button.OffsetRect(m_rect.left, m_rect.top);
  return button.PtInRect(pt);
}

void MTabCtrl::SetTabTooltip(int index, CString text) {
  if (index == m_nLastTooltip) return;
  m_nLastTooltip = index;
  TabItemInfo* item = Item(index);
  if (!item) return;
  if (item->tooltip || (item->page && item->page->GetTooltip().IsEmpty())) SetTooltip(text, CRect(item->itemRect));
}

MControl* MTabCtrl::CreatePanel(const wchar_t* className, UINT id, CRect rect) {
  if (!className || std::wcscmp(className, L"MTabLayout") != 0) return nullptr;
  auto* page = new MTabLayout(this, id, rect, 1);
  if (m_pManager) page->SetManager(m_pManager);
  CriticalSectionLock lock(m_childLock);
  m_children.push_back(page);
  return page;
}

void MTabCtrl::ApplySizeRule(int refresh) {
  if (m_tabType == TAB_TYPE_HORIZONTAL) {
    SetItemWidth(m_nReqWidth, m_nMinWidth, refresh);
  } else if (m_tabType == TAB_TYPE_VERTICAL) {
    SetItemHeight(m_nReqHeight, m_nMinHeight, refresh);
  }
}

TabItemInfo* MTabCtrl::Item(int index) const {
  return (index >= 0 && index < static_cast<int>(m_items.size())) ? m_items[index].get() : nullptr;
}

void MTabCtrl::PlaceItems(bool refresh) {
  const bool horizontal = m_tabType == TAB_TYPE_HORIZONTAL;
  if (!horizontal && m_tabType != TAB_TYPE_VERTICAL) return;
  int x = m_rect.left + m_nLeftPadding;
  int y = m_rect.top + m_nTopPadding;
  for (size_t i = 0; i < m_items.size(); ++i) {
    TabItemInfo& item = *m_items[i];
    item.state = 0;
    if (refresh && !item.visible) {
      item.itemRect = RECT{0, 0, 0, 0};
      if (i < m_separators.size()) m_separators[i] = RECT{0, 0, 0, 0};
      continue;
    }
    if (horizontal) {
      if (m_nItemWidth == 0) m_nItemWidth = RectWidth(item.itemRect);
      if (m_nStripHeight == 0) m_nStripHeight = item.imageHeight;
      item.itemRect = RECT{x, y, x + m_nItemWidth, y + m_nStripHeight};
      x += m_nItemWidth;
    } else {
      if (m_nItemHeight == 0) m_nItemHeight = item.imageHeight;
      if (m_nStripWidth == 0) m_nStripWidth = RectWidth(item.itemRect);
      item.itemRect = RECT{x, y, x + m_nStripWidth, y + m_nStripHeight};
      y += m_nStripHeight + (refresh ? 1 : 0);
    }
  }
}

void MTabCtrl::ShowPages(bool show) {
  for (size_t i = 0; i < m_items.size(); ++i) {
    MControl* page = m_items[i]->page;
    if (!page) continue;
    // SetVisible tells the page's parent only when the flag changes.
    page->SetVisible(show && static_cast<int>(i) == m_nSelect ? 1 : 0);
  }
}

void MTabCtrl::DrawItems(Gdiplus::Graphics& g, CPoint origin, bool highlighted, bool vertical) {
  FallbackFontFamily fallback;
  Gdiplus::Font font(fallback.Or(GetFontFamily(m_strFontName)), static_cast<Gdiplus::REAL>(m_nFontWidth),
                     m_nFontStyle, Gdiplus::UnitPixel);
  Gdiplus::StringFormat format(kCaptionFormat);
  format.SetAlignment(Gdiplus::StringAlignmentNear);
  format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  Gdiplus::ARGB colour = highlighted ? kHorizontalHighlightText : kHorizontalText;
  if (vertical) colour = highlighted ? kVerticalHighlightText : kVerticalText;
  Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
  const int textLeft = vertical ? kVerticalTextLeft : kHorizontalTextLeft;

  int x = origin.x;
  for (const auto& item : m_items) {
    if (!item->visible) continue;
    const int w = RectWidth(item->itemRect), h = RectHeight(item->itemRect);
    const int top = vertical ? origin.y + item->itemRect.top - m_rect.top : origin.y;
    if (vertical && highlighted) {
      MRender::DrawRoundRectange(g, static_cast<float>(x), static_cast<float>(top), static_cast<float>(w),
                                 static_cast<float>(h), 6.0f, Gdiplus::Color(kVerticalHighlight));
    }
    if (item->image) {
      // The highlighted look takes the strip's second frame, when it has one.
      const int frame = highlighted ? std::min(1, std::max(0, item->frameCount - 1)) : 0;
      g.DrawImage(item->image, Gdiplus::Rect(x + kIconLeft, top + (h - item->imageHeight) / 2, item->frameWidth,
                                             item->imageHeight),
                  frame * item->frameWidth, 0, item->frameWidth, item->imageHeight, Gdiplus::UnitPixel);
    }
    const Gdiplus::RectF box(static_cast<float>(x + textLeft), static_cast<float>(top),
                             static_cast<float>(w - textLeft), static_cast<float>(h));
    g.DrawString(item->text, item->text.GetLength(), &font, box, &format, &brush);
    if (!vertical) x += w;
  }
}

void MTabCtrl::DrawControlHorizontal(HDC& dc, CRect) {
  const int W = m_rect.Width(), H = m_nStripHeight;
  if (W <= 0 || H <= 0) return;
  if (!m_bCacheValid) {
    // Three rows: the normal look in rows 0 and 2, the highlighted one in row 1.
    UpdateMemDC(dc, W, 3 * H);
    if (!m_hCacheDC) return;
    for (int row = 0; row < 3; ++row) BitBlt(m_hCacheDC, 0, row * H, W, H, dc, m_rect.left, m_rect.top, SRCCOPY);
    Gdiplus::Graphics g(m_hCacheDC);
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    for (int row = 0; row < 3; ++row) DrawItems(g, CPoint(m_nLeftPadding, row * H + m_nTopPadding), row == 1, false);
  }
  BitBlt(dc, m_rect.left, m_rect.top, W, H, m_hCacheDC, 0, 0, SRCCOPY);
  for (int index : {m_nHover, m_nSelect}) {
    const TabItemInfo* item = Item(index);
    if (!item) continue;
    const RECT& r = item->itemRect;
    BitBlt(dc, r.left, r.top, RectWidth(r), RectHeight(r), m_hCacheDC, r.left - m_rect.left, H + r.top - m_rect.top,
           SRCCOPY);
  }
}

void MTabCtrl::DrawControlVertical(HDC& dc, CRect) {
  const int W = m_nStripWidth, H = m_rect.Height();
  if (W <= 0 || H <= 0) return;
  if (!m_bCacheValid) {
    // Three columns: the normal look in columns 0 and 2, the highlighted one in column 1.
    UpdateMemDC(dc, 3 * W, H);
    if (!m_hCacheDC) return;
    for (int column = 0; column < 3; ++column) {
      BitBlt(m_hCacheDC, column * W, 0, W, H, dc, m_rect.left, m_rect.top, SRCCOPY);
    }
    Gdiplus::Graphics g(m_hCacheDC);
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    for (int column = 0; column < 3; ++column) DrawItems(g, CPoint(column * W + m_nLeftPadding, 0), column == 1, true);
  }
  BitBlt(dc, m_rect.left, m_rect.top, W, H, m_hCacheDC, 0, 0, SRCCOPY);
  for (int index : {m_nHover, m_nSelect}) {
    const TabItemInfo* item = Item(index);
    if (!item) continue;
    const RECT& r = item->itemRect;
    BitBlt(dc, r.left, r.top, RectWidth(r), RectHeight(r), m_hCacheDC, W + r.left - m_rect.left, r.top - m_rect.top,
           SRCCOPY);
  }
}

void MTabCtrl::SetAirBladderInfo(CRect, CString) {}

}  // namespace TESK
