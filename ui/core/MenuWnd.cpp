#include "ui/core/MenuWnd.h"

#include <vector>

#include "ui/core/MRender.h"
#include "ui/core/MenuItem.h"

namespace TESK {

namespace {

constexpr COLORREF kBackColour = 0x897368;
constexpr DWORD kMenuStyle = 0x80B;
constexpr INT kMeasureFormat = Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces;
// The space an entry's text leaves to the menu's right edge.
constexpr int kTextRightGap = 4;
constexpr int kSeparatorHeight = 4;
constexpr int kItemInset = 5;

int MarginOr2(int margin) { return margin == 0 ? 2 : margin; }

}  // namespace

MenuWnd::MenuWnd(MObject* parent)
    : PopupMenuBase(parent),
      m_strFontName(L"SourceHanSansCN-Regular"),
      m_nFontSize(12),
      m_nFontStyle(0),
      m_nTextIndent(5),
      m_nItemHeight(30),
      m_nWidth(300),
      m_nTopMargin(12),
      m_nBottomMargin(6) {
  m_colorKey = 0xFFFFFF;
  m_paintManager.SetBackColor(kBackColour, kBackColour);
}

// ---- Creation ----

int MenuWnd::CreateMenuWindow(HWND owner, CPoint point, UINT notifyMessage, int width) {
  m_notifyMessage = notifyMessage;
  m_hOwner = owner;
  m_nWidth = width;
  const CRect rect(point.x, point.y, point.x + width, point.y + width);
  return MWindow::Create(owner, L"Menu Window", kMenuStyle, 0, rect) ? 1 : 0;
}

int MenuWnd::Create(HWND owner, CPoint point, UINT notifyMessage, CString backFile, int border, int width,
                    enumBackMode mode) {
  LoadBKImage(backFile);
  SetBackMode(mode, border);
  return CreateMenuWindow(owner, point, notifyMessage, width);
}

int MenuWnd::Create(HWND owner, CPoint point, UINT notifyMessage, UINT backResource, int border, int width,
                    enumBackMode mode) {
  LoadBKImage(backResource, L"PNG");
  SetBackMode(mode, border);
  return CreateMenuWindow(owner, point, notifyMessage, width);
}

int MenuWnd::Create(HWND owner, CPoint point, UINT notifyMessage) {
  return CreateMenuWindow(owner, point, notifyMessage, m_nWidth);
}

void MenuWnd::SetMenuFont(CString family, int size, int style) {
  m_strFontName = family;
  m_nFontSize = size;
  m_nFontStyle = style;
}

// ---- Entries ----

MenuItem* MenuWnd::AddEntry(const CString& text, UINT id) {
  FallbackFontFamily fallback;
  Gdiplus::Font font(fallback.Or(m_paintManager.FindTempFont(m_strFontName)), static_cast<Gdiplus::REAL>(m_nFontSize),
                     m_nFontStyle, Gdiplus::UnitPixel);
  Gdiplus::StringFormat format(kMeasureFormat);
  format.SetAlignment(Gdiplus::StringAlignmentNear);
  const int textWidth = MRender::GetTextBounds(font, format, text).Width;
  if (m_nWidth - m_nTextIndent - kTextRightGap < textWidth) m_nWidth = textWidth + m_nTextIndent + kTextRightGap;
  auto* item = dynamic_cast<MenuItem*>(CreateControl(L"MenuItem", id, CRect(), text, 1, 1));
  if (item) item->SetFont(m_strFontName, m_nFontSize, static_cast<Gdiplus::FontStyle>(m_nFontStyle));
  return item;
}

int MenuWnd::AddMenu(CString text, UINT id, CString iconFile, int, int) {
  MenuItem* item = AddEntry(text, id);
  if (item && !iconFile.IsEmpty()) item->SetImage(iconFile, 4);
  SetMenuPoint();
  return -1;
}

int MenuWnd::AddMenu(CString text, UINT id, int iconResource, int, int) {
  MenuItem* item = AddEntry(text, id);
  if (item && iconResource != -1) item->SetImage(static_cast<UINT>(iconResource), L"PNG", 4);
  SetMenuPoint();
  return -1;
}

int MenuWnd::AddSeparator(UINT id, CString iconFile) {
  auto* item = dynamic_cast<MenuItem*>(CreateControl(L"MenuItem", id, CRect(), L"", 1, 1));
  if (item) {
    item->SetSeparator(1);
    if (!iconFile.IsEmpty()) item->SetImage(iconFile, 1);
  }
  SetMenuPoint();
  return -1;
}

void MenuWnd::SetMenuPoint() {
  const std::vector<MControl*> controls = *m_paintManager.GetControls();
  if (controls.empty()) return;
  int y = MarginOr2(m_nTopMargin);
  for (MControl* control : controls) {
    if (!control) continue;
    if (auto* item = dynamic_cast<MenuItem*>(control)) {
      CRect rect;
      if (!item->IsVisible()) {
        rect = CRect(0, 0, 0, 0);
      } else if (item->IsSeparator()) {
        rect = CRect(m_nTextIndent + 1, y + 1, m_nWidth - kItemInset, y + 2);
        y += kSeparatorHeight;
      } else {
        rect = CRect(kItemInset, y, m_nWidth - kItemInset, y + m_nItemHeight);
        y += m_nItemHeight;
        item->SetTextIndent(m_nTextIndent);
      }
      item->SetRect(rect);
    } else if (control->GetControlID() == 0xFFFFFFFF) {
      // Another control with the id -1 is a divider line.
      control->SetRect(CRect(m_nTextIndent + 4, y + 1, m_nWidth - 10, y + 2));
      y += kSeparatorHeight;
    }
  }
  if (!IsLive()) return;
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, m_nWidth, y + MarginOr2(m_nBottomMargin),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CRect client;
  ::GetClientRect(m_hWnd, &client);
  ::InvalidateRect(m_hWnd, &client, FALSE);
}

}  // namespace TESK
