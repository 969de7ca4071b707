#include "ui/keyboard/KeyDKSList.h"

#include <algorithm>

#include "ui/controls/CScrollHorizontal.h"
#include "ui/controls/CScrollVertical.h"
#include "ui/controls/SurfaceCell.h"
#include "ui/core/MRender.h"
#include "ui/core/PaintManager.h"
#include "ui/keyboard/AdvancedKeyText.h"

namespace TESK {

namespace {

constexpr int kWheelRows = 10;
constexpr int kActionFrames = 2;
constexpr int kRowGapWithKeys = 5;  // types 1 and 3 leave this much between rows
constexpr int kRowLeft = 10;
constexpr int kFrameRightMargin = 12, kFrameHeight = 50;
constexpr float kFrameRadius = 6.0f, kFrameWidth = 2.0f;
// The action cells: 50 px each from the right end, the right one 55 px in, the left 110 px;
// the dividers 110 and 60 px in, from 5 to 45 px down the row.
constexpr int kActionCell = 50, kRightActionInset = 55, kLeftActionInset = 110;
constexpr int kRightDividerInset = 60, kDividerTop = 5, kDividerBottom = 45;
constexpr int kPictureSquare = 50;
constexpr int kKeyBoxX[] = {60, 110, 160, 210};
constexpr int kKeyBoxTop = 5, kKeyBoxSize = 40;
constexpr float kKeyBoxRadius = 6.0f;
constexpr Gdiplus::ARGB kHighlightFrame = 0xFF19F0EA;
constexpr Gdiplus::ARGB kLine = 0xFF1F2C37;
constexpr Gdiplus::ARGB kKeyBoxFill = 0xFF0F171C;

enum ListType { TYPE_FOUR_KEYS = 1, TYPE_TWO_KEYS = 3 };

int KeyBoxCount(int type) { return type == TYPE_FOUR_KEYS ? 4 : type == TYPE_TWO_KEYS ? 2 : 1; }

}  // namespace

KeyDKSList::KeyDKSList(MObject* owner, UINT id, CRect rect, int visible, int)
    : MPanel(owner, id, rect, visible), m_nType(0), m_nRowHeight(55), m_nFirstVisible(-1), m_nLastVisible(-1) {
  m_pScrollH->SetControlVisible(0);
}

KeyDKSList::~KeyDKSList() {
  CriticalSectionLock lock(m_rowLock);
  m_rows.clear();
}

// ---- Rows and pictures ----

void KeyDKSList::SetCtrlType(int type) { m_nType = type; }

void KeyDKSList::SetIconFile(CString file) { m_rowPicture.Load(file); }

void KeyDKSList::SetEditDelIconFile(CString file) { m_actionStrip.Load(file); }

int KeyDKSList::RowPitch() const {
  return m_nRowHeight + (m_nType == TYPE_FOUR_KEYS || m_nType == TYPE_TWO_KEYS ? kRowGapWithKeys : 0);
}

void KeyDKSList::AddItem(CString caption, CString key1, CString key2, CString key3, int macroValue) {
  auto row = std::make_unique<DKS_LIST_ITEM>();
  row->caption = caption;
  row->key1 = key1;
  row->key2 = key2;
  row->key3 = key3;
  row->macroValue = macroValue;
  {
    CriticalSectionLock lock(m_rowLock);
    m_rows.push_back(std::move(row));
  }
  UpdateBar();
  RepaintIfVisible();
}

int KeyDKSList::GetMacroValue() {
  CriticalSectionLock lock(m_rowLock);
  return PaintedItemPointer::Names(m_rows, m_pointer.select) ? m_rows[m_pointer.select]->macroValue : 0;
}

void KeyDKSList::GetMacroValue(int& value, CString& text) {
  CriticalSectionLock lock(m_rowLock);
  if (!PaintedItemPointer::Names(m_rows, m_pointer.select)) return;
  const DKS_LIST_ITEM& row = *m_rows[m_pointer.select];
  value = row.macroValue;
  JoinAdvancedKeyText(m_nType, row.caption, row.key1, row.key2, row.key3, text);
}

void KeyDKSList::DeleteItem(int index) {
  {
    CriticalSectionLock lock(m_rowLock);
    if (!PaintedItemPointer::Names(m_rows, index)) return;
    m_rows.erase(m_rows.begin() + index);
  }
  AfterRemoval();
}

void KeyDKSList::DeleteAllItems() {
  {
    CriticalSectionLock lock(m_rowLock);
    m_rows.clear();
  }
  AfterRemoval();
}

void KeyDKSList::AfterRemoval() {
  m_pointer.hover = -1;
  m_pointer.select = -1;
  m_nFirstVisible = -1;
  m_nLastVisible = -1;
  UpdateBar();
  RepaintIfVisible();
}

int KeyDKSList::GetSelectItem() { return m_pointer.select; }

// ---- Bar, messages and wheel ----

void KeyDKSList::UpdateBar() {
  size_t count = 0;
  {
    CriticalSectionLock lock(m_rowLock);
    count = m_rows.size();
  }
  FitBar(m_pScrollV, RowPitch() * static_cast<int>(count), m_rect.Height());
}

void KeyDKSList::SetControlRect(CRect rect) {
  m_rect = rect;
  PlaceOwnBars(rect, true);
  UpdateBar();
}

LRESULT KeyDKSList::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  return PassBarMessage(id, code, wParam, lParam);
}

