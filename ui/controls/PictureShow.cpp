#include "ui/controls/PictureShow.h"

#include "ui/core/Manager.h"
#include "ui/core/MObject.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace {

void Rerender(MControl& control) {
  MObject* owner = control.GetParantObject();
  if (control.IsVisible() && owner) owner->OnControlUpdate(control.GetRect(), 1, &control);
}

}  // namespace

int PictureShow::Set(MControl& control, enumShowMode newMode, int newParameter) {
  if (newMode == mode && (mode != SHOW_MODE_FRAME || newParameter == parameter)) return 0;
  mode = newMode;
  parameter = newParameter;
  Rerender(control);
  return 1;
}

int PictureShow::SetMargins(MControl& control, int l, int t, int r, int b) {
  left = l;
  top = t;
  right = r;
  bottom = b;
  mode = SHOW_MODE_FRAME_MID;
  Rerender(control);
  return 1;
}

bool PictureShow::CopySurfaceBelow(MControl& control, HDC& dc, HDC& cache, int cacheWidth) {
  const CRect rect = control.GetRect();
  control.UpdateMemDC(dc, cacheWidth, rect.Height());
  if (!cache) return false;
  ::BitBlt(cache, 0, 0, rect.Width(), rect.Height(), dc, rect.left, rect.top, SRCCOPY);
  return true;
}

void PictureShow::Draw(Gdiplus::Graphics& g, Gdiplus::Image* image, int x, int y, int w, int h, int srcX, int fw,
                       int fh, UINT hAlign, UINT vAlign) const {
  if (!image || fw <= 0 || fh <= 0 || w <= 0 || h <= 0) return;
  const CRect box(x, y, x + w, y + h);
  switch (mode) {
    case SHOW_MODE_NORMAL: {
      const int px = hAlign == 0 ? 0 : hAlign == 2 ? w - fw : (w - fw) / 2;
      const int py = vAlign == 0 ? 0 : vAlign == 8 ? h - fh : (h - fh) / 2;
      g.DrawImage(image, Gdiplus::Rect(x + px, y + py, fw, fh), srcX, 0, fw, fh, Gdiplus::UnitPixel);
      break;
    }
    case SHOW_MODE_TILE:
      // Whole frames from the top-left corner; the last column and row keep only the part
      // that fits, unscaled.
      for (int r = 0; r <= h / fh; ++r) {
        const int th = std::min(fh, h - r * fh);
        for (int c = 0; c <= w / fw && th > 0; ++c) {
          const int tw = std::min(fw, w - c * fw);
          if (tw <= 0) continue;
          g.DrawImage(image, Gdiplus::Rect(x + c * fw, y + r * fh, tw, th), srcX, 0, tw, th, Gdiplus::UnitPixel);
        }
      }
      break;
    case SHOW_MODE_STRETCH:
      g.DrawImage(image, Gdiplus::Rect(x, y, w, h), srcX, 0, fw, fh, Gdiplus::UnitPixel);
      break;
    case SHOW_MODE_FRAME:
      MRender::DrawImageFrame(g, image, box, srcX, 0, fw, fh, parameter);
      break;
    case SHOW_MODE_FRAME_MID:
      MRender::DrawImageFrameMID(g, image, box, srcX, 0, fw, fh, left, top, right, bottom);
      break;
    default:
      break;
  }
}

Gdiplus::Image* PictureShow::LoadSkin(const wchar_t* file) {
  return file ? MRender::LoadImageFromFile(GetSkinFolder() + file) : nullptr;
}

Gdiplus::Image* PictureShow::LoadResource(UINT id, CString type) {
  Gdiplus::Image* image = MRender::LoadImageFromIDResource(id, type, Manager::GetInstance());
  // Resource data that is not an image still gives an image object, one that failed.
  if (image && image->GetLastStatus() != Gdiplus::Ok) {
    delete image;
    image = nullptr;
  }
  return image;
}

int PictureShow::Replace(Gdiplus::Image*& image, int& frameWidth, int& frameHeight, int* frameCount,
                         Gdiplus::Image* loaded, int frames) {
  // A strip of no frames has no frame width: refused, the old image stays.
  if (frames < 1) {
    delete loaded;
    return 0;
  }
  delete image;
  image = loaded;
  if (!loaded) return 0;
  frameWidth = static_cast<int>(loaded->GetWidth()) / frames;
  frameHeight = static_cast<int>(loaded->GetHeight());
  if (frameCount) *frameCount = frames;
  return 1;
}

}  // namespace TESK
