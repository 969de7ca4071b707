#include "ui/core/MObject.h"

#include <cwchar>

namespace TESK {

MObject::~MObject() {}

int MObject::IsClass(const wchar_t* name) {
  const wchar_t* own = GetClassNameW();
  return own && name && std::wcscmp(own, name) == 0;
}

const wchar_t* MObject::GetClassNameW() const { return nullptr; }

const wchar_t* MObject::GetObjectClass() { return nullptr; }

const wchar_t* MObject::BaseObjectClassName() { return nullptr; }

LRESULT MObject::OnBaseMessage(UINT, UINT, WPARAM, LPARAM) { return 0; }

LRESULT MObject::OnControlUpdate(CRect, int, MControl*) { return 0; }

}  // namespace TESK
