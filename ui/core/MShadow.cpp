#include "ui/core/MShadow.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "ui/core/GdiHandles.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MRender.h"
#include "ui/core/Manager.h"
#include "ui/core/PaintManager.h"

namespace TESK {

namespace {

constexpr wchar_t kShadowClass[] = L"ShadowWnd";
constexpr int kMaxExtent = 35;
constexpr BYTE kEnabled = 1;
constexpr BYTE kVisible = 2;
constexpr BYTE kParentVisible = 4;

// The window each shadow follows, with the procedure it had before; the entry outlives its
// MShadow (shadow null) until the window's last message, so the window keeps working.
struct ShadowEntry {
  MShadow* shadow;
  WNDPROC previous;
};

std::mutex& ShadowMapLock() {
  static std::mutex lock;
  return lock;
}

std::map<HWND, ShadowEntry>& ShadowMap() {
  static auto* map = new std::map<HWND, ShadowEntry>();  // lives until the library unloads
  return *map;
}

bool g_classRegistered = false;

bool InRange(int value) { return value >= -kMaxExtent && value <= kMaxExtent; }

// A bottom-up picture addressed top-down, clipped to its size.
class Picture {
public:
  Picture(DWORD* pixels, int width, int height) : m_pixels(pixels), m_width(width), m_height(height) {}
  DWORD* At(int x, int y) const { return m_pixels + static_cast<size_t>(m_height - 1 - y) * m_width + x; }
  void Fill(int y, int from, int to, DWORD value) const {
    if (y < 0 || y >= m_height) return;
    from = std::max(from, 0);
    to = std::min(to, m_width);
    for (int x = from; x < to; ++x) *At(x, y) = value;
  }
  // Keeps in each covered pixel the larger of its value and the kernel's.
  void Stamp(int cx, int cy, const std::vector<DWORD>& kernel, int radius) const {
    const int side = 2 * radius + 1;
    for (int dy = -radius; dy <= radius; ++dy) {
      const int y = cy + dy;
      if (y < 0 || y >= m_height) continue;
      for (int dx = -radius; dx <= radius; ++dx) {
        const int x = cx + dx;
        if (x < 0 || x >= m_width) continue;
        DWORD& pixel = *At(x, y);
        pixel = std::max(pixel, kernel[static_cast<size_t>(dy + radius) * side + dx + radius]);
      }
    }
  }

private:
  DWORD* m_pixels;
  int m_width;
  int m_height;
};

}  // namespace

MShadow::MShadow()
    : m_pOwner(nullptr),
      m_hShadow(nullptr),
      m_prevProc(nullptr),
      m_status(0),
      m_imageMode(0),
      m_show(0),
      m_disabled(0),
      m_pImage(nullptr),
      m_imageWidth(0),
      m_imageHeight(0),
      m_darkness(150),
      m_sharpness(5),
      m_size(0),
      m_xOffset(5),
      m_yOffset(5),
      m_lastWidth(0),
      m_lastHeight(0),
      m_updatePending(0),
      m_color(0),
      m_imageResId(0),
      m_corners{0, 0, 0, 0} {}

MShadow::~MShadow() {
  {
    // The window may outlive its engine: it keeps its entry, now passing everything through.
    std::lock_guard<std::mutex> lock(ShadowMapLock());
    for (auto& entry : ShadowMap()) {
      if (entry.second.shadow == this) entry.second.shadow = nullptr;
    }
  }
  if (m_hShadow && ::IsWindow(m_hShadow)) ::DestroyWindow(m_hShadow);
  delete m_pImage;
}

int MShadow::Initialize(HINSTANCE instance, bool force) {
  if (g_classRegistered && !force) return 0;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kShadowClass;
  RegisterClassExW(&wc);  // a forced second registration finds the class already there
  g_classRegistered = true;
  return 1;
}

HWND MShadow::ParentWindow() const { return m_pOwner ? m_pOwner->GetPaintWnd() : nullptr; }

BYTE MShadow::StatusFor(HWND parent) {
  const LONG_PTR style = GetWindowLongPtrW(parent, GWL_STYLE);
  if (!(style & WS_VISIBLE)) return kEnabled;
  if (style & (WS_MINIMIZE | WS_MAXIMIZE)) return kEnabled | kParentVisible;
  return kEnabled | kVisible | kParentVisible;
}

void MShadow::Create(PaintManager* owner) {
  if (!m_show || !owner) return;
  const HWND parent = owner->GetPaintWnd();
  if (!parent || !::IsWindow(parent)) return;
  {
    // One shadow per window: subclassing twice would make the procedure call itself.
    std::lock_guard<std::mutex> lock(ShadowMapLock());
    if (ShadowMap().count(parent)) return;
    ShadowMap()[parent] = ShadowEntry{this, nullptr};
  }
  m_pOwner = owner;
  const DWORD style = WS_POPUP | WS_BORDER | WS_SYSMENU | (GetWindowLongPtrW(parent, GWL_STYLE) & WS_DLGFRAME);
  m_hShadow = CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT, kShadowClass, nullptr, style, CW_USEDEFAULT, 0, 0,
                              0, parent, nullptr, Manager::m_hInstance, nullptr);
  m_status = StatusFor(parent);
  if (m_hShadow && m_status == (kEnabled | kVisible | kParentVisible)) {
    ::ShowWindow(m_hShadow, SW_SHOWNOACTIVATE);
    Update(parent);
  }
  m_prevProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MShadow::ParentProc)));
  std::lock_guard<std::mutex> lock(ShadowMapLock());
  ShadowMap()[parent].previous = m_prevProc;
}

