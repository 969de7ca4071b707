#include "app/UpdateTipDlg.h"

#include "app/SmallDialogs.h"
#include "ui/controls/MProgress.h"
#include "ui/controls/MText.h"

namespace {

constexpr int kWidth = 391;
constexpr int kHeight = 71;

}  // namespace

UpdateTipDlg::UpdateTipDlg() : m_caption(nullptr), m_progress(nullptr) {}

UINT UpdateTipDlg::ShowCentered(HWND owner) {
  if (!CreateCentered(owner)) return 0;
  return ShowModal(SW_SHOW);
}

bool UpdateTipDlg::CreateCentered(HWND owner) {
  if (!Create(owner, L"UpdateTipDlg", kSmallDialogStyle, kSmallDialogExStyle, CRect(0, 0, kWidth, kHeight))) {
    return false;
  }
  CenterWindow(nullptr);
  return true;
}

void UpdateTipDlg::SetProgress(int percent, const CString& caption) {
  m_text.Format(L"%s: %d%%", static_cast<const wchar_t*>(caption), percent);
  if (m_caption) m_caption->SetTitle(m_text);
  if (m_progress) m_progress->SetProgress(percent);
}

int UpdateTipDlg::OnInitDialog() {
  MDialog::OnInitDialog();
  ::SetWindowPos(GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  return 1;
}

void UpdateTipDlg::InitUI(CRect client) {
  SetLayeredWindow(1);
  LoadBKImage(L"img_upgrade_bkg.png");
  m_caption = static_cast<TESK::MText*>(
      CreateControl(L"MText", kCaptionId, CRect(20, 10, client.right - 20, 30), L"升级中", 1, 1));
  if (m_caption) m_caption->SetTextColor(Gdiplus::Color(kDialogTextColour));
  m_progress = static_cast<TESK::MProgress*>(
      CreateControl(L"MProgress", kProgressId, CRect(20, 30, client.right - 20, 56), L"", 1, 1));
}

void UpdateTipDlg::UISize(CRect) {}

LONG UpdateTipDlg::OnMessage(UINT, UINT code, UINT, LONG) { return code == TESK::NOTIFY_CLICKED ? 1 : 0; }
