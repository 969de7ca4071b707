#include "ui/core/MControl.h"

#include <algorithm>
#include <cwchar>

#include "ui/core/HandlerScope.h"
#include "ui/core/PaintManager.h"

namespace TESK {

namespace {

// The names SetCursorEx knows, with their system cursor ids (IDC_ARROW ... IDC_HELP).
constexpr struct {
  const wchar_t* name;
  WORD cursor;
} kCursors[] = {
    {L"arrow", 32512}, {L"wait", 32514},   {L"cross", 32515}, {L"sizewe", 32644},
    {L"sizens", 32645}, {L"hand", 32649}, {L"help", 32651},
};

// The ids of a panel's two scroll bars, which live in window coordinates.
constexpr UINT kVerticalScrollId = 1;
constexpr UINT kHorizontalScrollId = 2;

// Holds the engine's tick lock (when there is an engine) while controls are deleted, so a
// tick on the timer thread never runs into a control that is going away.
class TickPause {
public:
  explicit TickPause(PaintManager* manager) : m_lock(manager ? &manager->GetTickLock() : nullptr) {
    if (m_lock) m_lock->Enter();
  }
  ~TickPause() {
    if (m_lock) m_lock->Leave();
  }
  TickPause(const TickPause&) = delete;
  TickPause& operator=(const TickPause&) = delete;

private:
  CriticalSection* m_lock;
};

// A child a loop over a copy of the list still hands events to: not removed meanwhile.
bool Live(const MControl* control) { return control && !control->IsRemoved(); }

}  // namespace

MControl::MControl(MObject* parent, UINT id, CRect rect, int visible, int enabled, int response)
    : m_pParent(parent),
      m_pManager(nullptr),
      m_id(id),
      m_rect(rect),
      m_bVisible(visible),
      m_bEnabled(enabled),
      m_bDragDrop(0),
      m_bResponse(response),
      m_bTabStop(0),
      m_bDblClk(0),
      m_bPressedInside(0),
      m_bKeyDown(0),
      m_bDerived(0),
      m_bFocused(0),
      m_hotKey(0),
      m_hotKeyModifiers(0),
      m_bCacheValid(0),
      m_bAnimateValid(0),
      m_bRunTimer(0),
      m_bRunning(0),
      m_bImageECM(0),
      m_pCurrentChild(nullptr),
      m_cacheSize{0, 0},
      m_hCacheBitmap(nullptr),
      m_hCacheDC(nullptr),
      m_hCacheOldBitmap(nullptr),
      m_animateSize{0, 0},
      m_hAnimateBitmap(nullptr),
      m_hAnimateDC(nullptr),
      m_hAnimateOldBitmap(nullptr),
      m_hCursor(nullptr),
      m_bRemoved(0) {}

MControl::~MControl() {
  if (m_pManager) m_pManager->ForgetControl(this);
  RemoveAllControl();
  ReleaseSurface(m_hCacheDC, m_hCacheBitmap, m_hCacheOldBitmap);
  ReleaseSurface(m_hAnimateDC, m_hAnimateBitmap, m_hAnimateOldBitmap);
}

const wchar_t* MControl::GetClassNameW() const { return L"MControl"; }

void MControl::InitControl(PaintManager*) {}

int MControl::IsDragDrop() { return m_bDragDrop; }

int MControl::PtInRect(CPoint pt) { return m_bVisible && ::PtInRect(&m_rect, pt); }

int MControl::DrawSubControls(HDC& dc, CRect dirty) {
  for (MControl* child : CopyUnderLock(m_children, m_childLock)) {
    if (Live(child) && child->m_bVisible) child->Draw(dc, dirty);
  }
  return 1;
}

int MControl::IsDraw(CPoint) { return 0; }

void MControl::SetUpdate(int valid, DWORD colour) {
  m_bCacheValid = valid;
  for (MControl* child : CopyUnderLock(m_children, m_childLock)) {
    CRect overlap;
    if (Live(child) && overlap.IntersectRect(&child->m_rect, &m_rect)) child->SetUpdate(valid, colour);
  }
}

std::vector<MControl*> MControl::CopyControls() {
  return CopyUnderLock(m_children, m_childLock);
}

int MControl::SetControlFocus(int focus) {
  if (!focus) {
    for (MControl* child : CopyUnderLock(m_children, m_childLock)) {
      if (Live(child)) child->SetControlFocus(0);
    }
  }
  return 0;
}

void MControl::InitUI(CRect) {}

int MControl::OnMousePointChange(CPoint&) { return 0; }

int MControl::OnCheckMouseResponse(UINT, CPoint) { return 1; }

LRESULT MControl::OnWindowMessage(UINT, WPARAM, LPARAM) { return 0; }

LRESULT MControl::OnMessage(UINT, UINT, WPARAM, LPARAM) { return 0; }

void MControl::SetControlRect(CRect rect) { m_rect = rect; }

void MControl::SetControlVisible(int visible) { m_bVisible = visible; }

void MControl::SetControlWndVisible(int) {}

void MControl::SetControlEnabled(int enabled) { m_bEnabled = enabled; }

int MControl::OnControlTimer() { return 0; }

HBITMAP MControl::GetControlDropBitmap() { return nullptr; }

int MControl::OnControlMouseMove(UINT, CPoint) { return 0; }

int MControl::OnControlSetCursor(UINT, CPoint pt) {
  if (!m_hCursor || !::PtInRect(&m_rect, pt)) return 0;
  ::SetCursor(m_hCursor);
  return 1;
}

int MControl::OnControlLButtonDown(UINT, CPoint) { return 0; }

int MControl::OnControlLButtonUp(UINT, CPoint) { return 0; }

int MControl::OnControlLButtonDblClk(UINT, CPoint) { return 0; }

int MControl::OnControlScroll(int, UINT, CPoint) { return 0; }

int MControl::OnControlRButtonDown(UINT, CPoint) { return 0; }

int MControl::OnControlRButtonUp(UINT, CPoint) { return 0; }

int MControl::OnControlRButtonDblClk(UINT, CPoint) { return 0; }

int MControl::OnControlKeyDown(UINT key, UINT, UINT modifiers) {
  return m_hotKey != 0 && key == m_hotKey && modifiers == m_hotKeyModifiers;
}

void MControl::OnPositionChange() {}

void MControl::InvalidateRect(const RECT*, int erase) {
  if (!m_pManager) return;
  HWND window = m_pManager->GetPaintWnd();
  if (!window || !::IsWindow(window)) return;
  // A layered window is composed as a whole, so all of it is redrawn.
  if (m_pManager->IsLayered()) {
    ::InvalidateRect(window, nullptr, TRUE);
  } else {
    ::InvalidateRect(window, &m_rect, erase);
  }
}

void MControl::SetManager(PaintManager* manager) {
  m_pManager = manager;
  InitControl(manager);
}

MControl* MControl::GetControl(UINT id) {
  for (const std::vector<MControl*>* list : {&m_children, &m_areas}) {
    for (MControl* control : *list) {
      if (!control) continue;
      if (control->m_id == id) return control;
      if (MControl* found = control->GetControl(id)) return found;
    }
  }
  return nullptr;
}

int MControl::RemoveControl(MControl* child) {
  if (!child) return 0;
  const auto listed = [this, child] {
    CriticalSectionLock lock(m_childLock);
    return std::find(m_children.begin(), m_children.end(), child) != m_children.end();
  };
  if (!listed()) return 0;
  // The focus leaves the child before it goes; its handler may repaint, so no lock is held.
  if (m_pManager && m_pManager->GetFocusControl() == child) child->SetControlFocus(0);
  {
    // The tick lock first: no tick is in flight while the child leaves, and none reaches it after.
    TickPause pause(m_pManager);
    CriticalSectionLock lock(m_childLock);
    auto it = std::find(m_children.begin(), m_children.end(), child);
    if (it == m_children.end()) return 0;  // the focus handler removed it already
    m_children.erase(it);
    if (m_pCurrentChild == child) m_pCurrentChild = nullptr;
    child->Detach();
  }
  HandlerScope::Dispose(child);
  return 0;
}

void MControl::RemoveAllControl() {
  std::vector<MControl*> doomed;
  {
    TickPause pause(m_pManager);
    for (auto* list : {&m_areas, &m_children}) {
      CriticalSectionLock lock(list == &m_areas ? m_areaLock : m_childLock);
      doomed.insert(doomed.end(), list->begin(), list->end());
      list->clear();
    }
    m_pCurrentChild = nullptr;
    for (MControl* control : doomed) {
      if (control) control->Detach();
    }
  }
  for (MControl* control : doomed) HandlerScope::Dispose(control);
}

void MControl::Detach() {
  m_bRemoved = 1;
  if (m_pManager) m_pManager->ForgetControl(this);
  for (auto* list : {&m_areas, &m_children}) {
    for (MControl* control : CopyUnderLock(*list, list == &m_areas ? m_areaLock : m_childLock)) {
      if (control) control->Detach();
    }
  }
}

void MControl::LeaveEngine() {
  m_pManager = nullptr;
  for (auto* list : {&m_areas, &m_children}) {
    for (MControl* control : CopyUnderLock(*list, list == &m_areas ? m_areaLock : m_childLock)) {
      if (control) control->LeaveEngine();
    }
  }
}

void MControl::SetRect(CRect rect) {
  CRect dirty;
  dirty.UnionRect(&m_rect, &rect);
  SetControlRect(rect);
  if (m_bVisible && m_pParent) m_pParent->OnControlUpdate(dirty, 1, this);
}

void MControl::SetRect(int x, int y, int cx, int cy) { SetRect(CRect(x, y, x + cx, y + cy)); }

void MControl::SetVisible(int visible) { SetVisible(visible, 1); }

void MControl::SetVisible(int visible, int notify) {
  if (visible == m_bVisible) return;
  SetControlVisible(visible);
  // Hiding repaints the area the control leaves.
  if (notify && m_pParent) m_pParent->OnControlUpdate(m_rect, 1, this);
}

void MControl::SetEnabled(int enabled) {
  if (enabled == m_bEnabled) return;
  SetControlEnabled(enabled);
  if (m_bVisible && m_pParent) m_pParent->OnControlUpdate(m_rect, 1, this);
}

int MControl::IsParentVisible() {
  if (!m_pParent) return 0;
  const wchar_t* name = m_pParent->GetClassNameW();
  if (name && std::wcscmp(name, L"MDialog") == 0) return 1;
  // The walk ends at the hosting window: a window that is not a dialog counts as visible.
  auto* parent = dynamic_cast<MControl*>(m_pParent);
  if (!parent) return 1;
  return parent->m_bVisible && parent->IsParentVisible();
}

void MControl::UpdateControl(int redraw, int force) { UpdateControl(m_rect, redraw, force); }

void MControl::UpdateControl(CRect rect, int redraw, int force) {
  if ((m_bVisible || force) && m_pParent) m_pParent->OnControlUpdate(rect, redraw, this);
}

void MControl::UpdateAControl(int keepAnimation, int force) {
  if (!m_bVisible && !force) return;
  m_bAnimateValid = keepAnimation == 0;
  if (m_pParent) m_pParent->OnControlUpdate(m_rect, 0, this);
}

int MControl::OnFocus(int focus) { return SetControlFocus(focus); }

int MControl::IsFocusControl() { return m_pManager && m_pManager->GetFocusControl() == this; }

MControl* MControl::GetFocusControl(MControl*) { return nullptr; }

MControl* MControl::GetNextFocusableControl(MControl*) { return nullptr; }

MControl* MControl::GetPrevFocusableControl(MControl*) { return nullptr; }

LRESULT MControl::SendMessageW(UINT code, WPARAM wParam, LPARAM lParam) {
  return m_pParent ? m_pParent->OnBaseMessage(m_id, code, wParam, lParam) : 0;
}

void MControl::SetTooltip(const wchar_t* text) { m_tooltip = text ? text : L""; }

void MControl::SetTooltip(CString text, CRect rect) {
  if (!m_pManager) return;
  m_pManager->SetTooltip(text, rect);
  m_pManager->SetTooltipCtrlID(static_cast<int>(m_id));
}

void MControl::ClearTooltip() {
  if (!m_pManager) return;
  m_pManager->ClearTooltip();
  m_pManager->SetTooltipCtrlID(0);
}

LRESULT MControl::SetCursorEx(const wchar_t* name) {
  if (!name) return 0;
  for (const auto& entry : kCursors) {
    if (std::wcscmp(entry.name, name) == 0) {
      m_hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(entry.cursor));
      break;
    }
  }
  return 0;
}