void MShadow::DisableShadow(int disable) {
  m_disabled = disable;
  if (!m_hShadow) return;
  if (disable) {
    ::ShowWindow(m_hShadow, SW_HIDE);
    return;
  }
  const HWND parent = ParentWindow();
  if (!parent || !::IsWindow(parent)) return;
  m_status = StatusFor(parent);
  if (m_status == (kEnabled | kVisible | kParentVisible)) {
    ::ShowWindow(m_hShadow, SW_SHOWNOACTIVATE);
    Update(parent);
  }
}

void MShadow::Redraw() {
  if (m_hShadow && ::IsWindowVisible(m_hShadow)) Update(ParentWindow());
}

int MShadow::SetSize(int size) {
  if (!InRange(size)) return 0;
  m_size = static_cast<signed char>(size);
  Redraw();
  return 1;
}

int MShadow::SetSharpness(UINT sharpness) {
  if (sharpness > kMaxExtent) return 0;
  m_sharpness = static_cast<BYTE>(sharpness);
  Redraw();
  return 1;
}

int MShadow::SetDarkness(UINT darkness) {
  if (darkness > 255) return 0;
  m_darkness = static_cast<BYTE>(darkness);
  Redraw();
  return 1;
}

int MShadow::SetPosition(int x, int y) {
  if (!InRange(x) || !InRange(y)) return 0;
  m_xOffset = static_cast<signed char>(x);
  m_yOffset = static_cast<signed char>(y);
  Redraw();
  return 1;
}

int MShadow::SetColor(DWORD color) {
  m_color = color;
  Redraw();
  return 1;
}

int MShadow::SetShadowCorner(RECT corners) {
  if (corners.left < 0 || corners.top < 0 || corners.right < 0 || corners.bottom < 0) return 0;
  m_corners = corners;
  Redraw();
  return 1;
}

void MShadow::LoadedImage(Gdiplus::Image* image) {
  delete m_pImage;
  m_pImage = nullptr;
  if (image && image->GetLastStatus() != Gdiplus::Ok) {
    delete image;
    image = nullptr;
  }
  m_pImage = image;
  if (image) {
    m_imageWidth = static_cast<int>(image->GetWidth());
    m_imageHeight = static_cast<int>(image->GetHeight());
  }
}

int MShadow::SetImage(const wchar_t* file) {
  if (!file) return 0;
  m_imageMode = 1;
  m_imageName = file;
  LoadedImage(MRender::LoadImageFromFile(GetSkinFolder() + m_imageName));
  Redraw();
  return 1;
}

int MShadow::SetImage(UINT id) {
  m_imageMode = 1;
  m_imageResId = id;
  LoadedImage(MRender::LoadImageFromIDResource(id, L"PNG", Manager::m_hInstance));
  Redraw();
  return 0;
}

