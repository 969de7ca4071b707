// SkinPicture: an owned GDI+ image with the width and height it reported when it loaded,
// the way the library's small windows keep their skin images. Loading replaces (and frees)
// the previous image; an image that fails to load leaves the picture empty. UI thread only.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API SkinPicture {
public:
  SkinPicture() = default;
  ~SkinPicture();
  SkinPicture(const SkinPicture&) = delete;
  SkinPicture& operator=(const SkinPicture&) = delete;

  // Each gives 1 when the image loaded without error, else 0 (and the picture is empty).
  int LoadSkin(CString file);  // relative to the skin folder
  int LoadResource(UINT resourceId, CString type);  // from the program's module
  int Take(Gdiplus::Image* loaded);  // takes ownership in every case
  void Reset();

  Gdiplus::Image* image() const { return m_image; }
  int width() const { return m_width; }
  int height() const { return m_height; }
  explicit operator bool() const { return m_image != nullptr; }

private:
  Gdiplus::Image* m_image = nullptr;
  int m_width = 0;
  int m_height = 0;
};

}  // namespace TESK
