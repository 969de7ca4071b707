#include "ui/keyboard/KeyFuncCtrl.h"

#include <algorithm>

#include "ui/controls/CScrollHorizontal.h"
#include "ui/controls/CScrollVertical.h"
#include "ui/controls/MScroll.h"
#include "ui/controls/PictureShow.h"
#include "ui/controls/SurfaceCell.h"
#include "ui/core/MRender.h"
#include "ui/core/Manager.h"
#include "ui/core/PaintManager.h"

namespace TESK {

namespace {

constexpr int kWheelRows = 10;
constexpr int kHeaderHeight = 40;
constexpr int kClosedContent = 3 * kHeaderHeight;  // whatever the number of categories
constexpr int kHeaderBarHeight = 30;
constexpr float kRadius = 6.0f;
constexpr Gdiplus::ARGB kHeaderBar = 0xFF575757;
constexpr int kHeaderPictureRight = 10, kHeaderPictureTop = 5, kTitleLeft = 10;
constexpr int kOpenFrame = 0, kClosedFrame = 2;
// Tiles: 50 px on a 60-px pitch from x 10, below the header; a row ends once x passes the
// drawing width less 60, also after the last tile.
constexpr int kTile = 50, kTilePitch = 60, kTileLeft = 10;
constexpr int kIcon = 20;
constexpr float kFontSize = 12.0f;

// The built-in content.
struct Entry {
  const wchar_t* label;
  int value;
  const wchar_t* image;
};

constexpr Entry kBasicSymbols[] = {
    {L"~", 0x35, L""},  {L"-", 0x2D, L""},  {L"=", 0x2E, L""},  {L"[", 0x2F, L""},  {L"]", 0x30, L""},  {L"\\", 0x31, L""},
    {L";", 0x33, L""},  {L"'", 0x34, L""},  {L",<", 0x36, L""}, {L".>", 0x37, L""}, {L"/?", 0x38, L""},
};
constexpr Entry kExtendedKeys[] = {
    {L"Esc", 0x29, L""},    {L"Tab", 0x2B, L""},     {L"Caps", 0x39, L""},    {L"Backsapce", 0x2A, L""},
    {L"Enter", 0x28, L""},  {L"Space", 0x2C, L""},   {L"L-Ctrl", 0xE0, L""},  {L"R-Ctrl", 0xE4, L""},
    {L"L-Shift", 0xE1, L""}, {L"R-Shift", 0xE5, L""}, {L"L-Alt", 0xE2, L""},  {L"R-Alt", 0xE6, L""},
    {L"L-Win", 0xE3, L""},  {L"R-Win", 0xE7, L""},   {L"Menu", 0x65, L""},    {L"\u2191", 0x52, L""},
    {L"\u2190", 0x50, L""}, {L"\u2193", 0x51, L""},  {L"\u2192", 0x4F, L""},  {L"PrtSc", 0x46, L""},
    {L"ScrL", 0x47, L""},   {L"Pause", 0x48, L""},   {L"Home", 0x4A, L""},    {L"End", 0x4D, L""},
    {L"Ins", 0x49, L""},    {L"Del", 0x4C, L""},     {L"PgUp", 0x4B, L""},    {L"PgDn", 0x4E, L""},
};
constexpr Entry kKeypadTail[] = {
    {L"Num 0", 0x62, L""}, {L"Num .", 0x63, L""}, {L"Num +", 0x57, L""},     {L"Num -", 0x56, L""},
    {L"Num *", 0x55, L""}, {L"Num /", 0x54, L""}, {L"Num Enter", 0x58, L""},
};
constexpr Entry kSpecialFunctions[] = {
    {L"My Computer", 500, L"icon//icon_pc.png"},
    {L"Calculator ", 501, L"icon//icon_cal.png"},
    {L"Email", 502, L"icon//icon_email.png"},
    {L"Multimedia", 503, L"icon//icon_multimedia.png"},
    {L"Play/Pause", 504, L"icon//icon_playpause.png"},
    {L"Stop", 505, L"icon//icon_stop.png"},
    {L"Previous", 506, L"icon//icon_pre.png"},
    {L"Next", 507, L"icon//icon_next.png"},
    {L"Volume +", 508, L"icon//icon_vol_up.png"},
    {L"Volume -", 509, L"icon//icon_vol_down.png"},
    {L"Volume Mute", 510, L"icon//icon_vol_mute.png"},
    {L"Web", 511, L"icon//icon_home.png"},
    {L"Web Refresh", 512, L"icon//icon_web_refresh.png"},
    {L"Web Stop", 513, L"icon//icon_web_stop.png"},
    {L"Web Backward", 514, L"icon//icon_web_backward.png"},
    {L"Web Foreward", 515, L"icon//icon_web_foreward.png"},
    {L"Web Favorites", 516, L"icon//icon_favorites.png"},
    {L"Web Search", 517, L"icon//icon_web_search.png"},
    {L"Fn", 0xAF, L""},
};

struct Category {
  const wchar_t* name;
  int expanded;
  int presetHeight;
};
constexpr Category kCategories[] = {{L"#基本字符", 1, 300}, {L"#扩展字符", 0, 250}, {L"#特殊字符", 0, 100}};
constexpr int kSpecialCategory = 2;

// An entry as InitItemInfo adds it.
struct BuiltEntry {
  CString label;
  int value;
  const wchar_t* image;
};

// A run of count entries with consecutive values, labelled prefix + a character from first on.
void AppendRun(std::vector<BuiltEntry>& out, const wchar_t* prefix, wchar_t first, int count, int value) {
  for (int i = 0; i < count; ++i) out.push_back({CString(prefix) + static_cast<wchar_t>(first + i), value + i, L""});
}

void AppendTable(std::vector<BuiltEntry>& out, const Entry* begin, const Entry* end) {
  for (const Entry* e = begin; e != end; ++e) out.push_back({e->label, e->value, e->image});
}

// The entries of a built-in category, in order.
std::vector<BuiltEntry> CategoryEntries(int category) {
  std::vector<BuiltEntry> out;
  switch (category) {
    case 0:
      AppendRun(out, L"", L'A', 26, 0x04);
      AppendRun(out, L"", L'1', 9, 0x1E);
      AppendRun(out, L"", L'0', 1, 0x27);
      AppendTable(out, std::begin(kBasicSymbols), std::end(kBasicSymbols));
      break;
    case 1:
      AppendTable(out, std::begin(kExtendedKeys), std::end(kExtendedKeys));
      for (int f = 1; f <= 12; ++f) {
        CString label;
        label.Format(L"F%d", f);
        out.push_back({label, 0x3A + f - 1, L""});
      }
      out.push_back({L"NumLock", 0x53, L""});
      AppendRun(out, L"Num ", L'1', 9, 0x59);
      AppendTable(out, std::begin(kKeypadTail), std::end(kKeypadTail));
      break;
    default:
      AppendTable(out, std::begin(kSpecialFunctions), std::end(kSpecialFunctions));
      break;
  }
  return out;
}

}  // namespace

KeyFuncCtrl::KeyFuncCtrl(MObject* owner, UINT id, CRect rect, int visible)
    : MPanel(owner, id, rect, visible),
      m_nHoverCategory(-1),
      m_nHoverItem(-1),
      m_nSelectValue(0),
      m_nContentHeight(500),
      m_nOffset(0) {
  m_pScrollH->SetControlVisible(0);
}

KeyFuncCtrl::~KeyFuncCtrl() {
  {
    CriticalSectionLock lock(m_lock);
    m_categories.clear();
  }
  if (m_pImage == m_ownImage.get()) m_pImage = nullptr;
}

// ---- Content ----

void KeyFuncCtrl::AddKeyItem(ITEM_INFO* category, CString label, int value, CRect rect, CString image) {
  auto entry = std::make_unique<FUNC_ITEM>();
  entry->label = label;
  entry->value = value;
  entry->rect = rect;
  if (!image.IsEmpty()) entry->image.reset(PictureShow::LoadSkin(image));
  category->items.push_back(std::move(entry));
}

void KeyFuncCtrl::InitItemInfo() {
  ClearItems();
  CriticalSectionLock lock(m_lock);
  for (int c = 0; c < static_cast<int>(std::size(kCategories)); ++c) {
    auto category = std::make_unique<ITEM_INFO>();
    category->name = kCategories[c].name;
    category->expanded = kCategories[c].expanded;
    category->height = kCategories[c].presetHeight;
    const std::vector<BuiltEntry> entries = CategoryEntries(c);
    for (size_t i = 0; i < entries.size(); ++i) {
      // Starting cells on a 12-column grid; the first paint lays the tiles out anew.
      const int column = static_cast<int>(i % 12), row = static_cast<int>(i / 12);
      AddKeyItem(category.get(), entries[i].label, entries[i].value,
                 CRect(5 + 50 * column, 50 * row, 47 + 50 * column, 42 + 50 * row), entries[i].image);
    }
    m_categories.push_back(std::move(category));
  }
}

void KeyFuncCtrl::ClearItems() {
  {
    CriticalSectionLock lock(m_lock);
    m_categories.clear();
  }
  // The bar's own repaint request goes out with the lock released.
  m_pScrollV->SetVisible(0);
  m_pScrollV->SetScrollMaxRange(0);
  m_nContentHeight = 0;
  RepaintIfVisible();
}

void KeyFuncCtrl::ResetKeyState() {
  {
    CriticalSectionLock lock(m_lock);
    for (const auto& category : m_categories) category->expanded = 0;
    m_nContentHeight = kClosedContent;
  }
  FitBar(m_pScrollV, kClosedContent, m_rect.Height());
  RepaintIfVisible();
}

int KeyFuncCtrl::SetItemText(int index, CString text) {
  bool changed = false;
  {
    CriticalSectionLock lock(m_lock);
    if (index < 0 || index >= static_cast<int>(m_categories.size())) return 0;
    changed = m_categories[index]->name != text;
    if (changed) m_categories[index]->name = text;
  }
  if (changed) RepaintIfVisible();
  return 1;
}

void KeyFuncCtrl::SetItemDesc(int value, CString text) {
  {
    CriticalSectionLock lock(m_lock);
    if (static_cast<int>(m_categories.size()) <= kSpecialCategory) return;
    for (const auto& entry : m_categories[kSpecialCategory]->items) {
      if (entry->value == value) {
        entry->label = text;
        break;
      }
    }
  }
  RepaintIfVisible();
}

KeyFuncCtrl::FUNC_ITEM* KeyFuncCtrl::HoveredEntry() {
  if (m_nHoverCategory < 0 || m_nHoverCategory >= static_cast<int>(m_categories.size())) return nullptr;
  const auto& items = m_categories[m_nHoverCategory]->items;
  if (m_nHoverItem < 0 || m_nHoverItem >= static_cast<int>(items.size())) return nullptr;
  return items[m_nHoverItem].get();
}

void KeyFuncCtrl::GetCurValue(int& value, CString& label) {
  value = 0;
  label = CString();
  CriticalSectionLock lock(m_lock);
  if (const FUNC_ITEM* entry = HoveredEntry()) {
    value = entry->value;
    label = entry->label;
  }
}

int KeyFuncCtrl::GetCategoryHeight(int index) {
  CriticalSectionLock lock(m_lock);
  return index >= 0 && index < static_cast<int>(m_categories.size()) ? m_categories[index]->height : 0;
}

int KeyFuncCtrl::SetImage(const wchar_t* file, int frames) { return LoadOwnImage(m_ownImage, file, frames); }

// ---- Bar and content height ----

void KeyFuncCtrl::UpdateContent(bool evenWhenEmpty) {
  int sum = 0;
  {
    CriticalSectionLock lock(m_lock);
    for (const auto& category : m_categories) sum += kHeaderHeight + (category->expanded ? category->height : 0);
  }
  m_nContentHeight = sum;
  if (sum <= 0 && !evenWhenEmpty) return;
  const int height = m_rect.Height();
  FitBar(m_pScrollV, sum, height);
  // The position that keeps the tiles where the last paint put them; with nothing to scroll
  // (the content no higher than the control) it is 0.
  const int spare = sum - height;
  const long long position = spare > 0 ? static_cast<long long>(m_nOffset) * sum / spare : 0;
  m_pScrollV->SetScrollCurrentPos(static_cast<int>(std::min<long long>(position, sum)));
}

void KeyFuncCtrl::SetControlRect(CRect rect) {
  m_rect = rect;
  PlaceOwnBars(rect, true);
  UpdateContent(false);
  RepaintIfVisible();
}

void KeyFuncCtrl::InitControl(PaintManager* manager) {
  MPanel::InitControl(manager);
  SetControlRect(m_rect);
}

LRESULT KeyFuncCtrl::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  return PassBarMessage(id, code, wParam, lParam);
}

