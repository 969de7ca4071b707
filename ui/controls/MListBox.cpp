#include "ui/controls/MListBox.h"

#include <algorithm>

#include "ui/controls/CScrollVertical.h"
#include "ui/core/CEditWindow.h"
#include "ui/core/MImageList.h"
#include "ui/core/MRender.h"
#include "ui/core/Manager.h"
#include "ui/core/NativeEdit.h"
#include "ui/core/PaintManager.h"

namespace TESK {

namespace {

constexpr UINT kVerticalBarId = 1;
constexpr UINT kHorizontalBarId = 2;
constexpr int kWheelRows = 10;
constexpr int kDragImageMaxWidth = 300;
constexpr Gdiplus::ARGB kRowHighlight = 0xFF687389;
constexpr Gdiplus::ARGB kEditRowFill = 0xFFF7F7F7;
constexpr Gdiplus::ARGB kEditRowFrame = 0xFFA0A0A0;
constexpr COLORREF kEditBackground = 0xD2D2D2;
constexpr int kEditImageBorder = 6;
constexpr INT kRowTextFlags = 0x1800;  // no wrapping, trailing spaces measured

// Top and height of the edit over a row from top to bottom, by the list's font size.
void EditLine(int size, int top, int bottom, int& editTop, int& height) {
  const int span = bottom - top;
  switch (size) {
    case 8:
      editTop = top + (span - size - 4) / 2;
      height = size + 4;
      break;
    case 14:
      editTop = top - 1 + (span - size - 6) / 2;
      height = size + 6;
      break;
    case 16:
      editTop = top - 1 + (span - size - 8) / 2;
      height = size + 8;
      break;
    default:
      editTop = top + (span - size - 6) / 2;
      height = size + 6;
      break;
  }
}

}  // namespace

MListBox::MListBox(MObject* owner, UINT id, CRect rect, int visible)
    : MPanel(owner, id, rect, visible),
      m_nItemHeight(32),
      m_nHover(-1),
      m_nSelect(-1),
      m_pStringFormat(new Gdiplus::StringFormat(kRowTextFlags)),
      m_nFirstVisible(-1),
      m_nLastVisible(-1),
      m_nTextMargin(10),
      m_pImageList(nullptr),
      m_bEnableEdit(0),
      m_nEditItem(-1),
      m_nFirstOffset(0),
      m_nEditFrameWidth(0),
      m_nEditFrameHeight(0),
      m_pEditWnd(nullptr) {
  m_pStringFormat->SetAlignment(Gdiplus::StringAlignmentNear);
  m_pStringFormat->SetLineAlignment(Gdiplus::StringAlignmentCenter);
  delete m_pTextBrush;
  m_pTextBrush = new Gdiplus::SolidBrush(Gdiplus::Color(m_textColor));
  m_pScrollV->SetControlVisible(0);
}

MListBox::~MListBox() {
  CEditWindow::CloseInPlace(m_pEditWnd);
  m_pImage = nullptr;
}

// ---- Rows ----

LISTBOX_ITEM* MListBox::Row(int index) const {
  if (index < 0 || index >= static_cast<int>(m_rows.size())) return nullptr;
  return m_rows[index].get();
}

void MListBox::Repaint() {
  if (m_bVisible && m_pParent) m_pParent->OnControlUpdate(m_rect, 1, this);
}

void MListBox::RowsChanged() {
  if (m_pScrollV->IsVisible()) {
    m_pScrollV->SetControlVisible(0);
    MPanel::OnControlUpdate(m_pScrollV->GetRect(), 1, m_pScrollV);
  }
  m_pScrollV->SetScrollMaxRange(GetItemCount() * m_nItemHeight);
  Repaint();
}

int MListBox::InsertString(int index, const wchar_t* text, int image, long data) {
  if (index < -1 || index > GetItemCount() - 1) return -1;
  if (index != -1) EndEditBefore(index);
  auto row = std::make_unique<LISTBOX_ITEM>();
  row->text = text;
  row->image = image;
  row->data = data;
  row->rect = RECT{0, 0, 0, 0};
  int count;
  {
    CriticalSectionLock lock(m_rowLock);
    if (index == -1 || m_rows.empty()) {
      m_rows.push_back(std::move(row));
    } else {
      m_rows.insert(m_rows.begin() + index, std::move(row));
    }
    count = static_cast<int>(m_rows.size());
  }
  RowsChanged();
  return count - 1;
}

int MListBox::AddString(const wchar_t* text, int image) { return InsertString(-1, text, image, 0); }

int MListBox::AddString(const wchar_t* text, long data, int image) { return InsertString(-1, text, image, data); }

int MListBox::SetItemData(int index, long data) {
  CriticalSectionLock lock(m_rowLock);
  LISTBOX_ITEM* row = Row(index);
  if (!row) return 0;
  row->data = data;
  return 1;
}

long MListBox::GetItemData(int index) {
  CriticalSectionLock lock(m_rowLock);
  const LISTBOX_ITEM* row = Row(index);
  return row ? row->data : 0;
}

int MListBox::ModifyItemString(int index, const wchar_t* text) {
  CriticalSectionLock lock(m_rowLock);
  LISTBOX_ITEM* row = Row(index);
  if (!row) return 0;
  row->text = text ? text : L"";
  return 1;
}

CString MListBox::GetItemText(int index) {
  CriticalSectionLock lock(m_rowLock);
  const LISTBOX_ITEM* row = Row(index);
  return row ? row->text : CString();
}

int MListBox::GetItemCount() {
  CriticalSectionLock lock(m_rowLock);
  return static_cast<int>(m_rows.size());
}

int MListBox::FindString(const wchar_t* text) {
  if (!text) return -1;
  CriticalSectionLock lock(m_rowLock);
  for (size_t i = 0; i < m_rows.size(); ++i) {
    if (m_rows[i]->text == text) return static_cast<int>(i);
  }
  return -1;
}

int MListBox::FindItemData(long data) {
  CriticalSectionLock lock(m_rowLock);
  for (size_t i = 0; i < m_rows.size(); ++i) {
    if (m_rows[i]->data == data) return static_cast<int>(i);
  }
  return -1;
}

int MListBox::SetCurSel(int index) {
  if (index < -1 || index > GetItemCount() - 1) return 0;
  if (index == m_nSelect) return 1;
  m_nSelect = index;
  Repaint();
  return 1;
}

int MListBox::SetCurData(long data) {
  const int index = FindItemData(data);
  if (index >= 0) SetCurSel(index);
  return index;
}

int MListBox::GetCurData() { return static_cast<int>(GetItemData(m_nSelect)); }

int MListBox::DeleteItem(int index) {
  if (index < 0 || index > GetItemCount() - 1) return 0;
  EndEditBefore(index);
  m_nHover = -1;
  m_nSelect = -1;
  {
    CriticalSectionLock lock(m_rowLock);
    m_rows.erase(m_rows.begin() + index);
  }
  m_nFirstVisible = m_nLastVisible = -1;
  RowsChanged();
  return 1;
}

int MListBox::DeleteAllItems() {
  EndEditBefore(0);
  {
    CriticalSectionLock lock(m_rowLock);
    m_rows.clear();
  }
  m_nHover = m_nSelect = m_nFirstVisible = m_nLastVisible = -1;
  RowsChanged();
  return 1;
}

void MListBox::SwapItem(int a, int b) {
  const int count = GetItemCount();
  if (a < 0 || b < 0 || a >= count || b >= count || a == b) return;
  // The edited row's index would name the other row afterwards.
  if (m_nEditItem == a || m_nEditItem == b) HideEdit(1);
  CriticalSectionLock lock(m_rowLock);
  std::swap(m_rows[a], m_rows[b]);
}

void MListBox::SetItemHeight(int height) {
  // The drawing divides by the row height.
  if (height >= 1) m_nItemHeight = height;
}

CRect MListBox::GetItemRect(int) { return CRect(); }

// ---- Images ----

int MListBox::SetImage(const wchar_t* file, int frames) {
  Gdiplus::Image* image = file ? MRender::LoadImageFromFile(GetSkinFolder() + file) : nullptr;
  if (!image) return 0;
  m_pRowIcons.reset(image);
  m_pImage = image;
  m_nFrameCount = std::max(1, frames);
  m_nFrameWidth = static_cast<int>(image->GetWidth()) / m_nFrameCount;
  m_nFrameHeight = static_cast<int>(image->GetHeight());
  m_strImagePath = file;
  Repaint();
  return 1;
}

int MListBox::SetEditImage(const wchar_t* file, int) {
  Gdiplus::Image* image = file ? MRender::LoadImageFromFile(GetSkinFolder() + file) : nullptr;
  if (!image) return 0;
  // The edit strip always has four frames, whatever the caller says.
  m_pEditImage.reset(image);
  m_nEditFrameWidth = static_cast<int>(image->GetWidth()) / 4;
  m_nEditFrameHeight = static_cast<int>(image->GetHeight());
  Repaint();
  return 1;
}

int MListBox::SetImageList(MImageList* list) {
  m_pImageList = list;
  return 1;
}

// ---- Drawing ----

int MListBox::ViewWidth() const {
  return m_rect.Width() - (m_pScrollV->IsVisible() ? m_nScrollThickness : 0);
}

CRect MListBox::RowWindowRect(const LISTBOX_ITEM& row) const {
  CRect r(&row.rect);
  r.OffsetRect(m_rect.left, m_rect.top - m_nFirstOffset);
  return r;
}

void MListBox::DrawControl(HDC& dc, CRect) {
  const int w = ViewWidth();
  const int h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  const int R = m_nItemHeight;
  const int n = GetItemCount();
  const long long P = m_pScrollV->GetScrollCurrentPos();
  const long long M = m_pScrollV->GetScrollMaxRange();
  // 64-bit: a long list's content height times the position exceeds an int.
  const int g = M > 0 ? static_cast<int>((static_cast<long long>(n) * R - h) * P / M) : 0;
  m_nDerivedValue1 = g;
  const int f = std::max(0, g / R);
  const int l = std::max(0, std::min((g + h) / R, n - 1));
  const int y1 = std::max(0, g - f * R);
  m_nFirstVisible = f;
  m_nLastVisible = l;
  m_nFirstOffset = y1;
  const int Hs = std::max(h, R * (l - f + 1));

  if (!m_bCacheValid || m_cacheSize.cx != w || m_cacheSize.cy != Hs) {
    UpdateMemDC(dc, w, Hs);
    if (!m_hCacheDC) return;
    const CRect surface(0, 0, w, Hs);
    MRender::FillSolidRect(m_hCacheDC, &surface, RGB(255, 255, 255));
    MRender::DrawVerticalTransition(m_hCacheDC, dc, CRect(0, y1, w, Hs),
                                    CRect(m_rect.left, m_rect.top, m_rect.left + w, m_rect.top + Hs - y1), 0, 0);
    if (n > 0) {
      Gdiplus::Graphics g2(m_hCacheDC);
      g2.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
      g2.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
      FallbackFontFamily fallback;
      Gdiplus::Font font(fallback.Or(GetFontFamily(m_strFontName)), static_cast<Gdiplus::REAL>(m_nFontWidth),
                         m_nFontStyle, Gdiplus::UnitPixel);
      const int ix = (m_nTextMargin - m_nFrameWidth) / 2;
      const int iy = (R - m_nFrameHeight) / 2;
      auto drawIcon = [&](int i, int top) {
        if (!m_pImage || m_nFrameWidth <= 0) return;
        const int frame = i == m_nSelect ? 1 : 0;
        g2.DrawImage(m_pImage, Gdiplus::Rect(ix, top + iy, m_nFrameWidth, m_nFrameHeight), frame * m_nFrameWidth, 0,
                     m_nFrameWidth, m_nFrameHeight, Gdiplus::UnitPixel);
      };
      CriticalSectionLock lock(m_rowLock);
      for (int i = f; i <= l && i < static_cast<int>(m_rows.size()); ++i) {
        LISTBOX_ITEM& row = *m_rows[i];
        const int top = (i - f) * R;
        row.rect = RECT{0, top, w, top + R};
        const float fx = 1.0f, fy = static_cast<float>(top + 2);
        const float fw = static_cast<float>(w - 3), fh = static_cast<float>(R - 3);
        if (m_bEnableEdit && i == m_nEditItem) {
          MRender::DrawRectange(g2, fx, fy, fw, fh, Gdiplus::Color(kEditRowFrame), Gdiplus::Color(kEditRowFill));
          drawIcon(i, top);
          if (m_pEditImage) {
            MRender::DrawImageFrame(g2, m_pEditImage.get(), CRect(m_nTextMargin - 3, top, w - 6, top + R),
                                    m_nEditFrameWidth, 0, m_nEditFrameWidth, m_nEditFrameHeight, kEditImageBorder);
          }
          continue;  // the edit window shows the text
        }
        if (i == m_nHover || i == m_nSelect) {
          MRender::DrawRectange(g2, fx, fy, fw, fh, Gdiplus::Color(kRowHighlight), Gdiplus::Color(kRowHighlight));
        }
        drawIcon(i, top);
        if (!row.text.IsEmpty()) {
          const Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(m_nTextMargin), static_cast<Gdiplus::REAL>(top),
                                      static_cast<Gdiplus::REAL>(w - m_nTextMargin), static_cast<Gdiplus::REAL>(R));
          g2.DrawString(row.text, row.text.GetLength(), &font, layout, m_pStringFormat.get(), m_pTextBrush);
        }
      }
    }
  }
  ::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_hCacheDC, 0, y1, SRCCOPY);
}

