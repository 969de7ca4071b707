#include "ForegroundEdit.h"

#include <vector>

#include "MessagePump.h"

namespace testsupport {

namespace {

constexpr wchar_t kSelf[] = L"ForegroundEdit";

}  // namespace

ForegroundEdit::ForegroundEdit(POINT at) {
  m_edit = CreateWindowExW(WS_EX_TOPMOST, L"EDIT", L"", WS_POPUP | WS_VISIBLE | WS_BORDER, at.x, at.y, 200, 30, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!m_edit) return;
  SetPropW(m_edit, kSelf, this);
  m_editProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(m_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForegroundEdit::Proc)));
  Front();
}

ForegroundEdit::~ForegroundEdit() {
  if (!m_edit) return;
  SetWindowLongPtrW(m_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_editProc));
  RemovePropW(m_edit, kSelf);
  DestroyWindow(m_edit);
}

void ForegroundEdit::Front() const {
  if (!m_edit) return;
  SetForegroundWindow(m_edit);
  SetFocus(m_edit);
  PumpFor(100);
}

std::wstring ForegroundEdit::Text() const {
  if (!m_edit) return L"";
  std::vector<wchar_t> text(static_cast<size_t>(GetWindowTextLengthW(m_edit)) + 1);
  GetWindowTextW(m_edit, text.data(), static_cast<int>(text.size()));
  return text.data();
}

LRESULT CALLBACK ForegroundEdit::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<ForegroundEdit*>(GetPropW(hwnd, kSelf));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      ++self->m_keyMessages;
      break;
  }
  return CallWindowProcW(self->m_editProc, hwnd, message, wParam, lParam);
}

}  // namespace testsupport
