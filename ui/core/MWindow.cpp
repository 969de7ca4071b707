#include "ui/core/MWindow.h"

#include "ui/core/Manager.h"

namespace TESK {

namespace {

const HWND kInvalidHwnd = reinterpret_cast<HWND>(-1);
const wchar_t kControlProp[] = L"Control";
constexpr DWORD kDefaultStyle = 0x80B;

// Where a window's object lives: the user data slot (plain classes) or the "Control"
// property (superclasses, whose system class may use the slot itself). Unbinding sets the
// property to null rather than removing it: the window is about to go anyway.
MWindow* UserDataWindow(HWND hwnd) { return reinterpret_cast<MWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }
void BindUserData(HWND hwnd, MWindow* window) {
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
}
MWindow* PropWindow(HWND hwnd) { return static_cast<MWindow*>(GetPropW(hwnd, kControlProp)); }
void BindProp(HWND hwnd, MWindow* window) { SetPropW(hwnd, kControlProp, window); }

}  // namespace

MWindow::MWindow() : m_hParent(nullptr), m_hWnd(nullptr), m_pPrevWndProc(DefWindowProcW) {}

MWindow::~MWindow() {}

const wchar_t* MWindow::GetWindowClassName() const { return L"MWindow"; }

const wchar_t* MWindow::GetSuperClassName() const { return nullptr; }

int MWindow::ShowWindow(int nCmdShow) { return HasHandle() ? ::ShowWindow(m_hWnd, nCmdShow) : 0; }

LRESULT MWindow::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(m_pPrevWndProc, m_hWnd, message, wParam, lParam);
}

int MWindow::PreTranslateMessage(MSG*) { return 0; }

int MWindow::OnInitDialog() { return 1; }

void MWindow::OnDestroyMessage(HWND) {}

bool MWindow::HasHandle() const { return m_hWnd != nullptr && m_hWnd != kInvalidHwnd; }

bool MWindow::IsLive() const { return HasHandle() && ::IsWindow(m_hWnd); }

HWND MWindow::Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, CRect rect, HMENU menu) {
  if (IsLive()) return m_hWnd;
  m_hParent = parent;
  const int registered = GetSuperClassName() ? RegisterSuperClass() : RegisterWindowClass();
  if (!registered) return nullptr;
  HWND created = CreateWindowExW(exStyle, GetWindowClassName(), name, style, rect.left, rect.top, rect.Width(),
                                 rect.Height(), parent, menu, Manager::m_hInstance, this);
  // The window procedure bound the handle at WM_NCCREATE; a window destroyed during its own
  // creation has already been unbound again.
  if (!created) {
    m_hWnd = nullptr;
    return nullptr;
  }
  m_hWnd = created;
  OnInitDialog();
  return m_hWnd;
}

HWND MWindow::Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, CRect rect) {
  return Create(parent, name, style, exStyle, rect, nullptr);
}

HWND MWindow::Create(HWND parent, CRect rect) { return Create(parent, L"DORorado", kDefaultStyle, 0, rect); }

HWND MWindow::Create(HWND parent) { return Create(parent, CRect(0, 0, 800, 600)); }

int MWindow::RegisterWindowClass() {
  WNDCLASSW wc = {};
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = WndProc;
  wc.hInstance = Manager::m_hInstance;
  wc.lpszClassName = GetWindowClassName();
  return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

int MWindow::RegisterSuperClass() {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(nullptr, GetSuperClassName(), &wc) &&
      !GetClassInfoExW(Manager::m_hInstance, GetSuperClassName(), &wc)) {
    return 0;
  }
  m_pPrevWndProc = wc.lpfnWndProc;
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ControlProc;
  wc.hInstance = Manager::m_hInstance;
  wc.lpszClassName = GetWindowClassName();
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

LRESULT MWindow::Route(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, MWindow* (*lookup)(HWND),
                       void (*bind)(HWND, MWindow*)) {
  MWindow* window;
  if (message == WM_NCCREATE) {
    window = static_cast<MWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (window) {
      window->m_hWnd = hwnd;
      bind(hwnd, window);
    }
  } else {
    window = lookup(hwnd);
  }
  if (!window) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    const LRESULT result = CallWindowProcW(window->m_pPrevWndProc, hwnd, message, wParam, lParam);
    bind(hwnd, nullptr);
    window->m_hWnd = nullptr;
    window->OnDestroyMessage(hwnd);
    return result;
  }
  return window->OnWindowMessage(message, wParam, lParam);
}

LRESULT CALLBACK MWindow::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return Route(hwnd, message, wParam, lParam, UserDataWindow, BindUserData);
}

LRESULT CALLBACK MWindow::ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return Route(hwnd, message, wParam, lParam, PropWindow, BindProp);
}

