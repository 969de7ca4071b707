#include "ui/core/CIDataObject.h"

namespace TESK {

namespace {

// Counting shared by the drag-out objects; each deletes itself at zero.
template <typename T>
ULONG ReleaseAndDelete(T* object, long& count) {
  const long left = --count;
  if (left == 0) delete object;
  return static_cast<ULONG>(left);
}

template <typename Interface, typename T>
HRESULT AnswerQuery(T* object, REFIID iid, REFIID own, void** result) {
  if (!result) return E_POINTER;
  if (iid == IID_IUnknown || iid == own) {
    *result = static_cast<Interface*>(object);
    object->AddRef();
    return S_OK;
  }
  *result = nullptr;
  return E_NOINTERFACE;
}

}  // namespace

CIDataObject::CIDataObject(CIDropSource* source) : m_pDropSource(source), m_refCount(0) {}

CIDataObject::~CIDataObject() {
  for (STGMEDIUM& medium : m_media) ReleaseStgMedium(&medium);
}

HRESULT CIDataObject::QueryInterface(REFIID iid, void** object) {
  return AnswerQuery<IDataObject>(this, iid, IID_IDataObject, object);
}

ULONG CIDataObject::AddRef() { return static_cast<ULONG>(++m_refCount); }

ULONG CIDataObject::Release() { return ReleaseAndDelete(this, m_refCount); }

void CIDataObject::CopyMedium(STGMEDIUM* destination, const STGMEDIUM* source, const FORMATETC* format) {
  switch (source->tymed) {
    case TYMED_HGLOBAL:
    case TYMED_GDI:
    case TYMED_MFPICT:
    case TYMED_ENHMF:
      destination->hGlobal = static_cast<HGLOBAL>(OleDuplicateData(source->hGlobal, format->cfFormat, 0));
      break;
    case TYMED_ISTREAM:
      destination->pstm = source->pstm;
      if (destination->pstm) destination->pstm->AddRef();
      break;
    case TYMED_ISTORAGE:
      destination->pstg = source->pstg;
      if (destination->pstg) destination->pstg->AddRef();
      break;
    default:
      destination->hGlobal = nullptr;
      break;
  }
  destination->tymed = source->tymed;
  destination->pUnkForRelease = source->pUnkForRelease;
  if (destination->pUnkForRelease) destination->pUnkForRelease->AddRef();
}

HRESULT CIDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
  if (!format || !medium) return E_INVALIDARG;
  medium->hGlobal = nullptr;
  for (size_t i = 0; i < m_formats.size(); ++i) {
    const FORMATETC& stored = m_formats[i];
    if ((format->tymed & stored.tymed) && format->dwAspect == stored.dwAspect && format->cfFormat == stored.cfFormat) {
      CopyMedium(medium, &m_media[i], &stored);
      return S_OK;
    }
  }
  return DV_E_FORMATETC;
}

HRESULT CIDataObject::GetDataHere(FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }

HRESULT CIDataObject::QueryGetData(FORMATETC* format) {
  if (!format) return E_INVALIDARG;
  if (!(format->dwAspect & DVASPECT_CONTENT)) return DV_E_DVASPECT;
  HRESULT answer = DV_E_TYMED;
  for (const FORMATETC& stored : m_formats) {
    if (format->tymed & stored.tymed) {
      if (format->cfFormat == stored.cfFormat) return S_OK;
      answer = DV_E_CLIPFORMAT;
    } else {
      answer = DV_E_TYMED;
    }
  }
  return answer;
}

HRESULT CIDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
  if (!out) return E_INVALIDARG;
  return DATA_S_SAMEFORMATETC;
}

HRESULT CIDataObject::SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) {
  if (!format || !medium) return E_INVALIDARG;
  STGMEDIUM kept = {};
  if (release) {
    kept = *medium;
  } else {
    CopyMedium(&kept, medium, format);
  }
  m_formats.push_back(*format);
  m_media.push_back(kept);
  return S_OK;
}

HRESULT CIDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) {
  if (!enumerator) return E_POINTER;
  if (direction != DATADIR_GET) {
    *enumerator = nullptr;
    return E_NOTIMPL;
  }
  *enumerator = new CEnumFormatEtc(m_formats);
  (*enumerator)->AddRef();
  return S_OK;
}

HRESULT CIDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) { return OLE_E_ADVISENOTSUPPORTED; }

