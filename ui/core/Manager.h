// Manager: the library's process-wide settings, static members only (never instantiated):
// the program's instance, the default font of new controls, the device name, the theme
// and the named colours (ARGB, 0xAARRGGBB) of the look. The program sets the instance and
// the device name on the UI thread at start-up, before any window exists; afterwards the
// members are only read, so they carry no lock. The colours are exported as data.
// Also here: the folders the skin images are read from, and an optional GDI+ start-up and
// message loop for programs that want the library to run them.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class MWindow;

class TESK_API Manager {
public:
  Manager() = delete;

  static void SetInstance(HINSTANCE instance);
  static HINSTANCE GetInstance();

  // Only controls created afterwards take new font defaults.
  static void SetFont(CString name, int width);
  static void SetFontName(CString name);
  static CString GetFontName();
  static int GetFontWidth();

  static void SetDeviceName(CString name);
  static CString GetDeviceName();

  // The skin theme folder name, with its trailing backslash.
  static CString GetTheme();

  static void SetNormalColor(Gdiplus::Color color);
  static void SetHoverColor(Gdiplus::Color color);
  static void SetDownColor(Gdiplus::Color color);
  static Gdiplus::Color GetNormalColor();
  static Gdiplus::Color GetHoverColor();
  static Gdiplus::Color GetDownColor();
  static Gdiplus::Color GetSelectColor();

  // GDI+, COM and OLE start-up and shut-down; each empties the window registry.
  static void InitGdiplus();
  static void UnInitGdiplus();

  // The window registry: a window is kept once however often it is added.
  static void AddWnd(MWindow* window);
  static void DeleteWnd(MWindow* window);

  // 1 while Alt and F4 are both held down, whatever the message; else 0.
  static int PreTranslateMessage(MSG* msg);
  // Translates and dispatches this thread's messages until WM_QUIT, dropping those taken
  // while Alt and F4 are held.
  static void MessageLoop();

  static HINSTANCE m_hInstance;
  static CString m_fontname;
  static int m_fontwidth;
  static CString m_dev_name;
  static Gdiplus::GdiplusStartupInput m_gdiplusStartupInput;
  static ULONG_PTR m_gdiplusToken;

  static Gdiplus::ARGB m_window_bkcolor;
  static Gdiplus::ARGB m_left_bkcolor;
  static Gdiplus::ARGB m_right_bkcolor;
  static Gdiplus::ARGB m_bottom_bkcolor;
  static Gdiplus::ARGB m_top_bkcolor;
  static Gdiplus::ARGB m_hover_color;
  static Gdiplus::ARGB m_normal_color;
  static Gdiplus::ARGB m_down_color;
  static Gdiplus::ARGB m_select_color;
  static Gdiplus::ARGB m_keyboard_bordercolor;
  static Gdiplus::ARGB m_keyboard_bkcolor;
  static Gdiplus::ARGB m_key_frame_color;
  static Gdiplus::ARGB m_actuation_color;
  static Gdiplus::ARGB m_deadtop_color;
  static Gdiplus::ARGB m_deadbottom_color;
};

// A trace hook in printf style for diagnostic texts; it writes nothing.
TESK_API void M_Trace(const wchar_t* format, ...);

// The folder of the process's executable, ending in a backslash.
TESK_API CString GetProgramFolder();
// The same into a caller's buffer of MAX_PATH characters, which is returned; null for a
// null buffer. Paths longer than the buffer leave it empty.
TESK_API wchar_t* GetProgramFolder(wchar_t* buffer);
// GetProgramFolder() + "skins\" + the theme: every skin file name is relative to it.
TESK_API CString GetSkinFolder();

}  // namespace TESK
