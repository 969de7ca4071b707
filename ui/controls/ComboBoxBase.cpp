#include "ui/controls/ComboBoxBase.h"

#include <algorithm>

#include "ui/controls/CComboBoxList.h"
#include "ui/core/CComboBoxWnd.h"
#include "ui/core/MRender.h"
#include "ui/core/PaintManager.h"

namespace TESK {

namespace {

constexpr int kRowHeight = CComboBoxList::kRowHeight;
constexpr DWORD kDropDownStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr INT kTitleFormat = Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces;
constexpr Gdiplus::ARGB kDisabledText = 0xFF808080;
constexpr int kCells = 4;
constexpr int kDisabledCell = 3;

}  // namespace

ComboBoxBase::ComboBoxBase(MObject* owner, UINT id, CRect rect, int visible, int enabled, int listExtra,
                           int textInsetRight)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_nCurSel(-1),
      m_nState(0),
      m_showMargins{4, 4, 35, 4},
      m_backResId(0),
      m_strBackResType(L"PNG"),
      m_scrollIds{0, 0},
      m_nListExtra(listExtra),
      m_nTextInsetRight(textInsetRight) {
  if (!rect.IsRectEmpty()) ResetTextRect();
}

// The drop-down is detached before it goes, so its destruction reports to no one.
ComboBoxBase::~ComboBoxBase() { DisposeDropDown(true); }

// ---- Items ----

int ComboBoxBase::InsertItem(int index, const wchar_t* text, long data, const wchar_t* image, Gdiplus::Color colour) {
  CriticalSectionLock lock(m_itemLock);
  const int count = static_cast<int>(m_items.size());
  if (index < -1 || index > count - 1) return -1;
  auto item = std::make_unique<COMBO_ITEM>();
  item->text = text ? text : L"";
  item->image = image ? image : L"";
  item->colour = colour.GetValue();
  item->data = data;
  if (index == -1 || count == 0) {
    m_items.push_back(std::move(item));
  } else {
    m_items.insert(m_items.begin() + index, std::move(item));
  }
  return static_cast<int>(m_items.size()) - 1;
}

int ComboBoxBase::AddItem(const wchar_t* text, long data, const wchar_t* image, Gdiplus::Color colour) {
  return InsertItem(-1, text, data, image, colour);
}

int ComboBoxBase::SetItemData(int index, long data) {
  CriticalSectionLock lock(m_itemLock);
  if (!ValidIndex(index)) return 0;
  m_items[index]->data = data;
  return 1;
}

long ComboBoxBase::GetItemData(int index) {
  CriticalSectionLock lock(m_itemLock);
  return ValidIndex(index) ? m_items[index]->data : 0;
}

int ComboBoxBase::SetItemText(int index, CString text) {
  bool changed = false;
  {
    CriticalSectionLock lock(m_itemLock);
    if (!ValidIndex(index)) return 0;
    if (m_items[index]->text != text) {
      m_items[index]->text = text;
      if (index == m_nCurSel) m_strTitle = text;
      changed = true;
    }
  }
  if (changed) Repaint(1);
  return 1;
}

CString ComboBoxBase::GetItemText(int index) {
  CriticalSectionLock lock(m_itemLock);
  if (!ValidIndex(index)) return CString();
  return m_items[index]->text;
}

int ComboBoxBase::SetCurSel(int index) {
  {
    CriticalSectionLock lock(m_itemLock);
    if (!SelectLocked(index)) return 0;
  }
  Repaint(1);
  return 1;
}

bool ComboBoxBase::SelectLocked(int index) {
  if (index < -1 || index > static_cast<int>(m_items.size()) - 1) return false;
  m_nCurSel = index;
  m_strTitle = index == -1 ? CString(L"") : m_items[index]->text;
  return true;
}

int ComboBoxBase::GetCurSel() {
  CriticalSectionLock lock(m_itemLock);
  return m_nCurSel;
}

int ComboBoxBase::GetItemCount() {
  CriticalSectionLock lock(m_itemLock);
  return static_cast<int>(m_items.size());
}

// The selection index is kept when items are deleted, so it may point past the list.
long ComboBoxBase::GetCurData() {
  CriticalSectionLock lock(m_itemLock);
  return ValidIndex(m_nCurSel) ? m_items[m_nCurSel]->data : 0;
}

int ComboBoxBase::FindData(long data) {
  CriticalSectionLock lock(m_itemLock);
  for (size_t i = 0; i < m_items.size(); ++i) {
    if (m_items[i]->data == data) return static_cast<int>(i);
  }
  return -1;
}

int ComboBoxBase::SelectData(long data) {
  {
    // Found and selected under one hold of the lock, so a deletion in between cannot shift it.
    CriticalSectionLock lock(m_itemLock);
    const int index = FindData(data);
    if (index < 0) return 0;
    SelectLocked(index);
  }
  Repaint(1);
  return 1;
}

int ComboBoxBase::DeleteItem(int index) {
  CriticalSectionLock lock(m_itemLock);
  if (index < -1 || index > static_cast<int>(m_items.size()) - 1) return 0;
  if (index >= 0) m_items.erase(m_items.begin() + index);
  return 1;
}

int ComboBoxBase::DelAllItems() {
  {
    CriticalSectionLock lock(m_itemLock);
    m_nCurSel = -1;
    m_strTitle = L"";
    m_items.clear();
  }
  Repaint(1);
  return 1;
}

void ComboBoxBase::SetTitleLocked(const CString& title) {
  CriticalSectionLock lock(m_itemLock);
  m_strTitle = title;
}

CString ComboBoxBase::GetTitleLocked() {
  CriticalSectionLock lock(m_itemLock);
  return m_strTitle;
}

// ---- Appearance ----

int ComboBoxBase::SetBackImage(const wchar_t* file) {
  m_strBackFile = file ? file : L"";
  return 1;
}

int ComboBoxBase::SetBackImage(UINT id, CString type) {
  m_backResId = id;
  m_strBackResType = type;
  return 1;
}

void ComboBoxBase::SetScrollResID(UINT vertical, UINT horizontal) {
  m_scrollIds[0] = vertical;
  m_scrollIds[1] = horizontal;
}

int ComboBoxBase::SetShowModeMID(int left, int top, int right, int bottom) {
  m_showMargins[0] = left;
  m_showMargins[1] = top;
  m_showMargins[2] = right;
  m_showMargins[3] = bottom;
  Repaint(1);
  return 1;
}

void ComboBoxBase::ResetTextRect() { m_rcText = CRect(3, 3, m_rect.Width() - m_nTextInsetRight, m_rect.Height() - 3); }

void ComboBoxBase::SetControlRect(CRect rect) {
  MControlFont::SetControlRect(rect);
  ResetTextRect();
}

void ComboBoxBase::Repaint(int rebuild) { RepaintIfVisibleFromAnyThread(rebuild); }

// ---- Notifications ----

LRESULT ComboBoxBase::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  if (code == kDropDownClosedCode) {
    Repaint(0);
  } else if (code == NOTIFY_CLICKED && id == kOwnReleaseId && wParam == 0 && lParam == 0) {
    OpenDropDown();
  } else if (code == NOTIFY_CLICKED && id != kOwnReleaseId && lParam == kChosenRowMark) {
    const int row = static_cast<int>(wParam);
    SetCurSel(row);
    Repaint(0);
    SendMessageW(NOTIFY_CLICKED, row, 0);
  }
  return 0;
}

