// KeyFuncControl: a picture of a whole keyboard from which the user picks the function for
// a key. Each cell is one KEY_FUNC_ITEM of the built-in layout (KeyPickerLayout.h): a key
// picture or its label, a keyboard usage and a modifier. The pointer highlights the cell it
// is over; a press or release inside selects that cell, and the release reports
// NOTIFY_CLICKED (wParam: the selected index, -1 for a gap) to the owner, which reads the
// function with GetCurItemData. The control is a drag source: a drag carries the hovered
// cell's picture, and the drop's receiver asks GetCurItemData which function it was.
//
// A panel (its children are only the two scroll bars; the horizontal one is never shown):
// the content is 361 px high and scrolls with the vertical bar and the wheel. The entries
// are owned by the control; the entry lock guards their list and is never held while
// calling out. Made by the panel factory ("KeyFuncControl"); window thread only.
// KeyFuncControl2 (the compact picker) derives from it with its own geometry, and its
// selection is read through this class's GetCurItemData.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/core/CString.h"
#include "ui/core/CriticalSection.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MPanel.h"
#include "ui/core/TeskApi.h"
#include "ui/keyboard/KeyPickerLayout.h"

namespace TESK {

// One cell of a key picker. The picture (two frames side by side: normal, highlighted) is
// owned by the entry.
struct TESK_API KEY_FUNC_ITEM {
  KEY_FUNC_ITEM() = default;
  ~KEY_FUNC_ITEM();
  KEY_FUNC_ITEM(const KEY_FUNC_ITEM&) = delete;
  KEY_FUNC_ITEM& operator=(const KEY_FUNC_ITEM&) = delete;

  CString label;                     // drawn when there is no picture
  int code = 0;                      // usage of the HID Keyboard/Keypad page
  int data = 0;                      // modifier usage going with code (0xE1), else 0
  int extra = 0;                     // handed out with the entry; always 0
  Gdiplus::Image* image = nullptr;   // or none
  int frame_width = 0;               // half the picture's width; 0 without one
  int frame_height = 0;
  CRect rect;                        // the cell in control coordinates, before scrolling
};

class TESK_API KeyFuncControl : public MPanel {
public:
  KeyFuncControl(MObject* owner, UINT id, CRect rect, int visible);

  // Overrides in their base slot order.
  ~KeyFuncControl() override;
  void InitControl(PaintManager* manager) override;
  int IsDragDrop() override;
  void DrawControl(HDC& dc, CRect dirty) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void SetControlRect(CRect rect) override;
  HBITMAP GetControlDropBitmap() override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlScroll(int rows, UINT direction, CPoint pt) override;
  // Loads a skin file as the control's own picture (not through the window's image cache);
  // frames below 1 count as 1. 0 when it does not load: the picture is then none and the
  // frame fields keep their values. The picker does not draw it.
  int SetImage(const wchar_t* file, int frames) override;

  // Installs the built-in entries with this picker's cells and fits the scroll bar to the
  // content. The hover, selected and marked indexes are kept.
  void InitItemInfo();
  // The selected entry's code, data, extra and label, and true; false with nothing written
  // when no entry is selected. reserved is never written.
  bool GetCurItemData(int& reserved, int& code, int& data, int& extra, CString& label);
  // Marks the first entry of exactly these values (code 0: none) and redraws.
  void SetItemCheckByItemData(int code, int data, int extra);
  // Deletes every entry; indexes, content height and scroll bar stay.
  void ClearItems();

protected:
  // barShown: whether the vertical bar shows while the content is higher than the control
  // (the compact picker never shows it).
  KeyFuncControl(MObject* owner, UINT id, CRect rect, int visible, const KeyPickerGeometry& geometry,
                 float cornerRadius, bool barShown);

  void AddKeyItem(CString label, int code, CRect rect, CString image, int data);
  // Position x (content - height) / range of the vertical bar, 0 for an empty range.
  int ScrollOffset() const;
  // The cell of entry index in window coordinates at offset; false when index names no entry.
  bool CellInWindow(int index, int offset, CRect& cell);
  // Asks the owner to redraw the control when it is visible.
  void Redraw();
  // Shows or hides the vertical bar for the content and the control's height, and sets its
  // range to the content height.
  void FitContentBar();

  const KeyPickerGeometry& m_geometry;
  const float m_fCornerRadius;
  const bool m_bBarShown;
  std::vector<std::unique_ptr<KEY_FUNC_ITEM>> m_items;
  CriticalSection m_itemLock;
  int m_nHover;
  int m_nSelect;
  int m_nMarked;
  int m_nContentHeight;
  int m_nOffset;
  // The picture SetImage loaded (m_pImage points to it while it is the control's).
  std::unique_ptr<Gdiplus::Image> m_ownImage;

private:
  void RenderCells(Gdiplus::Graphics& g);
};

}  // namespace TESK