int KeyDKSList::OnControlScroll(int, UINT direction, CPoint) {
  if (m_pScrollV->GetScrollMaxRange() <= m_rect.Height()) return 0;
  if (m_pScrollV->ScrollRow(direction == 1 ? kWheelRows : -kWheelRows)) RepaintIfVisible();
  return 1;
}

// ---- Pointer ----

int KeyDKSList::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled || m_nFirstVisible < 0) return 0;
  const int first = m_nFirstVisible, last = m_nLastVisible;
  return m_pointer.MoveShowingCursor(
      m_rows, m_rowLock, m_rect, pt, [first, last](int index) { return index >= first && index <= last; },
      [this] { RepaintIfVisible(); });
}

int KeyDKSList::OnControlLButtonDown(UINT, CPoint) {
  if (!m_bEnabled || m_nFirstVisible < 0) return 0;
  bool picked = false;
  {
    CriticalSectionLock lock(m_rowLock);
    picked = PaintedItemPointer::Names(m_rows, m_pointer.hover);
    if (picked) m_pointer.select = m_pointer.hover;
  }
  if (picked) RepaintIfVisible();
  return 1;
}

int KeyDKSList::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled || m_nFirstVisible < 0) return 0;
  UINT code = NOTIFY_CLICKED;
  {
    CriticalSectionLock lock(m_rowLock);
    if (!m_rect.PtInRect(pt) || !PaintedItemPointer::Names(m_rows, m_pointer.hover)) return 1;
    m_pointer.select = m_pointer.hover;
    const CPoint inRow(pt.x - m_rect.left, pt.y - m_rect.top - m_rows[m_pointer.hover]->rect.top);
    if (m_rightZone.PtInRect(inRow)) {
      code = NOTIFY_ITEMICON;
    } else if (m_leftZone.PtInRect(inRow)) {
      code = NOTIFY_ITEMICON2;
    }
  }
  RepaintIfVisible();
  // The owner hears last: its handler may delete the row or the list.
  SendMessageW(code, 0, 0);
  return 1;
}

// ---- Drag source ----

int KeyDKSList::IsDragDrop() { return m_bDragDrop; }

HBITMAP KeyDKSList::GetControlDropBitmap() {
  if (!m_bEnabled || !m_pManager) return nullptr;
  CRect part;
  {
    CriticalSectionLock lock(m_rowLock);
    if (!PaintedItemPointer::Names(m_rows, m_pointer.hover)) return nullptr;
    part = m_rows[m_pointer.hover]->rect;
  }
  // The frame's outer half lies beyond the row.
  part.InflateRect(1, 1, 2, 2);
  return m_pManager->GetDropBitmap(this, part, 0);
}

// ---- Drawing ----

void KeyDKSList::DrawControl(HDC& dc, CRect) {
  DrawSurfaceCell(*this, dc, m_hCacheDC, [this](Gdiplus::Graphics& g, int, int) { RenderRows(g); });
}

