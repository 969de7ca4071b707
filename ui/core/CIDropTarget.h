// CIDropTarget: the OLE drop target every library window is (the window engine derives
// from it). It accepts a drag when the data offers one of its supported formats, answers
// the effect the modifier keys ask for, and hands a drop to the derived OnDrop. The
// reference count is a plain integer: OLE calls it on the UI thread only. An object that
// is part of another object (the engine) keeps a reference of its own, so that Release
// never deletes it.
#pragma once

#include <windows.h>

#include <ole2.h>
#include <shlobj.h>

#include <vector>

#include "ui/core/TeskApi.h"

namespace TESK {

// Posted to a window while something is dragged over it: lParam = screen x | y << 16.
constexpr UINT WM_UI_DRAGOVER = WM_USER + 1001;
// Posted to a window after a drop.
constexpr UINT WM_UI_DROP = WM_USER + 1002;

class TESK_API CIDropTarget : public IDropTarget {
public:
  CIDropTarget();
  CIDropTarget(const CIDropTarget&) = delete;
  CIDropTarget& operator=(const CIDropTarget&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
  virtual ~CIDropTarget();
  // The dropped medium in the chosen format; true when the medium may be released.
  virtual bool OnDrop(FORMATETC* format, STGMEDIUM& medium, DWORD* effect) = 0;
  virtual void OnDragOver(POINTL point) = 0;

  void AddSuportedFormat(const FORMATETC& format);
  void SetTargetWnd(HWND window) { m_hTargetWnd = window; }
  // The effect the key state asks for, limited to what the source allows; false for none.
  bool QueryDrop(DWORD keys, DWORD* effect);

protected:
  long m_refCount;
  bool m_bAccept;
  IDropTargetHelper* m_pDropHelper;
  std::vector<FORMATETC> m_formats;
  FORMATETC* m_pChosenFormat;
  HWND m_hTargetWnd;
};

}  // namespace TESK
