#include "ui/keyboard/CRecordList.h"

#include <algorithm>
#include <climits>

#include "ui/controls/CScrollHorizontal.h"
#include "ui/controls/CScrollVertical.h"
#include "ui/core/CEditWindow.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace {

constexpr UINT kVerticalBarId = 1;
constexpr UINT kHorizontalBarId = 2;
constexpr int kDefaultRowHeight = 41;
constexpr int kWheelSteps = 10;
constexpr Gdiplus::ARGB kRowHighlight = 0xFF687389;
constexpr COLORREF kEditBackground = 0xD2D2D2;
// Delay edit: digits only, at most five; an empty text stands for the shortest delay.
constexpr int kDelayDigits = 5;
constexpr int kEmptyDelay = 10;
// Columns of a row, in pixels from the list's left edge: the delay is edited over
// kEditLeft ... kEditRight.
constexpr int kDelayColumnWidth = 160;
constexpr int kKindColumnLeft = 120;
constexpr int kNameColumnLeft = 240;
constexpr int kTextColumnWidth = 120;
constexpr int kEditLeft = 20;
constexpr int kEditRight = 140;

const wchar_t* KindText(int kind) {
  switch (kind) {
    case 2:
      return L"Key Dn";
    case 3:
      return L"Key Up";
    case 4:
      return L"Mouse Dn";
    case 5:
      return L"Mouse Up";
    default:
      return nullptr;
  }
}

// The number the text begins with; a text without a leading digit counts as empty.
int ParseDelay(const CString& text) {
  const wchar_t* c = text;
  if (*c < L'0' || *c > L'9') return kEmptyDelay;
  long long value = 0;
  for (; *c >= L'0' && *c <= L'9'; ++c) value = std::min<long long>(value * 10 + (*c - L'0'), INT_MAX);
  return static_cast<int>(value);
}

Gdiplus::RectF Column(int left, int top, int width, int height) {
  return Gdiplus::RectF(static_cast<Gdiplus::REAL>(left), static_cast<Gdiplus::REAL>(top),
                        static_cast<Gdiplus::REAL>(width), static_cast<Gdiplus::REAL>(height));
}

}  // namespace

CRecordList::CRecordList(MObject* owner, UINT id, CRect rect, int visible)
    : MPanel(owner, id, rect, visible),
      m_nItemHeight(kDefaultRowHeight),
      m_nHover(-1),
      m_nSelect(-1),
      m_nFirstVisible(-1),
      m_nLastVisible(-1),
      m_nFirstOffset(0),
      m_nDrawnOffset(-1),
      m_nEditItem(-1),
      m_bEnableEdit(1),
      m_pEditWnd(nullptr),
      m_pImageList(nullptr),
      m_pStringFormat(new Gdiplus::StringFormat(Gdiplus::StringFormatFlagsNoWrap |
                                                Gdiplus::StringFormatFlagsMeasureTrailingSpaces)) {
  SetFormatAlignment(*m_pStringFormat, DT_CENTER, DT_VCENTER);
  m_pScrollV->SetControlVisible(0);
}

CRecordList::~CRecordList() { CEditWindow::CloseInPlace(m_pEditWnd); }

// ---- Rows ----

RecordItem* CRecordList::Row(int index) const {
  if (index < 0 || index >= static_cast<int>(m_rows.size())) return nullptr;
  return m_rows[index].get();
}

void CRecordList::Repaint() {
  if (m_bVisible && m_pParent) m_pParent->OnControlUpdate(m_rect, 1, this);
}

int CRecordList::ContentHeight() {
  return static_cast<int>(std::min<long long>(static_cast<long long>(GetItemCount()) * m_nItemHeight, INT_MAX));
}

void CRecordList::FitRows() { FitBar(m_pScrollV, ContentHeight(), m_rect.Height()); }

int CRecordList::InsertRow(int index, CString name, int kind, int code, int delay) {
  auto row = std::make_unique<RecordItem>(RecordItem{name, kind, code, delay, RECT{0, 0, 0, 0}});
  int count;
  {
    CriticalSectionLock lock(m_rowLock);
    if (index < 0 || index >= static_cast<int>(m_rows.size())) {
      m_rows.push_back(std::move(row));
    } else {
      m_rows.insert(m_rows.begin() + index, std::move(row));
    }
    count = static_cast<int>(m_rows.size());
  }
  FitRows();
  m_pScrollV->SetScrollFinalPos();
  Repaint();
  return count - 1;
}

