#include "ui/keyboard/KeyDKSCtrl.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "ui/controls/ButtonInput.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace {

using Gdiplus::ARGB;
using Gdiplus::Color;

constexpr int kCellCount = 32;
constexpr int kSlotCount = 4;
constexpr int kRowCells = 4;
constexpr int kFirstActionCell = 16;
constexpr int kRowStarts[] = {16, 20, 24, 28};
// Window x at and beyond which a bar drag does not follow the pointer: the right edge of a
// fifth cell place of a row (control x 340) with the grid where the editor puts it (x 760).
constexpr int kDragLimit = 1110;
constexpr int kDragStep = 3;  // pixels the pointer must move before a drag move counts

constexpr ARGB kSlotFill = 0xFF272935;
constexpr ARGB kSlotFrame = 0xFFA3ACB9;
constexpr float kSlotRadius = 6;
constexpr ARGB kBarColour = 0xFF3769FA;
constexpr ARGB kPreviewColour = 0xFF19F0EA;
constexpr float kBarRadius = 15;
constexpr int kPreviewHeight = 30;

const wchar_t* const kPointPictures[] = {L"icon\\dks_key_down.png", L"icon\\dks_key_bottom.png",
                                         L"icon\\dks_key_up.png", L"icon\\dks_key_top.png"};
const wchar_t* const kAddPicture = L"icon\\dks_key_add.png";
const wchar_t* const kDefaultDepths[] = {L"1.0mm", L"3.0mm", L"3.0mm", L"1.0mm"};
constexpr int kDefaultDepthValues[] = {10, 30, 30, 10};
constexpr int kSlotValues[] = {4, 1, 2, 3};

// A bar of a row, from the cell at position start to the one at end (0-3 within the row):
// the bits it adds to the row's DKS_ACTION_MASK, and the test by which a mask gives the
// start cell this bar (mask & testMask == testBits). A start cell takes the first of its
// rows that matches.
struct DksBar {
  int start, end;
  int bits;
  int testMask, testBits;
};
constexpr DksBar kDksBars[] = {
    {0, 0, 0x001, 0x003, 0x001}, {0, 1, 0x003, 0x007, 0x003}, {0, 2, 0x01F, 0x03F, 0x01F},
    {0, 3, 0x0FF, 0x0FF, 0x0FF}, {1, 1, 0x008, 0x018, 0x008}, {1, 2, 0x018, 0x038, 0x018},
    {1, 3, 0x0F8, 0x0F8, 0x0F8}, {2, 2, 0x040, 0x0C0, 0x040}, {2, 3, 0x0C0, 0x1C0, 0x0C0},
    {3, 3, 0x200, 0x200, 0x200},
};

Gdiplus::RectF ToRectF(const CRect& r) {
  return Gdiplus::RectF(static_cast<Gdiplus::REAL>(r.left), static_cast<Gdiplus::REAL>(r.top),
                        static_cast<Gdiplus::REAL>(r.Width()), static_cast<Gdiplus::REAL>(r.Height()));
}

void FillBar(Gdiplus::Graphics& g, int left, int top, int width, int height, ARGB colour) {
  MRender::DrawRoundRectange(g, static_cast<float>(left), static_cast<float>(top), static_cast<float>(width),
                             static_cast<float>(height), kBarRadius, Color(colour));
}

}  // namespace

KeyDKSCtrl::KeyDKSCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_hover(-1),
      m_select(-1),
      m_dragging(false),
      m_dragStart(-1),
      m_dragRowLast(-1),
      m_dragLimit(0),
      m_dragCell(nullptr) {}

KeyDKSCtrl::~KeyDKSCtrl() = default;

void KeyDKSCtrl::Repaint() {
  if (m_bVisible && m_pParent) m_pParent->OnControlUpdate(m_rect, 1, this);
}

// ---- Cells ----

DKS_CELL* KeyDKSCtrl::Cell(int index) const {
  if (index < 0 || index >= static_cast<int>(m_cells.size())) return nullptr;
  return m_cells[index].get();
}

CRect KeyDKSCtrl::WindowRect(const DKS_CELL& cell) const {
  CRect r = cell.rect;
  r.OffsetRect(m_rect.left, m_rect.top);
  return r;
}

void KeyDKSCtrl::AddItem(CString text, int kind, int value, CRect rect, CString imageFile) {
  auto cell = std::make_unique<DKS_CELL>();
  cell->text = text;
  cell->kind = kind;
  cell->value = value;
  cell->rect = rect;
  cell->picture.Load(imageFile);
  CriticalSectionLock lock(m_lock);
  m_cells.push_back(std::move(cell));
}

