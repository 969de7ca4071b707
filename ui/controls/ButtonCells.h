// ButtonCells: how the buttons draw their state cells. A button renders every look at once into
// its cached drawing, one cell of the control's size per state side by side (cell k at
// x = k * width), each cell starting as a copy of the window surface under the control so that
// images with alpha blend onto it; painting copies the cell of the current state. These are
// the steps the button classes share: preparing the cells, showing one, the nine-slice of a
// strip frame, the title in the control's font, and the icon strip a button owns. Window's
// thread only; drawing goes into the control's cache.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/core/CString.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/Geometry.h"

namespace TESK {

class MControl;
class MControlFont;

namespace ButtonCells {

// Text colour of the disabled cell, and the shift of the pressed cell's title.
constexpr Gdiplus::ARGB kDisabledText = 0xFF808080;
constexpr int kPressedShift = 1;

// Makes the cache cells x the control's size and fills every cell with the window surface
// under the control; false without a cache or for an empty control (nothing to render).
bool Prepare(MControl& control, HDC& dc, HDC& cache, int cells);
// Copies cell of the cache's cells to the control's place on dc (a cell out of range shows 0).
void Show(const MControl& control, HDC& dc, HDC cache, int cell, int cells);
// Cell k's rectangle in the cache.
CRect Cell(const MControl& control, int k);

// Frame frame of a strip of frameWidth x height, unscaled with its top-left corner at (x, y);
// nothing without an image.
void DrawFrameAt(Gdiplus::Graphics& g, Gdiplus::Image* strip, int frameWidth, int height, int frame, int x, int y);

// Frame frame of the control's strip (its last frame past the end), unscaled at (x, y).
void DrawStripFrameAt(Gdiplus::Graphics& g, const MControlFont& control, int frame, int x, int y);
// Cell k of a radio-like look: strip frame k at the cell's left, vertically centred, and the
// measured title after it, placed by the control's alignments; the text colour, or grey.
void DrawRadioCell(Gdiplus::Graphics& g, MControlFont& control, Gdiplus::Font* font, int k, bool grey);

// Frame frame of the control's strip, nine-sliced into box with unscaled corners of corner
// pixels. A frame past the strip's end takes its last frame; nothing without a strip.
void DrawStripFrame(Gdiplus::Graphics& g, const MControlFont& control, int frame, const CRect& box, int corner);

// The control's title font: the family of its font name at its pixel size (or at size, when
// given) and its style bits; null when the family is unknown, and no text is then drawn.
std::unique_ptr<Gdiplus::Font> TitleFont(MControlFont& control, float size = 0);
// The title format: the flags NoWrap and MeasureTrailingSpaces with the given alignments.
void SetTitleFormat(Gdiplus::StringFormat& format, Gdiplus::StringAlignment horizontal,
                    Gdiplus::StringAlignment vertical);
// Draws text with font into box in colour, transparent, in the title format, with the
// graphics' rendering hint. Nothing for a null font or an empty text.
void DrawText(Gdiplus::Graphics& g, const Gdiplus::Font* font, const CString& text, const CRect& box,
              Gdiplus::ARGB colour, Gdiplus::StringAlignment horizontal = Gdiplus::StringAlignmentCenter,
              Gdiplus::StringAlignment vertical = Gdiplus::StringAlignmentCenter);
// The same with the control's rendering hint.
void DrawTitle(Gdiplus::Graphics& g, const MControlFont& control, const Gdiplus::Font* font, const CString& text,
               const CRect& box, Gdiplus::ARGB colour,
               Gdiplus::StringAlignment horizontal = Gdiplus::StringAlignmentCenter,
               Gdiplus::StringAlignment vertical = Gdiplus::StringAlignmentCenter);
// The size of text in font, measured in the title format with near alignment.
Gdiplus::Size MeasureTitle(Gdiplus::Font& font, const CString& text);
// The plain button's title in cell k: centred in the cell, or in textRect (cell-relative)
// moved to the cell when it is not empty; the text colour in cells 0 to 2, grey in cell 3, and
// the pressed shift in cell 2.
void DrawCellTitle(Gdiplus::Graphics& g, const MControlFont& control, const Gdiplus::Font* font, const CString& text,
                   int k, const CRect& textRect);

// Cell k of the plain look: strip frame k nine-sliced with corner, then the cell's title.
void DrawPlainCell(Gdiplus::Graphics& g, const MControlFont& control, const Gdiplus::Font* font, const CString& text,
                   int k, int corner, const CRect& textRect);

// A strip (an icon, a switch's side) that a button loads from the skin folder and owns.
class OwnedStrip {
public:
  OwnedStrip() = default;
  ~OwnedStrip();
  OwnedStrip(const OwnedStrip&) = delete;
  OwnedStrip& operator=(const OwnedStrip&) = delete;
  // 1 when the file loaded; 0, and no icon, when it did not. Fewer than one frame counts as one.
  int Load(const wchar_t* file, int frames);
  Gdiplus::Image* Image() const { return m_image; }
  int FrameWidth() const { return m_frameWidth; }
  int Height() const { return m_height; }
  int Frames() const { return m_frames; }

private:
  Gdiplus::Image* m_image = nullptr;
  int m_frameWidth = 0;
  int m_height = 0;
  int m_frames = 4;
};

}  // namespace ButtonCells

}  // namespace TESK
