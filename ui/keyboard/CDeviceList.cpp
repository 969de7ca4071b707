#include "ui/keyboard/CDeviceList.h"

#include <algorithm>

#include "ui/controls/CScrollHorizontal.h"
#include "ui/controls/SurfaceCell.h"
#include "ui/core/MRender.h"
#include "ui/core/Manager.h"

namespace TESK {

namespace {

constexpr Gdiplus::ARGB kPlate = 0xC80F171D;
constexpr float kPlateRadius = 12.0f;
constexpr float kPlatePen = 2.0f;
constexpr int kPlateInset = 3;
constexpr int kPictureInset = 8;
constexpr int kNameHeight = 30;
constexpr int kWheelSteps = 10;

// The box ratio that decides between fitting a picture to the width or to the height: the
// ratio of the first box with a height that was asked about in the process.
struct FitRatio {
  bool fixed = false;
  double ratio = 0.0;
};
FitRatio& ProcessFitRatio() {
  static FitRatio ratio;
  return ratio;
}

}  // namespace

CDeviceList::CDeviceList(MObject* owner, UINT id, CRect rect, int visible, int)
    : MPanel(owner, id, rect, visible), m_nHover(-1), m_nSelect(0), m_nTileWidth(kTileWidth) {}

CDeviceList::~CDeviceList() {
  CriticalSectionLock lock(m_deviceLock);
  m_devices.clear();
}

// ---- Devices ----

int CDeviceList::AddDevice(CString name, int id, CString picture, CString selectedPicture) {
  auto device = std::make_unique<DEVICE_ITEM>();
  device->name = name;
  device->id = id;
  device->picture.reset(MRender::LoadImageFromFileEx(picture, 0, 0));
  if (device->picture) {
    device->pictureWidth = static_cast<int>(device->picture->GetWidth());
    device->pictureHeight = static_cast<int>(device->picture->GetHeight());
  }
  device->selectedPicture.reset(MRender::LoadImageFromFileEx(selectedPicture, 0, 0));
  if (device->selectedPicture) {
    device->selectedWidth = static_cast<int>(device->selectedPicture->GetWidth());
    device->selectedHeight = static_cast<int>(device->selectedPicture->GetHeight());
  }
  int index;
  {
    CriticalSectionLock lock(m_deviceLock);
    m_devices.push_back(std::move(device));
    index = static_cast<int>(m_devices.size()) - 1;
  }
  RepaintIfVisible();
  return index;
}

void CDeviceList::ClearList() {
  {
    CriticalSectionLock lock(m_deviceLock);
    m_devices.clear();
  }
  m_nHover = -1;
  m_nSelect = 0;
  RepaintIfVisible();
}

int CDeviceList::GetDeviceState(int id) {
  CriticalSectionLock lock(m_deviceLock);
  for (const auto& device : m_devices) {
    if (device->id == id) return device->state;
  }
  return 0;
}

void CDeviceList::SetDeviceState(int id, int state) {
  {
    CriticalSectionLock lock(m_deviceLock);
    for (const auto& device : m_devices) {
      if (device->id == id) {
        device->state = state;
        break;
      }
    }
  }
  RepaintIfVisible();
}

void CDeviceList::SetAllDeviceState(int state) {
  {
    CriticalSectionLock lock(m_deviceLock);
    for (const auto& device : m_devices) device->state = state;
  }
  RepaintIfVisible();
}

void CDeviceList::SetSelectDevice(int id) {
  {
    CriticalSectionLock lock(m_deviceLock);
    int first = -1;
    int match = -1;
    for (size_t i = 0; i < m_devices.size() && match < 0; ++i) {
      if (m_devices[i]->state <= 0) continue;
      if (first < 0) first = static_cast<int>(i);
      if (m_devices[i]->id == id) match = static_cast<int>(i);
    }
    m_nSelect = match >= 0 ? match : first;
  }
  RepaintIfVisible();
}

int CDeviceList::GetSelectDevice() {
  CriticalSectionLock lock(m_deviceLock);
  if (m_devices.empty()) return 0;
  const int index = std::max(0, m_nSelect);
  return index < static_cast<int>(m_devices.size()) ? m_devices[index]->id : 0;
}

int CDeviceList::GetItemCount() {
  CriticalSectionLock lock(m_deviceLock);
  return static_cast<int>(m_devices.size());
}

CRect CDeviceList::GetImageRect(int w, int h, CRect box) {
  const int W = box.Width();
  const int H = box.Height();
  FitRatio& fit = ProcessFitRatio();
  // A box without a height gives no ratio; the next box that has one fixes it.
  if (!fit.fixed && H > 0) {
    fit.fixed = true;
    fit.ratio = static_cast<double>(W) / H;
  }
  // The scaling divides by the heights: a zero side keeps the picture's size.
  if (W > 0 && H > 0 && w > 0 && h > 0) {
    if (w > W && h > H) {
      if (static_cast<double>(w) / h > fit.ratio) {
        h = static_cast<int>(static_cast<long long>(W) * h / w);
        w = W;
      } else {
        w = static_cast<int>(static_cast<long long>(H) * w / h);
        h = H;
      }
    } else if (w > W) {
      h = static_cast<int>(static_cast<long long>(W) * h / w);
      w = W;
    } else if (h > H) {
      w = static_cast<int>(static_cast<long long>(H) * w / h);
      h = H;
    }
  }
  const int left = box.left + (W - w) / 2;
  const int top = box.top + (H - h) / 2;
  return CRect(left, top, left + w, top + h);
}

// ---- Drawing ----

void CDeviceList::DrawControl(HDC& dc, CRect) {
  if (!GetUpdate()) {
    if (!PrepareCells(dc, 1)) return;
    RenderTiles(m_hCacheDC);
  }
  ShowCell(dc, 0);
}

void CDeviceList::RenderTiles(HDC surface) {
  const int tileHeight = m_rect.Height() - m_nFontWidth;
  struct Name {
    CRect box;
    CString text;
  };
  std::vector<Name> names;
  {
    Gdiplus::Graphics g(surface);
    g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    CriticalSectionLock lock(m_deviceLock);
    int x = 0;
    for (size_t i = 0; i < m_devices.size(); ++i) {
      DEVICE_ITEM& device = *m_devices[i];
      if (device.state <= 0) {
        device.rect.SetRectEmpty();
        continue;
      }
      device.rect = CRect(x, 0, x + m_nTileWidth, tileHeight);
      const bool lit = static_cast<int>(i) == m_nSelect || static_cast<int>(i) == m_nHover;
      MRender::DrawRoundRectange(g, static_cast<float>(x + kPlateInset), static_cast<float>(kPlateInset),
                                 static_cast<float>(m_nTileWidth - 2 * kPlateInset),
                                 static_cast<float>(tileHeight - 2 * kPlateInset), kPlateRadius,
                                 Gdiplus::Color(lit ? Manager::m_down_color : kPlate), kPlatePen, Gdiplus::Color(kPlate));
      Gdiplus::Image* picture = lit ? device.selectedPicture.get() : device.picture.get();
      if (picture) {
        const CRect fitted =
            GetImageRect(lit ? device.selectedWidth : device.pictureWidth, lit ? device.selectedHeight : device.pictureHeight,
                         CRect(x + kPictureInset, kPictureInset, x + m_nTileWidth - kPictureInset, tileHeight));
        g.DrawImage(picture, fitted.left, kPictureInset, fitted.Width(), fitted.Height());
      }
      names.push_back({CRect(x, tileHeight - kNameHeight, x + m_nTileWidth, tileHeight), device.name});
      x += m_nTileWidth + kTileGap;
    }
  }
  // The names in the control's GDI font, once GDI+ has let the surface go.
  for (Name& name : names) {
    MRender::DrawTextW(surface, name.box, name.text, ArgbToColorRef(m_textColor), GetGDIFont(),
                       DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS);
  }
}

// ---- Mouse and wheel ----

int CDeviceList::TileAt(CPoint pt) const {
  if (!m_rect.PtInRect(pt)) return -1;
  for (size_t i = 0; i < m_devices.size(); ++i) {
    const DEVICE_ITEM& device = *m_devices[i];
    if (device.state <= 0) continue;
    CRect at = device.rect;
    at.OffsetRect(m_rect.left, m_rect.top);
    if (at.PtInRect(pt)) return static_cast<int>(i);
  }
  return -1;
}

int CDeviceList::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  int hover;
  {
    CriticalSectionLock lock(m_deviceLock);
    hover = TileAt(pt);
  }
  if (hover != m_nHover) {
    m_nHover = hover;
    RepaintIfVisible();
  }
  return 1;
}