void KeyDKSCtrl::InitItem() {
  DeleteAllItems();
  for (int n = 0; n < kSlotCount; ++n) {
    AddItem(L"", DKS_CELL_SLOT, kSlotValues[n], CRect(300, 60 + 50 * n, 340, 100 + 50 * n), L"");
  }
  for (int n = 0; n < kRowCells; ++n) {
    AddItem(L"", DKS_CELL_POINT, 8 + n, CRect(30 + 70 * n, 0, 60 + 70 * n, 30), kPointPictures[n]);
  }
  for (int n = 0; n < kRowCells; ++n) {
    AddItem(kDefaultDepths[n], DKS_CELL_DEPTH, kDefaultDepthValues[n], CRect(15 + 70 * n, 30, 75 + 70 * n, 50), L"");
  }
  for (int n = 0; n < kRowCells; ++n) {
    AddItem(L"", DKS_CELL_SEPARATOR, 0, CRect(44 + 70 * n, 60, 45 + 70 * n, 225), L"");
  }
  for (int r = 0; r < kSlotCount; ++r) {
    for (int n = 0; n < kRowCells; ++n) {
      AddItem(L"", DKS_CELL_ACTION, 20 + 4 * r + n, CRect(30 + 70 * n, 65 + 50 * r, 60 + 70 * n, 95 + 50 * r),
              kAddPicture);
    }
  }
  {
    CriticalSectionLock lock(m_lock);
    // Row 0 starts as one action from the press to the return to the top (mask 0xFF).
    for (int c = kFirstActionCell; c < kFirstActionCell + 3; ++c) m_cells[c]->end = kFirstActionCell + 3;
    m_dragLimit = kDragLimit;
  }
  Repaint();
}

void KeyDKSCtrl::DeleteAllItems() {
  {
    CriticalSectionLock lock(m_lock);
    CancelDrag();
    m_cells.clear();
    m_hover = -1;
    m_select = -1;
  }
  Repaint();
}

void KeyDKSCtrl::SetItemValue(int index, CString text, int value, int extra) {
  {
    CriticalSectionLock lock(m_lock);
    DKS_CELL* cell = Cell(index);
    if (!cell) return;
    cell->text = text;
    cell->value = value;
    cell->extra = extra;
  }
  Repaint();
}

void KeyDKSCtrl::GetItemValue(int index, CString& text, int& value, int& extra) {
  CriticalSectionLock lock(m_lock);
  const DKS_CELL* cell = Cell(index);
  if (!cell) return;
  text = cell->text;
  value = cell->value;
  extra = cell->extra;
}

void KeyDKSCtrl::SetCurValue(CString text, int value, int extra) {
  {
    CriticalSectionLock lock(m_lock);
    const DKS_CELL* cell = Cell(m_select);
    if (!cell || cell->kind != DKS_CELL_SLOT) return;
  }
  SetItemValue(m_select, text, value, extra);
}

CPoint KeyDKSCtrl::GetItemPoint(int index) {
  CriticalSectionLock lock(m_lock);
  const DKS_CELL* cell = Cell(index);
  return cell ? WindowRect(*cell).TopLeft() : CPoint(0, 0);
}

// ---- Rows and their masks ----

bool KeyDKSCtrl::IsRowStart(int index) const {
  if (std::find(std::begin(kRowStarts), std::end(kRowStarts), index) == std::end(kRowStarts)) return false;
  for (int k = 0; k < kRowCells; ++k) {
    const DKS_CELL* cell = Cell(index + k);
    if (!cell || cell->kind != DKS_CELL_ACTION) return false;
  }
  return true;
}

void KeyDKSCtrl::SetItemState(int index, int mask) {
  CriticalSectionLock lock(m_lock);
  if (!IsRowStart(index)) return;
  for (int k = 0; k < kRowCells; ++k) {
    int end = 0;
    for (const DksBar& bar : kDksBars) {
      if (bar.start == k && (mask & bar.testMask) == bar.testBits) {
        end = index + bar.end;
        break;
      }
    }
    m_cells[index + k]->end = end;
  }
}

void KeyDKSCtrl::GetItemState(int index, int& mask) {
  CriticalSectionLock lock(m_lock);
  if (!IsRowStart(index)) return;
  mask = 0;
  for (int k = 0; k < kRowCells; ++k) {
    const int end = m_cells[index + k]->end;
    if (end == 0) continue;
    for (const DksBar& bar : kDksBars) {
      if (bar.start == k && index + bar.end == end) mask |= bar.bits;
    }
  }
}

