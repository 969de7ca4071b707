// The pointer rules shared by the keyboard controls whose items are hit where their last
// paint put them (KeyTypeTab, KeyValueList, LightTypeTab, MListBoxEx): a hover index and a selected index over a list
// of owned records, each with a rect member in control coordinates. The caller holds the
// list's lock around every call and asks for repaints and notifies its owner after it has
// let the lock go. Window thread only.
#pragma once

#include <windows.h>

#include "ui/core/CriticalSection.h"
#include "ui/core/Geometry.h"

namespace TESK {

struct PaintedItemPointer {
  // What a move did to the hover.
  enum HoverChange { Kept, Unchanged, Changed };

  // The first item whose rectangle, moved by origin (the control's top-left corner), holds pt;
  // -1 for none.
  template <class Items>
  static int ItemAt(const Items& items, CPoint origin, CPoint pt) {
    for (size_t i = 0; i < items.size(); ++i) {
      CRect at = items[i]->rect;
      at.OffsetRect(origin.x, origin.y);
      if (at.PtInRect(pt)) return static_cast<int>(i);
    }
    return -1;
  }

  // A pointer move: Kept while the hovered item's rectangle still holds pt; otherwise the
  // hover becomes the item under pt (or none), Changed when that is another index.
  template <class Items>
  HoverChange OnMove(const Items& items, CPoint origin, CPoint pt) {
    if (Names(items, hover)) {
      CRect at = items[hover]->rect;
      at.OffsetRect(origin.x, origin.y);
      if (at.PtInRect(pt)) return Kept;
    }
    const int before = hover;
    hover = ItemAt(items, origin, pt);
    return hover == before ? Unchanged : Changed;
  }

  // A left-button release at pt inside the control (inside: the control's rectangle holds
  // it): the hovered item becomes the selected one. picked tells whether an item was
  // hovered (the owner is then told, also when it was selected already); the result whether
  // the selected index changed.
  template <class Items>
  bool OnRelease(const Items& items, bool inside, bool& picked) {
    picked = inside && Names(items, hover);
    if (!picked) return false;
    const int before = select;
    select = hover;
    return select != before;
  }

  // A control's pointer move at pt (control: its rectangle): 1 while the hover stays on its
  // item or moves to another (then redraw() is called first), 0 when nothing changed.
  template <class Items, class Redraw>
  int Move(const Items& items, CriticalSection& lock, const CRect& control, CPoint pt, Redraw redraw) {
    HoverChange move;
    {
      CriticalSectionLock hold(lock);
      move = OnMove(items, control.TopLeft(), pt);
    }
    if (move == Unchanged) return 0;
    if (move == Changed) redraw();
    return 1;
  }

  // A control's left-button release at pt: a hovered item becomes the selected one and
  // notify(index) tells the owner (last: its handler may remove the control). 1 when the
  // selected index changed (then redraw() was called), 0 otherwise.
  template <class Items, class Redraw, class Notify>
  int Release(const Items& items, CriticalSection& lock, const CRect& control, CPoint pt, Redraw redraw,
              Notify notify) {
    bool picked = false;
    bool changed = false;
    {
      CriticalSectionLock hold(lock);
      changed = OnRelease(items, control.PtInRect(pt) != 0, picked);
    }
    if (changed) redraw();
    if (picked) notify(select);
    return changed ? 1 : 0;
  }

  // The move rule of the lighting page's lists (LightTypeTab, MListBoxEx), which show the
  // pointer's cursor: outside the control the hover goes (arrow cursor), result 1. Inside,
  // while the hovered item's rectangle (moved by the control's corner) still holds pt: hand
  // cursor, result 0. Otherwise the hover becomes the first item that hittable(index) allows
  // whose rectangle holds pt, or none; result 1. redraw() runs when the hover changed.
  template <class Items, class Hittable, class Redraw>
  int MoveShowingCursor(const Items& items, CriticalSection& lock, const CRect& control, CPoint pt,
                        Hittable hittable, Redraw redraw) {
    const int before = hover;
    if (!control.PtInRect(pt)) {
      hover = -1;
      ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    } else {
      CriticalSectionLock hold(lock);
      if (Names(items, hover) && hittable(hover)) {
        CRect at = items[hover]->rect;
        at.OffsetRect(control.left, control.top);
        if (at.PtInRect(pt)) {
          ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
          return 0;
        }
      }
      hover = -1;
      for (size_t i = 0; i < items.size(); ++i) {
        CRect at = items[i]->rect;
        at.OffsetRect(control.left, control.top);
        if (hittable(static_cast<int>(i)) && at.PtInRect(pt)) {
          hover = static_cast<int>(i);
          break;
        }
      }
    }
    if (hover != before) redraw();
    return 1;
  }

  // Whether index names an existing item.
  template <class Items>
  static bool Names(const Items& items, int index) {
    return index >= 0 && index < static_cast<int>(items.size());
  }

  int hover = -1;
  int select = -1;
};

}  // namespace TESK