// ---- The drop-down ----

void ComboBoxBase::DisposeDropDown(bool detach) {
  std::unique_ptr<CComboBoxWnd> dropDown = std::move(m_pDropDown);
  if (!dropDown) return;
  if (detach) dropDown->SetParent(nullptr);
  dropDown->DestroyWindow();
}

void ComboBoxBase::OpenDropDown() {
  HWND window = m_pManager ? m_pManager->GetPaintWnd() : nullptr;
  if (!window) return;
  POINT origin = {m_rect.left, m_rect.bottom + 2};
  ::ClientToScreen(window, &origin);

  // The items as they are now; the window calls below run without the lock.
  std::vector<COMBO_ITEM> items;
  {
    CriticalSectionLock lock(m_itemLock);
    for (const auto& item : m_items) items.push_back(*item);
  }
  const int rows = std::min(static_cast<int>(items.size()), kDropDownRows);
  const CRect rect(origin.x, origin.y, origin.x + m_rect.Width(), origin.y + kRowHeight * rows + m_nListExtra);

  DisposeDropDown(false);
  m_pDropDown = std::make_unique<CComboBoxWnd>();
  CComboBoxWnd* dropDown = m_pDropDown.get();
  dropDown->SetScrollResID(m_scrollIds[0], m_scrollIds[1]);
  dropDown->SetParent(this);
  if (!dropDown->Create(window, L"ComboWnd", kDropDownStyle, WS_EX_TOOLWINDOW, rect)) return;
  if (!m_strBackFile.IsEmpty()) {
    dropDown->LoadBKImage(m_strBackFile);
  } else if (m_backResId > 0) {
    dropDown->LoadBKImage(m_backResId, m_strBackResType);
  }
  for (const COMBO_ITEM& item : items) {
    dropDown->AddItem(item.text, item.data, item.image, Gdiplus::Color(item.colour));
  }
  dropDown->UpdateList();
  dropDown->SetListTextColor(Gdiplus::Color(m_textColor));
  dropDown->SetListFont(m_strFontName, m_nFontWidth, m_nFontStyle);
  dropDown->SetListAlignment(m_nAlignment);
  dropDown->ShowWindow(SW_SHOW);
  Repaint(0);
}

