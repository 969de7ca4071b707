// PaintManager: multimedia ticks for the window's controls, and private fonts.
#include <algorithm>

#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MControl.h"
#include "ui/core/PaintManager.h"

namespace TESK {

void PaintManager::SetMTimer(UINT elapse) { m_mTimerId = static_cast<UINT>(SetTimer(elapse, CString(), 0)); }

void PaintManager::KillMTimer(UINT id) { KillTimer(id); }

void PaintManager::KillMTimer() { KillTimer(); }

int PaintManager::AddMTimer(MControl* control) {
  CriticalSectionLock lock(m_tickLock);
  m_tickControls.push_back(control);
  return 1;
}

int PaintManager::DeleteFSTimer(MControl* control) {
  CriticalSectionLock lock(m_tickLock);
  auto it = std::find(m_tickControls.begin(), m_tickControls.end(), control);
  if (it == m_tickControls.end()) return 0;
  m_tickControls.erase(it);
  return 1;
}

void PaintManager::OnMTimer(UINT id) {
  if (id != m_mTimerId) return;
  CriticalSectionLock lock(m_tickLock);
  // By index: a tick handler may register further controls.
  for (size_t i = 0; i < m_tickControls.size(); ++i) {
    MControl* control = m_tickControls[i];
    if (control && control->IsRunTimer() && control->IsVisible() && control->IsParentVisible()) control->OnTimer();
  }
}

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