void MControl::AddMTimer() {
  if (m_pManager) m_pManager->AddMTimer(this);
}

HBITMAP MControl::GetDropBitmap() {
  return m_pCurrentChild ? m_pCurrentChild->GetControlDropBitmap() : GetControlDropBitmap();
}

void MControl::Draw(HDC& dc, CRect dirty) {
  CRect overlap;
  if (!m_bVisible || !overlap.IntersectRect(&m_rect, &dirty)) return;
  for (MControl* area : CopyUnderLock(m_areas, m_areaLock)) {
    if (Live(area) && overlap.IntersectRect(&area->m_rect, &m_rect)) area->Draw(dc, dirty);
  }
  DrawControl(dc, dirty);
  DrawSubControls(dc, dirty);
}

void MControl::ReleaseSurface(HDC& dc, HBITMAP& bitmap, HGDIOBJ& oldBitmap) {
  if (dc) {
    if (oldBitmap) SelectObject(dc, oldBitmap);
    DeleteDC(dc);
  }
  if (bitmap) DeleteObject(bitmap);
  dc = nullptr;
  bitmap = nullptr;
  oldBitmap = nullptr;
}

void MControl::CreateSurface(HDC compatible, int cx, int cy, HDC& dc, HBITMAP& bitmap, HGDIOBJ& oldBitmap) {
  dc = CreateCompatibleDC(compatible);
  bitmap = CreateCompatibleBitmap(compatible, cx, cy);
  oldBitmap = (dc && bitmap) ? SelectObject(dc, bitmap) : nullptr;
}