void KeyDKSList::RenderRows(Gdiplus::Graphics& g) {
  const int width = m_rect.Width() - (m_pScrollV->IsVisible() ? m_nScrollThickness : 0);
  const int height = m_rect.Height();
  const int rowHeight = m_nRowHeight;
  const int pitch = RowPitch();
  const int frameWidth = m_actionStrip.width / kActionFrames;
  const int frameHeight = m_actionStrip.height;
  const int zoneTop = (rowHeight - frameHeight) / 2;
  m_rightZone = CRect(CPoint(width - kRightActionInset + (kActionCell - frameWidth) / 2, zoneTop),
                      CSize(frameWidth, frameHeight));
  m_leftZone = CRect(CPoint(width - kLeftActionInset + (kActionCell - frameWidth) / 2, zoneTop),
                     CSize(frameWidth, frameHeight));

  CriticalSectionLock lock(m_rowLock);
  const int count = static_cast<int>(m_rows.size());
  if (count == 0) {
    m_nFirstVisible = m_nLastVisible = -1;
    return;
  }
  // The rows in view: the first that the offset reaches into, down to the last the control's
  // height reaches; the first is drawn raised by the part of it scrolled away.
  const int offset = ContentScrollOffset(pitch * count);
  m_nFirstVisible = std::max(0, offset / pitch);
  m_nLastVisible = std::max(0, std::min((height + offset) / pitch, count - 1));
  const int raised = std::max(0, offset - m_nFirstVisible * pitch);

  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
  FallbackFontFamily fallback;
  const Gdiplus::Font font(fallback.Or(GetFontFamily(m_strFontName)), static_cast<Gdiplus::REAL>(m_nFontWidth),
                           Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
  Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap);
  SetFormatAlignment(format, DT_CENTER, DT_VCENTER);
  const Gdiplus::SolidBrush text{Gdiplus::Color(m_textColor)};
  const Gdiplus::Pen line(Gdiplus::Color(kLine), 1.0f);

  int y = -raised;
  for (int i = m_nFirstVisible; i <= m_nLastVisible; ++i, y += pitch) {
    DKS_LIST_ITEM& row = *m_rows[i];
    row.rect = CRect(kRowLeft, y, width + kRowLeft, y + rowHeight);
    const bool highlighted = i == m_pointer.select || i == m_pointer.hover;
    MRender::DrawRoundRectange(g, kRowLeft, static_cast<float>(y), static_cast<float>(width - kFrameRightMargin),
                               kFrameHeight, kFrameRadius, Gdiplus::Color(highlighted ? kHighlightFrame : kLine),
                               kFrameWidth, Gdiplus::Color(0));
    for (int inset : {kLeftActionInset, kRightDividerInset}) {
      g.DrawLine(&line, width - inset, y + kDividerTop, width - inset, y + kDividerBottom);
    }
    if (m_actionStrip.image && frameWidth > 0) {
      const CRect* zones[] = {&m_leftZone, &m_rightZone};
      for (int frame = 0; frame < kActionFrames; ++frame) {
        g.DrawImage(m_actionStrip.image.get(), Gdiplus::Rect(zones[frame]->left, y + zones[frame]->top, frameWidth,
                                                             frameHeight),
                    frame * frameWidth, 0, frameWidth, frameHeight, Gdiplus::UnitPixel);
      }
    }
    if (m_rowPicture.image) {
      g.DrawImage(m_rowPicture.image.get(), kRowLeft + (kPictureSquare - m_rowPicture.width) / 2,
                  y + (kPictureSquare - m_rowPicture.height) / 2, m_rowPicture.width, m_rowPicture.height);
    }
    const CString* names[] = {&row.caption, &row.key1, &row.key2, &row.key3};
    for (int k = 0; k < KeyBoxCount(m_nType); ++k) {
      const Gdiplus::RectF box(static_cast<float>(kKeyBoxX[k]), static_cast<float>(y + kKeyBoxTop), kKeyBoxSize,
                               kKeyBoxSize);
      MRender::DrawRoundRectange(g, box.X, box.Y, box.Width, box.Height, kKeyBoxRadius, Gdiplus::Color(kLine), 1.0f,
                                 Gdiplus::Color(kKeyBoxFill));
      if (!names[k]->IsEmpty() && font.IsAvailable()) {
        g.DrawString(*names[k], names[k]->GetLength(), &font, box, &format, &text);
      }
    }
  }
}

}  // namespace TESK
