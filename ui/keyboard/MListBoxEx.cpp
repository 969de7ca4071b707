#include "ui/keyboard/MListBoxEx.h"

#include <algorithm>

#include "ui/controls/CScrollVertical.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace {

constexpr float kTileRadius = 3.0f;
constexpr Gdiplus::ARGB kSelectedTile = 0xFF596EFF;
constexpr Gdiplus::ARGB kHoveredTile = 0xFF9FABFF;
constexpr Gdiplus::ARGB kTile = 0xFF687489;
constexpr Gdiplus::ARGB kHighlightedCaption = 0xFFE6E6E6;
constexpr Gdiplus::ARGB kCaption = 0xFFFFFFFF;

}  // namespace

MListBoxEx::MListBoxEx(MObject* owner, UINT id, CRect rect, int visible, int)
    : ScrolledTileList(owner, id, rect, visible, 150, 40, 25, 13) {}

int MListBoxEx::GetLightCount() { return GetItemCount(); }

// ---- Drawing ----

void MListBoxEx::DrawControl(HDC& dc, CRect) {
  // Nothing to show until the owner has said how high the content is.
  if (m_nContentHeight <= 0) return;
  const int width = FlowWidth();
  const int height = m_rect.Height();
  if (width <= 0 || height <= 0) return;
  if (!GetUpdate()) {
    // The surface holds the content, and never less than the control, whose top part is shown.
    const int surfaceHeight = std::max(m_nContentHeight, height);
    UpdateMemDC(dc, width, surfaceHeight);
    if (!m_hCacheDC) return;
    ::PatBlt(m_hCacheDC, 0, 0, width, surfaceHeight, WHITENESS);
    MRender::DrawVerticalTransition(m_hCacheDC, dc, CRect(0, 0, width, surfaceHeight), m_rect, 0, 0);
    Gdiplus::Graphics g(m_hCacheDC);
    g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    RenderTiles(g);
  }
  ::BitBlt(dc, m_rect.left, m_rect.top, width, height, m_hCacheDC, 0, 0, SRCCOPY);
}

void MListBoxEx::RenderTiles(Gdiplus::Graphics& g) {
  FallbackFontFamily fallback;
  const std::unique_ptr<Gdiplus::Font> font = CreateTitleFont(fallback);
  Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
  SetFormatAlignment(format, DT_CENTER, DT_VCENTER);

  CriticalSectionLock lock(m_itemLock);
  PlaceTiles();
  for (size_t i = 0; i < m_items.size(); ++i) {
    const FUNC_TYPE_ITEM& tile = *m_items[i];
    const bool selected = static_cast<int>(i) == m_pointer.select;
    const bool hovered = static_cast<int>(i) == m_pointer.hover;
    const Gdiplus::Color face(selected ? kSelectedTile : hovered ? kHoveredTile : kTile);
    const Gdiplus::RectF box(static_cast<float>(tile.rect.left), static_cast<float>(tile.rect.top),
                             static_cast<float>(tile.rect.Width()), static_cast<float>(tile.rect.Height()));
    MRender::DrawRoundRectange(g, box.X, box.Y, box.Width, box.Height, kTileRadius, face, 1.0f, face);
    if (font) {
      const Gdiplus::SolidBrush brush{Gdiplus::Color(selected || hovered ? kHighlightedCaption : kCaption)};
      g.DrawString(tile.caption, tile.caption.GetLength(), font.get(), box, &format, &brush);
    }
  }
}

}  // namespace TESK
