// PaintManager: the engine of one top-level window of the library. The hosting window
// (MDialog, MPopupWnd, MenuWnd, MenuExWnd) embeds one, constructs it with itself, binds it
// to its handle with Init once the window exists, and hands it every window message. The
// engine owns the window's controls: it creates them by class name, keeps them in two
// ordered lists (areas, drawn first and never given raw messages; controls), routes input
// to them, paints them, runs their timers and ticks, and deletes them at DestroyData (the
// window's WM_NCDESTROY) or in its destructor.
//
// Threads: everything runs on the window's thread except OnMTimer, which the multimedia
// timer calls on its own thread; it walks the tick list under the tick lock.
//
// Lock order (all locks are re-entrant; take them in this order and never the reverse):
//   1. tick lock: held by the timer thread for a whole tick, and by the window's thread
//      while it deletes controls, so no tick ever runs into a control being deleted;
//   2. area lock, then 3. control lock (this engine's lists);
//   4. a control's area lock, then its child lock, parent before child down the tree.
//   The image, timer-record and font locks are leaves: nothing is called while they are held.
// Consequences: a tick handler, which holds 1 and control locks, never takes 2 or 3 itself
// (a repaint it asks for is passed to the window's thread); controls are never deleted from
// code that holds a control lock (handlers running under the control lock must not create
// or remove controls of the same window).
//
// Deleting a control forgets it everywhere in the same step: the engine's hover and focus
// pointers, the tooltip owner and the tick list (ForgetControl, run by every control's
// destructor), and the owning control's current child (MControl::RemoveControl).
#pragma once

#include <windows.h>

#include <map>
#include <vector>

#include "ui/core/CString.h"
#include "ui/core/CriticalSection.h"
#include "ui/core/Geometry.h"
#include "ui/core/MTimer.h"
#include "ui/core/TeskApi.h"

namespace Gdiplus {
class FontFamily;
class PrivateFontCollection;
}  // namespace Gdiplus

namespace TESK {

class MControl;
class MObject;
class MWindow;

class TESK_API PaintManager : public MTimer {
public:
  PaintManager();
  virtual ~PaintManager();
  PaintManager(const PaintManager&) = delete;
  PaintManager& operator=(const PaintManager&) = delete;

  using MTimer::OnMTimer;
  // A multimedia tick: ticks the registered controls (timer thread).
  void OnMTimer(UINT id) override;

  // Binds the engine to a created window; nothing for a null or dead handle.
  void Init(HWND window, MWindow* owner);

  // The factory. kind 0 appends the new control to the area list, kind 1 to the control
  // list, any other kind to neither (the caller then owns it). Null for an empty or
  // unknown class name.
  MControl* CreateControl(UINT kind, MObject* owner, const wchar_t* className, UINT id, CRect rect,
                          const wchar_t* title, int visible, int enabled);
  MControl* CreateArea(MObject* owner, const wchar_t* className, UINT id, CRect rect, const wchar_t* title,
                       int visible, int enabled);
  MControl* CreateControl(MObject* owner, const wchar_t* className, UINT id, CRect rect, const wchar_t* title,
                          int visible, int enabled);

  // Lookup (controls first, then areas, depth first; no lock), removal and the lists.
  MControl* GetControl(UINT id);
  void RemoveControl(MControl* control);
  void ClearAreaControls();
  void ClearControls();
  void ClearAllControls();
  std::vector<MControl*>* GetControls() { return &m_controls; }

  // Forgets every reference the engine keeps to control (hover, focus, tooltip owner, tick
  // registrations); run by each control's destructor.
  void ForgetControl(MControl* control);
  CriticalSection& GetTickLock() { return m_tickLock; }