void MControl::UpdateMemDC(HDC& dc, int cx, int cy) {
  m_bCacheValid = 1;
  if (cx == m_cacheSize.cx && cy == m_cacheSize.cy) return;
  m_cacheSize = {cx, cy};
  ReleaseSurface(m_hCacheDC, m_hCacheBitmap, m_hCacheOldBitmap);
  CreateSurface(dc, cx, cy, m_hCacheDC, m_hCacheBitmap, m_hCacheOldBitmap);
}

void MControl::UpdateAnimateDC(HDC& dc, int cx, int cy) {
  m_animateSize = {cx, cy};
  m_bAnimateValid = 1;
  ReleaseSurface(m_hAnimateDC, m_hAnimateBitmap, m_hAnimateOldBitmap);
  CreateSurface(dc, cx, cy, m_hAnimateDC, m_hAnimateBitmap, m_hAnimateOldBitmap);
}

int MControl::PositionItem2Value(const FS_POSITION_ITEM& item, int a, int b) {
  const int v = static_cast<int>(item.value);
  switch (item.mode) {
    case 0:
      return item.fromEnd ? b - v : a + v;
    case 1:
      return a + (item.fromEnd ? -v : v) + (b - a) / 2;
    case 2:
      return std::min(a + static_cast<int>(static_cast<float>(b - a) * item.value / 100.0f), b);
    default:
      return 0;
  }
}

