#include "ui/keyboard/KeySlotRow.h"

#include "ui/controls/SurfaceCell.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace {

using Gdiplus::ARGB;

constexpr float kSlotRadius = 6.0f;
constexpr ARGB kSlotFrame = 0xFFA3ACB9;
constexpr ARGB kSlotFill = 0xFF272935;
constexpr float kThinFrame = 1.0f;
constexpr float kThickFrame = 2.0f;

}  // namespace

KeySlotRow::KeySlotRow(MObject* owner, UINT id, CRect rect, int visible, int enabled, const KeySlotLayout* layouts,
                       size_t layoutCount)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_layouts(layouts),
      m_layoutCount(layoutCount),
      m_type(0) {}

KeySlotRow::~KeySlotRow() = default;

// ---- Slots ----

void KeySlotRow::AddItem(CString text, int value) {
  auto slot = std::make_unique<KEY_SLOT_ITEM>();
  slot->text = text;
  slot->value = value;
  CriticalSectionLock lock(m_lock);
  m_slots.push_back(std::move(slot));
}

void KeySlotRow::DeleteAllItems() {
  {
    CriticalSectionLock lock(m_lock);
    m_slots.clear();
    m_pointer.hover = -1;
    m_pointer.select = -1;
  }
  RepaintIfVisible();
}

void KeySlotRow::SetSelectItem(int index) {
  if (m_pointer.select == index) return;
  m_pointer.select = index;
  RepaintIfVisible();
}

void KeySlotRow::SetCurValue(CString text, int value, int extra) { SetItemValue(m_pointer.select, text, value, extra); }

void KeySlotRow::SetItemValue(int index, CString text, int value, int extra) {
  {
    CriticalSectionLock lock(m_lock);
    if (!PaintedItemPointer::Names(m_slots, index)) return;
    KEY_SLOT_ITEM& slot = *m_slots[index];
    slot.text = text;
    slot.value = value;
    slot.extra = extra;
  }
  RepaintIfVisible();
}

void KeySlotRow::GetItemValue(int index, CString& text, int& value, int& extra) {
  CriticalSectionLock lock(m_lock);
  if (!PaintedItemPointer::Names(m_slots, index)) return;
  const KEY_SLOT_ITEM& slot = *m_slots[index];
  text = slot.text;
  value = slot.value;
  extra = slot.extra;
}

// ---- Pointer and drop tracking ----

int KeySlotRow::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  return m_pointer.MoveShowingCursor(
      m_slots, m_lock, m_rect, pt, [](int) { return true; }, [this] { RepaintIfVisible(); });
}

int KeySlotRow::OnControlLButtonDown(UINT, CPoint) {
  if (!m_bEnabled) return 0;
  {
    CriticalSectionLock lock(m_lock);
    if (!PaintedItemPointer::Names(m_slots, m_pointer.hover)) return 0;
    m_pointer.select = m_pointer.hover;
  }
  RepaintIfVisible();
  return 1;
}

int KeySlotRow::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  bool inSlot = false;
  {
    CriticalSectionLock lock(m_lock);
    if (!PaintedItemPointer::Names(m_slots, m_pointer.hover)) return 0;
    m_pointer.select = m_pointer.hover;
    CRect slot = m_slots[m_pointer.hover]->rect;
    slot.OffsetRect(m_rect.left, m_rect.top);
    inSlot = slot.PtInRect(pt) != 0;
  }
  RepaintIfVisible();
  // The owner hears last: its handler may remove the control.
  SendMessageW(inSlot ? NOTIFY_ITEMICON : NOTIFY_CLICKED, 0, 0);
  return 1;
}

void KeySlotRow::DragMove(CPoint pt) {
  if (!m_bEnabled) return;
  const int before = m_pointer.hover;
  if (!m_rect.PtInRect(pt)) {
    m_pointer.hover = -1;
  } else {
    CriticalSectionLock lock(m_lock);
    m_pointer.OnMove(m_slots, m_rect.TopLeft(), pt);
  }
  if (m_pointer.hover == before) return;
  // The owner's SetCurValue after the drop writes the slot under the pointer.
  m_pointer.select = m_pointer.hover;
  RepaintIfVisible();
}

// ---- Drawing ----

const KeySlotLayout* KeySlotRow::Layout() const {
  for (size_t i = 0; i < m_layoutCount; ++i) {
    if (m_layouts[i].type == m_type) return &m_layouts[i];
  }
  return nullptr;
}

void KeySlotRow::PlaceSlots(const KeySlotLayout& layout) {
  for (size_t i = 0; i < m_slots.size(); ++i) {
    CRect at(layout.first);
    at.OffsetRect(layout.stepX * static_cast<int>(i), layout.stepY * static_cast<int>(i));
    m_slots[i]->rect = at;
  }
}

void KeySlotRow::DrawControl(HDC& dc, CRect) {
  const KeySlotLayout* layout = Layout();
  if (layout) {
    CriticalSectionLock lock(m_lock);
    PlaceSlots(*layout);
    if (layout->selectsFirst) m_pointer.select = 0;
  }
  DrawSurfaceCell(*this, dc, m_hCacheDC, [this, layout](Gdiplus::Graphics& g, int, int) {
    if (layout) RenderSlots(g, *layout);
  });
}

void KeySlotRow::RenderSlots(Gdiplus::Graphics& g, const KeySlotLayout& layout) {
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
  FallbackFontFamily fallback;
  const Gdiplus::Font font(fallback.Or(GetFontFamily(m_strFontName)), static_cast<Gdiplus::REAL>(m_nFontWidth),
                           Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
  Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap);
  SetFormatAlignment(format, DT_CENTER, DT_VCENTER);
  Gdiplus::SolidBrush text{Gdiplus::Color(m_textColor)};

  CriticalSectionLock lock(m_lock);
  for (size_t i = 0; i < m_slots.size(); ++i) {
    const KEY_SLOT_ITEM& slot = *m_slots[i];
    const int n = static_cast<int>(i);
    const bool thick = layout.thickAlways || n == m_pointer.select || n == m_pointer.hover;
    const Gdiplus::RectF box(static_cast<float>(slot.rect.left), static_cast<float>(slot.rect.top),
                             static_cast<float>(slot.rect.Width()), static_cast<float>(slot.rect.Height()));
    MRender::DrawRoundRectange(g, box.X, box.Y, box.Width, box.Height, kSlotRadius, Gdiplus::Color(kSlotFrame),
                               thick ? kThickFrame : kThinFrame, Gdiplus::Color(kSlotFill));
    g.DrawString(slot.text, slot.text.GetLength(), &font, box, &format, &text);
  }
}

}  // namespace TESK
