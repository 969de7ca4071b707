#include "ui/keyboard/KeyFuncControl.h"

#include <algorithm>
#include <climits>

#include "ui/controls/CScrollHorizontal.h"
#include "ui/controls/CScrollVertical.h"
#include "ui/controls/PictureShow.h"
#include "ui/controls/SurfaceCell.h"
#include "ui/core/MRender.h"
#include "ui/core/PaintManager.h"
#include "ui/keyboard/KeyTileLook.h"

namespace TESK {

namespace {

constexpr float kFullCornerRadius = 6.0f;
// A label may run this far beyond either side of its cell.
constexpr int kLabelOverhang = 3;
// A wheel notch moves the content by this many of the bar's row steps.
constexpr int kWheelRows = 10;

// A two-frame key picture from the skin folder, or null.
Gdiplus::Image* LoadKeyPicture(const CString& name) {
  return name.IsEmpty() ? nullptr : PictureShow::LoadSkin(name);
}

}  // namespace

KEY_FUNC_ITEM::~KEY_FUNC_ITEM() { delete image; }

KeyFuncControl::KeyFuncControl(MObject* owner, UINT id, CRect rect, int visible)
    : KeyFuncControl(owner, id, rect, visible, KeyPickerFullGeometry(), kFullCornerRadius, true) {}

KeyFuncControl::KeyFuncControl(MObject* owner, UINT id, CRect rect, int visible, const KeyPickerGeometry& geometry,
                               float cornerRadius, bool barShown)
    : MPanel(owner, id, rect, visible),
      m_geometry(geometry),
      m_fCornerRadius(cornerRadius),
      m_bBarShown(barShown),
      m_nHover(-1),
      m_nSelect(-1),
      m_nMarked(-1),
      m_nContentHeight(0),
      m_nOffset(0) {
  m_bDragDrop = 1;
  m_pScrollH->SetControlVisible(0);
}

KeyFuncControl::~KeyFuncControl() {
  ClearItems();
  if (m_pImage == m_ownImage.get()) m_pImage = nullptr;
}

// ---- Entries ----

void KeyFuncControl::AddKeyItem(CString label, int code, CRect rect, CString image, int data) {
  auto item = std::make_unique<KEY_FUNC_ITEM>();
  item->label = label;
  item->code = code;
  item->data = data;
  item->rect = rect;
  // Plain keys show the skin's picture of their usage when there is one; shifted ones are text.
  if (data == 0) image.Format(L"character\\key_0x%x.png", code);
  item->image = LoadKeyPicture(image);
  if (item->image) {
    item->frame_width = static_cast<int>(item->image->GetWidth() / 2);
    item->frame_height = static_cast<int>(item->image->GetHeight());
  }
  m_items.push_back(std::move(item));
}

void KeyFuncControl::InitItemInfo() {
  ClearItems();
  {
    CriticalSectionLock lock(m_itemLock);
    const KeyPickerEntry* entries = KeyPickerEntries();
    for (int i = 0; i < kKeyPickerEntryCount; ++i) {
      const KeyPickerEntry& entry = entries[i];
      AddKeyItem(m_geometry.compact ? entry.compactLabel : entry.label, entry.usage, CRect(m_geometry.cells[i]),
                 CString(), entry.data);
    }
  }
  m_nContentHeight = m_geometry.contentHeight;
  FitContentBar();
}

void KeyFuncControl::ClearItems() {
  CriticalSectionLock lock(m_itemLock);
  m_items.clear();
}

bool KeyFuncControl::GetCurItemData(int&, int& code, int& data, int& extra, CString& label) {
  CriticalSectionLock lock(m_itemLock);
  if (m_nSelect < 0 || m_nSelect >= static_cast<int>(m_items.size())) return false;
  const KEY_FUNC_ITEM& item = *m_items[m_nSelect];
  code = item.code;
  data = item.data;
  extra = item.extra;
  label = item.label;
  return true;
}

void KeyFuncControl::SetItemCheckByItemData(int code, int data, int extra) {
  m_nMarked = -1;
  if (code != 0) {
    CriticalSectionLock lock(m_itemLock);
    for (size_t i = 0; i < m_items.size(); ++i) {
      const KEY_FUNC_ITEM& item = *m_items[i];
      if (item.code == code && item.data == data && item.extra == extra) {
        m_nMarked = static_cast<int>(i);
        break;
      }
    }
  }
  Redraw();
}

int KeyFuncControl::SetImage(const wchar_t* file, int frames) { return LoadOwnImage(m_ownImage, file, frames); }

// ---- Geometry ----

int KeyFuncControl::ScrollOffset() const { return ContentScrollOffset(m_nContentHeight); }

bool KeyFuncControl::CellInWindow(int index, int offset, CRect& cell) {
  CriticalSectionLock lock(m_itemLock);
  if (index < 0 || index >= static_cast<int>(m_items.size())) return false;
  cell = m_items[index]->rect;
  cell.OffsetRect(m_rect.left, m_rect.top - offset);
  return true;
}

void KeyFuncControl::Redraw() {
  if (m_bVisible && m_pParent) m_pParent->OnControlUpdate(m_rect, 1, this);
}

void KeyFuncControl::FitContentBar() {
  // A bar that never shows is fitted as if the control held any content; its range still
  // follows the content, so the wheel moves the cells by the spare height at most.
  FitBar(m_pScrollV, m_nContentHeight, m_bBarShown ? m_rect.Height() : INT_MAX);
}

void KeyFuncControl::SetControlRect(CRect rect) {
  m_rect = rect;
  PlaceOwnBars(rect, true);
  FitContentBar();
}

void KeyFuncControl::InitControl(PaintManager* manager) {
  MPanel::InitControl(manager);
  SetControlRect(m_rect);
}

// ---- Messages and input ----

LRESULT KeyFuncControl::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  return PassBarMessage(id, code, wParam, lParam);
}

