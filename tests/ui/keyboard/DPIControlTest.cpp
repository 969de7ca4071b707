// The sensitivity tiles under one dialog: exclusive within a group through presses, the
// checked value's colour, the children that the panel's factory makes and how their messages
// reach the owner.
#include "ui/keyboard/DPIControl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "ui/controls/CCheckButton.h"
#include "ui/controls/CColorButton.h"

using testsupport::ControlHost;
using testsupport::DibSurface;
using testsupport::NotifyLine;
using TESK::DPIControl;

namespace {

constexpr UINT kFirstId = 70, kSecondId = 71;
constexpr DWORD kGround = 0x000000;
// Two tiles of 120 x 80; a tile's value is drawn in (22, 35) ... (98, 55) of it.
const CRect kFirst(20, 20, 140, 100), kSecond(160, 20, 280, 100);

class DPIControlTest : public testing::Test {
protected:
  DPIControlTest() : host(300, 120) {}
  void SetUp() override { host.GetPaintManager()->SetBackColor(kGround, kGround); }

  DPIControl* Tile(UINT id, CRect rect, const wchar_t* title) {
    auto* tile = new DPIControl(&host, id, rect, 1);
    host.Adopt(tile);
    tile->SetFont(testsupport::InstalledFontFamily(), 16, Gdiplus::FontStyleBold);
    tile->SetTextColor(Gdiplus::Color(0xFFFFFFFF));
    tile->SetTitle(title);
    return tile;
  }
  // A press on the tile itself, on its title, away from its two buttons.
  void PressTile(const CRect& tile) {
    host.Click(CPoint(tile.left + 60, tile.top + 8));
  }
  // Value pixels of the checked colour's family, and of the white text, in tile's value box.
  static void ValueInk(const DibSurface& s, const CRect& tile, int& checked, int& plain) {
    checked = plain = 0;
    for (int y = tile.top + 35; y < tile.top + 55; ++y) {
      for (int x = tile.left + 30; x < tile.left + 98; ++x) {
        const DWORD c = s.Pixel(x, y);
        const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
        if (r > 0x60 && r > 2 * g && b > g) ++checked;
        if (r > 0x80 && g > 0x80 && b > 0x80) ++plain;
      }
    }
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
};

TEST_F(DPIControlTest, APressChecksATileAndUnchecksTheOthersOfItsGroup) {
  DPIControl* first = Tile(kFirstId, kFirst, L"Level 1");
  DPIControl* second = Tile(kSecondId, kSecond, L"Level 2");
  EXPECT_EQ(CString(L"DPIControl"), first->GetGroupName());
  EXPECT_EQ(500, first->GetDPIValue());
  PressTile(kFirst);
  EXPECT_EQ(1, first->GetCheck());
  PressTile(kSecond);
  EXPECT_EQ(0, first->GetCheck());
  EXPECT_EQ(1, second->GetCheck());
  EXPECT_TRUE(host.Notifications().empty());

  DibSurface s(host.width(), host.height());
  host.Compose(s);
  int checked = 0, plain = 0;
  ValueInk(s, kSecond, checked, plain);
  EXPECT_GT(checked, 0) << "the checked tile's value";
  EXPECT_EQ(0, plain);
  ValueInk(s, kFirst, checked, plain);
  EXPECT_EQ(0, checked);
  EXPECT_GT(plain, 0) << "the unchecked tile's value in the text colour";

  // Another group: both stay checked.
  first->SetGroupName(L"left");
  PressTile(kFirst);
  EXPECT_EQ(1, first->GetCheck());
  EXPECT_EQ(1, second->GetCheck());
  host.Compose(s);
  ValueInk(s, kFirst, checked, plain);
  EXPECT_GT(checked, 0);

  first->SetDPIValue(1600);
  EXPECT_EQ(1600, first->GetDPIValue());
  EXPECT_EQ(1, second->SetCheck(0));
  EXPECT_EQ(0, second->GetCheck());
}

TEST_F(DPIControlTest, TheButtonsComeFromThePanelFactoryAndTheirMessagesReachTheOwnerFirstAsTheTiles) {
  DPIControl* tile = Tile(kFirstId, kFirst, L"Level 1");
  auto* check = dynamic_cast<TESK::CCheckButton*>(tile->GetControl(DPIControl::kCheckButtonId));
  auto* colour = dynamic_cast<TESK::CColorButton*>(tile->GetControl(DPIControl::kColorButtonId));
  ASSERT_NE(nullptr, check);
  ASSERT_NE(nullptr, colour);
  EXPECT_EQ(tile, check->GetParantObject());
  EXPECT_EQ(1, check->GetCheck()) << "checked at creation";
  EXPECT_EQ(1, colour->GetCheck());
  EXPECT_EQ(CRect(20, 50, 44, 100), check->GetRect());
  EXPECT_EQ(CRect(120, 55, 140, 95), colour->GetRect());
  // One picture for both, of 8 frames of 20 x 20 as the check button first asked; the colour
  // button counts 4 frames of it.
  ASSERT_NE(nullptr, check->GetImage());
  EXPECT_EQ(check->GetImage(), colour->GetImage());
  EXPECT_EQ(CSize(20, 20), check->GetImageSize());
  EXPECT_EQ(CSize(20, 20), colour->GetImageSize());
  EXPECT_EQ(8, check->GetImageCount());
  EXPECT_EQ(4, colour->GetImageCount());

  tile->SetColor(RGB(1, 2, 3));
  EXPECT_EQ(RGB(1, 2, 3), tile->GetColor());
  EXPECT_EQ(RGB(1, 2, 3), colour->GetColor());

  host.ClearJournal();
  host.Click(CPoint(30, 80));
  EXPECT_EQ((std::vector<std::string>{NotifyLine(kFirstId, 2, 0, 1), NotifyLine(30, 2, 0, 0)}), host.Notifications());
  EXPECT_EQ(0, check->GetCheck());
  EXPECT_EQ(0, tile->GetCheck()) << "the button's press is not the tile's";

  host.ClearJournal();
  host.Click(CPoint(130, 75));
  EXPECT_EQ((std::vector<std::string>{NotifyLine(kFirstId, 1, 0, 2), NotifyLine(31, 1, 0, 0),
                                      NotifyLine(kFirstId, 2, 0, 2), NotifyLine(31, 2, 0, 0)}),
            host.Notifications());
}

}  // namespace
