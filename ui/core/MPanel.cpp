#include "ui/core/MPanel.h"

#include <algorithm>

#include "ui/controls/CScrollHorizontal.h"
#include "ui/controls/CScrollVertical.h"
#include "ui/core/ControlFactory.h"
#include "ui/core/HandlerScope.h"

namespace TESK {

namespace {

bool Live(const MControl* control) { return control && !control->IsRemoved(); }

constexpr UINT kVerticalBarId = 1;
constexpr UINT kHorizontalBarId = 2;

// The share of the hidden content that a bar's position stands for. 64-bit, because the
// product of a content size and a position can exceed an int.
int ContentOffset(int content, int visible, const MScroll& bar) {
  const int range = bar.GetScrollMaxRange();
  if (content <= visible || range < 1) return 0;
  return static_cast<int>(static_cast<long long>(content - visible) * bar.GetScrollCurrentPos() / range);
}

}  // namespace

MPanel::MPanel(MObject* parent, UINT id, CRect rect, int visible)
    : MControlFont(parent, id, rect, L"", visible, 1, 1),
      m_bInitialized(0),
      m_nVirtualHeight(0),
      m_nVirtualWidth(0),
      m_pScrollV(nullptr),
      m_pScrollH(nullptr),
      m_nScrollThickness(5),
      m_nDerivedValue1(0),
      m_nDerivedValue2(0),
      m_bEnableScroll(1) {
  m_pScrollV = new CScrollVertical(this, kVerticalBarId, CRect(-5, 0, 0, 0), 1);
  m_children.push_back(m_pScrollV);
  m_pScrollH = new CScrollHorizontal(this, kHorizontalBarId, CRect(0, -5, 0, 0), 1);
  m_children.push_back(m_pScrollH);
  m_bDblClk = 1;
  SetControlRect(rect);
}

LRESULT MPanel::OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  return OnMessage(id, code, wParam, lParam);
}

LRESULT MPanel::OnControlUpdate(CRect rect, int redraw, MControl* control) {
  if (!control) return 0;
  if (redraw) control->SetUpdate(0, 0);
  const int dx = ScrollOffsetX();
  const int dy = ScrollOffsetY();
  CRect dirty = rect;
  if (m_bInitialized) {
    // Children drawn after the requester may overlap it: they are drawn again too.
    bool passed = false;
    for (MControl* child : CopyUnderLock(m_children, m_childLock)) {
      if (!Live(child)) continue;
      if (!passed) {
        passed = child == control;
        continue;
      }
      const CRect childRect = child->GetRect();
      CRect overlap;
      if (child->IsVisible() && overlap.IntersectRect(&childRect, &rect)) {
        dirty.UnionRect(&dirty, &childRect);
        child->SetUpdate(0, 0);
      }
    }
  }
  dirty.OffsetRect(-dx, -dy);
  dirty.UnionRect(&dirty, &m_rect);
  InvalidateRect(&dirty, 1);
  return 0;
}

void MPanel::InitControl(PaintManager* manager) {
  m_bInitialized = 1;
  m_pScrollV->SetManager(manager);
  m_pScrollH->SetManager(manager);
}

int MPanel::IsDragDrop() { return m_pCurrentChild ? m_pCurrentChild->IsDragDrop() : 0; }

void MPanel::DrawControl(HDC&, CRect) {}

int MPanel::DrawSubControls(HDC& dc, CRect dirty) {
  if (IsContentScrolled()) return 1;
  return MControl::DrawSubControls(dc, dirty);
}

int MPanel::OnMousePointChange(CPoint& pt) {
  if (!IsContentScrolled()) return 0;
  pt.x += ScrollOffsetX();
  pt.y += ScrollOffsetY();
  return 1;
}

LRESULT MPanel::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  HandlerScope scope;
  for (MControl* child : CopyUnderLock(m_children, m_childLock)) {
    if (Live(child) && child->OnWindowMessage(msg, wParam, lParam)) return 1;
  }
  return 0;
}

// A child's notification reaches the panel's owner under the child's own id.
LRESULT MPanel::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  return m_pParent ? m_pParent->OnBaseMessage(id, code, wParam, lParam) : 0;
}

void MPanel::SetControlRect(CRect rect) {
  m_rect = rect;
  m_nVirtualHeight = 0;
  m_nVirtualWidth = 0;
  {
    for (MControl* child : CopyUnderLock(m_children, m_childLock)) {
      if (!Live(child)) continue;
      if (child->GetControlID() == kVerticalBarId) {
        PlaceBar(child, CRect(rect.right - m_nScrollThickness, rect.top, rect.right, rect.bottom));
      } else if (child->GetControlID() == kHorizontalBarId) {
        PlaceBar(child, CRect(rect.left, rect.bottom - m_nScrollThickness, rect.right, rect.bottom));
      } else {
        const CRect r = child->GetRect();
        m_nVirtualHeight = std::max<int>(m_nVirtualHeight, r.bottom - rect.top);
        m_nVirtualWidth = std::max<int>(m_nVirtualWidth, r.right - rect.left);
      }
    }
  }
  FitBar(m_pScrollV, m_nVirtualHeight, rect.Height());
  FitBar(m_pScrollH, m_nVirtualWidth, rect.Width());
}

