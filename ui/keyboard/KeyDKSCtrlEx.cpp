#include "ui/keyboard/KeyDKSCtrlEx.h"

#include <algorithm>

#include "ui/controls/CScrollHorizontal.h"
#include "ui/controls/CScrollVertical.h"
#include "ui/controls/SurfaceCell.h"
#include "ui/core/MRender.h"
#include "ui/keyboard/AdvancedKeyText.h"

namespace TESK {

namespace {

constexpr int kWheelRows = 10;
constexpr int kKindFrames = 5;

// Tiles: 340 x 70, 350 apart in a line, lines 10 px apart; a line ends once the next tile
// would start beyond the layout width less 300.
constexpr int kTileWidth = 340;
constexpr int kTilePitchX = 350;
constexpr int kLineGap = 10;
constexpr int kLineEndMargin = 300;
constexpr float kTileRadius = 5.0f;

// Inside a tile (offsets from its corner).
constexpr int kCaptionBoxX = 10, kCaption2BoxX = 70, kCaptionBoxTop = 15, kCaptionBoxSize = 45;
constexpr float kCaptionBoxRadius = 6.0f;
constexpr int kKindPictureX = 65;
constexpr int kKindPictureXWithTwoCaptions = 125;
constexpr int kKindPictureTop = 15, kKindPictureBottom = 63;
constexpr int kKeyBoxX[] = {120, 160, 200, 240};
constexpr int kKeyBoxTop = 20, kKeyBoxSize = 35, kKeyTextTop = 15;
constexpr float kKeyBoxRadius = 5.0f;
constexpr int kDetailX = 150, kDetailTop = 20, kDetailHeight = 35;
constexpr int kSocdDetailWidth = 180, kOksDetailWidth = 150;
constexpr int kDeleteIconX = 320, kDeleteIconY = 6;
constexpr int kDeleteMargin = 5;  // the zone a release deletes in, and its hover frame
constexpr float kDeleteFrameRadius = 6.0f;

constexpr Gdiplus::ARGB kTileFill = 0xFF393B50;
constexpr Gdiplus::ARGB kTileHighlightFrame = 0xFF3F4440;
constexpr Gdiplus::ARGB kCaptionBoxFrame = 0xFFA4ACB9;
constexpr Gdiplus::ARGB kKeyBox = 0xFF474A69;
constexpr Gdiplus::ARGB kDeleteHoverFrame = 0xFFA4ACB9;

enum Kind { KIND_DKS = 14, KIND_MT = 15, KIND_TGL = 16, KIND_RS = 17, KIND_SOCD = 18, KIND_OKS = 19 };

// How many key boxes a kind shows.
int KeyBoxCount(int kind) {
  switch (kind) {
    case KIND_DKS: return 4;
    case KIND_MT: return 2;
    case KIND_TGL: return 1;
    default: return 0;
  }
}

bool HasOneCaption(int kind) { return kind >= KIND_DKS && kind <= KIND_TGL; }
bool HasTwoCaptions(int kind) { return kind >= KIND_RS && kind <= KIND_OKS; }

// Tiles in a line of that layout width: x grows by the pitch after each tile and the line
// ends once x exceeds width - 300 (at least one tile a line).
int TilesPerLine(int width) {
  int count = 1;
  while (count * kTilePitchX <= width - kLineEndMargin) ++count;
  return count;
}

Gdiplus::RectF BoxAt(const CRect& tile, int x, int y, int w, int h) {
  return Gdiplus::RectF(static_cast<float>(tile.left + x), static_cast<float>(tile.top + y), static_cast<float>(w),
                        static_cast<float>(h));
}

}  // namespace

KeyDKSCtrlEx::KeyDKSCtrlEx(MObject* owner, UINT id, CRect rect, int visible, int)
    : MPanel(owner, id, rect, visible), m_overDelete(false), m_nTileHeight(70), m_nContentHeight(0) {
  m_pScrollH->SetControlVisible(0);
}

KeyDKSCtrlEx::~KeyDKSCtrlEx() {
  CriticalSectionLock lock(m_tileLock);
  m_tiles.clear();
}

// ---- Pictures and tiles ----

void KeyDKSCtrlEx::SetIconFile(CString file) { m_kindStrip.Load(file); }

void KeyDKSCtrlEx::SetEditDelIconFile(CString file) { m_deletePicture.Load(file); }

void KeyDKSCtrlEx::AddItem(CString caption, int kind, CString key1, CString key2, CString key3, CString key4,
                           int macroValue) {
  auto tile = std::make_unique<ADVKEY_ITEM>();
  tile->caption = caption;
  tile->caption2 = caption;
  tile->kind = kind;
  tile->key1 = key1;
  tile->key2 = key2;
  tile->key3 = key3;
  tile->key4 = key4;
  tile->macroValue = macroValue;
  Append(std::move(tile), false);
}

void KeyDKSCtrlEx::AddItem1(CString caption, CString caption2, int kind, int uniqueKey, CString detailText,
                            int macroValue) {
  auto tile = std::make_unique<ADVKEY_ITEM>();
  tile->caption = caption;
  tile->caption2 = caption2;
  tile->kind = kind;
  tile->uniqueKey = uniqueKey;
  tile->detailText = detailText;
  tile->macroValue = macroValue;
  Append(std::move(tile), true);
}

void KeyDKSCtrlEx::Append(std::unique_ptr<ADVKEY_ITEM> tile, bool uniqueKey) {
  {
    CriticalSectionLock lock(m_tileLock);
    if (uniqueKey) {
      for (const auto& held : m_tiles) {
        if (held->uniqueKey == tile->uniqueKey) return;
      }
    }
    m_tiles.push_back(std::move(tile));
  }
  UpdateContent();
  RepaintIfVisible();
}

void KeyDKSCtrlEx::DeleteItem(int index) {
  {
    CriticalSectionLock lock(m_tileLock);
    if (!PaintedItemPointer::Names(m_tiles, index)) return;
    m_tiles.erase(m_tiles.begin() + index);
  }
  AfterRemoval();
}

void KeyDKSCtrlEx::DeleteAllItems() {
  {
    CriticalSectionLock lock(m_tileLock);
    m_tiles.clear();
  }
  AfterRemoval();
}

// Indexes may now name other tiles or none: hover and selection go.
void KeyDKSCtrlEx::AfterRemoval() {
  m_pointer.hover = -1;
  m_pointer.select = -1;
  m_overDelete = false;
  UpdateContent();
  RepaintIfVisible();
}

int KeyDKSCtrlEx::GetMacroValue() {
  CriticalSectionLock lock(m_tileLock);
  return PaintedItemPointer::Names(m_tiles, m_pointer.select) ? m_tiles[m_pointer.select]->macroValue : 0;
}

void KeyDKSCtrlEx::GetMacroValue(int& value, CString& text) {
  CriticalSectionLock lock(m_tileLock);
  if (!PaintedItemPointer::Names(m_tiles, m_pointer.select)) return;
  const ADVKEY_ITEM& tile = *m_tiles[m_pointer.select];
  value = tile.macroValue;
  JoinAdvancedKeyText(tile.kind, tile.key1, tile.key2, tile.key3, tile.key4, text);
}

void KeyDKSCtrlEx::SetSelectValue(int macroValue) {
  {
    CriticalSectionLock lock(m_tileLock);
    for (size_t i = 0; i < m_tiles.size(); ++i) {
      if (m_tiles[i]->macroValue == macroValue) {
        m_pointer.select = static_cast<int>(i);
        break;
      }
    }
  }
  RepaintIfVisible();
}

int KeyDKSCtrlEx::GetSelectItem() { return m_pointer.select; }

// ---- Content and bar ----

int KeyDKSCtrlEx::LayoutWidth() const { return m_rect.Width() - m_nScrollThickness; }

void KeyDKSCtrlEx::UpdateContent() {
  size_t count = 0;
  {
    CriticalSectionLock lock(m_tileLock);
    count = m_tiles.size();
  }
  // Lines counted with the drawing's wrap rule, so that every tile can be scrolled to.
  const size_t perLine = static_cast<size_t>(TilesPerLine(LayoutWidth()));
  const int lines = static_cast<int>((count + perLine - 1) / perLine);
  m_nContentHeight = lines * (m_nTileHeight + kLineGap);
  FitBar(m_pScrollV, m_nContentHeight, m_rect.Height());
}

// The bar is placed along the right edge and fitted to the content at the new width.
void KeyDKSCtrlEx::SetControlRect(CRect rect) {
  m_rect = rect;
  PlaceOwnBars(rect, false);
  UpdateContent();
}

CRect KeyDKSCtrlEx::DeleteZone(const CRect& tile) const {
  if (!m_deletePicture.image) return CRect();
  const CPoint at(tile.left + kDeleteIconX, tile.top + kDeleteIconY);
  return CRect(at, CSize(m_deletePicture.width, m_deletePicture.height));
}

// ---- Messages and input ----

LRESULT KeyDKSCtrlEx::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  return PassBarMessage(id, code, wParam, lParam);
}

