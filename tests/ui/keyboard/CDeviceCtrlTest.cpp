// The device tile driven through the host window: an inactive device ignores the mouse, an
// active one reports its press and click and shows its pressed look one pixel lower right;
// the picture's places in both show modes, and a missing picture.
#include "ui/keyboard/CDeviceCtrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "ui/core/Manager.h"

using testsupport::ControlHost;
using testsupport::DibSurface;
using TESK::CDeviceCtrl;

namespace {

constexpr UINT kId = 39;
constexpr DWORD kGround = 0x000000;
constexpr DWORD kFirstFrame = 0xFF0000, kSecondFrame = 0x0000FF;
// The tile at (20, 20), 100 x 100; its picture a strip of two 20 x 20 frames.
const CRect kTile(20, 20, 120, 120);

class CDeviceCtrlTest : public testing::Test {
protected:
  CDeviceCtrlTest() : host(300, 200) {}
  void SetUp() override {
    host.GetPaintManager()->SetBackColor(kGround, kGround);
    ASSERT_TRUE(testsupport::WriteStrip(L"device_tile.png", 20, 20, {0xFF000000 | kFirstFrame, 0xFF000000 | kSecondFrame}));
    tile = host.Add<CDeviceCtrl>(L"CDeviceCtrl", kId, kTile);
    ASSERT_NE(nullptr, tile);
    // The file is named by its full path, not under the skin folder.
    ASSERT_EQ(1, tile->SetImage(std::wstring(TESK::GetSkinFolder() + L"device_tile.png").c_str(), 2));
    tile->SetTitle(L"Keyboard");
  }
  DWORD At(int x, int y) { return host.PixelAt(kTile.left + x, kTile.top + y); }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
  CDeviceCtrl* tile = nullptr;
};

TEST_F(CDeviceCtrlTest, AnInactiveDeviceIgnoresTheMouse) {
  const CPoint inside(kTile.left + 50, kTile.top + 50);
  host.MoveTo(inside);
  host.Click(inside);
  EXPECT_TRUE(host.Notifications().empty());
  EXPECT_EQ(0, tile->GetMouseState());
  // The first frame centred, (100 - 20 - 30) / 2 from the top.
  EXPECT_EQ(kFirstFrame, At(40, 25));
  EXPECT_EQ(kFirstFrame, At(59, 44));
  EXPECT_EQ(kGround, At(60, 44)) << "one frame only";
  EXPECT_EQ(kGround, At(40, 24));
}

TEST_F(CDeviceCtrlTest, AnActiveDeviceTellsPressAndClickAndShowsItsPressedLook) {
  tile->SetDeviceStatus(1);
  const CPoint inside(kTile.left + 50, kTile.top + 50);
  host.MoveTo(inside);
  EXPECT_EQ(1, tile->GetMouseState());
  EXPECT_EQ(kGround, At(40, 25)) << "hovered: the pressed look, a pixel lower right";
  EXPECT_EQ(kFirstFrame, At(41, 26));
  EXPECT_EQ(kFirstFrame, At(60, 45));
  host.ClearJournal();
  host.Press(inside);
  EXPECT_EQ(2, tile->GetMouseState());
  EXPECT_EQ(std::vector<std::string>{testsupport::NotifyLine(kId, 1, 0, 0)}, host.Notifications());
  host.Release(inside);
  EXPECT_EQ((std::vector<std::string>{testsupport::NotifyLine(kId, 1, 0, 0), testsupport::NotifyLine(kId, 2, 0, 0)}),
            host.Notifications());
  EXPECT_EQ(0, tile->GetMouseState());
  EXPECT_EQ(kFirstFrame, At(40, 25));

  // Pressed, dragged out and released there: no click, and the tile is not left pressed.
  host.MoveTo(inside);
  host.Press(inside);
  host.ClearJournal();
  host.MoveTo(CPoint(250, 150), MK_LBUTTON);
  EXPECT_EQ(2, tile->GetMouseState()) << "still pressed while the button is held";
  host.Release(CPoint(250, 150));
  EXPECT_TRUE(host.Notifications().empty());
  EXPECT_EQ(0, tile->GetMouseState());
  EXPECT_EQ(kFirstFrame, At(40, 25));
}

TEST_F(CDeviceCtrlTest, AWideTileShowsThePictureAtItsLeftOverTheBackColour) {
  tile->SetShowMode(1);
  tile->SetBackColor(Gdiplus::Color(0xFF00FF00));
  tile->UpdateControl(1, 0);
  EXPECT_EQ(kFirstFrame, At(5, 0));
  EXPECT_EQ(kFirstFrame, At(24, 19));
  EXPECT_EQ(0x00FF00u, At(4, 0));
  EXPECT_EQ(0x00FF00u, At(90, 90));

  // A missing picture draws nothing.
  EXPECT_EQ(0, tile->SetImage(L"C:\\no\\such\\device.png", 1));
  tile->SetShowMode(0);
  EXPECT_EQ(kGround, At(40, 25));
  EXPECT_EQ(kGround, At(50, 35));
}

}  // namespace
