// What the library's in-place edit windows share (CEditWindow over list rows, the edit
// field's CEditWnd): a superclass of the system "Edit" placed over a drawn control's text
// area, prepared the same way, answering the reflected colour messages with a brush it owns.
// Plain functions and one small owner; UI thread only.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/GdiHandles.h"
#include "ui/core/Geometry.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class MWindow;
class PaintManager;

// The window class both edit windows register; whichever registers first serves both.
constexpr const wchar_t kEditWindowClass[] = L"FSEditWindow";
constexpr const wchar_t kEditSuperClass[] = L"Edit";
// The reflected messages (the engine sends a child's WM_COMMAND and colour messages back to
// it at this offset).
constexpr UINT kReflectedCommand = WM_COMMAND + 0x2000;
constexpr UINT kReflectedColorEdit = WM_CTLCOLOREDIT + 0x2000;
constexpr UINT kReflectedColorStatic = WM_CTLCOLORSTATIC + 0x2000;
// A background of this value leaves the system's edit colours alone.
constexpr COLORREF kSystemEditColors = 0xFFFFFFFF;

// A GDI font of the stock GUI font's metrics with face (at most 31 characters, so the name
// keeps its terminator), the default character set, height as LOGFONTW reads it, and the
// style bits 1 bold, 2 italic, 4 underline. The caller owns it.
TESK_API HFONT CreateStyledFont(const wchar_t* face, LONG height, int style);

// 1 when the engine paints its window with per-pixel alpha (a layered window hosts no child
// windows). With such an engine rect moves to screen coordinates and the edit is a visible
// popup; otherwise it is a child. Returns the style for that.
TESK_API int IsLayeredEngine(PaintManager* manager);
TESK_API DWORD PlaceEditWindow(PaintManager* manager, CRect& rect);

// How a created edit window is prepared, in this order: font, limit, password character,
// text, unmodified, no margins, enabled, read-only, digits only; then shown without
// activation, given the keyboard focus and all its text selected.
struct NativeEditSetup {
  HFONT font;
  int limit;
  int password;
  wchar_t passwordChar;
  const wchar_t* text;
  int enabled;
  int readOnly;
  int numberOnly;
};

// Creates window over rect as a child (or layered popup) of the engine's window with the
// extra style bits and prepares it; null when the window could not be made.
TESK_API HWND CreateNativeEdit(MWindow& window, PaintManager* manager, CRect rect, DWORD extraStyle,
                               const NativeEditSetup& setup);

// Passes a reflected WM_COMMAND of the edit on to the system edit (result) and repaints the
// edit on EN_UPDATE; true for EN_CHANGE, whose handling the caller does last (its report
// may end the window and its object).
TESK_API bool PassReflectedCommand(MWindow& window, WPARAM wParam, LPARAM lParam, LRESULT& result);

// The answer to a reflected WM_CTLCOLOREDIT / WM_CTLCOLORSTATIC: 0 for kSystemEditColors,
// else a transparent background, the text colour (low 24 bits) and the solid brush of the
// background, made once and owned here.
class TESK_API EditColorBrush {
public:
  LRESULT Answer(HDC dc, COLORREF background, COLORREF text);
  void Reset() { m_brush.reset(); }

private:
  ScopedGdiObject<HBRUSH> m_brush;
};

}  // namespace TESK
