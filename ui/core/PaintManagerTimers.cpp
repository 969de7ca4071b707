// PaintManager: window timers of controls, the image cache, and fonts from resources.
#include <algorithm>

#include "ui/core/GdiplusHeaders.h"
#include "ui/core/HandlerScope.h"
#include "ui/core/MControl.h"
#include "ui/core/MRender.h"
#include "ui/core/Manager.h"
#include "ui/core/PaintManager.h"
#include "ui/core/TeskModule.h"

namespace TESK {

namespace {

// Control timer ids run 0..239; the engine's own ids below that range are never handed out.
constexpr UINT kTimerIdRange = 240;

bool IsEngineTimer(UINT id) {
  return id == PaintManager::kCaretTimer || id == PaintManager::kMessageHoldTimer ||
         id == PaintManager::kOverlayFadeTimer || id == PaintManager::kProgressTimer;
}

// The bytes of a resource of the library's own module, or null.
const void* LibraryResource(UINT id, const wchar_t* type, DWORD& size) {
  HMODULE module = GetLibraryModule();
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), type);
  if (!resource) return nullptr;
  size = SizeofResource(module, resource);
  HGLOBAL loaded = LoadResource(module, resource);
  return loaded && size ? LockResource(loaded) : nullptr;
}

}  // namespace

// ---- Window timers ----

int PaintManager::SetTimer(MControl* control, UINT key, UINT elapse) {
  CriticalSectionLock lock(m_timerLock);
  for (TimerRecord* record : m_timerRecords) {
    if (record->hwnd != m_hWnd || record->control != control || record->key != key) continue;
    if (!record->killed) return 0;
    if (!::SetTimer(m_hWnd, record->id, elapse, nullptr)) return 0;
    record->killed = 0;
    return 1;
  }
  // The next free id after the counter: not the engine's, not one that a record (running
  // or kept for a restart) still holds.
  const auto inUse = [this](UINT id) {
    return std::any_of(m_timerRecords.begin(), m_timerRecords.end(),
                       [id](const TimerRecord* r) { return r->id == id; });
  };
  UINT id = m_timerCounter;
  bool found = false;
  for (UINT tries = 0; tries < kTimerIdRange && !found; ++tries) {
    id = (id + 1) % kTimerIdRange;
    found = !IsEngineTimer(id) && !inUse(id);
  }
  if (!found) return 0;
  m_timerCounter = id;
  if (!::SetTimer(m_hWnd, id, elapse, nullptr)) return 0;
  m_timerRecords.push_back(new TimerRecord{m_hWnd, key, id, 0, control});
  return 1;
}

int PaintManager::KillTimer(MControl* control, UINT key) {
  CriticalSectionLock lock(m_timerLock);
  for (TimerRecord* record : m_timerRecords) {
    if (record->hwnd == m_hWnd && record->control == control && record->key == key && !record->killed) {
      if (HasWindow()) ::KillTimer(m_hWnd, record->id);
      record->killed = 1;
      return 1;
    }
  }
  return 0;
}

void PaintManager::KillTimer(MControl* control) {
  CriticalSectionLock lock(m_timerLock);
  auto keep = m_timerRecords.begin();
  for (TimerRecord* record : m_timerRecords) {
    if (record->control != control) {
      *keep++ = record;
      continue;
    }
    if (!record->killed && record->hwnd && ::IsWindow(record->hwnd)) ::KillTimer(record->hwnd, record->id);
    delete record;
  }
  m_timerRecords.erase(keep, m_timerRecords.end());
}

void PaintManager::ClearTimers() {
  CriticalSectionLock lock(m_timerLock);
  for (TimerRecord* record : m_timerRecords) {
    if (record->hwnd == m_hWnd && !record->killed && HasWindow()) ::KillTimer(m_hWnd, record->id);
    delete record;
  }
  m_timerRecords.clear();
}

void PaintManager::OnTimer(UINT id) {
  if (id == kCaretTimer) {
    OnCaretTimer();
    return;
  }
  if (IsEngineTimer(id)) {
    OnOverlayTimer(id);
    return;
  }
  // The controls are called outside the record lock, which is a leaf: a handler may start
  // and stop timers or remove controls. One whose timer stopped or that left the window
  // meanwhile is skipped.
  const auto running = [this, id](MControl* control) {
    CriticalSectionLock lock(m_timerLock);
    return std::any_of(m_timerRecords.begin(), m_timerRecords.end(), [this, id, control](const TimerRecord* r) {
      return r->hwnd == m_hWnd && r->id == id && !r->killed && r->control == control;
    });
  };
  std::vector<MControl*> due;
  {
    CriticalSectionLock lock(m_timerLock);
    for (const TimerRecord* record : m_timerRecords) {
      if (record->hwnd == m_hWnd && record->id == id && !record->killed && record->control) {
        due.push_back(record->control);
      }
    }
  }
  HandlerScope scope;
  for (MControl* control : due) {
    if (!control->IsRemoved() && running(control)) control->OnTimer();
  }
}