int MShadow::CopyShadow(MShadow* other) {
  if (!other) return 1;
  // The first value the other shadow refuses ends the copying.
  [&] {
    if (m_imageMode) {
      other->SetImage(m_imageName.GetString());
      if (m_corners.left >= 0 && m_corners.top >= 0 && m_corners.right >= 0 && m_corners.bottom >= 0) {
        other->SetShadowCorner(m_corners);
      }
      other->SetSize(m_size);
      return;
    }
    if (!other->SetSize(m_size) || !other->SetSharpness(m_sharpness)) return;
    other->SetDarkness(m_darkness);
    other->SetColor(m_color);
    other->SetPosition(m_xOffset, m_yOffset);
  }();
  other->ShowShadow(m_show);
  return 1;
}

DWORD MShadow::PreMultiply(DWORD color, BYTE alpha) {
  DWORD result = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    result |= (((color >> shift) & 0xFF) * alpha / 255) << shift;
  }
  return result;
}

POINT MShadow::Origin(const RECT& parentRect) const {
  if (m_imageMode) return POINT{parentRect.left - m_corners.left, parentRect.top - m_corners.top};
  return POINT{parentRect.left + m_xOffset - m_size, parentRect.top + m_yOffset - m_size};
}

void MShadow::FollowParent(HWND parent) {
  RECT rect;
  if (!m_hShadow || !::GetWindowRect(parent, &rect)) return;
  const POINT origin = Origin(rect);
  SetWindowPos(m_hShadow, parent, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

std::vector<MShadow::RowSpan> MShadow::WindowRows(HWND window, int width, int height) {
  std::vector<RowSpan> rows(static_cast<size_t>(std::max(height, 0)), RowSpan{width, 0});
  ScopedGdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
  if (!region || GetWindowRgn(window, region.get()) == ERROR) return rows;
  const DWORD size = GetRegionData(region.get(), 0, nullptr);
  if (size < sizeof(RGNDATAHEADER)) return rows;
  std::unique_ptr<BYTE[]> buffer(new BYTE[size]);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.get());
  if (GetRegionData(region.get(), size, data) != size) return rows;
  // The region's rectangles are disjoint: a row's span runs from the leftmost to the
  // rightmost inside point, clipped to the window.
  const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
  for (DWORD i = 0; i < data->rdh.nCount; ++i) {
    const RECT& r = rects[i];
    const int left = std::max<int>(r.left, 0), right = std::min<int>(r.right, width);
    if (left >= right) continue;
    for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, height); ++y) {
      RowSpan& row = rows[static_cast<size_t>(y)];
      if (row.left >= row.right) {
        row = RowSpan{left, right};
      } else {
        row.left = std::min(row.left, left);
        row.right = std::max(row.right, right);
      }
    }
  }
  return rows;
}

