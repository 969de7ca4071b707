#include "ui/keyboard/LightTypeTab.h"

#include <algorithm>

#include "ui/controls/PictureShow.h"
#include "ui/controls/SurfaceCell.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace {

// Fewer items than this and the strip neither draws nor reacts.
constexpr size_t kMinimumItems = 23;
constexpr int kDefaultCellSize = 60;
constexpr int kDefaultColumns = 8;
// The paging zone at each end of the bar; the first tab starts after the left one.
constexpr int kArrowZone = 20;
constexpr float kBarRadius = 15.0f;
constexpr Gdiplus::ARGB kBar = 0xFF464A55;
constexpr float kPlateRadius = 10.0f;
constexpr Gdiplus::ARGB kCurrent = 0xFF468EF7;  // the selected tab's plate, the hovered tab's text
constexpr Gdiplus::ARGB kText = 0xFFFFFFFF;

// The index of the last row of n items in rows of columns (0 for an empty list).
int LastRowOf(int n, int columns) { return std::max(0, n / columns - (n % columns == 0 ? 1 : 0)); }

}  // namespace

LightTypeTab::LightTypeTab(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_nItemWidth(kDefaultCellSize),
      m_nItemHeight(kDefaultCellSize),
      m_nColumns(kDefaultColumns),
      m_nCurRow(0),
      m_nLastRow(0),
      m_bLayoutValid(false) {
  m_pointer.select = 0;
}

LightTypeTab::~LightTypeTab() {
  CriticalSectionLock lock(m_itemLock);
  m_items.clear();
}

// ---- Items ----

void LightTypeTab::AddItem(CString caption, CString text, int data, CString pictureFile) {
  auto item = std::make_unique<Item>();
  item->caption = caption;
  item->text = text;
  item->data = data;
  item->picture.Load(pictureFile);
  CriticalSectionLock lock(m_itemLock);
  m_items.push_back(std::move(item));
  m_bLayoutValid = false;
}

void LightTypeTab::ClearList() {
  CriticalSectionLock lock(m_itemLock);
  m_items.clear();
  m_pointer.hover = -1;
  m_pointer.select = -1;
  m_nCurRow = 0;
  m_bLayoutValid = false;
}

void LightTypeTab::SetCurData(int data) {
  {
    CriticalSectionLock lock(m_itemLock);
    for (size_t i = 0; i < m_items.size(); ++i) {
      if (m_items[i]->data != data) continue;
      m_pointer.select = static_cast<int>(i);
      m_nCurRow = m_pointer.select / m_nColumns;
      break;
    }
  }
  RepaintIfVisible();
}

int LightTypeTab::GetItemData(int index) {
  CriticalSectionLock lock(m_itemLock);
  return Names(index) ? m_items[index]->data : 0;
}

int LightTypeTab::GetCurData() { return GetItemData(m_pointer.select); }

void LightTypeTab::SetSelectItem(int index) {
  if (index == m_pointer.select) return;
  m_pointer.select = index;
  RepaintIfVisible();
}

int LightTypeTab::GetSelectItem() { return m_pointer.select; }

int LightTypeTab::SetItemText(int index, CString caption) {
  CriticalSectionLock lock(m_itemLock);
  if (!Names(index)) return 0;
  m_items[index]->caption = caption;
  return 1;
}

CString LightTypeTab::GetCurItemText() { return GetItemText(m_pointer.select); }

CString LightTypeTab::GetItemText(int index) {
  CriticalSectionLock lock(m_itemLock);
  return Names(index) ? m_items[index]->caption : CString();
}

void LightTypeTab::SetItemWidthAndHeight(int width, int height) {
  CriticalSectionLock lock(m_itemLock);
  m_nItemWidth = width;
  m_nItemHeight = height;
  m_bLayoutValid = false;
}

void LightTypeTab::SetIconFile(CString leftFile, CString rightFile, int leftFrames, int rightFrames) {
  LoadArrow(m_left, leftFile, leftFrames);
  LoadArrow(m_right, rightFile, rightFrames);
}

void LightTypeTab::LoadArrow(Arrow& arrow, const CString& file, int frames) {
  std::unique_ptr<Gdiplus::Image> picture(file.IsEmpty() ? nullptr : PictureShow::LoadSkin(file));
  if (!picture) return;
  arrow.picture = std::move(picture);
  arrow.frameWidth = static_cast<int>(arrow.picture->GetWidth()) / std::max(1, frames);
  arrow.frameHeight = static_cast<int>(arrow.picture->GetHeight());
}

void LightTypeTab::SetColumn(int columns) {
  CriticalSectionLock lock(m_itemLock);
  // The layout and the row of a selection divide by it.
  m_nColumns = std::max(1, columns);
  m_bLayoutValid = false;
}

void LightTypeTab::SetCurRow(int row) { m_nCurRow = row; }

int LightTypeTab::GetLightCount() {
  CriticalSectionLock lock(m_itemLock);
  return static_cast<int>(m_items.size());
}

bool LightTypeTab::Names(int index) const { return index >= 0 && index < static_cast<int>(m_items.size()); }

bool LightTypeTab::InCurrentRow(int index) const { return Names(index) && index / m_nColumns == m_nCurRow; }

// ---- Layout ----

void LightTypeTab::InitItem() {
  CriticalSectionLock lock(m_itemLock);
  LayOut();
}

void LightTypeTab::LayOut() {
  const int n = static_cast<int>(m_items.size());
  m_nLastRow = LastRowOf(n, m_nColumns);
  for (int i = 0; i < n; ++i) {
    const int x = kArrowZone + (i % m_nColumns) * m_nItemWidth;
    m_items[i]->rect = CRect(x, 0, x + m_nItemWidth, m_nItemHeight);
  }
  m_left.zone = CRect(m_rect.left, m_rect.top, m_rect.left + kArrowZone, m_rect.bottom);
  m_right.zone = CRect(m_rect.right - kArrowZone, m_rect.top, m_rect.right, m_rect.bottom);
  m_bLayoutValid = true;
}

// ---- Input ----

int LightTypeTab::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  // Only the current row's tabs are there to hit, and only while the strip works at all.
  return m_pointer.MoveShowingCursor(
      m_items, m_itemLock, m_rect, pt,
      [this](int index) { return m_items.size() >= kMinimumItems && InCurrentRow(index); },
      [this] { RepaintIfVisible(); });
}

