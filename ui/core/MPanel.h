// MPanel: the container control of the library. A panel holds child controls of its own,
// can scroll a content area larger than itself with a vertical and a horizontal scroll bar
// (its first two children, ids 1 and 2; other children must use other ids), passes every
// child's notification on to its own owner unchanged, and creates controls by class name
// with a factory of its own (PanelControlClasses). The panel owns its areas and children,
// bars included, and deletes them with itself; the bars must not be removed.
//
// Content coordinates: children are placed in content coordinates; a window point plus the
// scroll offsets (ScrollOffsetX/Y) gives the content point. Derived panels draw their
// scrolled content themselves: while the content is scrolled the panel draws no child.
//
// Threads and locks as MControl: placing, enabling, raw-message routing and the sibling walk
// of OnControlUpdate walk a copy of the children taken under the child lock, so a child may
// remove its siblings (or the panel) from a handler; redraw requests may arrive from tick
// handlers on the multimedia timer thread.
#pragma once

#include <windows.h>

#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class CScrollHorizontal;
class CScrollVertical;
class MScroll;

class TESK_API MPanel : public MControlFont {
public:
  MPanel(MObject* parent, UINT id, CRect rect, int visible);

  // Overrides, in slot order. The children (bars included) are deleted by MControl.
  LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnControlUpdate(CRect rect, int redraw, MControl* control) override;
  void InitControl(PaintManager* manager) override;
  int IsDragDrop() override;
  void DrawControl(HDC& dc, CRect dirty) override;
  int DrawSubControls(HDC& dc, CRect dirty) override;
  int OnMousePointChange(CPoint& pt) override;
  LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void SetControlRect(CRect rect) override;
  void SetControlVisible(int visible) override;
  void SetControlEnabled(int enabled) override;
  int OnControlScroll(int rows, UINT direction, CPoint pt) override;
  int OnControlKeyDown(UINT key, UINT count, UINT modifiers) override;

  // Added after MControlFont's, in this order.
  // Creates an area (kind 0) owned by this panel.
  virtual MControl* CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                               int enabled);
  // The factory: constructs the class named className (null for an empty or unknown name),
  // hands it the panel's manager when the panel has one, and appends it to the area list
  // (kind 0) or the child list (kind 1); any other kind lists it nowhere (the caller owns it).
  virtual MControl* CreateControl(UINT kind, MObject* owner, const wchar_t* className, UINT id, CRect rect,
                                  const wchar_t* title, int visible, int enabled);
  // Creates a child (kind 1) owned by this panel.
  virtual MControl* CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                                  int enabled);
  virtual int OnControlKeyUp(UINT key, UINT count, UINT modifiers);

  MControl* GetScrollVertical() const;
  MControl* GetScrollHorizontal() const;
  // Stored until the next SetControlRect, which recomputes both from the children.
  void SetVirtualHeight(int height) { m_nVirtualHeight = height; }
  void SetVirtualWidth(int width) { m_nVirtualWidth = width; }
  void SetEnableScroll(int enable) { m_bEnableScroll = enable; }
  int GetEnableScroll() const { return m_bEnableScroll; }

protected:
  // Scrolling is enabled and the content is larger than the panel on either axis.
  bool IsContentScrolled() const;
  // How far the content is scrolled on each axis, in pixels: 0 while scrolling is disabled
  // or the content fits on that axis.
  int ScrollOffsetX() const;
  int ScrollOffsetY() const;
  // The factory's steps after construction: the manager, then the list of that kind.
  MControl* AdoptControl(UINT kind, MControl* control);

  int m_bInitialized;
  int m_nVirtualHeight;
  int m_nVirtualWidth;
  CScrollVertical* m_pScrollV;
  CScrollHorizontal* m_pScrollH;
  int m_nScrollThickness;
  // Kept for derived panels (their own scroll offset or row metrics); the panel never reads them.
  int m_nDerivedValue1;
  int m_nDerivedValue2;
  int m_bEnableScroll;

  // Places a bar on target and asks for the repaint of the area it left and entered.
  void PlaceBar(MControl* bar, CRect target);
  // Shows the bar exactly when content exceeds visible, then sets its range to content.
  void FitBar(MScroll* bar, int content, int visible);
  // For panels that draw a content of their own: the vertical bar placed at rect's right edge
  // and, with horizontal, the horizontal one at its bottom edge.
  void PlaceOwnBars(CRect rect, bool horizontal);
  // How far the vertical bar's position scrolls a content of that height in this panel:
  // position x (content - panel height) / range (negative for a short content), 0 for an
  // empty range.
  int ContentScrollOffset(int content) const;
  // For panels that draw a content of their own, as their OnMessage: a child's message goes on
  // to the owner, and a bar's NOTIFY_CHANGING (its thumb dragged) first asks for a redraw.
  LRESULT PassBarMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam);
};

}  // namespace TESK
