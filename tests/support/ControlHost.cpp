#include "ControlHost.h"

#include <sstream>

#include "DropWindow.h"
#include "PaintProbe.h"
#include "ui/core/CIDataObject.h"
#include "ui/core/CIDropTarget.h"
#include "ui/core/MControl.h"

namespace testsupport {

namespace {

// Where the host's window sits on the screen; balloons and cursor positions are relative to it.
constexpr int kScreenLeft = 240;
constexpr int kScreenTop = 160;

bool IsPointerMessage(UINT message) {
  return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_MOUSELEAVE ||
         message == WM_MOUSEHOVER;
}

}  // namespace

std::string Describe(const HostEvent& event) {
  std::ostringstream out;
  switch (event.kind) {
    case HostEvent::Notification:
      out << event.id << " notify " << event.code << " (" << event.wParam << ", " << event.lParam << ")";
      break;
    case HostEvent::Repaint:
      out << event.id << " repaint " << event.redraw;
      break;
    case HostEvent::DragOver:
    case HostEvent::Drop:
      out << (event.kind == HostEvent::Drop ? "drop (" : "drag over (") << event.wParam << ", " << event.lParam << ")";
      break;
  }
  return out.str();
}

std::string NotifyLine(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  return Describe(HostEvent{HostEvent::Notification, id, code, wParam, lParam, 0, CRect()});
}

ControlHost::ControlHost(int width, int height) : m_width(width), m_height(height) {
  Create(nullptr, L"ControlHost", WS_POPUP, 0,
         CRect(kScreenLeft, kScreenTop, kScreenLeft + width, kScreenTop + height));
  // A press on empty space would start the system's window move loop.
  EnableWndDrag(0);
  // Never activated: an activation change elsewhere on the display then cannot reach the
  // engine as a deactivation that drops hover and press.
  MWindow::ShowWindow(SW_SHOWNOACTIVATE);
  PumpPosted();
}

ControlHost::~ControlHost() {
  onNotify = nullptr;
  onDragMessage = nullptr;
  if (m_dragData) m_dragData->Release();
  DestroyWindow();
}

TESK::MControl* ControlHost::Add(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                                 int enabled) {
  return CreateControl(className, id, rect, title, visible, enabled);
}

void ControlHost::Adopt(TESK::MControl* control) {
  static_cast<OpenPaintManager*>(GetPaintManager())->AttachControl(1, control);
}

// ---- Journal ----

std::vector<HostEvent> ControlHost::Events() const {
  std::lock_guard<std::mutex> lock(m_journalLock);
  return m_journal;
}

std::vector<std::string> ControlHost::Journal() const {
  std::vector<std::string> lines;
  for (const HostEvent& event : Events()) lines.push_back(Describe(event));
  return lines;
}

std::vector<std::string> ControlHost::Notifications() const {
  std::vector<std::string> lines;
  for (const HostEvent& event : Events()) {
    if (event.kind == HostEvent::Notification) lines.push_back(Describe(event));
  }
  return lines;
}

std::vector<int> ControlHost::Repaints(UINT id) const {
  std::vector<int> flags;
  for (const HostEvent& event : Events()) {
    if (event.kind == HostEvent::Repaint && event.id == id) flags.push_back(event.redraw);
  }
  return flags;
}

void ControlHost::ClearJournal() {
  std::lock_guard<std::mutex> lock(m_journalLock);
  m_journal.clear();
}

LONG ControlHost::OnMessage(UINT controlId, UINT code, UINT wParam, LONG lParam) {
  const HostEvent event{HostEvent::Notification, controlId, code, wParam, static_cast<LPARAM>(lParam), 0, CRect(),
                        GetCurrentThreadId()};
  {
    std::lock_guard<std::mutex> lock(m_journalLock);
    m_journal.push_back(event);
  }
  return onNotify ? onNotify(event) : 0;
}

LRESULT ControlHost::OnControlUpdate(CRect rect, int redraw, TESK::MControl* control) {
  if (control) {
    std::lock_guard<std::mutex> lock(m_journalLock);
    m_journal.push_back(
        HostEvent{HostEvent::Repaint, control->GetControlID(), 0, 0, 0, redraw, rect, GetCurrentThreadId()});
  }
  return MDialog::OnControlUpdate(rect, redraw, control);
}

// ---- Input ----

LRESULT ControlHost::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsPointerMessage(message) && !m_driving) return 0;
  if (message == TESK::WM_UI_DRAGOVER || message == TESK::WM_UI_DROP) {
    const HostEvent event{message == TESK::WM_UI_DROP ? HostEvent::Drop : HostEvent::DragOver, 0, 0, wParam, lParam, 0,
                          CRect(), GetCurrentThreadId()};
    {
      std::lock_guard<std::mutex> lock(m_journalLock);
      m_journal.push_back(event);
    }
    if (onDragMessage) onDragMessage(event);
  }
  return MDialog::OnWindowMessage(message, wParam, lParam);
}

