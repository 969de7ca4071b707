// MWindow: the library's thin wrapper of one native window. It registers the window class
// (plain, or as a superclass of a system class), creates the window, binds the native handle
// to the object in the window procedure, and runs the modal loops through which dialogs are
// shown. The object belongs to its creator and must outlive its native window: the window
// procedures call it until WM_NCDESTROY, after which the handle is null again and the object
// may create a new window or be deleted. UI thread only; no locks.
//
// The eight virtual operations keep their slot order: every window class of the library and
// of the program derives from this prefix. DestroyWindow is deliberately not virtual.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/Geometry.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API MWindow {
public:
  MWindow();
  virtual ~MWindow();
  virtual const wchar_t* GetWindowClassName() const;  // "MWindow"
  virtual const wchar_t* GetSuperClassName() const;   // null: no superclassing
  virtual int ShowWindow(int nCmdShow);
  virtual LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
  virtual int PreTranslateMessage(MSG* msg);
  virtual int OnInitDialog();
  virtual void OnDestroyMessage(HWND hwnd);

  // Creation. A second Create on a live window returns that window and creates nothing;
  // a window that could not be created gives null and no OnInitDialog.
  HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, CRect rect, HMENU menu);
  HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, CRect rect);
  HWND Create(HWND parent, CRect rect);
  HWND Create(HWND parent);
  int RegisterWindowClass();
  int RegisterSuperClass();

  // Modal loops: the result is the wParam of the WM_CLOSE posted to this window, 0 when it
  // went without one, 0xFFFFFFFF without a window. ShowModal2 leaves the owner enabled.
  UINT ShowModal(int nCmdShow);
  UINT ShowModal2(int nCmdShow);

  void CenterWindow(MWindow* alternateOwner);
  void BringToTop();
  void SetIcon(UINT resourceId);
  int ModifyStyle(DWORD remove, DWORD add, UINT positionFlags);
  int ModifyExStyle(DWORD remove, DWORD add, UINT positionFlags);

  // Wrappers of the Win32 calls of the same names on this window; on a missing or dead
  // window they call nothing and return 0 (null, or -1 for GetWindowTextLengthW).
  int GetClientRect(RECT* rect);
  int GetWindowRect(RECT* rect);
  int SetWindowTextW(const wchar_t* text);
  int GetWindowTextW(CString& text);
  int GetWindowTextLengthW();
  int EnableWindow(int enable);
  int IsWindowEnabled();
  int IsWindowVisible();
  int IsIconic();
  int InvalidateRect(CRect rect, int erase);
  HWND SetCapture();
  int ReleaseCapture();
  HWND SetFocus();
  UINT_PTR SetTimer(UINT id, UINT elapse, TIMERPROC proc);
  int KillTimer(UINT id);
  int ClientToScreen(POINT* point);
  int ClientToScreen(RECT* rect);
  int ScreenToClient(POINT* point);
  int ScreenToClient(RECT* rect);
  int SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
  int MoveWindow(int x, int y, int width, int height, int repaint);
  int MoveWindow(const RECT* rect, int repaint);
  int DestroyWindow();
  // These check only that a handle is set (no IsWindow call).
  DWORD GetStyle();
  DWORD GetExStyle();
  LRESULT SendMessageW(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT PostMessageW(UINT message, WPARAM wParam, LPARAM lParam);

  HWND GetSafeHwnd() const { return m_hWnd; }
  HWND GetParentHwnd() const { return m_hParent; }

  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
  // A handle that is set (not null, not (HWND)-1) and, for Live, still a window.
  bool HasHandle() const;
  bool IsLive() const;

  HWND m_hParent;
  HWND m_hWnd;
  WNDPROC m_pPrevWndProc;

private:
  UINT RunModalLoop(int nCmdShow, bool disableOwner);
  // Both window procedures: bind the object at WM_NCCREATE, hand it every message, unbind
  // it at WM_NCDESTROY; lookup and bind say where the object is kept.
  static LRESULT Route(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, MWindow* (*lookup)(HWND),
                       void (*bind)(HWND, MWindow*));
};

}  // namespace TESK
