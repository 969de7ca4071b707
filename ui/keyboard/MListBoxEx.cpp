#include "ui/keyboard/MListBoxEx.h"

#include <algorithm>

#include "ui/controls/CScrollHorizontal.h"
#include "ui/controls/CScrollVertical.h"
#include "ui/controls/PictureShow.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace {

constexpr UINT kVerticalBarId = 1;
constexpr UINT kHorizontalBarId = 2;
// A wheel notch moves the content by this many of the bar's line steps.
constexpr int kWheelRows = 10;
constexpr float kTileRadius = 3.0f;
constexpr Gdiplus::ARGB kSelectedTile = 0xFF596EFF;
constexpr Gdiplus::ARGB kHoveredTile = 0xFF9FABFF;
constexpr Gdiplus::ARGB kTile = 0xFF687489;
constexpr Gdiplus::ARGB kHighlightedCaption = 0xFFE6E6E6;
constexpr Gdiplus::ARGB kCaption = 0xFFFFFFFF;

}  // namespace

MListBoxEx::MListBoxEx(MObject* owner, UINT id, CRect rect, int visible, int)
    : MPanel(owner, id, rect, visible),
      m_nTileWidth(150),
      m_nTileHeight(40),
      m_nGapX(25),
      m_nGapY(13),
      m_nContentHeight(0),
      m_nOffset(0) {
  m_pScrollH->SetControlVisible(0);
}

MListBoxEx::~MListBoxEx() {
  CriticalSectionLock lock(m_tileLock);
  m_tiles.clear();
}

// ---- Tiles ----

void MListBoxEx::AddItem(CString caption, int data, CString pictureFile) {
  auto tile = std::make_unique<Tile>();
  tile->caption = caption;
  tile->data = data;
  tile->picture.Load(pictureFile);
  CriticalSectionLock lock(m_tileLock);
  m_tiles.push_back(std::move(tile));
}

void MListBoxEx::ClearList() {
  {
    CriticalSectionLock lock(m_tileLock);
    m_tiles.clear();
  }
  m_pointer.hover = -1;
  m_pointer.select = -1;
  RepaintIfVisible();
}

void MListBoxEx::SetCurData(int data) {
  {
    CriticalSectionLock lock(m_tileLock);
    for (size_t i = 0; i < m_tiles.size(); ++i) {
      if (m_tiles[i]->data == data) {
        m_pointer.select = static_cast<int>(i);
        break;
      }
    }
  }
  RepaintIfVisible();
}

int MListBoxEx::GetItemData(int index) {
  CriticalSectionLock lock(m_tileLock);
  return PaintedItemPointer::Names(m_tiles, index) ? m_tiles[index]->data : 0;
}

int MListBoxEx::GetCurData() { return GetItemData(m_pointer.select); }

void MListBoxEx::SetSelectItem(int index) {
  if (index == m_pointer.select) return;
  m_pointer.select = index;
  RepaintIfVisible();
}

int MListBoxEx::GetSelectItem() { return m_pointer.select; }

int MListBoxEx::SetItemText(int index, CString caption) {
  CriticalSectionLock lock(m_tileLock);
  if (!PaintedItemPointer::Names(m_tiles, index)) return 0;
  m_tiles[index]->caption = caption;
  return 1;
}

CString MListBoxEx::GetItemText(int index) {
  CriticalSectionLock lock(m_tileLock);
  return PaintedItemPointer::Names(m_tiles, index) ? m_tiles[index]->caption : CString();
}

void MListBoxEx::SetWitdhAndHeight(int width, int height) {
  m_nTileWidth = width;
  m_nTileHeight = height;
}

void MListBoxEx::SetItemSplit(int gapX, int gapY) {
  m_nGapX = gapX;
  m_nGapY = gapY;
}

void MListBoxEx::SetAllItemHeight(int height) {
  m_nContentHeight = height;
  RepaintIfVisible();
}

int MListBoxEx::GetLightCount() {
  CriticalSectionLock lock(m_tileLock);
  return static_cast<int>(m_tiles.size());
}

// ---- Bar, messages and input ----

void MListBoxEx::SetControlRect(CRect rect) {
  m_rect = rect;
  PlaceOwnBars(rect, false);
  FitBar(m_pScrollV, m_nContentHeight, rect.Height());
}

