// MPopupWnd: the base of the library's transient windows (the combo drop-down, the popup
// menus). A window (MWindow, first base) that is the parent object (MObject, second base) of
// its own controls, with an embedded window engine, a parent object that receives its
// notifications, and a tool-window style; it closes itself (posts WM_CLOSE) as soon as it
// loses activation. Its 39 virtual operations keep their slot order, shared by every popup
// of the library. The object belongs to its creator and outlives its window; the engine's
// controls are deleted with the object. UI thread only.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/Geometry.h"
#include "ui/core/MObject.h"
#include "ui/core/MWindow.h"
#include "ui/core/PaintManager.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class MPopupWnd;

// The MObject part of a popup: control notifications become the popup's OnMessage and
// repaint requests go to its engine. A class of its own, so that these overrides take no
// slots in the popup's window table.
class TESK_API MPopupObject : public MObject {
public:
  LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnControlUpdate(CRect rect, int redraw, MControl* control) override;
};

class TESK_API MPopupWnd : public MWindow, public MPopupObject {
public:
  MPopupWnd();

  // The MWindow part's virtual operations (the eight of MWindow first).
  ~MPopupWnd() override;
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  int PreTranslateMessage(MSG* msg) override;
  int OnInitDialog() override;
  virtual MObject* GetParent();
  virtual void InitUI(CRect client);
  virtual void UISize(CRect client);
  virtual LONG OnMessage(UINT controlId, UINT code, UINT wParam, LONG lParam);
  virtual LONG OnUserCloseWindow(UINT wParam, LONG lParam);
  virtual void CloseWindow();
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
  // Deactivation posts WM_CLOSE (0, 0): the popup goes as soon as anything else is activated.
  virtual int OnNcActivate(int active);
  virtual int OnWindowPosChanging(WINDOWPOS* pos);
  // Recomputes the frame, then tells the window its position and size again (WM_MOVE,
  // WM_SIZE) and calls OnSize itself.
  virtual int OnWindowPosChanged(WINDOWPOS* pos);
  virtual int OnPaint();
  virtual void OnTimer(UINT id);
  virtual int OnNcPaint();
  virtual int OnClose();
  virtual int PostNcDestroy();
  virtual int OnDestroy();

  void SetParent(MObject* parent) { m_pParentObject = parent; }

  // Appearance, forwarded to the engine.
  int LoadBKImage(CString file);
  int LoadBKImage(UINT id, CString type);
  void SetBackMode(enumBackMode mode, int border);
  void SetScrollResID(UINT vertical, UINT horizontal);
  void SetLayeredWindow(int layered);
  void SetupBackTranslucent();
  // Gives the window a rounded-rectangle region of that corner diameter (the system owns it).
  void SetupRegion(int diameter);

  // Controls, created by class name and owned by the engine; the popup is their parent object.
  MControl* CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                          int enabled);
  MControl* CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);
  MControl* GetControl(UINT id);

  // The parent object's OnMessage (control id 0, code, wParam, lParam); 0 without a parent.
  int SendMessageToParent(UINT code, UINT wParam, LONG lParam);

  PaintManager* GetPaintManager() { return &m_paintManager; }

protected:
  MObject* m_pParentObject;
  PaintManager m_paintManager;
  COLORREF m_colorKey;
  int m_alpha;

private:
  // Set while OnWindowPosChanged recomputes the frame: that SetWindowPos sends
  // WM_WINDOWPOSCHANGED again, and the nested call must not recompute it once more.
  int m_bRecomputingFrame;
};

}  // namespace TESK