bool MControl::TakesMouse(CPoint pt, CPoint& mapped) {
  if (!m_bVisible || !m_bResponse) return false;
  mapped = pt;
  OnMousePointChange(mapped);
  return true;
}

CPoint MControl::PointFor(const MControl* child, CPoint unmapped, CPoint mapped) {
  return (child->m_id == kVerticalScrollId || child->m_id == kHorizontalScrollId) ? unmapped : mapped;
}

int MControl::OnMouseMove(UINT keys, CPoint pt) {
  HandlerScope scope;
  const CPoint unmapped = pt;
  CPoint mapped;
  if (!TakesMouse(pt, mapped)) return 0;
  if (MControl* current = m_pCurrentChild) {
    const CPoint q = PointFor(current, unmapped, mapped);
    // A press keeps the child even while the pointer is outside it.
    if ((current->PtInRect(q) && current->OnCheckMouseResponse(keys, q)) || m_bPressedInside) {
      return current->OnMouseMove(keys, q) != 0;
    }
  }
  MControl* previous = m_pCurrentChild;
  m_pCurrentChild = nullptr;
  if (!m_tooltip.IsEmpty() && PtInRect(mapped) && OnCheckMouseResponse(keys, mapped) && m_pManager &&
      m_pManager->GetTooltipCtrlID() != static_cast<int>(m_id)) {
    m_pManager->SetTooltip(m_tooltip, m_rect);
    m_pManager->SetTooltipCtrlID(static_cast<int>(m_id));
  }
  OnControlSetCursor(keys, mapped);
  int result = OnControlMouseMove(keys, mapped);
  if (m_bPressedInside) return result;
  // Every child sees every move, also outside itself, so it can drop its hover look.
  for (MControl* child : CopyUnderLock(m_children, m_childLock)) {
    if (!Live(child)) continue;
    const CPoint q = PointFor(child, unmapped, mapped);
    if (child->OnMouseMove(keys, q)) {
      if (Live(child) && child->PtInRect(q)) m_pCurrentChild = child;
      result = 1;
    }
  }
  return (previous || m_pCurrentChild) ? 1 : result;
}

