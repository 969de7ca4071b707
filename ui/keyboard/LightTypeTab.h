// LightTypeTab: the lighting page's paged strip of light-mode tabs on a dark rounded bar. It
// shows one row of its items at a time (eight to a row by default), each drawing its short
// second text; the 20-pixel zones at the bar's ends page through the rows (with an arrow
// picture each when one is set). A press on a tab selects it and the release tells the owner
// NOTIFY_CLICKED (lParam: the selected index); the page reads the mode from the item's data
// and shows its caption as a title.
//
// The strip works with 23 items or more: with fewer it draws nothing (the window keeps what
// it showed) and no tab reacts. Every row lies in the same place; the layout is made at the
// first paint after the list changed. The items (and the pictures named for them, kept but
// not drawn) and the arrow pictures are owned by the control; the item lock guards the list
// and is never held while the control calls out. Made by the panel factory
// ("LightTypeTab"); window thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/core/CString.h"
#include "ui/core/CriticalSection.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"
#include "ui/keyboard/ItemPicture.h"
#include "ui/keyboard/PaintedItemPointer.h"

namespace TESK {

class TESK_API LightTypeTab : public MControlFont {
public:
  LightTypeTab(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  // Overrides in their base slot order.
  ~LightTypeTab() override;
  void DrawControl(HDC& dc, CRect dirty) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;

  // Appends an item: caption (the mode's name), text (drawn on the tab), data (the mode) and
  // a picture file relative to the skin folder, loaded when it exists.
  void AddItem(CString caption, CString text, int data, CString pictureFile);
  // Frees every item: no hover, no selection, the first row current.
  void ClearList();
  // Selects the first item of that data and shows its row (nothing changes without one);
  // redraws either way.
  void SetCurData(int data);
  int GetItemData(int index);  // 0 for an index naming no item
  int GetCurData();            // 0 without a selected item
  // Stores index as the selected one as given; an index naming no item selects nothing that
  // is read or drawn. Redraws when it changed.
  void SetSelectItem(int index);
  int GetSelectItem();
  int SetItemText(int index, CString caption);  // 1, or 0 for an index naming no item
  CString GetCurItemText();                     // empty without a selected item
  CString GetItemText(int index);               // empty for an index naming no item
  void SetItemWidthAndHeight(int width, int height);
  // The arrow pictures (skin files, each loaded when it exists) with their frame counts;
  // frames below 1 count as 1.
  void SetIconFile(CString leftFile, CString rightFile, int leftFrames, int rightFrames);
  // Items to a row; 0 or less counts as 1.
  void SetColumn(int columns);
  // The row shown, as given; a row naming no items shows and hits none.
  void SetCurRow(int row);
  int GetLightCount();
  // Places every row's items and the arrow zones from the control's rectangle.
  void InitItem();

private:
  struct Item {
    CString caption;
    CString text;
    int data = 0;
    ItemPicture picture;  // kept, not drawn
    CRect rect;  // control coordinates; the same place in every row
  };
  struct Arrow {
    std::unique_ptr<Gdiplus::Image> picture;  // or none
    int frameWidth = 0;
    int frameHeight = 0;
    CRect zone;  // window coordinates
  };

  // With the item lock held: whether index names an item, the items of the current row,
  // and the layout when it is stale.
  bool Names(int index) const;
  bool InCurrentRow(int index) const;
  void LayOut();
  void RenderStrip(Gdiplus::Graphics& g, int width, int height);
  static void LoadArrow(Arrow& arrow, const CString& file, int frames);

  std::vector<std::unique_ptr<Item>> m_items;
  CriticalSection m_itemLock;
  PaintedItemPointer m_pointer;
  int m_nItemWidth;
  int m_nItemHeight;
  int m_nColumns;
  int m_nCurRow;
  int m_nLastRow;
  bool m_bLayoutValid;
  Arrow m_left;
  Arrow m_right;
};

}  // namespace TESK