int KeyDKSCtrlEx::OnControlScroll(int, UINT direction, CPoint) {
  if (m_nContentHeight <= m_rect.Height()) return 0;
  if (m_pScrollV->ScrollRow(direction == 1 ? kWheelRows : -kWheelRows)) RepaintIfVisible();
  return 1;
}

int KeyDKSCtrlEx::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  const int result = m_pointer.MoveShowingCursor(
      m_tiles, m_tileLock, m_rect, pt, [](int) { return true; }, [this] { RepaintIfVisible(); });
  // The delete icon's frame follows the pointer over the hovered tile only (a new hover
  // starts without it unless the pointer is on its icon already).
  bool over = false;
  {
    CriticalSectionLock lock(m_tileLock);
    if (PaintedItemPointer::Names(m_tiles, m_pointer.hover)) {
      CRect tile = m_tiles[m_pointer.hover]->rect;
      tile.OffsetRect(m_rect.left, m_rect.top);
      over = DeleteZone(tile).PtInRect(pt) != 0;
    }
  }
  if (over != m_overDelete) {
    m_overDelete = over;
    RepaintIfVisible();
  }
  return result;
}

int KeyDKSCtrlEx::OnControlLButtonDown(UINT, CPoint) {
  if (!m_bEnabled) return 0;
  bool picked = false;
  {
    CriticalSectionLock lock(m_tileLock);
    picked = PaintedItemPointer::Names(m_tiles, m_pointer.hover);
    if (picked) m_pointer.select = m_pointer.hover;
  }
  if (picked) RepaintIfVisible();
  return 1;
}

