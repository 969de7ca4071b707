// PaintManager: private fonts from files and installed families.
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/PaintManager.h"

namespace TESK {

Gdiplus::FontFamily* PaintManager::AddTempFont(const wchar_t* family, const wchar_t* path) {
  if (!family || !path) return nullptr;
  auto* collection = new Gdiplus::PrivateFontCollection();
  if (collection->AddFontFile(path) != Gdiplus::Ok) {
    delete collection;
    return nullptr;
  }
  return AdoptFontCollection(family, collection);
}

Gdiplus::FontFamily* PaintManager::FindTempFont(const wchar_t* family) {
  if (!family) return nullptr;
  CriticalSectionLock lock(m_fontLock);
  auto it = m_fonts.find(family);
  if (it != m_fonts.end()) return it->second.family;
  auto* installed = new Gdiplus::FontFamily(family);
  if (installed->GetLastStatus() != Gdiplus::Ok) {
    delete installed;
    return nullptr;
  }
  m_fonts[family] = TempFont{nullptr, installed};
  return installed;
}

void PaintManager::ClearTempFont() {
  CriticalSectionLock lock(m_fontLock);
  for (auto& entry : m_fonts) {
    delete entry.second.family;
    delete entry.second.collection;
  }
  m_fonts.clear();
  for (HANDLE font : m_gdiFonts) RemoveFontMemResourceEx(font);
  m_gdiFonts.clear();
}

}  // namespace TESK
