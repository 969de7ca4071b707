// KeyboardTestCtrl: the key test's picture of a whole keyboard, each key coloured by the state
// its owner gives it: 1 red, 2 green, anything else (0 when added) grey. The owner adds the
// keys with rectangles in layout coordinates and says how large the layout is; the layout is
// then centred in the control, inside a rounded frame. It takes no input of its own.
//
// The keys (TEST_KEY_ITEM, with their pictures) are owned by the control; the key lock guards
// their list, and the drawing holds it while it walks them. Made by both factories
// ("KeyboardTestCtrl"); window thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/core/CString.h"
#include "ui/core/CriticalSection.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MPanel.h"
#include "ui/core/TeskApi.h"
#include "ui/keyboard/ItemPicture.h"

namespace TESK {

// One key of KeyboardTestCtrl.
struct TEST_KEY_ITEM {
  int index = 0;    // its position when added
  int keyCode = 0;  // a USB usage
  CString name;     // drawn when the key has no picture
  ItemPicture picture;
  int state = 0;  // 0 untouched; 1 and 2 as the owner sets them
  CRect rect;     // layout coordinates
};

class TESK_API KeyboardTestCtrl : public MPanel {
public:
  KeyboardTestCtrl(MObject* owner, UINT id, CRect rect, int visible);

  // Overrides in their base slot order.
  ~KeyboardTestCtrl() override;
  void InitControl(PaintManager* manager) override;
  void DrawControl(HDC& dc, CRect dirty) override;
  void SetControlRect(CRect rect) override;

  // Appends a key in state 0 and returns its index; a non-empty image (relative to the skin
  // folder) is loaded with its size. No repaint.
  int AddKeyItem(CString name, int keyCode, CString image, CRect rect);
  // The layout's size; with a control rectangle the layout is centred in it. No repaint.
  void SetWidthAndHeight(int width, int height);
  // The first key of that code takes the state. Repaints, also when no key has the code.
  void SetKeyState(int keyCode, int state);
  // Every key back to state 0. Repaints.
  void ResetKeyState();
  // Frees every key. Repaints.
  void ClearItem();

  // A key rectangle of the layout in control coordinates.
  CRect GetRealRect(const CRect& key) const;
  // A filled rectangle with a top band of barHeight in light grey (when positive), a 2-pixel
  // outline inside it and, with corner, a triangle in the outline's colour at the top right.
  static void DrawRectange(Gdiplus::Graphics& g, float x, float y, float w, float h, Gdiplus::Color frame,
                           Gdiplus::Color fill, bool corner, int barHeight);

  CPoint GetLayoutOffset() const { return m_offset; }

private:
  // Centres the layout in the control when both have a size.
  void CentreLayout();
  void RenderKeys(Gdiplus::Graphics& g);

  std::vector<std::unique_ptr<TEST_KEY_ITEM>> m_keys;
  CriticalSection m_keyLock;
  CPoint m_offset;
  int m_nLayoutWidth;
  int m_nLayoutHeight;
};

}  // namespace TESK
