// KeySlotRow: the key slots of a two-function advanced key (KeyMTCtrl, KeySOCDCtrl): one or
// two rounded slots, each showing a key name and holding the owner's key value and a second
// integer. The owner sets the layout type right after creation, adds its empty slots once
// and rewrites them; a slot takes a key through SetCurValue into the selected slot, which a
// press, a release or the drop tracking (DragMove) selects. A release with a slot hovered
// reports NOTIFY_ITEMICON when it lies in that slot and NOTIFY_CLICKED otherwise (wParam
// and lParam 0). The two classes differ only in their table of layouts; a type that is not
// in the table draws no slots, so none can be hovered or clicked. The slots belong to the
// control and are read and written under its lock, never held while calling out. Window
// thread only.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <vector>

#include "ui/core/CString.h"
#include "ui/core/CriticalSection.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"
#include "ui/keyboard/PaintedItemPointer.h"

namespace TESK {

struct KEY_SLOT_ITEM {
  CString text;                             // the key name shown
  int value = 0;                            // the owner's key value
  int extra = 0;                            // a second owner integer
  std::unique_ptr<Gdiplus::Image> picture;  // never set; freed with the slot
  int reserved1 = 0;
  int reserved2 = 0;
  CRect rect;  // control coordinates, from the last paint
};

// How one layout type places its slots: slot i at first moved by i x step; the frame is
// 2 px while a slot is selected or hovered (always, with thickAlways), else 1 px. A layout
// that stacks every slot in one place selects slot 0 at each paint.
struct KeySlotLayout {
  int type;
  RECT first;
  int stepX;
  int stepY;
  bool thickAlways;
  bool selectsFirst;
};

class TESK_API KeySlotRow : public MControlFont {
public:
  // Overrides, in slot order.
  ~KeySlotRow() override;
  void DrawControl(HDC& dc, CRect dirty) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;

  // The layout type; takes effect at the next paint (no repaint).
  void SetCtrlType(int type) { m_type = type; }
  int GetCtrlType() const { return m_type; }
  // Appends a slot (extra 0); no repaint.
  void AddItem(CString text, int value);
  // Frees every slot, clears hover and selection; repaints.
  void DeleteAllItems();
  // Selects slot index and repaints; nothing when it is selected already. Any index is kept;
  // one that names no slot selects nothing that SetCurValue or the drawing would use.
  void SetSelectItem(int index);
  int GetSelectItem() const { return m_pointer.select; }
  // Writes the selected slot and repaints; nothing without a selected slot.
  void SetCurValue(CString text, int value, int extra);
  // Writes slot index and repaints; nothing for an index that names no slot.
  void SetItemValue(int index, CString text, int value, int extra);
  // Reads slot index; the outputs stay untouched for an index that names no slot.
  void GetItemValue(int index, CString& text, int& value, int& extra);
  // Drop tracking while something is dragged over the window (pt in window coordinates):
  // the slot under the pointer becomes hovered and selected, none when it leaves the slots.
  void DragMove(CPoint pt);

protected:
  KeySlotRow(MObject* owner, UINT id, CRect rect, int visible, int enabled, const KeySlotLayout* layouts,
             size_t layoutCount);

private:
  // The table's row for the current type, or null.
  const KeySlotLayout* Layout() const;
  // Places the slots of the current layout; m_lock held.
  void PlaceSlots(const KeySlotLayout& layout);
  void RenderSlots(Gdiplus::Graphics& g, const KeySlotLayout& layout);

  const KeySlotLayout* const m_layouts;
  const size_t m_layoutCount;
  std::vector<std::unique_ptr<KEY_SLOT_ITEM>> m_slots;
  CriticalSection m_lock;
  int m_type;
  PaintedItemPointer m_pointer;
};

}  // namespace TESK
