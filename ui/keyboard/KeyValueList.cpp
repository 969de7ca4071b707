#include "ui/keyboard/KeyValueList.h"

#include "ui/controls/PictureShow.h"
#include "ui/controls/SurfaceCell.h"
#include "ui/core/MRender.h"
#include "ui/core/PaintManager.h"
#include "ui/keyboard/KeyTileLook.h"

namespace TESK {

namespace {

constexpr int kFontSize = 12;
constexpr int kTileSize = 55;
constexpr int kTilePitch = 60;  // a tile and the gap after it
constexpr float kTileRadius = 6.0f;
// The caption's box: the tile less 2 px on the left and 2 on the right.
constexpr int kCaptionInset = 2;
// The caption that ends its row: the next tile starts a new one.
constexpr wchar_t kRowBreakCaption[] = L"Reset";
// The drag picture takes the outline's outer half with it.
constexpr int kDragMargin = 2;
constexpr int kCornerMark = 15;

}  // namespace

KeyValueList::KeyValueList(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1) {
  m_nFontWidth = kFontSize;
  m_bDragDrop = 1;
}

KeyValueList::~KeyValueList() {
  CriticalSectionLock lock(m_tileLock);
  m_tiles.clear();
}

// ---- Tiles ----

int KeyValueList::AddKeyInfo(int value, CString caption, CString pictureFile) {
  auto tile = std::make_unique<Tile>();
  tile->value = value;
  tile->caption = caption;
  tile->picture.Load(pictureFile);
  CriticalSectionLock lock(m_tileLock);
  m_tiles.push_back(std::move(tile));
  return static_cast<int>(m_tiles.size()) - 1;
}

void KeyValueList::SetSelectKeyValue(int value) {
  if (value == -1) {
    m_pointer.select = -1;
  } else {
    CriticalSectionLock lock(m_tileLock);
    for (size_t i = 0; i < m_tiles.size(); ++i) {
      if (m_tiles[i]->value == value) {
        m_pointer.select = static_cast<int>(i);
        break;
      }
    }
  }
  RepaintIfVisible();
}

unsigned long KeyValueList::GetSelectKeyValue(CString& caption) {
  CriticalSectionLock lock(m_tileLock);
  if (!PaintedItemPointer::Names(m_tiles, m_pointer.select)) return 0xFFFFFFFFul;
  const Tile& tile = *m_tiles[m_pointer.select];
  caption = tile.caption;
  return static_cast<unsigned long>(tile.value);
}

void KeyValueList::GetCurValue(int& value, CString& caption) {
  CriticalSectionLock lock(m_tileLock);
  if (!PaintedItemPointer::Names(m_tiles, m_pointer.select)) return;
  const Tile& tile = *m_tiles[m_pointer.select];
  value = tile.value;
  caption = tile.caption;
}

void KeyValueList::ClearAllItems() {
  {
    CriticalSectionLock lock(m_tileLock);
    m_tiles.clear();
  }
  m_pointer.hover = -1;
  m_pointer.select = 0;
  RepaintIfVisible();
}

// ---- Input ----

int KeyValueList::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  return m_pointer.Move(m_tiles, m_tileLock, m_rect, pt, [this] { RepaintIfVisible(); });
}

int KeyValueList::OnControlLButtonDown(UINT, CPoint) { return m_bEnabled ? 1 : 0; }

int KeyValueList::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  return m_pointer.Release(m_tiles, m_tileLock, m_rect, pt, [this] { RepaintIfVisible(); },
                           [this](int index) { SendMessageW(NOTIFY_CLICKED, static_cast<WPARAM>(index), 0); });
}

// ---- Drag source ----

HBITMAP KeyValueList::GetControlDropBitmap() {
  if (!m_bEnabled || !m_pManager) return nullptr;
  CRect part;
  {
    CriticalSectionLock lock(m_tileLock);
    if (!PaintedItemPointer::Names(m_tiles, m_pointer.hover)) return nullptr;
    // The drop's receiver reads the selection to learn what was dragged.
    m_pointer.select = m_pointer.hover;
    part = m_tiles[m_pointer.hover]->rect;
  }
  part.InflateRect(kDragMargin, kDragMargin);
  return m_pManager->GetDropBitmap(this, part, 0);
}

// ---- Drawing ----

void KeyValueList::DrawControl(HDC& dc, CRect) {
  DrawSurfaceCell(*this, dc, m_hCacheDC, [this](Gdiplus::Graphics& g, int, int) { RenderTiles(g); });
}

void KeyValueList::RenderTiles(Gdiplus::Graphics& g) {
  g.SetTextRenderingHint(m_textRenderingHint);
  FallbackFontFamily fallback;
  const Gdiplus::Font font(fallback.Or(GetFontFamily(m_strFontName)), static_cast<Gdiplus::REAL>(m_nFontWidth - 1),
                           m_nFontStyle, Gdiplus::UnitPixel);
  Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsLineLimit | Gdiplus::StringFormatFlagsNoClip);
  SetFormatAlignment(format, DT_CENTER, DT_VCENTER);
  const Gdiplus::SolidBrush brush{Gdiplus::Color(m_textColor)};
  const int wrapAt = m_rect.Width() - kTilePitch;

  CriticalSectionLock lock(m_tileLock);
  int x = 0, y = 0;
  for (size_t i = 0; i < m_tiles.size(); ++i) {
    Tile& tile = *m_tiles[i];
    tile.rect = CRect(x, y, x + kTileSize, y + kTileSize);
    const bool highlighted = static_cast<int>(i) == m_pointer.select || static_cast<int>(i) == m_pointer.hover;
    DrawKeyTile(g, static_cast<float>(x), static_cast<float>(y), kTileSize, kTileSize, kTileRadius, highlighted);
    const Gdiplus::RectF box(static_cast<float>(x + kCaptionInset), static_cast<float>(y),
                             static_cast<float>(kTileSize - 2 * kCaptionInset), static_cast<float>(kTileSize));
    if (font.IsAvailable()) g.DrawString(tile.caption, tile.caption.GetLength(), &font, box, &format, &brush);
    x += kTilePitch;
    if (x > wrapAt) {
      x = 0;
      y += kTilePitch;
    }
    if (tile.caption == kRowBreakCaption) {
      x = 0;
      y += kTilePitch;
    }
  }
}

void KeyValueList::DrawRoundRectange(Gdiplus::Graphics& g, float x, float y, float w, float h, float radius,
                                     Gdiplus::Color fill, float penWidth, Gdiplus::Color pen) {
  MRender::DrawRoundRectange(g, x, y, w, h, radius, pen, penWidth, fill);
}

void KeyValueList::DrawRectange(Gdiplus::Graphics& g, float x, float y, float w, float h, Gdiplus::Color pen,
                                Gdiplus::Color fill, bool corner) {
  Gdiplus::SolidBrush inside(fill);
  g.FillRectangle(&inside, x, y, w, h);
  Gdiplus::Pen outline(pen, 1.0f);
  g.DrawRectangle(&outline, x + 1, y + 1, w - 2, h - 2);
  if (!corner) return;
  const Gdiplus::PointF mark[] = {{x + w - kCornerMark, y + 1}, {x + w, y + 1}, {x + w, y + kCornerMark}};
  Gdiplus::SolidBrush markBrush(pen);
  g.FillPolygon(&markBrush, mark, 3);
}

}  // namespace TESK