// ---- Hit testing and mouse ----

int MListBox::PtInRect(CPoint pt) {
  if (!m_bVisible) return 0;
  const CRect inner(m_rect.left, m_rect.top, m_rect.right - m_nScrollThickness, m_rect.bottom);
  return inner.PtInRect(pt) ? 1 : 0;
}

int MListBox::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled || GetItemCount() == 0 || m_nFirstVisible < 0 || m_nLastVisible < 0) return 0;
  int hover = -1;
  if (m_rect.PtInRect(pt)) {
    CriticalSectionLock lock(m_rowLock);
    if (const LISTBOX_ITEM* current = Row(m_nHover)) {
      if (RowWindowRect(*current).PtInRect(pt)) return 1;
    }
    for (int i = m_nFirstVisible; i <= m_nLastVisible; ++i) {
      const LISTBOX_ITEM* row = Row(i);
      if (row && RowWindowRect(*row).PtInRect(pt)) {
        hover = i;
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

int MListBox::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled) return 1;
  const bool onRow = m_rect.PtInRect(pt) && m_nHover >= 0;
  int ended = -1;
  if (onRow) {
    m_nSelect = m_nHover;
    // An edit of the pressed row stays open; any other ends.
    ended = EndEdit(0);
  }
  Repaint();
  if (onRow) SendMessageW(NOTIFY_PRESSED, static_cast<WPARAM>(m_nSelect), 0);
  ReportEditEnd(ended);
  return 1;
}

int MListBox::OnControlLButtonUp(UINT, CPoint pt) {
  if (m_rect.PtInRect(pt) && m_nHover >= 0) {
    m_nSelect = m_nHover;
    SendMessageW(NOTIFY_CLICKED, static_cast<WPARAM>(m_nSelect), 0);
  }
  return 1;
}

int MListBox::OnControlLButtonDblClk(UINT, CPoint pt) {
  if (!m_bEnabled || !m_rect.PtInRect(pt)) return 0;
  {
    CriticalSectionLock lock(m_rowLock);
    const LISTBOX_ITEM* row = Row(m_nHover);
    if (!row || !RowWindowRect(*row).PtInRect(pt)) return 0;
  }
  m_nSelect = m_nHover;
  const int row = m_nSelect;
  ShowEdit();
  Repaint();
  SendMessageW(NOTIFY_DBLCLICKED, static_cast<WPARAM>(row), 0);
  return 1;
}

int MListBox::OnControlRButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  const int previous = m_nSelect;
  m_nSelect = m_nHover;
  if (m_nSelect != previous) Repaint();
  if (m_rect.PtInRect(pt)) SendMessageW(NOTIFY_RCLICKED, static_cast<WPARAM>(m_nSelect), 0);
  return 1;
}

