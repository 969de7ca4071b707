// The drag-out side of OLE drag and drop: CIDataObject holds the formats and media a drag
// offers, CEnumFormatEtc enumerates them, CIDropSource ends the drag when the buttons come
// up, and CDragSourceHelper gives the drag the shell's picture when the shell offers one.
// Reference counts are plain integers (UI thread only); each COM object deletes itself when
// its count reaches zero, so they are made with new.
#pragma once

#include <windows.h>

#include <ole2.h>
#include <shlobj.h>

#include <vector>

#include "ui/core/TeskApi.h"

namespace TESK {

class CIDropSource;

class TESK_API CIDataObject : public IDataObject {
public:
  explicit CIDataObject(CIDropSource* source);
  CIDataObject(const CIDataObject&) = delete;
  CIDataObject& operator=(const CIDataObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) override;
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) override;
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD connection) override;
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** enumerator) override;

  // Fills destination with a copy of source (handles duplicated, interfaces shared).
  static void CopyMedium(STGMEDIUM* destination, const STGMEDIUM* source, const FORMATETC* format);

  virtual ~CIDataObject();

private:
  CIDropSource* m_pDropSource;
  long m_refCount;
  std::vector<FORMATETC> m_formats;
  std::vector<STGMEDIUM> m_media;
};

class TESK_API CEnumFormatEtc : public IEnumFORMATETC {
public:
  explicit CEnumFormatEtc(const std::vector<FORMATETC>& formats);
  explicit CEnumFormatEtc(const std::vector<FORMATETC>* formats);
  CEnumFormatEtc(const CEnumFormatEtc&) = delete;
  CEnumFormatEtc& operator=(const CEnumFormatEtc&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* formats, ULONG* fetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** copy) override;

  virtual ~CEnumFormatEtc() = default;

private:
  long m_refCount;
  std::vector<FORMATETC> m_formats;
  size_t m_position;
};

class TESK_API CIDropSource : public IDropSource {
public:
  CIDropSource();
  CIDropSource(const CIDropSource&) = delete;
  CIDropSource& operator=(const CIDropSource&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override;
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;

  bool Dropped() const { return m_bDropped; }

  virtual ~CIDropSource() = default;

private:
  long m_refCount;
  bool m_bDropped;
};

class TESK_API CDragSourceHelper {
public:
  CDragSourceHelper();
  virtual ~CDragSourceHelper();
  CDragSourceHelper(const CDragSourceHelper&) = delete;
  CDragSourceHelper& operator=(const CDragSourceHelper&) = delete;

  // E_FAIL when the shell offers no drag images.
  HRESULT InitializeFromBitmap(HBITMAP bitmap, POINT& point, RECT& rect, IDataObject* data, COLORREF key);
  HRESULT InitializeFromWindow(HWND window, POINT& point, IDataObject* data);

private:
  IDragSourceHelper* m_pHelper;
};

}  // namespace TESK
