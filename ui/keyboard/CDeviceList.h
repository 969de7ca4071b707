// CDeviceList: a row of device tiles, 200 px wide with 20 px between them, one for each device
// whose state is above 0 (a device is added with state 0 and shows once the owner raises it).
// Each tile is a rounded plate with the device's picture, fitted into it (GetImageRect), and
// its name at the bottom; the selected and the hovered tile are outlined and show the
// device's selected picture. A release on a tile selects it and tells the owner
// NOTIFY_CLICKED (0, 0). Tiles wider than the list together move the horizontal bar by the
// wheel; they are always drawn from the list's left edge.
//
// The devices and their pictures belong to the list, under its lock, which is never held
// while the list calls out. Made by the panel factory ("CDeviceList"); window's thread only.
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

struct DEVICE_ITEM {
  CString name;
  int id = 0;
  int state = 0;  // shown, hovered or selected only above 0
  std::unique_ptr<Gdiplus::Image> picture;
  int pictureWidth = 0;
  int pictureHeight = 0;
  std::unique_ptr<Gdiplus::Image> selectedPicture;
  int selectedWidth = 0;
  int selectedHeight = 0;
  CRect rect;  // control coordinates of the last paint; empty while not shown
};

class TESK_API CDeviceList : public MPanel {
public:
  // enabled is not used.
  CDeviceList(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  // Overrides in their base slot order.
  ~CDeviceList() override;
  void DrawControl(HDC& dc, CRect dirty) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void SetControlRect(CRect rect) override;  // stores the rectangle only
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlScroll(int rows, UINT direction, CPoint pt) override;

  // Appends a device (state 0) with both pictures loaded at their own size from the paths as
  // given (none where a file does not load); returns its index.
  int AddDevice(CString name, int id, CString picture, CString selectedPicture);
  // No devices, no hover, the first index selected.
  void ClearList();
  int GetDeviceState(int id);  // 0 for an unknown id
  void SetDeviceState(int id, int state);  // the first device of that id
  void SetAllDeviceState(int state);
  // The first shown device of that id, else the first shown device, else none (-1).
  void SetSelectDevice(int id);
  // The selected device's id (a negative index reads as the first device); 0 without devices.
  int GetSelectDevice();
  int GetSelectItem() const { return m_nSelect; }
  int GetItemCount();
  // A w x h picture fitted into box: scaled down to the box's width or height, whichever the
  // picture exceeds (both: by its width-to-height ratio against the ratio of the first box
  // that had a height, kept for the process), then centred. A zero side keeps the picture's
  // size, centred.
  CRect GetImageRect(int w, int h, CRect box);

  static constexpr int kTileWidth = 200;
  static constexpr int kTileGap = 20;

protected:
  // The shown device whose tile of the last paint holds pt, or -1. Device lock held.
  int TileAt(CPoint pt) const;
  // Plates and pictures with GDI+, then the names with GDI, into the cached surface.
  void RenderTiles(HDC surface);

  std::vector<std::unique_ptr<DEVICE_ITEM>> m_devices;
  CriticalSection m_deviceLock;
  int m_nHover;
  int m_nSelect;
  int m_nTileWidth;
};

}  // namespace TESK
