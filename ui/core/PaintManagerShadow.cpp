// PaintManager: the window's drop shadow, forwarded to the embedded MShadow.
#include "ui/core/Manager.h"
#include "ui/core/PaintManager.h"

namespace TESK {

namespace {

// Sets the image, then the corners when no side is negative.
template <typename Source>
int SetImageWithCorners(MShadow& shadow, Source source, const CRect& corners) {
  const int result = shadow.SetImage(source);
  if (corners.left >= 0 && corners.top >= 0 && corners.right >= 0 && corners.bottom >= 0) {
    shadow.SetShadowCorner(corners);
  }
  return result;
}

}  // namespace

void PaintManager::CreateShadow(int show, bool force) {
  MShadow::Initialize(Manager::m_hInstance, force);
  m_shadow.ShowShadow(show);
  m_shadow.Create(this);
}

int PaintManager::SetSize(int size) { return m_shadow.SetSize(size); }

int PaintManager::SetSharpness(UINT sharpness) { return m_shadow.SetSharpness(sharpness); }

int PaintManager::SetDarkness(UINT darkness) { return m_shadow.SetDarkness(darkness); }

int PaintManager::SetPosition(int x, int y) { return m_shadow.SetPosition(x, y); }

int PaintManager::SetShadowColor(DWORD color) { return m_shadow.SetColor(color); }

void PaintManager::DisableShadow(int disable) { m_shadow.DisableShadow(disable); }

void PaintManager::SetShadowShow(int show) { m_shadow.ShowShadow(show); }

int PaintManager::SetShadowImage(const wchar_t* file, CRect corners) {
  return SetImageWithCorners(m_shadow, file, corners);
}

int PaintManager::SetShadowImage(UINT id, CRect corners) { return SetImageWithCorners(m_shadow, id, corners); }

}  // namespace TESK
