// PaintManager: the engine of one top-level window of the library. The hosting window
// (MDialog, MPopupWnd, MenuWnd, MenuExWnd) embeds one, constructs it with itself, binds it
// to its handle with Init once the window exists, and hands it every window message. The
// engine owns the window's controls: it creates them by class name, keeps them in two
// ordered lists (areas, drawn first and never given raw messages; controls), routes input
// to them, paints them, runs their timers and ticks, and deletes them at DestroyData (the
// window's WM_NCDESTROY) or in its destructor.
//
// Threads: everything runs on the window's thread except OnMTimer, which the multimedia
// timer calls on its own thread; it walks a copy of the tick list under the tick lock.
// From any thread: OnControlUpdate (a repaint request; from another thread it is queued),
// Invalidate / InvalidateRect, PostCallable, IsWindowThread, IsTickThread, GetTickLock.
// Everything else, control state included (titles, item lists, selection, timers with
// SetTimer, creation and removal), belongs to the window's thread: another thread (the
// program's worker, a tick handler) has such work done there with PostCallable.
// A tick handler never sends a message to a window of the window's thread (SendMessageW,
// SetTooltip, anything that waits for that thread): teardown stops the timer on the
// window's thread and waits for the tick in flight, so such a send would never return.
// Debug builds assert it in SendMessageW and PostMessageW.
//
// Lock order (all locks are re-entrant; take them in this order and never the reverse):
//   1. tick lock: held by the timer thread for a whole tick, and by the window's thread
//      while it takes controls out of their lists and while it deletes them, so no tick
//      ever runs into a control being removed or deleted;
//   2. area lock, then 3. control lock (this engine's lists);
//   4. a control's area lock, then its child lock, parent before child down the tree;
//   5. an on-screen keyboard's key lock (KeyboardCtrl::m_lock), taken by its painting and
//      held by the device worker around its loops and in the keyboard's live setters. A
//      repaint the keyboard asks for off the window's thread comes straight to
//      OnControlUpdate (queued), never up the owner chain through the panels' child locks.
//   The image, timer-record, font, pending-update and posted-call locks are leaves:
//   nothing is called while they are held.
// No lock of 2 to 4 is held across a call into a control: every loop that calls controls
// (input routing, raw messages, drawing, ticks, repaint walks) walks a copy of its list
// taken under the lock and skips entries removed meanwhile. So a handler on either thread
// may take 1 and then a list lock, as removal does.
//
// Removal and deletion inside handlers: a control removed (RemoveControl, ClearControls,
// MControl::RemoveControl) leaves its list and every reference of the engine at once, its
// subtree with it (MControl::Detach: hover, focus, tooltip owner, caret owner, tick list,
// window timers, queued repaints), and is freed by HandlerScope::Dispose once no handler
// is on the stack: the engine opens a HandlerScope around every window message and every
// tick, and the controls' dispatchers open their own. Removed on another thread than the
// window's (a tick handler), it is freed on the window's thread. Code after a handler call
// may therefore go on with the pointers it holds, and checks IsRemoved before it stores
// one. A control's destructor forgets it once more (ForgetControl), so a removed control
// that registered itself again before it went leaves nothing behind. A control notifies
// its owner last, after its own state is final. A handler may destroy the window (its
// controls then wait like removed ones), but the hosting window's object, engine included,
// is not deleted while one of its handlers is on the stack: post that deletion to another
// window's engine.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "ui/core/CIDropTarget.h"
#include "ui/core/CString.h"
#include "ui/core/CriticalSection.h"
#include "ui/core/Geometry.h"
#include "ui/core/MShadow.h"
#include "ui/core/MTimer.h"
#include "ui/core/TeskApi.h"

namespace Gdiplus {
class FontFamily;
class Graphics;
class Image;
class PrivateFontCollection;
}  // namespace Gdiplus

namespace TESK {

class MAirBladder;
class MControl;
class MControlFont;
class MObject;
class MWindow;
enum AIRBLADDER_TYPE : int;
enum AIRBLADDER_MODE : int;

// A skin image cached by a window's engine and shared by its controls; owned by the cache.
struct ImgResInfo {
  Gdiplus::Image* image;
  UINT frameWidth;  // image width / frames
  UINT height;
  int frames;       // as given by the first request
  CString name;     // file name as requested; empty for resource images
  UINT resId;       // 0 for file images
};

// How the background image is drawn: once at its own size at the top-left corner, or
// stretched over the client area as a nine-slice frame. Other values draw no image.
enum enumBackMode { BACK_MODE_IMAGE = 0, BACK_MODE_FRAME = 1 };

// The level of a message overlay; stored, it does not change the drawing.
enum MsgLevel { MSG_LEVEL_INFO = 0, MSG_LEVEL_WARNING = 1, MSG_LEVEL_ERROR = 2 };

class TESK_API PaintManager : public MTimer, public CIDropTarget {
public:
  PaintManager();
  ~PaintManager() override;
  PaintManager(const PaintManager&) = delete;
  PaintManager& operator=(const PaintManager&) = delete;

