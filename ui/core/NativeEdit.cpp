#include "ui/core/NativeEdit.h"

#include "ui/core/MWindow.h"
#include "ui/core/PaintManager.h"

namespace TESK {

HFONT CreateStyledFont(const wchar_t* face, LONG height, int style) {
  LOGFONTW font = {};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
  lstrcpynW(font.lfFaceName, face ? face : L"", LF_FACESIZE);
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfHeight = height;
  if (style & 1) font.lfWeight += 700;
  if (style & 2) font.lfItalic = TRUE;
  if (style & 4) font.lfUnderline = TRUE;
  return CreateFontIndirectW(&font);
}

int IsLayeredEngine(PaintManager* manager) { return manager && manager->IsLayered() ? 1 : 0; }

DWORD PlaceEditWindow(PaintManager* manager, CRect& rect) {
  if (!IsLayeredEngine(manager)) return WS_CHILD;
  CRect window;
  manager->GetWindowRect(window);
  rect.OffsetRect(window.left, window.top);
  return WS_POPUP | WS_VISIBLE;
}

HWND CreateNativeEdit(MWindow& window, PaintManager* manager, CRect rect, DWORD extraStyle,
                      const NativeEditSetup& setup) {
  const DWORD style = PlaceEditWindow(manager, rect) | extraStyle | (setup.password ? ES_PASSWORD : 0);
  if (!window.Create(manager ? manager->GetPaintWnd() : nullptr, L"", style, 0, rect)) return nullptr;
  window.SendMessageW(WM_SETFONT, reinterpret_cast<WPARAM>(setup.font), TRUE);
  window.SendMessageW(EM_LIMITTEXT, static_cast<WPARAM>(setup.limit), 0);
  if (setup.password) window.SendMessageW(EM_SETPASSWORDCHAR, setup.passwordChar, 0);
  window.SetWindowTextW(setup.text ? setup.text : L"");
  window.SendMessageW(EM_SETMODIFY, FALSE, 0);
  window.SendMessageW(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  window.EnableWindow(setup.enabled == 1);
  window.SendMessageW(EM_SETREADONLY, setup.readOnly == 1, 0);
  // The system edit reads ES_NUMBER from its live style, so it can be added after creation.
  if (setup.numberOnly) window.ModifyStyle(0, ES_NUMBER, 0);
  window.ShowWindow(SW_SHOWNOACTIVATE);
  window.SetFocus();
  window.SendMessageW(EM_SETSEL, 0, -1);
  return window.GetSafeHwnd();
}

bool PassReflectedCommand(MWindow& window, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = window.MWindow::OnWindowMessage(kReflectedCommand, wParam, lParam);
  if (HIWORD(wParam) == EN_UPDATE) ::InvalidateRect(window.GetSafeHwnd(), nullptr, FALSE);
  return HIWORD(wParam) == EN_CHANGE;
}

LRESULT EditColorBrush::Answer(HDC dc, COLORREF background, COLORREF text) {
  if (background == kSystemEditColors) return 0;
  SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, text & 0xFFFFFF);
  if (!m_brush) m_brush.reset(CreateSolidBrush(background & 0xFFFFFF));
  return reinterpret_cast<LRESULT>(m_brush.get());
}

}  // namespace TESK
