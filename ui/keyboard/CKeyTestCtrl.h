// CKeyTestCtrl: the advanced-key page's box of the keys held down, one 36-pixel label each,
// newest first in rows from the top left; labels that do not fit are not drawn. A released
// key's label fades out over 40 ticks of the window's multimedia timer and is then removed.
//
// The labels (KEY_LABEL_ITEM) are owned by the control. The window's thread adds, releases,
// clears and draws them while the ticks fade them on the multimedia timer thread: the label
// lock guards the list for all of them and is never held while the control calls out; a
// tick's repaint request goes to the engine's queue for the window's thread. Made by the panel
// factory ("CKeyTestCtrl"); the owner registers it for ticks (AddMTimer, SetRunTimer).
#pragma once

#include <windows.h>

#include <vector>

#include "ui/core/CString.h"
#include "ui/core/CriticalSection.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

// One label of CKeyTestCtrl.
struct KEY_LABEL_ITEM {
  CString name;
  int key = 0;
  int alpha = 255;  // 255 while the key is held, 251 down to 50 while the label fades
  CRect rect;       // its cell at the last paint (control coordinates)
};

class TESK_API CKeyTestCtrl : public MControlFont {
public:
  CKeyTestCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  // Overrides in their base slot order.
  ~CKeyTestCtrl() override;
  void DrawControl(HDC& dc, CRect dirty) override;
  // One step of fading (any thread): the oldest fading labels lose 5 each, up to the first
  // that falls below 50, which is removed. 1 when it ran.
  int OnControlTimer() override;

  // Appends a held key's label. Repaints.
  void AddKey(CString name, int key);
  // The first held label of that key starts fading (nothing when there is none).
  void RemoveKey(int key);
  // Frees every label. Repaints.
  void ClearList();

  // A copy of the labels, oldest first.
  std::vector<KEY_LABEL_ITEM> GetLabels();

private:
  void RenderLabels(Gdiplus::Graphics& g);

  std::vector<KEY_LABEL_ITEM> m_labels;  // oldest first
  CriticalSection m_labelLock;
};

}  // namespace TESK