  using MTimer::OnMTimer;
  // A multimedia tick: ticks the registered controls (timer thread).
  void OnMTimer(UINT id) override;

  // Binds the engine to a created window; nothing for a null or dead handle.
  void Init(HWND window, MWindow* owner);

  // OLE drag and drop: the window as drop target (registered by Init, revoked when the
  // window goes), and pictures of controls for dragging them out. A drop's picture is sent
  // to the window with STM_SETIMAGE; the engine owns it (the window may use it until the
  // next drop or until it goes) and deletes it then, together with an image the window
  // gives back. The dropped medium is always released.
  int InitDragDrop();
  void OnDragOver(POINTL point) override;
  bool OnDrop(FORMATETC* format, STGMEDIUM& medium, DWORD* effect) override;
  // part is relative to the control; the result is a 32-bit DIB section the caller owns.
  HBITMAP GetDropBitmap(MControl* control, const CRect& part, DWORD unused);
  // The same with rect in window coordinates, covered with colour when it has an alpha part.
  HBITMAP GenerateBitmap(MControl* control, const CRect& rect, DWORD colour);

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
  // A copy of the control list taken under its lock, for walks that call into the controls.
  std::vector<MControl*> CopyControls();

  // Forgets every reference the engine keeps to control (hover, focus, tooltip owner, caret
  // owner, tick registrations, window timers, queued repaints); run by MControl::Detach and
  // by each control's destructor.
  void ForgetControl(MControl* control);
  CriticalSection& GetTickLock() { return m_tickLock; }

  // Work for the window's thread, from any thread: call runs there, in posting order, from
  // the window's message queue (the hosting window hands the engine every message). False,
  // and call is dropped unrun, when the engine has no window or its window is gone; calls
  // still queued when the window goes are dropped unrun too. The engine must outlive the
  // posting (the program stops its worker before it destroys its windows).
  bool PostCallable(std::function<void()> call);
  // True on the window's thread, and on any thread while the engine has no window.
  bool IsWindowThread() const;
  // True on a thread while it runs the ticks of some engine (the multimedia timer thread).
  static bool IsTickThread();

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
  // Both deliver synchronously; 0 without a window. Never from a tick handler.
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

  // Input routing (UI thread). The hosting window passes every message to OnWindowMessage
  // after its own handlers: nonzero goes back to the system, zero lets the default window
  // procedure run. Its message loop offers each message to PreTranslateMessage first
  // (Tab focus cycling, tooltip relay); 1 means consumed.
  LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  int PreTranslateMessage(MSG* msg);
  int OnMouseMove(UINT keys, CPoint pt);
  int OnMouseLeave();
  int OnLButtonDown(UINT keys, CPoint pt);
  int OnLButtonUp(UINT keys, CPoint pt);
  int OnLButtonDblClk(UINT keys, CPoint pt);
  int OnRButtonDown(UINT keys, CPoint pt);
  int OnRButtonUp(UINT keys, CPoint pt);
  int OnRButtonDblClk(UINT keys, CPoint pt);
  // pt in screen coordinates; one step per whole notch of 120.
  int OnMouseWheel(UINT keys, short delta, CPoint pt);
  int OnKeyDown(UINT vk, LPARAM lParam);
  int OnKeyUp(UINT vk, LPARAM lParam);
  int OnNcActivate(int active);
  // The engine's modifier value of the thread's key state: 0x12 Alt, 0x11 Ctrl, 0x10 Shift, or-ed.
  static UINT GetKeyModifiers();

  // Focus and tooltips.
  MControl* GetFocusControl() const { return m_pFocus; }
  MControl* GetHoverControl() const { return m_pHover; }
  void SetFocusControl(MControl* control);
  // The next (previous) visible, enabled tab stop after (before) the focus control, wrapping
  // around; null when there is none.
  MControl* GetNextFocusableControl();
  MControl* GetPrevFocusableControl();
  void SetTooltip(const wchar_t* text, CRect rect);
  void ClearTooltip();

  // The window's balloon tip, created on first use and deleted with the engine. SetAirBladderMsg
  // places it for text at a screen point (the balloon's result); ShowAirBladder shows or hides
  // it: a nonzero key claims it when showing, and only the last claimant's key may hide it
  // (a zero key always may). 0 without a balloon.
  int SetAirBladderMsg(const wchar_t* text, POINT pt, AIRBLADDER_TYPE type, AIRBLADDER_MODE mode);
  int ShowAirBladder(int show, int key);
  MAirBladder* GetAirBladder() const { return m_pAirBladder; }

