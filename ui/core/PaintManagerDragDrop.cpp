// PaintManager: the window as OLE drop target, and controls dragged out as pictures.
#include "ui/core/CIDataObject.h"
#include "ui/core/DropImage.h"
#include "ui/core/GdiHandles.h"
#include "ui/core/MControl.h"
#include "ui/core/MRender.h"
#include "ui/core/PaintManager.h"

namespace TESK {

namespace {

FORMATETC Format(CLIPFORMAT format, DWORD medium) { return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, medium}; }

// Reads a locked global block; null when it cannot be locked.
template <typename Read>
HBITMAP FromGlobal(HGLOBAL global, Read read) {
  void* block = global ? GlobalLock(global) : nullptr;
  if (!block) return nullptr;
  HBITMAP bitmap = read(block, GlobalSize(global));
  GlobalUnlock(global);
  return bitmap;
}

}  // namespace

int PaintManager::InitDragDrop() {
  // The engine keeps this reference for its whole life: it is part of its window object,
  // so the registration's own reference must never be the last one.
  AddRef();
  if (FAILED(RegisterDragDrop(m_hWnd, this))) return 0;
  m_bDropRegistered = true;
  if (m_formats.empty()) {
    AddSuportedFormat(Format(CF_BITMAP, TYMED_GDI));
    AddSuportedFormat(Format(CF_DIB, TYMED_HGLOBAL));
    AddSuportedFormat(Format(CF_HDROP, TYMED_HGLOBAL));
    AddSuportedFormat(Format(CF_ENHMETAFILE, TYMED_ENHMF));
  }
  return 1;
}

void PaintManager::OnDragOver(POINTL point) {
  if (m_hTargetWnd && ::IsWindow(m_hTargetWnd)) {
    ::PostMessageW(m_hTargetWnd, WM_UI_DRAGOVER, 0, MAKELPARAM(point.x, point.y));
  }
}

bool PaintManager::OnDrop(FORMATETC* format, STGMEDIUM& medium, DWORD*) {
  const bool hasTarget = m_hTargetWnd && ::IsWindow(m_hTargetWnd);
  if (hasTarget) {
    // The release ends the press state the drag began with.
    POINT cursor;
    GetCursorPos(&cursor);
    ::ScreenToClient(m_hTargetWnd, &cursor);
    ::SendMessageW(m_hTargetWnd, WM_LBUTTONUP, 0, MAKELPARAM(cursor.x, cursor.y));
    ::PostMessageW(m_hTargetWnd, WM_UI_DROP, 0, 0);
  }
  if (format->cfFormat == CF_DIB && medium.tymed == TYMED_HGLOBAL) {
    KeepDropPicture(FromGlobal(medium.hGlobal, BitmapFromPackedDib));
  } else if (format->cfFormat == CF_BITMAP && medium.tymed == TYMED_GDI && medium.hBitmap) {
    // A copy: the medium stays the source's and is released.
    if (hasTarget) KeepDropPicture(static_cast<HBITMAP>(OleDuplicateData(medium.hBitmap, CF_BITMAP, 0)));
  } else if (format->cfFormat == CF_ENHMETAFILE && medium.tymed == TYMED_ENHMF) {
    HDC dc = ::GetDC(m_hTargetWnd);
    HBITMAP bitmap = BitmapFromEnhMetaFile(medium.hEnhMetaFile, dc);
    ::ReleaseDC(m_hTargetWnd, dc);
    KeepDropPicture(bitmap);
  } else if (format->cfFormat == CF_HDROP && medium.tymed == TYMED_HGLOBAL) {
    KeepDropPicture(FromGlobal(medium.hGlobal, BitmapFromFileList));
  }
  return true;
}

