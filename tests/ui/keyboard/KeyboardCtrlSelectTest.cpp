// Selecting keys on the on-screen keyboard with the mouse, as real messages to the test host
// over Lynt 80's staged layout: clicks, Ctrl-clicks, rubber bands, right clicks and the
// advanced-key picks. Expected keys come from the layout file's rectangles.
#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "HeldKey.h"
#include "MessagePump.h"
#include "ProgramInstance.h"
#include "layouts/KeyboardFill.h"
#include "layouts/LayoutFile.h"
#include "ui/keyboard/KeyboardCtrl.h"

namespace {

using testsupport::ControlHost;
using testsupport::HostEvent;
using testsupport::Layout;
using TESK::KEY_INFO;
using TESK::KeyboardCtrl;

constexpr UINT kId = 80;
const CRect kPlace(280, 100, 1280, 480);  // the program's rectangle

// A notification as (code, wParam, lParam), wParam read as the signed index it carries.
struct Note {
  UINT code;
  int wParam;
  int lParam;
  bool operator==(const Note& o) const { return code == o.code && wParam == o.wParam && lParam == o.lParam; }
};

std::ostream& operator<<(std::ostream& out, const Note& n) {
  return out << "(" << n.code << ", " << n.wParam << ", " << n.lParam << ")";
}

class KeyboardSelectTest : public testing::Test {
protected:
  void SetUp() override {
    layout = testsupport::ReadLayout(testsupport::LayoutPath("Lynt 80"));
    ASSERT_EQ(87u, layout.keys.size());
    keyboard = host.Add<KeyboardCtrl>(L"KeyboardCtrl", kId, kPlace);
    ASSERT_NE(nullptr, keyboard);
    keyboard->SetKeyboardCtrlMode(TESK::KBMODE_CUSTOM);
    testsupport::FillKeyboard(*keyboard, layout);
    corner = CPoint(kPlace.left + (kPlace.Width() - layout.width) / 2, kPlace.top + (kPlace.Height() - layout.height) / 2);
  }

  // Key i's hit rectangle in window coordinates, from the layout file.
  CRect Hit(size_t i) const {
    CRect r = testsupport::LayoutRect(layout.keys[i]);
    r.OffsetRect(corner.x, corner.y);
    return r;
  }
  CPoint Centre(size_t i) const { return Hit(i).CenterPoint(); }
  int Code(size_t i) const { return layout.keys[i].code; }

  std::vector<Note> Notes() {
    std::vector<Note> notes;
    for (const HostEvent& e : host.Events()) {
      if (e.kind == HostEvent::Notification && e.id == kId) {
        notes.push_back({e.code, static_cast<int>(e.wParam), static_cast<int>(e.lParam)});
      }
    }
    host.ClearJournal();
    return notes;
  }

  std::set<size_t> Checked() {
    std::set<size_t> checked;
    keyboard->EnterCriSec();
    const std::vector<KEY_INFO*> keys = keyboard->GetKeyItems();
    for (size_t i = 0; i < keys.size(); ++i) {
      if (keys[i]->checked) checked.insert(i);
    }
    keyboard->LeaveCriSec();
    return checked;
  }