int CRecordList::AddString(CString name, int kind, int code, int delay) {
  // Rows after the edited one leave the edit where it is.
  return InsertRow(-1, name, kind, code, delay);
}

int CRecordList::InsertString(int index, CString name, int kind, int code, int delay) {
  // The edited index would name another event once a row goes before it.
  DropEdit();
  return InsertRow(index, name, kind, code, delay);
}

bool CRecordList::UpdateDelayTime(int delay) {
  {
    CriticalSectionLock lock(m_rowLock);
    if (m_rows.empty()) return false;
    m_rows.back()->delay = delay;
  }
  Repaint();
  return true;
}

int CRecordList::GetItemCount() {
  CriticalSectionLock lock(m_rowLock);
  return static_cast<int>(m_rows.size());
}

int CRecordList::SetCurSel(int index) {
  if (index < -1 || index > GetItemCount() - 1) return 0;
  if (index != m_nSelect) {
    m_nSelect = index;
    Repaint();
  }
  return 1;
}

void CRecordList::SetItemHeight(int height) {
  // The drawing divides by the row height.
  if (height >= 1) m_nItemHeight = height;
}

int CRecordList::DeleteItem(int index) {
  if (index < 0 || index > GetItemCount() - 1) return 0;
  DropEdit();
  m_nHover = m_nSelect = -1;
  {
    CriticalSectionLock lock(m_rowLock);
    m_rows.erase(m_rows.begin() + index);
  }
  FitRows();
  Repaint();
  return 1;
}

int CRecordList::DeleteAllItems() {
  DropEdit();
  {
    CriticalSectionLock lock(m_rowLock);
    m_rows.clear();
  }
  m_nHover = m_nSelect = m_nFirstVisible = m_nLastVisible = -1;
  FitRows();
  Repaint();
  return 1;
}

void CRecordList::SwapItem(int a, int b) {
  const int count = GetItemCount();
  if (a < 0 || b < 0 || a >= count || b >= count || a == b) return;
  DropEdit();
  std::swap(m_rows[a], m_rows[b]);
}

int CRecordList::SetImageList(MImageList* list) {
  m_pImageList = list;
  return 1;
}

std::vector<RecordItem*> CRecordList::GetRecordItems() {
  std::vector<RecordItem*> items;
  items.reserve(m_rows.size());
  for (const auto& row : m_rows) items.push_back(row.get());
  return items;
}

// ---- Drawing ----

CRect CRecordList::RowWindowRect(const RecordItem& row) const {
  CRect r(&row.rect);
  r.OffsetRect(m_rect.left, m_rect.top - m_nFirstOffset);
  return r;
}

