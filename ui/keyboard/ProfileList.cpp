#include "ui/keyboard/ProfileList.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "ui/controls/ButtonInput.h"
#include "ui/controls/CScrollVertical.h"
#include "ui/controls/SurfaceCell.h"
#include "ui/core/CEditWindow.h"
#include "ui/core/MRender.h"
#include "ui/core/Manager.h"

namespace TESK {

namespace {

constexpr int kWheelSteps = 10;
constexpr float kPlateRadius = 6.0f;
// The action zone: 20 x 20 at the right end of a row, centred on its height; its plate 27 x 27.
constexpr int kZoneRight = 5;
constexpr int kZoneSize = 20;
constexpr int kZonePlateLeft = 30;
constexpr int kZonePlateTop = 3;
constexpr int kZonePlateSize = 27;
// A row's own picture, its caption and the edit over the caption.
constexpr int kPictureLeft = 5;
constexpr int kPictureSize = 20;
constexpr int kCaptionLeft = 30;
constexpr int kCaptionRightSpace = 65;
constexpr int kEditLeft = 32;
constexpr int kEditRightSpace = 30;

void DrawPlate(Gdiplus::Graphics& g, int x, int y, int w, int h, Gdiplus::ARGB frame, Gdiplus::ARGB fill) {
  MRender::DrawRoundRectange(g, static_cast<float>(x), static_cast<float>(y), static_cast<float>(w),
                             static_cast<float>(h), kPlateRadius, Gdiplus::Color(frame), 1.0f, Gdiplus::Color(fill));
}

}  // namespace

ProfileList::ProfileList(MObject* owner, UINT id, CRect rect, int visible, int)
    : FuncItemList(FuncListReport::SelectedIndex, owner, id, rect, visible),
      m_nEditItem(-1),
      m_nZoneHover(-1),
      m_nScrollOffset(0),
      m_nFirstVisible(-1),
      m_nLastVisible(-1),
      m_nFirstOffset(0),
      m_pEditWnd(nullptr) {}

ProfileList::~ProfileList() { CEditWindow::CloseInPlace(m_pEditWnd); }

// ---- Rows ----

int ProfileList::ContentHeight() {
  return static_cast<int>(std::min<long long>(static_cast<long long>(GetItemCount()) * kPitch, INT_MAX));
}

void ProfileList::FitRows() { FitBar(m_pScrollV, ContentHeight(), m_rect.Height()); }

int ProfileList::AddItem(CString caption, int data, CString pictureFile) {
  Append(NewItem(caption, data, pictureFile));
  FitRows();
  m_pScrollV->SetScrollFinalPos();
  RepaintIfVisible();
  return GetItemCount() - 1;
}

void ProfileList::ClearList() {
  DropEdit();
  {
    CriticalSectionLock lock(m_itemLock);
    m_items.clear();
  }
  m_pointer.hover = m_pointer.select = -1;
  m_nFirstVisible = m_nLastVisible = -1;
  m_nZoneHover = -1;
  m_nScrollOffset = m_nFirstOffset = 0;
  FitRows();
  m_pScrollV->SetScrollCurrentPos(0);
  RepaintIfVisible();
}

void ProfileList::DeleteItem(int index) {
  {
    CriticalSectionLock lock(m_itemLock);
    if (!PaintedItemPointer::Names(m_items, index)) return;
    m_items.erase(m_items.begin() + index);
  }
  // The indexes kept name other rows now; an open edit would store its text into one of them.
  DropEdit();
  m_pointer.hover = m_pointer.select = -1;
  m_nFirstVisible = m_nLastVisible = -1;
  m_nZoneHover = -1;
  FitRows();
  RepaintIfVisible();
}

void ProfileList::SetScrollPos(int) {
  m_pScrollV->SetScrollCurrentPos(0);
  RepaintIfVisible();
}

void ProfileList::GetCurValue(int& data, CString& caption) {
  CriticalSectionLock lock(m_itemLock);
  if (!PaintedItemPointer::Names(m_items, m_pointer.select)) return;
  data = m_items[m_pointer.select]->data;
  caption = m_items[m_pointer.select]->caption;
}

// ---- Geometry of the last paint ----

CRect ProfileList::RowOnWindow(const FUNC_TYPE_ITEM& row) const {
  CRect r = row.rect;
  r.OffsetRect(m_rect.left, m_rect.top - m_nFirstOffset);
  return r;
}

int ProfileList::VisibleRowAt(CPoint pt) const {
  if (m_nFirstVisible < 0) return -1;
  for (int i = m_nFirstVisible; i <= m_nLastVisible && i < static_cast<int>(m_items.size()); ++i) {
    if (RowOnWindow(*m_items[i]).PtInRect(pt)) return i;
  }
  return -1;
}

bool ProfileList::InZone(int index, CPoint pt) const {
  if (!PaintedItemPointer::Names(m_items, index)) return false;
  CRect zone = m_actionZone;
  const CRect row = RowOnWindow(*m_items[index]);
  zone.OffsetRect(row.left, row.top);
  return zone.PtInRect(pt) != 0;
}

// ---- Drawing ----

void ProfileList::DrawControl(HDC& dc, CRect) {
  const int width = m_rect.Width() - m_nScrollThickness;
  const int height = m_rect.Height();
  if (width <= 0 || height <= 0) return;
  if (!GetUpdate()) {
    const int count = GetItemCount();
    const int offset = ContentScrollOffset(ContentHeight());
    m_nScrollOffset = offset;
    m_nDerivedValue1 = offset;
    m_nFirstVisible = std::max(0, offset / kPitch);
    m_nLastVisible = std::max(0, std::min((height + offset) / kPitch, count - 1));
    m_nFirstOffset = std::max(0, offset - kPitch * m_nFirstVisible);
    m_actionZone = CRect(width - kZoneRight - kZoneSize, kRowHeight / 2 - kZoneSize / 2, width - kZoneRight,
                         kRowHeight / 2 + kZoneSize / 2);

    const int surfaceHeight = std::max((m_nLastVisible - m_nFirstVisible + 1) * kPitch, height);
    UpdateMemDC(dc, width, surfaceHeight);
    if (!m_hCacheDC) return;
    ::PatBlt(m_hCacheDC, 0, 0, width, surfaceHeight, WHITENESS);
    // The part that reaches the window starts as the window under the control.
    MRender::DrawVerticalTransition(m_hCacheDC, dc, CRect(0, m_nFirstOffset, width, m_nFirstOffset + height), m_rect,
                                    0, 0);
    if (count > 0) {
      Gdiplus::Graphics g(m_hCacheDC);
      g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
      g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
      RenderRows(g, width);
    }
  }
  ::BitBlt(dc, m_rect.left, m_rect.top, width, height, m_hCacheDC, 0, m_nFirstOffset, SRCCOPY);
}

void ProfileList::RenderRows(Gdiplus::Graphics& g, int width) {
  FallbackFontFamily fallback;
  const std::unique_ptr<Gdiplus::Font> font = CreateTitleFont(fallback);
  Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
  SetFormatAlignment(format, 0, DT_VCENTER);
  const Gdiplus::SolidBrush ink{Gdiplus::Color(m_textColor)};
  const int hover = m_pointer.hover;
  const int select = m_pointer.select;
  const bool overZone = m_nZoneHover == 0;

  // The action strip's frame over a row's zone: 1 while the pointer is over it.
  const auto drawAction = [&](int top, bool pointed) {
    if (!m_pImage) return;
    const int frame = pointed ? 1 : 0;
    const Gdiplus::Rect to(m_actionZone.left, top + m_actionZone.top, kZoneSize, kZoneSize);
    g.DrawImage(m_pImage, to, frame * m_nFrameWidth, 0, m_nFrameWidth, m_nFrameHeight, Gdiplus::UnitPixel);
  };
  const auto drawZonePlate = [&](int top) {
    DrawPlate(g, width - kZonePlateLeft, top + kZonePlateTop, kZonePlateSize, kZonePlateSize, Manager::m_down_color,
              Manager::m_normal_color);
  };

  CriticalSectionLock lock(m_itemLock);
  for (int i = m_nFirstVisible, y = 0; i <= m_nLastVisible && i < static_cast<int>(m_items.size()); ++i, y += kPitch) {
    FUNC_TYPE_ITEM& row = *m_items[i];
    row.rect = CRect(0, y, width, y + kRowHeight);
    const bool edited = i == m_nEditItem;
    if (edited || i == select) {
      DrawPlate(g, 0, y, width, kRowHeight, Manager::m_down_color, Manager::m_normal_color);
    } else if (i == hover) {
      DrawPlate(g, 0, y, width, kRowHeight, Manager::m_hover_color, Manager::m_hover_color);
    } else {
      DrawPlate(g, 0, y, width, kRowHeight, Manager::m_normal_color, Manager::m_normal_color);
    }
    if (!edited) {
      const bool pointed = i == hover && overZone;
      if (i == select) {
        if (m_pImage) {
          if (pointed) drawZonePlate(y);
          drawAction(y, pointed);
        }
      } else if (i == hover) {
        if (pointed) drawZonePlate(y);
        drawAction(y, pointed);
      }
    }
    if (Gdiplus::Image* picture = row.picture.image.get()) {
      g.DrawImage(picture, kPictureLeft, y + (kRowHeight - kPictureSize) / 2, kPictureSize, kPictureSize);
    }
    // The row under edit shows its text in the edit window.
    if (!edited && font && !row.caption.IsEmpty()) {
      const Gdiplus::RectF box(static_cast<float>(kCaptionLeft), static_cast<float>(y),
                               static_cast<float>(width - kCaptionRightSpace), static_cast<float>(kRowHeight));
      g.DrawString(row.caption, row.caption.GetLength(), font.get(), box, &format, &ink);
    }
  }
}

// ---- Pointer ----

int ProfileList::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  const int before = m_pointer.hover;
  if (!m_rect.PtInRect(pt)) {
    m_pointer.hover = -1;
    m_nZoneHover = -1;
    ButtonInput::SetCursorFor(false);
    if (m_pointer.hover != before) RepaintIfVisible();
    return 1;
  }
  bool onHovered = false;
  int zone = -1;
  {
    CriticalSectionLock lock(m_itemLock);
    onHovered = before >= m_nFirstVisible && before <= m_nLastVisible && PaintedItemPointer::Names(m_items, before) &&
                RowOnWindow(*m_items[before]).PtInRect(pt);
    if (onHovered) {
      zone = InZone(before, pt) ? 0 : -1;
    } else {
      m_pointer.hover = VisibleRowAt(pt);
    }
  }
  if (onHovered) {
    ButtonInput::SetCursorFor(true);
    const bool changed = zone != m_nZoneHover;
    m_nZoneHover = zone;
    if (changed) RepaintIfVisible();
    return 0;
  }
  m_nZoneHover = -1;
  ButtonInput::SetCursorFor(false);
  if (m_pointer.hover != before) RepaintIfVisible();
  return 1;
}

