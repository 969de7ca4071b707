// MPalette: a self-drawn HSL colour picker. A field of hue (across, 0..359) by lightness
// (down, 20..199 of 200) at full saturation, and beside it a saturation bar for the current
// hue and lightness with a thumb image. The colour is held as hue 0..360, saturation 0..200
// and lightness 0..200 and converted to a COLORREF on demand in single precision; the
// truncations of that arithmetic decide which colours round-trip. A press reports
// (id, NOTIFY_COLORCHANGED, colour, 0) when the colour changed; a field drag reports nothing;
// a bar drag reports (id, NOTIFY_COLORCHANGED, 0, 0) on every move.
//
// Owns its pixel bitmap (field and bar, drawn from the conversions), its memory DC, the
// pixel buffer and the thumb image. Created by the factories; UI thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/core/GdiHandles.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API MPalette : public MControlFont {
public:
  MPalette(MObject* owner, UINT id, CRect rect, int visible);
  ~MPalette() override;

  // Overrides in their base slot order.
  void InitControl(PaintManager* manager) override;
  void DrawControl(HDC& dc, CRect dirty) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void SetControlRect(CRect rect) override;
  void SetControlEnabled(int enabled) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlScroll(int rows, UINT direction, CPoint pt) override;

  // The held colour as a COLORREF.
  COLORREF GetSelectColor() const;
  // Takes c apart into hue, saturation and lightness and places the ring; no notification.
  void SetSelectColor(COLORREF colour);
  // The thumb from the skin folder (a strip of four frames); 0 always. A file that does not
  // load leaves the palette without a thumb.
  int SetThumbImage(const wchar_t* file);
  // Stored; the field and bar follow at the next SetControlRect.
  void SetPalletHeight(int height);
  int GetPalletHeight() const { return m_nPalletHeight; }

protected:
  int m_nHue;
  int m_nSaturation;
  int m_nLightness;

private:
  // The field and bar pixels from the conversions, written back into the bitmap.
  void UpdatePaletteData();
  void UpdateBarData();
  void PutPixel(int row, int column, COLORREF colour);
  void StorePixels();
  void PlaceCursor();
  // Hue and lightness at pt (in the field), saturation at y (in the bar).
  void TakeFieldPoint(CPoint pt);
  void TakeBarPoint(int y);
  // Presses and moves divide by these.
  bool HasArea() const { return m_rcField.Width() > 0 && m_nPalletHeight > 0; }

  std::unique_ptr<ScopedGdiObject<HBITMAP>> m_pixelBitmap;
  std::unique_ptr<ScopedMemoryDC> m_pixelDC;
  HGDIOBJ m_oldPixelBitmap;
  BITMAP m_bitmapInfo;
  std::vector<BYTE> m_pixels;
  std::unique_ptr<Gdiplus::Image> m_thumb;
  int m_nThumbWidth;
  int m_nThumbHeight;
  COLORREF m_selectColor;
  int m_nPalletHeight;
  int m_nBarWidth;
  CPoint m_cursor;
  CRect m_rcField;
  CRect m_rcBar;
  CRect m_rcThumb;
  int m_bBarDrag;
  int m_bFieldDrag;
};

}  // namespace TESK