int CDeviceList::OnControlLButtonDown(UINT, CPoint) { return m_bEnabled ? 1 : 0; }

int CDeviceList::OnControlLButtonUp(UINT, CPoint) {
  if (!m_bEnabled || m_nHover < 0) return 0;
  bool shown = false;
  {
    CriticalSectionLock lock(m_deviceLock);
    shown = m_nHover < static_cast<int>(m_devices.size()) && m_devices[m_nHover]->state > 0;
  }
  if (m_nSelect != m_nHover) {
    m_nSelect = m_nHover;
    RepaintIfVisible();
  }
  if (shown) SendMessageW(NOTIFY_CLICKED, 0, 0);
  return 1;
}

int CDeviceList::OnControlScroll(int, UINT direction, CPoint) {
  if (static_cast<long long>(GetItemCount()) * m_nTileWidth <= m_rect.Width()) return 0;
  // ScrollRow keeps the position within 0 ... range.
  if (m_pScrollH->ScrollRow(direction == 1 ? kWheelSteps : -kWheelSteps)) RepaintIfVisible();
  return 1;
}

LRESULT CDeviceList::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  return PassBarMessage(id, code, wParam, lParam);
}

void CDeviceList::SetControlRect(CRect rect) { m_rect = rect; }

}  // namespace TESK