int MControl::ButtonDown(Button button, UINT keys, CPoint pt) {
  HandlerScope scope;
  const CPoint unmapped = pt;
  CPoint mapped;
  if (!TakesMouse(pt, mapped)) return 0;
  m_bPressedInside = ::PtInRect(&m_rect, mapped);
  // The last qualifying child wins; with none, the child of the last move stays current.
  for (MControl* child : CopyUnderLock(m_children, m_childLock)) {
    if (Live(child) && child->PtInRect(PointFor(child, unmapped, mapped)) && child->m_bVisible &&
        child->m_bEnabled && child->m_bResponse) {
      m_pCurrentChild = child;
    }
  }
  if (MControl* current = m_pCurrentChild) {
    const CPoint q = PointFor(current, unmapped, mapped);
    return (button == Button::Left ? current->OnLButtonDown(keys, q) : current->OnRButtonDown(keys, q)) != 0;
  }
  if (m_pManager && m_pManager->GetFocusControl() != this) m_pManager->SetFocusControl(this);
  return button == Button::Left ? OnControlLButtonDown(keys, mapped) : OnControlRButtonDown(keys, mapped);
}

int MControl::ButtonUp(Button button, UINT keys, CPoint pt) {
  HandlerScope scope;
  const CPoint unmapped = pt;
  CPoint mapped;
  if (!TakesMouse(pt, mapped)) return 0;
  m_bPressedInside = 0;
  if (MControl* current = m_pCurrentChild) {
    const CPoint q = PointFor(current, unmapped, mapped);
    return (button == Button::Left ? current->OnLButtonUp(keys, q) : current->OnRButtonUp(keys, q)) != 0;
  }
  return button == Button::Left ? OnControlLButtonUp(keys, mapped) : OnControlRButtonUp(keys, mapped);
}