void CRecordList::DrawControl(HDC& dc, CRect) {
  const int W = m_rect.Width() - m_nScrollThickness;
  const int V = m_rect.Height();
  if (W <= 0 || V <= 0) return;
  const int H = m_nItemHeight;
  const int n = GetItemCount();
  const long long content = static_cast<long long>(n) * H;
  const long long R = m_pScrollV->GetScrollMaxRange();
  const long long P = std::max<long long>(0, std::min<long long>(m_pScrollV->GetScrollCurrentPos(), R));
  // 64-bit: a long list's content height times the position exceeds an int.
  const int o = R > 0 && content > V ? static_cast<int>((content - V) * P / R) : 0;
  m_nDerivedValue1 = o;
  const int f = std::max(0, o / H);
  const int l = std::max(0, std::min((V + o) / H, n - 1));
  const int y1 = std::max(0, o - f * H);
  m_nFirstVisible = f;
  m_nLastVisible = l;
  m_nFirstOffset = y1;
  const int surfaceHeight = std::max(V, (l - f + 1) * H);

  // A drawing made at another scroll offset shows other rows.
  if (!m_bCacheValid || m_cacheSize.cx != W || m_cacheSize.cy != surfaceHeight || m_nDrawnOffset != o) {
    m_nDrawnOffset = o;
    UpdateMemDC(dc, W, surfaceHeight);
    if (!m_hCacheDC) return;
    // Only the part from y1 down, V high, reaches the window: it starts as the window under
    // the control.
    ::BitBlt(m_hCacheDC, 0, y1, W, V, dc, m_rect.left, m_rect.top, SRCCOPY);
    if (n > 0) {
      Gdiplus::Graphics g(m_hCacheDC);
      g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
      g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
      FallbackFontFamily fallback;
      const std::unique_ptr<Gdiplus::Font> font = CreateTitleFont(fallback);
      Gdiplus::SolidBrush ink{Gdiplus::Color(m_textColor)};
      CriticalSectionLock lock(m_rowLock);
      for (int r = f; r <= l && r < static_cast<int>(m_rows.size()); ++r) {
        RecordItem& row = *m_rows[r];
        const int y = (r - f) * H;
        row.rect = RECT{0, y, W, y + H};
        if (r == m_nSelect || r == m_nHover) {
          MRender::DrawRectange(g, 2.0f, static_cast<float>(y + 2), static_cast<float>(W - 3), static_cast<float>(H - 3),
                                Gdiplus::Color(kRowHighlight), Gdiplus::Color(kRowHighlight));
        }
        if (!font) continue;
        CString delay;
        delay.Format(L"%d", row.delay);
        const wchar_t* kind = KindText(row.kind);
        if (!kind) kind = delay;
        g.DrawString(delay, delay.GetLength(), font.get(), Column(0, y, kDelayColumnWidth, H), m_pStringFormat.get(),
                     &ink);
        g.DrawString(kind, -1, font.get(), Column(kKindColumnLeft, y, kTextColumnWidth, H), m_pStringFormat.get(), &ink);
        if (!row.name.IsEmpty()) {
          g.DrawString(row.name, row.name.GetLength(), font.get(), Column(kNameColumnLeft, y, kTextColumnWidth, H),
                       m_pStringFormat.get(), &ink);
        }
      }
    }
  }
  ::BitBlt(dc, m_rect.left, m_rect.top, W, V, m_hCacheDC, 0, y1, SRCCOPY);
}

// ---- Mouse ----

int CRecordList::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled || GetItemCount() == 0 || m_nFirstVisible < 0) return 0;
  int hover = -1;
  if (m_rect.PtInRect(pt)) {
    CriticalSectionLock lock(m_rowLock);
    // A row scrolled out of view keeps the rectangle of the drawing that last showed it.
    const RecordItem* current = m_nHover >= m_nFirstVisible && m_nHover <= m_nLastVisible ? Row(m_nHover) : nullptr;
    if (current && RowWindowRect(*current).PtInRect(pt)) return 1;
    for (int r = m_nFirstVisible; r <= m_nLastVisible; ++r) {
      const RecordItem* row = Row(r);
      if (row && RowWindowRect(*row).PtInRect(pt)) {
        hover = r;
        break;
      }
    }
  }
  if (hover != m_nHover) {
    m_nHover = hover;
    Repaint();
  }
  return 0;
}

int CRecordList::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled || !m_rect.PtInRect(pt)) return 1;
  const int previous = m_nSelect;
  m_nSelect = m_nHover;
  int ended = -1;
  if (m_nSelect >= 0) {
    if (pt.x >= m_rect.left + kEditLeft && pt.x <= m_rect.left + kEditRight) {
      // Opening over another row drops what was typed for the previous one.
      ShowEdit();
    } else {
      ended = EndEdit(0);
    }
  }
  if (m_nSelect != previous) Repaint();
  ReportEditEnd(ended);
  SendMessageW(NOTIFY_PRESSED, static_cast<WPARAM>(m_nSelect), 0);
  return 1;
}

int CRecordList::OnControlLButtonUp(UINT, CPoint) { return 0; }

int CRecordList::OnControlLButtonDblClk(UINT, CPoint) { return 0; }

int CRecordList::OnControlRButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  const int previous = m_nSelect;
  m_nSelect = m_nHover;
  if (m_nSelect != previous) Repaint();
  if (m_rect.PtInRect(pt) && m_nHover >= 0) SendMessageW(NOTIFY_RCLICKED, static_cast<WPARAM>(m_nHover), 0);
  return 1;
}