  // The keys whose hit rectangles meet the band from a to b (empty under 6 px), worked out
  // from the layout alone.
  std::set<size_t> Touched(CPoint a, CPoint b) const {
    const CRect band(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
    std::set<size_t> touched;
    if (band.Width() < 6 || band.Height() < 6) return touched;
    for (size_t i = 0; i < layout.keys.size(); ++i) {
      CRect meet;
      const CRect hit = Hit(i);
      if (meet.IntersectRect(&hit, &band)) touched.insert(i);
    }
    return touched;
  }

  // A left-button band from a to b, as a user drags it.
  void Drag(CPoint a, CPoint b) {
    host.MoveTo(a);
    host.Press(a);
    host.MoveTo(b);
    host.Release(b);
  }

  // A point in the gap right of key i (clear of every key).
  CPoint GapRightOf(size_t i) const {
    const CPoint pt(Hit(i).right + 1, Centre(i).y);
    for (size_t k = 0; k < layout.keys.size(); ++k) EXPECT_FALSE(Hit(k).PtInRect(pt)) << "not a gap";
    return pt;
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host{1400, 860};
  Layout layout;
  KeyboardCtrl* keyboard = nullptr;
  CPoint corner;
};

TEST_F(KeyboardSelectTest, EveryKeyAnswersAClickAtItsCentre) {
  for (size_t i = 0; i < layout.keys.size(); ++i) {
    host.Click(Centre(i));
    const int index = static_cast<int>(i);
    EXPECT_EQ((std::vector<Note>{{1, index, Code(i)}, {2, index, 0}}), Notes()) << "key " << i;
    EXPECT_EQ(Code(i), keyboard->GetKeyCodeByPoint(Centre(i)));
    EXPECT_EQ(Code(i), keyboard->GetCurrentKeyValue());
  }
  host.Click(GapRightOf(0));
  EXPECT_EQ((std::vector<Note>{{1, -1, 0}, {2, -1, 0}}), Notes());
  EXPECT_EQ(-1, keyboard->GetCurrentKeyValue());

  host.MoveTo(Centre(5));
  host.Press(Centre(5));
  host.MoveTo(CPoint(kPlace.left + 10, kPlace.bottom + 30));
  host.Release(CPoint(kPlace.left + 10, kPlace.bottom + 30));
  EXPECT_EQ((std::vector<Note>{{1, 5, Code(5)}}), Notes()) << "a release outside the control sends nothing";
}

TEST_F(KeyboardSelectTest, CtrlClickKeepsTheChecksAndAPlainClickClearsThem) {
  // Wine takes the key state from the display again when the pointer enters a window, and
  // other test programs move the shared pointer: a Ctrl lost on the way is pressed again.
  bool held = false;
  for (int attempt = 0; attempt < 5 && !held; ++attempt) {
    keyboard->SetKeyCheck(Code(10), 1);
    keyboard->SetKeyCheck(Code(20), 1);
    host.MoveTo(Centre(30));
    testsupport::PumpFor(50);
    testsupport::HeldKey ctrl(VK_CONTROL);
    if (!ctrl.IsDown()) continue;
    host.Press(Centre(30));
    held = ctrl.IsDown();
    host.Release(Centre(30));
  }
  ASSERT_TRUE(held) << "Ctrl could not be held through a click";
  EXPECT_EQ((std::set<size_t>{10, 20}), Checked()) << "the clicked key only becomes the pressed one";
  EXPECT_EQ(Code(30), keyboard->GetCurrentKeyValue());
  host.Click(Centre(31));
  EXPECT_TRUE(Checked().empty());
  Notes();

  keyboard->SetEnabled(0);
  host.Click(Centre(40));
  EXPECT_TRUE(Notes().empty()) << "a disabled control sends nothing";
  EXPECT_EQ(0, keyboard->OnControlLButtonDown(0, Centre(40)));
  EXPECT_EQ(0, keyboard->OnControlLButtonUp(0, Centre(40)));
  EXPECT_EQ(0, keyboard->OnControlMouseMove(0, Centre(41)));
  EXPECT_EQ(0, keyboard->OnControlRButtonUp(0, Centre(40)));
}

TEST_F(KeyboardSelectTest, BandsCheckTheKeysTheyMeet) {
  keyboard->EnableFrameSelect(1);
  const size_t mid = 40;
  struct Case {
    const char* what;
    CPoint a, b;
  } cases[] = {
      {"one row", CPoint(kPlace.left + 2, Centre(mid).y - 4), CPoint(kPlace.right - 2, Centre(mid).y + 4)},
      {"a 6 px column", CPoint(Centre(mid).x, kPlace.top + 2), CPoint(Centre(mid).x + 6, kPlace.bottom - 2)},
      {"a 5 px high band clears all", CPoint(kPlace.left + 2, Centre(mid).y), CPoint(kPlace.right - 2, Centre(mid).y + 5)},
      {"an edge on a key's edge", CPoint(Hit(mid).left - 40, Hit(mid).top + 10), CPoint(Hit(mid).left, Hit(mid).bottom - 10)},
  };
  for (int mode : {int{TESK::KBMODE_LIGHT}, int{TESK::KBMODE_PERF}}) {
    keyboard->SetKeyboardCtrlMode(mode);
    for (const Case& c : cases) {
      keyboard->ResetAllItemCheck(1);
      Drag(c.a, c.b);
      const std::set<size_t> expected = Touched(c.a, c.b);
      EXPECT_EQ(expected, Checked()) << c.what << ", mode " << mode;
      if (std::string(c.what) == "an edge on a key's edge") EXPECT_EQ(0u, expected.count(mid));
      if (std::string(c.what) == "one row") EXPECT_GE(expected.size(), 10u);
    }
  }

  // Under 20 px in both directions nothing happens; beyond, the band is active.
  keyboard->ResetAllItemCheck(0);
  const CPoint start = GapRightOf(mid);
  host.MoveTo(start);
  host.Press(start);
  host.MoveTo(CPoint(start.x + 15, start.y + 10));
  EXPECT_TRUE(Checked().empty());
  host.MoveTo(CPoint(start.x + 25, start.y + 10));
  EXPECT_EQ(Touched(start, CPoint(start.x + 25, start.y + 10)), Checked());
  EXPECT_FALSE(Checked().empty());
  host.Release(CPoint(start.x + 25, start.y + 10));
}

TEST_F(KeyboardSelectTest, RightClicksAndFrameClicks) {
  keyboard->EnableFrameSelect(1);
  keyboard->SetKeyboardCtrlMode(TESK::KBMODE_PERF);
  host.MoveTo(Centre(12));
  host.RightPress(Centre(12));
  host.RightRelease(Centre(12));
  EXPECT_EQ((std::vector<Note>{{5, 12, Code(12)}}), Notes());
  EXPECT_EQ(Code(12), keyboard->GetSelectKey());

  host.RightPress(Centre(12));
  host.MoveTo(Centre(30), MK_RBUTTON);
  host.RightRelease(Centre(30));
  EXPECT_EQ((std::vector<Note>{{24, 0, 0}}), Notes());
  EXPECT_EQ(Touched(Centre(12), Centre(30)), Checked());

  // A left click toggles the key's check and its colour between 0 and the select colour.
  keyboard->ResetAllItemCheck(0);
  keyboard->SetAllSelectColor(0x00FF00);
  auto colour = [&] { return keyboard->GetKeyItems()[3]->color; };
  host.Click(Centre(3));
  EXPECT_EQ(std::set<size_t>{3}, Checked());
  EXPECT_EQ(0u, colour());
  host.Click(Centre(3));
  EXPECT_TRUE(Checked().empty());
  EXPECT_EQ(0x00FF00u, colour());
}

TEST_F(KeyboardSelectTest, TheBandIsDrawnDottedOnlyOnTheLightingPage) {
  keyboard->EnableFrameSelect(1);
  testsupport::DibSurface surface(1400, 860);
  const CPoint a = GapRightOf(40), b(a.x + 200, a.y + 80);
  for (int mode : {int{TESK::KBMODE_LIGHT}, int{TESK::KBMODE_PERF}}) {
    keyboard->SetKeyboardCtrlMode(mode);
    host.MoveTo(a);
    host.Press(a);
    host.MoveTo(b);
    host.Compose(surface);
    const int dots = surface.Count(a.x + 5, a.y - 1, b.x - 5, a.y + 2, 0x191919);
    if (mode == TESK::KBMODE_LIGHT) {
      EXPECT_GT(dots, 20) << "the band's top edge in the down colour";
    } else {
      EXPECT_EQ(0, dots);
    }
    host.Release(b);
  }
}

TEST_F(KeyboardSelectTest, TheTipShowsAboveTheKeyOnlyWhileTipsAreEnabled) {
  KEY_INFO* key = keyboard->GetKeyItems()[7];
  const CRect rect = Hit(7);
  keyboard->SetTips(key, rect, true);
  EXPECT_EQ(nullptr, FindWindowW(L"MWindow", L"KeyboardTip Window")) << "tips are off";
  keyboard->EnableKBTips(true);
  keyboard->SetTipKey(Code(7), L"Actuation", L"0.72");
  keyboard->SetTips(key, rect, true);
  HWND tip = FindWindowW(L"MWindow", L"KeyboardTip Window");
  ASSERT_NE(nullptr, tip);
  EXPECT_TRUE(IsWindowVisible(tip));
  EXPECT_EQ(host.GetSafeHwnd(), GetWindow(tip, GW_OWNER));
  RECT placed;
  GetWindowRect(tip, &placed);
  const CPoint anchor = host.ToScreen(CPoint(rect.CenterPoint().x, rect.top));
  EXPECT_TRUE(placed.left <= anchor.x && anchor.x <= placed.right) << "centred over the key";
  EXPECT_LE(placed.bottom, anchor.y + 1) << "above it";
  keyboard->SetTips(key, rect, false);
  EXPECT_FALSE(IsWindowVisible(tip));
  keyboard->SetTips(nullptr, rect, true);
  EXPECT_FALSE(IsWindowVisible(tip)) << "no key, nothing to show";
}

class KeyboardPickTest : public KeyboardSelectTest {
protected:
  void SetUp() override {
    KeyboardSelectTest::SetUp();
    keyboard->SetKeyboardCtrlMode(TESK::KBMODE_ADVKEY);
  }
  // Clicks key i and answers the wParam of its press notification.
  int Pick(size_t i) {
    host.Click(Centre(i));
    const std::vector<Note> notes = Notes();
    EXPECT_EQ(2u, notes.size());
    EXPECT_EQ(Code(i), notes.empty() ? 0 : notes[0].lParam) << "the press always names the key";
    return notes.empty() ? -2 : notes[0].wParam;
  }
  const size_t A = 20, B = 21, C = 22;
};

TEST_F(KeyboardPickTest, TwoKeyTypesTakeTwoSlotsAndFreeThemAgain) {
  keyboard->SetAdvkeyType(TESK::ADVKEY_SOCD);
  EXPECT_EQ(static_cast<int>(A), Pick(A));
  EXPECT_EQ(static_cast<int>(B), Pick(B));
  EXPECT_EQ(-1, Pick(C)) << "two picks already";
  EXPECT_EQ(-1, Pick(A)) << "A again removes it";
  EXPECT_EQ(Code(B) << 16, keyboard->GetCurrentKeyValue());
  EXPECT_EQ(static_cast<int>(C), Pick(C)) << "C takes the freed slot 0";
  EXPECT_EQ(Code(C) | Code(B) << 16, keyboard->GetCurrentKeyValue());
  EXPECT_EQ((std::set<size_t>{B, C}), Checked());
}

TEST_F(KeyboardPickTest, OneKeyTypesKeepOnlyTheLastKey) {
  keyboard->SetAdvkeyType(TESK::ADVKEY_DKS);
  EXPECT_EQ(-1, Pick(A));
  EXPECT_EQ(-1, Pick(B));
  EXPECT_EQ(1, keyboard->GetSelectKeyCount());
  EXPECT_EQ(Code(B), keyboard->GetCurrentKeyValue());
  EXPECT_EQ(std::set<size_t>{B}, Checked());
}

TEST_F(KeyboardPickTest, RefusedPicks) {
  keyboard->SetAdvkeyType(TESK::ADVKEY_RS);
  keyboard->SetAdvKeySelectFlag(0);
  EXPECT_EQ(-1, Pick(A)) << "picking off";
  EXPECT_EQ(0, keyboard->GetSelectKeyCount());
  keyboard->SetAdvKeySelectFlag(1);

  keyboard->SetKeyItemInfo(Code(B), L"MT", TESK::ADVKEY_MT, L"");
  EXPECT_EQ(-1, Pick(B)) << "a key that carries an advanced key, for a type";
  EXPECT_EQ(0, keyboard->GetSelectKeyCount());
  keyboard->SetAdvkeyType(-1);
  EXPECT_EQ(static_cast<int>(B), Pick(B)) << "appended when no type is being edited";
  EXPECT_EQ(1, keyboard->GetSelectKeyCount());
  EXPECT_EQ(std::set<size_t>{B}, Checked());
  EXPECT_EQ(-1, Pick(A)) << "an ordinary key without a type";
}

// A key the program checked (SetKeyCheck) without a pick of its own does not spoil the slots.
TEST_F(KeyboardPickTest, UncheckingAProgramCheckedKeyKeepsTheNextSlot) {
  keyboard->SetAdvkeyType(TESK::ADVKEY_SOCD);
  EXPECT_EQ(static_cast<int>(A), Pick(A));
  keyboard->SetKeyCheck(Code(B), 1);
  EXPECT_EQ(-1, Pick(B));
  EXPECT_EQ(std::set<size_t>{A}, Checked());
  EXPECT_EQ(static_cast<int>(C), Pick(C)) << "C still takes slot 1";
  EXPECT_EQ(Code(A) | Code(C) << 16, keyboard->GetCurrentKeyValue());
}

}  // namespace