  // Multimedia ticks. AddMTimer ignores a removed control.
  void SetMTimer(UINT elapse);
  void KillMTimer(UINT id);
  void KillMTimer();
  int AddMTimer(MControl* control);
  int DeleteFSTimer(MControl* control);

  // Private fonts. AddTempFont with a resource id and AddGDITempFont read "ttf" resources
  // of the library's own module.
  Gdiplus::FontFamily* AddTempFont(const wchar_t* family, const wchar_t* path);
  Gdiplus::FontFamily* AddTempFont(const wchar_t* family, UINT resId);
  void AddGDITempFont(UINT resId);
  Gdiplus::FontFamily* FindTempFont(const wchar_t* family);
  void ClearTempFont();

  // Window timers of controls, multiplexed on the window's WM_TIMER. A (control, key) pair
  // keeps its id while stopped; ids are 0..239 and never one of the engine's own. Window's
  // thread only (a window timer cannot be set from another thread).
  int SetTimer(MControl* control, UINT key, UINT elapse);
  int KillTimer(MControl* control, UINT key);
  void KillTimer(MControl* control);
  void ClearTimers();
  // WM_TIMER: the engine's own ids run the caret and overlay; others reach their controls.
  void OnTimer(UINT id);
  using MTimer::KillTimer;
  using MTimer::SetTimer;

  // The image cache: one entry per file name, per program resource id and per library
  // resource id. Nothing is cached for an image that does not load.
  ImgResInfo* AddImgResInfo(const wchar_t* name, int frames);
  ImgResInfo* AddImgResInfo(UINT id, CString type, int frames, int fromProgram);
  void ClearImgResInfo();

  // Painting. The hosting window routes WM_PAINT to OnPaint and answers WM_ERASEBKGND.
  void SetBackMode(enumBackMode mode, int border);
  int LoadBKImage(CString file);
  int LoadBKImage(UINT id, CString type);
  // A control's repaint request: re-renders it (redraw nonzero) and every later visible
  // control that overlaps rect, and invalidates the union. Requests from another thread
  // (ticks) are queued and applied by the window's thread before it paints.
  LRESULT OnControlUpdate(CRect rect, int redraw, MControl* control);
  int OnPaint();
  // Composes the window's picture for update into dc, which has the 32-bpp DIB section
  // dib of the client's size selected: background, areas and controls, caret, overlay,
  // and for a layered window the alpha steps. OnPaint copies the result to the window.
  void ComposeWindow(HDC dc, HBITMAP dib, CRect client, CRect update);
  void DrawBackImage(Gdiplus::Graphics& g, CRect client);
  void DrawControl(HDC& dc, CRect rect);
  void DrawCaret(HDC dc, const CRect& rect);

  // The message and progress overlays, on the engine's timers 66 (hold), 88 (fade) and
  // 99 (progress steps).
  void SetMessage(CString text, CRect rect, MsgLevel level);
  void SetProgress(int percent, CString text, CRect rect);

  // The caret of the windowless rich edit, blinking on timer 6553. Its owner (the rich edit,
  // which passes itself) supplies the focus and the caret's colour (its text colour); the
  // engine forgets it when that control is deleted.
  int CreateCaret(HBITMAP bitmap, int width, int height);
  int SetCaretPos(MControlFont* owner, int x, int y);
  int ShowCaret(int show);
  MControlFont* GetCurrentCaretObject() const { return m_pCaretOwner; }

  // The engine's own window-timer ids.
  static constexpr UINT kCaretTimer = 6553;
  static constexpr UINT kMessageHoldTimer = 66;
  static constexpr UINT kOverlayFadeTimer = 88;
  static constexpr UINT kProgressTimer = 99;

  // The window's drop shadow (the embedded MShadow). CreateShadow registers the shadow
  // class (once unless forced), stores the show flag and creates the shadow when it is set.
  void CreateShadow(int show, bool force);
  int SetSize(int size);
  int SetSharpness(UINT sharpness);
  int SetDarkness(UINT darkness);
  int SetPosition(int x, int y);
  int SetShadowColor(DWORD color);
  void DisableShadow(int disable);
  void SetShadowShow(int show);
  // The image, then the corners when no side is negative.
  int SetShadowImage(const wchar_t* file, CRect corners);
  int SetShadowImage(UINT id, CRect corners);

