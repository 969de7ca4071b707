#include "ui/core/MenuExWnd.h"

#include "ui/keyboard/KeyMenuFuncType.h"

namespace TESK {

namespace {

constexpr COLORREF kBackColour = 0x231A16;
constexpr DWORD kMenuStyle = 0x80B;
constexpr int kBackBorder = 10;
constexpr int kListInset = 10;

}  // namespace

MenuExWnd::MenuExWnd(MObject* parent) : PopupMenuBase(parent), m_pList(nullptr) {}

int MenuExWnd::Create(HWND owner, CRect rect, UINT notifyMessage, CString backFile) {
  m_notifyMessage = notifyMessage;
  m_hOwner = owner;
  LoadBKImage(backFile);
  SetBackMode(BACK_MODE_IMAGE, kBackBorder);
  SetLayeredWindow(1);
  const bool created = MWindow::Create(owner, L"Menu Window", kMenuStyle, 0, rect) != nullptr;
  const CRect listRect(kListInset, kListInset, rect.Width() - kListInset, rect.Height() - kListInset);
  m_pList = dynamic_cast<KeyMenuFuncType*>(CreateControl(L"KeyMenuFuncType", kListId, listRect, L"", 1, 1));
  if (m_pList) m_pList->SetFont(L"SourceHanSansCN-Bold", 18, Gdiplus::FontStyleBold);
  m_paintManager.SetBackColor(kBackColour, kBackColour);
  return created ? 1 : 0;
}

void MenuExWnd::AddItem(CString text, CString secondText, int data, CString icon) {
  if (m_pList) m_pList->AddItem(text, secondText, data, icon);
}

KeyMenuWnd::KeyMenuWnd(MObject* parent) : MenuExWnd(parent) {}

}  // namespace TESK
