// MImageList: an ordered list of image strips loaded from files, each with the caller's id
// and a frame count, that draws one frame of an entry into a GDI+ graphics. A plain class a
// window or control holds as a member; it owns its entries and their images. The entry
// lock guards the list for every change and lookup; the pointers GetItemImageData and
// GetImageDataByID hand out stay valid until the entry is deleted (DelAllImages or the
// list's end). Any thread may call it.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/core/CString.h"
#include "ui/core/CriticalSection.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/Geometry.h"
#include "ui/core/TeskApi.h"

namespace TESK {

// One entry of an image list (the name is spelled so on purpose: it is the library's name).
struct TESK_API _M_IAMGELIST {
  _M_IAMGELIST() = default;
  ~_M_IAMGELIST();
  _M_IAMGELIST(const _M_IAMGELIST&) = delete;
  _M_IAMGELIST& operator=(const _M_IAMGELIST&) = delete;

  Gdiplus::Image* image = nullptr;  // owned; null when the file did not load
  int frameWidth = 0;               // image width / frames; 0 without an image
  int height = 0;                   // 0 without an image
  int id = 0;
  int frames = 1;                   // at least 1
  CString path;
};

class TESK_API MImageList {
public:
  MImageList();
  ~MImageList();
  MImageList(const MImageList&) = delete;
  MImageList& operator=(const MImageList&) = delete;

  // index -1 appends; 0 ... count - 1 inserts before that entry. Any other index, or a null
  // path, adds nothing and gives -1; otherwise the new entry's index. An entry whose file
  // does not load is added all the same (it draws nothing). Frames below 1 count as 1.
  int InsertImage(int index, const wchar_t* path, int id, int frames);
  int AddImage(const wchar_t* path, int id, int frames);

  // Null for an index outside the list, or an id no entry has (the first match wins).
  _M_IAMGELIST* GetItemImageData(int index);
  _M_IAMGELIST* GetImageDataByID(int id);
  // Empty for an index outside the list, or an id no entry has.
  CString GetImagePath(int index);
  CString GetImagePathByID(int id);
  int GetImageCount() const { return static_cast<int>(m_entries.size()); }
  int DelAllImages();

  // Stored for the list's users; the list itself does not read it.
  int SetDrawImgSize(int cx, int cy);
  CSize GetIconSize() const { return CSize(m_drawSize.cx, m_drawSize.cy); }

  // Frame 0, or frame state (limited to the strip's last frame; a negative state draws
  // frame 0), stretched into dst. Nothing for an index outside the list or an entry
  // without an image; a drawing error stays as the graphics' last status.
  void DrawItemIcon(Gdiplus::Graphics& g, CRect dst, int index);
  void DrawItemIcon(Gdiplus::Graphics& g, CRect dst, int index, int state);

private:
  _M_IAMGELIST* EntryAt(int index);

  std::vector<std::unique_ptr<_M_IAMGELIST>> m_entries;
  CriticalSection m_lock;
  SIZE m_drawSize;
};

}  // namespace TESK
