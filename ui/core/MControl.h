// MControl: the base of every self-drawn control. A control has an owner (the MObject that
// receives its notifications), an id, a rectangle in the hosting window's client
// coordinates, state flags, and two ordered lists of sub-controls that it owns and deletes:
// areas (drawn underneath, never routed to) and children (routed to, drawn on top). The
// non-virtual dispatchers (OnMouseMove ... OnTimer) decide whether an event goes to a child
// or to the control's own OnControl... handler. Each control renders itself into a cached
// bitmap of its own size and is re-rendered only after SetUpdate(0, ...).
//
// Threads: everything runs on the window's thread except OnTimer, which the engine calls on
// the multimedia timer thread. Locks: the area lock guards the area list, the child lock the
// child list; both are re-entrant and always taken parent before child (the engine's order
// is written down in PaintManager.h). A loop that calls into children walks a copy of the
// list taken under the lock (CopyUnderLock) and skips children removed meanwhile; no lock is
// held across a call into another control. Controls are constructed only by the class-name
// factories and deleted only by their container (RemoveControl, RemoveAllControl); a control
// must not outlive its engine.
//
// Removal inside handlers: RemoveControl takes the child out of the list and out of the
// engine's references at once (Detach) and hands it to HandlerScope::Dispose, which frees it
// when the outermost handler on the thread has returned. Every dispatcher below opens a
// HandlerScope, so a handler may remove itself, a sibling or its container; the code after
// the call still sees valid memory. A control notifies its owner (SendMessageW) last, after
// its own state is final.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/core/CString.h"
#include "ui/core/CriticalSection.h"
#include "ui/core/Geometry.h"
#include "ui/core/MObject.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class PaintManager;

// A position relative to a span [a, b], resolved by MControl::PositionItem2Value.
struct FS_POSITION_ITEM {
  int mode;      // 0 from an edge, 1 from the centre, 2 percentage
  int fromEnd;   // measure from b (mode 0) or towards a (mode 1)
  float value;
};

class TESK_API MControl : public MObject {
public:
  MControl(MObject* parent, UINT id, CRect rect, int visible, int enabled, int response);

  // Virtual operations in their fixed slot order (MObject's seven first).
  ~MControl() override;
  const wchar_t* GetClassNameW() const override;
  virtual void InitControl(PaintManager* manager);
  virtual int IsDragDrop();
  virtual int PtInRect(CPoint pt);
  virtual void DrawControl(HDC& dc, CRect dirty) = 0;
  virtual int DrawSubControls(HDC& dc, CRect dirty);
  virtual int IsDraw(CPoint pt);
  virtual void SetUpdate(int valid, DWORD colour);
  virtual int SetControlFocus(int focus);
  virtual void InitUI(CRect rect);
  virtual int OnMousePointChange(CPoint& pt);
  virtual int OnCheckMouseResponse(UINT keys, CPoint pt);
  virtual LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam);
  virtual void SetControlRect(CRect rect);
  virtual void SetControlVisible(int visible);
  virtual void SetControlWndVisible(int visible);
  virtual void SetControlEnabled(int enabled);
  virtual int OnControlTimer();
  virtual HBITMAP GetControlDropBitmap();
  virtual int OnControlMouseMove(UINT keys, CPoint pt);
  virtual int OnControlSetCursor(UINT keys, CPoint pt);
  virtual int OnControlLButtonDown(UINT keys, CPoint pt);
  virtual int OnControlLButtonUp(UINT keys, CPoint pt);
  virtual int OnControlLButtonDblClk(UINT keys, CPoint pt);
  virtual int OnControlScroll(int rows, UINT direction, CPoint pt);
  virtual int OnControlRButtonDown(UINT keys, CPoint pt);
  virtual int OnControlRButtonUp(UINT keys, CPoint pt);
  virtual int OnControlRButtonDblClk(UINT keys, CPoint pt);
  virtual int OnControlKeyDown(UINT key, UINT count, UINT modifiers);
  virtual void OnPositionChange();
  virtual void InvalidateRect(const RECT* rect, int erase);

  // Tree.
  void SetManager(PaintManager* manager);
  void SetParent(MObject* parent) { m_pParent = parent; }
  MControl* GetControl(UINT id);
  // Takes child out of the children, then frees it (at once, or after the handlers on the
  // stack have returned). 0 always.
  int RemoveControl(MControl* child);
  // The same for every area and child.
  void RemoveAllControl();
  std::vector<MControl*>& GetControls() { return m_children; }
  // Marks this control and its subtree removed and makes the engine forget them (hover,
  // focus, tooltip, caret, ticks, timers, queued repaints). Called by the container that
  // took the control out of its list, under the engine's tick lock, before Dispose.
  void Detach();
  // Set by Detach: the control has left the window and waits to be freed.
  int IsRemoved() const { return m_bRemoved; }
  // A copy of the child list taken under its lock, for walks that call into the children.
  std::vector<MControl*> CopyControls();

  // Geometry, visibility and state; repaint requests go to the owner's OnControlUpdate.
  void SetRect(CRect rect);
  void SetRect(int x, int y, int cx, int cy);
  void SetVisible(int visible);
  void SetVisible(int visible, int notify);
  void SetEnabled(int enabled);
  int IsParentVisible();
  void UpdateControl(int redraw, int force);
  void UpdateControl(CRect rect, int redraw, int force);
  void UpdateAControl(int keepAnimation, int force);

  UINT GetControlID() const { return m_id; }
  CRect GetRect() const { return m_rect; }
  int IsVisible() const { return m_bVisible; }
  int IsEnabled() const { return m_bEnabled; }
  PaintManager* GetManager() const { return m_pManager; }
  MObject* GetParantObject() const { return m_pParent; }
  void SetDragDrop(int dragDrop) { m_bDragDrop = dragDrop; }
  int GetRresponse() const { return m_bResponse; }
  void SetRresponse(int response) { m_bResponse = response; }
  int IsTabStop() const { return m_bTabStop; }
  void SetTabStop(int tabStop) { m_bTabStop = tabStop; }
  int GetDblClk() const { return m_bDblClk; }
  int IsFocused() const { return m_bFocused; }
  int IsKeyDown() const { return m_bKeyDown; }
  int UseImageECM() const { return m_bImageECM; }
  int GetUpdate() const { return m_bCacheValid; }
  int IsRunTimer() const { return m_bRunTimer; }
  void SetRunTimer(int run) { m_bRunTimer = run; }

  // Focus.
  int OnFocus(int focus);
  int IsFocusControl();
  MControl* GetFocusControl(MControl* control);
  MControl* GetNextFocusableControl(MControl* control);
  MControl* GetPrevFocusableControl(MControl* control);

  // Notifies the owner: OnBaseMessage(own id, code, wParam, lParam).
  LRESULT SendMessageW(UINT code, WPARAM wParam, LPARAM lParam);

  // Tooltip and cursor.
  void SetTooltip(const wchar_t* text);
  void SetTooltip(CString text, CRect rect);
  void ClearTooltip();
  CString GetTooltip() const { return m_tooltip; }
  void SetTooltipCtrlID(int) {}
  int GetTooltipCtrlID() const { return 0; }
  LRESULT SetCursorEx(const wchar_t* name);

  // Ticks and drag images.
  void AddMTimer();
  HBITMAP GetDropBitmap();

  // Drawing.
  void Draw(HDC& dc, CRect dirty);
  void UpdateMemDC(HDC& dc, int cx, int cy);
  void UpdateAnimateDC(HDC& dc, int cx, int cy);

  static int PositionItem2Value(const FS_POSITION_ITEM& item, int a, int b);

  // Dispatchers: return nonzero when the event was handled.
  int OnMouseMove(UINT keys, CPoint pt);
  int OnLButtonDown(UINT keys, CPoint pt);
  int OnLButtonUp(UINT keys, CPoint pt);
  int OnLButtonDblClk(UINT keys, CPoint pt);
  int OnRButtonDown(UINT keys, CPoint pt);
  int OnRButtonUp(UINT keys, CPoint pt);
  int OnRButtonDblClk(UINT keys, CPoint pt);
  int OnScroll(int rows, UINT direction, CPoint pt);
  int OnKeyDown(UINT key, UINT count, UINT modifiers);
  int OnKeyUp(UINT key, UINT count, UINT modifiers);
  int OnTimer();