int KeyFuncCtrl::OnControlScroll(int, UINT direction, CPoint) {
  if (m_rect.Height() >= m_nContentHeight) return 0;
  if (m_pScrollV->ScrollRow(direction == 1 ? kWheelRows : -kWheelRows)) RepaintIfVisible();
  return 1;
}

// ---- Pointer ----

int KeyFuncCtrl::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  const int oldCategory = m_nHoverCategory, oldItem = m_nHoverItem;
  if (!m_rect.PtInRect(pt)) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    if (m_pManager) {
      m_pManager->ClearTooltip();
      m_pManager->SetTooltipCtrlID(0);
    }
    m_nHoverCategory = m_nHoverItem = -1;
  } else {
    CString tip;
    CRect tile;
    bool kept = false;
    {
      CriticalSectionLock lock(m_lock);
      if (const FUNC_ITEM* entry = HoveredEntry()) {
        tile = entry->rect;
        tile.OffsetRect(m_rect.left, m_rect.top);
        kept = tile.PtInRect(pt) != 0;
        if (kept && entry->image) tip = entry->label;
      }
    }
    if (kept) {
      ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
      if (!tip.IsEmpty()) SetTooltip(tip, tile);
      return 1;
    }
    if (m_nHoverCategory != -1) {
      m_nHoverCategory = m_nHoverItem = -1;
      ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
      ClearTooltip();
    }
    CriticalSectionLock lock(m_lock);
    for (size_t c = 0; c < m_categories.size() && m_nHoverCategory < 0; ++c) {
      if (!m_categories[c]->expanded) continue;
      const auto& items = m_categories[c]->items;
      for (size_t i = 0; i < items.size(); ++i) {
        CRect at = items[i]->rect;
        at.OffsetRect(m_rect.left, m_rect.top);
        if (at.PtInRect(pt)) {
          m_nHoverCategory = static_cast<int>(c);
          m_nHoverItem = static_cast<int>(i);
          break;
        }
      }
    }
  }
  if (m_nHoverCategory != oldCategory || m_nHoverItem != oldItem) RepaintIfVisible();
  return 1;
}

