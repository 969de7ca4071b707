// ControlHost: a small dialog for control tests. It is shown (not activated) under the
// virtual display, creates controls by class name through the engine's factory, journals in
// order every notification and repaint request its controls send, drives input at client
// points the way a user's mouse and keyboard do (the cursor is put there first, then the
// message goes to the window, so the engine's hover, capture and key routing all run),
// pumps posted keys through the dialog's PreTranslateMessage as the modal loop does, and
// composes its client area into a DibSurface.
//
// Pointer messages the system makes on its own (the move that follows SetCursorPos, or a
// pointer moved by another test process on the same display, and the leave Wine posts for
// it) are dropped, so the journal holds only what the test drove. Leave() sends the leave.
// UI thread only, except the journal, which ticks on the multimedia thread may also write.
#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ui/core/MDialog.h"

namespace testsupport {

// One journal entry: a notification (OnMessage), a repaint request (OnControlUpdate), or a
// drop message the window received (WM_UI_DRAGOVER, WM_UI_DROP).
struct HostEvent {
  enum Kind { Notification, Repaint, DragOver, Drop };
  Kind kind;
  UINT id;         // the sending control's id
  UINT code;       // Notification: the NOTIFY_CODE
  WPARAM wParam;   // Notification
  LPARAM lParam;   // Notification
  int redraw;      // Repaint: nonzero when the control's cached drawing is stale
  CRect rect;      // Repaint: client coordinates
  DWORD thread;    // the thread it arrived on
};

// "10 notify 2 (0, 1)", "10 repaint 0", "drag over (0, 5)" or "drop (0, 5)", so a journal
// compares as readable lines.
std::string Describe(const HostEvent& event);
// The journal line of the notification (id, code, wParam, lParam): what a test expects to see.
std::string NotifyLine(UINT id, UINT code, WPARAM wParam, LPARAM lParam);

class ControlHost : public TESK::MDialog {
public:
  // A popup whose client area is width x height at a fixed place on the screen.
  explicit ControlHost(int width = 400, int height = 300);
  ~ControlHost() override;
  ControlHost(const ControlHost&) = delete;
  ControlHost& operator=(const ControlHost&) = delete;

  // ---- Controls (owned by the engine) ----
  // Made by the engine's factory from the class name and joined to its control list; null for
  // an unknown name. Add<T> also checks the class (null when the factory made another).
  TESK::MControl* Add(const wchar_t* className, UINT id, CRect rect, const wchar_t* title = L"", int visible = 1,
                      int enabled = 1);
  template <typename T>
  T* Add(const wchar_t* className, UINT id, CRect rect, const wchar_t* title = L"", int visible = 1, int enabled = 1) {
    return dynamic_cast<T*>(Add(className, id, rect, title, visible, enabled));
  }
  // Areas: MDialog::CreateArea. A control made by the test itself (a probe) joins the
  // engine's control list, which then owns it.
  void Adopt(TESK::MControl* control);

  // ---- Journal ----
  std::vector<HostEvent> Events() const;
  std::vector<std::string> Journal() const;        // every entry, described
  std::vector<std::string> Notifications() const;  // notifications only, described
  std::vector<int> Repaints(UINT id) const;        // the redraw flags of id's repaint requests
  void ClearJournal();
  // Runs inside OnMessage, after the entry is journaled; its answer is OnMessage's (else 0).
  std::function<LONG(const HostEvent&)> onNotify;
  // Runs inside OnWindowMessage for WM_UI_DRAGOVER and WM_UI_DROP, after the entry is
  // journaled, as a page's window handler does (a drop target's tracking on the drag-over,
  // the write on the drop). The drag-over's lParam holds the screen point.
  std::function<void(const HostEvent&)> onDragMessage;

