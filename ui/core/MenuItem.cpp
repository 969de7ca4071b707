#include "ui/core/MenuItem.h"

#include <algorithm>

#include "ui/core/MRender.h"
#include "ui/core/MenuWnd.h"

namespace TESK {

namespace {

constexpr int kCells = 4;
constexpr int kDisabledCell = 3;
constexpr INT kTitleFormat = Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces;

}  // namespace

MenuItem::MenuItem(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(parent, id, rect, title, visible, enabled, 1),
      m_nState(0),
      m_nCheck(0),
      m_bPressed(0),
      m_bSeparator(0),
      m_bPopup(0),
      m_pPopupMenu(nullptr),
      m_nTextIndent(30),
      m_nFrameWidthStored(0),
      m_strGroupName(L"Menu Group") {
  SetFont(L"SourceHanSansCN-Regular", 9, Gdiplus::FontStyleRegular);
  SetTextColor(Gdiplus::Color(0xFFFFFFFF));
  m_nVAlignment = 4;
}

MenuItem::~MenuItem() {
  if (m_pPopupMenu && ::IsWindow(m_pPopupMenu->GetSafeHwnd())) m_pPopupMenu->CloseWindow();
}

const wchar_t* MenuItem::GetClassNameW() const { return L"MenuItem"; }

bool MenuItem::ShowState(int state) {
  if (state == m_nState) return false;
  m_nState = state;
  UpdateControl(0, 0);
  return true;
}

void MenuItem::SetControlCheck(int check) {
  m_nCheck = check;
  m_nState = check ? 2 : 0;
  UpdateControl(0, 0);
}

void MenuItem::SetControlEnabled(int enabled) {
  if (enabled == m_bEnabled) return;
  m_bEnabled = enabled;
  m_nState = enabled ? (m_nCheck ? 2 : 0) : kDisabledCell;
  UpdateControl(1, 0);
}

int MenuItem::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled || m_bPressed) return 0;
  return ShowState(m_rect.PtInRect(pt) ? 1 : 0) ? 1 : 0;
}

int MenuItem::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled || !m_rect.PtInRect(pt)) return 0;
  m_bPressed = 1;
  return ShowState(2) ? 1 : 0;
}

int MenuItem::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  const bool inside = m_rect.PtInRect(pt) != 0;
  m_bPressed = 0;
  if (!ShowState(inside ? 1 : (m_nCheck ? 2 : 0))) return 0;
  // The menu may close and go on this report: nothing of the item is touched after it.
  if (inside) SendMessageW(NOTIFY_CLICKED, 0, 0);
  return 1;
}

void MenuItem::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_bCacheValid) {
    if (!PrepareCells(dc, kCells)) return;
    Gdiplus::Graphics g(m_hCacheDC);
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    const Gdiplus::ARGB frames[2] = {kHoverFrame, kPressedFrame};
    for (int i = 1; i <= 2; ++i) {
      const Gdiplus::Color colour(frames[i - 1]);
      MRender::DrawRectange(g, static_cast<float>(i * w + 2), 2.0f, static_cast<float>(w - 2), static_cast<float>(h - 1),
                            colour, colour);
    }
    for (int i = 0; i < kCells; ++i) {
      const Gdiplus::RectF layout(static_cast<float>(i * w + m_nTextIndent), 0.0f, static_cast<float>(w - m_nTextIndent),
                                  static_cast<float>(h));
      DrawTitleText(g, m_strTitle, layout, kTitleFormat, Gdiplus::TextRenderingHintAntiAlias, 0, m_nVAlignment,
                    m_textColor);
    }
  }
  ShowCell(dc, std::max(0, std::min(kCells - 1, m_nState)));
}

}  // namespace TESK
