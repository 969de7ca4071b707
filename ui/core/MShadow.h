// MShadow: the soft drop shadow of a top-level window. The shadow is a layered,
// click-through "ShadowWnd" popup owned by the window and kept right below it; its
// per-pixel-alpha picture is computed from the window's region or drawn from a skin image
// as a nine-slice frame. The shadow follows its window by subclassing it (moves, sizes,
// showing, hiding, activation, destruction).
//
// Every PaintManager embeds one MShadow, which belongs to it. A window has at most one
// shadow: a library-wide map from window to shadow, guarded by its own lock, is consulted
// before subclassing, so a second Create for the same window never subclasses it again.
// Everything else runs on the window's thread.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/core/CString.h"
#include "ui/core/TeskApi.h"

namespace Gdiplus {
class Image;
}  // namespace Gdiplus

namespace TESK {

class PaintManager;

class TESK_API MShadow {
public:
  // One window row of the shape: [left, right) in pixels; left >= right is an empty row.
  struct RowSpan {
    int left;
    int right;
  };

  MShadow();
  virtual ~MShadow();
  MShadow(const MShadow&) = delete;
  MShadow& operator=(const MShadow&) = delete;

  // Registers the "ShadowWnd" class; 0 when already done and not forced, else 1.
  static int Initialize(HINSTANCE instance, bool force);
  // Creates the shadow of the owner's window when the show flag is set.
  void Create(PaintManager* owner);

  void ShowShadow(int show) { m_show = show; }
  int IsShowShadow() const { return m_show; }
  int IsDisableShadow() const { return m_disabled; }
  void DisableShadow(int disable);

  // Each returns 1, or 0 when the value is out of range (nothing changes then); a visible
  // shadow is redrawn.
  int SetSize(int size);              // -35 .. 35
  int SetSharpness(UINT sharpness);   // 0 .. 35
  int SetDarkness(UINT darkness);     // 0 .. 255
  int SetPosition(int x, int y);      // -35 .. 35 each
  int SetColor(DWORD color);          // 0x00RRGGBB
  int SetShadowCorner(RECT corners);  // no side negative
  // The picture becomes a skin image (file under the skin folder, or a program "PNG"
  // resource) stretched as a nine-slice frame with the corners. The file form returns 0 for
  // a null name and 1 otherwise; the resource form always returns 0.
  int SetImage(const wchar_t* file);
  int SetImage(UINT id);
  // Copies the settings into other through its setters; returns 1.
  int CopyShadow(MShadow* other);

  // Each colour byte times alpha / 255; the top byte is 0.
  static DWORD PreMultiply(DWORD color, BYTE alpha);

  // The computed shadow of a window of width x height whose rows have the shapes in rows
  // (height entries), into pixels: a bottom-up 32-bpp picture of the shadow's size
  // (width + 2 x size by height + 2 x size), which must be cleared to 0 first. Writes only
  // inside that picture.
  void MakeShadow(DWORD* pixels, int width, int height, const std::vector<RowSpan>& rows) const;
  // The rows of a window's region in window coordinates; all empty without a region.
  static std::vector<RowSpan> WindowRows(HWND window, int width, int height);

protected:
  static LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  // Acts on a message of the parent before its own procedure runs.
  void OnParentMessage(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam);
  // Redraws the picture and moves the shadow to its place; nothing unless shown and visible.
  void Update(HWND parent);
  // Update when the shadow window is visible (after a setting changed).
  void Redraw();
  // Status bits for the parent's current style: 1 enabled, 2 shadow visible, 4 parent visible.
  static BYTE StatusFor(HWND parent);
  // Top-left corner of the shadow for the parent's window rectangle.
  POINT Origin(const RECT& parentRect) const;
  // Moves the shadow to its place right below the parent, keeping its size.
  void FollowParent(HWND parent);
  void LoadedImage(Gdiplus::Image* image);
  HWND ParentWindow() const;

  PaintManager* m_pOwner;
  HWND m_hShadow;
  WNDPROC m_prevProc;
  BYTE m_status;
  int m_imageMode;
  int m_show;
  int m_disabled;
  Gdiplus::Image* m_pImage;
  int m_imageWidth;
  int m_imageHeight;
  BYTE m_darkness;
  BYTE m_sharpness;
  signed char m_size;
  signed char m_xOffset;
  signed char m_yOffset;
  WORD m_lastWidth;
  WORD m_lastHeight;
  int m_updatePending;
  DWORD m_color;
  CString m_imageName;
  UINT m_imageResId;
  RECT m_corners;
};

}  // namespace TESK