int KeyFuncCtrl::OnControlLButtonDown(UINT, CPoint) { return m_bEnabled ? 1 : 0; }

int KeyFuncCtrl::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled || !m_rect.PtInRect(pt)) return 0;
  bool onEntry = false;
  {
    CriticalSectionLock lock(m_lock);
    if (const FUNC_ITEM* entry = HoveredEntry()) {
      onEntry = true;
      CRect tile = entry->rect;
      tile.OffsetRect(m_rect.left, m_rect.top);
      if (tile.PtInRect(pt)) m_nSelectValue = entry->value;
    } else {
      for (const auto& category : m_categories) {
        CRect header = category->rect;
        header.OffsetRect(m_rect.left, m_rect.top);
        if (header.PtInRect(pt)) category->expanded = category->expanded ? 0 : 1;
      }
    }
  }
  if (!onEntry) UpdateContent(true);
  RepaintIfVisible();
  // The owner hears last: its handler may remove the control.
  if (onEntry) SendMessageW(NOTIFY_CLICKED, 0, static_cast<LPARAM>(m_nSelectValue));
  return 0;
}

// ---- Drag source ----

int KeyFuncCtrl::IsDragDrop() { return m_bDragDrop; }

HBITMAP KeyFuncCtrl::GetControlDropBitmap() {
  if (!m_bEnabled || !m_pManager) return nullptr;
  CRect part;
  {
    CriticalSectionLock lock(m_lock);
    const FUNC_ITEM* entry = HoveredEntry();
    if (!entry) return nullptr;
    part = entry->rect;
  }
  // The frame's outer half lies beyond the tile.
  part.InflateRect(1, 1, 2, 2);
  return m_pManager->GetDropBitmap(this, part, 0);
}

