#include "app/UIMessageBox.h"

#include "app/Language.h"
#include "app/SmallDialogs.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MText.h"

namespace {

constexpr int kWidth = 500;
constexpr int kHeight = 260;
constexpr int kTextSize = 16;
constexpr int kButtonTextSize = 14;
constexpr int kButtonFrame = 8;
constexpr int kOkText = 20, kConfirmText = 23, kCancelText = 25;

void AddButton(CUIMessageBox& box, UINT id, CRect rect, int textId) {
  auto* button = static_cast<TESK::MButton*>(
      box.CreateControl(L"MButton", id, rect, LoadLanString(L"KB.DIALOG", textId), 1, 1));
  if (!button) return;
  button->SetFrameSize(kButtonFrame);
  button->SetFontWidth(kButtonTextSize);
  button->SetTextColor(Gdiplus::Color(kDialogTextColour));
  button->SetImage(L"btn_apply.png", 4);
}

}  // namespace

int ShowMessageBox(HWND owner, const CString& message, const CString& title, int buttonMode) {
  CUIMessageBox box(title, message, buttonMode);
  box.LoadBKImage(L"bk_prompt.png");
  box.SetBackMode(TESK::BACK_MODE_FRAME, 30);
  if (!box.Create(owner, L"MessageBox", kSmallDialogStyle, kSmallDialogExStyle, CRect(0, 0, kWidth, kHeight))) return 2;
  box.CenterWindow(nullptr);
  return static_cast<int>(box.ShowModal(SW_SHOWNORMAL));
}

CUIMessageBox::CUIMessageBox(const CString& title, const CString& message, int buttonMode)
    : m_title(title), m_message(message), m_buttonMode(buttonMode) {}

int CUIMessageBox::OnInitDialog() {
  MDialog::OnInitDialog();
  ::SetWindowPos(GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  GetPaintManager()->SetBackColor(0xEBEBEB, 0x969696);
  return 1;
}

void CUIMessageBox::InitUI(CRect client) {
  SetLayeredWindow(1);
  if (auto* title = static_cast<TESK::MText*>(
          CreateControl(L"MText", kTitleId, CRect(20, 15, client.right - 20, 40), m_title, 1, 1))) {
    title->SetFontWidth(kTextSize);
    title->SetTextColor(Gdiplus::Color(kDialogTextColour));
    title->SetAlignment(DT_CENTER);
  }
  const int middle = client.Height() / 2;
  if (auto* message = static_cast<TESK::MText*>(CreateControl(
          L"MText", kMessageId, CRect(20, middle - 30, client.right - 20, middle + 30), m_message, 1, 1))) {
    message->SetFontWidth(kTextSize);
    message->SetTextColor(Gdiplus::Color(kDialogTextColour));
    message->SetAlignment(DT_CENTER, DT_VCENTER);
    message->EnableMultiLine(1);
    message->EnableVCenter(1);
  }
  if (m_buttonMode == kOneButton) {
    AddButton(*this, kOkId, CRect(100, client.bottom - 50, client.right - 100, client.bottom - 14), kOkText);
  } else if (m_buttonMode == kTwoButtons) {
    const int c = client.Width() / 2;
    AddButton(*this, kOkId, CRect(c - 120, client.bottom - 50, c - 20, client.bottom - 14), kConfirmText);
    AddButton(*this, kCancelId, CRect(c + 20, client.bottom - 50, c + 120, client.bottom - 14), kCancelText);
  }
}

void CUIMessageBox::UISize(CRect) {}

LONG CUIMessageBox::OnMessage(UINT controlId, UINT code, UINT, LONG) {
  if (code != TESK::NOTIFY_CLICKED) return 0;
  if (controlId == kOkId) {
    DoOK();
    return 1;
  }
  if (controlId == kCancelId) {
    DoCancel();
    return 1;
  }
  return 0;
}

int CUIMessageBox::OnDestroy() { return 0; }