// ---- Image cache ----

ImgResInfo* PaintManager::CacheImage(Gdiplus::Image* image, int frames, const wchar_t* name, UINT resId) {
  // A strip has at least one frame: no division by zero for a bad count.
  const int count = frames < 1 ? 1 : frames;
  return new ImgResInfo{image, image->GetWidth() / static_cast<UINT>(count), image->GetHeight(), count,
                        CString(name), resId};
}

ImgResInfo* PaintManager::AddImgResInfo(const wchar_t* name, int frames) {
  if (!name) return nullptr;
  CriticalSectionLock lock(m_imageLock);
  auto it = m_imagesByName.find(name);
  if (it != m_imagesByName.end()) return it->second;
  Gdiplus::Image* image = MRender::LoadImageFromFile(GetSkinFolder() + name);
  if (!image) return nullptr;
  ImgResInfo* info = CacheImage(image, frames, name, 0);
  m_imagesByName[name] = info;
  return info;
}

ImgResInfo* PaintManager::AddImgResInfo(UINT id, CString type, int frames, int fromProgram) {
  CriticalSectionLock lock(m_imageLock);
  std::map<UINT, ImgResInfo*>& cache = fromProgram ? m_programImages : m_libraryImages;
  auto it = cache.find(id);
  if (it != cache.end()) return it->second;
  HINSTANCE module = fromProgram ? Manager::GetInstance() : GetLibraryModule();
  Gdiplus::Image* image = MRender::LoadImageFromIDResource(id, type, module);
  if (image && image->GetLastStatus() != Gdiplus::Ok) {
    delete image;
    image = nullptr;
  }
  if (!image) return nullptr;
  ImgResInfo* info = CacheImage(image, frames, L"", id);
  cache[id] = info;
  return info;
}

void PaintManager::ClearImgResInfo() {
  CriticalSectionLock lock(m_imageLock);
  for (auto* cache : {&m_programImages, &m_libraryImages}) {
    for (auto& entry : *cache) {
      delete entry.second->image;
      delete entry.second;
    }
    cache->clear();
  }
  for (auto& entry : m_imagesByName) {
    delete entry.second->image;
    delete entry.second;
  }
  m_imagesByName.clear();
}

// ---- Fonts from resources ----

Gdiplus::FontFamily* PaintManager::AddTempFont(const wchar_t* family, UINT resId) {
  if (!family) return nullptr;
  DWORD size = 0;
  const void* data = LibraryResource(resId, L"ttf", size);
  if (!data) return nullptr;
  auto* collection = new Gdiplus::PrivateFontCollection();
  if (collection->AddMemoryFont(data, static_cast<INT>(size)) != Gdiplus::Ok) {
    delete collection;
    return nullptr;
  }
  return AdoptFontCollection(family, collection);
}

Gdiplus::FontFamily* PaintManager::AdoptFontCollection(const wchar_t* family, Gdiplus::PrivateFontCollection* collection) {
  auto* found = new Gdiplus::FontFamily();
  INT count = 0;
  if (collection->GetFamilyCount() < 1 || collection->GetFamilies(1, found, &count) != Gdiplus::Ok || count < 1) {
    delete found;
    delete collection;
    return nullptr;
  }
  // The collection is kept with the family: the family's font data belongs to it.
  CriticalSectionLock lock(m_fontLock);
  auto it = m_fonts.find(family);
  if (it != m_fonts.end()) {
    delete it->second.family;
    delete it->second.collection;
  }
  m_fonts[family] = TempFont{collection, found};
  return found;
}

void PaintManager::AddGDITempFont(UINT resId) {
  DWORD size = 0;
  const void* data = LibraryResource(resId, L"ttf", size);
  if (!data) return;
  DWORD installed = 0;
  HANDLE font = AddFontMemResourceEx(const_cast<void*>(data), size, nullptr, &installed);
  if (!font) return;
  CriticalSectionLock lock(m_fontLock);
  m_gdiFonts.push_back(font);
}

}  // namespace TESK
