// PaintManager: focus and the window's tooltip.
#include <windows.h>

#include <commctrl.h>

#include "ui/core/MControl.h"
#include "ui/core/PaintManager.h"
#include "ui/core/TeskModule.h"

namespace TESK {

namespace {

constexpr UINT_PTR kTooltipToolId = 0x521;
constexpr int kTooltipMaxWidth = 256;
constexpr COLORREF kTooltipBackground = 0xF5F5F5;
constexpr UINT kSimplifiedChineseCodePage = 936;

// The tool record in the size every common-controls version accepts.
TOOLINFOW ToolInfo(HWND window, UINT flags, const wchar_t* text) {
  TOOLINFOW info = {};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.uFlags = flags;
  info.hwnd = window;
  info.uId = kTooltipToolId;
  info.lpszText = const_cast<wchar_t*>(text);
  return info;
}

}  // namespace

void PaintManager::SetFocusControl(MControl* control) {
  if (control == m_pFocus) return;
  if (m_pFocus) m_pFocus->SetControlFocus(0);
  if (control) control->SetControlFocus(1);
  m_pFocus = control;
}

void PaintManager::SetTooltip(const wchar_t* text, CRect) {
  if (!text || !*text) {
    if (m_hTooltip) {
      TOOLINFOW info = ToolInfo(m_hWnd, TTF_PARSELINKS, L"");
      ::SendMessageW(m_hTooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
      ::SendMessageW(m_hTooltip, TTM_ACTIVATE, FALSE, 0);
    }
    return;
  }
  if (!m_hTooltip) {
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    m_hTooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, TOOLTIPS_CLASSW,
                                 WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, m_hWnd, nullptr, GetLibraryModule(), nullptr);
    if (!m_hTooltip) return;
    ::SendMessageW(m_hTooltip, TTM_SETMAXTIPWIDTH, 0, kTooltipMaxWidth);
    ::SendMessageW(m_hTooltip, TTM_SETTIPBKCOLOR, kTooltipBackground, 0);
    TOOLINFOW info = ToolInfo(m_hWnd, TTF_PARSELINKS, text);
    if (m_hWnd) ::GetClientRect(m_hWnd, &info.rect);
    ::SendMessageW(m_hTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    ::SendMessageW(m_hTooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    if (GetACP() == kSimplifiedChineseCodePage) {
      RECT margins = {2, 3, 0, 0};
      ::SendMessageW(m_hTooltip, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margins));
    }
  } else {
    TOOLINFOW info = ToolInfo(m_hWnd, TTF_TRACK | TTF_ABSOLUTE | TTF_PARSELINKS, text);
    ::SendMessageW(m_hTooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  }
  ::SendMessageW(m_hTooltip, TTM_ACTIVATE, TRUE, 0);
}

void PaintManager::ClearTooltip() {
  if (!m_hTooltip) return;
  TOOLINFOW info = ToolInfo(m_hWnd, TTF_PARSELINKS, L"");
  ::SendMessageW(m_hTooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  ::SendMessageW(m_hTooltip, TTM_ACTIVATE, FALSE, 0);
  m_tooltipCtrlId = 0;
}

}  // namespace TESK