int ProfileList::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  if (!m_rect.PtInRect(pt)) return 0;
  if (m_pointer.hover < 0) {
    HideEdit(1);
    return 1;
  }
  m_pointer.select = m_pointer.hover;
  RepaintIfVisible();
  HideEdit(0);
  return 1;
}

int ProfileList::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  if (!m_rect.PtInRect(pt) || m_pointer.hover < 0) return 0;
  const int before = m_pointer.select;
  m_pointer.select = m_pointer.hover;
  bool onRow = false;
  bool inZone = false;
  {
    CriticalSectionLock lock(m_itemLock);
    if (PaintedItemPointer::Names(m_items, m_pointer.select)) {
      onRow = RowOnWindow(*m_items[m_pointer.select]).PtInRect(pt) != 0;
      inZone = onRow && InZone(m_pointer.select, pt);
    }
  }
  if (m_pointer.select != before) RepaintIfVisible();
  if (onRow) SendMessageW(inZone ? NOTIFY_PARTCLICKED : NOTIFY_CLICKED, 0, static_cast<LPARAM>(m_pointer.select));
  return 1;
}

int ProfileList::OnControlScroll(int, UINT direction, CPoint) {
  if (ContentHeight() <= m_rect.Height()) return 0;
  // ScrollRow keeps the position within 0 ... range.
  if (m_pScrollV->ScrollRow(direction == 1 ? kWheelSteps : -kWheelSteps)) RepaintIfVisible();
  return 1;
}

