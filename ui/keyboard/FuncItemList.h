// FuncItemList: the list handling that the function lists share (KeyFuncType, KeyFuncValue,
// KeyMenuFuncType), on the control base each derives from: the items (owned records with a
// caption, an integer data value, an optional picture and the rectangle of the last paint)
// under the control's item lock, the hovered and the selected index, the owner's lookups and
// setters, and the pointer rules: a move shows the hand cursor over the hovered item and the
// arrow elsewhere, a press on a hovered item selects it, and a release inside the control
// while an item is hovered tells the owner NOTIFY_CLICKED, as (0, the selected index) or as
// (the hovered item's data, 0) by the list's report.
//
// Item rectangles are in control coordinates, set by each paint; the pointer hits those of the
// last paint. The item lock is never held while the list calls out. Window thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

#include "ui/core/CString.h"
#include "ui/core/CriticalSection.h"
#include "ui/keyboard/ItemPicture.h"
#include "ui/keyboard/PaintedItemPointer.h"

namespace TESK {

// An item of KeyFuncType and KeyFuncValue.
struct FUNC_TYPE_ITEM {
  CString caption;
  int data = 0;
  ItemPicture picture;  // from the skin folder, when the file loads
  CRect rect;           // control coordinates of the last paint
};

// A row of KeyMenuFuncType.
struct MENU_FUNC_ITEM {
  CString caption;
  CString description;
  int data = 0;
  ItemPicture picture;  // loaded, never drawn
  CRect rect;
};

// What a release tells the owner.
enum class FuncListReport {
  SelectedIndex,  // (NOTIFY_CLICKED, 0, the selected index)
  HoveredData,    // (NOTIFY_CLICKED, the hovered item's data, 0)
};

template <class Base, class Item>
class FuncItemList : public Base {
public:
  template <class... Args>
  explicit FuncItemList(FuncListReport report, Args&&... args) : Base(std::forward<Args>(args)...), m_report(report) {}

  ~FuncItemList() override {
    CriticalSectionLock lock(m_itemLock);
    m_items.clear();
  }

  int OnControlMouseMove(UINT, CPoint pt) override {
    if (!this->m_bEnabled) return 0;
    return m_pointer.MoveShowingCursor(
        m_items, m_itemLock, this->m_rect, pt, [](int) { return true; }, [this] { this->RepaintIfVisible(); });
  }

  int OnControlLButtonDown(UINT, CPoint pt) override {
    if (!this->m_bEnabled) return 0;
    bool picked = false;
    {
      CriticalSectionLock lock(m_itemLock);
      picked = this->m_rect.PtInRect(pt) && PaintedItemPointer::Names(m_items, m_pointer.hover);
      if (picked) m_pointer.select = m_pointer.hover;
    }
    if (picked) this->RepaintIfVisible();
    return 1;
  }

  int OnControlLButtonUp(UINT, CPoint pt) override {
    if (!this->m_bEnabled) return 0;
    bool picked = false;
    int data = 0;
    {
      CriticalSectionLock lock(m_itemLock);
      picked = this->m_rect.PtInRect(pt) && PaintedItemPointer::Names(m_items, m_pointer.hover);
      if (picked) data = m_items[m_pointer.hover]->data;
    }
    if (!picked) return 1;
    // The owner hears last: its handler may remove the list.
    if (m_report == FuncListReport::HoveredData) {
      this->SendMessageW(NOTIFY_CLICKED, static_cast<WPARAM>(static_cast<INT_PTR>(data)), 0);
    } else {
      this->SendMessageW(NOTIFY_CLICKED, 0, static_cast<LPARAM>(m_pointer.select));
    }
    return 1;
  }

  // Frees every item: no hover, no selection. Redraws.
  void ClearList() {
    {
      CriticalSectionLock lock(m_itemLock);
      m_items.clear();
    }
    m_pointer.hover = -1;
    m_pointer.select = -1;
    this->RepaintIfVisible();
  }
  // Selects the first item of that data (the selection stays without one); redraws either way.
  void SetCurData(int data) {
    {
      CriticalSectionLock lock(m_itemLock);
      for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i]->data == data) {
          m_pointer.select = static_cast<int>(i);
          break;
        }
      }
    }
    this->RepaintIfVisible();
  }
  int GetItemData(int index) {  // 0 for an index naming no item
    CriticalSectionLock lock(m_itemLock);
    return PaintedItemPointer::Names(m_items, index) ? m_items[index]->data : 0;
  }
  int GetCurData() { return GetItemData(m_pointer.select); }  // 0 without a selected item
  // Stores index as given (an index naming no item selects nothing that is read or drawn);
  // redraws when it changed.
  void SetSelectItem(int index) {
    if (index == m_pointer.select) return;
    m_pointer.select = index;
    this->RepaintIfVisible();
  }
  int GetSelectItem() { return m_pointer.select; }
  int SetItemText(int index, CString caption) {  // 1, or 0 for an index naming no item; no redraw
    CriticalSectionLock lock(m_itemLock);
    if (!PaintedItemPointer::Names(m_items, index)) return 0;
    m_items[index]->caption = caption;
    return 1;
  }
  CString GetItemText(int index) {  // empty for an index naming no item
    CriticalSectionLock lock(m_itemLock);
    return PaintedItemPointer::Names(m_items, index) ? m_items[index]->caption : CString();
  }
  int GetItemCount() {
    CriticalSectionLock lock(m_itemLock);
    return static_cast<int>(m_items.size());
  }

protected:
  // A new item with its picture loaded from the skin folder (none when it does not load).
  static std::unique_ptr<Item> NewItem(CString caption, int data, CString pictureFile) {
    auto item = std::make_unique<Item>();
    item->caption = caption;
    item->data = data;
    item->picture.Load(pictureFile);
    return item;
  }
  void Append(std::unique_ptr<Item> item) {
    CriticalSectionLock lock(m_itemLock);
    m_items.push_back(std::move(item));
  }

  std::vector<std::unique_ptr<Item>> m_items;
  CriticalSection m_itemLock;
  PaintedItemPointer m_pointer;

private:
  const FuncListReport m_report;
};

}  // namespace TESK