UINT MWindow::ShowModal(int nCmdShow) { return RunModalLoop(nCmdShow, true); }

UINT MWindow::ShowModal2(int nCmdShow) { return RunModalLoop(nCmdShow, false); }

UINT MWindow::RunModalLoop(int nCmdShow, bool disableOwner) {
  if (!IsLive()) return 0xFFFFFFFF;
  UINT result = 0;
  HWND self = m_hWnd;
  HWND owner = GetWindow(self, GW_OWNER);
  ::ShowWindow(self, nCmdShow);
  if (disableOwner) ::EnableWindow(owner, FALSE);
  MSG msg = {};
  bool quit = false;
  // m_hWnd is re-read every turn: it becomes null at WM_NCDESTROY.
  while (m_hWnd && ::IsWindow(m_hWnd)) {
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
      quit = msg.message == WM_QUIT;
      break;
    }
    if (msg.message == WM_CLOSE && msg.hwnd == self) {
      result = static_cast<UINT>(msg.wParam);
      // The owner is enabled again before this window goes, so the system activates the
      // owner and not some other application's window.
      ::EnableWindow(owner, TRUE);
      ::SetFocus(owner);
    }
    if (!PreTranslateMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (disableOwner) ::EnableWindow(owner, TRUE);
  ::SetFocus(owner);
  if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
  return result;
}

void MWindow::CenterWindow(MWindow* alternateOwner) {
  if (!IsLive()) return;
  const DWORD style = GetStyle();
  const bool child = (style & WS_CHILD) != 0;
  HWND centre = nullptr;
  if (alternateOwner && alternateOwner->GetSafeHwnd()) {
    centre = alternateOwner->GetSafeHwnd();
  } else {
    centre = child ? GetParent(m_hWnd) : GetWindow(m_hWnd, GW_OWNER);
  }
  RECT own;
  ::GetWindowRect(m_hWnd, &own);
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  RECT area;
  RECT centreRect;
  if (child) {
    HWND parent = GetParent(m_hWnd);
    ::GetClientRect(parent, &area);
    ::GetClientRect(centre, &centreRect);
    MapWindowPoints(centre, parent, reinterpret_cast<POINT*>(&centreRect), 2);
  } else {
    if (centre) {
      const LONG centreStyle = GetWindowLongW(centre, GWL_STYLE);
      if (!(centreStyle & WS_VISIBLE) || (centreStyle & WS_MINIMIZE)) centre = nullptr;
    }
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(centre ? centre : m_hWnd, MONITOR_DEFAULTTONEAREST), &info);
    area = info.rcWork;
    if (centre) {
      ::GetWindowRect(centre, &centreRect);
    } else {
      centreRect = area;
    }
  }
  int x = (centreRect.left + centreRect.right) / 2 - width / 2;
  int y = (centreRect.top + centreRect.bottom) / 2 - height / 2;
  if (x + width > area.right) x = area.right - width;
  if (x < area.left) x = area.left;
  if (y + height > area.bottom) y = area.bottom - height;
  if (y < area.top) y = area.top;
  ::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MWindow::BringToTop() {
  if (!IsLive()) return;
  const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  const DWORD ownThread = GetWindowThreadProcessId(m_hWnd, nullptr);
  if (foregroundThread == ownThread) {
    SetForegroundWindow(m_hWnd);
  } else {
    // Another thread's window is in front: share its input state for the moment, or the
    // system refuses to hand the foreground over.
    AttachThreadInput(foregroundThread, ownThread, TRUE);
    AllowSetForegroundWindow(ASFW_ANY);
    SetForegroundWindow(m_hWnd);
    AttachThreadInput(foregroundThread, ownThread, FALSE);
  }
  ::ShowWindow(m_hWnd, (GetStyle() & WS_MINIMIZE) ? SW_RESTORE : SW_SHOW);
}

void MWindow::SetIcon(UINT resourceId) {
  HANDLE bigIcon = LoadImageW(Manager::m_hInstance, MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                              GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR);
  SendMessageW(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
  HANDLE smallIcon = LoadImageW(Manager::m_hInstance, MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                            GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR);
  SendMessageW(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
}

namespace {

int ModifyLong(HWND hwnd, int index, DWORD remove, DWORD add, UINT positionFlags) {
  const DWORD old = static_cast<DWORD>(GetWindowLongW(hwnd, index));
  const DWORD changed = (old & ~remove) | add;
  if (changed == old) return 0;
  SetWindowLongW(hwnd, index, static_cast<LONG>(changed));
  // The frame is recomputed only through SetWindowPos, which sends WM_WINDOWPOSCHANGED.
  if (positionFlags) {
    ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, positionFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return 1;
}

}  // namespace

int MWindow::ModifyStyle(DWORD remove, DWORD add, UINT positionFlags) {
  return HasHandle() ? ModifyLong(m_hWnd, GWL_STYLE, remove, add, positionFlags) : 0;
}

int MWindow::ModifyExStyle(DWORD remove, DWORD add, UINT positionFlags) {
  return HasHandle() ? ModifyLong(m_hWnd, GWL_EXSTYLE, remove, add, positionFlags) : 0;
}

int MWindow::GetClientRect(RECT* rect) { return IsLive() ? ::GetClientRect(m_hWnd, rect) : 0; }

int MWindow::GetWindowRect(RECT* rect) { return IsLive() ? ::GetWindowRect(m_hWnd, rect) : 0; }

int MWindow::SetWindowTextW(const wchar_t* text) { return IsLive() ? ::SetWindowTextW(m_hWnd, text) : 0; }

int MWindow::GetWindowTextW(CString& text) {
  if (!IsLive()) return 0;
  const int length = ::GetWindowTextLengthW(m_hWnd);
  const int copied = ::GetWindowTextW(m_hWnd, text.GetBuffer(length + 1), length + 1);
  text.ReleaseBuffer(copied);
  return copied;
}

int MWindow::GetWindowTextLengthW() { return IsLive() ? ::GetWindowTextLengthW(m_hWnd) : -1; }

int MWindow::EnableWindow(int enable) { return IsLive() ? ::EnableWindow(m_hWnd, enable) : 0; }

int MWindow::IsWindowEnabled() { return IsLive() ? ::IsWindowEnabled(m_hWnd) : 0; }

int MWindow::IsWindowVisible() { return IsLive() ? ::IsWindowVisible(m_hWnd) : 0; }

int MWindow::IsIconic() { return IsLive() ? ::IsIconic(m_hWnd) : 0; }

int MWindow::InvalidateRect(CRect rect, int erase) { return IsLive() ? ::InvalidateRect(m_hWnd, &rect, erase) : 0; }

HWND MWindow::SetCapture() { return IsLive() ? ::SetCapture(m_hWnd) : nullptr; }

int MWindow::ReleaseCapture() { return IsLive() ? ::ReleaseCapture() : 0; }

HWND MWindow::SetFocus() { return IsLive() ? ::SetFocus(m_hWnd) : nullptr; }

UINT_PTR MWindow::SetTimer(UINT id, UINT elapse, TIMERPROC proc) {
  return IsLive() ? ::SetTimer(m_hWnd, id, elapse, proc) : 0;
}

int MWindow::KillTimer(UINT id) { return IsLive() ? ::KillTimer(m_hWnd, id) : 0; }

int MWindow::ClientToScreen(POINT* point) { return IsLive() ? ::ClientToScreen(m_hWnd, point) : 0; }

int MWindow::ClientToScreen(RECT* rect) {
  if (!IsLive()) return 0;
  POINT* corners = reinterpret_cast<POINT*>(rect);
  return ::ClientToScreen(m_hWnd, &corners[0]) && ::ClientToScreen(m_hWnd, &corners[1]);
}

int MWindow::ScreenToClient(POINT* point) { return IsLive() ? ::ScreenToClient(m_hWnd, point) : 0; }

int MWindow::ScreenToClient(RECT* rect) {
  if (!IsLive()) return 0;
  POINT* corners = reinterpret_cast<POINT*>(rect);
  return ::ScreenToClient(m_hWnd, &corners[0]) && ::ScreenToClient(m_hWnd, &corners[1]);
}

int MWindow::SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  return IsLive() ? ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags) : 0;
}

int MWindow::MoveWindow(int x, int y, int width, int height, int repaint) {
  return IsLive() ? ::MoveWindow(m_hWnd, x, y, width, height, repaint) : 0;
}

int MWindow::MoveWindow(const RECT* rect, int repaint) {
  if (!IsLive() || !rect) return 0;
  return ::MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

int MWindow::DestroyWindow() { return IsLive() ? ::DestroyWindow(m_hWnd) : 0; }

DWORD MWindow::GetStyle() { return HasHandle() ? static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_STYLE)) : 0; }

DWORD MWindow::GetExStyle() { return HasHandle() ? static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_EXSTYLE)) : 0; }

LRESULT MWindow::SendMessageW(UINT message, WPARAM wParam, LPARAM lParam) {
  return HasHandle() ? ::SendMessageW(m_hWnd, message, wParam, lParam) : 0;
}

LRESULT MWindow::PostMessageW(UINT message, WPARAM wParam, LPARAM lParam) {
  return HasHandle() ? ::PostMessageW(m_hWnd, message, wParam, lParam) : 0;
}

}  // namespace TESK
