#include "app/WaitDlg.h"

#include <memory>

#include "app/SmallDialogs.h"
#include "device/DeviceLink.h"
#include "ui/controls/CGifPicture.h"

namespace {

constexpr UINT kTickPeriodMs = 10;
constexpr COLORREF kBackColour = 0x333333;

}  // namespace

HWND WaitDlg::CreateCentered(HWND owner) {
  RECT frame{};
  if (owner) ::GetWindowRect(owner, &frame);
  const int x = frame.left + (frame.right - frame.left - kSize) / 2;
  const int y = frame.top + (frame.bottom - frame.top - kSize) / 2;
  return Create(owner, L"WaitDlg", kSmallDialogStyle, kSmallDialogExStyle, CRect(x, y, x + kSize, y + kSize));
}

UINT WaitDlg::ShowCentered(HWND owner) {
  if (!CreateCentered(owner)) return 0;
  return ShowModal(SW_SHOW);
}

int WaitDlg::OnInitDialog() {
  MDialog::OnInitDialog();
  GetPaintManager()->SetBackColor(kBackColour, kBackColour);
  ::SetWindowPos(GetSafeHwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetMTimer(kTickPeriodMs);
  EnableWndDrag(1);
  return 1;
}

void WaitDlg::InitUI(CRect) {
  SetLayeredWindow(1);
  LoadBKImage(L"loading.png");
  auto* animation =
      static_cast<TESK::CGifPicture*>(CreateControl(L"CGifPicture", kAnimationId, CRect(1, 1, 101, 101), L"", 1, 1));
  if (!animation) return;
  animation->SetImage(L"loading.gif", 1);
  animation->SetRunState(1, 0);
  animation->AddMTimer();
}

void WaitDlg::UISize(CRect) {}

LONG WaitDlg::OnMessage(UINT, UINT, UINT, LONG) { return 0; }

int WaitDlg::OnDestroy() { return 0; }

UINT RunWaitDialog(DeviceLink& link, HWND owner, int taskId) {
  WaitDlg* dialog = nullptr;
  {
    auto lock = link.LockTasks();
    auto created = std::make_unique<WaitDlg>();
    if (!created->CreateCentered(owner)) return 0;
    dialog = created.get();
    link.RegisterWaitDlg(std::move(created));
    link.AppendTask(taskId);
  }
  return dialog->ShowModal(SW_SHOW);
}