// ---- Mouse and state ----

void ComboBoxBase::SetControlEnabled(int enabled) {
  if (enabled == m_bEnabled) return;
  m_bEnabled = enabled;
  m_nState = enabled ? 0 : kDisabledCell;
  Repaint(0);
}

int ComboBoxBase::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled || m_nState == 2) return 0;
  const int state = m_rect.PtInRect(pt) ? 1 : 0;
  if (state == m_nState) return 0;
  m_nState = state;
  Repaint(0);
  return 1;
}

int ComboBoxBase::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled || !m_rect.PtInRect(pt) || m_nState == 2) return 0;
  m_nState = 2;
  Repaint(0);
  return 1;
}

int ComboBoxBase::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  const int old = m_nState;
  const bool inside = m_rect.PtInRect(pt) != 0;
  m_nState = inside ? 1 : 0;
  if (inside) OnMessage(kOwnReleaseId, NOTIFY_CLICKED, 0, 0);
  if (m_nState == old) return 0;
  Repaint(0);
  return 1;
}

// ---- Drawing ----

void ComboBoxBase::DrawFace(HDC& dc, const std::function<void(Gdiplus::Graphics&, const CRect&, int)>& drawImage,
                            int textLeft, int textRight, UINT alignment) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_bCacheValid) {
    if (!PrepareCells(dc, kCells)) return;
    Gdiplus::Graphics g(m_hCacheDC);
    for (int i = 0; i < kCells; ++i) drawImage(g, CRect(i * w, 0, (i + 1) * w, h), i);
    const CString title = GetTitleLocked();
    for (int i = 0; i < kCells; ++i) {
      const Gdiplus::RectF layout(static_cast<float>(i * w + textLeft), 0.0f, static_cast<float>(textRight - textLeft),
                                  static_cast<float>(h));
      DrawTitleText(g, title, layout, kTitleFormat, m_textRenderingHint, alignment <= 2 ? alignment : 0, DT_VCENTER,
                    i == kDisabledCell ? kDisabledText : m_textColor);
    }
  }
  ShowCell(dc, std::max(0, std::min(kCells - 1, m_nState)));
}

}  // namespace TESK
