// MDialog: the base of every dialog of the program. A window (MWindow, first base) that is
// also the parent object (MObject, second base) of the controls it hosts, with an embedded
// window engine that owns, paints and feeds them. It translates window messages into its
// 40 virtual handlers, whose slot order is a contract: the program's dialogs override them
// by position and may append virtual operations of their own, which the library never
// calls. Results travel as the wParam of WM_UI_CLOSEDIALOG into MWindow::ShowModal.
// The object belongs to its creator and outlives its window. UI thread only; ticks of
// SetMTimer reach the controls through the engine on the timer thread, and another thread
// (the program's worker) has work done on the dialog's thread with
// GetPaintManager()->PostCallable (PaintManager.h lists what may be called from where).
#pragma once

#include <windows.h>

#include <vector>

#include "ui/core/CString.h"
#include "ui/core/Geometry.h"
#include "ui/core/MObject.h"
#include "ui/core/MWindow.h"
#include "ui/core/PaintManager.h"
#include "ui/core/TeskApi.h"
#include "ui/core/WindowMessages.h"

namespace TESK {

class MDialog;

// The MObject part of a dialog: control notifications become the dialog's OnMessage and
// repaint requests go to its engine. A class of its own, so that these overrides take no
// slots in the dialog's window table, which keeps exactly its 40 operations.
class TESK_API MDialogObject : public MObject {
public:
  const wchar_t* GetClassNameW() const override;
  LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnControlUpdate(CRect rect, int redraw, MControl* control) override;
};

class TESK_API MDialog : public MWindow, public MDialogObject {
public:
  MDialog();

  // The MWindow part's virtual operations (the eight of MWindow first).
  ~MDialog() override;
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  int PreTranslateMessage(MSG* msg) override;
  int OnInitDialog() override;
  void OnDestroyMessage(HWND hwnd) override;
  virtual POINT GetAirBladderPoint(MControl* control, UINT type);
  virtual void OnMinimize();
  virtual void OnMaximize();
  virtual void InitUI(CRect client);
  virtual void UISize(CRect client);
  virtual LONG OnMessage(UINT controlId, UINT code, UINT wParam, LONG lParam);
  virtual LONG OnUserCloseWindow(UINT wParam, LONG lParam);
  virtual int OnCreate(CREATESTRUCTW* create);
  virtual int OnSize(UINT type, int cx, int cy);
  virtual int OnMouseMove(UINT keys, CPoint pt);
  virtual int OnMouseLeave(UINT wParam, LONG lParam);
  virtual int OnMouseHover(UINT wParam, LONG lParam);
  virtual int OnMouseWheel(UINT keys, short delta, CPoint pt);
  virtual int OnLButtonDown(UINT keys, CPoint pt);
  virtual int OnLButtonUp(UINT keys, CPoint pt);
  virtual int OnLButtonDblClk(UINT keys, CPoint pt);
  virtual int OnRButtonDown(UINT keys, CPoint pt);
  virtual int OnRButtonUp(UINT keys, CPoint pt);
  virtual int OnRButtonDblClk(UINT keys, CPoint pt);
  virtual int OnKeyDown(UINT key, UINT count, UINT flags);
  virtual int OnNcHitTest(CPoint pt);
  virtual int OnGetMinMaxInfo(MINMAXINFO* info);
  virtual int OnNcCalcSize(int calcValidRects, NCCALCSIZE_PARAMS* params);
  virtual int OnNcActivate(int active);
  virtual int OnWindowPosChanging(WINDOWPOS* pos);
  virtual int OnWindowPosChanged(WINDOWPOS* pos);
  virtual int OnPaint();
  virtual void OnTimer(UINT id);
  virtual int OnNcPaint();
  virtual int OnClose();
  virtual int OnDestroy();
  virtual int PostNcDestroy();

  // Close operations: post WM_UI_CLOSEDIALOG with the result 1, 2, 2, 6 or 7.
  void DoOK();
  void DoCancel();
  void DoClose();
  void DoYes();
  void DoNo();

  // Controls, created by class name and owned by the engine.
  MControl* CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                          int enabled);
  MControl* CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);
  MControl* GetControl(UINT id);
  std::vector<MControl*>* GetControls();
  void SetFocusControl(MControl* control);

  // Appearance, forwarded to the engine.
  int LoadBKImage(CString file);
  int LoadBKImage(UINT id, CString type);
  void SetBackMode(enumBackMode mode, int border);
  void SetScrollResID(UINT vertical, UINT horizontal);
  void SetLayeredWindow(int layered);
  void EnableWndDrag(int enable);
  void SetupBackTranslucent();
  void SetupRegion(int) {}
  // An empty rectangle places the message 502 x 58 pixels, centred, 12 above the bottom.
  void SetMessage(CString text, CRect rect, MsgLevel level);
  void SetProgress(int percent, CString text, CRect rect);
  void SetTooltip(CString text, CRect rect);
  void ClearTooltip();
  // Places the window's balloon tip below a screen point (placement 3) and shows it; 0 for a
  // point with a zero coordinate or a null text, else 1.
  int SetAirBladderMsg(const wchar_t* text, POINT pt, AIRBLADDER_TYPE type);

  // The window's drop shadow (the engine's).
  void CreateShadow(int show, bool reinitialise);
  void SetShadowShow(int show);
  int SetSize(int size);
  int SetSharpness(UINT sharpness);
  int SetDarkness(UINT darkness);
  int SetPosition(int x, int y);
  int SetShadowColor(COLORREF color);
  int SetShadowImage(const wchar_t* file, CRect corners);
  int SetShadowImage(UINT id, CRect corners);

  void SetMTimer(UINT period);
  void KillMTimer(UINT id);

  void SetTooltipCtrlID(int id) { m_tooltipCtrlId = id; }
  int GetTooltipCtrlID() const { return m_tooltipCtrlId; }
  PaintManager* GetPaintManager() { return &m_paintManager; }

protected:
  // Posts WM_UI_CLOSEDIALOG with result to the dialog's own window, when it has one.
  void PostClose(UINT result);
  bool HasHandle() const { return m_hWnd && m_hWnd != reinterpret_cast<HWND>(-1); }

  PaintManager m_paintManager;
  COLORREF m_colorKey;
  int m_alpha;
  int m_tooltipCtrlId;
  CRect m_rcClient;
};

}  // namespace TESK