void KeyDKSCtrl::ResetDKSItemState(int index) {
  CriticalSectionLock lock(m_lock);
  DKS_CELL* cell = Cell(index);
  if (!cell) return;
  const int end = cell->end;
  cell->end = 0;
  // Bars that start further left and run over this cell.
  for (int c = index - 1; c > 0; --c) {
    DKS_CELL* left = m_cells[c].get();
    if (left->kind != DKS_CELL_ACTION || left->end < index) break;
    left->end = 0;
  }
  // Bars that start further right and end where this one did.
  const int stop = std::min(index + kRowCells, static_cast<int>(m_cells.size()));
  for (int c = index + 1; c < stop; ++c) {
    DKS_CELL* right = m_cells[c].get();
    if (right->kind != DKS_CELL_ACTION) break;
    if (right->end == end) right->end = 0;
  }
}

void KeyDKSCtrl::CalDKSItemSelect(CPoint) { Repaint(); }

// ---- Drawing ----

void KeyDKSCtrl::DrawControl(HDC& dc, CRect) {
  if (!m_bCacheValid) {
    // The surface starts as the window's background under the grid.
    if (!PrepareCells(dc, 1)) return;
    Gdiplus::Graphics g(m_hCacheDC);
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    FallbackFontFamily fallback;
    const Gdiplus::Font font(fallback.Or(GetFontFamily(m_strFontName)), static_cast<Gdiplus::REAL>(m_nFontWidth),
                             Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap);
    SetFormatAlignment(format, DT_CENTER, DT_VCENTER);
    Gdiplus::SolidBrush text{Color(m_textColor)};
    const auto caption = [&](const DKS_CELL& cell) {
      if (!cell.text.IsEmpty()) g.DrawString(cell.text, cell.text.GetLength(), &font, ToRectF(cell.rect), &format, &text);
    };

    CriticalSectionLock lock(m_lock);
    for (size_t i = 0; i < m_cells.size(); ++i) {
      const DKS_CELL& cell = *m_cells[i];
      const bool lit = static_cast<int>(i) == m_hover || static_cast<int>(i) == m_select;
      const CRect& r = cell.rect;
      Gdiplus::Image* picture = cell.picture.image.get();
      switch (cell.kind) {
        case DKS_CELL_SLOT:
          MRender::DrawRoundRectange(g, static_cast<float>(r.left), static_cast<float>(r.top),
                                     static_cast<float>(r.Width()), static_cast<float>(r.Height()), kSlotRadius,
                                     Color(kSlotFrame), lit ? 2.0f : 1.0f, Color(kSlotFill));
          caption(cell);
          break;
        case DKS_CELL_DEPTH:
        case DKS_CELL_TEXT:
          caption(cell);
          break;
        case DKS_CELL_POINT:
          if (picture) g.DrawImage(picture, ToRectF(r));
          break;
        case DKS_CELL_ACTION:
          if (picture) {
            // Two frames side by side: normal, then hovered.
            const int frame = cell.picture.width / 2;
            const int x = static_cast<int>(i) == m_hover ? frame : 0;
            g.DrawImage(picture, ToRectF(r), static_cast<Gdiplus::REAL>(x), 0, static_cast<Gdiplus::REAL>(frame),
                        static_cast<Gdiplus::REAL>(cell.picture.height), Gdiplus::UnitPixel);
          }
          break;
        default:
          break;
      }
    }
    if (!m_cells.empty()) {
      for (int start : kRowStarts) DrawDKSPoint(g, start);
    }
    if (m_dragging && m_dragPoint.x > 0) {
      FillBar(g, m_dragOrigin.x - m_rect.left, m_dragOrigin.y - m_rect.top, m_dragPoint.x - m_dragOrigin.x,
              kPreviewHeight, kPreviewColour);
    }
  }
  ShowCell(dc, 0);
}

void KeyDKSCtrl::DrawDKSPoint(Gdiplus::Graphics& g, int rowStart) {
  for (int c = rowStart; c < rowStart + kRowCells; ++c) {
    const DKS_CELL* cell = Cell(c);
    if (!cell || cell->end < c) continue;
    const CRect& r = cell->rect;
    if (cell->end == c) {
      FillBar(g, r.left, r.top, r.Width(), r.Height(), kBarColour);
    } else if (const DKS_CELL* end = Cell(cell->end)) {
      FillBar(g, r.left, r.top, end->rect.left - r.left, r.Height(), kBarColour);
    }
  }
}

// ---- Pointer ----

