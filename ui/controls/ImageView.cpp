#include "ui/controls/ImageView.h"

#include <algorithm>
#include <cstdlib>

#include <lodepng.h>

#include "ui/core/GdiHandles.h"
#include "ui/core/MRender.h"
#include "ui/core/PaintManager.h"
#include "ui/core/UserFiles.h"

namespace TESK {

namespace {

constexpr COLORREF kDefaultColour = 0x016EEE;
constexpr Gdiplus::ARGB kSelectionFrame = 0xFF06B025;
constexpr Gdiplus::ARGB kGridColour = 0xC8646464;
constexpr int kGridStep = 10;
constexpr int kTextMargin = 6;
constexpr int kMoveSlack = 2;    // text moves ignore smaller steps
constexpr int kStrokeSlack = 6;  // strokes ignore smaller steps
constexpr int kMinTextSize = 6;
constexpr int kMaxTextSize = 60;
constexpr int kWheelStep = 2;

Gdiplus::ARGB Opaque(COLORREF colour) {
  return 0xFF000000u | (static_cast<Gdiplus::ARGB>(GetRValue(colour)) << 16) |
         (static_cast<Gdiplus::ARGB>(GetGValue(colour)) << 8) | GetBValue(colour);
}

// Opaque black through the DC's background colour, as the view's surfaces begin.
void FillBlack(HDC dc, int w, int h) { MRender::FillSolidRect(dc, 0, 0, w, h, 0); }

}  // namespace

PREVIEW_FRAME::~PREVIEW_FRAME() { delete image; }

ImageView::ImageView(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_previewMode(false),
      m_previewFrame(0),
      m_previewCount(0),
      m_previewTick(0),
      m_modified(0),
      m_grid(0),
      m_drawMode(kModePen),
      m_penSize(2),
      m_colour(kDefaultColour),
      m_lastPoint{0, 0},
      m_selected(-1),
      m_baseWidth(0),
      m_baseHeight(0) {}

ImageView::~ImageView() = default;

// ---- Images and files ----

CString ImageView::SetImage(const wchar_t* file) {
  {
    CriticalSectionLock lock(m_layerLock);
    m_selected = -1;
    m_layers.clear();
  }
  const CString source(file ? file : L"");
  const CString folder = GetUserDataFolder() + L"edit\\";
  m_editFile = folder + L"edit_" + GetFileNamePart(source);
  // The copy needs its folder: on a fresh profile neither it nor its parents exist yet.
  if (CreateFolderTree(folder)) CopyFileW(source, m_editFile, FALSE);
  m_baseImage.reset(MRender::LoadImageFromFileEx(source, 0, 0));
  m_sourceFile = source;
  if (m_baseImage) {
    m_baseWidth = static_cast<int>(m_baseImage->GetWidth());
    m_baseHeight = static_cast<int>(m_baseImage->GetHeight());
  }
  Repaint();
  return m_editFile;
}

std::vector<unsigned char> ImageView::RenderPng(Gdiplus::Image* image, int w, int h, const LayerPlacement* place) {
  if (w <= 0 || h <= 0) return {};
  HDC reference = m_pManager ? m_pManager->GetPaintDC() : nullptr;
  HDC screen = reference ? nullptr : ::GetDC(nullptr);
  BYTE* bits = nullptr;
  ScopedGdiObject<HBITMAP> surface(CreateARGB32Bitmap(reference ? reference : screen, w, h, &bits));
  ScopedMemoryDC dc(reference ? reference : screen);
  if (screen) ::ReleaseDC(nullptr, screen);
  if (!surface || !dc || !bits) return {};
  std::vector<unsigned char> rgba(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
  {
    ScopedSelect select(dc.get(), surface.get());
    FillBlack(dc.get(), w, h);
    Gdiplus::Graphics g(dc.get());
    g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    if (image) g.DrawImage(image, 0, 0, w, h);
    if (place) DrawLayers(g, *place);
    g.Flush(Gdiplus::FlushIntentionSync);
    ::GdiFlush();
    // The surface holds BGRA rows from the top; the PNG takes RGBA, opaque everywhere.
    for (size_t i = 0; i < rgba.size(); i += 4) {
      rgba[i] = bits[i + 2];
      rgba[i + 1] = bits[i + 1];
      rgba[i + 2] = bits[i];
      rgba[i + 3] = 255;
    }
  }
  std::vector<unsigned char> png;
  if (lodepng::encode(png, rgba, static_cast<unsigned>(w), static_cast<unsigned>(h)) != 0) return {};
  return png;
}

void ImageView::SaveCurrentImage() {
  if (m_editFile.IsEmpty()) return;
  // Layers are placed from the displayed picture's top-left, unscaled. That is where the
  // drawing shows the picture, also when no drawing has happened since it was opened.
  m_displayRect = GetImageRect(m_baseWidth, m_baseHeight, CRect(0, 0, m_rect.Width(), m_rect.Height()));
  const int left = m_rect.left + m_displayRect.left;
  const int top = m_rect.top + m_displayRect.top;
  const LayerPlacement place = {static_cast<float>(-left), static_cast<float>(-top), 1.0f, 1.0f, 1.0f, -left, -top,
                                false};
  const std::vector<unsigned char> png = RenderPng(m_baseImage.get(), m_baseWidth, m_baseHeight, &place);
  if (png.empty() || !ReplaceFileWith(m_editFile, png)) return;
  SendMessageW(NOTIFY_IMAGESAVED, 0, 0);
}

void ImageView::SaveCurrentImage(CString file) {
  std::unique_ptr<Gdiplus::Image> image(MRender::LoadImageFromFileEx(file, 0, 0));
  if (!image) return;
  const int w = static_cast<int>(image->GetWidth());
  const int h = static_cast<int>(image->GetHeight());
  if (w < m_rect.Width() && h < m_rect.Height()) return;
  const CRect fitted = GetImageRect(w, h, m_rect);
  const std::vector<unsigned char> png = RenderPng(image.get(), fitted.Width(), fitted.Height(), nullptr);
  if (!png.empty()) ReplaceFileWith(file, png);
}

void ImageView::SaveImageData() { CopyFileW(m_editFile, m_sourceFile, FALSE); }

void ImageView::RecoverOriginalImage() {
  CopyFileW(m_sourceFile, m_editFile, FALSE);
  ClearCurEdit();
  Repaint();
}

// ---- Layers and tools ----

EDIT_LAYER* ImageView::SelectedLayer() {
  if (m_selected < 0 || m_selected >= static_cast<int>(m_layers.size())) return nullptr;
  return m_layers[static_cast<size_t>(m_selected)].get();
}

void ImageView::AddText(CString text) {
  {
    auto layer = std::make_unique<EDIT_LAYER>();
    layer->type = EDIT_LAYER::kText;
    layer->colour = Opaque(m_colour);
    layer->size = m_nFontWidth;
    layer->text = text;
    layer->x = m_rect.left + m_rect.Width() / 2;
    layer->y = m_rect.top + m_rect.Height() / 2;
    CriticalSectionLock lock(m_layerLock);
    m_layers.push_back(std::move(layer));
  }
  Repaint();
  m_modified = 0;
  SaveCurrentImage();
}

void ImageView::SetColorValue(COLORREF colour) {
  m_colour = colour;
  {
    CriticalSectionLock lock(m_layerLock);
    if (EDIT_LAYER* layer = SelectedLayer()) layer->colour = Opaque(colour);
  }
  Repaint();
  m_modified = 0;
  SaveCurrentImage();
}

void ImageView::SetFontSize(int size) {
  m_nFontWidth = size;
  if (m_selected == -1) return;
  {
    CriticalSectionLock lock(m_layerLock);
    EDIT_LAYER* layer = SelectedLayer();
    if (layer && layer->type == EDIT_LAYER::kText) layer->size = size;
  }
  Repaint();
}

void ImageView::AddImage(CString) {
  m_drawMode = kModeImage;
  Repaint();
}

void ImageView::SetShowGridLine(int show) {
  m_grid = show;
  Repaint();
}

void ImageView::SetScale100(float) { Repaint(); }

void ImageView::ClearCurEdit() {
  {
    CriticalSectionLock lock(m_layerLock);
    m_selected = -1;
    m_layers.clear();
  }
  Repaint();
  SaveCurrentImage();
}

void ImageView::RecoverCurEdit() {
  {
    CriticalSectionLock lock(m_layerLock);
    // Index 1 whatever layer that is; every use of the selection checks that it names one.
    m_selected = 1;
    if (!m_layers.empty()) m_layers.pop_back();
  }
  Repaint();
  SaveCurrentImage();
}

// ---- Preview frames ----

int ImageView::AddString(CString file, int duration, int spare) {
  auto frame = std::make_unique<PREVIEW_FRAME>();
  frame->file = file;
  frame->image = MRender::LoadImageFromFileEx(file, 0, 0);
  if (frame->image) {
    frame->width = static_cast<int>(frame->image->GetWidth());
    frame->height = static_cast<int>(frame->image->GetHeight());
  }
  frame->duration = duration;
  frame->spare = spare;
  CriticalSectionLock lock(m_frameLock);
  m_frames.push_back(std::move(frame));
  return 1;
}

CString ImageView::GetItemImageFile(int index) {
  CriticalSectionLock lock(m_frameLock);
  if (index < 0 || index >= static_cast<int>(m_frames.size())) return CString();
  return m_frames[static_cast<size_t>(index)]->file;
}

int ImageView::GetItemCount() {
  CriticalSectionLock lock(m_frameLock);
  return static_cast<int>(m_frames.size());
}

int ImageView::DeleteAllItems() {
  CriticalSectionLock lock(m_frameLock);
  m_frames.clear();
  return 1;
}

void ImageView::SetImagePreviewMode(bool on) {
  CriticalSectionLock lock(m_frameLock);
  m_previewMode = on;
  m_previewCount = static_cast<int>(m_frames.size());
  m_previewFrame = 0;
  m_previewTick = GetTickCount();
}

int ImageView::OnControlTimer() {
  {
    CriticalSectionLock lock(m_frameLock);
    if (!m_bVisible || !m_previewMode) return 0;
    // Frames removed since preview mode was set leave nothing to step through.
    if (m_previewCount <= 0 || m_previewCount > static_cast<int>(m_frames.size()) || m_previewFrame < 0 ||
        m_previewFrame >= m_previewCount) {
      return 0;
    }
    const DWORD now = GetTickCount();
    const long long shown = static_cast<long long>(now - m_previewTick);
    if (m_frames[static_cast<size_t>(m_previewFrame)]->duration >= shown) return 0;
    m_previewFrame = (m_previewFrame + 1) % m_previewCount;
    m_previewTick = now;
  }
  Repaint();
  return 1;
}

// ---- Drawing ----

CRect ImageView::GetImageRect(int w, int h, CRect box) const {
  const long long bw = box.Width();
  const long long bh = box.Height();
  long long iw = w;
  long long ih = h;
  if (iw > 0 && ih > 0 && bw > 0 && bh > 0) {
    const double boxRatio = static_cast<double>(bw) / static_cast<double>(bh);
    if (bw < iw && bh < ih) {
      if (static_cast<double>(iw) / static_cast<double>(ih) > boxRatio) {
        ih = bw * ih / iw;
        iw = bw;
      } else {
        iw = bh * iw / ih;
        ih = bh;
      }
    } else if (bw < iw && ih < bh) {
      ih = bw * ih / iw;
      iw = bw;
    } else if (iw < bw && bh < ih) {
      iw = bh * iw / ih;
      ih = bh;
    }
  }
  const int left = box.left + static_cast<int>((bw - iw) / 2);
  const int top = box.top + static_cast<int>((bh - ih) / 2);
  return CRect(left, top, left + static_cast<int>(iw), top + static_cast<int>(ih));
}

HBITMAP ImageView::CreateARGB32Bitmap(HDC dc, int w, int h, BYTE** bits) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(static_cast<unsigned long long>(w) * static_cast<unsigned>(h));
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (bits) *bits = bitmap ? static_cast<BYTE*>(pixels) : nullptr;
  return bitmap;
}

const Gdiplus::FontFamily* ImageView::TextFamily() {
  if (m_pFontFamily) return m_pFontFamily;
  return m_fallbackFamily.Or(GetFontFamily(m_strFontName));
}

void ImageView::DrawLayers(Gdiplus::Graphics& g, const LayerPlacement& place) {
  Gdiplus::StringFormat format(0x1800);
  format.SetAlignment(Gdiplus::StringAlignmentNear);
  format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  const Gdiplus::FontFamily* family = TextFamily();
  CriticalSectionLock lock(m_layerLock);
  for (size_t i = 0; i < m_layers.size(); ++i) {
    EDIT_LAYER& layer = *m_layers[i];
    if (layer.type == EDIT_LAYER::kText) {
      if (layer.text.IsEmpty() || !family) continue;
      Gdiplus::Font font(family, static_cast<Gdiplus::REAL>(layer.size) * place.fontScale, m_nFontStyle,
                         Gdiplus::UnitPixel);
      const Gdiplus::PointF at(layer.x * place.textScaleX + place.textX, layer.y * place.textScaleY + place.textY);
      Gdiplus::RectF measured;
      g.MeasureString(layer.text, layer.text.GetLength(), &font, at, &format, &measured);
      layer.bounds = {layer.x, layer.y, layer.x + static_cast<LONG>(measured.Width) + kTextMargin,
                      layer.y + static_cast<LONG>(measured.Height) + kTextMargin};
      const Gdiplus::RectF box(at.X, at.Y, static_cast<Gdiplus::REAL>(layer.bounds.right - layer.bounds.left),
                               static_cast<Gdiplus::REAL>(layer.bounds.bottom - layer.bounds.top));
      Gdiplus::SolidBrush brush{Gdiplus::Color(layer.colour)};
      g.DrawString(layer.text, layer.text.GetLength(), &font, box, &format, &brush);
      if (place.display && static_cast<int>(i) == m_selected) {
        Gdiplus::Pen frame(Gdiplus::Color(kSelectionFrame), 3.0f);
        g.DrawRectangle(&frame, box);
      }
    } else if (layer.count >= 2) {
      std::vector<Gdiplus::Point> points(static_cast<size_t>(std::min(layer.count, EDIT_LAYER::kMaxPoints)));
      for (size_t p = 0; p < points.size(); ++p) {
        points[p] = Gdiplus::Point(layer.points[p].x + place.strokeX, layer.points[p].y + place.strokeY);
      }
      Gdiplus::Pen pen(Gdiplus::Color(layer.colour), static_cast<Gdiplus::REAL>(layer.size));
      g.DrawCurve(&pen, points.data(), static_cast<INT>(points.size()));
    }
  }
}

void ImageView::DrawLayer(Gdiplus::Graphics& g, CRect origin, int display) {
  const LayerPlacement place = {static_cast<float>(-origin.left), static_cast<float>(-origin.top), 1.0f, 1.0f, 1.0f,
                                -origin.left, -origin.top, display != 0};
  DrawLayers(g, place);
}

void ImageView::DrawLayer2(Gdiplus::Graphics& g, CRect target, int display) {
  const CRect fitted = GetImageRect(target.Width(), target.Height(), m_rect);
  if (m_rect.Width() <= 0 || m_rect.Height() <= 0 || fitted.Width() <= 0) return;
  const float sx = static_cast<float>(target.Width()) / static_cast<float>(m_rect.Width());
  const float sy = static_cast<float>(target.Height()) / static_cast<float>(m_rect.Height());
  const LayerPlacement place = {target.left - m_rect.left * sx,
                                target.top - m_rect.top * sy,
                                sx,
                                sy,
                                static_cast<float>(target.Width()) / static_cast<float>(fitted.Width()),
                                target.left,
                                target.top,
                                display != 0};
  DrawLayers(g, place);
}

void ImageView::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width();
  const int h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_bCacheValid) {
    UpdateMemDC(dc, w, h);
    if (!m_hCacheDC) return;
    FillBlack(m_hCacheDC, w, h);
    Gdiplus::Graphics g(m_hCacheDC);
    g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    const CRect view(0, 0, w, h);
    if (m_previewMode) {
      CriticalSectionLock lock(m_frameLock);
      // The frame list may have shrunk below the preview's count: show what exists.
      if (m_previewFrame >= 0 && m_previewFrame < static_cast<int>(m_frames.size())) {
        const PREVIEW_FRAME& frame = *m_frames[static_cast<size_t>(m_previewFrame)];
        if (frame.image) {
          const CRect at = GetImageRect(frame.width, frame.height, view);
          g.DrawImage(frame.image, at.left, at.top, at.Width(), at.Height());
        }
      }
    } else {
      if (m_baseImage) {
        m_displayRect = GetImageRect(m_baseWidth, m_baseHeight, view);
        g.DrawImage(m_baseImage.get(), m_displayRect.left, m_displayRect.top, m_displayRect.Width(),
                    m_displayRect.Height());
      }
      DrawLayer(g, m_rect, 1);
    }
    if (m_grid) {
      Gdiplus::Pen grid(Gdiplus::Color(kGridColour), 1.0f);
      grid.SetDashStyle(Gdiplus::DashStyleDashDot);
      for (int x = 0; x < w; x += kGridStep) g.DrawLine(&grid, x, 0, x, h);
      for (int y = 0; y < h; y += kGridStep) g.DrawLine(&grid, 0, y, w, y);
    }
  }
  ::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_hCacheDC, 0, 0, SRCCOPY);
}