int MListBox::OnControlScroll(int, UINT direction, CPoint) {
  if (static_cast<long long>(GetItemCount()) * m_nItemHeight <= m_rect.Height()) return 0;
  // ScrollRow keeps the position in 0 ... range and places the bar again.
  if (m_pScrollV->ScrollRow(direction == 1 ? kWheelRows : -kWheelRows)) Repaint();
  return 1;
}

int MListBox::SetControlFocus(int focus) {
  if (!m_bEnabled) return 0;
  if (focus) return 1;
  HideEdit(1);
  Repaint();
  return 1;
}

LRESULT MListBox::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  if ((id == kVerticalBarId || id == kHorizontalBarId) && code == NOTIFY_CHANGING) Repaint();
  return m_pParent ? m_pParent->OnBaseMessage(id, code, wParam, lParam) : 0;
}

void MListBox::SetControlRect(CRect rect) {
  MPanel::SetControlRect(rect);
  if (m_pScrollV->IsVisible()) m_pScrollV->SetControlVisible(0);
  m_pScrollV->SetScrollMaxRange(GetItemCount() * m_nItemHeight);
}

HBITMAP MListBox::GetControlDropBitmap() {
  if (!m_bEnabled || m_nHover < 0 || !m_pManager) return nullptr;
  m_nSelect = m_nHover;
  CRect part;
  CString text;
  {
    CriticalSectionLock lock(m_rowLock);
    const LISTBOX_ITEM* row = Row(m_nHover);
    if (!row) return nullptr;
    part = CRect(&row->rect);
    text = row->text;
  }
  FallbackFontFamily fallback;
  Gdiplus::Font font(fallback.Or(GetFontFamily(m_strFontName)), static_cast<Gdiplus::REAL>(m_nFontWidth + 2),
                     m_nFontStyle, Gdiplus::UnitPixel);
  const int textWidth = MRender::GetTextBounds(font, *m_pStringFormat, text).Width;
  part.right = part.left + std::min(textWidth + m_nTextMargin + 10, kDragImageMaxWidth);
  // Row rectangles count from the first visible row's top; the picture is cut from the
  // list's own drawing, which starts y1 further down.
  part.OffsetRect(0, -m_nFirstOffset);
  return m_pManager->GetDropBitmap(this, part, 0);
}

