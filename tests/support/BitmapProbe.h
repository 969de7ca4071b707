// Drawing surfaces for render tests: a 32-bit top-down DIB selected into a memory DC,
// whose pixels are read back directly (never from the screen), and a GDI+ session for
// the length of a test.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

namespace testsupport {

class DibSurface {
public:
  // A surface of width x height filled with rgb (0x00RRGGBB).
  DibSurface(int width, int height, DWORD rgb = 0);
  ~DibSurface();
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;

  HDC dc() const { return m_dc; }
  HBITMAP bitmap() const { return m_bitmap; }
  int width() const { return m_width; }
  int height() const { return m_height; }

  void Fill(DWORD rgb);
  // Copies the client area of a shown, non-layered window (from its top-left) onto the surface.
  bool CopyFromWindow(HWND hwnd);
  // The pixel's colour as 0x00RRGGBB (the alpha byte is left out: GDI leaves it undefined).
  DWORD Pixel(int x, int y) const;
  BYTE Red(int x, int y) const { return static_cast<BYTE>(Pixel(x, y) >> 16); }
  // The whole 0xAARRGGBB value, alpha included.
  DWORD Argb(int x, int y) const;
  // Writes a whole 0xAARRGGBB value, alpha included.
  void SetArgb(int x, int y, DWORD argb);
  // Pixels of colour rgb inside [left, right) x [top, bottom).
  int Count(int left, int top, int right, int bottom, DWORD rgb) const;
  // The smallest rectangle holding every pixel of area whose colour (0x00RRGGBB) passes
  // isInk; empty (all zero) when none does. Text ink is found this way, by colour family.
  RECT InkBox(const RECT& area, const std::function<bool(DWORD rgb)>& isInk) const;

private:
  int m_width, m_height;
  HDC m_dc;
  HBITMAP m_bitmap;
  HGDIOBJ m_previous;
  DWORD* m_bits;
};

// A copy of the picture in bitmap (a drag or drop picture) on a surface of its size; null
// for a null or invalid handle. The bitmap stays the caller's.
std::unique_ptr<DibSurface> SurfaceOf(HBITMAP bitmap);

// Creates the skin folder and the sub-folders that the skin file name (relative to it, with
// backslashes) passes through.
void MakeSkinFolderFor(const wchar_t* name);
// Writes a PNG of width x height in one colour (0xAARRGGBB) into the skin folder (or a
// sub-folder of it named in name), which it creates when needed. False when it cannot be
// written.
bool WriteSkin(const wchar_t* name, int width, int height, DWORD argb);
// The same with the colour of each pixel given by argbAt(x, y).
bool WriteSkin(const wchar_t* name, int width, int height, const std::function<DWORD(int x, int y)>& argbAt);
// A strip of frames laid side by side, frame i of frameWidth x height filled with argb[i], so
// one pixel of a drawing tells which frame (state cell) was shown.
bool WriteStrip(const wchar_t* name, int frameWidth, int height, const std::vector<DWORD>& argb);
// Writes the surface as a PNG file at path.
bool SavePng(const DibSurface& surface, const wchar_t* path);

// The name of a font family that the test prefix has installed (Wine offers the host's fonts
// under their own names), for controls whose text a test must see drawn; needs a GDI+ session.
const wchar_t* InstalledFontFamily();

class GdiplusSession {
public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
  ULONG_PTR m_token;
};

}  // namespace testsupport