// ---- Drawing ----

void KeyFuncCtrl::DrawRoundRectange(Gdiplus::Graphics& g, float x, float y, float width, float height, float radius,
                                    Gdiplus::Color pen, Gdiplus::Color fill) {
  MRender::DrawRoundRectange(g, x, y, width, height, radius, pen, 1.0f, fill);
}

void KeyFuncCtrl::DrawControl(HDC& dc, CRect) {
  const int width = m_rect.Width() - m_nScrollThickness;
  m_nContentHeight = std::max(m_nContentHeight, m_rect.Height());
  m_nOffset = ContentScrollOffset(m_nContentHeight);
  DrawSurfaceCell(*this, dc, m_hCacheDC, [this, width](Gdiplus::Graphics& g, int, int) { RenderCategories(g, width); });
}

void KeyFuncCtrl::RenderCategories(Gdiplus::Graphics& g, int width) {
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
  FallbackFontFamily fallback;
  const Gdiplus::Font font(fallback.Or(GetFontFamily(m_strFontName)), kFontSize, Gdiplus::FontStyleRegular,
                           Gdiplus::UnitPixel);
  Gdiplus::StringFormat tileFormat;
  SetFormatAlignment(tileFormat, DT_CENTER, DT_VCENTER);
  Gdiplus::StringFormat headerFormat(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
  SetFormatAlignment(headerFormat, DT_LEFT, DT_VCENTER);
  const Gdiplus::SolidBrush text{Gdiplus::Color(m_textColor)};
  const auto write = [&](const CString& s, const Gdiplus::RectF& box, const Gdiplus::StringFormat& format) {
    if (!s.IsEmpty() && font.IsAvailable()) g.DrawString(s, s.GetLength(), &font, box, &format, &text);
  };
  const int frameWidth = m_ownImage ? m_nFrameWidth : 0;

  CriticalSectionLock lock(m_lock);
  int y = -m_nOffset;
  for (size_t c = 0; c < m_categories.size(); ++c) {
    ITEM_INFO& category = *m_categories[c];
    category.rect = CRect(0, y, width, y + kHeaderHeight);
    if (category.expanded) {
      DrawRoundRectange(g, 0, static_cast<float>(y), static_cast<float>(width), kHeaderBarHeight, kRadius,
                        Gdiplus::Color(kHeaderBar), Gdiplus::Color(kHeaderBar));
    }
    if (frameWidth > 0) {
      const int frame = category.expanded ? kOpenFrame : kClosedFrame;
      g.DrawImage(m_ownImage.get(),
                  Gdiplus::Rect(width - frameWidth - kHeaderPictureRight, y + kHeaderPictureTop, frameWidth,
                                m_nFrameHeight),
                  frame * frameWidth, 0, frameWidth, m_nFrameHeight, Gdiplus::UnitPixel);
    }
    write(category.name,
          Gdiplus::RectF(kTitleLeft, static_cast<float>(y), static_cast<float>(width - kTitleLeft), kHeaderBarHeight),
          headerFormat);
    if (!category.expanded) {
      y += kHeaderHeight;
      continue;
    }
    category.height = kTilePitch;
    int x = kTileLeft, top = y + kHeaderHeight;
    for (size_t i = 0; i < category.items.size(); ++i) {
      FUNC_ITEM& entry = *category.items[i];
      entry.rect = CRect(x, top, x + kTile, top + kTile);
      const bool hovered = static_cast<int>(c) == m_nHoverCategory && static_cast<int>(i) == m_nHoverItem;
      const Gdiplus::ARGB pen = hovered || entry.value == m_nSelectValue ? Manager::m_down_color : Manager::m_hover_color;
      DrawRoundRectange(g, static_cast<float>(x), static_cast<float>(top), kTile, kTile, kRadius, Gdiplus::Color(pen),
                        Gdiplus::Color(Manager::m_normal_color));
      if (entry.image) {
        g.DrawImage(entry.image.get(), Gdiplus::Rect(x + (kTile - kIcon) / 2, top + (kTile - kIcon) / 2, kIcon, kIcon),
                    0, 0, kIcon, kIcon, Gdiplus::UnitPixel);
      } else {
        write(entry.label, Gdiplus::RectF(static_cast<float>(x), static_cast<float>(top), kTile, kTile), tileFormat);
      }
      x += kTilePitch;
      if (x > width - kTilePitch) {
        top += kTilePitch;
        category.height += kTilePitch;
        x = kTileLeft;
      }
    }
    y += kHeaderHeight + category.height;
  }
}

}  // namespace TESK
