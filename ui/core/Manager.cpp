#include "ui/core/Manager.h"

#include <set>

namespace TESK {

HINSTANCE Manager::m_hInstance = nullptr;
CString Manager::m_fontname = L"SourceHanSansCN-Regular";
int Manager::m_fontwidth = 14;
CString Manager::m_dev_name = L"Device Driver";
Gdiplus::GdiplusStartupInput Manager::m_gdiplusStartupInput;
ULONG_PTR Manager::m_gdiplusToken = 0;

Gdiplus::ARGB Manager::m_window_bkcolor = 0xFF1A191A;
Gdiplus::ARGB Manager::m_left_bkcolor = 0xFF24252A;
Gdiplus::ARGB Manager::m_right_bkcolor = 0xFF24252A;
Gdiplus::ARGB Manager::m_bottom_bkcolor = 0xFF24252A;
Gdiplus::ARGB Manager::m_top_bkcolor = 0xFF24252A;
Gdiplus::ARGB Manager::m_hover_color = 0xFF191919;
Gdiplus::ARGB Manager::m_normal_color = 0xFF191919;
Gdiplus::ARGB Manager::m_down_color = 0xFF191919;
Gdiplus::ARGB Manager::m_select_color = 0xFF191919;
Gdiplus::ARGB Manager::m_keyboard_bordercolor = 0xFFFFA55A;
Gdiplus::ARGB Manager::m_keyboard_bkcolor = 0x32FFEAA7;
Gdiplus::ARGB Manager::m_key_frame_color = 0xFF708069;
Gdiplus::ARGB Manager::m_actuation_color = 0xFF0ABDE3;
Gdiplus::ARGB Manager::m_deadtop_color = 0xFF55EFC4;
Gdiplus::ARGB Manager::m_deadbottom_color = 0xFF8E44AD;

namespace {

std::set<MWindow*>& WindowRegistry() {
  static std::set<MWindow*> registry;
  return registry;
}

bool AltF4Down() { return GetAsyncKeyState(VK_MENU) != 0 && GetAsyncKeyState(VK_F4) != 0; }

}  // namespace

void Manager::SetInstance(HINSTANCE instance) { m_hInstance = instance; }
HINSTANCE Manager::GetInstance() { return m_hInstance; }

void Manager::SetFont(CString name, int width) {
  m_fontname = name;
  m_fontwidth = width;
}
void Manager::SetFontName(CString name) { m_fontname = name; }
CString Manager::GetFontName() { return m_fontname; }
int Manager::GetFontWidth() { return m_fontwidth; }

void Manager::SetDeviceName(CString name) { m_dev_name = name; }
CString Manager::GetDeviceName() { return m_dev_name; }

CString Manager::GetTheme() { return L"theme1\\"; }

void Manager::SetNormalColor(Gdiplus::Color color) { m_normal_color = color.GetValue(); }
void Manager::SetHoverColor(Gdiplus::Color color) { m_hover_color = color.GetValue(); }
void Manager::SetDownColor(Gdiplus::Color color) { m_down_color = color.GetValue(); }
Gdiplus::Color Manager::GetNormalColor() { return Gdiplus::Color(m_normal_color); }
Gdiplus::Color Manager::GetHoverColor() { return Gdiplus::Color(m_hover_color); }
Gdiplus::Color Manager::GetDownColor() { return Gdiplus::Color(m_down_color); }
Gdiplus::Color Manager::GetSelectColor() { return Gdiplus::Color(m_select_color); }

void Manager::InitGdiplus() {
  Gdiplus::GdiplusStartup(&m_gdiplusToken, &m_gdiplusStartupInput, nullptr);
  CoInitialize(nullptr);
  OleInitialize(nullptr);
  WindowRegistry().clear();
}

void Manager::UnInitGdiplus() {
  Gdiplus::GdiplusShutdown(m_gdiplusToken);
  m_gdiplusToken = 0;
  CoUninitialize();
  OleUninitialize();
  WindowRegistry().clear();
}

void Manager::AddWnd(MWindow* window) { WindowRegistry().insert(window); }
void Manager::DeleteWnd(MWindow* window) { WindowRegistry().erase(window); }

int Manager::PreTranslateMessage(MSG*) { return AltF4Down() ? 1 : 0; }

void Manager::MessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (PreTranslateMessage(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void M_Trace(const wchar_t*, ...) {}

wchar_t* GetProgramFolder(wchar_t* buffer) {
  if (!buffer) return nullptr;
  const CString folder = GetProgramFolder();
  if (folder.GetLength() >= MAX_PATH) {
    buffer[0] = L'\0';
  } else {
    lstrcpynW(buffer, folder, MAX_PATH);
  }
  return buffer;
}

CString GetProgramFolder() {
  // The buffer grows until the whole path fits, so long installation paths work too.
  CString path;
  for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
    const DWORD length = GetModuleFileNameW(nullptr, path.GetBuffer(static_cast<int>(size)), size);
    if (length == 0) {
      path.ReleaseBuffer(0);
      return CString();
    }
    if (length < size) {
      path.ReleaseBuffer(static_cast<int>(length));
      break;
    }
    path.ReleaseBuffer(0);
  }
  const int slash = path.ReverseFind(L'\\');
  return slash >= 0 ? path.Left(slash + 1) : CString();
}

CString GetSkinFolder() { return GetProgramFolder() + L"skins\\" + Manager::GetTheme(); }

}  // namespace TESK