  // Teardown: releases everything bound to the window; only while initialized.
  void DestroyData();
  void OnDestroyMessage(HWND hwnd);

protected:
  int PostNcDestroy();
  // The factory's last steps: the engine becomes the control's manager (InitControl runs
  // once) and the control joins the list that kind names.
  void AttachControl(UINT kind, MControl* control);
  // Drags the pending drag bitmap out of the window with OLE; returns when the drag ends.
  void StartDrag();

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
  POINT m_dragStart;
  int m_bDragPending;
  HBITMAP m_hDragBitmap;  // owned
  HBITMAP m_hDropPicture;  // owned: the picture of the last drop
  int m_bTracking;
  int m_bPressed;
  int m_bCaptured;
  MControl* m_pHover;
  MControl* m_pFocus;
  HWND m_hTooltip;
  MAirBladder* m_pAirBladder;  // owned
  int m_airBladderKey;

  // Ticks, caches and fonts.
  UINT m_mTimerId;
  std::vector<MControl*> m_tickControls;
  unsigned m_tickListChanges;  // counts removals from m_tickControls (under the tick lock)
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

  // Window timers of controls.
  struct TimerRecord {
    HWND hwnd;
    UINT key;
    UINT id;
    int killed;
    MControl* control;
  };
  UINT m_timerCounter;
  std::vector<TimerRecord*> m_timerRecords;

  // Image caches.
  std::map<CString, ImgResInfo*> m_imagesByName;
  std::map<UINT, ImgResInfo*> m_programImages;
  std::map<UINT, ImgResInfo*> m_libraryImages;

  // Background, overlay and caret.
  Gdiplus::Image* m_pBkImage;
  int m_bkImageWidth;
  int m_bkImageHeight;
  CString m_overlayText;
  MsgLevel m_overlayLevel;
  int m_overlayAlpha;
  int m_overlayProgress;
  int m_overlayTarget;
  CString m_overlayFontName;
  CRect m_overlayRect;
  enumBackMode m_backMode;
  int m_backBorder;
  CRect m_caretRect;
  int m_bCaretOn;
  int m_bCaretShown;
  MControlFont* m_pCaretOwner;

  // Repaint requests made on other threads, applied by the window's thread (a leaf lock).
  struct PendingUpdate {
    CRect rect;
    int redraw;
    MControl* control;
  };
  std::vector<PendingUpdate> m_pendingUpdates;
  CriticalSection m_pendingLock;

  MShadow m_shadow;

private:
  bool m_bDropRegistered;
  // Calls posted for the window's thread (PaintManagerThreads.cpp), under the posted lock.
  DWORD m_windowThreadId;
  std::deque<std::function<void()>> m_posted;
  bool m_bPostOpen;   // between Init and DestroyData
  bool m_bPostWake;   // a wake-up message is on its way
  CriticalSection m_postedLock;
  // Sends bitmap to the window as the picture of a drop and keeps it, freeing the one before.
  void KeepDropPicture(HBITMAP bitmap);
  void ReleaseDropPicture();
  // Runs the calls queued when it starts; on the window's thread.
  void RunPosted();
  // Closes the queue and drops what it holds, unrun.
  void DropPosted();
  static UINT RunPostedMessage();
  // Deletes every element of list under lock, with the tick lock held first.
  void ClearList(std::vector<MControl*>& list, CriticalSection& lock);
  bool HasWindow() const;
  // Painting helpers (PaintManagerPaint.cpp).
  void ApplyUpdate(CRect rect, int redraw, MControl* control);
  void ApplyPendingUpdates();
  void DrawOverlay(Gdiplus::Graphics& g);
  void OnOverlayTimer(UINT id);
  void OnCaretTimer();
  // Invalidates rect, or the whole window when layered, without erasing.
  void InvalidateArea(const CRect& rect);
  // Takes the collection's first family under the name (keeping the collection); deletes
  // the collection and gives null when it holds none.
  Gdiplus::FontFamily* AdoptFontCollection(const wchar_t* family, Gdiplus::PrivateFontCollection* collection);
  ImgResInfo* CacheImage(Gdiplus::Image* image, int frames, const wchar_t* name, UINT resId);

  // Input helpers (PaintManagerInput.cpp).
  enum class Button { LeftUp, LeftDblClk, RightUp, RightDblClk };
  // The focus step of a press, then whether the hover control takes the press at pt.
  bool HoverTakesPress(UINT keys, CPoint pt);
  // Captures the mouse for an accepted press unless already captured; true when it did.
  bool CaptureForPress(UINT keys, CPoint pt);
  // Gives a release or double click to the hover control; it stops hovering when hidden,
  // unresponsive, or when pt lay outside it.
  int ReleaseHover(Button button, UINT keys, CPoint pt);
};

}  // namespace TESK