LRESULT MListBoxEx::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  // The tiles follow a dragged thumb.
  if ((id == kVerticalBarId || id == kHorizontalBarId) && code == NOTIFY_CHANGING) RepaintIfVisible();
  return m_pParent ? m_pParent->OnBaseMessage(id, code, wParam, lParam) : 0;
}

int MListBoxEx::OnControlScroll(int, UINT direction, CPoint) {
  if (m_pScrollV->ScrollRow(direction == 1 ? kWheelRows : -kWheelRows)) RepaintIfVisible();
  return 1;
}

int MListBoxEx::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  return m_pointer.MoveShowingCursor(
      m_tiles, m_tileLock, m_rect, pt, [](int) { return true; }, [this] { RepaintIfVisible(); });
}

int MListBoxEx::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  bool picked = false;
  {
    CriticalSectionLock lock(m_tileLock);
    picked = m_rect.PtInRect(pt) && PaintedItemPointer::Names(m_tiles, m_pointer.hover);
    if (picked) m_pointer.select = m_pointer.hover;
  }
  if (picked) RepaintIfVisible();
  return 1;
}

int MListBoxEx::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  bool picked = false;
  {
    CriticalSectionLock lock(m_tileLock);
    picked = m_rect.PtInRect(pt) && PaintedItemPointer::Names(m_tiles, m_pointer.hover);
  }
  // The owner hears last: its handler may remove the list.
  if (picked) SendMessageW(NOTIFY_CLICKED, 0, static_cast<LPARAM>(m_pointer.select));
  return 1;
}

// ---- Drawing ----

void MListBoxEx::DrawControl(HDC& dc, CRect) {
  // Nothing to show until the owner has said how high the content is.
  if (m_nContentHeight <= 0) return;
  const int width = m_rect.Width() - (m_pScrollV->IsVisible() ? m_nScrollThickness : 0);
  const int height = m_rect.Height();
  if (width <= 0 || height <= 0) return;
  if (!GetUpdate()) {
    m_nOffset = ContentScrollOffset(m_nContentHeight);
    // The surface holds the content, and never less than the control, whose top part is shown.
    const int surfaceHeight = std::max(m_nContentHeight, height);
    UpdateMemDC(dc, width, surfaceHeight);
    if (!m_hCacheDC) return;
    ::PatBlt(m_hCacheDC, 0, 0, width, surfaceHeight, WHITENESS);
    MRender::DrawVerticalTransition(m_hCacheDC, dc, CRect(0, 0, width, surfaceHeight), m_rect, 0, 0);
    Gdiplus::Graphics g(m_hCacheDC);
    g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    RenderTiles(g, width);
  }
  ::BitBlt(dc, m_rect.left, m_rect.top, width, height, m_hCacheDC, 0, 0, SRCCOPY);
}

void MListBoxEx::RenderTiles(Gdiplus::Graphics& g, int width) {
  FallbackFontFamily fallback;
  const std::unique_ptr<Gdiplus::Font> font = CreateTitleFont(fallback);
  Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
  SetFormatAlignment(format, DT_CENTER, DT_VCENTER);
  const int w = m_nTileWidth, h = m_nTileHeight;

  CriticalSectionLock lock(m_tileLock);
  int x = 0, y = -m_nOffset;
  for (size_t i = 0; i < m_tiles.size(); ++i) {
    Tile& tile = *m_tiles[i];
    tile.rect = CRect(x, y, x + w, y + h);
    const bool selected = static_cast<int>(i) == m_pointer.select;
    const bool hovered = static_cast<int>(i) == m_pointer.hover;
    const Gdiplus::Color face(selected ? kSelectedTile : hovered ? kHoveredTile : kTile);
    MRender::DrawRoundRectange(g, static_cast<float>(x), static_cast<float>(y), static_cast<float>(w),
                               static_cast<float>(h), kTileRadius, face, 1.0f, face);
    if (font) {
      const Gdiplus::SolidBrush brush{Gdiplus::Color(selected || hovered ? kHighlightedCaption : kCaption)};
      const Gdiplus::RectF box(static_cast<float>(x), static_cast<float>(y), static_cast<float>(w),
                               static_cast<float>(h));
      g.DrawString(tile.caption, tile.caption.GetLength(), font.get(), box, &format, &brush);
    }
    x += w + m_nGapX;
    if (x >= width - w) {
      x = 0;
      y += h + m_nGapY;
    }
  }
}

}  // namespace TESK
