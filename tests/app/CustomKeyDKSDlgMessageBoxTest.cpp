// The advanced-key editor's refusal of Next with the program's own message box (the other
// editor tests record the box instead): the box, owned by the main window, shows the texts
// of the language file, and closing it from outside leaves the introduction page as it was.
#include <gtest/gtest.h>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ModalScript.h"
#include "OwnerWindow.h"
#include "ProgramInstance.h"
#include "app/Language.h"
#include "app/UIMessageBox.h"
#include "app/pages/CustomKeyDKSDlg.h"
#include "ui/controls/MText.h"

namespace {

TEST(CustomKeyDKSDlgMessageBoxTest, NextWithoutBothKeysShowsTheBoxAndChangesNothing) {
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  testsupport::OwnerWindow owner(1400, 860);
  CustomKeyDKSDlg panel;
  panel.SetKeyTarget(5, 18, 0x04, 0, 1);  // SOCD with one key picked
  ASSERT_NE(nullptr, panel.Create(owner.Window(), CRect(180, 530, 1390, 850)));
  ::UpdateWindow(panel.GetSafeHwnd());

  HWND box = nullptr;
  HWND boxOwner = nullptr;
  CString title, message;
  testsupport::ModalScript script(owner.Window(), 10000);
  script.At(300, [&] {
    box = FindWindowW(L"MWindow", L"MessageBox");
    if (!box) return;
    boxOwner = GetWindow(box, GW_OWNER);
    auto* dialog = dynamic_cast<CUIMessageBox*>(reinterpret_cast<TESK::MWindow*>(GetWindowLongPtrW(box, GWLP_USERDATA)));
    if (dialog) {
      if (auto* text = dynamic_cast<TESK::MControlFont*>(dialog->GetControl(CUIMessageBox::kTitleId))) title = text->GetTitle();
      if (auto* text = dynamic_cast<TESK::MControlFont*>(dialog->GetControl(CUIMessageBox::kMessageId))) {
        message = text->GetTitle();
      }
    }
    PostMessageW(box, WM_CLOSE, 2, 0);
  });
  const CRect next = panel.GetControl(CustomKeyDKSDlg::kNextId)->GetRect();
  testsupport::ClickWindow(panel.GetSafeHwnd(), next.CenterPoint());

  ASSERT_NE(nullptr, box) << "the box was shown";
  EXPECT_EQ(owner.Window(), boxOwner);
  EXPECT_FALSE(title.IsEmpty()) << "the language file's text";
  EXPECT_EQ(LoadLanString(L"KB.DIALOG", 2101), title);
  EXPECT_EQ(LoadLanString(L"KB.DIALOG", 2100), message);
  EXPECT_FALSE(IsWindow(box));
  EXPECT_TRUE(panel.GetControl(CustomKeyDKSDlg::kNextId)->IsVisible());
  EXPECT_EQ(nullptr, panel.GetControl(CustomKeyDKSDlg::kSaveId));
  EXPECT_TRUE(owner.Received().empty()) << "nothing posted to the main window";
}

}  // namespace
