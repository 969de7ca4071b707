#include "ui/core/SkinPicture.h"

#include "ui/core/MRender.h"
#include "ui/core/Manager.h"

namespace TESK {

SkinPicture::~SkinPicture() { Reset(); }

int SkinPicture::LoadSkin(CString file) { return Take(MRender::LoadImageFromFile(GetSkinFolder() + file)); }

int SkinPicture::LoadResource(UINT resourceId, CString type) {
  return Take(MRender::LoadImageFromIDResource(resourceId, type, Manager::m_hInstance));
}

int SkinPicture::Take(Gdiplus::Image* loaded) {
  Reset();
  if (!loaded || loaded->GetLastStatus() != Gdiplus::Ok) {
    delete loaded;
    return 0;
  }
  m_image = loaded;
  m_width = static_cast<int>(loaded->GetWidth());
  m_height = static_cast<int>(loaded->GetHeight());
  return 1;
}

void SkinPicture::Reset() {
  delete m_image;
  m_image = nullptr;
  m_width = m_height = 0;
}

}  // namespace TESK