int KeyDKSCtrlEx::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  bool picked = false;
  bool onDelete = false;
  {
    CriticalSectionLock lock(m_tileLock);
    picked = m_rect.PtInRect(pt) && PaintedItemPointer::Names(m_tiles, m_pointer.hover);
    if (picked) {
      m_pointer.select = m_pointer.hover;
      CRect tile = m_tiles[m_pointer.hover]->rect;
      tile.OffsetRect(m_rect.left, m_rect.top);
      CRect zone = DeleteZone(tile);
      if (!zone.IsRectEmpty()) {
        zone.InflateRect(kDeleteMargin, kDeleteMargin);
        onDelete = zone.PtInRect(pt) != 0;
      }
    }
  }
  if (!picked) return 1;
  RepaintIfVisible();
  // The owner hears last: its handler may delete the tile or the list.
  SendMessageW(onDelete ? NOTIFY_ITEMICON : NOTIFY_CLICKED, 0, 0);
  return 1;
}

// ---- Drawing ----

void KeyDKSCtrlEx::DrawControl(HDC& dc, CRect) {
  DrawSurfaceCell(*this, dc, m_hCacheDC, [this](Gdiplus::Graphics& g, int, int) { RenderTiles(g); });
}

void KeyDKSCtrlEx::RenderTiles(Gdiplus::Graphics& g) {
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
  const int offset = ContentScrollOffset(std::max(m_nContentHeight, m_rect.Height()));
  const int perLine = TilesPerLine(LayoutWidth());
  const int linePitch = m_nTileHeight + kLineGap;
  FallbackFontFamily fallback;
  const Gdiplus::Font font(fallback.Or(GetFontFamily(m_strFontName)), static_cast<Gdiplus::REAL>(m_nFontWidth),
                           Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);

  CriticalSectionLock lock(m_tileLock);
  for (size_t i = 0; i < m_tiles.size(); ++i) {
    ADVKEY_ITEM& tile = *m_tiles[i];
    const int x = static_cast<int>(i % perLine) * kTilePitchX;
    const int y = static_cast<int>(i / perLine) * linePitch - offset;
    tile.rect = CRect(x, y, x + kTileWidth, y + m_nTileHeight);
    const int index = static_cast<int>(i);
    const bool hovered = index == m_pointer.hover;
    RenderTile(g, font, tile, hovered || index == m_pointer.select, hovered && m_overDelete);
  }
}