  // ---- Input at client points (keys: the MK_ flags; a held left button is added itself) ----
  void MoveTo(CPoint pt, UINT keys = 0);
  void Press(CPoint pt, UINT keys = 0);    // WM_LBUTTONDOWN
  void Release(CPoint pt, UINT keys = 0);  // WM_LBUTTONUP
  void Click(CPoint pt);                   // move, press and release at pt
  // A user's click on the window as shown: the client area is composed first (lists hit their
  // items where their last paint put them), the journal cleared, then Click; the notifications
  // the click brought.
  std::vector<std::string> ClickShown(CPoint pt);
  void DoubleClick(CPoint pt);             // WM_LBUTTONDBLCLK (after a click, as the system orders it)
  void RightPress(CPoint pt);
  void RightRelease(CPoint pt);
  void Wheel(CPoint pt, short delta);      // delta in wheel units (120 a notch, positive away from the user)
  void Leave();                            // the pointer left the window
  void Key(UINT vk);                       // WM_KEYDOWN sent to the window
  // WM_KEYDOWN posted, then pumped as the modal loop does (PreTranslateMessage first: Tab).
  void PostKey(UINT vk);
  // Dispatches what is queued for this thread through PreTranslateMessage; bounded.
  void PumpPosted(DWORD timeoutMs = 500);

  // ---- Drops onto the host (its engine is the window's OLE drop target) ----
  // The engine takes drops only when OLE was initialised on the thread before the host was
  // made (it registers the window and its formats then).
  // Something carrying a picture is dragged over the client point: the cursor goes there,
  // the engine's DragEnter (on the first call of a drag) and DragOver run, and the
  // WM_UI_DRAGOVER they post is pumped.
  void DragOver(CPoint pt);
  // The drag drops at the client point: the engine's Drop, then the posted messages pumped
  // (the engine's own release reaches the window undriven and is dropped like the system's).
  // onDragMessage answers the messages as a page's window does.
  void Drop(CPoint pt);

  // Makes the host the thread's active window, as a user's first click into it does. Do it
  // before input that moves the keyboard focus into a child window (an edit): that activates
  // the host, and Wine tells a window activated outside the foreground that it is inactive,
  // on which the engine drops its hover and press.
  void Activate();

  // ---- Engine ----
  // One multimedia tick through the engine's dispatch, on this thread.
  void Tick();
  int EngineCaptured() { return GetPaintManager()->IsCaptured(); }
  CPoint ToScreen(CPoint pt);

  // ---- Drawing ----
  // Composes the whole client area into surface (of at least the client's size).
  void Compose(DibSurface& surface);
  // Composes and reads one pixel (0x00RRGGBB).
  DWORD PixelAt(int x, int y);
  // Composes and writes a PNG (for looking at a drawing while writing a test).
  bool SaveClientPng(const wchar_t* path);

  int width() const { return m_width; }
  int height() const { return m_height; }

  // MDialog's handlers the host records through or filters.
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  LONG OnMessage(UINT controlId, UINT code, UINT wParam, LONG lParam) override;
  LRESULT OnControlUpdate(CRect rect, int redraw, TESK::MControl* control) override;

private:
  void Drive(UINT message, WPARAM wParam, CPoint clientPt, bool screenPoint = false);
  // The cursor at the client point and a drag under way (entered on its first call); the
  // point on the screen.
  POINTL EnterDrag(CPoint pt);

  int m_width, m_height;
  bool m_driving = false;
  UINT m_heldButtons = 0;
  mutable std::mutex m_journalLock;
  std::vector<HostEvent> m_journal;
  IDataObject* m_dragData = nullptr;  // the picture of the drag under way, ours
};

// Input for the other windows a test meets beside the host (the popups its controls open),
// driven as the host drives its own: the cursor is put at the point, then the message goes
// to the window. ClickWindow sends a move, a press and a release at a client point;
// PostClick posts them, for a window of another thread or process whose click may open a
// modal loop that a sent message would wait for.
void ClickWindow(HWND window, CPoint clientPt);
void PostClick(HWND window, POINT clientPt);
void MoveInWindow(HWND window, CPoint clientPt);
// A real click through the system's input queue at a screen point (activation follows it).
void SystemClick(CPoint screenPt);

// Sets Shift, Ctrl and Alt in this thread's key state for one scope (the engine reads the
// modifiers with GetKeyState); the state before is restored at the end.
class KeyState {
public:
  KeyState(bool shift, bool ctrl, bool alt = false);
  ~KeyState();
  KeyState(const KeyState&) = delete;
  KeyState& operator=(const KeyState&) = delete;

private:
  BYTE m_saved[256];
};

}  // namespace testsupport