int ProfileList::SetControlFocus(int focus) {
  if (!m_bEnabled) return 0;
  if (focus) return 1;
  HideEdit(1);
  RepaintIfVisible();
  return 1;
}

LRESULT ProfileList::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  return PassBarMessage(id, code, wParam, lParam);
}

void ProfileList::SetControlRect(CRect rect) {
  m_rect = rect;
  PlaceOwnBars(rect, true);
  FitRows();
}

// ---- In-place caption edit ----

void ProfileList::GetTextRect(CRect& rect) {
  rect.SetRectEmpty();
  if (m_nEditItem < 0) return;
  {
    CriticalSectionLock lock(m_itemLock);
    if (!PaintedItemPointer::Names(m_items, m_pointer.select)) return;
    rect = RowOnWindow(*m_items[m_pointer.select]);
  }
  rect.left += kEditLeft;
  rect.right -= kEditRightSpace;
  // One line of the font, centred on the row; size 8 keeps a 12 px line.
  const int line = m_nFontWidth == 8 ? 12 : m_nFontWidth + 6;
  rect.top += (rect.Height() - line) / 2;
  rect.bottom = rect.top + line;
}

void ProfileList::ShowEdit() {
  if (!m_bEnabled) return;
  CString caption;
  {
    CriticalSectionLock lock(m_itemLock);
    if (!PaintedItemPointer::Names(m_items, m_pointer.select)) return;
    caption = m_items[m_pointer.select]->caption;
  }
  m_nEditItem = m_pointer.select;
  CRect area;
  GetTextRect(area);
  // The edit window opens with the list's title and reports changes of it: with the title set
  // first, opening reports nothing.
  SetTitle(caption);
  const CEditWindow::InPlace look = {ArgbToColorRef(Manager::m_normal_color), m_textColor, 0, 0};
  if (!CEditWindow::OpenInPlace(m_pEditWnd, this, area, caption, look)) {
    m_nEditItem = -1;
    return;
  }
  m_bFocused = 1;
  RepaintIfVisible();
}

void ProfileList::HideEdit(int force) {
  if (m_nEditItem == m_pointer.select && !force) return;
  m_bFocused = 0;
  int changed = -1;
  if (m_pEditWnd) {
    CString text;
    m_pEditWnd->GetWindowTextW(text);
    {
      CriticalSectionLock lock(m_itemLock);
      if (PaintedItemPointer::Names(m_items, m_nEditItem) && m_items[m_nEditItem]->caption != text) {
        m_items[m_nEditItem]->caption = text;
        changed = m_nEditItem;
      }
    }
    m_pEditWnd->ShowWindow(SW_HIDE);
  }
  const int edited = m_nEditItem;
  m_nEditItem = -1;
  if (edited >= 0) RepaintIfVisible();
  if (changed >= 0) SendMessageW(NOTIFY_EDITEND, 0, static_cast<LPARAM>(changed));
}

void ProfileList::DropEdit() {
  if (m_nEditItem < 0) return;
  m_nEditItem = -1;
  m_bFocused = 0;
  if (m_pEditWnd) m_pEditWnd->ShowWindow(SW_HIDE);
}

}  // namespace TESK
