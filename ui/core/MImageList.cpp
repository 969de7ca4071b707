#include "ui/core/MImageList.h"

#include <algorithm>

#include "ui/core/MRender.h"

namespace TESK {

_M_IAMGELIST::~_M_IAMGELIST() { delete image; }

MImageList::MImageList() : m_drawSize{0, 0} {}

MImageList::~MImageList() { DelAllImages(); }

int MImageList::InsertImage(int index, const wchar_t* path, int id, int frames) {
  if (!path || index < -1) return -1;
  auto entry = std::make_unique<_M_IAMGELIST>();
  entry->id = id;
  entry->frames = std::max(1, frames);
  entry->path = path;
  entry->image = MRender::LoadImageFromFile(entry->path);
  if (entry->image && entry->image->GetLastStatus() == Gdiplus::Ok) {
    entry->height = static_cast<int>(entry->image->GetHeight());
    entry->frameWidth = static_cast<int>(entry->image->GetWidth()) / entry->frames;
  }
  // Appends take the lock too: a reader under the lock must never see the list move.
  CriticalSectionLock lock(m_lock);
  const int count = static_cast<int>(m_entries.size());
  if (index == -1) {
    m_entries.push_back(std::move(entry));
    return count;
  }
  if (index > count - 1) return -1;
  m_entries.insert(m_entries.begin() + index, std::move(entry));
  return index;
}

int MImageList::AddImage(const wchar_t* path, int id, int frames) { return InsertImage(-1, path, id, frames); }

_M_IAMGELIST* MImageList::EntryAt(int index) {
  if (index < 0 || index >= static_cast<int>(m_entries.size())) return nullptr;
  return m_entries[index].get();
}

_M_IAMGELIST* MImageList::GetItemImageData(int index) {
  CriticalSectionLock lock(m_lock);
  return EntryAt(index);
}

_M_IAMGELIST* MImageList::GetImageDataByID(int id) {
  CriticalSectionLock lock(m_lock);
  for (const auto& entry : m_entries) {
    if (entry->id == id) return entry.get();
  }
  return nullptr;
}

CString MImageList::GetImagePath(int index) {
  CriticalSectionLock lock(m_lock);
  const _M_IAMGELIST* entry = EntryAt(index);
  return entry ? entry->path : CString();
}

CString MImageList::GetImagePathByID(int id) {
  CriticalSectionLock lock(m_lock);
  const _M_IAMGELIST* entry = GetImageDataByID(id);
  return entry ? entry->path : CString();
}

int MImageList::DelAllImages() {
  CriticalSectionLock lock(m_lock);
  m_entries.clear();
  return 1;
}

int MImageList::SetDrawImgSize(int cx, int cy) {
  m_drawSize = {cx, cy};
  return 1;
}

void MImageList::DrawItemIcon(Gdiplus::Graphics& g, CRect dst, int index) { DrawItemIcon(g, dst, index, 0); }

void MImageList::DrawItemIcon(Gdiplus::Graphics& g, CRect dst, int index, int state) {
  CriticalSectionLock lock(m_lock);
  const _M_IAMGELIST* entry = EntryAt(index);
  if (!entry || !entry->image || entry->frameWidth <= 0) return;
  const int frame = std::min(std::max(state, 0), entry->frames - 1);
  g.DrawImage(entry->image, Gdiplus::Rect(dst.left, dst.top, dst.Width(), dst.Height()), frame * entry->frameWidth, 0,
              entry->frameWidth, entry->height, Gdiplus::UnitPixel);
}

}  // namespace TESK
