#include "ui/core/CComboBoxWnd.h"

#include "ui/controls/CComboBoxList.h"

namespace TESK {

namespace {

constexpr COLORREF kBackColour = 0x897368;
constexpr int kListInset = 2;
constexpr int kBackBorder = 6;

}  // namespace

CComboBoxWnd::CComboBoxWnd() : m_pList(nullptr) { m_paintManager.SetBackColor(kBackColour, kBackColour); }

void CComboBoxWnd::InitUI(CRect client) {
  SetLayeredWindow(1);
  CRect listRect = client;
  listRect.DeflateRect(kListInset, kListInset);
  m_pList = static_cast<CComboBoxList*>(CreateControl(L"CComboBoxList", kListId, listRect, L"", 1, 1));
}

void CComboBoxWnd::UISize(CRect) {}

LONG CComboBoxWnd::OnMessage(UINT controlId, UINT code, UINT wParam, LONG lParam) {
  if (controlId != kListId || code != NOTIFY_CLICKED) return 0;
  // The close is posted: the parent hears of the choice before the window goes.
  CloseWindow();
  SendMessageToParent(NOTIFY_CLICKED, wParam, lParam);
  return 1;
}

int CComboBoxWnd::OnDestroy() {
  SendMessageToParent(kDestroyedCode, 0, 0);
  return 0;
}

int CComboBoxWnd::LoadBKImage(CString file) {
  SetBackMode(BACK_MODE_FRAME, kBackBorder);
  return MPopupWnd::LoadBKImage(file);
}

int CComboBoxWnd::LoadBKImage(UINT id, CString type) {
  SetBackMode(BACK_MODE_FRAME, kBackBorder);
  return MPopupWnd::LoadBKImage(id, type);
}

int CComboBoxWnd::AddItem(const wchar_t* text, long data, const wchar_t* image, Gdiplus::Color colour) {
  return m_pList ? m_pList->AddItem(text, data, image, colour) : -1;
}

void CComboBoxWnd::SetListFont(const wchar_t* family, int size, int style) {
  if (!m_pList) return;
  m_pList->SetFont(family ? family : L"", size, static_cast<Gdiplus::FontStyle>(style));
}

void CComboBoxWnd::SetListAlignment(UINT flags) {
  if (!m_pList) return;
  UINT h, v;
  m_pList->GetAlignment(h, v);
  // A change repaints the list while it is visible; the same flags change nothing.
  if (h != flags) m_pList->SetAlignment(flags, v);
}

void CComboBoxWnd::SetListTextColor(Gdiplus::Color colour) {
  if (m_pList) m_pList->SetTextColor(colour);
}

void CComboBoxWnd::UpdateList() { RepaintList(); }

void CComboBoxWnd::RepaintList() {
  if (m_pList && m_pList->IsVisible()) OnControlUpdate(m_pList->GetRect(), 1, m_pList);
}

}  // namespace TESK