// ---- In-place edit ----

CRect MListBox::GetTextRect() {
  CRect area;
  {
    CriticalSectionLock lock(m_rowLock);
    const LISTBOX_ITEM* row = Row(m_nEditItem);
    if (!row) return CRect();
    area = RowWindowRect(*row);
  }
  area.left += 60;
  area.right -= 10;
  int top = 0, height = 0;
  EditLine(m_nFontWidth, area.top, area.bottom, top, height);
  area.top = top;
  area.bottom = top + height;
  if (m_pImageList) area.left += m_nTextMargin;
  return area;
}

void MListBox::ShowEdit() {
  if (!m_bEnableEdit || !m_bEnabled || m_nSelect < 0) return;
  m_nEditItem = m_nSelect;
  const CEditWindow::InPlace look = {kEditBackground, m_textColor, 0, 0};
  if (!CEditWindow::OpenInPlace(m_pEditWnd, this, GetTextRect(), GetItemText(m_nEditItem), look)) {
    m_nEditItem = -1;
    return;
  }
  m_bFocused = 1;
}

int MListBox::EndEdit(int force) {
  if (!m_bEnableEdit || (m_nEditItem == m_nSelect && !force)) return -1;
  m_bFocused = 0;
  int changed = -1;
  if (m_pEditWnd) {
    CString text;
    m_pEditWnd->GetWindowTextW(text);
    {
      CriticalSectionLock lock(m_rowLock);
      LISTBOX_ITEM* row = Row(m_nEditItem);
      if (row && !(row->text == text)) {
        row->text = text;
        changed = m_nEditItem;
      }
    }
    if (changed >= 0) Repaint();
    m_pEditWnd->ShowWindow(SW_HIDE);
  }
  m_nEditItem = -1;
  return changed;
}

void MListBox::ReportEditEnd(int row) {
  if (row >= 0) SendMessageW(NOTIFY_EDITEND, 0, static_cast<LPARAM>(row));
}

void MListBox::HideEdit(int force) { ReportEditEnd(EndEdit(force)); }

void MListBox::EndEditBefore(int index) {
  if (m_nEditItem >= 0 && index <= m_nEditItem) HideEdit(1);
}

}  // namespace TESK
