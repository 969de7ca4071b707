#include "BitmapProbe.h"

#include <algorithm>
#include <string>
#include <vector>

#include "ui/core/GdiplusHeaders.h"
#include "ui/core/Manager.h"

namespace testsupport {

DibSurface::DibSurface(int width, int height, DWORD rgb) : m_width(width), m_height(height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  m_dc = CreateCompatibleDC(nullptr);
  m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  m_bits = static_cast<DWORD*>(bits);
  m_previous = SelectObject(m_dc, m_bitmap);
  Fill(rgb);
}

DibSurface::~DibSurface() {
  SelectObject(m_dc, m_previous);
  DeleteObject(m_bitmap);
  DeleteDC(m_dc);
}

void DibSurface::Fill(DWORD rgb) {
  GdiFlush();
  for (int i = 0; i < m_width * m_height; ++i) m_bits[i] = rgb & 0xFFFFFF;
}

DWORD DibSurface::Pixel(int x, int y) const { return Argb(x, y) & 0xFFFFFF; }

DWORD DibSurface::Argb(int x, int y) const {
  GdiFlush();
  return m_bits[y * m_width + x];
}

void DibSurface::SetArgb(int x, int y, DWORD argb) {
  GdiFlush();
  m_bits[y * m_width + x] = argb;
}

int DibSurface::Count(int left, int top, int right, int bottom, DWORD rgb) const {
  int count = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) count += Pixel(x, y) == (rgb & 0xFFFFFF) ? 1 : 0;
  }
  return count;
}

void MakeSkinFolderFor(const wchar_t* name) {
  CreateDirectoryW(TESK::GetProgramFolder() + L"skins", nullptr);
  const std::wstring path = std::wstring(TESK::GetSkinFolder()) + name;
  for (size_t slash = path.find(L'\\', std::wstring(TESK::GetProgramFolder()).size() + 6); slash != std::wstring::npos;
       slash = path.find(L'\\', slash + 1)) {
    CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
  }
}

bool DibSurface::CopyFromWindow(HWND hwnd) {
  HDC window = GetDC(hwnd);
  if (!window) return false;
  const bool copied = BitBlt(m_dc, 0, 0, m_width, m_height, window, 0, 0, SRCCOPY) != 0;
  ReleaseDC(hwnd, window);
  return copied;
}

RECT DibSurface::InkBox(const RECT& area, const std::function<bool(DWORD rgb)>& isInk) const {
  RECT box = {0, 0, 0, 0};
  bool any = false;
  for (int y = std::max<LONG>(0, area.top); y < std::min<LONG>(m_height, area.bottom); ++y) {
    for (int x = std::max<LONG>(0, area.left); x < std::min<LONG>(m_width, area.right); ++x) {
      if (!isInk(Pixel(x, y))) continue;
      if (!any) box = {x, y, x + 1, y + 1};
      any = true;
      box.left = std::min<LONG>(box.left, x);
      box.top = std::min<LONG>(box.top, y);
      box.right = std::max<LONG>(box.right, x + 1);
      box.bottom = std::max<LONG>(box.bottom, y + 1);
    }
  }
  return box;
}

bool WriteSkin(const wchar_t* name, int width, int height, DWORD argb) {
  return WriteSkin(name, width, height, [argb](int, int) { return argb; });
}

namespace {

bool SaveAsPng(Gdiplus::Bitmap& bitmap, const wchar_t* path) {
  UINT count = 0, size = 0;
  Gdiplus::GetImageEncodersSize(&count, &size);
  std::vector<BYTE> buffer(size);
  auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  Gdiplus::GetImageEncoders(count, size, encoders);
  for (UINT i = 0; i < count; ++i) {
    if (lstrcmpW(encoders[i].MimeType, L"image/png") == 0) {
      return bitmap.Save(path, &encoders[i].Clsid, nullptr) == Gdiplus::Ok;
    }
  }
  return false;
}

}  // namespace

bool WriteSkin(const wchar_t* name, int width, int height, const std::function<DWORD(int x, int y)>& argbAt) {
  MakeSkinFolderFor(name);
  Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, Gdiplus::Color(argbAt(x, y)));
  }
  return SaveAsPng(bitmap, TESK::GetSkinFolder() + name);
}

bool WriteStrip(const wchar_t* name, int frameWidth, int height, const std::vector<DWORD>& argb) {
  if (frameWidth < 1 || argb.empty()) return false;
  const int frames = static_cast<int>(argb.size());
  return WriteSkin(name, frameWidth * frames, height, [&](int x, int) { return argb[x / frameWidth]; });
}

std::unique_ptr<DibSurface> SurfaceOf(HBITMAP bitmap) {
  BITMAP info = {};
  if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info)) return nullptr;
  auto surface = std::make_unique<DibSurface>(info.bmWidth, info.bmHeight, 0x123456);
  HDC source = CreateCompatibleDC(surface->dc());
  HGDIOBJ old = SelectObject(source, bitmap);
  BitBlt(surface->dc(), 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
  return surface;
}

bool SavePng(const DibSurface& surface, const wchar_t* path) {
  Gdiplus::Bitmap bitmap(surface.width(), surface.height(), PixelFormat32bppRGB);
  for (int y = 0; y < surface.height(); ++y) {
    for (int x = 0; x < surface.width(); ++x) bitmap.SetPixel(x, y, Gdiplus::Color(0xFF000000 | surface.Pixel(x, y)));
  }
  return SaveAsPng(bitmap, path);
}

const wchar_t* InstalledFontFamily() {
  for (const wchar_t* name : {L"Tahoma", L"DejaVu Sans", L"Liberation Sans", L"Noto Sans"}) {
    if (Gdiplus::FontFamily(name).IsAvailable()) return name;
  }
  return L"Tahoma";
}

GdiplusSession::GdiplusSession() : m_token(0) {
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
}

GdiplusSession::~GdiplusSession() { Gdiplus::GdiplusShutdown(m_token); }

}  // namespace testsupport