// ---- Mouse ----

int ImageView::OnControlMouseMove(UINT keys, CPoint pt) {
  if (m_previewMode) return 0;
  if (!m_rect.PtInRect(pt)) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    return 0;
  }
  if (!(keys & MK_LBUTTON)) return 0;
  const int dx = pt.x - m_lastPoint.x;
  const int dy = pt.y - m_lastPoint.y;
  {
    CriticalSectionLock lock(m_layerLock);
    EDIT_LAYER* layer = SelectedLayer();
    if (m_drawMode == kModeMoveText) {
      if (std::abs(dx) <= kMoveSlack && std::abs(dy) <= kMoveSlack) return 0;
      m_modified = 1;
      if (layer) {
        layer->x += dx;
        layer->y += dy;
        const int x = std::clamp(layer->x, static_cast<int>(m_rect.left), static_cast<int>(m_rect.right));
        // The height is kept inside only while the width needed no correction.
        if (x == layer->x) layer->y = std::clamp(layer->y, static_cast<int>(m_rect.top), static_cast<int>(m_rect.bottom));
        layer->x = x;
      }
    } else if (m_drawMode == kModePen || m_drawMode == kModeEraser) {
      if (std::abs(dx) <= kStrokeSlack && std::abs(dy) <= kStrokeSlack) return 0;
      if (layer) {
        m_modified = 1;
        if (layer->count < EDIT_LAYER::kMaxPoints) layer->points[layer->count++] = pt;
      }
    } else {
      return 0;
    }
  }
  Repaint();
  m_lastPoint = pt;
  return 0;
}