void MShadow::MakeShadow(DWORD* pixels, int width, int height, const std::vector<RowSpan>& rows) const {
  const int s = m_size, h = m_sharpness, d = m_darkness, ox = m_xOffset, oy = m_yOffset;
  const int shadowWidth = width + 2 * s, shadowHeight = height + 2 * s;
  if (!pixels || shadowWidth <= 0 || shadowHeight <= 0 || static_cast<int>(rows.size()) < height) return;
  const Picture picture(pixels, shadowWidth, shadowHeight);

  // One entry per window row, s empty rows above and below when s > 0, and an empty
  // sentinel at each end; the entry of window row y is its span moved right by s.
  const int extension = std::max(s, 0);
  const RowSpan empty{width + s, s};
  std::vector<RowSpan> spans(static_cast<size_t>(height + 2 * extension + 2), empty);
  for (int y = 0; y < height; ++y) {
    spans[static_cast<size_t>(1 + extension + y)] = RowSpan{rows[y].left + s, rows[y].right + s};
  }
  // Shadow row y takes the entry of window row y - s.
  auto entry = [&](int y) { return static_cast<size_t>(1 + extension + y - s); };

  // A soft edge wider than the extension eats into the shape, one pixel a round.
  for (int round = 0; round < h - s; ++round) {
    std::vector<RowSpan> previous = spans;
    for (size_t i = 1; i + 1 < spans.size(); ++i) {
      spans[i].left = std::max({previous[i - 1].left, previous[i].left, previous[i + 1].left}) + 1;
      spans[i].right = std::min({previous[i - 1].right, previous[i].right, previous[i + 1].right}) - 1;
    }
  }

  // The kernel: solid within the core radius, fading linearly to the radius.
  const int radius = std::max(s, h), core = std::max(0, s - h), side = 2 * radius + 1;
  std::vector<DWORD> kernel(static_cast<size_t>(side) * side, 0);
  for (int dy = -radius; dy <= radius; ++dy) {
    for (int dx = -radius; dx <= radius; ++dx) {
      const double r = std::sqrt(static_cast<double>(dx * dx + dy * dy));
      int alpha = 0;
      if (r < core) {
        alpha = d;
      } else if (r <= radius) {
        alpha = static_cast<int>((1.0 - (r - core) / (h + 1)) * d);
      }
      alpha = std::max(alpha, 0);
      kernel[static_cast<size_t>(dy + radius) * side + dx + radius] =
          (static_cast<DWORD>(alpha) << 24) | PreMultiply(m_color, static_cast<BYTE>(alpha));
    }
  }

  // Edges: the kernel is stamped along the parts of each row that its neighbours do not cover.
  for (int y = radius; y <= shadowHeight - radius - 1; ++y) {
    const size_t i = entry(y);
    const RowSpan row = spans[i];
    if (row.left >= row.right) continue;
    const int leftEnd = std::min(row.right, std::max(spans[i - 1].left, spans[i + 1].left) + 1);
    int x = row.left;
    for (; x < leftEnd; ++x) picture.Stamp(x, y, kernel, radius);
    for (x = std::max(x, std::min(spans[i - 1].right, spans[i + 1].right) - 1); x < row.right; ++x) {
      picture.Stamp(x, y, kernel, radius);
    }
  }

  // Solid part, cut away under the window itself.
  const DWORD solid = (static_cast<DWORD>(d) << 24) | PreMultiply(m_color, static_cast<BYTE>(d));
  const int firstRow = std::min(radius, std::max(0, s - oy));
  const int endRow = std::max(shadowHeight - radius, std::min(shadowHeight, height + s - oy));
  for (int y = firstRow; y < endRow; ++y) {
    const RowSpan row = spans[entry(y)];
    const int windowRow = y + oy - s;
    if (windowRow < 0 || windowRow >= height) {
      picture.Fill(y, row.left, row.right, solid);
      continue;
    }
    const int a = rows[windowRow].left + s - ox, b = rows[windowRow].right + s - ox;
    picture.Fill(y, row.left, std::min(row.right, a), solid);
    picture.Fill(y, std::max(0, a), std::min(shadowWidth, b), 0);
    picture.Fill(y, std::max(row.left, b), row.right, solid);
  }
}

void MShadow::Update(HWND parent) {
  if (!m_show || !(m_status & kVisible) || !m_hShadow || !parent) return;
  RECT rect;
  if (!::GetWindowRect(parent, &rect)) return;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  int cx, cy;
  if (m_imageMode) {
    if (m_imageName.IsEmpty() && !m_imageResId) return;
    cx = width + m_corners.left + m_corners.right;
    cy = height + m_corners.top + m_corners.bottom;
  } else {
    if (m_size == 0) return;
    cx = width + 2 * m_size;
    cy = height + 2 * m_size;
  }
  if (cx <= 0 || cy <= 0) return;

  BYTE* bits = nullptr;
  ScopedGdiObject<HBITMAP> dib(MRender::CreateARGB32Bitmap(nullptr, cx, cy, &bits));
  ScopedMemoryDC dc(nullptr);
  if (!dib || !bits || !dc) return;
  ScopedSelect select(dc.get(), dib.get());
  const size_t stride = static_cast<size_t>(cx) * 4;
  std::memset(bits, 0, stride * cy);
  if (m_imageMode) {
    if (m_pImage) {
      // GDI+ draws straight into the DIB's pixels, keeping their alpha (top-down view).
      Gdiplus::Bitmap canvas(cx, cy, -static_cast<INT>(stride), PixelFormat32bppPARGB, bits + stride * (cy - 1));
      Gdiplus::Graphics g(&canvas);
      MRender::DrawImageFrameMID(g, m_pImage, CRect(0, 0, cx, cy), 0, 0, m_imageWidth, m_imageHeight,
                                 m_corners.left, m_corners.top, m_corners.right, m_corners.bottom);
    }
  } else {
    MakeShadow(reinterpret_cast<DWORD*>(bits), width, height, WindowRows(parent, width, height));
  }

  POINT origin = Origin(rect);
  SIZE size = {cx, cy};
  POINT source = {0, 0};
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::MoveWindow(m_hShadow, origin.x, origin.y, cx, cy, FALSE);
  UpdateLayeredWindow(m_hShadow, nullptr, &origin, &size, dc.get(), &source, 0, &blend, ULW_ALPHA);
}

