#include "ui/keyboard/KeyFuncControl2.h"

namespace TESK {

namespace {

constexpr float kCompactCornerRadius = 4.0f;

}  // namespace

KeyFuncControl2::KeyFuncControl2(MObject* owner, UINT id, CRect rect, int visible)
    : KeyFuncControl(owner, id, rect, visible, KeyPickerCompactGeometry(), kCompactCornerRadius, false) {}

KeyFuncControl2::~KeyFuncControl2() = default;

int KeyFuncControl2::OnControlLButtonDown(UINT keys, CPoint pt) {
  const int result = KeyFuncControl::OnControlLButtonDown(keys, pt);
  // The owner hears last, after the selection and the repaint request: its handler may
  // remove the picker.
  if (m_bEnabled && m_rect.PtInRect(pt)) {
    SendMessageW(NOTIFY_PRESSED, static_cast<WPARAM>(static_cast<INT_PTR>(m_nSelect)), 0);
  }
  return result;
}

}  // namespace TESK