int LightTypeTab::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  if (!m_rect.PtInRect(pt)) return 1;
  bool picked = false;
  bool paged = false;
  {
    CriticalSectionLock lock(m_itemLock);
    if (InCurrentRow(m_pointer.hover)) {
      m_pointer.select = m_pointer.hover;
      picked = true;
    }
    // The zones follow the control as it is now; the rows as the list is now.
    if (!m_bLayoutValid) LayOut();
    m_left.zone = CRect(m_rect.left, m_rect.top, m_rect.left + kArrowZone, m_rect.bottom);
    m_right.zone = CRect(m_rect.right - kArrowZone, m_rect.top, m_rect.right, m_rect.bottom);
    const int before = m_nCurRow;
    if (m_left.zone.PtInRect(pt)) m_nCurRow = std::max(0, m_nCurRow - 1);
    if (m_right.zone.PtInRect(pt)) m_nCurRow = std::min(m_nLastRow, m_nCurRow + 1);
    paged = m_nCurRow != before;
  }
  if (picked || paged) RepaintIfVisible();
  return 1;
}

int LightTypeTab::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  bool picked = false;
  {
    CriticalSectionLock lock(m_itemLock);
    picked = m_rect.PtInRect(pt) && InCurrentRow(m_pointer.hover);
  }
  // The owner hears last: its handler may remove the strip.
  if (picked) SendMessageW(NOTIFY_CLICKED, 0, static_cast<LPARAM>(m_pointer.select));
  return 1;
}

// ---- Drawing ----

void LightTypeTab::DrawControl(HDC& dc, CRect) {
  {
    // Too few items: the window keeps what it showed under the control.
    CriticalSectionLock lock(m_itemLock);
    if (m_items.size() < kMinimumItems) return;
  }
  DrawSurfaceCell(*this, dc, m_hCacheDC, [this](Gdiplus::Graphics& g, int w, int h) { RenderStrip(g, w, h); });
}

void LightTypeTab::RenderStrip(Gdiplus::Graphics& g, int width, int height) {
  g.SetTextRenderingHint(m_textRenderingHint);
  FallbackFontFamily fallback;
  const std::unique_ptr<Gdiplus::Font> font = CreateTitleFont(fallback);
  Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
  SetFormatAlignment(format, DT_CENTER, DT_VCENTER);
  MRender::DrawRoundRectange(g, 0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height), kBarRadius,
                             Gdiplus::Color(kBar));
  {
    CriticalSectionLock lock(m_itemLock);
    if (!m_bLayoutValid) LayOut();
    for (int i = 0; i < static_cast<int>(m_items.size()); ++i) {
      if (!InCurrentRow(i)) continue;
      const Item& item = *m_items[i];
      const CRect& r = item.rect;
      Gdiplus::ARGB text = kText;
      if (i == m_pointer.select) {
        MRender::DrawRoundRectange(g, static_cast<float>(r.left), static_cast<float>(r.top),
                                   static_cast<float>(m_nItemWidth - 2), static_cast<float>(m_nItemHeight - 2),
                                   kPlateRadius, Gdiplus::Color(kCurrent), 1.0f, Gdiplus::Color(kCurrent));
      } else if (i == m_pointer.hover) {
        text = kCurrent;
      }
      if (!font) continue;
      const Gdiplus::SolidBrush brush{Gdiplus::Color(text)};
      const Gdiplus::RectF box(static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.Width()),
                               static_cast<float>(r.Height()));
      g.DrawString(item.text, item.text.GetLength(), font.get(), box, &format, &brush);
    }
  }
  for (const Arrow* arrow : {&m_left, &m_right}) {
    if (!arrow->picture) continue;
    const int x = arrow == &m_left ? 0 : width - kArrowZone;
    g.DrawImage(arrow->picture.get(),
                Gdiplus::Rect(x, (height - arrow->frameHeight) / 2, arrow->frameWidth, arrow->frameHeight), 0, 0,
                arrow->frameWidth, arrow->frameHeight, Gdiplus::UnitPixel);
  }
}

}  // namespace TESK