CPoint ControlHost::ToScreen(CPoint pt) {
  POINT screen = {pt.x, pt.y};
  ClientToScreen(&screen);
  return CPoint(screen.x, screen.y);
}

void ControlHost::Drive(UINT message, WPARAM wParam, CPoint clientPt, bool screenPoint) {
  const CPoint screen = ToScreen(clientPt);
  SetCursorPos(screen.x, screen.y);
  const CPoint at = screenPoint ? screen : clientPt;
  const bool outer = m_driving;
  m_driving = true;
  ::SendMessageW(m_hWnd, message, wParam, MAKELPARAM(at.x, at.y));
  m_driving = outer;
}

void ControlHost::MoveTo(CPoint pt, UINT keys) { Drive(WM_MOUSEMOVE, keys | m_heldButtons, pt); }

void ControlHost::Press(CPoint pt, UINT keys) {
  m_heldButtons |= MK_LBUTTON;
  Drive(WM_LBUTTONDOWN, keys | m_heldButtons, pt);
}

void ControlHost::Release(CPoint pt, UINT keys) {
  m_heldButtons &= ~static_cast<UINT>(MK_LBUTTON);
  Drive(WM_LBUTTONUP, keys | m_heldButtons, pt);
}

void ControlHost::Click(CPoint pt) {
  MoveTo(pt);
  Press(pt);
  Release(pt);
}

std::vector<std::string> ControlHost::ClickShown(CPoint pt) {
  PixelAt(0, 0);
  ClearJournal();
  Click(pt);
  return Notifications();
}

void ControlHost::DoubleClick(CPoint pt) {
  Click(pt);
  m_heldButtons |= MK_LBUTTON;
  Drive(WM_LBUTTONDBLCLK, m_heldButtons, pt);
  Release(pt);
}

void ControlHost::RightPress(CPoint pt) {
  m_heldButtons |= MK_RBUTTON;
  Drive(WM_RBUTTONDOWN, m_heldButtons, pt);
}

void ControlHost::RightRelease(CPoint pt) {
  m_heldButtons &= ~static_cast<UINT>(MK_RBUTTON);
  Drive(WM_RBUTTONUP, m_heldButtons, pt);
}

void ControlHost::Wheel(CPoint pt, short delta) {
  Drive(WM_MOUSEWHEEL, MAKEWPARAM(m_heldButtons, static_cast<WORD>(delta)), pt, true);
}

void ControlHost::Leave() {
  // The cursor goes just outside the window's top-left corner, then the leave arrives.
  Drive(WM_MOUSELEAVE, 0, CPoint(-20, -20));
}

void ControlHost::Activate() {
  SetActiveWindow(m_hWnd);
  PumpPosted();
}

void ControlHost::Key(UINT vk) { ::SendMessageW(m_hWnd, WM_KEYDOWN, vk, 1); }