  // Accessors.
  HWND GetPaintWnd() const { return m_hWnd; }
  HDC GetPaintDC() const { return m_hDC; }
  MWindow* GetMDialog() const { return m_pOwnerWnd; }
  HWND GetToolTipWnd() const { return m_hWnd; }
  void GetClientRect(CRect& rect);
  void GetWindowRect(CRect& rect);
  void GetClientSize(int& cx, int& cy);
  void Invalidate();
  void InvalidateRect(CRect rect, int erase);
  // Both deliver synchronously; 0 without a window.
  LRESULT SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam);
  HWND SetCapture();
  int ReleaseCapture();
  int IsCaptured() const { return m_bCaptured; }
  void SetCaptionRect(CRect rect) { m_captionRect = rect; }
  void GetCaptionRect(CRect& rect) const { rect = m_captionRect; }
  void SetWindowMaxSize(int cx, int cy);
  void SetWindowMixSize(int cx, int cy);
  void GetWindowMinSize(int& cx, int& cy) const;
  void GetWindowManSize(int& cx, int& cy) const;
  void SetLayeredWindow(int layered) { m_bLayered = layered; }
  int IsLayered() const { return m_bLayered; }
  void EnableWndDrag(int enable) { m_bWndDrag = enable; }
  void SetScrollResID(UINT vertical, UINT horizontal);
  UINT GetScrollVID() const { return m_scrollVID; }
  UINT GetScrollHID() const { return m_scrollHID; }
  COLORREF GetDefaultEnabledColor() const { return m_disabledTextColor; }
  void SetDefaultEnabledColor(COLORREF color) { m_disabledTextColor = color; }
  int GetTooltipCtrlID() const { return m_tooltipCtrlId; }
  void SetTooltipCtrlID(int id) { m_tooltipCtrlId = id; }
  void SetBackColor(COLORREF inner, COLORREF frame);

  // Focus and tooltips.
  MControl* GetFocusControl() const { return m_pFocus; }
  MControl* GetHoverControl() const { return m_pHover; }
  void SetFocusControl(MControl* control);
  void SetTooltip(const wchar_t* text, CRect rect);
  void ClearTooltip();

  // Multimedia ticks.
  void SetMTimer(UINT elapse);
  void KillMTimer(UINT id);
  void KillMTimer();
  int AddMTimer(MControl* control);
  int DeleteFSTimer(MControl* control);

  // Private fonts.
  Gdiplus::FontFamily* AddTempFont(const wchar_t* family, const wchar_t* path);
  Gdiplus::FontFamily* FindTempFont(const wchar_t* family);
  void ClearTempFont();

  // Teardown: releases everything bound to the window; only while initialized.
  void DestroyData();
  void OnDestroyMessage(HWND hwnd);

protected:
  int PostNcDestroy();
  // The factory's last steps: the engine becomes the control's manager (InitControl runs
  // once) and the control joins the list that kind names.
  void AttachControl(UINT kind, MControl* control);

  MWindow* m_pOwnerWnd;
  int m_bInitialized;
  HWND m_hWnd;
  HDC m_hDC;
  COLORREF m_backColor;
  COLORREF m_frameColor;
  CRect m_captionRect;
  SIZE m_maxSize;
  SIZE m_minSize;
  int m_bLayered;
  int m_bWndDrag;
  UINT m_scrollVID;
  UINT m_scrollHID;
  COLORREF m_disabledTextColor;
  int m_tooltipCtrlId;
  std::vector<MControl*> m_areas;
  std::vector<MControl*> m_controls;
  CriticalSection m_areaLock;
  CriticalSection m_controlLock;

  // Input state.
  int m_bPressed;
  int m_bCaptured;
  MControl* m_pHover;
  MControl* m_pFocus;
  HWND m_hTooltip;

  // Ticks, caches and fonts.
  UINT m_mTimerId;
  std::vector<MControl*> m_tickControls;
  CriticalSection m_tickLock;
  CriticalSection m_imageLock;
  CriticalSection m_timerLock;
  struct TempFont {
    Gdiplus::PrivateFontCollection* collection;  // null for an installed family
    Gdiplus::FontFamily* family;
  };
  std::map<CString, TempFont> m_fonts;
  std::vector<HANDLE> m_gdiFonts;
  CriticalSection m_fontLock;

private:
  // Deletes every element of list under lock, with the tick lock held first.
  void ClearList(std::vector<MControl*>& list, CriticalSection& lock);
  bool HasWindow() const;
};

}  // namespace TESK