void MPanel::PlaceBar(MControl* bar, CRect target) {
  const CRect old = bar->GetRect();
  CRect dirty;
  dirty.UnionRect(&old, &target);
  bar->SetControlRect(target);
  if (bar->IsVisible()) OnControlUpdate(dirty, 1, bar);
}

void MPanel::FitBar(MScroll* bar, int content, int visible) {
  const int show = content > visible ? 1 : 0;
  if (bar->IsVisible() != show) {
    bar->SetControlVisible(show);
    OnControlUpdate(bar->GetRect(), 1, bar);
  }
  bar->SetScrollMaxRange(content);
}

void MPanel::PlaceOwnBars(CRect rect, bool horizontal) {
  for (MControl* child : CopyUnderLock(m_children, m_childLock)) {
    if (!Live(child)) continue;
    if (child->GetControlID() == kVerticalBarId) {
      PlaceBar(child, CRect(rect.right - m_nScrollThickness, rect.top, rect.right, rect.bottom));
    } else if (horizontal && child->GetControlID() == kHorizontalBarId) {
      PlaceBar(child, CRect(rect.left, rect.bottom - m_nScrollThickness, rect.right, rect.bottom));
    }
  }
}

int MPanel::ContentScrollOffset(int content) const {
  const int range = m_pScrollV->GetScrollMaxRange();
  if (range <= 0) return 0;
  const long long spare = content - m_rect.Height();
  return static_cast<int>(m_pScrollV->GetScrollCurrentPos() * spare / range);
}

LRESULT MPanel::PassBarMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  if ((id == kVerticalBarId || id == kHorizontalBarId) && code == NOTIFY_CHANGING) RepaintIfVisible();
  return m_pParent ? m_pParent->OnBaseMessage(id, code, wParam, lParam) : 0;
}

void MPanel::SetControlVisible(int visible) {
  m_bVisible = visible;
  SetControlWndVisible(visible);
}

void MPanel::SetControlEnabled(int enabled) {
  m_bEnabled = enabled;
  for (MControl* child : CopyUnderLock(m_children, m_childLock)) {
    if (!Live(child) || child->IsEnabled() == enabled) continue;
    child->SetControlEnabled(enabled);
    if (child->IsVisible() && child->GetParantObject()) {
      child->GetParantObject()->OnControlUpdate(child->GetRect(), 1, child);
    }
  }
}

// One wheel notch moves the content one row; wheel scrolling sends no notification.
int MPanel::OnControlScroll(int, UINT direction, CPoint) {
  if (!m_bEnableScroll || m_nVirtualHeight < m_rect.Height()) return 0;
  if (!m_pScrollV->ScrollRow(direction == 1 ? 1 : -1)) return 1;
  if (m_bVisible && m_pParent) m_pParent->OnControlUpdate(m_rect, 1, this);
  if (m_pScrollV->IsVisible()) OnControlUpdate(m_pScrollV->GetRect(), 1, m_pScrollV);
  return 1;
}

int MPanel::OnControlKeyDown(UINT, UINT, UINT) { return 0; }

MControl* MPanel::CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                             int enabled) {
  return CreateControl(0, this, className, id, rect, title, visible, enabled);
}

MControl* MPanel::CreateControl(UINT kind, MObject* owner, const wchar_t* className, UINT id, CRect rect,
                                const wchar_t* title, int visible, int enabled) {
  return AdoptControl(
      kind, ConstructControl(PanelControlClasses(), className, ControlCreateArgs{owner, id, rect, title, visible, enabled}));
}

MControl* MPanel::CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                                int enabled) {
  return CreateControl(1, this, className, id, rect, title, visible, enabled);
}

int MPanel::OnControlKeyUp(UINT, UINT, UINT) { return 0; }

MControl* MPanel::GetScrollVertical() const { return m_pScrollV; }

MControl* MPanel::GetScrollHorizontal() const { return m_pScrollH; }

bool MPanel::IsContentScrolled() const {
  return m_bEnableScroll && (m_nVirtualHeight > m_rect.Height() || m_nVirtualWidth > m_rect.Width());
}

int MPanel::ScrollOffsetX() const {
  return m_bEnableScroll ? ContentOffset(m_nVirtualWidth, m_rect.Width(), *m_pScrollH) : 0;
}

int MPanel::ScrollOffsetY() const {
  return m_bEnableScroll ? ContentOffset(m_nVirtualHeight, m_rect.Height(), *m_pScrollV) : 0;
}

// A panel without a manager leaves the control without one; the panel's later InitControl
// does not reach it.
MControl* MPanel::AdoptControl(UINT kind, MControl* control) {
  if (!control) return nullptr;
  if (m_pManager) control->SetManager(m_pManager);
  if (kind == 0) {
    CriticalSectionLock lock(m_areaLock);
    m_areas.push_back(control);
  } else if (kind == 1) {
    CriticalSectionLock lock(m_childLock);
    m_children.push_back(control);
  }
  return control;
}

}  // namespace TESK