int MControl::ButtonDblClk(Button button, UINT keys, CPoint pt) {
  HandlerScope scope;
  const CPoint unmapped = pt;
  CPoint mapped;
  if (!TakesMouse(pt, mapped)) return 0;
  m_bPressedInside = 0;
  const bool left = button == Button::Left;
  if (MControl* current = m_pCurrentChild) {
    const CPoint q = PointFor(current, unmapped, mapped);
    if (left ? current->OnLButtonDblClk(keys, q) : current->OnRButtonDblClk(keys, q)) return 1;
    // A child that takes no double clicks sees a second press instead.
    if (!current->m_bDblClk) return left ? current->OnLButtonDown(keys, q) : current->OnRButtonDown(keys, q);
    return 0;
  }
  if (m_bDblClk) return left ? OnControlLButtonDblClk(keys, mapped) : OnControlRButtonDblClk(keys, mapped);
  return left ? OnControlLButtonDown(keys, mapped) : OnControlRButtonDown(keys, mapped);
}

int MControl::OnLButtonDown(UINT keys, CPoint pt) { return ButtonDown(Button::Left, keys, pt); }

int MControl::OnLButtonUp(UINT keys, CPoint pt) { return ButtonUp(Button::Left, keys, pt); }

int MControl::OnLButtonDblClk(UINT keys, CPoint pt) { return ButtonDblClk(Button::Left, keys, pt); }

int MControl::OnRButtonDown(UINT keys, CPoint pt) { return ButtonDown(Button::Right, keys, pt); }

int MControl::OnRButtonUp(UINT keys, CPoint pt) { return ButtonUp(Button::Right, keys, pt); }

int MControl::OnRButtonDblClk(UINT keys, CPoint pt) { return ButtonDblClk(Button::Right, keys, pt); }

int MControl::OnScroll(int rows, UINT direction, CPoint pt) {
  HandlerScope scope;
  if (!m_bVisible || !m_bResponse || !m_bEnabled) return 0;
  if (MControl* current = m_pCurrentChild) {
    if (current->PtInRect(pt) && current->OnCheckMouseResponse(direction, pt)) {
      return current->OnScroll(rows, direction, pt) != 0;
    }
  }
  if (!PtInRect(pt)) return 0;
  if (OnControlScroll(rows, direction, pt)) return 1;
  for (MControl* child : CopyUnderLock(m_children, m_childLock)) {
    if (Live(child) && child->PtInRect(pt) && child->OnScroll(rows, direction, pt)) return 1;
  }
  return 0;
}

int MControl::OnKeyDown(UINT key, UINT count, UINT modifiers) {
  HandlerScope scope;
  // The key belongs to the deepest focused descendant; its ancestors do not see it.
  MControl* target = this;
  for (;;) {
    if (!target->m_bVisible || !target->m_bResponse) return 0;
    MControl* focused = nullptr;
    {
      CriticalSectionLock lock(target->m_childLock);
      for (MControl* child : target->m_children) {
        if (child && child->m_bFocused) {
          focused = child;
          break;
        }
      }
    }
    if (!focused) break;
    target = focused;
  }
  if (target->m_pCurrentChild && target->m_pCurrentChild->OnKeyDown(key, count, modifiers)) return 1;
  if (target->OnControlKeyDown(key, count, modifiers)) return 1;
  for (MControl* child : CopyUnderLock(target->m_children, target->m_childLock)) {
    if (Live(child) && child->OnKeyDown(key, count, modifiers)) return 1;
  }
  return 0;
}

int MControl::OnKeyUp(UINT, UINT, UINT) { return 0; }

int MControl::OnTimer() {
  HandlerScope scope;
  int result = OnControlTimer();
  for (MControl* child : CopyUnderLock(m_children, m_childLock)) {
    if (Live(child) && child->m_bRunTimer && child->m_bVisible && child->OnTimer()) result = 1;
  }
  return result;
}

}  // namespace TESK
