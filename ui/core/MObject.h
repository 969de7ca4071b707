// MObject: the root of everything that can own a control. A control reports to its owner
// only through these two notifications: OnBaseMessage (an event, carrying a NOTIFY_CODE)
// and OnControlUpdate (a repaint request in window client coordinates). Windows that host
// controls and every control are MObjects. The virtual operations below keep their order:
// derived classes in the program rely on it.
#pragma once

#include <windows.h>

#include "ui/core/Geometry.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class MControl;

// The code argument of OnBaseMessage. The base classes only carry these; the controls
// that send each one define its wParam and lParam.
enum NOTIFY_CODE {
  NOTIFY_PRESSED = 1,         // left button pressed (lists: wParam = item index)
  NOTIFY_CLICKED = 2,         // left button released after a press, or a selection made
  NOTIFY_DBLCLICKED = 3,      // double click
  NOTIFY_RCLICKED = 5,        // right button released
  NOTIFY_CHECKED = 7,         // check state changed by key
  NOTIFY_CHANGING = 8,        // value changing during a drag or wheel step (scroll bars: wParam = position)
  NOTIFY_PARTCLICKED = 9,     // a sub-part (zone, tab, icon) pressed or released
  NOTIFY_ITEMICON = 18,       // release on an item's first icon zone
  NOTIFY_FRAMESELECTED = 24,  // rubber-band selection ended with the right button
  NOTIFY_TEXTCHANGED = 26,    // in-place edit text changed
  NOTIFY_COLORCHANGED = 27,   // colour changed
  NOTIFY_VALUECHANGED = 28,   // spin value changed
  NOTIFY_EDITEND = 29,        // in-place edit closed
  NOTIFY_EDITBEGIN = 30,      // in-place edit opened
  NOTIFY_ICONCLICKED = 31,    // release on the icon zone of an edit field
  NOTIFY_IMAGESAVED = 32,     // image view saved its image
  NOTIFY_ITEMICON2 = 35,      // release on an item's second icon zone
};

class TESK_API MObject {
public:
  virtual ~MObject();
  // 1 when GetClassNameW equals name exactly; an object without a class name matches nothing.
  virtual int IsClass(const wchar_t* name);
  virtual const wchar_t* GetClassNameW() const;
  virtual const wchar_t* GetObjectClass();
  virtual const wchar_t* BaseObjectClassName();
  virtual LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam);
  // Repaint rect (window client coordinates); redraw nonzero: control's cache is stale.
  virtual LRESULT OnControlUpdate(CRect rect, int redraw, MControl* control);
};

}  // namespace TESK
