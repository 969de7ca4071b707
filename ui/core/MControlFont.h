// MControlFont: the base of every control that shows a title or an image strip. It adds to
// MControl the title, the title's font (family name, pixel size, style bits) with a cached
// GDI font and a GDI+ family, alignment, the text colour with its brush, three state
// colours, the text rendering hint, and an image strip from the window engine's image cache
// (the strip belongs to the cache; the control only refers to it). New controls take
// Manager's font defaults at construction. UI thread only.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/core/CString.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MControl.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class FallbackFontFamily;
struct ImgResInfo;

class TESK_API MControlFont : public MControl {
public:
  MControlFont(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled, int response);
  ~MControlFont() override;
  MControlFont(const MControlFont&) = delete;
  MControlFont& operator=(const MControlFont&) = delete;

  // Virtual operations added after MControl's, in their fixed slot order.
  virtual void SetTextFont(CString name);
  virtual void SetTextColor(Gdiplus::Color color);
  virtual void SetStatusColor(Gdiplus::Color c1, Gdiplus::Color c2, Gdiplus::Color c3);
  virtual int SetImage(UINT id, CString type, int frames);
  virtual int SetImage(const wchar_t* file, int frames);
  virtual void SetControlTitle(const wchar_t* text);
  virtual CString GetControlTitle();

  // Title and alignment changes repaint (redraw 1) while visible, and only when they change.
  void SetTitle(const wchar_t* text);
  CString GetTitle() { return GetControlTitle(); }
  void SetAlignment(UINT h);
  void SetVAlignment(UINT v);
  void SetAlignment(UINT h, UINT v);
  void GetAlignment(UINT& h, UINT& v) const {
    h = m_nAlignment;
    v = m_nVAlignment;
  }

  // Plain stores: no cache is cleared, no repaint requested.
  void SetFont(const wchar_t* family, int size, Gdiplus::FontStyle style);
  void SetFontWidth(int size) { m_nFontWidth = size; }
  int GetFontWidth() const { return m_nFontWidth; }
  void SetFontStyle(Gdiplus::FontStyle style) { m_nFontStyle = style; }
  int GetFontStyle() const { return m_nFontStyle; }
  CString GetTextFont() const { return m_strFontName; }
  Gdiplus::ARGB GetTextColor() const { return m_textColor; }
  void SetTextRenderingHint(Gdiplus::TextRenderingHint hint) { m_textRenderingHint = hint; }
  Gdiplus::TextRenderingHint GetTextRenderingHint() const { return m_textRenderingHint; }
  void SetImageCount(int frames) { m_nFrameCount = frames; }
  CString GetImagePath() const { return m_strImagePath; }
  CSize GetImageSize() const { return CSize(m_nFrameWidth, m_nFrameHeight); }
  // The strip (the cache's) and its frame count.
  Gdiplus::Image* GetImage() const { return m_pImage; }
  int GetImageCount() const { return m_nFrameCount; }

  // A copy of the window's family of that name (private fonts first, then installed ones),
  // kept as the control's family; null without a manager or for an unknown name.
  Gdiplus::FontFamily* GetFontFamily(const wchar_t* name);
  // The GDI font of the library-wide face at the control's size and style (cached).
  HFONT GetGDIFont();
  void ClearGDIFont();

  // The title's font: the control's face (the fall-back face when its own is unknown, held by
  // fallback, which must outlive the font), pixel size and style.
  std::unique_ptr<Gdiplus::Font> CreateTitleFont(FallbackFontFamily& fallback);
  // Sets format's alignments from a control's horizontal (DT_CENTER, DT_RIGHT) and vertical
  // (DT_VCENTER, DT_BOTTOM) values; with neither bit the text is placed near.
  static void SetFormatAlignment(Gdiplus::StringFormat& format, UINT h, UINT v);
  // Draws text in the control's face (the generic sans-serif one when the face is unknown),
  // size, style and text colour into box, placed by the control's alignments, with those
  // string-format flags and that rendering hint.
  void DrawTitleText(Gdiplus::Graphics& g, const wchar_t* text, const Gdiplus::RectF& box, INT formatFlags,
                     Gdiplus::TextRenderingHint hint);
  // The same placed by h and v (values as the control's alignments) in colour.
  void DrawTitleText(Gdiplus::Graphics& g, const wchar_t* text, const Gdiplus::RectF& box, INT formatFlags,
                     Gdiplus::TextRenderingHint hint, UINT h, UINT v, Gdiplus::ARGB colour);

protected:
  // Applies a cache entry's strip with the control's own frame count.
  int TakeImage(ImgResInfo* info, int frames);
  // The same without the repaint; 0, and the strip unchanged, for a null entry.
  int StoreImage(ImgResInfo* info, int frames);
  // The strip from the engine's cache without a repaint, for controls whose SetImage does not
  // repaint; fewer than one frame counts as one. 0 without an engine or an image.
  int LoadImageQuietly(const wchar_t* file, int frames);
  int LoadImageQuietly(UINT id, CString type, int frames);
  // A skin file loaded as the control's own strip into own (not the engine's cache): frames
  // below 1 count as 1; 0 when it does not load (the strip is then none, the frame fields
  // keep their values). The control keeps own until its destructor, which must clear m_pImage
  // first when it points there.
  int LoadOwnImage(std::unique_ptr<Gdiplus::Image>& own, const wchar_t* file, int frames);
  void RepaintIfVisible();
  // The same for a request that may come from another thread (a tick, the worker): there the
  // engine queues it for the window's thread instead of the owner chain, whose panels take
  // their child locks.
  void RepaintIfVisibleFromAnyThread(int redraw = 1);
  // State faces: the cached surface becomes `cells` copies, side by side, of the window's
  // background under the control (false when it cannot be made); ShowCell copies one of
  // them to the control's place.
  bool PrepareCells(HDC& dc, int cells);
  void ShowCell(HDC& dc, int cell);

  CString m_strTitle;
  CString m_strFontName;
  CString m_strImagePath;
  int m_nFontWidth;
  Gdiplus::ARGB m_textColor;
  Gdiplus::ARGB m_statusColor1;
  Gdiplus::ARGB m_statusColor2;
  Gdiplus::ARGB m_statusColor3;
  Gdiplus::SolidBrush* m_pTextBrush;
  int m_nFontStyle;
  Gdiplus::FontFamily* m_pFontFamily;
  UINT m_nAlignment;
  UINT m_nVAlignment;
  Gdiplus::TextRenderingHint m_textRenderingHint;
  HFONT m_hGDIFont;
  Gdiplus::Image* m_pImage;
  int m_nFrameWidth;
  int m_nFrameHeight;
  int m_nFrameCount;
};

}  // namespace TESK
