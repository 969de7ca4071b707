// Scoped owners of GDI handles: a memory DC, a GDI object, and an object selected into a
// DC for one scope. Header-only; each owner releases its handle on every path.
#pragma once

#include <windows.h>

namespace TESK {

// Owns a DC made by CreateCompatibleDC.
class ScopedMemoryDC {
public:
  explicit ScopedMemoryDC(HDC reference) : m_dc(::CreateCompatibleDC(reference)) {}
  ~ScopedMemoryDC() {
    if (m_dc) ::DeleteDC(m_dc);
  }
  ScopedMemoryDC(const ScopedMemoryDC&) = delete;
  ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;
  HDC get() const { return m_dc; }
  explicit operator bool() const { return m_dc != nullptr; }

private:
  HDC m_dc;
};

// Owns a bitmap, brush, pen, font or region.
template <typename Handle>
class ScopedGdiObject {
public:
  explicit ScopedGdiObject(Handle handle = nullptr) : m_handle(handle) {}
  ~ScopedGdiObject() { reset(); }
  ScopedGdiObject(const ScopedGdiObject&) = delete;
  ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
  Handle get() const { return m_handle; }
  explicit operator bool() const { return m_handle != nullptr; }
  void reset(Handle handle = nullptr) {
    if (m_handle) ::DeleteObject(m_handle);
    m_handle = handle;
  }
  Handle release() {
    Handle h = m_handle;
    m_handle = nullptr;
    return h;
  }

private:
  Handle m_handle;
};

// Selects an object into a DC and puts the previous one back at the end of the scope.
class ScopedSelect {
public:
  ScopedSelect(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(dc && object ? ::SelectObject(dc, object) : nullptr) {}
  ~ScopedSelect() {
    if (m_previous) ::SelectObject(m_dc, m_previous);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
  HDC m_dc;
  HGDIOBJ m_previous;
};

}  // namespace TESK
