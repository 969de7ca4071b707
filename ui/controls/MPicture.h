// MPicture: a skin image shown in one of six layouts (enumShowMode, PictureShow.h): at its
// own size placed by the control's alignments, tiled, stretched, as a nine-slice frame with
// one border or four margins, or a chosen part of it stretched. Only the strip's first frame
// is shown. The picture owns the image it loads (skin folder or program resource) and
// deletes it when replaced and at its end. Where the image is transparent, or missing, the
// window's surface below shows through. Created by the factories; UI thread only.
#pragma once

#include <windows.h>

#include "ui/controls/PictureShow.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API MPicture : public MControlFont {
public:
  MPicture(MObject* owner, UINT id, CRect rect, int visible, int enabled);
  ~MPicture() override;

  void DrawControl(HDC& dc, CRect dirty) override;
  // Both load an image of the control's own; the file form repaints whether or not it loaded,
  // the resource form only when it did.
  int SetImage(UINT id, CString type, int frames) override;
  int SetImage(const wchar_t* file, int frames) override;

  // 1 and a repaint when something changed; 0 for the current mode with nothing new.
  int SetShowMode(enumShowMode mode, int parameter);
  // Mode 4 with these margins; always 1.
  int SetShowModeMID(int left, int top, int right, int bottom);
  // The part of the image mode 5 shows; stored only.
  void SetCustomRect(CRect rect);
  enumShowMode GetShowMode() const { return m_show.mode; }

private:
  PictureShow m_show;
  RECT m_customRect;
};

}  // namespace TESK
