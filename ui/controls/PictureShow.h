// PictureShow: how the picture controls (MPicture, CPhotoFrame, CSliderPicture) fill their
// rectangle with the first frame of an image strip, and the loading of the strips those
// controls own. A control embeds one PictureShow with its mode, the mode's border and the
// four margins of mode 4; drawing happens on the window's thread into the control's cache.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/Geometry.h"
#include "ui/core/MControl.h"

namespace TESK {

// How a picture fills its control (w x h) with a frame of fw x fh.
enum enumShowMode {
  SHOW_MODE_NORMAL = 0,     // own size, placed by the control's alignments
  SHOW_MODE_TILE = 1,       // repeated from the top-left corner, the last row and column cut off
  SHOW_MODE_STRETCH = 2,    // scaled to the control
  SHOW_MODE_FRAME = 3,      // nine-slice with one border width (the mode's parameter)
  SHOW_MODE_FRAME_MID = 4,  // nine-slice with four margins
  SHOW_MODE_CUSTOM = 5,     // a chosen part of the image scaled to the control (MPicture only)
};

struct PictureShow {
  enumShowMode mode = SHOW_MODE_NORMAL;
  int parameter = 4;
  int left = 0, top = 0, right = 0, bottom = 0;  // margins of mode 4

  // Stores mode and parameter and asks control's owner to re-render it when it is visible;
  // returns 1. Returns 0, with nothing stored, when the mode is the current one and only
  // mode 3 could change (its border).
  int Set(MControl& control, enumShowMode newMode, int newParameter);
  // Mode 4 with these margins, and the repaint; always 1.
  int SetMargins(MControl& control, int l, int t, int r, int b);

  // Draws the frame of fw x fh at (srcX, 0) of image into (x, y, w, h) by modes 0 to 4;
  // hAlign 2 right, 0 left, otherwise centred; vAlign 8 bottom, 0 top, otherwise centred.
  void Draw(Gdiplus::Graphics& g, Gdiplus::Image* image, int x, int y, int w, int h, int srcX, int fw, int fh,
            UINT hAlign, UINT vAlign) const;

  // Makes control's cached drawing cacheWidth x the control's height and copies the window
  // surface under the control into its first cell, so that transparent parts of what is
  // drawn over it show the window. cache is the control's cache DC; false without one.
  static bool CopySurfaceBelow(MControl& control, HDC& dc, HDC& cache, int cacheWidth);

  // A strip the control owns: the file from the skin folder, or a resource of the program
  // module; null when it does not load.
  static Gdiplus::Image* LoadSkin(const wchar_t* file);
  static Gdiplus::Image* LoadResource(UINT id, CString type);
  // Replaces the owned image with loaded (deleting the old one) and records its frame size
  // and, when frameCount is given, the frames; returns 1 for an image, 0 for null (the
  // control is then without one). Fewer than one frame is refused: loaded is deleted and
  // the old image kept.
  static int Replace(Gdiplus::Image*& image, int& frameWidth, int& frameHeight, int* frameCount, Gdiplus::Image* loaded,
                     int frames);
};

}  // namespace TESK