int KeyFuncControl::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  const int old = m_nHover;
  if (!m_rect.PtInRect(pt)) {
    m_nHover = -1;
  } else {
    CRect cell;
    if (m_nHover != -1 && CellInWindow(m_nHover, m_nOffset, cell) && cell.PtInRect(pt)) return 1;
    m_nHover = -1;
    CriticalSectionLock lock(m_itemLock);
    for (size_t i = 0; i < m_items.size(); ++i) {
      CRect at = m_items[i]->rect;
      at.OffsetRect(m_rect.left, m_rect.top - m_nOffset);
      if (at.PtInRect(pt)) {
        m_nHover = static_cast<int>(i);
        break;
      }
    }
  }
  if (m_nHover != old) Redraw();
  return 0;
}

int KeyFuncControl::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled) return 1;
  if (m_rect.PtInRect(pt)) m_nSelect = m_nHover;
  Redraw();
  return 1;
}

int KeyFuncControl::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  const bool inside = m_rect.PtInRect(pt) != 0;
  if (inside) m_nSelect = m_nHover;
  Redraw();
  // The owner hears last: its handler may remove the picker.
  if (inside) SendMessageW(NOTIFY_CLICKED, static_cast<WPARAM>(static_cast<INT_PTR>(m_nSelect)), 0);
  return 0;
}

int KeyFuncControl::OnControlScroll(int, UINT direction, CPoint) {
  // The wheel moves the position even while the content fits and the bar is hidden.
  if (m_pScrollV->ScrollRow(direction == 1 ? kWheelRows : -kWheelRows)) Redraw();
  return 1;
}

// ---- Drag source ----

int KeyFuncControl::IsDragDrop() { return m_bDragDrop; }

HBITMAP KeyFuncControl::GetControlDropBitmap() {
  if (!m_bEnabled || !m_pManager) return nullptr;
  CRect part;
  {
    CriticalSectionLock lock(m_itemLock);
    if (m_nHover < 0 || m_nHover >= static_cast<int>(m_items.size())) return nullptr;
    part = m_items[m_nHover]->rect;
  }
  // The outline's outer half lies beyond the cell.
  part.InflateRect(1, 1, 2, 2);
  part.OffsetRect(0, -ScrollOffset());
  return m_pManager->GetDropBitmap(this, part, 0);
}

// ---- Drawing ----

void KeyFuncControl::DrawControl(HDC& dc, CRect) {
  m_nOffset = ScrollOffset();
  DrawSurfaceCell(*this, dc, m_hCacheDC, [this](Gdiplus::Graphics& g, int, int) { RenderCells(g); });
}

void KeyFuncControl::RenderCells(Gdiplus::Graphics& g) {
  g.SetTextRenderingHint(m_textRenderingHint);
  FallbackFontFamily fallback;
  const std::unique_ptr<Gdiplus::Font> font = CreateTitleFont(fallback);
  Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
  SetFormatAlignment(format, DT_CENTER, DT_VCENTER);
  Gdiplus::SolidBrush text{Gdiplus::Color(m_textColor)};

  CriticalSectionLock lock(m_itemLock);
  for (size_t i = 0; i < m_items.size(); ++i) {
    const KEY_FUNC_ITEM& item = *m_items[i];
    const bool highlighted = static_cast<int>(i) == m_nMarked || static_cast<int>(i) == m_nHover;
    CRect cell = item.rect;
    cell.OffsetRect(0, -m_nOffset);
    const int w = cell.Width(), h = cell.Height();
    DrawKeyTile(g, static_cast<float>(cell.left), static_cast<float>(cell.top), static_cast<float>(w),
                static_cast<float>(h), m_fCornerRadius, highlighted);
    if (item.image) {
      g.DrawImage(item.image,
                  Gdiplus::Rect(cell.left + (w - item.frame_width) / 2, cell.top + (h - item.frame_height) / 2,
                                item.frame_width, item.frame_height),
                  highlighted ? item.frame_width : 0, 0, item.frame_width, item.frame_height, Gdiplus::UnitPixel);
    } else if (font) {
      const Gdiplus::RectF box(static_cast<float>(cell.left - kLabelOverhang), static_cast<float>(cell.top),
                               static_cast<float>(w + 2 * kLabelOverhang), static_cast<float>(h));
      g.DrawString(item.label, item.label.GetLength(), font.get(), box, &format, &text);
    }
  }
}

}  // namespace TESK