void ControlHost::PostKey(UINT vk) {
  ::PostMessageW(m_hWnd, WM_KEYDOWN, vk, 1);
  PumpPosted();
}

void ControlHost::PumpPosted(DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!PreTranslateMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (GetTickCount64() >= deadline) break;
  }
}

// ---- Drops ----

POINTL ControlHost::EnterDrag(CPoint pt) {
  const CPoint screen = ToScreen(pt);
  SetCursorPos(screen.x, screen.y);
  const POINTL at = {screen.x, screen.y};
  if (!m_dragData) {
    m_dragData = DragOutData();
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    GetPaintManager()->DragEnter(m_dragData, 0, at, &effect);
  }
  return at;
}

void ControlHost::DragOver(CPoint pt) {
  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  GetPaintManager()->DragOver(0, EnterDrag(pt), &effect);
  PumpPosted();
}

void ControlHost::Drop(CPoint pt) {
  const POINTL at = EnterDrag(pt);
  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  GetPaintManager()->Drop(m_dragData, 0, at, &effect);
  m_dragData->Release();
  m_dragData = nullptr;
  PumpPosted();
}

// ---- Engine ----

void ControlHost::Tick() {
  auto* engine = static_cast<OpenPaintManager*>(GetPaintManager());
  engine->OnMTimer(engine->m_mTimerId);
}

// ---- Drawing ----

void ControlHost::Compose(DibSurface& surface) {
  const CRect client(0, 0, m_width, m_height);
  GetPaintManager()->ComposeWindow(surface.dc(), surface.bitmap(), client, client);
}

DWORD ControlHost::PixelAt(int x, int y) {
  DibSurface surface(m_width, m_height);
  Compose(surface);
  return surface.Pixel(x, y);
}

bool ControlHost::SaveClientPng(const wchar_t* path) {
  DibSurface surface(m_width, m_height);
  Compose(surface);
  return SavePng(surface, path);
}

// ---- Modifiers ----

KeyState::KeyState(bool shift, bool ctrl, bool alt) {
  GetKeyboardState(m_saved);
  BYTE state[256];
  GetKeyboardState(state);
  state[VK_SHIFT] = shift ? 0x80 : 0;
  state[VK_CONTROL] = ctrl ? 0x80 : 0;
  state[VK_MENU] = alt ? 0x80 : 0;
  SetKeyboardState(state);
}

KeyState::~KeyState() { SetKeyboardState(m_saved); }

// ---- Other windows ----

void MoveInWindow(HWND window, CPoint clientPt) {
  POINT screen = clientPt;
  ::ClientToScreen(window, &screen);
  SetCursorPos(screen.x, screen.y);
  ::SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(clientPt.x, clientPt.y));
}

void ClickWindow(HWND window, CPoint clientPt) {
  MoveInWindow(window, clientPt);
  if (!::IsWindow(window)) return;
  ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(clientPt.x, clientPt.y));
  if (!::IsWindow(window)) return;
  ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(clientPt.x, clientPt.y));
}

void PostClick(HWND window, POINT clientPt) {
  POINT screen = clientPt;
  ::ClientToScreen(window, &screen);
  SetCursorPos(screen.x, screen.y);
  const LPARAM at = MAKELPARAM(clientPt.x, clientPt.y);
  ::PostMessageW(window, WM_MOUSEMOVE, 0, at);
  ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(window, WM_LBUTTONUP, 0, at);
}

void SystemClick(CPoint screenPt) {
  INPUT inputs[3] = {};
  const int cx = GetSystemMetrics(SM_CXSCREEN) - 1, cy = GetSystemMetrics(SM_CYSCREEN) - 1;
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>(screenPt.x * 65535 / cx);
    input.mi.dy = static_cast<LONG>(screenPt.y * 65535 / cy);
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  }
  inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  SendInput(3, inputs, sizeof(INPUT));
}

}  // namespace testsupport
