// DropWindow: a popup hosting a window engine that records, in order, the drop messages it
// receives ("up" for the release the engine sends first, "image" for STM_SETIMAGE, "over",
// "drop"), so a test can drop onto it, by hand through the engine's IDropTarget or through
// a real OLE drag. It answers STM_SETIMAGE with the image it held before, as a picture
// control does, unless takesImage is cleared (then it only looks, as the program's dialogs
// do). The pictures belong to the engine. Needs OLE initialised on the thread.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"

#include "ui/core/CIDataObject.h"
#include "ui/core/MObject.h"
#include "ui/core/MWindow.h"
#include "ui/core/PaintManager.h"

namespace testsupport {

class DropWindow : public TESK::MWindow, public TESK::MObject {
public:
  ~DropWindow() override;

  int OnInitDialog() override;
  void OnDestroyMessage(HWND hwnd) override;
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  // True once a WM_UI_DROP arrived.
  bool Dropped() const;

  class Engine : public TESK::PaintManager {
  public:
    using PaintManager::StartDrag;
    // Arms a drag of bitmap (the engine owns it) as a press on a drag source does.
    void SetDragBitmap(HBITMAP bitmap) {
      m_hDragBitmap = bitmap;
      m_bDragPending = 1;
    }
  } engine;
  std::vector<std::string> seen;
  HBITMAP image = nullptr;
  bool takesImage = true;
};

// A drag out of the host's control at the client point at, by the pointer: a DropWindow is laid
// over the point (the drag, with no button really held, ends where the cursor is), the button
// goes down there, the pointer moves twice, and the drop is awaited (bounded); then the button
// comes up. The picture the drop brought, or null when nothing was dropped. Needs OLE.
std::unique_ptr<DibSurface> DragOutAt(ControlHost& host, CPoint at);

// A data object as the engine's drag out builds it: a 4 x 4 bitmap on GDI and a metafile.
// The caller holds its one reference.
TESK::CIDataObject* DragOutData();
// A small metafile whose header bounds are replaced by the given ones; the caller owns it.
HENHMETAFILE MetafileWithBounds(LONG right, LONG bottom);

}  // namespace testsupport