int CRecordList::OnControlScroll(int, UINT direction, CPoint) {
  if (ContentHeight() <= m_rect.Height()) return 0;
  // ScrollRow keeps the position within 0 ... range.
  if (m_pScrollV->ScrollRow(direction == 1 ? kWheelSteps : -kWheelSteps)) {
    const int ended = EndEdit(1);
    Repaint();
    ReportEditEnd(ended);
  }
  return 1;
}

int CRecordList::SetControlFocus(int focus) {
  if (!m_bEnabled) return 0;
  if (focus) return 1;
  const int ended = EndEdit(1);
  Repaint();
  ReportEditEnd(ended);
  return 1;
}

LRESULT CRecordList::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  if ((id == kVerticalBarId || id == kHorizontalBarId) && code == NOTIFY_CHANGING) Repaint();
  return m_pParent ? m_pParent->OnBaseMessage(id, code, wParam, lParam) : 0;
}

void CRecordList::SetControlRect(CRect rect) {
  m_rect = rect;
  PlaceBar(m_pScrollV, CRect(rect.right - m_nScrollThickness, rect.top, rect.right, rect.bottom));
  PlaceBar(m_pScrollH, CRect(rect.left, rect.bottom - m_nScrollThickness, rect.right, rect.bottom));
  FitRows();
}

// ---- In-place delay edit ----

void CRecordList::GetTextRect(CRect& rect) {
  rect.SetRectEmpty();
  {
    CriticalSectionLock lock(m_rowLock);
    const RecordItem* row = Row(m_nEditItem);
    if (!row) return;
    rect = RowWindowRect(*row);
  }
  rect.left = m_rect.left + kEditLeft;
  rect.right = m_rect.left + kEditRight;
  rect.top += (m_nItemHeight - m_nFontWidth) / 2 - 3;
  rect.bottom = rect.top + m_nFontWidth + 3;
}

void CRecordList::ShowEdit() {
  if (!m_bEnableEdit || !m_bEnabled || m_nSelect < 0 || m_nHover < 0) return;
  if (m_nEditItem == m_nSelect && m_pEditWnd) {
    // Already open over this row: what was typed stays.
    m_pEditWnd->SetFocus();
    return;
  }
  CString text;
  {
    CriticalSectionLock lock(m_rowLock);
    const RecordItem* row = Row(m_nHover);
    if (!row) return;
    text.Format(L"%d", row->delay);
  }
  m_nEditItem = m_nSelect;
  CRect area;
  GetTextRect(area);
  // The edit window opens with the list's title and reports changes of it: with the title
  // set first, opening reports nothing.
  SetTitle(text);
  const CEditWindow::InPlace look = {kEditBackground, m_textColor, 1, kDelayDigits};
  if (!CEditWindow::OpenInPlace(m_pEditWnd, this, area, text, look)) {
    m_nEditItem = -1;
    return;
  }
  m_bFocused = 1;
}

int CRecordList::EndEdit(int force) {
  if (m_nEditItem == m_nSelect && !force) return -1;
  m_bFocused = 0;
  int changed = -1;
  if (m_pEditWnd) {
    if (m_nEditItem >= 0) {
      CString text;
      m_pEditWnd->GetWindowTextW(text);
      const int delay = ParseDelay(text);
      CriticalSectionLock lock(m_rowLock);
      RecordItem* row = Row(m_nEditItem);
      if (row && row->delay != delay) {
        row->delay = delay;
        changed = m_nEditItem;
      }
    }
    m_pEditWnd->ShowWindow(SW_HIDE);
  }
  m_nEditItem = -1;
  if (changed >= 0) Repaint();
  return changed;
}

void CRecordList::ReportEditEnd(int row) {
  if (row >= 0) SendMessageW(NOTIFY_EDITEND, 0, static_cast<LPARAM>(row));
}

void CRecordList::HideEdit(int force) { ReportEditEnd(EndEdit(force)); }

void CRecordList::DropEdit() {
  if (m_nEditItem < 0) return;
  m_nEditItem = -1;
  m_bFocused = 0;
  if (m_pEditWnd) m_pEditWnd->ShowWindow(SW_HIDE);
}

}  // namespace TESK
