// KeyFuncCtrl: key functions as an accordion of categories. Each category is a 40-pixel header
// (title and an open/closed frame of the control's own picture strip) above, while open, its
// entries as 50-pixel tiles, as many to a row as the width takes. A click on a header opens or
// closes its category and tells nobody; a release over a tile selects its value and tells the
// owner NOTIFY_CLICKED (0, the value). With its drag flag on, the hovered tile drags out as a
// picture and the drop's receiver asks GetCurValue for the hovered entry. The built-in content
// (InitItemInfo) has three categories: basic characters, extended keys and special functions
// with icons.
//
// Categories and entries are owned by the control; the category lock guards them and is never
// held while the control calls out. The layout (tile and header cells in control coordinates,
// scrolled; an open category's height) is made by each paint and the pointer hits that of the
// last paint. Made by both factories ("KeyFuncCtrl"); window thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/core/CString.h"
#include "ui/core/CriticalSection.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MPanel.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API KeyFuncCtrl : public MPanel {
public:
  // An entry: a tile with a label (its tooltip when it has a picture) and the value it stands
  // for (a keyboard usage, or the control's codes 500 to 517 and 0xAF for "Fn").
  struct FUNC_ITEM {
    CString label;
    int value = 0;
    std::unique_ptr<Gdiplus::Image> image;  // 20 x 20 drawn, or none
    CRect rect;                              // the tile of the last paint
  };
  // A category: a header and, while expanded, its entries' tile area of `height` pixels.
  struct ITEM_INFO {
    CString name;
    int expanded = 0;
    int height = 0;  // as last laid out (a preset until then)
    CRect rect;      // the header cell of the last paint
    std::vector<std::unique_ptr<FUNC_ITEM>> items;
  };

  KeyFuncCtrl(MObject* owner, UINT id, CRect rect, int visible);

  // Overrides in their base slot order.
  ~KeyFuncCtrl() override;
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
  // The header strip, the control's own picture from the skin folder: frame 0 for an open
  // category, frame 2 for a closed one. 0 when it does not load.
  int SetImage(const wchar_t* file, int frames) override;

  // Empties the control and builds the three built-in categories (only the first open).
  void InitItemInfo();
  // Frees every category and entry; the bar hidden, no content. Hover and selection stay.
  void ClearItems();
  // Closes every category: content 120, the bar shown only in a control lower than that.
  void ResetKeyState();
  // Renames category index: 1, or 0 for an index naming none.
  int SetItemText(int index, CString text);
  // Relabels the first entry of that value in the third category.
  void SetItemDesc(int value, CString text);
  // The hovered entry's value and label; 0 and empty without one.
  void GetCurValue(int& value, CString& label);

  int GetContentHeight() const { return m_nContentHeight; }
  int GetSelectValue() const { return m_nSelectValue; }
  // A category's laid-out height; 0 for an index naming none.
  int GetCategoryHeight(int index);

private:
  void AddKeyItem(ITEM_INFO* category, CString label, int value, CRect rect, CString image);
  static void DrawRoundRectange(Gdiplus::Graphics& g, float x, float y, float width, float height, float radius,
                                Gdiplus::Color pen, Gdiplus::Color fill);
  // The content height from the categories, then (unless only a positive sum may change it)
  // the bar's visibility, range and a position that keeps the tiles where they are.
  void UpdateContent(bool evenWhenEmpty);
  // The hovered entry, or null (also for a pair that names no entry any more). Lock held.
  FUNC_ITEM* HoveredEntry();
  void RenderCategories(Gdiplus::Graphics& g, int width);

  std::vector<std::unique_ptr<ITEM_INFO>> m_categories;
  CriticalSection m_lock;
  int m_nHoverCategory;
  int m_nHoverItem;
  int m_nSelectValue;
  int m_nContentHeight;
  int m_nOffset;  // the scroll offset of the last paint
  std::unique_ptr<Gdiplus::Image> m_ownImage;
};

}  // namespace TESK