void KeyDKSCtrlEx::RenderTile(Gdiplus::Graphics& g, const Gdiplus::Font& font, const ADVKEY_ITEM& tile,
                              bool highlighted, bool overDelete) {
  const CRect& r = tile.rect;
  Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap);
  SetFormatAlignment(format, DT_CENTER, DT_VCENTER);
  const Gdiplus::SolidBrush text{Gdiplus::Color(m_textColor)};
  const auto write = [&](const CString& s, const Gdiplus::RectF& box) {
    if (!s.IsEmpty() && font.IsAvailable()) g.DrawString(s, s.GetLength(), &font, box, &format, &text);
  };
  const auto captionBox = [&](int x, const CString& s) {
    const Gdiplus::RectF place = BoxAt(r, x, kCaptionBoxTop, kCaptionBoxSize, kCaptionBoxSize);
    MRender::DrawRoundRectange(g, place.X, place.Y, place.Width, place.Height, kCaptionBoxRadius,
                               Gdiplus::Color(kCaptionBoxFrame), 1.0f, Gdiplus::Color(kTileFill));
    write(s, place);
  };

  MRender::DrawRoundRectange(g, static_cast<float>(r.left), static_cast<float>(r.top), kTileWidth,
                             static_cast<float>(r.Height()), kTileRadius,
                             Gdiplus::Color(highlighted ? kTileHighlightFrame : kTileFill), 1.0f,
                             Gdiplus::Color(kTileFill));
  if (HasOneCaption(tile.kind) || HasTwoCaptions(tile.kind)) captionBox(kCaptionBoxX, tile.caption);
  if (HasTwoCaptions(tile.kind)) captionBox(kCaption2BoxX, tile.caption2);

  // The kind's frame of the strip; a frame beyond the strip (OKS in five frames, kinds
  // outside 14 to 19) shows nothing.
  const int frame = tile.kind - KIND_DKS;
  const int frameWidth = m_kindStrip.width / kKindFrames;
  if (m_kindStrip.image && frameWidth > 0 && frame >= 0 && frame < kKindFrames) {
    const int x = r.left + (HasTwoCaptions(tile.kind) ? kKindPictureXWithTwoCaptions : kKindPictureX);
    const int y = r.top + kKindPictureTop + (kKindPictureBottom - kKindPictureTop - m_kindStrip.height) / 2;
    g.DrawImage(m_kindStrip.image.get(), Gdiplus::Rect(x, y, frameWidth, m_kindStrip.height), frame * frameWidth, 0,
                frameWidth, m_kindStrip.height, Gdiplus::UnitPixel);
  }

  const CString* keys[] = {&tile.key1, &tile.key2, &tile.key3, &tile.key4};
  for (int k = 0; k < KeyBoxCount(tile.kind); ++k) {
    const Gdiplus::RectF box = BoxAt(r, kKeyBoxX[k], kKeyBoxTop, kKeyBoxSize, kKeyBoxSize);
    MRender::DrawRoundRectange(g, box.X, box.Y, box.Width, box.Height, kKeyBoxRadius, Gdiplus::Color(kKeyBox), 1.0f,
                               Gdiplus::Color(kKeyBox));
    write(*keys[k], BoxAt(r, kKeyBoxX[k], kKeyTextTop, kKeyBoxSize, kKeyBoxSize));
  }
  if (tile.kind == KIND_SOCD) write(tile.detailText, BoxAt(r, kDetailX, kDetailTop, kSocdDetailWidth, kDetailHeight));
  if (tile.kind == KIND_OKS) write(tile.detailText, BoxAt(r, kDetailX, kDetailTop, kOksDetailWidth, kDetailHeight));

  if (!m_deletePicture.image) return;
  if (overDelete) {
    CRect zone = DeleteZone(r);
    zone.InflateRect(kDeleteMargin, kDeleteMargin);
    MRender::DrawRoundRectange(g, static_cast<float>(zone.left), static_cast<float>(zone.top),
                               static_cast<float>(zone.Width()), static_cast<float>(zone.Height()),
                               kDeleteFrameRadius, Gdiplus::Color(kDeleteHoverFrame), 1.0f, Gdiplus::Color(0));
  }
  g.DrawImage(m_deletePicture.image.get(), r.left + kDeleteIconX, r.top + kDeleteIconY, m_deletePicture.width,
              m_deletePicture.height);
}

}  // namespace TESK
