// A picture the keyboard controls are given by name and keep without drawing it (the items
// of KeyValueList, LightTypeTab and MListBoxEx, the key-travel pictures' key and thumb
// pictures): loaded from the skin folder when the name is given and the file loads, kept
// with its size and owned by its holder. Window thread only.
#pragma once

#include <memory>

#include "ui/controls/PictureShow.h"
#include "ui/core/CString.h"
#include "ui/core/GdiplusHeaders.h"

namespace TESK {

struct ItemPicture {
  // A name that is empty or does not load leaves the item without a picture.
  void Load(const CString& file) {
    image.reset(file.IsEmpty() ? nullptr : PictureShow::LoadSkin(file));
    width = image ? static_cast<int>(image->GetWidth()) : 0;
    height = image ? static_cast<int>(image->GetHeight()) : 0;
  }

  std::unique_ptr<Gdiplus::Image> image;  // or none
  int width = 0;
  int height = 0;
};

}  // namespace TESK