void PaintManager::KeepDropPicture(HBITMAP bitmap) {
  if (!bitmap) return;
  if (!HasWindow()) {
    DeleteObject(bitmap);
    return;
  }
  const HBITMAP before = m_hDropPicture;
  m_hDropPicture = bitmap;
  // A window that answers gives back the image it held: the picture of the drop before,
  // or one of its own, which is ours to delete too.
  auto returned = reinterpret_cast<HGDIOBJ>(
      ::SendMessageW(m_hWnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
  if (returned && returned != bitmap && returned != before) DeleteObject(returned);
  if (before && before != bitmap) DeleteObject(before);
}

void PaintManager::ReleaseDropPicture() {
  if (m_hDropPicture) DeleteObject(m_hDropPicture);
  m_hDropPicture = nullptr;
}

namespace {

// The part (window coordinates) of the control's drawing as a 32-bit DIB section.
HBITMAP PictureOf(MControl* control, const CRect& part, HDC reference) {
  const CRect rect = control->GetRect();
  if (part.Width() <= 0 || part.Height() <= 0 || rect.right <= 0 || rect.bottom <= 0) return nullptr;
  ScopedGdiObject<HBITMAP> canvas(::CreateCompatibleBitmap(reference, rect.right, rect.bottom));
  ScopedMemoryDC canvasDC(reference);
  if (!canvas || !canvasDC) return nullptr;
  ScopedSelect drawOn(canvasDC.get(), canvas.get());
  HDC dc = canvasDC.get();
  control->Draw(dc, rect);
  BYTE* bits = nullptr;
  HBITMAP picture = MRender::CreateARGB32Bitmap(reference, part.Width(), part.Height(), &bits);
  ScopedMemoryDC pictureDC(reference);
  if (!picture || !pictureDC) {
    if (picture) DeleteObject(picture);
    return nullptr;
  }
  ScopedSelect copyTo(pictureDC.get(), picture);
  ::BitBlt(pictureDC.get(), 0, 0, part.Width(), part.Height(), canvasDC.get(), part.left, part.top, SRCCOPY);
  return picture;
}

}  // namespace

HBITMAP PaintManager::GetDropBitmap(MControl* control, const CRect& part, DWORD) {
  if (!control) return nullptr;
  CRect inWindow = part;
  inWindow.OffsetRect(control->GetRect().TopLeft());
  return PictureOf(control, inWindow, m_hDC);
}

HBITMAP PaintManager::GenerateBitmap(MControl* control, const CRect& rect, DWORD colour) {
  if (!control) return nullptr;
  HBITMAP picture = PictureOf(control, rect, m_hDC);
  if (picture && colour > 0xFFFFFF) {
    ScopedMemoryDC dc(m_hDC);
    ScopedSelect select(dc.get(), picture);
    MRender::DrawColor(dc.get(), CRect(0, 0, rect.Width(), rect.Height()), colour);
  }
  return picture;
}

void PaintManager::StartDrag() {
  if (!m_hDragBitmap || !HasWindow()) {
    m_bDragPending = 0;
    m_bPressed = 0;
    return;
  }
  RECT area;
  ::GetWindowRect(m_hWnd, &area);
  ClipCursor(&area);
  ::ReleaseCapture();
  auto* source = new CIDropSource();
  source->AddRef();
  auto* data = new CIDataObject(source);
  data->AddRef();

  // The picture as a bitmap (copied into the data object) and as an enhanced metafile.
  auto copy = static_cast<HBITMAP>(OleDuplicateData(m_hDragBitmap, CF_BITMAP, 0));
  FORMATETC bitmapFormat = Format(CF_BITMAP, TYMED_GDI);
  STGMEDIUM bitmapMedium = {};
  bitmapMedium.tymed = TYMED_GDI;
  bitmapMedium.hBitmap = copy;
  data->SetData(&bitmapFormat, &bitmapMedium, FALSE);
  BITMAP size = {};
  GetObjectW(copy, sizeof(size), &size);
  HDC recorder = CreateEnhMetaFileW(m_hDC, nullptr, nullptr, nullptr);
  if (recorder) {
    {
      ScopedMemoryDC source(m_hDC);
      ScopedSelect select(source.get(), copy);
      ::BitBlt(recorder, 0, 0, size.bmWidth, size.bmHeight, source.get(), 0, 0, SRCCOPY);
    }
    FORMATETC metaFormat = Format(CF_ENHMETAFILE, TYMED_ENHMF);
    STGMEDIUM metaMedium = {};
    metaMedium.tymed = TYMED_ENHMF;
    metaMedium.hEnhMetaFile = CloseEnhMetaFile(recorder);
    data->SetData(&metaFormat, &metaMedium, TRUE);
  }

  auto* helper = new CDragSourceHelper();
  POINT centre = {size.bmWidth / 2, size.bmHeight / 2};
  RECT frame = {0, 0, size.bmWidth, size.bmHeight};
  // The shell owns a drag image it accepted; otherwise the copy is ours to free.
  const bool imageTaken =
      copy && SUCCEEDED(helper->InitializeFromBitmap(copy, centre, frame, data, GetSysColor(COLOR_WINDOW)));
  DWORD effect = DROPEFFECT_NONE;
  ::DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);

  source->Release();
  data->Release();
  m_bDragPending = 0;
  m_bPressed = 0;
  ClipCursor(nullptr);
  delete helper;
  if (copy && !imageTaken) DeleteObject(copy);
}

}  // namespace TESK