HRESULT CIDataObject::DUnadvise(DWORD) { return E_NOTIMPL; }

HRESULT CIDataObject::EnumDAdvise(IEnumSTATDATA**) { return OLE_E_ADVISENOTSUPPORTED; }

CEnumFormatEtc::CEnumFormatEtc(const std::vector<FORMATETC>& formats)
    : m_refCount(0), m_formats(formats), m_position(0) {}

CEnumFormatEtc::CEnumFormatEtc(const std::vector<FORMATETC>* formats)
    : m_refCount(0), m_formats(formats ? *formats : std::vector<FORMATETC>()), m_position(0) {}

HRESULT CEnumFormatEtc::QueryInterface(REFIID iid, void** object) {
  return AnswerQuery<IEnumFORMATETC>(this, iid, IID_IEnumFORMATETC, object);
}

ULONG CEnumFormatEtc::AddRef() { return static_cast<ULONG>(++m_refCount); }

ULONG CEnumFormatEtc::Release() { return ReleaseAndDelete(this, m_refCount); }

HRESULT CEnumFormatEtc::Next(ULONG count, FORMATETC* formats, ULONG* fetched) {
  if (fetched) *fetched = 0;
  if (count == 0 || !formats || m_position >= m_formats.size() || (!fetched && count != 1)) return S_FALSE;
  ULONG copied = 0;
  while (copied < count && m_position < m_formats.size()) formats[copied++] = m_formats[m_position++];
  if (fetched) *fetched = copied;
  return copied == count ? S_OK : S_FALSE;
}

HRESULT CEnumFormatEtc::Skip(ULONG count) {
  if (m_position + count >= m_formats.size()) return S_FALSE;
  m_position += count;
  return S_OK;
}

HRESULT CEnumFormatEtc::Reset() {
  m_position = 0;
  return S_OK;
}

HRESULT CEnumFormatEtc::Clone(IEnumFORMATETC** copy) {
  if (!copy) return E_POINTER;
  auto* clone = new CEnumFormatEtc(m_formats);
  clone->m_position = m_position;
  clone->AddRef();
  *copy = clone;
  return S_OK;
}

CIDropSource::CIDropSource() : m_refCount(0), m_bDropped(false) {}

HRESULT CIDropSource::QueryInterface(REFIID iid, void** object) {
  return AnswerQuery<IDropSource>(this, iid, IID_IDropSource, object);
}

ULONG CIDropSource::AddRef() { return static_cast<ULONG>(++m_refCount); }

ULONG CIDropSource::Release() { return ReleaseAndDelete(this, m_refCount); }

HRESULT CIDropSource::QueryContinueDrag(BOOL escape, DWORD keys) {
  if (escape) return DRAGDROP_S_CANCEL;
  if (!(keys & (MK_LBUTTON | MK_RBUTTON))) {
    m_bDropped = true;
    return DRAGDROP_S_DROP;
  }
  return S_OK;
}

HRESULT CIDropSource::GiveFeedback(DWORD) { return DRAGDROP_S_USEDEFAULTCURSORS; }

CDragSourceHelper::CDragSourceHelper() : m_pHelper(nullptr) {
  if (FAILED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDragSourceHelper,
                              reinterpret_cast<void**>(&m_pHelper)))) {
    m_pHelper = nullptr;
  }
}

CDragSourceHelper::~CDragSourceHelper() {
  if (m_pHelper) m_pHelper->Release();
}

HRESULT CDragSourceHelper::InitializeFromBitmap(HBITMAP bitmap, POINT& point, RECT& rect, IDataObject* data,
                                                COLORREF key) {
  if (!m_pHelper) return E_FAIL;
  BITMAP info = {};
  GetObjectW(bitmap, sizeof(info), &info);
  SHDRAGIMAGE image = {};
  image.sizeDragImage.cx = info.bmWidth;
  image.sizeDragImage.cy = info.bmHeight;
  image.ptOffset.x = point.x - rect.left;
  image.ptOffset.y = point.y - rect.top;
  image.hbmpDragImage = bitmap;
  image.crColorKey = key;
  return m_pHelper->InitializeFromBitmap(&image, data);
}

HRESULT CDragSourceHelper::InitializeFromWindow(HWND window, POINT& point, IDataObject* data) {
  if (!m_pHelper) return E_FAIL;
  return m_pHelper->InitializeFromWindow(window, &point, data);
}

}  // namespace TESK