protected:
  MObject* m_pParent;
  PaintManager* m_pManager;
  UINT m_id;
  CRect m_rect;
  int m_bVisible;
  int m_bEnabled;
  int m_bDragDrop;
  int m_bResponse;
  int m_bTabStop;
  int m_bDblClk;
  int m_bPressedInside;
  int m_bKeyDown;
  int m_bDerived;
  int m_bFocused;
  UINT m_hotKey;
  UINT m_hotKeyModifiers;
  int m_bCacheValid;
  int m_bAnimateValid;
  int m_bRunTimer;
  int m_bRunning;
  int m_bImageECM;
  std::vector<MControl*> m_areas;
  std::vector<MControl*> m_children;
  CriticalSection m_areaLock;
  CriticalSection m_childLock;
  MControl* m_pCurrentChild;
  SIZE m_cacheSize;
  HBITMAP m_hCacheBitmap;
  HDC m_hCacheDC;
  HGDIOBJ m_hCacheOldBitmap;
  SIZE m_animateSize;
  HBITMAP m_hAnimateBitmap;
  HDC m_hAnimateDC;
  HGDIOBJ m_hAnimateOldBitmap;
  CString m_tooltip;
  HCURSOR m_hCursor;
  int m_bRemoved;

private:
  friend class HandlerScope;
  // Forgets the engine in this control and its subtree, without InitControl: a removed
  // control whose engine goes before the control is freed.
  void LeaveEngine();
  enum class Button { Left, Right };
  // False for a hidden or unresponsive control; otherwise mapped is pt in this control's
  // content coordinates (OnMousePointChange).
  bool TakesMouse(CPoint pt, CPoint& mapped);
  // The point a child is handed: ids 1 and 2 (a panel's scroll bars) get the unmapped one.
  static CPoint PointFor(const MControl* child, CPoint unmapped, CPoint mapped);
  int ButtonDown(Button button, UINT keys, CPoint pt);
  int ButtonUp(Button button, UINT keys, CPoint pt);
  int ButtonDblClk(Button button, UINT keys, CPoint pt);
  static void ReleaseSurface(HDC& dc, HBITMAP& bitmap, HGDIOBJ& oldBitmap);
  static void CreateSurface(HDC compatible, int cx, int cy, HDC& dc, HBITMAP& bitmap, HGDIOBJ& oldBitmap);
};

}  // namespace TESK