bool KeyDKSCtrl::TrackHover(CPoint pt, bool slotsOnly, bool& kept) {
  kept = false;
  const int before = m_hover;
  if (!m_rect.PtInRect(pt)) {
    m_hover = -1;
    ButtonInput::SetCursorFor(false);
    return m_hover != before;
  }
  CriticalSectionLock lock(m_lock);
  if (const DKS_CELL* hovered = Cell(m_hover)) {
    if (WindowRect(*hovered).PtInRect(pt)) {
      kept = true;
      ButtonInput::SetCursorFor(true);
      return false;
    }
  }
  m_hover = -1;
  ButtonInput::SetCursorFor(false);
  for (size_t i = 0; i < m_cells.size(); ++i) {
    const DKS_CELL& cell = *m_cells[i];
    const bool takes = slotsOnly ? cell.kind == DKS_CELL_SLOT : cell.kind < DKS_CELL_TEXT;
    if (takes && WindowRect(cell).PtInRect(pt)) {
      m_hover = static_cast<int>(i);
      break;
    }
  }
  return m_hover != before;
}

int KeyDKSCtrl::OnControlMouseMove(UINT, CPoint pt) {
  if (m_dragging) {
    DragTo(pt);
    return 1;
  }
  if (!m_bEnabled) return 0;
  bool kept = false;
  if (!TrackHover(pt, false, kept)) return 0;
  Repaint();
  return 1;
}

void KeyDKSCtrl::DragTo(CPoint pt) {
  if (pt.x <= m_dragOrigin.x || pt.x >= m_dragLimit) return;
  if (std::abs(pt.x - m_lastDragPoint.x) < kDragStep && std::abs(pt.y - m_lastDragPoint.y) < kDragStep) return;
  m_lastDragPoint = pt;
  m_dragPoint = pt;
  Repaint();
}

void KeyDKSCtrl::DragMove(CPoint pt) {
  if (!m_bEnabled || m_dragging) return;
  bool kept = false;
  const bool changed = TrackHover(pt, true, kept);
  if (kept) m_select = m_hover;
  if (changed) Repaint();
}

int KeyDKSCtrl::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  {
    CriticalSectionLock lock(m_lock);
    DKS_CELL* cell = Cell(m_hover);
    if (!cell) return 0;
    m_select = m_hover;
    ButtonInput::SetCursorFor(true);
    if (cell->kind == DKS_CELL_ACTION) {
      if (cell->end != 0) {
        ResetDKSItemState(m_hover);
      } else {
        m_dragging = true;
        m_lastDragPoint = pt;
        m_dragOrigin = WindowRect(*cell).TopLeft();
        m_dragPoint = CPoint(0, 0);
        m_dragCell = cell;
        m_dragStart = m_hover;
        // The last cell of the row the drag started in.
        m_dragRowLast = m_dragStart < 20 ? 19 : m_dragStart < 24 ? 23 : m_dragStart < 28 ? 27 : 31;
      }
    }
  }
  Repaint();
  return 1;
}

void KeyDKSCtrl::EndDrag(CPoint pt) {
  {
    CriticalSectionLock lock(m_lock);
    // The bar ends in the rightmost cell of the row, not left of the start, whose left edge
    // lies left of the pointer.
    for (int c = m_dragRowLast; c >= m_dragStart; --c) {
      const DKS_CELL* cell = Cell(c);
      if (cell && WindowRect(*cell).left < pt.x) {
        m_dragCell->end = c;
        break;
      }
    }
    // Written back through the mask, every row shows the bars it will be stored as.
    for (int start : kRowStarts) {
      int mask = 0;
      GetItemState(start, mask);
      SetItemState(start, mask);
    }
    CancelDrag();
  }
  Repaint();
}

void KeyDKSCtrl::CancelDrag() {
  m_dragging = false;
  m_lastDragPoint = m_dragOrigin = m_dragPoint = CPoint(0, 0);
  m_dragStart = -1;
  m_dragRowLast = -1;
  m_dragCell = nullptr;
}

int KeyDKSCtrl::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  if (m_dragging) {
    EndDrag(pt);
    return 1;
  }
  bool slot = false;
  {
    CriticalSectionLock lock(m_lock);
    const DKS_CELL* cell = Cell(m_hover);
    if (!cell) return 0;
    m_select = m_hover;
    slot = cell->kind == DKS_CELL_SLOT;
  }
  // A click on a slot empties it, ready for the next key.
  if (slot) SetItemValue(m_select, L"", 0, 0);
  Repaint();
  return 1;
}

}  // namespace TESK
