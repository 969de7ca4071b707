#include "ui/core/CIDropTarget.h"

namespace TESK {

CIDropTarget::CIDropTarget()
    : m_refCount(0), m_bAccept(false), m_pDropHelper(nullptr), m_pChosenFormat(nullptr), m_hTargetWnd(nullptr) {
  // The shell's drag images are optional: without them drops work all the same.
  if (FAILED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDropTargetHelper,
                              reinterpret_cast<void**>(&m_pDropHelper)))) {
    m_pDropHelper = nullptr;
  }
}

CIDropTarget::~CIDropTarget() {
  if (m_pDropHelper) m_pDropHelper->Release();
}

HRESULT CIDropTarget::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDropTarget) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG CIDropTarget::AddRef() { return static_cast<ULONG>(++m_refCount); }

ULONG CIDropTarget::Release() {
  const long count = --m_refCount;
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

void CIDropTarget::AddSuportedFormat(const FORMATETC& format) { m_formats.push_back(format); }

bool CIDropTarget::QueryDrop(DWORD keys, DWORD* effect) {
  const DWORD allowed = *effect;
  *effect = DROPEFFECT_NONE;
  if (!m_bAccept) return false;
  const bool control = (keys & MK_CONTROL) != 0;
  const bool shift = (keys & MK_SHIFT) != 0;
  DWORD wanted = DROPEFFECT_NONE;
  if (control && shift) {
    wanted = DROPEFFECT_LINK;
  } else if (control) {
    wanted = DROPEFFECT_COPY;
  } else if (shift) {
    wanted = DROPEFFECT_MOVE;
  }
  if (wanted != DROPEFFECT_NONE) {
    *effect = (allowed & wanted) ? wanted : DROPEFFECT_NONE;
  } else {
    for (DWORD candidate : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK}) {
      if (allowed & candidate) {
        *effect = candidate;
        break;
      }
    }
  }
  return *effect != DROPEFFECT_NONE;
}

HRESULT CIDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
  if (!data) return E_INVALIDARG;
  if (m_pDropHelper) {
    POINT at = {point.x, point.y};
    m_pDropHelper->DragEnter(m_hTargetWnd, data, &at, *effect);
  }
  m_pChosenFormat = nullptr;
  for (FORMATETC& format : m_formats) {
    if (data->QueryGetData(&format) == S_OK) {
      m_pChosenFormat = &format;
      break;
    }
  }
  m_bAccept = m_pChosenFormat != nullptr;
  QueryDrop(keys, effect);
  return S_OK;
}

HRESULT CIDropTarget::DragOver(DWORD keys, POINTL point, DWORD* effect) {
  if (m_pDropHelper) {
    POINT at = {point.x, point.y};
    m_pDropHelper->DragOver(&at, *effect);
  }
  QueryDrop(keys, effect);
  OnDragOver(point);
  return S_OK;
}

HRESULT CIDropTarget::DragLeave() {
  if (m_pDropHelper) m_pDropHelper->DragLeave();
  m_bAccept = false;
  m_pChosenFormat = nullptr;
  return S_OK;
}

HRESULT CIDropTarget::Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
  if (!data) return E_INVALIDARG;
  if (m_pDropHelper) {
    POINT at = {point.x, point.y};
    m_pDropHelper->Drop(data, &at, *effect);
  }
  if (QueryDrop(keys, effect) && m_bAccept && m_pChosenFormat) {
    STGMEDIUM medium = {};
    if (data->GetData(m_pChosenFormat, &medium) == S_OK) {
      // A receiver that answers false has kept what the medium held.
      if (OnDrop(m_pChosenFormat, medium, effect)) ReleaseStgMedium(&medium);
    }
  }
  m_bAccept = false;
  m_pChosenFormat = nullptr;
  *effect = DROPEFFECT_NONE;
  return S_OK;
}

}  // namespace TESK