int ImageView::OnControlLButtonDown(UINT, CPoint pt) {
  if (m_previewMode) return 0;
  if (m_drawMode == kModeMoveText) {
    bool found = false;
    {
      CriticalSectionLock lock(m_layerLock);
      m_selected = -1;
      for (size_t i = 0; i < m_layers.size() && !found; ++i) {
        const EDIT_LAYER& layer = *m_layers[i];
        if (layer.type == EDIT_LAYER::kText && !layer.text.IsEmpty() && ::PtInRect(&layer.bounds, pt)) {
          m_selected = static_cast<int>(i);
          found = true;
        }
      }
    }
    if (found) {
      m_lastPoint = pt;
      Repaint();
    }
    return 1;
  }
  if (m_drawMode != kModePen && m_drawMode != kModeEraser) return 1;
  auto stroke = std::make_unique<EDIT_LAYER>();
  stroke->type = m_drawMode == kModePen ? EDIT_LAYER::kPen : EDIT_LAYER::kEraser;
  stroke->size = m_penSize;
  COLORREF colour = m_colour;
  if (m_drawMode == kModeEraser) {
    // The eraser paints in the colour the window shows under the pointer.
    HWND window = m_pManager ? m_pManager->GetPaintWnd() : nullptr;
    HDC windowDc = ::GetDC(window);
    const COLORREF seen = windowDc ? ::GetPixel(windowDc, pt.x, pt.y) : CLR_INVALID;
    if (windowDc) ::ReleaseDC(window, windowDc);
    colour = seen == CLR_INVALID ? 0 : seen;
  }
  stroke->colour = Opaque(colour);
  stroke->points[0] = pt;
  stroke->count = 1;
  {
    CriticalSectionLock lock(m_layerLock);
    m_layers.push_back(std::move(stroke));
    m_selected = static_cast<int>(m_layers.size()) - 1;
  }
  m_lastPoint = pt;
  Repaint();
  return 1;
}

int ImageView::OnControlLButtonUp(UINT, CPoint) {
  if (m_previewMode) return 0;
  Repaint();
  if (m_modified) {
    m_modified = 0;
    SaveCurrentImage();
  }
  return 0;
}

int ImageView::OnControlScroll(int, UINT direction, CPoint) {
  if (m_previewMode) return 0;
  bool resized = false;
  {
    CriticalSectionLock lock(m_layerLock);
    if (EDIT_LAYER* layer = SelectedLayer()) {
      layer->size = std::clamp(layer->size + (direction == 1 ? -kWheelStep : kWheelStep), kMinTextSize, kMaxTextSize);
      resized = true;
    }
  }
  if (resized) {
    m_modified = 0;
    SaveCurrentImage();
  }
  Repaint();
  return 1;
}

int ImageView::OnControlRButtonDown(UINT, CPoint) { return 0; }

int ImageView::OnControlRButtonUp(UINT, CPoint pt) {
  if (m_previewMode) return 0;
  if (m_rect.PtInRect(pt)) SendMessageW(NOTIFY_RCLICKED, 0, 0);
  return 0;
}

}  // namespace TESK