void MShadow::OnParentMessage(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_DESTROY:
      if (m_hShadow) ::DestroyWindow(m_hShadow);
      m_hShadow = nullptr;
      break;
    case WM_MOVE:
      if (m_status & kVisible) FollowParent(parent);
      break;
    case WM_SIZE: {
      if (!(m_status & kEnabled) || !m_hShadow) break;
      if (wParam == SIZE_MINIMIZED || wParam == SIZE_MAXIMIZED) {
        ::ShowWindow(m_hShadow, SW_HIDE);
        m_status &= ~kVisible;
      } else if (::IsWindowVisible(parent)) {
        // Growing by dragging the border repaints the window anyway: the shadow follows at
        // that paint; shrinking leaves no paint behind, so it is redrawn now.
        const WORD width = LOWORD(lParam), height = HIWORD(lParam);
        if (width > m_lastWidth || height > m_lastHeight) {
          m_updatePending = 1;
        } else {
          Update(parent);
        }
        if (!(m_status & kVisible)) {
          ::ShowWindow(m_hShadow, SW_SHOWNOACTIVATE);
          m_status |= kVisible;
        }
      }
      m_lastWidth = LOWORD(lParam);
      m_lastHeight = HIWORD(lParam);
      break;
    }
    case WM_PAINT:
      if (m_updatePending) {
        Update(parent);
        m_updatePending = 0;
      }
      break;
    case WM_SHOWWINDOW:
      if (!(m_status & kEnabled) || !m_hShadow) break;
      if (!wParam) {
        ::ShowWindow(m_hShadow, SW_HIDE);
        m_status &= ~(kVisible | kParentVisible);
      } else if (!(m_status & kParentVisible)) {
        m_updatePending = 1;
        ::ShowWindow(m_hShadow, SW_SHOWNOACTIVATE);
        m_status |= kVisible | kParentVisible;
      }
      break;
    case WM_ACTIVATEAPP:
    case WM_NCACTIVATE:
      if (m_hShadow) {
        SetWindowPos(m_hShadow, parent, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOREDRAW | SWP_NOACTIVATE);
      }
      break;
    case WM_WINDOWPOSCHANGED:
      FollowParent(parent);
      break;
    case WM_EXITSIZEMOVE:
      if (m_status & kVisible) Update(parent);
      break;
    default:
      break;
  }
}

LRESULT CALLBACK MShadow::ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ShadowEntry entry{nullptr, nullptr};
  {
    std::lock_guard<std::mutex> lock(ShadowMapLock());
    auto it = ShadowMap().find(hwnd);
    if (it != ShadowMap().end()) {
      entry = it->second;
      if (msg == WM_NCDESTROY) ShadowMap().erase(it);
    }
  }
  if (!entry.previous) return DefWindowProcW(hwnd, msg, wParam, lParam);
  MShadow* shadow = entry.shadow;
  if (shadow && !shadow->m_disabled) shadow->OnParentMessage(hwnd, msg, wParam, lParam);
  if (shadow && msg == WM_NCDESTROY) {
    // The window is gone: the shadow may be created again for the engine's next window.
    shadow->m_hShadow = nullptr;
    shadow->m_status = 0;
    shadow->m_prevProc = nullptr;
  }
  return CallWindowProcW(entry.previous, hwnd, msg, wParam, lParam);
}

}  // namespace TESK
